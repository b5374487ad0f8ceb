#pragma once
// The grid of engine loads the calibration compares drives on and the simulator tallies its
// petrol unit's trim over: RPM bands by manifold-pressure bands, sized so that a few minutes
// of driving across the load range fill them. Band n of a width holds [n * width,
// (n + 1) * width).

namespace zav {

inline constexpr int kRpmBand = 500;       // rpm per cell
inline constexpr int kManifoldBand = 100;  // mbar per cell

}  // namespace zav
