// Command lines as the POSIX shell splits one simple command, and where their programs live.
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include "platform/Files.h"
#include "platform/Programs.h"

namespace tarvoke::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Appends the quoted text that starts after the quote at `open`; returns the closing quote's
// position (the end of the line when it is missing).
std::size_t appendSingleQuoted(const std::string& line, std::size_t open, std::string& word) {
    const std::size_t close = std::min(line.find('\'', open + 1), line.size());
    word.append(line, open + 1, close - open - 1);
    return close;
}

std::size_t appendDoubleQuoted(const std::string& line, std::size_t open, std::string& word) {
    std::size_t i = open + 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && std::strchr("\\\"$`", line[i + 1])) ++i;
        word += line[i];
    }
    return i;
}

} // namespace

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a quoted empty text is a word too
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'')
            i = appendSingleQuoted(line, i, word);
        else if (c == '"')
            i = appendDoubleQuoted(line, i, word);
        else if (c == '\\' && i + 1 < line.size())
            word += line[++i];
        else
            word += c;
    }
    if (inWord) words.push_back(word);
    return words;
}

std::string locateProgram(const std::string& word) {
    if (word.empty() || word.find('/') != std::string::npos) return word;
    const std::string executable = executablePath();
    const std::size_t cut = executable.find_last_of('/');
    if (cut == std::string::npos) return word;
    const std::string beside = executable.substr(0, cut + 1) + word;
    struct stat info{};
    if (stat(beside.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(beside.c_str(), X_OK) == 0) return beside;
    return word;
}

} // namespace tarvoke::platform
