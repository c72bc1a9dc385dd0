// systemInfo: the questions a game may ask about the machine it runs on.
#include "files/SystemInfo.h"
#include <cstdio>
#include "graphics2d/Graphics2D.h"
#include "tarvoke/system.h"

namespace tarvoke {
namespace {

// Mixed into the identifier so it differs from the raw value other programs may show.
constexpr std::uint32_t machineIdMask = 0x6B715A2Du;

std::string upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

StrValue answer(const std::string& asGiven) {
    const std::string query = upperCase(asGiven);
    const std::string glPrefix = "GLEXT:";
    if (query.empty()) return StrValue(platform::platformName());
    // The extension's name keeps the letter case the game gave.
    if (query.compare(0, glPrefix.size(), glPrefix) == 0)
        return StrValue(hasGlExtension(asGiven.substr(glPrefix.size())) ? "1" : "0");
    if (query == "ID") return StrValue(formatMachineId(platform::machineIdentifier()).c_str());
    if (query == "DEVICE") return StrValue("DESKTOP");
    if (query == "TIME") return StrValue(formatLocalTime(platform::localTime()).c_str());
    if (query == "BATTERY") return formatNumber(NumValue(platform::batteryPercent()));
    return StrValue("NO_DATA");
}

} // namespace

std::string formatLocalTime(const platform::LocalTime& time) {
    char text[96];
    std::snprintf(text, sizeof text, "%d-%d-%d %2d:%2d:%2d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

std::string formatMachineId(std::uint32_t identifier) {
    const std::uint32_t masked = identifier ^ machineIdMask;
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", unsigned(masked & 0xFF), unsigned((masked >> 8) & 0xFF),
                  unsigned((masked >> 16) & 0xFF), unsigned(masked >> 24));
    return text;
}

StrValue systemInfo(StrValue& query) {
    StrValue result = answer(query.cStr());
    query = query.upperCase();
    return result;
}

StrValue systemInfo(const StrValue& query) { return answer(query.cStr()); }

} // namespace tarvoke
