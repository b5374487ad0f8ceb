#pragma once
// A drive on the road, as the simulator models one: RPM and load wander the way a fitter's
// test drive does, with accelerations, holds of 2 to 8 s at random loads, gear changes and
// a few stops at idle, and the manifold pressure wobbles by about +-15 mbar even in a hold.
// Nothing here knows the calibration's cells or holds; the seed decides the drive.

#include "sim/drive_cycle.h"
#include "sim/random.h"

namespace zav::sim {

enum class RoadPhase { kHold, kAccelerate, kGearChange, kIdleStop };

struct RoadDrive {
  RoadPhase phase = RoadPhase::kIdleStop;
  double phaseLeftS = 3.0;   // s
  DrivePoint from;           // where the phase started
  DrivePoint to;             // where it heads
  double phaseS = 3.0;       // s, the whole phase
  double wobblePhase = 0.0;  // rad
  double wobbleRate = 1.3;   // rad/s
  int gear = 1;
  // A drive that keeps below a load (a fitter told to stay under a manifold pressure), and
  // one that holds each load this much higher (load units): the same road otherwise, as the
  // random draws are the same.
  double topLoad = kDriveCycleTopLoad;
  double holdShiftLoad = 0.0;
};

// Where the drive stands after `stepS` more seconds; load 0 to `topLoad`, with the wobble.
DrivePoint StepRoadDrive(RoadDrive& drive, Random& random, double stepS);

}  // namespace zav::sim
