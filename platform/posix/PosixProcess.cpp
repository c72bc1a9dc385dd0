// Processes, exit and debugger on POSIX.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include "platform/Clock.h"
#include "platform/Process.h"

extern char** environ;

namespace tarvoke::platform {
namespace {

ProcessId spawnWith(const char* program, const std::vector<std::string>& arguments,
                    const std::vector<std::string>& extraEnvironment, bool searchPath) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The extra entries replace inherited ones of the same name: getenv finds the first.
    auto overridden = [&](const char* entry) {
        for (const std::string& extra : extraEnvironment) {
            const std::size_t nameEnd = extra.find('=');
            if (nameEnd != std::string::npos && std::strncmp(entry, extra.c_str(), nameEnd + 1) == 0) return true;
        }
        return false;
    };
    std::vector<char*> envp;
    for (char** entry = environ; entry && *entry; ++entry)
        if (!overridden(*entry)) envp.push_back(*entry);
    for (const std::string& entry : extraEnvironment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);  // only the standard streams pass on
    pid_t child = -1;
    int failed = searchPath ? posix_spawnp(&child, program, &actions, nullptr, argv.data(), envp.data())
                            : posix_spawn(&child, program, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : ProcessId(child);
}

} // namespace

ProcessId startProcess(const std::string& commandLine) {
    return spawnWith("/bin/sh", {"sh", "-c", commandLine}, {}, false);
}

ProcessId startProgram(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& extraEnvironment) {
    if (arguments.empty()) return -1;
    return spawnWith(arguments[0].c_str(), arguments, extraEnvironment, true);
}

bool waitProcess(ProcessId process, int timeoutMs, int& exitCode) {
    if (process <= 0) return false;
    std::uint64_t start = counterValue();
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid_t(process), &status, WNOHANG);
        if (done == pid_t(process)) {
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (done < 0) return false;
        std::uint64_t elapsedMs = (counterValue() - start) / 1000000ull;
        if (timeoutMs >= 0 && elapsedMs >= std::uint64_t(timeoutMs)) return false;
        sleepMilliseconds(5);
    }
}

void killProcess(ProcessId process) {
    if (process <= 0) return;
    kill(pid_t(process), SIGKILL);
    int status = 0;
    waitpid(pid_t(process), &status, 0);
}

void exitProcess(int exitCode) {
    std::fflush(nullptr);
    std::exit(exitCode);
}

bool isDebuggerAttached() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return false;
    char line[256];
    long tracer = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "TracerPid:", 10) == 0) {
            tracer = std::strtol(line + 10, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return tracer != 0;
}

// A debugger on Linux reads the process's error stream; there is no separate debug channel.
void sendDebuggerText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

bool attachConsole() {
    int terminal = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (terminal < 0) return false;
    bool bound = dup2(terminal, STDIN_FILENO) >= 0 && dup2(terminal, STDOUT_FILENO) >= 0;
    close(terminal);
    return bound;
}

} // namespace tarvoke::platform
