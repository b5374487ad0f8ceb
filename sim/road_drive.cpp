#include "sim/road_drive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zav::sim {
namespace {

constexpr double kIdleLoad = 0.08;
constexpr double kWobbleLoad = 15.0 / 550.0;  // +-15 mbar of manifold pressure
constexpr double kIdleStopShare = 0.06;       // of the phases after a hold
constexpr double kGearChangeShare = 0.3;

double Between(Random& random, double low, double high) {
  return low + (high - low) * NextUnit(random);
}

void Begin(RoadDrive& drive, RoadPhase phase, DrivePoint to, double seconds) {
  drive.phase = phase;
  if (phase == RoadPhase::kHold) {
    to.load += drive.holdShiftLoad;
  }
  // Below a top of the fitter's with room for the wobble; the full load as it stands.
  const double most = drive.topLoad < kDriveCycleTopLoad
                          ? std::max(drive.topLoad - kWobbleLoad, 0.0)
                          : kDriveCycleTopLoad;
  to.load = std::clamp(to.load, 0.0, most);
  drive.to = to;
  drive.phaseS = seconds;
  drive.phaseLeftS = seconds;
}

// A phase whose length and target are drawn: the length first, then the target's RPM and
// load, always in that order, so a seed makes the same drive whichever compiler built it
// (the order in which a call's arguments are worked out is the compiler's choice).
template <typename DrawTarget>
void BeginDrawn(RoadDrive& drive, RoadPhase phase, Random& random, double shortestS,
                double longestS, DrawTarget drawTarget) {
  const double seconds = Between(random, shortestS, longestS);
  const DrivePoint to = drawTarget();
  Begin(drive, phase, to, seconds);
}

// A gear's RPM range: low gears rev higher for the same road speed.
double GearRpm(Random& random, int gear) {
  const double top = 4200.0 - 350.0 * gear;
  return Between(random, 1100.0, top);
}

void NextPhase(RoadDrive& drive, Random& random) {
  drive.from = drive.to;
  switch (drive.phase) {
    case RoadPhase::kIdleStop:
      drive.gear = 1;
      BeginDrawn(drive, RoadPhase::kAccelerate, random, 2.0, 5.0, [&] {
        return DrivePoint{Between(random, 2200.0, 3800.0),
                          Between(random, 0.7, kDriveCycleTopLoad)};
      });
      return;
    case RoadPhase::kAccelerate:
    case RoadPhase::kGearChange:
      BeginDrawn(drive, RoadPhase::kHold, random, 2.0, 8.0, [&] {
        return DrivePoint{GearRpm(random, drive.gear), Between(random, 0.0, kDriveCycleTopLoad)};
      });
      return;
    case RoadPhase::kHold:
      break;
  }
  const double draw = NextUnit(random);
  if (draw < kIdleStopShare) {
    Begin(drive, RoadPhase::kIdleStop, {kIdleRpm, kIdleLoad}, Between(random, 4.0, 10.0));
  } else if (draw < kIdleStopShare + kGearChangeShare) {
    drive.gear = std::clamp(drive.gear + (NextUnit(random) < 0.7 ? 1 : -1), 1, 5);
    Begin(drive, RoadPhase::kGearChange, {drive.from.rpm * 0.7, 0.05}, 0.8);
  } else {
    BeginDrawn(drive, RoadPhase::kAccelerate, random, 1.5, 4.0, [&] {
      return DrivePoint{std::min(drive.from.rpm + Between(random, 300.0, 1200.0), 4500.0),
                        Between(random, 0.6, kDriveCycleTopLoad)};
    });
  }
}

}  // namespace

DrivePoint StepRoadDrive(RoadDrive& drive, Random& random, double stepS) {
  drive.phaseLeftS -= stepS;
  if (drive.phaseLeftS <= 0.0) {
    NextPhase(drive, random);
  }
  drive.wobblePhase = std::fmod(drive.wobblePhase + drive.wobbleRate * stepS + Noise(random, 0.05),
                                2.0 * std::numbers::pi);
  // Accelerations and gear changes move there over the phase; holds and stops are reached
  // at once and held.
  const bool moving =
      drive.phase == RoadPhase::kAccelerate || drive.phase == RoadPhase::kGearChange;
  const double along = moving ? 1.0 - drive.phaseLeftS / drive.phaseS : 1.0;
  const DrivePoint now{drive.from.rpm + (drive.to.rpm - drive.from.rpm) * along,
                       drive.from.load + (drive.to.load - drive.from.load) * along};
  const double wobble = drive.phase == RoadPhase::kIdleStop ? 0.3 : 1.0;
  return DrivePoint{now.rpm,
                    std::clamp(now.load + kWobbleLoad * wobble * std::sin(drive.wobblePhase), 0.0,
                               drive.topLoad)};
}

}  // namespace zav::sim
