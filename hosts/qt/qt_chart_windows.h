#pragma once
// The chart windows on the Qt host. They are top-level windows owned by the main window
// (so its modal loop does not block them, and they close with it), fed from the session
// store and the register image; nothing here waits or touches the line.

#include <QPointer>
#include <functional>
#include <vector>

#include "datalog/chart_windows.h"
#include "datalog/session_store.h"
#include "hosts/qt/scatter_window.h"
#include "hosts/qt/strip_chart_window.h"
#include "link/link_state.h"

namespace zav::qt {

inline constexpr double kLiveScatterSeconds = 120.0;  // the live scatter's last 2 min

class QtChartWindows : public ChartWindows {
 public:
  // `owner` gives the main window's widget when a window opens.
  QtChartWindows(const SessionStore& session, const RegisterImage& image,
                 std::function<QWidget*()> owner);
  ~QtChartWindows() override;

  void ShowLiveChart() override;
  void ShowLiveScatter() override;
  void SessionChanged() override;
  void ShowLog(LogView log) override;

  StripChartWindow* LiveChart() const { return liveChart_; }
  ScatterWindow* LiveScatter() const { return liveScatter_; }

 private:
  const SessionStore& session_;
  const RegisterImage& image_;
  std::function<QWidget*()> owner_;
  QPointer<StripChartWindow> liveChart_;
  QPointer<ScatterWindow> liveScatter_;
  double scatterDrawnUpTo_ = -1.0;  // the newest sample's time when the scatter was drawn (s)
  std::vector<QPointer<QWidget>> logWindows_;
};

// The factors in force: registers 87 to 89 of the image.
Factors FactorsInForce(const RegisterImage& image);

}  // namespace zav::qt
