// The answers of systemInfo that are built from the system's raw values.
#pragma once
#include <cstdint>
#include <string>
#include "platform/System.h"

namespace tarvoke {

// "2008-7-5  9: 5: 3": the date as plain numbers, the time fields right-aligned in two places.
std::string formatLocalTime(const platform::LocalTime& time);
// The identifier masked, written as its four bytes from the lowest, two upper-case hex digits each.
std::string formatMachineId(std::uint32_t identifier);

} // namespace tarvoke
