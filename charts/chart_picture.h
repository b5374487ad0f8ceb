#pragma once
// A chart saved as a PNG picture: the fitter chooses the file (a name from the window's
// title and the time is proposed), the picture is the chart under a line of caption, and a
// failure is said in a message box.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace zav {

// "Live chart · 12.3 s to 42.3 s (30 s)": what a strip chart's picture shows.
std::string SpanCaption(std::string_view title, double from, double to);

// "Live-chart-20261208-150405.png": the title with anything but letters, digits, '.', '_'
// and '-' made '-', and the local time.
std::string ProposedPictureName(std::string_view title, std::int64_t unixMs);

// Asks for the file and saves the picture of `chartSize` under `caption`; `draw` draws the
// chart at (0, 0) of the canvas it is given.
void SaveChartPicture(Desktop& desktop, WindowRef window, std::string_view title,
                      std::string_view caption, PixelSize chartSize, std::int64_t unixMs,
                      const std::function<void(Canvas&)>& draw);

}  // namespace zav
