// The RIFF WAVE reader: walks the chunks of a file image with every size checked against the image.
#include "plugins/audio_openal/WavReader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/BrLogFile.h"
#include "platform/win32/win32_kernel.h"
#include "plugins/audio_openal/OpenALApi.h"

namespace {

// Sound files are assets of a few megabytes; anything near this is a damaged or hostile file, and the size also
// keeps every sample count within OpenAL's signed sizes.
constexpr uint64_t kMaxWavFileBytes = 512u * 1024u * 1024u;
// The sample block carries this many zero bytes past the samples.
constexpr uint32_t kSamplePadding = 31;

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct WavResult {
  int format = AL_FORMAT_MONO16;
  uint8_t* data = nullptr;
  uint32_t size = 0;
  uint32_t frequency = 22050;
  bool loop = false;
};

bool Fail(const char* name, const char* why) {
  GLog.printf("ERROR: Failed to read sound %s: %s", name ? name : "(null)", why);
  return false;
}

struct Chunk {
  uint64_t offset = 0;  // of the content
  uint32_t size = 0;
  bool found = false;
};

// Parses the image into out; false (and a log line) when no sample data can be taken from it. The chunks are
// located first, so the format chunk is honoured wherever it sits relative to the data chunk.
bool ParseWav(const uint8_t* image, uint64_t imageSize, const char* name, WavResult& out) {
  if (!image || imageSize < 12) return Fail(name, "too short for a RIFF header");
  if (std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
    return Fail(name, "not a RIFF WAVE file");
  const uint32_t riffSize = ReadU32(image + 4);
  if (riffSize < 4) return Fail(name, "RIFF size smaller than its form type");
  // Chunk headers are looked for only inside the RIFF form and inside the file.
  uint64_t end = 8 + ((uint64_t(riffSize) + 1) & ~uint64_t(1));
  if (end > imageSize) end = imageSize;

  Chunk fmt, data, smpl;
  uint64_t pos = 12;
  while (pos + 8 <= end) {
    const uint8_t* header = image + pos;
    const uint32_t chunkSize = ReadU32(header + 4);
    const uint64_t content = pos + 8;
    const bool isFmt = std::memcmp(header, "fmt ", 4) == 0;
    const bool isData = std::memcmp(header, "data", 4) == 0;
    const bool isSmpl = std::memcmp(header, "smpl", 4) == 0;
    if (uint64_t(chunkSize) > end - content) {
      if (isFmt || isData)
        return Fail(name,
                    isFmt ? "format chunk runs past the end of the file" : "data chunk runs past the end of the file");
      break;  // a damaged trailing chunk of another kind costs nothing that the sound needs
    }
    Chunk* slot = isFmt ? &fmt : isData ? &data : isSmpl ? &smpl : nullptr;
    if (slot && !slot->found) {
      slot->offset = content;
      slot->size = chunkSize;
      slot->found = true;
    }
    pos = content + ((uint64_t(chunkSize) + 1) & ~uint64_t(1));
  }

  if (!fmt.found) return Fail(name, "no format chunk");
  if (fmt.size < 16) return Fail(name, "format chunk shorter than 16 bytes");
  const uint8_t* f = image + fmt.offset;
  const uint16_t formatTag = ReadU16(f);
  const uint16_t channels = ReadU16(f + 2);
  const uint32_t sampleRate = ReadU32(f + 4);
  const uint16_t blockAlign = ReadU16(f + 12);
  const uint16_t bitsPerSample = ReadU16(f + 14);
  if (formatTag != 1) {
    char why[64];
    std::snprintf(why, sizeof(why), "unsupported format tag %u (only PCM)", unsigned(formatTag));
    return Fail(name, why);
  }
  if (channels != 1 && channels != 2) return Fail(name, "unsupported channel count (only mono or stereo)");
  if (bitsPerSample != 8 && bitsPerSample != 16) return Fail(name, "unsupported sample size (only 8 or 16 bits)");
  if (sampleRate == 0) return Fail(name, "sample rate 0");
  if (blockAlign != channels * (bitsPerSample / 8))
    return Fail(name, "block align does not match the channels and sample size");
  if (!data.found) return Fail(name, "no data chunk");

  // Only whole sample frames reach OpenAL, which refuses a partial frame.
  const uint32_t bytes = data.size - data.size % blockAlign;
  if (bytes == 0) return Fail(name, "no whole sample frame in the data chunk");

  uint8_t* block = new (std::nothrow) uint8_t[uint64_t(bytes) + kSamplePadding];
  if (!block) return Fail(name, "out of memory for the samples");
  std::memcpy(block, image + data.offset, bytes);
  std::memset(block + bytes, 0, kSamplePadding);

  out.format = channels == 1 ? (bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                             : (bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
  out.frequency = sampleRate;
  out.data = block;
  out.size = bytes;
  // The number of sample loops sits at offset 28 of the sampler chunk.
  out.loop = smpl.found && smpl.size >= 32 && ReadU32(image + smpl.offset + 28) != 0;
  return true;
}

void Store(const WavResult& r, int* format, void** data, unsigned int* size, unsigned int* frequency, bool* loop) {
  *format = r.format;
  *data = r.data;
  *size = r.size;
  *frequency = r.frequency;
  *loop = r.loop;
}

// Reads the whole file; false with a log line when it is missing, unreadable or implausibly large.
bool ReadFileImage(const char* path, std::vector<uint8_t>& image) {
  FILE* file = W32fopen(path, "rb");
  if (!file) {
    GLog.printf("ERROR: Failed to open sound %s", path);
    return false;
  }
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (!ok) {
    std::fclose(file);
    return Fail(path, "cannot be measured");
  }
  if (uint64_t(length) > kMaxWavFileBytes) {
    std::fclose(file);
    return Fail(path, "file too large");
  }
  image.resize(size_t(length));
  const size_t got = length ? std::fread(image.data(), 1, image.size(), file) : 0;
  std::fclose(file);
  if (got != image.size()) return Fail(path, "short read");
  return true;
}

}  // namespace

void alutLoadWAVFile(const char* path, int* format, void** data, unsigned int* size, unsigned int* frequency,
                     bool* loop) {
  if (!format || !data || !size || !frequency || !loop) return;
  WavResult result;
  Store(result, format, data, size, frequency, loop);
  std::vector<uint8_t> image;
  if (!path || !ReadFileImage(path, image)) return;
  if (ParseWav(image.data(), image.size(), path, result)) Store(result, format, data, size, frequency, loop);
}

void alutLoadWAVMemory(const void* image, unsigned int imageSize, const char* name, int* format, void** data,
                       unsigned int* size, unsigned int* frequency, bool* loop) {
  if (!format || !data || !size || !frequency || !loop) return;
  WavResult result;
  Store(result, format, data, size, frequency, loop);
  if (ParseWav(static_cast<const uint8_t*>(image), imageSize, name ? name : "(memory)", result))
    Store(result, format, data, size, frequency, loop);
}

void alutUnloadWAV(int, void* data, unsigned int, unsigned int) { delete[] static_cast<uint8_t*>(data); }
