// The commands of tarvoke-pack (create, append, list, extract), callable in-process so that the
// fuzz targets and tests can drive them; PackMain.cpp only hands them the command line.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tarvoke::pack {

// Runs one command line (without the program name). The listing and --help go to `out`, every
// failure as one line "tarvoke-pack: ..." to `err`. Returns the exit code: 0 done, 1 failed,
// 2 a usage mistake.
int runPackTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tarvoke::pack
