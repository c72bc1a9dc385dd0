// The one rule by which the engine reads text lines, shared by readLine on the file channels,
// the INI loader and the line files: a line is at most lineLimit bytes, an LF ends it, a CR just
// before the LF is dropped, the text ends at its first NUL byte. A line longer than the limit
// comes back in pieces of lineLimit bytes. The last line of a file needs no line end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "platform/Files.h"

namespace tarvoke {

constexpr std::size_t lineLimit = 1024;

struct LineCut {
    std::size_t textLength;  // bytes of the line's text, up to its first NUL
    std::size_t consumed;    // bytes the line takes, its LF included
};

// Cuts the next line from the bytes that follow in a file. `count` is the number available,
// at most lineLimit, and fewer only when the file ends after them. count must be above 0.
LineCut cutLine(const char* bytes, std::size_t count);

// Trailing control bytes (1..31) go; bytes 128..255 are letters of some encoding and stay.
void trimTrailingControlBytes(std::string& text);

// Lines from a whole file or from bytes in memory, read through a buffer.
class LineStream {
public:
    explicit LineStream(platform::File& file);
    LineStream(const char* bytes, std::size_t count);

    bool atEnd();                     // no byte is left
    bool next(std::string& line);     // false only at the end
    std::uint64_t consumed() const { return consumed_; }  // bytes taken by the lines so far

private:
    void fill();                      // lineLimit bytes ready, or all that is left

    platform::File* file_ = nullptr;
    std::vector<char> buffer_;        // the file's bytes read ahead
    const char* bytes_ = nullptr;     // the unread bytes: in buffer_, or the caller's memory
    std::size_t available_ = 0;
    bool fileEnded_ = false;
    std::uint64_t consumed_ = 0;
};

} // namespace tarvoke
