// Error registers and the error log "ErrorLog.txt".
#include "core/Errors.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace tarvoke {

NumValue errorCode = 0;
NumValue errorLine = 0;
NumValue currentLine = 0;
NumValue debugTag = 0;

namespace {
constexpr int logAttempts = 5;
constexpr int logRetryMs = 100;
}

NumValue recordError(NumValue code) {
    errorCode = code;
    errorLine = currentLine;
    return code;
}

void setDebugPosition(NumValue tag, NumValue line) {
    debugTag = tag;
    currentLine = line;
}

std::string errorLogPath() { return platform::temporaryDirectory() + "ErrorLog.txt"; }

void deleteErrorLog() { platform::deleteFile(errorLogPath()); }

void appendErrorLog(const StrValue& text) {
    std::string line(text.cStr());
    line += "\r\n";
    const std::string path = errorLogPath();
    for (int attempt = 0; attempt < logAttempts; ++attempt) {
        if (platform::appendExclusive(path, line.data(), line.size())) return;
        platform::sleepMilliseconds(logRetryMs);
    }
    // Five failures: the line is dropped; a log must never stop the game.
}

} // namespace tarvoke
