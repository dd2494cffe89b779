// The generated sounds as the game plays them: the music of the menus and of the dungeon, at the volumes the game
// gives it (0.1 and 0.05 of the effects'), is heard beside the effects, and nothing clips. Catches music
// normalised like an effect, which reached the player some 30 dB under them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Level {
  double rmsDb = -200.0;
  double peak = 0.0;
};

// RMS (dB of full scale) and peak of a 16-bit mono PCM WAVE as the generator writes it; false for others.
bool Measure(const fs::path& file, Level& out) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 44 || std::string(b.begin() + 36, b.begin() + 40) != "data" || b[34] != 16) return false;
  double sum = 0.0;
  size_t n = 0;
  for (size_t i = 44; i + 1 < b.size(); i += 2, ++n) {
    const double v = int16_t(uint16_t(b[i] | b[i + 1] << 8)) / 32768.0;
    sum += v * v;
    out.peak = std::max(out.peak, std::fabs(v));
  }
  if (n == 0) return false;
  out.rmsDb = 10.0 * std::log10(std::max(sum / double(n), 1e-20));
  return true;
}

}  // namespace

TEST(MediaSound, MusicAtTheGamesVolumesIsHeardBesideTheEffects) {
  const char* bin = std::getenv("BR_BINARY_DIR");
  const fs::path sounds = fs::path(bin ? bin : ".") / "run" / "game" / "Media" / "Sounds";
  std::vector<double> effects;
  for (const auto& entry : fs::directory_iterator(sounds)) {
    if (entry.path().extension() != ".wav") continue;
    Level l;
    ASSERT_TRUE(Measure(entry.path(), l)) << entry.path();
    EXPECT_LT(l.peak, 0.99) << entry.path() << " clips";
    effects.push_back(l.rmsDb);  // every effect plays at volume 1
  }
  ASSERT_GE(effects.size(), 10u);
  std::sort(effects.begin(), effects.end());
  const double effect = effects[effects.size() / 2];

  // The dungeon's loops play at 0.05, the menus' loop and the ending at 0.1 (both through the same master gain
  // and placement as the effects).
  struct Music {
    const char* file;
    double volume;
  };
  const Music music[] = {{"loop01.wav", 0.05}, {"loop02.wav", 0.05}, {"loop04.wav", 0.05}, {"loop05.wav", 0.05},
                         {"loop06.wav", 0.05}, {"loop07.wav", 0.05}, {"loop08.wav", 0.05}, {"lair.wav", 0.05},
                         {"loop03.wav", 0.1},  {"end2.wav", 0.1}};
  for (const Music& m : music) {
    Level l;
    ASSERT_TRUE(Measure(sounds / "music" / m.file, l)) << m.file;
    EXPECT_LT(l.peak, 0.99) << m.file << " clips";
    const double heard = l.rmsDb + 20.0 * std::log10(m.volume);
    // Background music sits under the effects, but within reach of them: 10 dB in the dungeon, 6 in the menus.
    EXPECT_GT(heard, effect - (m.volume < 0.1 ? 10.0 : 6.0))
        << m.file << " at " << m.volume << ": " << heard << " dB against the effects' " << effect << " dB";
    EXPECT_LT(heard, effect + 6.0) << m.file << " drowns the effects";
  }
}
