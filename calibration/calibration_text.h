#pragma once
// The assistant's table and proposal as text, the same for the window and the command line.
// Numbers are written with a point whatever the locale.

#include <array>
#include <string>
#include <string_view>

#include "calibration/calibration.h"
#include "calibration/cell_counts.h"

namespace zav {

inline constexpr int kCellColumns = 10;

// "RPM", "Manifold (mBar)", ..., "In fit".
extern const std::array<std::string_view, kCellColumns> kCellHeadings;

// "1000-1500", "300-400", "52", "47", "3.41", "3.62", "+6.2", "2.081", "2.210", "yes".
std::array<std::string, kCellColumns> CellTexts(const LoadCell& cell);

// A petrol drive's cell before there is a gas drive to compare: "1000-1500", "300-400", "52",
// the other columns blank.
std::array<std::string, kCellColumns> PetrolCellTexts(const CellCount& cell);

// `value` with `decimals` digits after a point.
std::string FixedText(double value, int decimals);

// The cells as an aligned table with a heading line.
std::string CellTableText(const Calibration& calibration);

// Today's factors against the proposed ones: the trackbar positions, the factors, "Y axis"
// and "Numerator" by the Parameters dialog's formula, and the mismatch left.
std::string ProposalText(const Proposal& proposal);

// Why a car counts as calibrated: "14 cells, mismatch 0.4 % (within 1 %), largest
// correction 1.2 %".
std::string CalibratedFacts(const Calibration& calibration);

// What the window and the command line say below the table: "Calibrated: ..." when the car
// is (see Calibration::calibrated), else the proposal ("No change" when the fit keeps the
// factors) and the ends of the line the drive did not reach; without a proposal, the reason.
std::string VerdictText(const Calibration& calibration);

// "24 load cells driven on both fuels, 18 with enough settled samples; petrol times 2.61 to
// 6.87 ms."
std::string CoverageText(const Calibration& calibration);

}  // namespace zav
