// Finds where the body of an HTTP response starts, chunk by chunk as the bytes arrive. The
// header ends at the second line end in a row: CR bytes are passed over, an LF counts a line
// end, any other byte starts the count again. So CR LF CR LF and a bare LF LF both end it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tarvoke {

class HttpHeaderScanner {
public:
    // Scans the next chunk of a header not yet ended. True when the header ends in this chunk;
    // bodyStart is then the index of the first body byte (size when none is in this chunk).
    bool scan(const std::uint8_t* bytes, std::size_t size, std::size_t& bodyStart);
    bool ended() const { return ended_; }

private:
    int lineEnds_ = 0;
    bool ended_ = false;
};

// Download timeouts: a connection, or any byte after it, that takes longer ends the download.
constexpr int defaultHttpTimeoutMs = 30000;
void setHttpTimeout(int milliseconds);  // tests shorten it

} // namespace tarvoke
