#include "charts/strip_lines.h"

#include <algorithm>
#include <utility>

namespace zav {

StripLines ThinnedLines(const std::deque<DecodedSample>& samples, SampleRange range,
                        const StripShown& shown, int slices) {
  std::vector<int> columns;
  std::vector<std::size_t> drawn;  // the series of each column
  for (std::size_t i = 0; i < kStripSeriesCount; ++i) {
    if (shown.series[i]) {
      columns.push_back(kStripSeriesTable[i].column);
      drawn.push_back(i);
    }
  }
  auto thinned = ThinnedRunsOfColumns(samples, UnbrokenRuns(samples, range), columns,
                                      static_cast<std::size_t>(std::max(slices, 1)));
  StripLines lines;
  for (std::size_t c = 0; c < drawn.size(); ++c) {
    lines[drawn[c]] = std::move(thinned[c]);
  }
  return lines;
}

SampleRange SamplesAround(const std::deque<DecodedSample>& samples, SampleRange range, double from,
                          double to) {
  SampleRange within = SamplesIn(samples, from, to);
  within.first = std::max(within.first, range.first + 1) - 1;
  within.last = std::min(within.last + 1, range.last);
  return within.first < within.last ? within : SampleRange{range.first, range.first};
}

// In a run of points on one pixel column only the first, the lowest, the highest and the
// last matter (the line between them covers the same pixels), and on one row only the run's
// ends. A 10-minute strip has several samples per column; the painter's cost grows with the
// points it is given.
void CompactPixels(std::vector<PixelPoint>& points) {
  std::vector<PixelPoint> kept;
  kept.reserve(points.size());
  const auto keep = [&kept](PixelPoint point) {
    if (!kept.empty() && kept.back() == point) {
      return;
    }
    // A point on the row of the two before it, all going one way, adds nothing.
    if (kept.size() >= 2 && kept.back().y == point.y && kept[kept.size() - 2].y == point.y) {
      kept.back() = point;
      return;
    }
    kept.push_back(point);
  };
  for (std::size_t first = 0; first < points.size();) {
    std::size_t last = first;
    std::size_t lowest = first;
    std::size_t highest = first;
    while (last + 1 < points.size() && points[last + 1].x == points[first].x) {
      ++last;
      lowest = points[last].y < points[lowest].y ? last : lowest;
      highest = points[last].y > points[highest].y ? last : highest;
    }
    if (last == first) {  // a column of its own, as most are at the shorter spans
      keep(points[first]);
    } else {
      for (const std::size_t i :
           {first, std::min(lowest, highest), std::max(lowest, highest), last}) {
        keep(points[i]);
      }
    }
    first = last + 1;
  }
  points.swap(kept);
}

void DrawLines(Canvas& canvas, const StripLines& lines,
               const std::array<double, kStripSeriesCount>& tops, const StripShown& shown,
               const PixelTimeScale& time, const PixelBox& plot) {
  canvas.ClipTo(plot);
  canvas.SetPenStyle(1, LineStyle::Solid);
  std::vector<PixelPoint> points;
  for (std::size_t i = 0; i < kStripSeriesCount; ++i) {
    if (!shown.series[i]) {
      continue;
    }
    const AxisScale value{0.0, tops[i], plot.bottom - 1, plot.top};
    canvas.SetPen(kStripSeriesColours[i]);
    for (const auto& run : lines[i]) {
      points.clear();
      for (const ChartPoint& point : run) {
        points.push_back({time.Pixel(point.seconds), value.Pixel(point.value)});
      }
      CompactPixels(points);
      // A run of one sample is a dot, not nothing.
      if (points.size() == 1) {
        points.push_back({points[0].x + 1, points[0].y});
      }
      canvas.Polyline(points);
    }
  }
  canvas.Unclip();
}

}  // namespace zav
