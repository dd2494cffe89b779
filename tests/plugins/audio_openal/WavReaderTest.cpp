// The WAV reader: well-formed files in each supported format, layouts it must cope with, and damaged files.
#include <gtest/gtest.h>

#include <cstring>

#include "core/BrNumeric.h"
#include "plugins/audio_openal/OpenALApi.h"
#include "plugins/audio_openal/WavReader.h"
#include "tests/plugins/audio_openal/TestSupport.h"

namespace {

struct Read {
  int format = 0;
  void* data = nullptr;
  unsigned int size = 0;
  unsigned int frequency = 0;
  bool loop = true;
  ~Read() { alutUnloadWAV(format, data, size, frequency); }
  const uint8_t* Bytes() const { return static_cast<const uint8_t*>(data); }
};

void FromMemory(const std::vector<uint8_t>& image, Read& r) {
  alutLoadWAVMemory(image.data(), unsigned(image.size()), "test.wav", &r.format, &r.data, &r.size, &r.frequency,
                    &r.loop);
}

// The defaults every failed read leaves behind.
void ExpectDefaults(const Read& r) {
  EXPECT_EQ(r.data, nullptr);
  EXPECT_EQ(r.size, 0u);
  EXPECT_EQ(r.format, AL_FORMAT_MONO16);
  EXPECT_EQ(r.frequency, 22050u);
  EXPECT_FALSE(r.loop);
}

}  // namespace

TEST(WavReader, ReadsEachPcmFormatWithItsSamplesAndZeroPadding) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
    int format;
  } cases[] = {{2, 16, 44100, AL_FORMAT_STEREO16},
               {1, 8, 11025, AL_FORMAT_MONO8},
               {1, 16, 22050, AL_FORMAT_MONO16},
               {2, 8, 8000, AL_FORMAT_STEREO8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const std::vector<uint8_t> samples = Ramp(400);
    Read r;
    FromMemory(WavImage().Format(1, c.channels, c.rate, c.bits).Data(samples).Bytes(), r);
    ASSERT_NE(r.data, nullptr);
    EXPECT_EQ(r.format, c.format);
    EXPECT_EQ(r.frequency, c.rate);
    EXPECT_EQ(r.size, 400u);
    EXPECT_FALSE(r.loop);
    EXPECT_EQ(std::memcmp(r.Bytes(), samples.data(), samples.size()), 0);
    for (int i = 0; i < 31; ++i) EXPECT_EQ(r.Bytes()[400 + i], 0) << i;
  }
}

TEST(WavReader, LoopFlagComesFromTheSamplerChunk) {
  Read looped, single, none, shortSampler;
  FromMemory(WavImage().Format(1, 1, 22050, 16).Data(Ramp(8)).Sampler(1).Bytes(), looped);
  FromMemory(WavImage().Format(1, 1, 22050, 16).Sampler(0).Data(Ramp(8)).Bytes(), single);
  FromMemory(WavImage().Format(1, 1, 22050, 16).Data(Ramp(8)).Bytes(), none);
  // Too short to hold the loop count: read as no loop, never past the chunk.
  FromMemory(WavImage().Format(1, 1, 22050, 16).Data(Ramp(8)).Chunk("smpl", std::vector<uint8_t>(20, 0xFF)).Bytes(),
             shortSampler);
  EXPECT_TRUE(looped.loop);
  EXPECT_FALSE(single.loop);
  EXPECT_FALSE(none.loop);
  EXPECT_FALSE(shortSampler.loop);
  EXPECT_NE(shortSampler.data, nullptr);
}

TEST(WavReader, CopesWithOddChunksPadBytesAndChunkOrder) {
  // Odd-sized chunks before and after the format chunk, each followed by its pad byte; a longer format chunk.
  std::vector<uint8_t> longFmt;
  WavImage::PutU16(longFmt, 1);
  WavImage::PutU16(longFmt, 1);
  WavImage::PutU32(longFmt, 16000);
  WavImage::PutU32(longFmt, 32000);
  WavImage::PutU16(longFmt, 2);
  WavImage::PutU16(longFmt, 16);
  longFmt.insert(longFmt.end(), {0, 0, 7});  // cbSize and an odd extra byte
  const std::vector<uint8_t> samples = Ramp(6, 50);
  Read odd;
  FromMemory(WavImage()
                 .Chunk("LIST", Ramp(3))
                 .Chunk("fmt ", longFmt)
                 .Chunk("junk", Ramp(5))
                 .Data(samples)
                 .Chunk("tail", Ramp(1))
                 .Bytes(),
             odd);
  ASSERT_NE(odd.data, nullptr);
  EXPECT_EQ(odd.frequency, 16000u);
  EXPECT_EQ(odd.size, 6u);
  EXPECT_EQ(std::memcmp(odd.Bytes(), samples.data(), 6), 0);

  // A data chunk ahead of the format chunk is still read with that format.
  Read dataFirst;
  FromMemory(WavImage().Data(Ramp(8)).Format(1, 2, 48000, 16).Bytes(), dataFirst);
  ASSERT_NE(dataFirst.data, nullptr);
  EXPECT_EQ(dataFirst.format, AL_FORMAT_STEREO16);
  EXPECT_EQ(dataFirst.frequency, 48000u);

  // Only the first data chunk counts.
  Read twoData;
  FromMemory(WavImage().Format(1, 1, 8000, 8).Data(Ramp(4, 10)).Data(Ramp(8, 90)).Bytes(), twoData);
  ASSERT_NE(twoData.data, nullptr);
  EXPECT_EQ(twoData.size, 4u);
  EXPECT_EQ(twoData.Bytes()[0], 10);

  // A trailing byte that is not a whole sample frame is left out, as OpenAL refuses partial frames.
  Read partial;
  FromMemory(WavImage().Format(1, 2, 8000, 16).Data(Ramp(10)).Bytes(), partial);
  ASSERT_NE(partial.data, nullptr);
  EXPECT_EQ(partial.size, 8u);
}

TEST(WavReader, DamagedOrUnsupportedFilesFailWithALogLine) {
  const std::vector<uint8_t> good = WavImage().Format(1, 2, 44100, 16).Data(Ramp(64)).Bytes();
  std::vector<uint8_t> notRiff = good;
  std::memcpy(notRiff.data(), "RIFX", 4);
  std::vector<uint8_t> notWave = good;
  std::memcpy(notWave.data() + 8, "AVI ", 4);
  std::vector<uint8_t> dataPastEnd = WavImage().Format(1, 1, 8000, 8).Data(Ramp(64)).Bytes();
  dataPastEnd.resize(dataPastEnd.size() - 10);
  std::vector<uint8_t> hugeData = WavImage().Format(1, 1, 8000, 8).Data(Ramp(16)).Bytes();
  hugeData[hugeData.size() - 20] = 0xFF;  // the data chunk's size becomes 0xFFFF..., far past the file
  hugeData[hugeData.size() - 19] = 0xFF;
  hugeData[hugeData.size() - 18] = 0xFF;
  hugeData[hugeData.size() - 17] = 0xFF;

  struct Case {
    const char* what;
    std::vector<uint8_t> image;
  } cases[] = {
      {"empty", {}},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
      {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 7)},
      {"not RIFF", notRiff},
      {"not WAVE", notWave},
      {"RIFF size below 4", WavImage().Format(1, 1, 8000, 8).Data(Ramp(4)).Bytes(2)},
      {"data chunk past the end", dataPastEnd},
      {"huge data size", hugeData},
      {"no format chunk", WavImage().Data(Ramp(8)).Bytes()},
      {"no data chunk", WavImage().Format(1, 1, 8000, 8).Bytes()},
      {"short format chunk", WavImage().Chunk("fmt ", Ramp(10)).Data(Ramp(8)).Bytes()},
      {"float samples", WavImage().Format(3, 1, 8000, 32).Data(Ramp(8)).Bytes()},
      {"extensible format", WavImage().Format(0xFFFE, 2, 8000, 16).Data(Ramp(8)).Bytes()},
      {"zero channels", WavImage().Format(1, 0, 8000, 16, 2).Data(Ramp(8)).Bytes()},
      {"six channels", WavImage().Format(1, 6, 8000, 16).Data(Ramp(24)).Bytes()},
      {"zero rate", WavImage().Format(1, 1, 0, 16).Data(Ramp(8)).Bytes()},
      {"24-bit samples", WavImage().Format(1, 1, 8000, 24).Data(Ramp(9)).Bytes()},
      {"block align 0", WavImage().Format(1, 1, 8000, 16, 0).Data(Ramp(8)).Bytes()},
      {"block align disagrees", WavImage().Format(1, 2, 8000, 16, 3).Data(Ramp(12)).Bytes()},
      {"no whole frame", WavImage().Format(1, 2, 8000, 16).Data(Ramp(3)).Bytes()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestLog log;
    Read r;
    FromMemory(c.image, r);
    ExpectDefaults(r);
    EXPECT_TRUE(log.Has("ERROR: Failed to read sound test.wav")) << log.Text();
  }
}

TEST(WavReader, ReadsFilesThroughThePathLayerAndReportsMissingOnes) {
  ScratchDir dir;
  const std::vector<uint8_t> samples = Ramp(32);
  dir.Write("Sounds/Click.wav", WavImage().Format(1, 1, 22050, 16).Data(samples).Sampler(2).Bytes());
  // Media paths use backslashes and Windows' case-insensitive names.
  const std::string mediaPath = dir.Path().string() + "\\sounds\\CLICK.WAV";
  Read r;
  alutLoadWAVFile(mediaPath.c_str(), &r.format, &r.data, &r.size, &r.frequency, &r.loop);
  ASSERT_NE(r.data, nullptr);
  EXPECT_EQ(r.format, AL_FORMAT_MONO16);
  EXPECT_EQ(r.size, 32u);
  EXPECT_TRUE(r.loop);
  EXPECT_EQ(std::memcmp(r.Bytes(), samples.data(), samples.size()), 0);

  TestLog log;
  Read missing;
  const std::string missingPath = dir.Path().string() + "\\Sounds\\none.wav";
  alutLoadWAVFile(missingPath.c_str(), &missing.format, &missing.data, &missing.size, &missing.frequency,
                  &missing.loop);
  ExpectDefaults(missing);
  EXPECT_TRUE(log.Has("none.wav")) << log.Text();

  Read nullPath;
  alutLoadWAVFile(nullptr, &nullPath.format, &nullPath.data, &nullPath.size, &nullPath.frequency, &nullPath.loop);
  ExpectDefaults(nullPath);
}

// Thousands of damaged variants of valid files: flipped bytes, rewritten size fields and cuts. Under the sanitizers
// any over-read or bad allocation fails the run; the reader must also never claim more data than the file held.
TEST(WavReader, MutatedFilesNeverOverReadOrCrash) {
  const std::vector<std::vector<uint8_t>> seeds = {
      WavImage().Format(1, 2, 44100, 16).Data(Ramp(256)).Sampler(1).Bytes(),
      WavImage().Chunk("LIST", Ramp(5)).Data(Ramp(33)).Format(1, 1, 8000, 8).Bytes(),
      WavImage().Format(1, 1, 22050, 16).Chunk("smpl", Ramp(31)).Data(Ramp(100)).Bytes(),
  };
  brSeedRand(1);
  TestLog log;  // keeps the failures' lines out of the shared log
  int readable = 0;
  for (int i = 0; i < 4000; ++i) {
    std::vector<uint8_t> image = seeds[size_t(i) % seeds.size()];
    const int edits = 1 + brRand() % 4;
    for (int e = 0; e < edits; ++e) {
      const size_t at = size_t(brRand()) % image.size();
      switch (brRand() % 4) {
        case 0: image[at] = uint8_t(brRand()); break;
        case 1:  // a size field (or anything 4-aligned) becomes extreme
          for (size_t k = at & ~size_t(3); k < image.size() && k < (at & ~size_t(3)) + 4; ++k)
            image[k] = brRand() % 2 ? 0xFF : uint8_t(brRand());
          break;
        case 2: image.resize(at + 1); break;
        default: image[at] ^= uint8_t(1 << (brRand() % 8)); break;
      }
    }
    Read r;
    FromMemory(image, r);
    if (r.data) {
      ++readable;
      ASSERT_LE(r.size, image.size());
      ASSERT_GT(r.size, 0u);
    }
  }
  // The mutations leave some files intact enough to read, so both paths were exercised.
  EXPECT_GT(readable, 0);
  EXPECT_LT(readable, 4000);
}

// A few hundred of those damaged files read through the file path as well.
TEST(WavReader, MutatedFilesOnDiskNeverCrash) {
  ScratchDir dir;
  const std::vector<uint8_t> seed = WavImage().Format(1, 2, 44100, 16).Data(Ramp(128)).Bytes();
  brSeedRand(7);
  TestLog log;
  const std::string path = (dir.Path() / "m.wav").string();
  for (int i = 0; i < 300; ++i) {
    std::vector<uint8_t> image = seed;
    image[size_t(brRand()) % image.size()] = uint8_t(brRand());
    if (brRand() % 3 == 0) image.resize(size_t(brRand()) % image.size());
    dir.Write("m.wav", image);
    Read r;
    alutLoadWAVFile(path.c_str(), &r.format, &r.data, &r.size, &r.frequency, &r.loop);
    if (r.data) {
      ASSERT_LE(r.size, image.size());
    }
  }
}
