#pragma once
// The engine and the gas system as the controller measures them: the live registers 32 to 50.
// A small deterministic model, stepped every 20 ms of running time: the coolant warms from
// ambient towards operating temperature over a few minutes, the engine idles near 800 rpm with
// the odd rev and dip, the lambda probe swings, and the gas side follows the switch-over.

#include <array>
#include <cstdint>

#include "sim/gas_factors.h"
#include "sim/line_time.h"
#include "sim/random.h"

namespace zav::sim {

inline constexpr Micros kModelStep = 20 * kMillisecond;

struct EngineModel {
  Random random;
  double runningS = 0.0;
  double coolantC = 0.0;
  double regulatorC = 0.0;
  double rpm = 0.0;
  double rpmTarget = 0.0;
  double eventLeftS = 0.0;  // how long the current rev or dip lasts (s)
  double regulatorDeltaMbar = 0.0;
  double batteryMv = 0.0;
  double lambdaPhase = 0.0;  // rad
  std::array<std::uint16_t, 19> live{};
  std::uint32_t pinned = 0;  // bit n set: register 32 + n holds a value set from outside
};

// A cold engine at idle.
EngineModel StartEngine(Random random);

// Moves the model on by one step of kModelStep. `regulatorOpen`: the gas valve is open and the
// regulator under pressure. The gas injection times are what gas injection would take; the
// controller reports them only while it is on gas. They follow `factors` (see gas_factors.h).
void StepEngine(EngineModel& engine, bool regulatorOpen, GasFactors factors = {});

// `address` is a live register, 32 to 50.
std::uint16_t LiveValue(const EngineModel& engine, std::uint8_t address);

// Holds a live register at `value`; the model no longer moves it.
void PinLiveValue(EngineModel& engine, std::uint8_t address, std::uint16_t value);

}  // namespace zav::sim
