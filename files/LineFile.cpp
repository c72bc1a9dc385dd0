#include "files/LineFile.h"

namespace tarvoke {

void loadLineFile(LineFile& file, LineStream& lines) {
    for (int index = 0; index < lineFileLines && lines.next(file.lines[index]); ++index) file.highestLine = index;
    file.restOffset = lines.atEnd() ? 0 : lines.consumed();
}

std::string writeLineFile(const LineFile& file) {
    std::string text;
    for (int index = 0; index <= file.highestLine; ++index) text += file.lines[index] + "\r\n";
    return text;
}

} // namespace tarvoke
