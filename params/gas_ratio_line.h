#pragma once
// The program's model of how the controller turns the formula registers into gas: the
// gas/petrol ratio is a line over the petrol injection time, the left factor of the
// Parameters dialog's chart at kLeftFactorPetrolMs, the right factor at
// kRightFactorPetrolMs, straight between and level outside. The line is a property of the
// controller's settings, never of a drive: the calibration, the "Petrol against gas" view
// and the simulator all take it from here.

#include <cstdint>

#include "params/parameter_formula.h"

namespace zav {

// The formula registers: "X axis", "Y axis", "Numerator".
inline constexpr std::uint8_t kXAxisRegister = 87;
inline constexpr std::uint8_t kYAxisRegister = 88;
inline constexpr std::uint8_t kNumeratorRegister = 89;

// Petrol times (ms) where the ratio is the left and the right factor: an engine's petrol
// times from idle to full load.
inline constexpr double kLeftFactorPetrolMs = 2.5;
inline constexpr double kRightFactorPetrolMs = 7.0;

// The gas/petrol ratios at the two ends of the line.
struct Factors {
  double left = 0.0;
  double right = 0.0;
};

// The factors two trackbar positions stand for, as the Parameters dialog forms them.
Factors FactorsAt(TrackbarPositions positions);

// From registers 87 to 89, by the code that places the Parameters dialog's trackbars when
// it opens.
Factors FactorsFromRegisters(std::uint16_t xAxis, std::uint16_t yAxis, std::uint16_t numerator);

// The gas/petrol ratio at a petrol time (ms): the left factor up to kLeftFactorPetrolMs, the
// right one from kRightFactorPetrolMs, straight between.
double GasRatioAt(Factors factors, double petrolMs);

// How far along the line a petrol time (ms) lies: 0 at the left factor, 1 at the right,
// held within 0 to 1.
double LineFraction(double petrolMs);

}  // namespace zav
