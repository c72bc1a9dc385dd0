// Files and resources: the packed resource archive through which every loader finds its files.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// Names the archives that loaders consult for files missing on disk: one for pictures, sounds,
// INI, line and model files, one for music and video. Either may be empty (no archive).
void setArchive(const StrValue& general, const StrValue& media);

} // namespace tarvoke
