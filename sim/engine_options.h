#pragma once
// How the simulated engine is built and driven: its own gas need and the way it is driven.
// Plain data, chosen on zavsim's command line or by a test; the model keeps a copy.

#include <optional>

#include "sim/gas_factors.h"

namespace zav::sim {

enum class DriveMode {
  kIdle,   // idling near 800 rpm with the odd rev and dip
  kCycle,  // a repeating sweep of RPM and manifold pressure (see drive_cycle.h)
  kRoad,   // a drive on the road: RPM and load wander (see road_drive.h)
};

struct EngineOptions {
  // The factors that would be exactly right for this engine: the gas/petrol ratio it needs,
  // drawn as the same line as the delivered ratio. Nothing: the factory registers' factors,
  // so that an engine left at the factory set needs no correction at all.
  std::optional<GasFactors> gasNeed;
  DriveMode drive = DriveMode::kIdle;
  // The road drive: never above this manifold pressure (mbar); nothing: up to full load.
  std::optional<double> roadTopMbar;
  // The road drive's holds this much higher in manifold pressure (mbar), the road the same.
  double roadShiftMbar = 0.0;
};

// The need in force: the given one, else the factory registers' factors.
GasFactors GasNeedOf(const EngineOptions& options);

}  // namespace zav::sim
