// tarvoke-pack: makes, appends, lists and unpacks the engine's packed resource archives.
#include <iostream>
#include "pack/PackCommands.h"
#include "platform/Files.h"

int main(int argc, char** argv) {
    // Under a file-size limit a write then fails, which append can undo, instead of the system
    // ending the tool with the target half-extended.
    tarvoke::platform::failWritesPastFileSizeLimit();
    return tarvoke::pack::runPackTool({argv + 1, argv + argc}, std::cout, std::cerr);
}
