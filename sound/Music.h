// The one music state: the track that plays, its volume and when it is due to start again.
// Owned by Music.cpp; only sound/ touches it (tests may look inside).
#pragma once
#include <memory>
#include "platform/Audio.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

struct MusicTrackRelease {
    void operator()(platform::MusicTrack* track) const { platform::freeMusic(track); }
};
using MusicTrackHandle = std::unique_ptr<platform::MusicTrack, MusicTrackRelease>;

constexpr double shortestMusicLoopMs = 500;

struct MusicState {
    MusicTrackHandle track;                  // null: no music
    NumValue volume = -1;                    // as last set, 0..1; -1: not set
    double lengthMs = -1;                    // as the library reports it; negative: unknown
    double endTime = 0;                      // engine clock, ms; 0 when no music plays
};

MusicState& musicState();

} // namespace tarvoke
