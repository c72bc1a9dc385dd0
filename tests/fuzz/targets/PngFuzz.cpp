// The PNG reader on arbitrary bytes, with and without a size check: refused with an empty image,
// or a picture whose pixel buffer matches its size and passed the check.
#include "graphics2d/ImageFiles.h"
#include "support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    const std::string path = fuzz::writeInput(data, size, "input.png");
    const SizeCheck smallOnly = [](int width, int height) { return width <= 64 && height <= 64; };
    for (const SizeCheck& fits : {SizeCheck(), smallOnly}) {
        Image image;
        const bool read = readPngFile(image, path, 0x8000ff, fits);
        if (!read) fuzz::check(image.isEmpty() && image.pixels.empty(), "a refused PNG leaves the image empty");
        if (!read) continue;
        fuzz::check(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height) * 4,
                    "a PNG's pixels fill exactly width x height x 4 bytes");
        fuzz::check(!fits || fits(image.width, image.height), "a PNG the size check refused was read");
    }
    return 0;
}
