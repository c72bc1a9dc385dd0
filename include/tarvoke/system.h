// The surrounding system: the current directory and its listing, the desktop's open and save
// dialogs, starting programs, functions of dynamic libraries, and questions about the machine.
// Paths handed back use "/" between folders.
#pragma once
#include "tarvoke/StrValue.h"
#include "tarvoke/arrays.h"

namespace tarvoke {

// ---------------------------------------------------------------- directories
StrValue getCurrentDir();                                   // ends with exactly one "/"
NumValue setCurrentDir(const StrValue& path);               // 1 when changed, else 0
// Folders first ("." and ".." too, whatever the pattern), then the files matching the pattern
// ("*" any run, "?" one character but "."; case ignored). Result: files + 65536 x folders.
NumValue getFileList(const StrValue& pattern, TextArray& names);

// ---------------------------------------------------------------- dialogs and programs
// mode 0: the save dialog, else the open dialog. filter: "description|patterns|..." with the
// patterns of one entry separated by ";". Result: the chosen path, or "NO_FILE".
StrValue fileRequest(NumValue mode, const StrValue& filter);
// Starts a command line (program and arguments, quoted as at a shell prompt). With wait set,
// waits for its end and stores its exit code; else exitCode is 0. 1 when it started, else 0.
NumValue runProgram(const StrValue& commandLine, NumValue wait, NumValue show, NumValue& exitCode);

// ---------------------------------------------------------------- libraries and queries
// Binds a function of a dynamic library, loaded once per name and kept until the program ends.
// A variable given as the name is turned to lower case. address is null when the library or
// the function cannot be found.
void loadDllFunction(StrValue& libraryName, const StrValue& functionName, void*& address);
void loadDllFunction(const StrValue& libraryName, const StrValue& functionName, void*& address);
// "" -> "LINUX", "ID", "DEVICE", "TIME", "BATTERY", "GLEXT:name"; anything else "NO_DATA".
// The query is compared in upper case; a variable given as the query is turned to upper case.
StrValue systemInfo(StrValue& query);
StrValue systemInfo(const StrValue& query);

} // namespace tarvoke
