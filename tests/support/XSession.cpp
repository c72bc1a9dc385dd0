#include "support/XSession.h"
#include "platform/Clock.h"
#include <cstdio>
#include <string>
#include "support/TestSupport.h"

namespace tarvoke::test {

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    process_ = platform::startProgram(argv, environment);
}

ChildProgram::~ChildProgram() {
    if (process_ > 0 && !ended_) platform::killProcess(process_);
}

bool ChildProgram::waitForExit(int timeoutMs, int& exitCode) {
    if (ended_) return true;
    ended_ = platform::waitProcess(process_, timeoutMs, exitCode);
    return ended_;
}

bool ChildProgram::isRunning() {
    int exitCode = 0;
    return !waitForExit(0, exitCode);
}

namespace {

std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
}

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

std::string xdotool(const std::string& arguments) {
    return runCommand("env -u LD_PRELOAD xdotool " + arguments + " 2>/dev/null");
}

namespace {

double millisecondsSince(std::uint64_t start) {
    return double(platform::counterValue() - start) * 1000.0 / double(platform::counterFrequency());
}

} // namespace

std::string waitForWindow(const std::string& titlePattern, int timeoutMs) {
    const std::uint64_t start = platform::counterValue();
    do {
        std::string found = xdotool("search --onlyvisible --name " + shellQuoted(titlePattern));
        if (!found.empty()) return found.substr(0, found.find('\n'));
        platform::sleepMilliseconds(50);
    } while (millisecondsSince(start) <= timeoutMs);
    // What the X server holds, so that a failure can be understood from the test's output.
    std::fprintf(stderr, "no visible window named %s; the server's windows:\n%s\n", titlePattern.c_str(),
                 runCommand("env -u LD_PRELOAD xwininfo -root -tree 2>&1 | grep -v '(has no name)'").c_str());
    return "";
}

std::string windowName(const std::string& windowId) { return xdotool("getwindowname " + windowId); }

bool waitForWindowName(const std::string& windowId, const std::string& title, int timeoutMs) {
    const std::uint64_t start = platform::counterValue();
    do {
        if (windowName(windowId) == title) return true;
        platform::sleepMilliseconds(50);
    } while (millisecondsSince(start) <= timeoutMs);
    return false;
}

void focusWindow(const std::string& windowId) { xdotool("windowfocus --sync " + windowId); }

std::string waitForWindowAndFocus(const std::string& titlePattern, int timeoutMs) {
    const std::string window = waitForWindow(titlePattern, timeoutMs);
    if (!window.empty()) focusWindow(window);
    return window;
}

void holdKeys(const std::vector<std::string>& keys, int holdMs) {
    for (const std::string& key : keys) xdotool("keydown " + key);
    platform::sleepMilliseconds(holdMs);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) xdotool("keyup " + *key);
}

bool requestClose(const std::string& windowId) {
    return runCommand("env -u LD_PRELOAD " + programPath("xclose") + " " + windowId + " && echo sent") == "sent";
}

} // namespace tarvoke::test
