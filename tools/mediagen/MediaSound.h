// MediaSound: sound effects and looping music synthesised for the media generator, written as PCM WAV files.
#pragma once

#include <string>
#include <vector>

namespace mediagen {

const int kSampleRate = 22050;

// A mono signal in -1..1.
using Signal = std::vector<float>;

// The effect a file name asks for (a footstep, a blow, a miss, a chime...); unknown names get a tone of their own.
Signal synthEffect(const std::string& name);
// A loop of music in a mood picked from the name ("splash", "end", "menu", a level's loop...).
Signal synthMusic(const std::string& name);

// 16-bit mono PCM RIFF WAVE.
bool writeWav(const std::string& path, const Signal& s);

}  // namespace mediagen
