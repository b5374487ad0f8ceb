#pragma once
// The chart windows as the program asks for them. They are not modal and are fed from plain
// structs (the session store, a log read back); a tick never waits on them. The Qt host
// draws them; a program without a window host (tests, a console) has none.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "datalog/factor_line.h"
#include "datalog/sample_columns.h"

namespace zav {

// A log read back, for its own windows.
struct LogView {
  std::filesystem::path path;
  std::vector<DecodedSample> samples;
  std::optional<Factors> factors;  // from the .car beside the log, when there is one
};

class ChartWindows {
 public:
  virtual ~ChartWindows() = default;
  // The strip chart of the session's samples, "Live chart"; raised when already open.
  virtual void ShowLiveChart() = 0;
  // Petrol against gas for the session's samples and the factors in force.
  virtual void ShowLiveScatter() = 0;
  // The session has new samples: windows that show it redraw. At most once per tick.
  virtual void SessionChanged() = 0;
  // A log in its own strip chart window, titled with the file's name.
  virtual void ShowLog(LogView log) = 0;
};

}  // namespace zav
