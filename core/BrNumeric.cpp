// Numeric functions of the core library: maths wrappers, the project's random generator, primes and sorting.
#include "core/BrNumeric.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The one random state of the process: every library draws from it, so a seed reproduces a whole level.
BrRandStream sRandState{1};

}  // namespace

double brSQRT(double v) { return std::sqrt(v); }
double brCOS(double v) { return std::cos(v); }
double brACOS(double v) { return std::acos(v); }
double brSIN(double v) { return std::sin(v); }
double brASIN(double v) { return std::asin(v); }
double brTAN(double v) { return std::tan(v); }
double brATAN(double v) { return std::atan(v); }
double brFabs(double v) { return std::fabs(v); }
double brPow(double base, double exponent) { return std::pow(base, exponent); }
float brPow(float base, float exponent) { return float(std::pow(double(base), double(exponent))); }

uint32_t brFloatToDWORD(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof(bits));
  return bits;
}

void brSeedRand(unsigned int seed) { sRandState.state = seed; }

int brRand() { return int(sRandState.Next()); }

float brRandRangeF(float min, float max) { return min + (float(brRand()) / 32767.0f) * (max - min); }

bool brIsPowerOf2(unsigned int v) {
  // Zero has no set bit at all: the shifting loop would never reach 1.
  if (v == 0) return false;
  // The low bit is tested before the first shift, so 1 itself answers false.
  do {
    if (v & 1u) return false;
    v >>= 1;
  } while (v != 1);
  return true;
}

unsigned int brGetNextPrime(unsigned int n) {
  if (n == 0) n = 1;
  for (unsigned int candidate = n;; ++candidate) {
    unsigned int s = unsigned(std::sqrt(double(candidate)));
    bool composite = false;
    for (unsigned int d = 2; d <= s; ++d) {
      if (candidate % d == 0) {
        composite = true;
        break;
      }
    }
    if (!composite) return candidate;
    if (candidate == 0xFFFFFFFFu) return candidate;
  }
}

void brQSort(void* base, int count, int size, int (*compare)(const void*, const void*)) {
  if (!base || count <= 1 || size <= 0 || !compare) return;
  std::qsort(base, size_t(count), size_t(size), compare);
}
