// ArchiveSlot: one of the two file lookups (general and media). A file on disk always wins;
// otherwise the member of that name is unpacked from the slot's archive into a temporary file,
// which lives until the next lookup on the same slot (or setArchive, or shutdown). The game holds
// the file while it lives, so the start of another game, which removes the unpacked files that
// killed games left behind, never takes it.
#pragma once
#include <string>
#include "platform/Files.h"
#include "tarvoke/StrValue.h"

namespace tarvoke {

struct ArchiveSlot {
    bool enabled = true;       // false once the archive proved missing or not an archive
    std::string archivePath;   // the archive file; empty: no archive
    platform::HeldTemporaryFile pendingFile;  // of the last successful unpack; empty: none
};

// Both are owned by the files subsystem (files/Files.h); null before start-up and after shutdown.
extern ArchiveSlot* generalArchive;  // pictures, sounds, INI, line and model files
extern ArchiveSlot* mediaArchive;    // music and video

// Turns a game's file name into the path of a real file. True: outPath holds the path to open.
// False: outPath is emptied when the name is empty, the member is missing or cannot be
// unpacked, and is left as it was when the slot is off (callers may pass the name's own
// buffer as outPath). A null slot looks on disk only.
bool resolveFile(ArchiveSlot* slot, const StrValue& name, StrValue& outPath);

// Start-up and shutdown of the two slots (files/Files.h runs them).
void startArchiveSlots();
void stopArchiveSlots();

// Re-enables the slot, deletes its pending file and names its archive.
void resetArchiveSlot(ArchiveSlot& slot, const std::string& archivePath);

// Deletes the files unpacked by earlier games that no game holds any more (they were killed
// before they could delete them). Returns how many went.
int removeLeftoverUnpackedFiles();

} // namespace tarvoke
