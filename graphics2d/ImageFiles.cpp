// What the image readers and writers share: file handling, and the loader that tries both
// formats.
#include "graphics2d/ImageFiles.h"
#include <cctype>

namespace tarvoke {

std::int64_t sizeOfOpenFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

bool closeWrittenFile(FileHandle file, const std::string& path, bool written) {
    written = std::fclose(file.release()) == 0 && written;
    if (!written) std::remove(path.c_str());
    return written;
}

bool readImageFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits) {
    return readBmpFile(image, path, colourKey, fits) || readPngFile(image, path, colourKey, fits);
}

bool isPngFileName(const std::string& path) {
    const std::size_t length = path.size();
    if (length <= 4 || path[length - 4] != '.') return false;
    std::string extension = path.substr(length - 3);
    for (char& letter : extension) letter = char(std::tolower(static_cast<unsigned char>(letter)));
    return extension == "png";
}

} // namespace tarvoke
