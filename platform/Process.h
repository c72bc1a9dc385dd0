// Platform contract, processes: starting, waiting for and ending processes, and the debugger
// and console the development environment offers.
#pragma once
#include <string>
#include <vector>

namespace tarvoke::platform {

using ProcessId = long;                    // -1: no process
// Starts a command line (shell syntax, as typed at a prompt) as a new process; only the standard
// streams are inherited.
ProcessId startProcess(const std::string& commandLine);
// Starts a program with an argument list (argv[0] is the program); only the standard streams
// are inherited. Environment entries ("NAME=value") replace inherited ones of the same name.
ProcessId startProgram(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& extraEnvironment = {});
// Waits up to timeoutMs (negative: forever). True when the process ended; exitCode is its exit
// code, or 128 + signal number when a signal ended it.
bool waitProcess(ProcessId process, int timeoutMs, int& exitCode);
void killProcess(ProcessId process);
[[noreturn]] void exitProcess(int exitCode);  // runs the registered exit handlers

bool isDebuggerAttached();
void sendDebuggerText(const std::string& text);
bool attachConsole();                      // binds standard input and output to a console

} // namespace tarvoke::platform
