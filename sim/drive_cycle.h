#pragma once
// The drive cycle: a repeating staircase of steady points, RPM and engine load held for a
// while each, so that one period fills a grid of RPM bands and manifold-pressure bands with
// steady samples. Load 0 gives the shortest petrol time (2.5 ms), the highest load the
// longest (7 ms). Each point lasts long enough for the petrol unit's trim (lag about 2 s)
// to settle well before the next one.

namespace zav::sim {

inline constexpr double kDriveCyclePeriodS = 180.0;  // the whole staircase (s)

struct DrivePoint {
  double rpm = 0.0;
  double load = 0.0;  // 0 to kDriveCycleTopLoad
};

inline constexpr double kDriveCycleTopLoad = 1.125;
inline constexpr double kIdleRpm = 800.0;  // the warm engine's idle speed (rpm)

// Where the cycle stands `runningS` seconds after the engine started.
DrivePoint DriveCyclePointAt(double runningS);

}  // namespace zav::sim
