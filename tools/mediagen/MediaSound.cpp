// MediaSound: footsteps, blows, chimes and loops made from oscillators, noise and envelopes.
#include "tools/mediagen/MediaSound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/BrNumeric.h"
#include "tools/mediagen/MediaImage.h"

namespace mediagen {
namespace {

const float kPi = 3.14159265f;
const float kPeak = 0.95f;

uint32_t nameHash(const std::string& s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

float noise() { return brRand() / 16383.5f - 1.0f; }

Signal silence(float seconds) { return Signal(size_t(seconds * kSampleRate), 0.0f); }

// Adds a tone from t0 for len seconds: frequency glides from f0 to f1, with an attack and an exponential decay.
void tone(Signal& s, float t0, float len, float f0, float f1, float amp, float decay, int shape = 0) {
  const size_t start = size_t(t0 * kSampleRate), n = size_t(len * kSampleRate);
  float phase = 0;
  for (size_t i = 0; i < n && start + i < s.size(); ++i) {
    const float t = float(i) / kSampleRate, u = float(i) / n;
    const float f = f0 + (f1 - f0) * u;
    phase += f / kSampleRate;
    phase -= std::floor(phase);
    float v;
    if (shape == 1)
      v = 2.0f * phase - 1.0f;  // saw
    else if (shape == 2)
      v = phase < 0.5f ? 1.0f : -1.0f;  // square
    else
      v = std::sin(2 * kPi * phase);
    const float env = std::min(1.0f, t / 0.005f) * std::exp(-decay * t);
    s[start + i] += amp * env * v;
  }
}

// Adds noise through a one-pole low-pass whose cut-off glides from c0 to c1 (0..1 of the band).
void noiseBurst(Signal& s, float t0, float len, float c0, float c1, float amp, float decay) {
  const size_t start = size_t(t0 * kSampleRate), n = size_t(len * kSampleRate);
  float y = 0;
  for (size_t i = 0; i < n && start + i < s.size(); ++i) {
    const float t = float(i) / kSampleRate, u = float(i) / n;
    const float c = c0 + (c1 - c0) * u;
    y += c * (noise() - y);
    const float env = std::min(1.0f, t / 0.003f) * std::exp(-decay * t);
    s[start + i] += amp * env * y;
  }
}

float rmsOf(const Signal& s) {
  double sum = 0.0;
  for (float v : s) sum += double(v) * double(v);
  return s.empty() ? 0.0f : float(std::sqrt(sum / double(s.size())));
}

float peakOf(const Signal& s) {
  float m = 0;
  for (float v : s) m = std::max(m, std::fabs(v));
  return m;
}

// Every effect at one loudness (kEffectRms), never past kPeak, its last few milliseconds faded so it ends
// without a click.
void normaliseEffect(Signal& s) {
  const float rms = rmsOf(s), peak = peakOf(s);
  if (rms > 0 && peak > 0) {
    const float gain = std::min(kEffectRms / rms, kPeak / peak);
    for (float& v : s) v *= gain;
  }
  const size_t fade = std::min<size_t>(s.size(), kSampleRate / 200);
  for (size_t i = 0; i < fade; ++i) s[s.size() - 1 - i] *= float(i) / fade;
}

// Music plays far quieter than the effects (the game sets its volume to 0.05 in the dungeon and 0.1 in the
// menus, the effects' to 1): a loop is levelled and limited up to kMusicRms so that it is heard beside them.
// First a slow gain rides the loop's level (its notes decay, the next start loud), then a soft limiter takes
// the peaks, with the drive searched so that the loop reaches kMusicRms.
void levelMusic(Signal& s) {
  if (s.empty() || peakOf(s) <= 0) return;
  const size_t window = kSampleRate / 10;
  std::vector<float> level(s.size());
  double sum = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    sum += double(s[i]) * double(s[i]);
    if (i >= window) sum -= double(s[i - window]) * double(s[i - window]);
    level[i] = float(std::sqrt(std::max(0.0, sum) / double(std::min(i + 1, window))));
  }
  const float overall = rmsOf(s);
  float gain = 1.0f;
  Signal ridden(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const float want = overall / std::max(level[i], overall * 0.25f);
    gain += (want - gain) * (want < gain ? 0.002f : 0.0002f);  // quick to duck, slow to rise
    ridden[i] = s[i] * gain;
  }
  auto limited = [&](float drive) {
    Signal out(ridden.size());
    for (size_t i = 0; i < ridden.size(); ++i) out[i] = kPeak * std::tanh(drive * ridden[i]);
    return out;
  };
  float lo = 0.0f, hi = 64.0f / std::max(peakOf(ridden), 1e-6f);
  for (int step = 0; step < 40; ++step) {
    const float mid = 0.5f * (lo + hi);
    (rmsOf(limited(mid)) < kMusicRms ? lo : hi) = mid;
  }
  s = limited(lo);
}

bool has(const std::string& name, const char* word) { return name.find(word) != std::string::npos; }

float noteHz(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

}  // namespace

Signal synthEffect(const std::string& name) {
  brSeedRand(nameHash(name));
  Signal s;
  if (has(name, "step")) {
    s = silence(0.12f);
    noiseBurst(s, 0, 0.12f, 0.08f, 0.02f, 1.0f, 40);
    tone(s, 0, 0.08f, has(name, "l") ? 90.0f : 80.0f, 50, 0.6f, 50);
  } else if (has(name, "hit") || has(name, "hurt") || has(name, "ouch")) {
    s = silence(0.25f);
    noiseBurst(s, 0, 0.2f, 0.5f, 0.05f, 1.0f, 25);
    tone(s, 0, 0.2f, 140, 60, 0.8f, 18);
  } else if (has(name, "miss") || has(name, "swing") || has(name, "throw") || has(name, "whoosh")) {
    s = silence(0.3f);
    noiseBurst(s, 0, 0.3f, 0.02f, 0.4f, 1.0f, 8);
  } else if (has(name, "kill") || has(name, "death") || has(name, "die") || has(name, "dead")) {
    s = silence(0.7f);
    tone(s, 0, 0.7f, 220, 55, 0.8f, 4, 1);
    noiseBurst(s, 0, 0.4f, 0.3f, 0.02f, 0.5f, 8);
  } else if (has(name, "click")) {
    s = silence(0.04f);
    tone(s, 0, 0.03f, 1800, 1200, 0.7f, 150);
    noiseBurst(s, 0, 0.01f, 0.9f, 0.9f, 0.5f, 300);
  } else if (has(name, "levelup")) {
    s = silence(0.9f);
    const int steps[] = {0, 4, 7, 12};
    for (int i = 0; i < 4; ++i) tone(s, i * 0.12f, 0.5f, noteHz(steps[i] + 3), noteHz(steps[i] + 3), 0.6f, 5);
  } else if (has(name, "pickup") || has(name, "coin") || has(name, "get")) {
    s = silence(0.25f);
    tone(s, 0, 0.1f, noteHz(7), noteHz(7), 0.6f, 20);
    tone(s, 0.08f, 0.15f, noteHz(14), noteHz(14), 0.6f, 15);
  } else if (has(name, "eat") || has(name, "drink") || has(name, "potion") || has(name, "food")) {
    s = silence(0.45f);
    for (int i = 0; i < 3; ++i) noiseBurst(s, i * 0.14f, 0.1f, 0.3f, 0.1f, 0.9f, 30);
  } else if (has(name, "poison") || has(name, "sick")) {
    s = silence(0.8f);
    for (int i = 0; i < 6; ++i) tone(s, i * 0.12f, 0.15f, 180.0f - i * 10, 160.0f - i * 10, 0.5f, 8);
  } else if (has(name, "unlock") || has(name, "open") || has(name, "chest")) {
    s = silence(0.4f);
    tone(s, 0, 0.08f, 2400, 2000, 0.5f, 60);
    tone(s, 0.15f, 0.2f, 1600, 1500, 0.5f, 30);
    noiseBurst(s, 0.15f, 0.1f, 0.6f, 0.3f, 0.4f, 40);
  } else if (has(name, "ammo") || has(name, "low") || has(name, "lhealth") || has(name, "loil") || has(name, "warn")) {
    s = silence(0.5f);
    tone(s, 0, 0.15f, 440, 440, 0.5f, 6, 2);
    tone(s, 0.25f, 0.15f, 330, 330, 0.5f, 6, 2);
  } else if (has(name, "reveal") || has(name, "growl") || has(name, "roar") || has(name, "monster")) {
    s = silence(0.9f);
    tone(s, 0, 0.9f, 70, 110, 0.7f, 2, 1);
    noiseBurst(s, 0, 0.9f, 0.05f, 0.1f, 0.6f, 2);
  } else if (has(name, "error")) {
    s = silence(0.2f);
    tone(s, 0, 0.2f, 120, 120, 0.6f, 2, 2);
  } else if (has(name, "stairs") || has(name, "descend") || has(name, "door")) {
    s = silence(0.8f);
    for (int i = 0; i < 4; ++i) {
      noiseBurst(s, i * 0.18f, 0.12f, 0.08f, 0.02f, 0.9f, 35);
      tone(s, i * 0.18f, 0.1f, 85, 55, 0.5f, 40);
    }
  } else if (has(name, "magic") || has(name, "wand") || has(name, "zap") || has(name, "spell")) {
    s = silence(0.6f);
    tone(s, 0, 0.6f, 600, 1800, 0.4f, 4);
    tone(s, 0, 0.6f, 900, 2700, 0.2f, 4);
  } else {
    // Something of its own: a short chime pitched by the name.
    s = silence(0.35f);
    const int step = brRand() % 12;
    tone(s, 0, 0.3f, noteHz(step), noteHz(step), 0.6f, 9);
    tone(s, 0.05f, 0.3f, noteHz(step + 7), noteHz(step + 7), 0.3f, 9);
  }
  normaliseEffect(s);
  return s;
}

Signal synthMusic(const std::string& name) {
  brSeedRand(nameHash(name));
  // The mood decides the scale and the pace: the ending and the menus are slower and brighter than the dungeon.
  const bool bright = has(name, "splash") || has(name, "menu") || has(name, "end") || has(name, "credit") ||
                      has(name, "title") || has(name, "intro");
  const int minor[] = {0, 2, 3, 5, 7, 8, 10, 12};
  const int major[] = {0, 2, 4, 5, 7, 9, 11, 12};
  const int* scale = bright ? major : minor;
  const float beat = bright ? 0.5f : 0.4f + (brRand() % 3) * 0.05f;
  const int bars = 8, beatsPerBar = 4;
  const int root = -21 + brRand() % 5;  // around C3
  Signal s = silence(beat * bars * beatsPerBar);
  for (int bar = 0; bar < bars; ++bar) {
    const int chord = (bar % 4 == 3) ? 4 : (bar % 2) * 3;
    // A drone on the chord's root, then a melody over it.
    tone(s, bar * beatsPerBar * beat, beatsPerBar * beat, noteHz(root + scale[chord]), noteHz(root + scale[chord]),
         0.25f, 0.6f, 1);
    tone(s, bar * beatsPerBar * beat, beatsPerBar * beat, noteHz(root + 12 + scale[chord]),
         noteHz(root + 12 + scale[chord]), 0.12f, 0.8f);
    for (int b = 0; b < beatsPerBar; ++b) {
      if (brRand() % 4 == 0) continue;
      const int degree = (chord + brRand() % 5) % 8;
      const float f = noteHz(root + 24 + scale[degree]);
      tone(s, (bar * beatsPerBar + b) * beat, beat * 1.5f, f, f, 0.3f, 3.5f);
    }
  }
  levelMusic(s);
  // The end meets the start: a short cross-fade so the loop has no seam.
  const size_t fade = kSampleRate / 20;
  for (size_t i = 0; i < fade && i < s.size(); ++i) s[i] *= float(i) / fade;
  return s;
}

bool writeWav(const std::string& path, const Signal& s) {
  std::vector<uint8_t> v;
  auto put16 = [&](uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); };
  auto put32 = [&](uint32_t x) { put16(x & 0xFFFF), put16(x >> 16); };
  const uint32_t dataBytes = uint32_t(s.size() * 2);
  v.insert(v.end(), {'R', 'I', 'F', 'F'});
  put32(36 + dataBytes);
  v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(16);
  put16(1);
  put16(1);
  put32(kSampleRate);
  put32(kSampleRate * 2);
  put16(2);
  put16(16);
  v.insert(v.end(), {'d', 'a', 't', 'a'});
  put32(dataBytes);
  for (float x : s) put16(uint16_t(int16_t(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767))));
  return writeFile(path, v);
}

}  // namespace mediagen
