#pragma once
// What the program holds for the data log: the sample source, the session's samples, the
// recording, and the chart windows.

#include "datalog/chart_windows.h"
#include "datalog/live_sample.h"
#include "datalog/recorder.h"
#include "datalog/session_store.h"

namespace zav {

struct DataLog {
  LiveSampleSource source;
  SessionStore session;
  Recorder recorder;
  ChartWindows* charts = nullptr;  // null: no chart windows on this host
};

}  // namespace zav
