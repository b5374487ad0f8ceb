#pragma once
// Which samples of a drive show the engine settled on one fuel. On gas the petrol unit's
// closed loop corrects its injection times with a lag of seconds, so only samples taken
// after the load has held still for a while, and well after a switch-over, tell what it
// settled on.

#include <span>
#include <vector>

#include "datalog/sample_columns.h"
#include "datalog/sample_runs.h"

namespace zav {

enum class Fuel { Petrol, Gas };

// Left out at the start of every stretch on one fuel: the log's start, each switch-over and
// each gap in the samples (kGapSeconds, the data log's own rule: the engine may have stopped
// or switched over unseen).
inline constexpr double kSettleSeconds = 8.0;  // s
// The load must hold within these bounds from this long before a sample to a little after
// it: the petrol unit's correction lags behind a change, and a sample at the very start of
// a change already belongs to another load.
inline constexpr double kSteadySeconds = 1.5;        // s before
inline constexpr double kSteadyAfterSeconds = 0.5;   // s after
inline constexpr double kSteadyRpmChange = 150.0;    // rpm, either way
inline constexpr double kSteadyManifoldMbar = 40.0;  // mbar, either way

// A settled sample, with the four cylinders' times averaged.
struct SteadySample {
  double rpm = 0.0;
  double manifoldMbar = 0.0;
  double petrolMs = 0.0;  // BA_1 to BA_4
  double gasMs = 0.0;     // GAS_1 to GAS_4; 0 on petrol
};

struct SteadySelection {
  std::vector<SteadySample> samples;
  int onFuel = 0;    // samples on the fuel at all
  int settling = 0;  // left out: too soon after the start or a switch-over
  int moving = 0;    // left out: the load was changing
};

bool IsOnFuel(const DecodedSample& sample, Fuel fuel);

// The settled samples on `fuel`, in time order.
SteadySelection SteadySamples(std::span<const DecodedSample> samples, Fuel fuel);

}  // namespace zav
