// File dialogs on POSIX desktops: the desktop's dialog helper (zenity, or kdialog under KDE),
// run as a child process that prints the chosen path.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include "platform/FileDialogs.h"

extern char** environ;

namespace tarvoke::platform {
namespace {

// More than any path; a helper that prints more is not answering with a path.
constexpr std::size_t longestAnswer = 64 * 1024;

bool isProgram(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The full path of a program on PATH; "" when it is not installed.
std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (isProgram(folder + "/" + program)) return folder + "/" + program;
        start = end + 1;
    }
    return std::string();
}

bool onKdeDesktop() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop && std::strstr(desktop, "KDE");
}

// "*.*" means every file to games; the helpers' patterns would ask for a dot.
std::string helperPattern(const std::string& pattern) { return pattern == "*.*" ? "*" : pattern; }

std::string joinedPatterns(const FileTypeFilter& filter) {
    std::string joined;
    for (const std::string& pattern : filter.patterns) joined += (joined.empty() ? "" : " ") + helperPattern(pattern);
    return joined;
}

std::vector<std::string> zenityArguments(const std::string& helper, FileDialogMode mode, const std::string& directory,
                                         const std::vector<FileTypeFilter>& filters) {
    std::vector<std::string> arguments = {helper, "--file-selection", "--filename=" + directory + "/"};
    if (mode == FileDialogMode::Save) arguments.push_back("--save");
    for (const FileTypeFilter& filter : filters)
        arguments.push_back("--file-filter=" + filter.description + " | " + joinedPatterns(filter));
    return arguments;
}

std::vector<std::string> kdialogArguments(const std::string& helper, FileDialogMode mode, const std::string& directory,
                                          const std::vector<FileTypeFilter>& filters) {
    std::string filterLines;
    for (const FileTypeFilter& filter : filters)
        filterLines += (filterLines.empty() ? "" : "\n") + joinedPatterns(filter) + "|" + filter.description;
    return {helper, mode == FileDialogMode::Save ? "--getsavefilename" : "--getopenfilename", directory + "/",
            filterLines};
}

// Runs the helper with its standard output on a pipe; true when it ended with code 0.
bool runForAnswer(const std::vector<std::string>& arguments, std::string& answer) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);  // toolkit chatter
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);  // the game's own files stay its own
    pid_t child = -1;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed) {
        close(ends[0]);
        return false;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(ends[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (answer.size() < longestAnswer) answer.append(buffer, std::size_t(got));
    }
    close(ends[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && answer.size() < longestAnswer;
}

} // namespace

std::string chooseFile(FileDialogMode mode, const std::string& directory, const std::vector<FileTypeFilter>& filters) {
    const std::string zenity = findOnPath("zenity"), kdialog = findOnPath("kdialog");
    std::vector<std::string> arguments;
    if (!kdialog.empty() && (zenity.empty() || onKdeDesktop()))
        arguments = kdialogArguments(kdialog, mode, directory, filters);
    else if (!zenity.empty())
        arguments = zenityArguments(zenity, mode, directory, filters);
    else
        return std::string();

    std::string answer;
    if (!runForAnswer(arguments, answer)) return std::string();
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    return answer;
}

} // namespace tarvoke::platform
