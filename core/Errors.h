// Runtime error registers and the error log, for engine code.
#pragma once
#include <string>
#include "tarvoke/core.h"

namespace tarvoke {

std::string errorLogPath();            // "ErrorLog.txt" in the temporary directory
void deleteErrorLog();                 // start-up: each run begins without a log

} // namespace tarvoke
