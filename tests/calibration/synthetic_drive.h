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

struct GasModel {
  Factors need;     // the line of the engine's need, over the span below
  Factors inForce;  // the controller's line in force
  double shortestMs = 0.0;
  double longestMs = 0.0;
};

// Samples on petrol (status 12), no gas times.
std::vector<LiveSample> PetrolDrive(const std::vector<Hold>& holds);
// Some seconds on petrol, the switch-over, then the holds on gas (status 6).
std::vector<LiveSample> GasDrive(const std::vector<Hold>& holds, const GasModel& model);

std::vector<DecodedSample> Decoded(const std::vector<LiveSample>& samples);

// Writes the log and the parameter file beside it, as a recording does.
void WriteDriveLog(const std::filesystem::path& path, const std::vector<LiveSample>& samples,
                   const ParameterWords& inForce);

// Loads the test drives hold: 300 to 900 mbar in 100 mbar steps, each at two engine speeds,
// 12 s each.
std::vector<Hold> LoadRangeHolds();

}  // namespace zav::testing
