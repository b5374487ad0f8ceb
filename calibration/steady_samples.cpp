#include "calibration/steady_samples.h"

#include <cmath>

namespace zav {

namespace {

double MeanOfFour(const DecodedSample& sample, int firstColumn) {
  double sum = 0.0;
  for (int cylinder = 0; cylinder < 4; ++cylinder) {
    sum += sample.shown[static_cast<std::size_t>(firstColumn + cylinder)];
  }
  return sum / 4.0;
}

double Rpm(const DecodedSample& sample) {
  return sample.shown[kRpmColumn];
}

double Manifold(const DecodedSample& sample) {
  return sample.shown[kManifoldColumn];
}

bool SameLoad(const DecodedSample& a, const DecodedSample& b) {
  return std::abs(Rpm(a) - Rpm(b)) <= kSteadyRpmChange &&
         std::abs(Manifold(a) - Manifold(b)) <= kSteadyManifoldMbar;
}

// The load at `index` has held within the bounds from kSteadySeconds before it to
// kSteadyAfterSeconds after it, all within the stretch on one fuel [first, last).
bool LoadHeld(std::span<const DecodedSample> samples, std::size_t first, std::size_t last,
              std::size_t index) {
  const DecodedSample& now = samples[index];
  if (now.seconds - samples[first].seconds < kSteadySeconds ||
      samples[last - 1].seconds - now.seconds < kSteadyAfterSeconds) {
    return false;
  }
  for (std::size_t i = index; i-- > first && now.seconds - samples[i].seconds <= kSteadySeconds;) {
    if (!SameLoad(samples[i], now)) {
      return false;
    }
  }
  for (std::size_t i = index + 1;
       i < last && samples[i].seconds - now.seconds <= kSteadyAfterSeconds; ++i) {
    if (!SameLoad(samples[i], now)) {
      return false;
    }
  }
  return true;
}

// A gap lies between the sample at `index` and the one before it: no sample for longer than
// the data log allows.
bool GapBefore(std::span<const DecodedSample> samples, std::size_t index) {
  return index > 0 && samples[index].seconds - samples[index - 1].seconds > kGapSeconds;
}

// The end of the stretch on `fuel` without a gap that holds `index`.
std::size_t StretchEnd(std::span<const DecodedSample> samples, std::size_t index, Fuel fuel) {
  while (index < samples.size() && IsOnFuel(samples[index], fuel)) {
    ++index;
    if (index < samples.size() && GapBefore(samples, index)) {
      break;
    }
  }
  return index;
}

}  // namespace

bool IsOnFuel(const DecodedSample& sample, Fuel fuel) {
  return sample.statusKnown && sample.status == (fuel == Fuel::Petrol ? kStatusPetrol : kStatusGas);
}

SteadySelection SteadySamples(std::span<const DecodedSample> samples, Fuel fuel) {
  SteadySelection selection;
  std::size_t stretchStart = 0;
  std::size_t stretchEnd = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const DecodedSample& sample = samples[i];
    if (!IsOnFuel(sample, fuel)) {
      stretchStart = i + 1;
      continue;
    }
    if (GapBefore(samples, i)) {
      stretchStart = i;
    }
    if (i >= stretchEnd) {
      stretchEnd = StretchEnd(samples, i, fuel);
    }
    ++selection.onFuel;
    if (sample.seconds - samples[stretchStart].seconds < kSettleSeconds) {
      ++selection.settling;
      continue;
    }
    const double petrolMs = MeanOfFour(sample, kFirstPetrolColumn);
    const double gasMs = fuel == Fuel::Gas ? MeanOfFour(sample, kFirstGasColumn) : 0.0;
    if (!LoadHeld(samples, stretchStart, stretchEnd, i) || petrolMs <= 0.0 ||
        (fuel == Fuel::Gas && gasMs <= 0.0)) {
      ++selection.moving;
      continue;
    }
    selection.samples.push_back(SteadySample{Rpm(sample), Manifold(sample), petrolMs, gasMs});
  }
  return selection;
}

}  // namespace zav
