// playMovie: a movie shown in the main window with its sound. The sound leads: it goes through
// the sound stream into the output, and the frames the output has played are the clock every
// picture waits for. A picture whose successor is already due is skipped; sound never is. Once
// the sound of a pass has ended, silence keeps the clock going until the last picture is done.
#include <algorithm>
#include <memory>
#include <vector>
#include "core/FrameClock.h"
#include "core/MessagePump.h"
#include "files/ArchiveSlot.h"
#include "graphics2d/Graphics2D.h"
#include "input/Input.h"
#include "platform/Clock.h"
#include "sound/Sound.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/sound.h"
#include "video/MovieFile.h"
#include "video/MovieTiming.h"
#include "video/Video.h"

namespace tarvoke {
namespace {

constexpr int rate = soundOutputRate;
constexpr std::size_t streamFrames = 16384;   // sound queued ahead: about 0.74 s
constexpr double silenceLeadSeconds = 0.06;   // silence queued ahead of the clock
constexpr int longestSleepMs = 5;             // messages, keys and sound are served this often
constexpr int decodesPerTurn = 8;             // late pictures skipped before the next turn
constexpr NumValue movieFailed = 3;

class Playback {
public:
    explicit Playback(bool looping) : looping_(looping), clock_(rate) {}

    bool open(const std::string& path);
    void begin();
    // One turn: sound topped up, the due picture shown. False once the movie is over.
    bool turn();
    double msToWait();
    MovieStatistics statistics;

private:
    void startPass(double at);
    double seconds();
    std::size_t soundRoom();
    std::size_t putSound(const std::int16_t* frames, std::size_t count);
    void feedSound();
    void showDuePicture(double t);
    bool passOver(double t) const;
    double writtenSeconds() const { return double(written_) / rate; }

    MovieFile file_;
    bool looping_;
    bool withOutput_ = false;         // the sound stream is open; else the wall clock leads
    SoundClock clock_;
    double wallStart_ = 0;
    MovieRect place_;
    int pictureWidth_ = 0, pictureHeight_ = 0, rowBytes_ = 0;
    std::vector<std::uint8_t> picture_;     // BGRA
    // The timeline, in seconds from the first pass's start; a pass starts at passStart_.
    double passStart_ = 0;
    bool passHadContent_ = false;
    // sound
    std::uint64_t written_ = 0;       // frames on the timeline queued so far, silence included
    std::vector<std::int16_t> pending_;
    std::size_t pendingAt_ = 0;       // frames of pending_ already queued
    std::uint64_t silenceOwed_ = 0;   // before the pass's first sound
    bool soundStarted_ = false, soundEnded_ = false;
    double soundEnd_ = 0;
    // pictures
    bool pictureHeld_ = false, picturesEnded_ = false;
    double pictureDue_ = 0, picturesEnd_ = 0;
    std::vector<std::int16_t> silence_ = std::vector<std::int16_t>(2 * 1024, 0);
};

std::unique_ptr<Playback> playing;  // while playMovie runs, so that shutdown can let it go
MovieStatistics lastStatistics;

bool Playback::open(const std::string& path) {
    if (!file_.open(path, rate) || !hasMainWindow()) return false;
    NumValue clientWidth = 0, clientHeight = 0;
    getScreenSize(clientWidth, clientHeight);
    if (file_.hasPicture()) {
        place_ = fitMovie(int(clientWidth), int(clientHeight), file_.shownWidth(), file_.height());
        pictureWidth_ = file_.width();
        pictureHeight_ = file_.height();
    } else {
        pictureWidth_ = pictureHeight_ = 1;  // sound alone: the window keeps what it showed
    }
    if (!beginMovieScreen(pictureWidth_, pictureHeight_)) return false;
    file_.setPictureSize(pictureWidth_, pictureHeight_);
    // The converter writes whole vector-register runs, past the row's end when the width is not
    // a multiple of them: rows are padded to 32 pixels and one spare row follows the last.
    rowBytes_ = (pictureWidth_ + 31) / 32 * 32 * 4;
    picture_.assign(std::size_t(rowBytes_) * std::size_t(pictureHeight_ + 1), 0);
    return true;
}

// The first picture is decoded before the sound starts: a decoder working on several pictures
// at once gives its first one only after a while, which would make it late.
void Playback::begin() {
    startPass(0);
    showDuePicture(-1);
    withOutput_ = openSoundStream(streamFrames);
    wallStart_ = now() / 1000.0;
}

void Playback::startPass(double at) {
    ++statistics.passes;
    passStart_ = at;
    passHadContent_ = false;
    pending_.clear();
    pendingAt_ = 0;
    silenceOwed_ = 0;
    soundStarted_ = false;
    soundEnded_ = !file_.hasSound();
    soundEnd_ = at;
    pictureHeld_ = false;
    picturesEnded_ = !file_.hasPicture();
    picturesEnd_ = at;
}

double Playback::seconds() {
    const double wall = now() / 1000.0;
    return withOutput_ ? clock_.at(soundStreamPlayedFrames(), wall) : wall - wallStart_;
}

// Without an output the sound is decoded and dropped at the pace of the wall clock.
std::size_t Playback::soundRoom() {
    if (withOutput_) return soundStreamRoom();
    const double ahead = seconds() + double(streamFrames) / rate - writtenSeconds();
    return ahead > 0 ? std::size_t(ahead * rate) : 0;
}

std::size_t Playback::putSound(const std::int16_t* frames, std::size_t count) {
    const std::size_t taken = withOutput_ ? writeSoundStream(frames, count) : std::min(count, soundRoom());
    written_ += taken;
    return taken;
}

void Playback::feedSound() {
    for (std::size_t room = soundRoom(); room > 0; room = soundRoom()) {
        if (silenceOwed_ > 0) {
            silenceOwed_ -= putSound(silence_.data(), std::size_t(std::min<std::uint64_t>(silenceOwed_, silence_.size() / 2)));
        } else if (pendingAt_ < pending_.size() / 2) {
            pendingAt_ += putSound(pending_.data() + 2 * pendingAt_, pending_.size() / 2 - pendingAt_);
        } else if (!soundEnded_) {
            pending_.clear();
            pendingAt_ = 0;
            double due = 0;
            if (!file_.nextSound(pending_, due)) {
                soundEnded_ = true;
                soundEnd_ = writtenSeconds();
                continue;
            }
            passHadContent_ = true;
            if (!soundStarted_) {  // the first sound of a pass goes where its time says
                soundStarted_ = true;
                const double gap = passStart_ + due - writtenSeconds();
                if (gap > 0) silenceOwed_ = std::uint64_t(gap * rate);
            }
        } else {
            const double ahead = seconds() + silenceLeadSeconds - writtenSeconds();
            if (ahead <= 0) return;
            putSound(silence_.data(), std::min({room, silence_.size() / 2, std::size_t(ahead * rate) + 1}));
            return;
        }
    }
}

// Skips the pictures whose successor is due as well, and shows the one due now.
void Playback::showDuePicture(double t) {
    for (int decode = 0; decode < decodesPerTurn; ++decode) {
        if (!pictureHeld_) {
            double due = 0;
            if (picturesEnded_ || !file_.nextPicture(due)) {
                picturesEnded_ = true;
                return;
            }
            passHadContent_ = true;
            pictureHeld_ = true;
            pictureDue_ = passStart_ + due;
            picturesEnd_ = std::max(picturesEnd_, pictureDue_ + file_.frameSeconds());
        }
        if (pictureDue_ > t) return;
        pictureHeld_ = false;
        if (t >= pictureDue_ + file_.frameSeconds()) {
            ++statistics.dropped;
            continue;
        }
        file_.convertPicture(picture_.data(), rowBytes_);
        showMoviePicture(picture_.data(), rowBytes_, place_.x, place_.y, place_.width, place_.height);
        ++statistics.shown;
        return;
    }
}

bool Playback::passOver(double t) const {
    return soundEnded_ && silenceOwed_ == 0 && pendingAt_ >= pending_.size() / 2 && picturesEnded_ && !pictureHeld_ &&
           t >= std::max(soundEnd_, picturesEnd_);
}

bool Playback::turn() {
    feedSound();
    showDuePicture(seconds());
    feedSound();
    const double t = seconds();
    if (!passOver(t)) return true;
    // A pass that held nothing would start again at once, for ever.
    if (!looping_ || !passHadContent_ || !file_.rewind()) return false;
    startPass(std::max({soundEnd_, picturesEnd_, writtenSeconds()}));
    return true;
}

// Until the held picture is due, at most longestSleepMs; 0 when a picture is still to decode.
double Playback::msToWait() {
    if (pictureHeld_) return std::clamp((pictureDue_ - seconds()) * 1000.0, 0.0, double(longestSleepMs));
    return picturesEnded_ ? longestSleepMs : 0.0;
}

// Serves the window and the music while it waits; closing the window ends the program here.
void serveWindow() {
    keepMusicLooping();
    pumpMessages();
    pollInputForFrame();
}

void waitUntilNoKeyIsDown() {
    for (serveWindow(); anyKeyOrButtonDown(); serveWindow()) platform::sleepMilliseconds(longestSleepMs);
}

void endPlayback() {
    if (playing) lastStatistics = playing->statistics;
    playing.reset();
    closeSoundStream();
    endMovieScreen();
}

} // namespace

NumValue playMovie(const StrValue& fileName, NumValue loop) {
    stopMovie();
    StrValue path;
    if (!resolveFile(mediaArchive, fileName, path)) return movieFailed;
    lastStatistics = MovieStatistics{};
    playing = std::make_unique<Playback>(isSet(loop));
    if (!playing->open(path.cStr())) {
        endPlayback();
        return movieFailed;
    }
    waitUntilNoKeyIsDown();
    playing->begin();
    for (;;) {
        serveWindow();
        if (anyKeyOrButtonDown() || !playing->turn()) break;
        platform::sleepMicroseconds(int(playing->msToWait() * 1000.0));
    }
    endPlayback();
    return 0;
}

void playMovieOnce(const StrValue& fileName) { playMovie(fileName, 0); }

void playMovieLooped(const StrValue& fileName) { playMovie(fileName, 1); }

void stopMovie() { endPlayback(); }

MovieStatistics lastMovieStatistics() { return lastStatistics; }

} // namespace tarvoke
