// Music: one track at a time, played once by the media library and started again from the
// frame loop (keepMusicLooping) when its length, at least 500 ms, has passed on the engine clock.
#include "sound/Music.h"
#include <algorithm>
#include <cmath>
#include "core/FrameClock.h"
#include "files/ArchiveSlot.h"
#include "sound/Sound.h"
#include "tarvoke/sound.h"

namespace tarvoke {

namespace {

constexpr int fullMusicLevel = 1000;       // the volume scale music is set on

MusicState music;

// A length the library cannot tell counts as the shortest loop; the restart then also waits
// for the library to finish the track (keepMusicLooping).
double loopLengthMs(double lengthMs) { return std::max(lengthMs, shortestMusicLoopMs); }

int levelOfVolume(NumValue volume) {
    if (std::isnan(volume)) return 0;
    return int(std::clamp(volume, 0.0, 1.0) * fullMusicLevel);
}

} // namespace

MusicState& musicState() { return music; }

void playMusic(const StrValue& fileName) {
    stopMusic();
    StrValue path;
    if (!resolveFile(mediaArchive, fileName, path)) return;
    MusicTrackHandle track(platform::loadMusic(path.cStr()));
    if (!track) return;
    music.lengthMs = platform::musicLengthMs(track.get());
    music.track = std::move(track);
    setMusicVolume(1);  // before it sounds, so no block plays at an earlier track's volume
    if (!platform::playMusicOnce(music.track.get())) {
        stopMusic();
        return;
    }
    music.endTime = now() + loopLengthMs(music.lengthMs);
}

void stopMusic() {
    music.volume = -1;
    music.endTime = 0;
    music.track.reset();  // halts it
}

void setMusicVolume(NumValue volume) {
    if (volume == music.volume) return;
    music.volume = volume;
    if (music.track) platform::setMusicLevel(levelOfVolume(volume));
}

void keepMusicLooping() {
    if (music.endTime <= 0 || !music.track) return;
    const double t = now();
    if (t < music.endTime) return;
    if (music.lengthMs < 0 && platform::isMusicPlaying()) return;
    music.endTime = t + loopLengthMs(music.lengthMs);
    platform::playMusicOnce(music.track.get());
}

} // namespace tarvoke
