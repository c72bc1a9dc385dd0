// Starting other programs.
#include <algorithm>
#include <string>
#include <vector>
#include "platform/Process.h"
#include "platform/Programs.h"
#include "tarvoke/system.h"

namespace tarvoke {
namespace {

// Programs started without waiting. Each is collected once it has ended, so a game that starts
// many does not fill the process table with finished children.
std::vector<platform::ProcessId> unwaitedPrograms;

void collectEndedPrograms() {
    int ignored = 0;
    unwaitedPrograms.erase(std::remove_if(unwaitedPrograms.begin(), unwaitedPrograms.end(),
                                          [&](platform::ProcessId id) { return platform::waitProcess(id, 0, ignored); }),
                           unwaitedPrograms.end());
}

} // namespace

// The show flag has nothing to act on here: a program's windows are its own to show on this
// desktop, and a program without windows shows nothing anyway.
NumValue runProgram(const StrValue& commandLine, NumValue wait, NumValue /*show*/, NumValue& exitCode) {
    exitCode = 0;
    collectEndedPrograms();
    std::vector<std::string> words = platform::splitCommandLine(commandLine.cStr());
    if (words.empty()) return 0;
    words[0] = platform::locateProgram(words[0]);
    const platform::ProcessId program = platform::startProgram(words);
    if (program < 0) return 0;
    if (!isSet(wait)) {
        unwaitedPrograms.push_back(program);
        return 1;
    }
    int code = 0;
    if (platform::waitProcess(program, -1, code)) exitCode = code;
    return 1;
}

} // namespace tarvoke
