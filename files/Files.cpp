// Start, stop and program end of the files subsystem.
#include "files/Files.h"
#include <cstdlib>
#include "files/ArchiveSlot.h"
#include "files/IniFile.h"
#include "files/LineFile.h"

namespace tarvoke {

bool startFiles() {
    static bool exitHandlerArmed = false;
    if (!exitHandlerArmed) exitHandlerArmed = std::atexit(saveFilesAtEnd) == 0;
    startArchiveSlots();
    return true;
}

void stopFiles() { stopArchiveSlots(); }

void saveFilesAtEnd() {
    saveIniAtEnd();
    selectLineFile(nullptr);
    closeFileChannels();
}

} // namespace tarvoke
