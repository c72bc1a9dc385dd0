// The process's one INI document (IniFile.cpp owns it), as the files subsystem reaches it.
#pragma once
#include "files/IniDocument.h"

namespace tarvoke {

// Writes the document to its file when it was changed and has a name. The old file is replaced
// only by a complete new one; a failure keeps it and writes an error-log line. False on failure.
bool writeBackIni();
// Program end: writes back, then forgets the changes so that a second ending writes nothing.
void saveIniAtEnd();
const IniDocument& currentIni();  // for tests

} // namespace tarvoke
