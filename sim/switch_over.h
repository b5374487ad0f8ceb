#pragma once
// The change between petrol and gas, as the status register 51 reports it. From "Petrol" the
// switch command starts the change to gas: "Preheat" while the engine is colder than the
// temperature parameter (register 80), "Delay" for the delay parameter (register 83, ms),
// "Flushing" while the regulator fills, "Low RPM" while the engine turns too slowly for gas,
// then "Gas". From any other state the switch command returns to "Petrol" at once.

#include <cstdint>

#include "link/wire.h"
#include "sim/engine_model.h"
#include "sim/line_time.h"

namespace zav::sim {

// How long the regulator is flushed before gas is injected (us).
inline constexpr Micros kFlushingTime = 300 * kMillisecond;
// Below this speed gas injection stops ("Low RPM"); it resumes above the higher one (rpm).
inline constexpr std::uint16_t kLowRpmEnter = 600;
inline constexpr std::uint16_t kLowRpmLeave = 650;

struct SwitchOver {
  std::uint16_t status = kStatusPetrol;
  Micros since = 0;  // when the current state was entered
};

// What the switch-over decides on: measured values and parameters.
struct SwitchConditions {
  std::uint16_t coolantC = 0;     // register 44
  std::uint16_t rpm = 0;          // register 49
  std::uint16_t minCoolantC = 0;  // register 80, "Temperature"
  std::uint16_t delayMs = 0;      // register 83, "Delay"
};

// The switch command ('B').
void RequestSwitch(SwitchOver& switchOver, const SwitchConditions& conditions, Micros now);

// Lets the change to gas go on as time and the engine allow.
void UpdateSwitchOver(SwitchOver& switchOver, const SwitchConditions& conditions, Micros now);

// The gas valve is open, and the regulator under pressure, from flushing on.
bool RegulatorOpen(std::uint16_t status);

}  // namespace zav::sim
