#pragma once
// Drives made up for the calibration tests: the engine holds a list of loads in turn, with
// ramps between them, sampled every 200 ms as the window samples it. On petrol the petrol
// unit needs no correction; on gas it settles on the correction that makes the gas the
// engine takes equal to its need, while the ramps and the seconds after the switch-over
// carry deliberately wrong corrections that the assistant must leave out.

#include <filesystem>
#include <vector>

#include "datalog/factor_line.h"
#include "datalog/live_sample.h"
#include "params/parameter_set.h"

namespace zav::testing {

struct Hold {
  double rpm = 0.0;
  double manifoldMbar = 0.0;
  double seconds = 0.0;  // s held
};

// The petrol time (ms) the model engine takes at a manifold pressure (mbar): 1.5 + p / 200.
double ModelPetrolMs(double manifoldMbar);

// The controller these drives stand for: the gas/petrol ratio is the left factor up to
// 2.5 ms of petrol time, the right factor from 7 ms, straight between. Written out here
// rather than taken from the program, so a test notices when the program's line moves.
inline constexpr double kModelLeftMs = 2.5;
inline constexpr double kModelRightMs = 7.0;
double ModelRatio(Factors factors, double petrolMs);

struct GasModel {
  Factors need;     // the line of the engine's need
  Factors inForce;  // the controller's line in force
  // The gas drive holds each load this much higher in manifold pressure than the petrol
  // drive (mbar): no fitter repeats a load exactly.
  double manifoldOffsetMbar = 0.0;
};

// Samples on petrol (status 12), no gas times.
std::vector<LiveSample> PetrolDrive(const std::vector<Hold>& holds);
// Some seconds on petrol, the switch-over, then the holds on gas (status 6).
std::vector<LiveSample> GasDrive(const std::vector<Hold>& holds, const GasModel& model);

// After a gas drive: `count` times a gap of 3 s without samples (the adapter pulled, the
// controller silent), then 1.2 s on gas at `hold`'s load, the petrol unit still off by
// `correction` (an engine restarted during the gap has not settled).
void AppendBurstsAfterGaps(std::vector<LiveSample>& samples, Hold hold, const GasModel& model,
                           int count, double correction);

// `second` after `first`, its times moved on to follow: one log through a change of the
// controller's parameters (a write waits for petrol, so the second starts on petrol).
std::vector<LiveSample> Joined(std::vector<LiveSample> first,
                               const std::vector<LiveSample>& second);

// The holds at or below `mostMbar`.
std::vector<Hold> HoldsUpTo(const std::vector<Hold>& holds, double mostMbar);

std::vector<DecodedSample> Decoded(const std::vector<LiveSample>& samples);

// Writes the log and the parameter file beside it, as a recording does.
void WriteDriveLog(const std::filesystem::path& path, const std::vector<LiveSample>& samples,
                   const ParameterWords& inForce);

// A parameter file as File -> Save writes it.
void WriteParameters(const std::filesystem::path& path, const ParameterWords& words);

// Loads the test drives hold: 300 to 900 mbar in 100 mbar steps, each at two engine speeds,
// 12 s each.
std::vector<Hold> LoadRangeHolds();

}  // namespace zav::testing
