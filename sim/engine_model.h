#pragma once
// The engine and the gas system as the controller measures them: the live registers 32 to 50.
// A small deterministic model, stepped every 20 ms of running time: the coolant warms from
// ambient towards operating temperature over a few minutes, the engine idles near 800 rpm with
// the odd rev and dip (or follows the drive cycle), the lambda probe swings, and the gas side
// follows the switch-over. On gas the petrol unit's trim (petrol_trim.h) closes the loop
// between the gas the engine needs and the gas the factors deliver.

#include <array>
#include <cstdint>

#include "sim/engine_options.h"
#include "sim/gas_factors.h"
#include "sim/line_time.h"
#include "sim/petrol_trim.h"
#include "sim/random.h"
#include "sim/road_drive.h"
#include "sim/trim_tally.h"

namespace zav::sim {

inline constexpr Micros kModelStep = 20 * kMillisecond;

struct EngineModel {
  Random random;
  DriveMode drive = DriveMode::kIdle;
  GasFactors gasNeed;  // the factors that would be exactly right for this engine
  double runningS = 0.0;
  double coolantC = 0.0;
  double regulatorC = 0.0;
  double rpm = 0.0;
  double rpmTarget = 0.0;
  double eventLeftS = 0.0;  // how long the current rev or dip lasts (s)
  double cycleLoad = 0.0;   // engine load on the drive cycle, 0 to kDriveCycleTopLoad
  double regulatorDeltaMbar = 0.0;
  double batteryMv = 0.0;
  double lambdaPhase = 0.0;  // rad
  RoadDrive road;
  PetrolTrim trim;
  TrimTally trims;  // the trim on gas, per load cell
  std::array<std::uint16_t, 19> live{};
  std::uint32_t pinned = 0;  // bit n set: register 32 + n holds a value set from outside
};

// What the controller does with gas during a step.
struct GasSupply {
  bool regulatorOpen = false;  // the gas valve open and the regulator under pressure
  bool injecting = false;      // the gas injectors driven: the engine runs on gas
};

// A cold engine at idle.
EngineModel StartEngine(Random random, const EngineOptions& options = {});

// Moves the model on by one step of kModelStep. The gas injection times are what gas
// injection would take; the controller reports them only while it is on gas. They follow
// `factors` (see gas_factors.h) from the petrol times as the petrol unit gives them.
void StepEngine(EngineModel& engine, GasSupply gas, GasFactors factors = {});

// `address` is a live register, 32 to 50.
std::uint16_t LiveValue(const EngineModel& engine, std::uint8_t address);

// Holds a live register at `value`; the model no longer moves it.
void PinLiveValue(EngineModel& engine, std::uint8_t address, std::uint16_t value);

}  // namespace zav::sim
