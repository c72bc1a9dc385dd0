// The BMP reader on arbitrary bytes: it either refuses them with an empty image or gives a
// picture whose pixel buffer matches its size.
#include "graphics2d/ImageFiles.h"
#include "support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    Image image;
    const bool read = readBmpFile(image, fuzz::writeInput(data, size, "input.bmp"), 0x8000ff);
    if (!read) fuzz::check(image.isEmpty() && image.pixels.empty(), "a refused BMP leaves the image empty");
    if (read)
        fuzz::check(!image.isEmpty() && image.pixels.size() == std::size_t(image.width) * std::size_t(image.height) * 4,
                    "a BMP's pixels fill exactly width x height x 4 bytes");
    return 0;
}
