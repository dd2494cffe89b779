// The gain clamp of the audio plug-in: every gain handed to OpenAL goes through it.
#pragma once

#include <cmath>

// OpenAL takes gains from 0 up; each source's gain is capped at its maximum of 1.0 anyway, and a listener gain
// above 1.0 would amplify every sound past what the game's volume settings were made for. Not-a-number and
// negative gains become 0.
inline float SoundDrvGain(float gain) {
  if (!(gain > 0.0f))
    return 0.0f;
  return gain < 1.0f ? gain : 1.0f;
}
