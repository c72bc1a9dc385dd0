// The HTTP header scanner on any response cut into chunks where the input says: the body starts
// at the same byte however the chunks fall, and it is the byte after the first LF that follows
// another LF with nothing but CR bytes between them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "net/HttpHeader.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

// Where the body starts in the whole response; npos when the header never ends.
std::size_t bodyStartOf(const std::string& response) {
    std::size_t previousLineEnd = std::string::npos;
    for (std::size_t i = 0; i < response.size(); ++i) {
        if (response[i] != '\n') continue;
        if (previousLineEnd != std::string::npos &&
            response.find_first_not_of('\r', previousLineEnd + 1) == i)
            return i + 1;
        previousLineEnd = i;
    }
    return std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t step = std::size_t(data[0]) % 64 + 1;
    const std::string response(reinterpret_cast<const char*>(data + 1), size - 1);
    tarvoke::HttpHeaderScanner scanner;
    std::size_t found = std::string::npos;
    for (std::size_t at = 0; at < response.size() && found == std::string::npos; at += step) {
        const std::size_t count = std::min(step, response.size() - at);
        std::size_t bodyStart = 0;
        if (scanner.scan(data + 1 + at, count, bodyStart)) {
            check(bodyStart <= count, "the body starts within the chunk or just after it");
            found = at + bodyStart;
        }
    }
    check(found == bodyStartOf(response), "the body starts after the first empty line");
    return 0;
}
