#include "tests/calibration/synthetic_drive.h"

#include <algorithm>
#include <cmath>

#include "datalog/csv_log_writer.h"
#include "datalog/recorder.h"
#include "params/parameter_file.h"

namespace zav::testing {

namespace {

constexpr std::int64_t kSampleMs = 200;
constexpr std::int64_t kRampMs = 3000;
constexpr std::int64_t kBeforeSwitchMs = 4000;    // on petrol at the start of the gas log
constexpr std::int64_t kSwitchSettlingMs = 6000;  // the petrol unit still off after the switch
constexpr std::uint16_t kPetrol = 12;
constexpr std::uint16_t kGas = 6;
constexpr double kWrongWhileMoving = 0.8;   // the correction caught mid-ramp
constexpr double kWrongAfterSwitch = 1.25;  // the correction just after the switch-over

std::uint16_t TimeRegister(double ms) {
  return static_cast<std::uint16_t>(std::lround(ms * 2000.0));
}

struct Moment {
  double rpm = 0.0;
  double manifoldMbar = 0.0;
  bool steady = false;
};

// The engine's speed and load every kSampleMs along the holds and the ramps between them.
std::vector<Moment> Moments(const std::vector<Hold>& holds) {
  std::vector<Moment> moments;
  for (std::size_t i = 0; i < holds.size(); ++i) {
    if (i > 0) {
      for (std::int64_t ms = kSampleMs; ms < kRampMs; ms += kSampleMs) {
        const double along = static_cast<double>(ms) / kRampMs;
        moments.push_back({holds[i - 1].rpm + (holds[i].rpm - holds[i - 1].rpm) * along,
                           holds[i - 1].manifoldMbar +
                               (holds[i].manifoldMbar - holds[i - 1].manifoldMbar) * along,
                           false});
      }
    }
    const auto count = static_cast<std::int64_t>(holds[i].seconds * 1000.0) / kSampleMs;
    for (std::int64_t n = 0; n < count; ++n) {
      moments.push_back({holds[i].rpm, holds[i].manifoldMbar, true});
    }
  }
  return moments;
}

LiveSample SampleAt(std::int64_t ms, const Moment& moment, std::uint16_t status, double petrolMs,
                    double gasMs) {
  LiveSample sample;
  sample.unixMs = 1'765'000'000'000 + ms;
  sample.steadyMs = ms;
  sample.statusKnown = true;
  sample.status = status;
  for (std::size_t cylinder = 0; cylinder < 4; ++cylinder) {
    sample.values[cylinder] = TimeRegister(petrolMs);
    sample.values[4 + cylinder] = TimeRegister(gasMs);
  }
  sample.values[8] = TimeRegister(petrolMs);
  sample.values[13] = static_cast<std::uint16_t>(std::lround(moment.manifoldMbar));
  sample.values[14] = static_cast<std::uint16_t>(std::lround(moment.manifoldMbar + 1000.0));
  sample.values[17] = static_cast<std::uint16_t>(std::lround(moment.rpm));
  return sample;
}

}  // namespace

double ModelRatio(Factors factors, double petrolMs) {
  const double along =
      std::clamp((petrolMs - kModelLeftMs) / (kModelRightMs - kModelLeftMs), 0.0, 1.0);
  return factors.left + (factors.right - factors.left) * along;
}

double ModelPetrolMs(double manifoldMbar) {
  return 1.5 + manifoldMbar / 200.0;
}

std::vector<LiveSample> PetrolDrive(const std::vector<Hold>& holds) {
  std::vector<LiveSample> samples;
  std::int64_t ms = 0;
  for (const Moment& moment : Moments(holds)) {
    samples.push_back(SampleAt(ms, moment, kPetrol, ModelPetrolMs(moment.manifoldMbar), 0.0));
    ms += kSampleMs;
  }
  return samples;
}

std::vector<LiveSample> GasDrive(const std::vector<Hold>& holds, const GasModel& model) {
  std::vector<LiveSample> samples;
  std::int64_t ms = 0;
  const std::vector<Moment> moments = Moments(holds);
  for (; ms < kBeforeSwitchMs; ms += kSampleMs) {
    samples.push_back(
        SampleAt(ms, moments.front(), kPetrol, ModelPetrolMs(moments.front().manifoldMbar), 0.0));
  }
  const std::int64_t switchedAt = ms;
  for (Moment moment : moments) {
    moment.manifoldMbar += model.manifoldOffsetMbar;
    const double petrolMs = ModelPetrolMs(moment.manifoldMbar);
    const double need = ModelRatio(model.need, petrolMs);
    double correction = need / ModelRatio(model.inForce, petrolMs);
    if (ms - switchedAt < kSwitchSettlingMs) {
      correction = kWrongAfterSwitch;
    } else if (!moment.steady) {
      correction = kWrongWhileMoving;
    }
    // The gas the engine takes is its need once settled; the petrol unit's time carries
    // the correction.
    samples.push_back(SampleAt(ms, moment, kGas, petrolMs * correction, petrolMs * need));
    ms += kSampleMs;
  }
  return samples;
}

void AppendBurstsAfterGaps(std::vector<LiveSample>& samples, Hold hold, const GasModel& model,
                           int count, double correction) {
  std::int64_t ms = samples.back().steadyMs;
  const Moment moment{hold.rpm, hold.manifoldMbar, true};
  const double petrolMs = ModelPetrolMs(hold.manifoldMbar);
  const double need = ModelRatio(model.need, petrolMs);
  for (int burst = 0; burst < count; ++burst) {
    ms += 3000;
    for (std::int64_t in = 0; in < 1200; in += kSampleMs) {
      samples.push_back(SampleAt(ms + in, moment, kGas, petrolMs * correction, petrolMs * need));
    }
    ms += 1200 - kSampleMs;
  }
}

std::vector<LiveSample> Joined(std::vector<LiveSample> first,
                               const std::vector<LiveSample>& second) {
  const std::int64_t shift = first.back().steadyMs + kSampleMs - second.front().steadyMs;
  for (LiveSample sample : second) {
    sample.steadyMs += shift;
    sample.unixMs += shift;
    first.push_back(sample);
  }
  return first;
}

std::vector<Hold> HoldsUpTo(const std::vector<Hold>& holds, double mostMbar) {
  std::vector<Hold> kept;
  for (const Hold& hold : holds) {
    if (hold.manifoldMbar <= mostMbar) {
      kept.push_back(hold);
    }
  }
  return kept;
}

std::vector<DecodedSample> Decoded(const std::vector<LiveSample>& samples) {
  std::vector<DecodedSample> decoded;
  for (const LiveSample& sample : samples) {
    decoded.push_back(DecodeSample(sample, samples.front().steadyMs));
  }
  return decoded;
}

void WriteDriveLog(const std::filesystem::path& path, const std::vector<LiveSample>& samples,
                   const ParameterWords& inForce) {
  CsvLogWriter writer;
  OpenCsvLog(writer, path);
  for (const LiveSample& sample : samples) {
    WriteCsvRow(writer, sample);
  }
  CloseCsvLog(writer);
  WriteParameters(ParametersPathOf(path), inForce);
}

void WriteParameters(const std::filesystem::path& path, const ParameterWords& words) {
  RegisterImage image;
  StoreParameters(image, words);
  WriteParameterFile(path, EncodeParameterFile(image));
}

std::vector<Hold> LoadRangeHolds() {
  std::vector<Hold> holds;
  for (int manifold = 350; manifold <= 950; manifold += 100) {
    holds.push_back({1200.0, static_cast<double>(manifold), 12.0});
    holds.push_back({2700.0, static_cast<double>(manifold), 12.0});
  }
  return holds;
}

}  // namespace zav::testing
