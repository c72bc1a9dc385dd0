// The game's command line and the engine's own developer options on it.
#pragma once
#include <string>
#include <vector>

namespace tarvoke {

// Options the engine takes off the command line before the game sees it.
struct EngineOptions {
    int captureFrames = 0;       // --tarvoke-frames N: end after N frames
    std::string screenshotPath;  // --tarvoke-screenshot FILE: save the last frame as PNG
};
EngineOptions takeEngineOptions(std::vector<std::string>& arguments);

// Joins arguments into one command line, quoting those with blanks or quotes so that the
// usual command-line splitting gives them back.
std::string joinCommandLine(const std::vector<std::string>& arguments);

} // namespace tarvoke
