// MediaSound: sound effects and looping music synthesised for the media generator, written as PCM WAV files.
#pragma once

#include <string>
#include <vector>

namespace mediagen {

const int kSampleRate = 22050;
// Loudness (RMS, full scale 1) of every effect, and of every loop of music. The game plays music at 0.05 to 0.1
// of the effects' volume: at these levels the dungeon's music sits 9 dB under the effects and the menus' 3 dB.
const float kEffectRms = 0.063f;  // -24 dB
const float kMusicRms = 0.45f;    // -7 dB

// A mono signal in -1..1.
using Signal = std::vector<float>;

// The effect a file name asks for (a footstep, a blow, a miss, a chime...); unknown names get a tone of their own.
Signal synthEffect(const std::string& name);
// A loop of music in a mood picked from the name ("splash", "end", "menu", a level's loop...).
Signal synthMusic(const std::string& name);

// 16-bit mono PCM RIFF WAVE.
bool writeWav(const std::string& path, const Signal& s);

}  // namespace mediagen
