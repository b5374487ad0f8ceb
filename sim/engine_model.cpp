#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "link/wire.h"
#include "sim/drive_cycle.h"

namespace zav::sim {
namespace {

constexpr double kStepS = static_cast<double>(kModelStep) / static_cast<double>(kSecond);

constexpr double kAmbientC = 20.0;
constexpr double kOperatingC = 85.0;
constexpr double kWarmUpTimeConstantS = 60.0;  // about 80 C after three minutes
constexpr double kRegulatorBelowCoolantC = 5.0;
constexpr double kRegulatorLagS = 30.0;

constexpr double kRpmResponseS = 0.3;
constexpr double kRevsPerSecond = 1.0 / 20.0;  // how often a rev starts, on average
constexpr double kDipsPerSecond = 1.0 / 45.0;  // how often the idle sags, on average

constexpr double kRegulatorAboveManifoldMbar = 1000.0;
constexpr double kRegulatorResponseS = 0.4;
constexpr double kLambdaPeriodS = 1.2;
// While the trim is at its bound the probe stays on one side (mV): lean low, rich high.
constexpr double kLeanLambdaMv = 150.0;
constexpr double kRichLambdaMv = 820.0;
constexpr double kLoadResponseS = 0.5;  // how fast the manifold follows the throttle (s)
constexpr double kNominalBatteryMv = 14000.0;

// Petrol injection time (ms) per injector, beside the common value: no two cylinders are alike.
constexpr std::array<double, 4> kInjectorSpreadMs = {0.0, 0.04, -0.03, 0.02};
// Gas time against the model's gas/petrol ratio, per injector: no two gas injectors are
// alike either. Plus noise of up to this fraction.
constexpr std::array<double, 4> kGasInjectorSpread = {0.0, 0.015, -0.02, 0.01};
constexpr double kGasNoise = 0.01;
// Injection times travel in units of 0.5 us.
constexpr double kTimeUnitsPerMs = 2000.0;

std::uint16_t ToRegister(double value) {
  return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 65535.0)));
}

void StepTemperatures(EngineModel& engine) {
  engine.coolantC += (kOperatingC - engine.coolantC) * kStepS / kWarmUpTimeConstantS;
  const double regulatorTarget = engine.coolantC - kRegulatorBelowCoolantC;
  engine.regulatorC += (regulatorTarget - engine.regulatorC) * kStepS / kRegulatorLagS;
}

void StepRpm(EngineModel& engine) {
  Random& random = engine.random;
  if (engine.eventLeftS > 0.0) {
    engine.eventLeftS -= kStepS;
    if (engine.eventLeftS <= 0.0) {
      engine.rpmTarget = kIdleRpm;
    }
  } else if (Chance(random, kRevsPerSecond * kStepS)) {
    engine.rpmTarget = static_cast<double>(NextInRange(random, 1500, 3000));
    engine.eventLeftS = 1.0 + 2.0 * NextUnit(random);
  } else if (Chance(random, kDipsPerSecond * kStepS)) {
    engine.rpmTarget = static_cast<double>(NextInRange(random, 480, 580));
    engine.eventLeftS = 1.0 + NextUnit(random);
  }
  engine.rpm += (engine.rpmTarget - engine.rpm) * kStepS / kRpmResponseS + Noise(random, 8.0);
}

// The drive cycle or the road sets the RPM and the load; no revs or dips of their own.
void StepDrive(EngineModel& engine) {
  const DrivePoint point = engine.drive == DriveMode::kRoad
                               ? StepRoadDrive(engine.road, engine.random, kStepS)
                               : DriveCyclePointAt(engine.runningS);
  engine.rpmTarget = point.rpm;
  engine.rpm +=
      (engine.rpmTarget - engine.rpm) * kStepS / kRpmResponseS + Noise(engine.random, 8.0);
  engine.cycleLoad += (point.load - engine.cycleLoad) * kStepS / kLoadResponseS;
}

void StepGasSide(EngineModel& engine, bool regulatorOpen) {
  const double target =
      regulatorOpen ? kRegulatorAboveManifoldMbar + Noise(engine.random, 10.0) : 0.0;
  engine.regulatorDeltaMbar += (target - engine.regulatorDeltaMbar) * kStepS / kRegulatorResponseS;
  engine.batteryMv = std::clamp(engine.batteryMv + Noise(engine.random, 15.0), 13800.0, 14200.0);
  engine.lambdaPhase += 2.0 * std::numbers::pi * kStepS / kLambdaPeriodS;
  engine.lambdaPhase = std::fmod(engine.lambdaPhase, 2.0 * std::numbers::pi);
}

// The live values as the controller would measure them now, noise included.
struct Measurement {
  std::array<std::uint16_t, 19> values{};

  void Set(std::uint8_t address, double value) {
    values[static_cast<std::size_t>(address - kFirstLiveRegister)] = ToRegister(value);
  }
};

// The engine load now (0 to 1 at idle, beyond on the drive cycle), with the sensors' noise.
double PresentLoad(EngineModel& engine) {
  const double noise = Noise(engine.random, 0.01);
  if (engine.drive != DriveMode::kIdle) {
    return std::clamp(engine.cycleLoad + noise, 0.0, kDriveCycleTopLoad);
  }
  return std::clamp(0.2 + 0.5 * (engine.rpm - 600.0) / 2400.0 + noise, 0.1, 0.8);
}

// The engine's own petrol time (ms) at a load: what the petrol unit gives on petrol.
double PetrolMsAt(double load) {
  return 2.5 + 4.0 * load;
}

double ManifoldMbarAt(double load) {
  return 250.0 + 550.0 * load;
}

double LoadAtManifold(double manifoldMbar) {
  return (manifoldMbar - 250.0) / 550.0;
}

double LambdaMv(EngineModel& engine) {
  const double noise = Noise(engine.random, 20.0);
  switch (engine.trim.mixture) {
    case Mixture::kLean:
      return kLeanLambdaMv + noise;
    case Mixture::kRich:
      return kRichLambdaMv + noise;
    case Mixture::kRight:
      break;
  }
  return std::clamp(500.0 + 380.0 * std::sin(engine.lambdaPhase) + noise, 100.0, 900.0);
}

Measurement Measure(EngineModel& engine, double load, GasFactors factors) {
  Random& random = engine.random;
  Measurement measured;
  const double petrolMs = PetrolMsAt(load) * engine.trim.factor;
  double petrolSumMs = 0.0;
  for (std::size_t injector = 0; injector < 4; ++injector) {
    const double ms = petrolMs + kInjectorSpreadMs[injector] + Noise(random, 0.03);
    const auto petrolRegister = static_cast<std::uint8_t>(32 + injector);
    const auto gasRegister = static_cast<std::uint8_t>(36 + injector);
    measured.Set(petrolRegister, ms * kTimeUnitsPerMs);
    // The ratio is placed by the injector's untrimmed time (see petrol_trim.h).
    const double gasMs = ms * GasToPetrolRatio(factors, ms / engine.trim.factor) *
                         (1.0 + kGasInjectorSpread[injector] + Noise(random, kGasNoise));
    measured.Set(gasRegister, gasMs * kTimeUnitsPerMs);
    petrolSumMs += ms;
  }
  const double manifoldMbar = ManifoldMbarAt(load) + Noise(random, 5.0);
  measured.Set(40, petrolSumMs / 4.0 * kTimeUnitsPerMs);
  measured.Set(41, load * 1000.0);  // engine load (per mille)
  measured.Set(42, engine.regulatorC);
  measured.Set(43, std::fmod(engine.runningS, 65536.0));  // running time (s)
  measured.Set(44, engine.coolantC + Noise(random, 0.3));
  measured.Set(45, manifoldMbar);
  measured.Set(46, manifoldMbar + engine.regulatorDeltaMbar);
  measured.Set(48, engine.batteryMv);
  measured.Set(49, engine.rpm);
  measured.Set(50, LambdaMv(engine));
  return measured;
}

bool IsPinned(const EngineModel& engine, std::size_t index) {
  return ((engine.pinned >> index) & 1U) != 0;
}

}  // namespace

EngineModel StartEngine(Random random, const EngineOptions& options) {
  EngineModel engine;
  engine.random = random;
  engine.drive = options.drive;
  if (options.roadTopMbar) {
    engine.road.topLoad = std::clamp(LoadAtManifold(*options.roadTopMbar), 0.0, kDriveCycleTopLoad);
  }
  engine.road.holdShiftLoad = options.roadShiftMbar / 550.0;  // load units, as LoadAtManifold
  engine.gasNeed = GasNeedOf(options);
  engine.coolantC = kAmbientC;
  engine.regulatorC = kAmbientC;
  engine.rpm = kIdleRpm;
  engine.rpmTarget = kIdleRpm;
  engine.batteryMv = kNominalBatteryMv;
  const double load = PresentLoad(engine);
  engine.live = Measure(engine, load, GasFactors{}).values;
  return engine;
}

void StepEngine(EngineModel& engine, GasSupply gas, GasFactors factors) {
  engine.runningS += kStepS;
  StepTemperatures(engine);
  if (engine.drive != DriveMode::kIdle) {
    StepDrive(engine);
  } else {
    StepRpm(engine);
  }
  StepGasSide(engine, gas.regulatorOpen);
  const double load = PresentLoad(engine);
  StepPetrolTrim(engine.trim, kStepS, PetrolMsAt(load), gas.injecting, factors, engine.gasNeed);
  if (gas.injecting) {
    TallyTrim(engine.trims, engine.rpm, ManifoldMbarAt(load), engine.trim.factor);
  }
  const Measurement measured = Measure(engine, load, factors);
  for (std::size_t index = 0; index < engine.live.size(); ++index) {
    if (!IsPinned(engine, index)) {
      engine.live[index] = measured.values[index];
    }
  }
  // Delta p is what the two pressure sensors read apart, whichever of them is held.
  const std::size_t deltaIndex = 47 - kFirstLiveRegister;
  if (!IsPinned(engine, deltaIndex)) {
    const int regulator = LiveValue(engine, 46);
    const int manifold = LiveValue(engine, 45);
    engine.live[deltaIndex] = static_cast<std::uint16_t>(std::max(regulator - manifold, 0));
  }
}

std::uint16_t LiveValue(const EngineModel& engine, std::uint8_t address) {
  return engine.live[static_cast<std::size_t>(address - kFirstLiveRegister)];
}

void PinLiveValue(EngineModel& engine, std::uint8_t address, std::uint16_t value) {
  const auto index = static_cast<std::size_t>(address - kFirstLiveRegister);
  engine.live[index] = value;
  engine.pinned |= 1U << index;
}

}  // namespace zav::sim
