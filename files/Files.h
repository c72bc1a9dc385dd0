// The files subsystem as the engine's core drives it: start and stop. It owns the two archive
// slots of the file lookup (ArchiveSlot.h) and the cache of dynamic libraries (Libraries.h);
// everything else reaches them through resolveFile and the commands.
#pragma once

namespace tarvoke {

// Both archive slots look in the executable itself, so an archive appended to the game's own
// file is found without any call by the game.
bool startFiles();
// Deletes the slots' unpacked files and the slots.
void stopFiles();
// Releases every dynamic library the game bound functions of, last loaded first. The bound
// addresses are dangling afterwards: this runs only when the program ends.
void stopLibraries();

} // namespace tarvoke
