// Sound: effects loaded from WAV files into 128 slots of up to four voices each, and one music
// track that loops. Volumes run 0..1 (silent..full), pans -1 (left)..1 (right). Without an audio
// device the game runs on silently: loadSound answers 0 and playSound -1.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- sound effects
NumValue loadSound(const StrValue& fileName, NumValue id, NumValue voices = 1);  // 1 loaded, 0 failed; ids above 127 use slot 127
NumValue playSound(NumValue id, NumValue pan = 0, NumValue volume = 1);        // the voice handle id × 256 + voice; -1 when none started
NumValue isSoundPlaying(NumValue handle);                                       // 1 while that voice plays, else 0
void stopAllSounds();                                                           // stops and rewinds every voice

// ---------------------------------------------------------------- music
void playMusic(const StrValue& fileName);      // replaces the music and loops it (WAV, OGG, MP3, FLAC, ...)
void stopMusic();                              // stops and closes the music
void setMusicVolume(NumValue volume);          // 0..1; the music starts at 1

// ---------------------------------------------------------------- movies
// Plays a movie (any format FFmpeg reads) fitted into the window, with its sound, until it ends
// (looping: until a key) or a key or mouse button is pressed. 0, or 3 when it cannot be found or opened.
NumValue playMovie(const StrValue& fileName, NumValue loop = 0);
void playMovieOnce(const StrValue& fileName);    // playMovie without the loop, result dropped
void playMovieLooped(const StrValue& fileName);  // playMovie looping, result dropped

} // namespace tarvoke
