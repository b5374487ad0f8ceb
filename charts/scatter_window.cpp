#include "charts/scatter_window.h"

#include <array>
#include <string_view>

#include "charts/chart_picture.h"
#include "resources/scatter_template.h"

namespace zav {

namespace {

constexpr std::array<std::string_view, 2> kPlotNames{"Gas/petrol ratio", "Gas against petrol"};

ScatterShown ShownOf(const ScatterWindow& scatter) {
  ScatterShown shown;
  shown.plot = scatter.plot;
  shown.factors = scatter.inputs.factors ? scatter.inputs.factors() : std::nullopt;
  shown.missingFactors = scatter.inputs.missingFactors;
  return shown;
}

void Init(Desktop& desktop, ScatterWindow& scatter) {
  scatter.open = true;
  desktop.SetTitle(scatter.window, scatter.inputs.title);
  for (const std::string_view name : kPlotNames) {
    desktop.AddListEntry(scatter.window, kScatterPlotList, name);
  }
  desktop.SelectListEntry(scatter.window, kScatterPlotList, static_cast<int>(scatter.plot));
  desktop.Redraw(scatter.window, kScatterCanvas);
}

void Paint(Desktop& desktop, ScatterWindow& scatter) {
  scatter.layout = DrawScatterChart(desktop.ControlCanvas(scatter.window, kScatterCanvas),
                                    desktop.ControlSize(scatter.window, kScatterCanvas),
                                    PointsShown(scatter), ShownOf(scatter));
}

void SavePicture(Desktop& desktop, ScatterWindow& scatter) {
  const std::string title =
      scatter.inputs.title + " " + std::string(kPlotNames[static_cast<std::size_t>(scatter.plot)]);
  const PixelSize size = desktop.ControlSize(scatter.window, kScatterCanvas);
  const std::vector<ScatterPoint> points = PointsShown(scatter);
  const ScatterShown shown = ShownOf(scatter);
  const std::int64_t now = scatter.inputs.unixMs ? scatter.inputs.unixMs() : 0;
  SaveChartPicture(desktop, scatter.window, title, title, size, now,
                   [&](Canvas& canvas) { DrawScatterChart(canvas, size, points, shown); });
}

void Close(Desktop& desktop, ScatterWindow& scatter) {
  scatter.open = false;
  desktop.EndDialog(scatter.window, 0);
  if (scatter.inputs.closed) {
    scatter.inputs.closed();
  }
}

void Command(Desktop& desktop, ScatterWindow& scatter, const DialogEvent& event) {
  switch (event.id) {
    case kScatterPlotList:
      if (const int chosen = desktop.SelectedListEntry(scatter.window, kScatterPlotList);
          chosen >= 0 && chosen < static_cast<int>(kPlotNames.size())) {
        scatter.plot = static_cast<ScatterPlot>(chosen);
        desktop.Redraw(scatter.window, kScatterCanvas);
      }
      break;
    case kScatterSaveButton:
      SavePicture(desktop, scatter);
      break;
    case kCommandEscape:
      Close(desktop, scatter);
      break;
    default:
      break;
  }
}

bool Handle(Desktop& desktop, ScatterWindow& scatter, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      Init(desktop, scatter);
      return true;
    case DialogMessage::Paint:
      if (event.id == kScatterCanvas) {
        Paint(desktop, scatter);
      }
      return true;
    case DialogMessage::Command:
      Command(desktop, scatter, event);
      return true;
    case DialogMessage::Close:
      Close(desktop, scatter);
      return true;
    case DialogMessage::Key:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::vector<ScatterPoint> PointsShown(const ScatterWindow& scatter) {
  const std::deque<DecodedSample>& samples = *scatter.inputs.samples;
  SampleRange range{0, samples.size()};
  if (scatter.inputs.recentSpan > 0.0 && !samples.empty()) {
    const double newest = samples.back().seconds;
    range = SamplesIn(samples, newest - scatter.inputs.recentSpan, newest);
  }
  return ScatterPoints(samples, range);
}

WindowRef OpenScatter(Desktop& desktop, WindowRef owner,
                      const std::shared_ptr<ScatterWindow>& scatter) {
  scatter->window = desktop.OpenWindow(
      ScatterTemplate(), owner, [scatter](Desktop& d, WindowRef window, const DialogEvent& event) {
        scatter->window = window;
        return Handle(d, *scatter, event);
      });
  return scatter->window;
}

void RefreshScatter(Desktop& desktop, ScatterWindow& scatter) {
  if (scatter.open) {
    desktop.Redraw(scatter.window, kScatterCanvas);
  }
}

}  // namespace zav
