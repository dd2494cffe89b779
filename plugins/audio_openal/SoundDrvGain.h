// The gains the audio plug-in hands OpenAL: a source's and the listener's.
#pragma once

#include <cmath>

// A source's gain (the sound's volume times the master gain) goes to OpenAL as it is: OpenAL scales it by the
// distance attenuation first and only then clamps it to the source's maximum of 1.0. Clamping here, before the
// attenuation of the 50-unit placement, made every setting sound the same and near silent. Not-a-number,
// infinite and negative gains become 0.
inline float SoundDrvSourceGain(float gain) {
  if (!(gain > 0.0f) || !std::isfinite(gain)) return 0.0f;
  return gain;
}

// The listener's gain scales the whole mix after the sources' clamps: above 1.0 it would amplify every sound
// past full scale, so it stays between 0 and 1.
inline float SoundDrvListenerGain(float gain) {
  if (!(gain > 0.0f)) return 0.0f;
  return gain < 1.0f ? gain : 1.0f;
}

// The attenuation OpenAL gives a mono source at distance from the listener under the inverse-distance clamped
// model with its default reference distance and rolloff (both 1).
inline float SoundDrvDistanceGain(float distance) { return distance > 1.0f ? 1.0f / distance : 1.0f; }
