#include "sim/switch_over.h"

namespace zav::sim {
namespace {

void Enter(SwitchOver& switchOver, std::uint16_t status, Micros now) {
  switchOver.status = status;
  switchOver.since = now;
}

std::uint16_t GasOrLowRpm(const SwitchConditions& conditions) {
  return conditions.rpm < kLowRpmEnter ? kStatusLowRpm : kStatusGas;
}

}  // namespace

void RequestSwitch(SwitchOver& switchOver, const SwitchConditions& conditions, Micros now) {
  if (switchOver.status != kStatusPetrol) {
    Enter(switchOver, kStatusPetrol, now);
  } else if (conditions.coolantC < conditions.minCoolantC) {
    Enter(switchOver, kStatusPreheat, now);
  } else {
    Enter(switchOver, kStatusDelay, now);
  }
}

void UpdateSwitchOver(SwitchOver& switchOver, const SwitchConditions& conditions, Micros now) {
  const Micros inState = now - switchOver.since;
  switch (switchOver.status) {
    case kStatusPreheat:
      if (conditions.coolantC >= conditions.minCoolantC) {
        Enter(switchOver, kStatusDelay, now);
      }
      break;
    case kStatusDelay:
      if (inState >= Micros{conditions.delayMs} * kMillisecond) {
        Enter(switchOver, kStatusFlushing, now);
      }
      break;
    case kStatusFlushing:
      if (inState >= kFlushingTime) {
        Enter(switchOver, GasOrLowRpm(conditions), now);
      }
      break;
    case kStatusLowRpm:
      if (conditions.rpm >= kLowRpmLeave) {
        Enter(switchOver, kStatusGas, now);
      }
      break;
    case kStatusGas:
      if (conditions.rpm < kLowRpmEnter) {
        Enter(switchOver, kStatusLowRpm, now);
      }
      break;
    default:  // "Petrol", or a state set from outside: nothing moves by itself
      break;
  }
}

bool RegulatorOpen(std::uint16_t status) {
  return status == kStatusFlushing || status == kStatusLowRpm || status == kStatusGas;
}

}  // namespace zav::sim
