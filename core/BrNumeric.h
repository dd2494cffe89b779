// Numeric functions of the core library: maths wrappers, the project's random generator, primes and sorting.
#pragma once

#include <cstdint>

// The C runtime's functions of the same meaning; angles in radians.
double brSQRT(double v);
double brCOS(double v);
double brACOS(double v);
double brSIN(double v);
double brASIN(double v);
double brTAN(double v);
double brATAN(double v);
double brFabs(double v);
// pow; the float form computes in double and converts the result.
double brPow(double base, double exponent);
float brPow(float base, float exponent);
// The float's 32-bit pattern, unconverted.
uint32_t brFloatToDWORD(float v);

// The largest value brRand returns.
const int ciBrRandMax = 0x7FFF;
// Seeds the project's random generator (the one generator behind every srand/rand of the system).
void brSeedRand(unsigned int seed);
// One draw of the project's generator, 0..32767: state = state * 214013 + 2531011, result (state >> 16) & 0x7FFF.
// Seed 1 (also the state before any seed) gives 41, 18467, 6334, 26500, 19169.
int brRand();
// The same generator with a state of its own, for a stream that no other draw disturbs (a test's mutations, a
// soak run's input). Next() gives the draws brRand would give after brSeedRand(state).
struct BrRandStream {
  uint32_t state;
  uint32_t Next() {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFFu;
  }
};
// min + (one draw / 32767) x (max - min), in float; both ends can occur.
float brRandRangeF(float min, float max);

// True for 2, 4, 8, ...; false for 0, 1 and any value with a set bit below its highest.
bool brIsPowerOf2(unsigned int v);
// The first prime at or above n (0 is taken as 1, and 1 counts as prime here); results beyond the largest 32-bit
// prime are not defined.
unsigned int brGetNextPrime(unsigned int n);
// The C runtime's qsort.
void brQSort(void* base, int count, int size, int (*compare)(const void*, const void*));
