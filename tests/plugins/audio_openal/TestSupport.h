// Shared helpers of the audio plug-in tests: a log captured in a temporary file, scratch folders and WAV images.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/BrFileDevice.h"
#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"

// GLog captured for the scope, debug lines on.
using TestLog = brtest::CapturedLog;

// The shared temporary folder, with a writer of files in it.
class ScratchDir {
public:
  const std::filesystem::path& Path() const { return m_Folder.Path(); }
  void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path p = m_Folder / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

private:
  brtest::TempFolder m_Folder{"br_audio"};
};

// Builds RIFF WAVE images chunk by chunk.
class WavImage {
public:
  WavImage& Chunk(const char id[4], const std::vector<uint8_t>& content, bool pad = true) {
    m_Body.insert(m_Body.end(), id, id + 4);
    PutU32(m_Body, uint32_t(content.size()));
    m_Body.insert(m_Body.end(), content.begin(), content.end());
    if (pad && content.size() % 2) m_Body.push_back(0);
    return *this;
  }
  WavImage& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, int blockAlign = -1) {
    std::vector<uint8_t> c;
    const uint16_t align = blockAlign >= 0 ? uint16_t(blockAlign) : uint16_t(channels * bits / 8);
    PutU16(c, tag);
    PutU16(c, channels);
    PutU32(c, rate);
    PutU32(c, rate * align);
    PutU16(c, align);
    PutU16(c, bits);
    return Chunk("fmt ", c);
  }
  WavImage& Data(const std::vector<uint8_t>& samples) { return Chunk("data", samples); }
  // A sampler chunk listing loops sample loops (60 bytes: the header and one loop record).
  WavImage& Sampler(uint32_t loops) {
    std::vector<uint8_t> c(60, 0);
    c[28] = uint8_t(loops);
    return Chunk("smpl", c);
  }
  // The whole file: "RIFF", the RIFF size (the body's unless given), "WAVE", the chunks.
  std::vector<uint8_t> Bytes(int64_t riffSize = -1) const {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    PutU32(out, riffSize >= 0 ? uint32_t(riffSize) : uint32_t(m_Body.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), m_Body.begin(), m_Body.end());
    return out;
  }

  static void PutU16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
  }
  static void PutU32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
  }

private:
  std::vector<uint8_t> m_Body;
};

// n bytes counting up from first, wrapping at 256.
inline std::vector<uint8_t> Ramp(size_t n, uint8_t first = 1) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(first + i);
  return v;
}

// A mono 16-bit WAV of a sine tone: seconds long, at frequency Hz, peak amplitude out of 32767.
inline std::vector<uint8_t> ToneWav(double seconds, double frequency = 440.0, int amplitude = 16000,
                                    uint32_t rate = 44100) {
  const size_t frames = size_t(seconds * rate);
  std::vector<uint8_t> samples;
  samples.reserve(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    const double v = amplitude * std::sin(2.0 * 3.14159265358979 * frequency * double(i) / rate);
    WavImage::PutU16(samples, uint16_t(int16_t(std::lround(v))));
  }
  return WavImage().Format(1, 1, rate, 16).Data(samples).Bytes();
}
