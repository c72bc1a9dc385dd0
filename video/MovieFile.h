// MovieFile: one movie file opened with FFmpeg (the only file of the engine that names it): the
// container, the decoders of its picture stream and its sound stream, and the converters to
// the engine's formats: BGRA pictures of a chosen size, stereo 16-bit sound at the output rate.
// Packets read while the other stream is wanted wait in that stream's queue, within a bound.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarvoke {

class MovieFile {
public:
    MovieFile();
    ~MovieFile();
    MovieFile(const MovieFile&) = delete;
    MovieFile& operator=(const MovieFile&) = delete;

    // False when the file cannot be read as a movie with a picture or a sound stream to decode.
    bool open(const std::string& path, int soundRate);
    bool hasPicture() const;
    bool hasSound() const;
    int width() const;                  // the picture as stored; 0 without one
    int height() const;
    double shownWidth() const;          // the width it is shown at: its pixels need not be square
    double frameSeconds() const;        // one picture's time (its stream's rate; 1/30 s when unknown)

    void setPictureSize(int width, int height);  // what convertPicture produces
    // Decodes the next picture; false at the stream's end. `seconds`: when it is due, from the
    // file's start.
    bool nextPicture(double& seconds);
    void convertPicture(std::uint8_t* bgra, int rowBytes);  // the last decoded picture
    // Decodes the next piece of sound and appends it to `frames` (interleaved stereo); false at
    // the stream's end. `seconds`: when its first sample is due, from the file's start.
    bool nextSound(std::vector<std::int16_t>& frames, double& seconds);
    // Back to the start for another pass; false when the file cannot seek.
    bool rewind();

private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
};

} // namespace tarvoke
