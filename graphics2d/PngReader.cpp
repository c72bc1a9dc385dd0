// PNG files through libpng, reduced to 8-bit grey, RGB or RGBA.
#include <png.h>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "graphics2d/ImageFiles.h"

namespace tarvoke {
namespace {

constexpr png_uint_32 maxSide = png_uint_32(1) << 16;
// No single allocation of libpng's may pass this, whatever chunk asks for it: its largest honest
// one, a row of the widest picture at 16 bits a channel, is 512 KiB.
constexpr png_alloc_size_t maxChunkBytes = png_alloc_size_t(8) << 20;
// Deflate cannot expand data by much more than 1032:1, so a file that claims more decoded bytes
// than this is lying about its size, and we would only allocate for it in vain.
constexpr std::uint64_t maxInflateRatio = 1100;
constexpr std::uint64_t inflateAllowance = std::uint64_t(1) << 20;
constexpr std::uint64_t maxDecodedBytes = std::uint64_t(1) << 30;
constexpr std::uint64_t maxPixels = std::uint64_t(1) << 28;

// Errors end the read through the jump point; nothing is printed on the game's console.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

png_voidp allocateWithinLimit(png_structp, png_alloc_size_t size) {
    return size <= maxChunkBytes ? std::malloc(size) : nullptr;
}
void freeAllocation(png_structp, png_voidp pointer) { std::free(pointer); }

void readFromFile(png_structp png, png_bytep into, png_size_t count) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(into, 1, count, file) != count) png_error(png, "file ends early");
}

struct PngLayout {
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::uint64_t rowBytes = 0;
};

// Owns libpng's structures. The members that set a jump point hold no locals with destructors,
// since a long jump would skip them.
class PngDecoder {
public:
    explicit PngDecoder(std::FILE* file) {
        png_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning, nullptr,
                                        allocateWithinLimit, freeAllocation);
        if (png_) info_ = png_create_info_struct(png_);
        if (info_) png_set_read_fn(png_, file, readFromFile);
    }
    ~PngDecoder() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    bool isReady() const { return info_ != nullptr; }

    bool readLayout(PngLayout& layout) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_set_user_limits(png_, maxSide, maxSide);
        png_set_chunk_malloc_max(png_, maxChunkBytes);
        // Text, palettes of suggestions, colour profiles and the like change nothing the engine
        // shows: they are skipped unread, so none of them can cost memory or time.
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
        png_read_info(png_, info_);
        requestEightBitChannels();
        png_read_update_info(png_, info_);
        layout.width = png_get_image_width(png_, info_);
        layout.height = png_get_image_height(png_, info_);
        layout.channels = png_get_channels(png_, info_);
        layout.bitDepth = png_get_bit_depth(png_, info_);
        layout.colourType = png_get_color_type(png_, info_);
        layout.rowBytes = png_get_rowbytes(png_, info_);
        return true;
    }

    bool readRows(png_bytepp rows) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_image(png_, rows);
        return true;
    }

private:
    void requestEightBitChannels() {
        png_set_palette_to_rgb(png_);
        png_set_expand_gray_1_2_4_to_8(png_);
        png_set_tRNS_to_alpha(png_);
        png_set_strip_16(png_);
        png_set_packing(png_);
        png_set_interlace_handling(png_);
    }

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// A wrong bit depth or colour type is explained on the console, so a game author knows what to
// re-save the picture as; every other refusal is silent.
bool isUsable(const PngLayout& layout, const std::string& path, std::uint64_t fileSize) {
    if (layout.channels != 1 && layout.channels != 3 && layout.channels != 4) return false;
    if (layout.bitDepth != 8) {
        std::printf("File %s has bit depth %d.\n", path.c_str(), layout.bitDepth);
        std::printf("Only bit depth of 8 is supported.\n");
        return false;
    }
    const int type = layout.colourType;
    if (type != PNG_COLOR_TYPE_GRAY && type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_RGB_ALPHA) {
        std::printf("File %s has unsupported color type.\n", path.c_str());
        std::printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
        return false;
    }
    if (layout.width == 0 || layout.height == 0) return false;
    const std::uint64_t decodedBytes = layout.rowBytes * layout.height;
    return std::uint64_t(layout.width) * layout.height <= maxPixels && decodedBytes <= maxDecodedBytes &&
           decodedBytes <= maxInflateRatio * fileSize + inflateAllowance;
}

// Widens a row of `channels` bytes a pixel to RGBA where it stands. The pixels go from the
// right, so no pixel is overwritten before it is read.
void widenRow(std::uint8_t* row, int channels, png_uint_32 width, std::int32_t colourKey) {
    if (channels == 4) return;
    for (png_uint_32 x = width; x-- > 0;) {
        const std::uint8_t* from = row + std::size_t(x) * channels;
        const std::uint8_t red = from[0];
        const std::uint8_t green = channels == 3 ? from[1] : red;
        const std::uint8_t blue = channels == 3 ? from[2] : red;
        const bool keyed = channels == 3 && matchesColourKey(red, green, blue, colourKey);
        std::uint8_t* rgba = row + std::size_t(x) * 4;
        rgba[0] = keyed ? 0 : red;
        rgba[1] = keyed ? 0 : green;
        rgba[2] = keyed ? 0 : blue;
        rgba[3] = keyed ? 0 : 255;
    }
}

// libpng decodes each row into the start of its own RGBA row, which is then widened in place:
// the picture is held once, never beside a second decoded copy.
bool decode(std::FILE* file, const std::string& path, Image& image, std::int32_t colourKey, const SizeCheck& fits) {
    const std::int64_t fileSize = sizeOfOpenFile(file);
    PngDecoder decoder(file);
    PngLayout layout;
    if (fileSize < 0 || !decoder.isReady() || !decoder.readLayout(layout) ||
        !isUsable(layout, path, std::uint64_t(fileSize)))
        return false;
    if (fits && !fits(int(layout.width), int(layout.height))) return false;
    const std::size_t stride = std::size_t(layout.width) * 4;
    image.width = int(layout.width);
    image.height = int(layout.height);
    image.pixels.resize(stride * layout.height);
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 y = 0; y < layout.height; ++y) rows[y] = &image.pixels[y * stride];
    if (!decoder.readRows(rows.data())) return false;
    for (png_uint_32 y = 0; y < layout.height; ++y) widenRow(rows[y], layout.channels, layout.width, colourKey);
    return true;
}

} // namespace

bool readPngFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits) {
    FileHandle file = platform::openFileForReading(path);
    if (file && decode(file.get(), path, image, colourKey, fits)) return true;
    image.clear();
    return false;
}

} // namespace tarvoke
