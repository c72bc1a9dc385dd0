#include "net/HttpHeader.h"

namespace tarvoke {

bool HttpHeaderScanner::scan(const std::uint8_t* bytes, std::size_t size, std::size_t& bodyStart) {
    for (std::size_t i = 0; i < size && !ended_; ++i) {
        if (bytes[i] == '\r') continue;
        lineEnds_ = bytes[i] == '\n' ? lineEnds_ + 1 : 0;
        if (lineEnds_ == 2) {
            ended_ = true;
            bodyStart = i + 1;
        }
    }
    return ended_;
}

} // namespace tarvoke
