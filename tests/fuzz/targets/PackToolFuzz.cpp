// tarvoke-pack's list and extract on arbitrary archives: the listing is one line of three
// tab-separated fields a member with nothing a terminal would act on, every failure is one line,
// and extract writes only plain files straight into its folder, none with a control character.
#include <algorithm>
#include <sstream>
#include "pack/PackCommands.h"
#include "support/FuzzSupport.h"

namespace {

using tarvoke::fuzz::check;

bool isTerminalSafe(char c) { return c == '\t' || c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F); }

void checkListing(const std::string& listing) {
    check(std::all_of(listing.begin(), listing.end(), isTerminalSafe), "the listing holds no control character");
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);)
        check(std::count(line.begin(), line.end(), '\t') == 2, "a listing line has three fields");
}

void checkErrors(const std::string& errors) {
    check(std::all_of(errors.begin(), errors.end(), isTerminalSafe), "the errors hold no control character");
    std::istringstream lines(errors);
    for (std::string line; std::getline(lines, line);)
        check(line.rfind("tarvoke-pack: ", 0) == 0, "every error line is the tool's own");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const std::string archive = tarvoke::fuzz::writeInput(data, size, "input.pak");
    const fs::path folder = tarvoke::fuzz::scratchFolder() / "out";
    std::ostringstream listing, errors;
    tarvoke::pack::runPackTool({"list", archive}, listing, errors);
    checkListing(listing.str());
    tarvoke::pack::runPackTool({"extract", archive, folder.string()}, listing, errors);
    checkErrors(errors.str());
    if (!fs::exists(folder)) return 0;  // refused before the folder was made
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        check(item.is_regular_file() && !item.is_symlink() && item.path().parent_path() == folder,
              "extract writes plain files straight into its folder");
        check(std::all_of(name.begin(), name.end(), [](char c) { return c != '\t' && c != '\n' && isTerminalSafe(c); }),
              "no extracted name holds a control character");
    }
    fs::remove_all(folder);
    return 0;
}
