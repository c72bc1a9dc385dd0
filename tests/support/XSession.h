// Drives whole programs under the X server from outside: child processes, windows found by
// title, real key and focus events through xdotool.
#pragma once
#include <string>
#include <vector>
#include "platform/Process.h"

namespace tarvoke::test {

// A program started as a child process; killed at scope end if still running.
class ChildProgram {
public:
    ChildProgram(const std::string& program, const std::vector<std::string>& arguments = {},
                 const std::vector<std::string>& environment = {});
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;
    bool started() const { return process_ > 0; }
    // True when it ended within the time; exitCode then holds its code.
    bool waitForExit(int timeoutMs, int& exitCode);
    bool isRunning();

private:
    platform::ProcessId process_ = -1;
    bool ended_ = false;
};

// Runs xdotool (without the sanitizer preload of the test run) and returns its output, trimmed.
std::string xdotool(const std::string& arguments);
// The id of a visible window whose title matches the regular expression; "" after the timeout.
std::string waitForWindow(const std::string& titlePattern, int timeoutMs);
std::string windowName(const std::string& windowId);
// Waits until the window's title equals `title`; false after the timeout.
bool waitForWindowName(const std::string& windowId, const std::string& title, int timeoutMs);
void focusWindow(const std::string& windowId);
// waitForWindow, then gives the window the keyboard focus; "" after the timeout.
std::string waitForWindowAndFocus(const std::string& titlePattern, int timeoutMs);
// Presses the keys (xdotool names, e.g. "alt F4") in order, holds them, releases in reverse.
void holdKeys(const std::vector<std::string>& keys, int holdMs);
// Sends the window the window system's close request.
bool requestClose(const std::string& windowId);

} // namespace tarvoke::test
