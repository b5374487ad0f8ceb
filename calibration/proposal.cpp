#include "calibration/proposal.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calibration/calibration_text.h"

namespace zav {

namespace {

// Room for the trackbars' grid around a bound (gas/petrol): half a 0.02 step and a little.
constexpr double kGridRoom = 0.011;
constexpr double kUnbounded = 10.0;

struct CorrectionRange {
  double low = 0.0;  // fractions; 0 is always inside: a factor may stay
  double high = 0.0;
};

// The corrections of the covered cells between `fromMs` and `toMs`, as moves: those within
// kCalibratedCorrection count as none.
CorrectionRange RangeOf(const Calibration& calibration, double fromMs, double toMs) {
  CorrectionRange range;
  for (const LoadCell& cell : calibration.cells) {
    if (!cell.Covered() || cell.petrolMs < fromMs || cell.petrolMs > toMs) {
      continue;
    }
    const double move = cell.Correction() - 1.0;
    if (std::abs(move) > kCalibratedCorrection) {
      range.low = std::min(range.low, move);
      range.high = std::max(range.high, move);
    }
  }
  return range;
}

// A reached end may move as far as the fit takes it, but only the way the cells say; an
// end not reached no further than the cells nearest it measured.
void Bound(double factor, CorrectionRange range, bool reached, double& low, double& high) {
  low = range.low < 0.0 ? (reached ? 0.0 : factor * (1.0 + range.low) - kGridRoom)
                        : factor - kGridRoom;
  high = range.high > 0.0 ? (reached ? kUnbounded : factor * (1.0 + range.high) + kGridRoom)
                          : factor + kGridRoom;
}

std::string UnreachedText(const Calibration& calibration) {
  std::string text;
  if (!calibration.reach.left) {
    text += "The left end of the line (" + FixedText(kLeftFactorPetrolMs, 1) +
            " ms of petrol time) was not reached: the covered cells start at " +
            FixedText(calibration.shortestMs, 2) +
            " ms, so the left factor moves only as far as the lightest cells measured. Drive "
            "at idle and light throttle on both fuels to place it.";
  }
  if (!calibration.reach.right) {
    text += std::string(text.empty() ? "" : " ") + "The right end of the line (" +
            FixedText(kRightFactorPetrolMs, 1) +
            " ms of petrol time) was not reached: the covered cells end at " +
            FixedText(calibration.longestMs, 2) +
            " ms, so the right factor moves only as far as the heaviest cells measured. "
            "Drive at heavy load (high manifold pressure, wide throttle at middle engine "
            "speed) on both fuels to place it.";
  }
  return text;
}

Proposal Unchanged(const Calibration& calibration, std::span<const FitPoint> points) {
  Proposal proposal;
  proposal.current = PositionsOf(calibration.inForce);
  proposal.currentFactors = FactorsAt(proposal.current);
  proposal.xAxis = ParameterAt(calibration.inForce, kXAxisRegister);
  proposal.currentYAxis = ParameterAt(calibration.inForce, kYAxisRegister);
  proposal.currentNumerator = ParameterAt(calibration.inForce, kNumeratorRegister);
  proposal.currentError = WeightedRmsError(points, proposal.currentFactors);
  proposal.proposed = proposal.current;
  proposal.reopened = proposal.current;
  proposal.proposedFactors = proposal.currentFactors;
  proposal.proposedError = proposal.currentError;
  proposal.formula.yAxis = proposal.currentYAxis;
  proposal.formula.numerator = proposal.currentNumerator;
  return proposal;
}

// The line in force already matches the cells within the calibrated bound, and the fit
// would move no trackbar further than one step: a cell a little past the bound from a
// drive's noise (a short hold, the manifold's wobble) is no reason to write. The car is
// calibrated; the mismatch says so.
bool WithinNoise(Calibration& calibration, const Proposal& unchanged, const FactorFit& fit) {
  constexpr int kOneStep = 1;  // trackbar position: 0.02 of a factor
  if (unchanged.currentError > kCalibratedCorrection ||
      std::abs(fit.positions.left - unchanged.current.left) > kOneStep ||
      std::abs(fit.positions.right - unchanged.current.right) > kOneStep) {
    return false;
  }
  calibration.calibrated = true;
  return true;
}

}  // namespace

FactorBounds BoundsFrom(const Calibration& calibration, Factors inForce) {
  constexpr double kAll = std::numeric_limits<double>::max();
  const CorrectionRange all = RangeOf(calibration, 0.0, kAll);
  const CorrectionRange lightest = RangeOf(calibration, 0.0, calibration.shortestMs + kReachMs);
  const CorrectionRange heaviest = RangeOf(calibration, calibration.longestMs - kReachMs, kAll);
  FactorBounds bounds;
  Bound(inForce.left, calibration.reach.left ? all : lightest, calibration.reach.left,
        bounds.leftLow, bounds.leftHigh);
  Bound(inForce.right, calibration.reach.right ? all : heaviest, calibration.reach.right,
        bounds.rightLow, bounds.rightHigh);
  return bounds;
}

void ProposeFor(Calibration& calibration) {
  const Factors inForce = FactorsOf(calibration.inForce);
  const std::vector<FitPoint> points = FitPointsOf(calibration.cells, inForce);
  Proposal proposal = Unchanged(calibration, points);
  calibration.unreached = UnreachedText(calibration);
  if (calibration.calibrated) {
    calibration.proposal = proposal;
    return;
  }
  const std::optional<FactorFit> fit =
      FitFactors(points, BoundsFrom(calibration, inForce), proposal.current, proposal.xAxis);
  if (!fit) {
    calibration.unreached.clear();
    calibration.reason =
        "no trackbar positions near what the cells measured give a \"Y axis\" the Parameters "
        "dialog accepts with \"X axis\" " +
        std::to_string(proposal.xAxis) +
        " (its \"Ok\" refuses a negative \"Y axis\" with \"Wrong filling of parameters\"). "
        "Lower \"X axis\" in the Parameters dialog, write it, and record the gas drive again.";
    return;
  }
  if (WithinNoise(calibration, proposal, *fit) || fit->positions == proposal.current) {
    calibration.proposal = proposal;  // nothing to write
    return;
  }
  proposal.proposed = fit->positions;
  proposal.reopened = fit->reopened;
  proposal.proposedFactors = fit->factors;
  proposal.proposedError = fit->rmsError;
  proposal.formula = fit->formula;
  calibration.proposal = proposal;
}

}  // namespace zav
