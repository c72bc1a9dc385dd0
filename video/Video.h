// Video as the engine's core drives it: the movie playing (inside playMovie) is let go at
// shutdown, when closing the window ends the program mid-movie. The subsystem owns the playback
// state of that one movie; only video/ touches it.
#pragma once

namespace tarvoke {

void stopMovie();  // frees the movie's decoders and sound stream and gives the window back

// What the last movie did, for tests and the benchmark.
struct MovieStatistics {
    int shown = 0;    // pictures shown
    int dropped = 0;  // pictures decoded too late and skipped
    int passes = 0;   // times it was started from the beginning
};
MovieStatistics lastMovieStatistics();

} // namespace tarvoke
