// LineFile: the one text file cached for the line commands, lines 0..255, with its loader and
// writer. LineFileCommands.cpp owns the process's cache and the commands.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "files/LineReader.h"
#include "tarvoke/StrValue.h"

namespace tarvoke {

constexpr int lineFileLines = 256;
constexpr std::size_t lineFileLineLimit = 1023;  // a longer text is cut to this many bytes

struct LineFile {
    std::string name;          // as the game gave it; empty: nothing cached
    std::string target;        // where it is written back: the name, seen from the directory of then
    std::string source;        // the file it was read from (an archive member's temporary file, say)
    std::array<std::string, lineFileLines> lines;
    int highestLine = 0;       // the last line read or the highest written
    bool dirty = false;
    bool unreadable = false;   // the file is there but could not be read: never written over
    // Where the lines past the cache begin in the source; 0: the file had no more.
    std::uint64_t restOffset = 0;
};

// Fills lines 0, 1, ... from the stream, up to the cache's last line.
void loadLineFile(LineFile& file, LineStream& lines);
// Lines 0 to the highest, each ending in CR LF.
std::string writeLineFile(const LineFile& file);

// Makes the named file the cached one, writing the previous one back if changed; null: none.
// 3 when the file cannot be found (error 3 recorded; the name stays cached, empty), else 0.
int selectLineFile(const StrValue* name);
const LineFile& currentLineFile();  // for tests

} // namespace tarvoke
