#pragma once
// The chart windows live in a module of their own, loaded the first time one of them opens,
// so that a session that never opens one maps neither Qt Charts nor the OpenGL libraries it
// pulls in (about 1.2 MB resident). This is the module's one entry:
// plain structs in and out, resolved by name.

#include <functional>
#include <memory>

#include "datalog/chart_windows.h"
#include "datalog/session_store.h"
#include "params/controller_set.h"

class QWidget;

namespace zav::qt {

// What the hosts need from the program; both references outlive the hosts.
struct ChartModuleInputs {
  const SessionStore* session = nullptr;
  const ControllerSet* controllerSet = nullptr;
  std::function<QWidget*()> owner;  // the main window's widget when a window opens
};

struct ChartModuleHosts {
  std::unique_ptr<ChartWindows> charts;
  std::function<QWidget*()> liveChart;  // the live chart's window; null while it is closed
};

// Raised whenever the structs above or the interfaces they hold change: the entry refuses a
// caller built against another layout rather than being called wrongly.
inline constexpr int kChartModuleVersion = 2;

// The module's file name without prefix or suffix (the loader adds the platform's own).
inline constexpr char kChartModuleName[] = "zavmon_charts";
inline constexpr char kChartModuleEntry[] = "zav_make_chart_hosts";

// Fills `hosts` and returns true when `version` is the module's own.
using MakeChartHosts = bool (*)(int version, const ChartModuleInputs& inputs,
                                ChartModuleHosts& hosts);

}  // namespace zav::qt
