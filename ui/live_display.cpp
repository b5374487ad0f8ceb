#include "ui/live_display.h"

#include <array>

namespace zav {

namespace {

enum class Form { Time, Integer, Hidden };

struct LiveRow {
  int edit = 0;  // 0: not shown
  int bar = 0;   // 0: none
  Form form = Form::Hidden;
};

// Rows for registers 32 to 50.
constexpr std::array<LiveRow, kLiveRows> kLiveRowsShown{{
    {1012, 1003, Form::Time}, {1013, 1004, Form::Time}, {1014, 1005, Form::Time},
    {1015, 1006, Form::Time}, {1017, 1008, Form::Time}, {1018, 1009, Form::Time},
    {1019, 1010, Form::Time}, {1020, 1011, Form::Time}, {1016, 1007, Form::Time},
    {0, 0, Form::Hidden},     {0, 0, Form::Hidden},     {0, 0, Form::Hidden},
    {1028, 0, Form::Integer}, {1021, 0, Form::Integer}, {1022, 0, Form::Integer},
    {1023, 0, Form::Integer}, {1026, 0, Form::Integer}, {1024, 0, Form::Integer},
    {1025, 0, Form::Integer},
}};

// The narrow bars under "Manif", "Regul." and "Lambda", fed from their rows.
struct NarrowBar {
  int bar = 0;
  int row = 0;
};
constexpr std::array<NarrowBar, 3> kNarrowBars{{{1106, 13}, {1107, 14}, {1108, 18}}};

constexpr int kTimeBarsMax = 65535;
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kMagenta{255, 0, 255};
constexpr Colour kYellow{255, 255, 0};

void SetupBarRun(Desktop& desktop, WindowRef window, int first, int last, Colour colour) {
  for (int bar = first; bar <= last; ++bar) {
    desktop.SetBarRange(window, bar, 0, kTimeBarsMax);
  }
  for (int bar = first; bar <= last; ++bar) {
    desktop.SetBarColour(window, bar, colour);
  }
}

}  // namespace

void SetupBars(Desktop& desktop, WindowRef window) {
  SetupBarRun(desktop, window, 1003, 1007, kRed);
  SetupBarRun(desktop, window, 1008, 1011, kGreen);
  desktop.SetBarRange(window, 1106, 0, 1000);
  desktop.SetBarRange(window, 1107, 1000, 2500);
  desktop.SetBarColour(window, 1107, kMagenta);
  desktop.SetBarRange(window, 1108, 0, 1000);
  desktop.SetBarColour(window, 1108, kYellow);
}

void ShowLiveValues(const LiveValueTable& live, Desktop& desktop, WindowRef window) {
  for (std::size_t row = 0; row < kLiveRowsShown.size(); ++row) {
    const LiveRow& shown = kLiveRowsShown[row];
    const std::uint16_t value = live.values[row];
    if (shown.form == Form::Time) {
      const std::string text = InjectionTimeText(value);
      desktop.SetBarPosition(window, shown.bar, value);
      desktop.SetText(window, shown.edit, text);
    }
  }
  for (std::size_t row = 0; row < kLiveRowsShown.size(); ++row) {
    if (kLiveRowsShown[row].form == Form::Integer) {
      desktop.SetText(window, kLiveRowsShown[row].edit, std::to_string(live.values[row]));
    }
  }
  for (const NarrowBar& narrow : kNarrowBars) {
    desktop.SetBarPosition(window, narrow.bar, live.values[narrow.row]);
  }
}

void ShowStaleValues(Desktop& desktop, WindowRef window) {
  for (const LiveRow& shown : kLiveRowsShown) {
    if (shown.form == Form::Hidden) {
      continue;
    }
    desktop.SetText(window, shown.edit, kStaleText);
    if (shown.bar != 0) {
      desktop.SetBarPosition(window, shown.bar, 0);
    }
  }
  for (const NarrowBar& narrow : kNarrowBars) {
    desktop.SetBarPosition(window, narrow.bar, 0);  // below every range: an empty bar
  }
  desktop.SetText(window, kStatusEdit, kStaleText);
}

bool LiveValuesStale(const Connection& connection) {
  switch (connection.state) {
    case LinkState::Answering:
      return false;
    case LinkState::Waiting:  // open: stale until the first frame since the open
      return connection.counters.framesTaken == 0;
    case LinkState::NoPort:
    case LinkState::CannotOpen:
    case LinkState::Silent:
    case LinkState::Removed:
      break;
  }
  return true;
}

void ShowParameterValues(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  for (int i = 0; i <= kLastWritableRegister - kFirstImageRegister; ++i) {
    desktop.SetText(window, kFirstParameterEdit + i, std::to_string(image.values[i]));
  }
}

void ShowStatusText(std::uint16_t status, Desktop& desktop, WindowRef window) {
  desktop.SetText(window, kStatusEdit, StatusText(status));
}

}  // namespace zav
