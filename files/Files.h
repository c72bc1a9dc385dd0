// The files subsystem as the engine's core drives it. It owns the two archive slots of the file
// lookup (ArchiveSlot.h), the eight file channels (FileChannels.cpp), the INI document
// (IniFile.h), the cached line file (LineFile.h) and the cache of dynamic libraries
// (Libraries.h); everything else reaches them through resolveFile and the commands.
#pragma once

namespace tarvoke {

// Both archive slots look in the executable itself, so an archive appended to the game's own
// file is found without any call by the game. Also arms saveFilesAtEnd as an exit handler, for
// a program that leaves through exit() alone.
bool startFiles();
// Deletes the slots' unpacked files and the slots.
void stopFiles();
// Program end: the INI document and the line file are written back if changed, and every file
// channel is closed. Safe to run twice; the second run finds nothing to do.
void saveFilesAtEnd();

void closeFileChannels();  // FileChannels.cpp
// Releases every dynamic library the game bound functions of, last loaded first. The bound
// addresses are dangling afterwards: this runs only when the program ends.
void stopLibraries();

} // namespace tarvoke
