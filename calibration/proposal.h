#pragma once
// The proposal from the corrections: the line in force moved by what the covered cells
// measured, within what they support. An end of the line the drive did not reach moves no
// further than the cells nearest it measured; no factor moves against the corrections; a
// car whose corrections are all within kCalibratedCorrection keeps its factors.

#include "calibration/calibration.h"

namespace zav {

// Fills `calibration.proposal` and `unreached`, or `reason` when no writable positions fit.
void ProposeFor(Calibration& calibration);

// How far each factor may move, from the covered cells' corrections.
FactorBounds BoundsFrom(const Calibration& calibration, Factors inForce);

}  // namespace zav
