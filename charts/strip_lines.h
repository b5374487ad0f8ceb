#pragma once
// The strip chart's lines: each series shown, thinned to about a slice per pixel column and
// broken where samples are missing, on its unit's axis.

#include <array>
#include <deque>
#include <vector>

#include "charts/chart_axis.h"
#include "charts/strip_chart.h"

namespace zav {

using StripLines = std::array<std::vector<std::vector<ChartPoint>>, kStripSeriesCount>;

// The runs of the series shown over `range`, thinned to about `slices` slices.
StripLines ThinnedLines(const std::deque<DecodedSample>& samples, SampleRange range,
                        const StripShown& shown, int slices);

// `range` cut to the samples that draw between `from` and `to` (s): those within, and the one
// on either side whose line runs in.
SampleRange SamplesAround(const std::deque<DecodedSample>& samples, SampleRange range, double from,
                          double to);

// Leaves out the points that draw no pixel of their own.
void CompactPixels(std::vector<PixelPoint>& points);

// The lines within `plot`, each series on the axis of top `tops[series]`.
void DrawLines(Canvas& canvas, const StripLines& lines,
               const std::array<double, kStripSeriesCount>& tops, const StripShown& shown,
               const PixelTimeScale& time, const PixelBox& plot);

}  // namespace zav
