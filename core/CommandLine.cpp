#include "core/CommandLine.h"
#include <cstdlib>

namespace tarvoke {

EngineOptions takeEngineOptions(std::vector<std::string>& arguments) {
    EngineOptions options;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        if (arguments[i] == "--tarvoke-frames" && hasValue) {
            options.captureFrames = std::atoi(arguments[++i].c_str());
        } else if (arguments[i] == "--tarvoke-screenshot" && hasValue) {
            options.screenshotPath = arguments[++i];
        } else {
            kept.push_back(arguments[i]);
        }
    }
    arguments = kept;
    return options;
}

namespace {

bool needsQuotes(const std::string& argument) {
    return argument.empty() || argument.find_first_of(" \t\"") != std::string::npos;
}

// Backslashes are literal except before a quote, where each must be doubled.
std::string quoted(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

} // namespace

std::string joinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += needsQuotes(argument) ? quoted(argument) : argument;
    }
    return line;
}

} // namespace tarvoke
