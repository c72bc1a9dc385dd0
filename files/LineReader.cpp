#include "files/LineReader.h"
#include <cstring>

namespace tarvoke {
namespace {

constexpr std::size_t readAhead = 64 * 1024;

} // namespace

// At the end of a file the line ends with its bytes, as if an LF followed them; only a full
// piece of lineLimit bytes without an LF is a line cut short, and keeps a CR at its end.
LineCut cutLine(const char* bytes, std::size_t count) {
    const void* lineFeed = std::memchr(bytes, '\n', count);
    std::size_t end = lineFeed ? std::size_t(static_cast<const char*>(lineFeed) - bytes) : count;
    const std::size_t consumed = lineFeed ? end + 1 : count;
    if ((lineFeed || count < lineLimit) && end > 0 && bytes[end - 1] == '\r') --end;
    const void* nul = std::memchr(bytes, '\0', end);
    if (nul) end = std::size_t(static_cast<const char*>(nul) - bytes);
    return {end, consumed};
}

void trimTrailingControlBytes(std::string& text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 31) text.pop_back();
}

LineStream::LineStream(platform::File& file) : file_(&file), buffer_(readAhead) { bytes_ = buffer_.data(); }

LineStream::LineStream(const char* bytes, std::size_t count) : bytes_(bytes), available_(count), fileEnded_(true) {}

void LineStream::fill() {
    if (fileEnded_ || available_ >= lineLimit) return;
    std::memmove(buffer_.data(), bytes_, available_);
    bytes_ = buffer_.data();
    const std::size_t wanted = buffer_.size() - available_;
    const std::size_t got = file_->read(buffer_.data() + available_, wanted);
    available_ += got;
    fileEnded_ = got < wanted;
}

bool LineStream::atEnd() {
    fill();
    return available_ == 0;
}

bool LineStream::next(std::string& line) {
    if (atEnd()) return false;
    const std::size_t window = available_ < lineLimit ? available_ : lineLimit;
    const LineCut cut = cutLine(bytes_, window);
    line.assign(bytes_, cut.textLength);
    bytes_ += cut.consumed;
    available_ -= cut.consumed;
    consumed_ += cut.consumed;
    return true;
}

} // namespace tarvoke
