// Platform contract, programs: command lines as this system splits them.
#pragma once
#include <string>
#include <vector>

namespace tarvoke::platform {

// The words of one simple command as this system's shell splits it: blanks separate words;
// single quotes keep everything literally; double quotes keep blanks and let "\" escape only
// \ " $ and `; outside quotes "\" keeps the next character. No expansion of any kind, no
// redirection or pipes: their characters are plain text. An unclosed quote runs to the end.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The program a command's first word names: a word with a folder part as it is; a bare name
// beside the executable when there is such a program there, else the bare name (searched on
// the system's program path when started).
std::string locateProgram(const std::string& word);

} // namespace tarvoke::platform
