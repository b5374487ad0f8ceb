#pragma once
// A small seeded random source: the same seed gives the same sequence on every run. Each part
// of the controller draws from its own stream, so that switching a fault on does not change
// the engine's values.

#include <cstdint>

namespace zav::sim {

struct Random {
  std::uint64_t state = 0;
};

// The parts of the controller that draw random numbers.
enum class RandomStream : std::uint64_t { kEngine = 1, kOutputFaults, kInputFaults, kUploadFaults };

// SplitMix64: tiny, fast and well mixed, which is all noise and fault choices need.
inline std::uint64_t NextBits(Random& random) {
  random.state += 0x9E3779B97F4A7C15ULL;
  std::uint64_t mixed = random.state;
  mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
  mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
  return mixed ^ (mixed >> 31);
}

inline Random StreamOf(std::uint32_t seed, RandomStream stream) {
  Random random{(std::uint64_t{seed} << 8) ^ static_cast<std::uint64_t>(stream)};
  NextBits(random);
  return random;
}

// Uniform in [0, 1).
inline double NextUnit(Random& random) {
  return static_cast<double>(NextBits(random) >> 11) * 0x1.0p-53;
}

// Uniform in [low, high], both included; low <= high.
inline std::int64_t NextInRange(Random& random, std::int64_t low, std::int64_t high) {
  const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<std::int64_t>(NextBits(random) % span);
}

// True with the given probability. A rate of 0 draws nothing, so faults that are off leave
// every other random choice as it would be without them.
inline bool Chance(Random& random, double rate) {
  return rate > 0.0 && NextUnit(random) < rate;
}

// Uniform noise in [-amplitude, amplitude).
inline double Noise(Random& random, double amplitude) {
  return (NextUnit(random) * 2.0 - 1.0) * amplitude;
}

}  // namespace zav::sim
