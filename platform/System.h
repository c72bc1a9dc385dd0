// Platform contract, system queries: the platform's name, a machine identifier, the local time
// and the battery.
#pragma once
#include <cstdint>

namespace tarvoke::platform {

// The name games branch on: "LINUX" here; a Windows back end answers "WIN32".
const char* platformName();

// A 32-bit identifier of this installation, the same in every run and every program. Derived
// from the system's machine id by a one-way hash, so the machine id itself is not revealed;
// the root file system's identity stands in when there is no machine id.
std::uint32_t machineIdentifier();

struct LocalTime {
    int year = 0;    // e.g. 2008
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;  // 0..60 (a leap second)
};
LocalTime localTime();

// The battery's charge in percent as the system reports it; 255 when it does not know (no
// battery, or no report).
int batteryPercent();

} // namespace tarvoke::platform
