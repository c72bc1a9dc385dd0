#include "graphics2d/PngWriter.h"
#include <png.h>
#include <csetjmp>
#include <utility>
#include <vector>
#include "graphics2d/ImageFiles.h"

namespace tarvoke {
namespace {

// Errors end the write through the jump point; nothing is printed on the game's console.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

void writeToFile(png_structp png, png_bytep data, png_size_t size) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fwrite(data, 1, size, file) != size) png_error(png, "write failed");
}

void flushFile(png_structp png) {
    if (std::fflush(static_cast<std::FILE*>(png_get_io_ptr(png))) != 0) png_error(png, "flush failed");
}

// Kept apart from writePngFile so no local with a destructor lives across the long jump.
bool encode(std::FILE* file, int width, int height, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, file, writeToFile, flushFile);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePngFile(const std::string& path, int width, int height, const std::uint8_t* rgba) {
    if (width <= 0 || height <= 0 || !rgba) return false;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(rgba + std::size_t(y) * std::size_t(width) * 4);
    FileHandle file = platform::createFileForWriting(path);
    if (!file) return false;
    const bool encoded = encode(file.get(), width, height, rows.data());
    return closeWrittenFile(std::move(file), path, encoded);
}

} // namespace tarvoke
