// The console host (zavctl's desktop layer): timers keep running through nested modal
// loops, as the poll cycle needs; the no-progress limit closes every dialog innermost first,
// as Cancel would; progress on standard error. On a virtual clock, exactly; and in real time
// on the system's own loop (Qt Core on Linux, the Windows API), with generous bounds and
// nothing timed.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "hosts/console/console_desktop.h"
#include "hosts/console/console_program.h"
#include "hosts/console/progress_line.h"
#include "resources/transfer_template.h"

namespace zav {
namespace {

constexpr DialogTemplate kOuter{.id = 1, .title = "outer"};
constexpr DialogTemplate kInner{.id = 2, .title = "inner"};
constexpr int kTickMs = 10;

// A scratch file for what a host prints, closed with the test.
struct Scratch {
  std::FILE* file = std::tmpfile();
  Scratch() = default;
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() { std::fclose(file); }
};

std::string Contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    text += static_cast<char>(c);
  }
  return text;
}

// A dialog that ticks every 10 ms and closes (result 0) on Close, noting events in `log`.
DialogProc Ticking(std::vector<std::string>& log, const std::string& name,
                   std::function<void(Desktop&, WindowRef)> onTick) {
  return [&log, name, onTick](Desktop& desktop, WindowRef window, const DialogEvent& event) {
    switch (event.message) {
      case DialogMessage::Init:
        desktop.SetTimer(window, 1, kTickMs);
        return true;
      case DialogMessage::Timer:
        onTick(desktop, window);
        return true;
      case DialogMessage::Close:
        log.push_back(name + " closed");
        desktop.EndDialog(window, 0);
        return true;
      default:
        return false;
    }
  };
}

TEST(ConsoleDesktop, TheOuterTimerKeepsTickingInsideADialogItsOwnTickOpened) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file);
  desktop.SetNoProgressLimit(60000);
  std::vector<std::string> log;
  int outerTicks = 0;
  int innerResult = -1;
  const int outerResult = desktop.RunDialog(
      kOuter, WindowRef{}, Ticking(log, "outer", [&](Desktop& d, WindowRef outer) {
        if (++outerTicks == 3) {
          // Opened from inside the outer timer's handler, like the write from a poll tick.
          innerResult =
              d.RunDialog(kInner, outer, Ticking(log, "inner", [&](Desktop& in, WindowRef w) {
                            if (outerTicks >= 8) {
                              in.EndDialog(w, 1);
                            }
                          }));
          d.EndDialog(outer, 7);
        }
      }));
  EXPECT_EQ(innerResult, 1);
  EXPECT_EQ(outerResult, 7);
  EXPECT_GE(outerTicks, 8);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(desktop.Stop(), ConsoleStop::None);
}

TEST(ConsoleDesktop, NoProgressClosesEveryDialogInnermostFirstAndNothingNewStarts) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file);
  desktop.SetNoProgressLimit(100);
  std::vector<std::string> log;
  int innerResult = -1;
  int laterResult = -1;
  bool opened = false;
  desktop.RunDialog(kOuter, WindowRef{}, Ticking(log, "outer", [&](Desktop& d, WindowRef outer) {
                      if (!opened) {
                        opened = true;
                        innerResult = d.RunDialog(
                            kInner, outer, Ticking(log, "inner", [](Desktop&, WindowRef) {}));
                        // Once stopped, a dialog opened afterwards closes at once.
                        laterResult = d.RunDialog(
                            kInner, outer, Ticking(log, "later", [](Desktop&, WindowRef) {}));
                      }
                    }));
  EXPECT_EQ(desktop.Stop(), ConsoleStop::TimedOut);
  EXPECT_EQ(innerResult, 0);
  EXPECT_EQ(laterResult, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"inner closed", "outer closed", "later closed"}));
}

TEST(ConsoleDesktop, AMovingBarKeepsTheLimitAway) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file);
  desktop.SetNoProgressLimit(200);
  std::vector<std::string> log;
  int position = 0;
  const int result = desktop.RunDialog(
      TransferTemplate(), WindowRef{}, Ticking(log, "transfer", [&](Desktop& d, WindowRef w) {
        d.SetBarPosition(w, kTransferProgressBar, ++position / 5);  // a step every 50 ms
        if (position == 100) {  // about 1 s, five times the limit
          d.EndDialog(w, 1);
        }
      }));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(desktop.Stop(), ConsoleStop::None);
}

// Time that passes only when the host waits, by what it asked for and `lateMs` more (a
// real system wakes a little late), or while a handler is busy (Pass).
class VirtualClock final : public console::ConsoleClock {
 public:
  explicit VirtualClock(int lateMs = 0) : lateMs_(lateMs) {}
  std::int64_t NowMs() override { return nowMs_; }
  bool Wait(int ms, std::FILE* /*answers*/) override {
    nowMs_ += ms + lateMs_;
    return false;
  }
  void Pass(int ms) { nowMs_ += ms; }

 private:
  int lateMs_;
  std::int64_t nowMs_ = 0;
};

TEST(ConsoleDesktopOnAVirtualClock, EveryOpenDialogTicksOnItsOwnPeriodThroughNestedLoops) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file, stdin, std::make_unique<VirtualClock>());
  std::vector<std::int64_t> outerTicksMs;
  std::vector<std::int64_t> innerTicksMs;
  const auto outer = [&](Desktop& d, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      d.SetTimer(window, 1, 150);
    } else if (event.message == DialogMessage::Timer) {
      outerTicksMs.push_back(d.NowMs());
      if (outerTicksMs.size() == 2) {  // a modal dialog from inside the tick, as a transfer
        d.RunDialog(kInner, window, [&](Desktop& in, WindowRef inner, const DialogEvent& e) {
          if (e.message == DialogMessage::Init) {
            in.SetTimer(inner, 1, 20);
            in.SetTimer(inner, 2, 0);  // raised to the shortest period, 10 ms
          } else if (e.message == DialogMessage::Timer && e.id == 2) {
            in.KillTimer(inner, 2);
            innerTicksMs.push_back(-in.NowMs());
          } else if (e.message == DialogMessage::Timer) {
            innerTicksMs.push_back(in.NowMs());
            if (in.NowMs() >= 400) {
              in.EndDialog(inner, 1);
            }
          }
          return true;
        });
      } else if (outerTicksMs.size() == 4) {
        d.EndDialog(window, 2);
      }
    }
    return true;
  };
  EXPECT_EQ(desktop.RunDialog(kOuter, WindowRef{}, outer), 2);
  EXPECT_EQ(outerTicksMs, (std::vector<std::int64_t>{150, 300, 450, 600}));
  std::vector<std::int64_t> expectedInner{-310};
  for (std::int64_t at = 320; at <= 400; at += 20) {
    expectedInner.push_back(at);
  }
  EXPECT_EQ(innerTicksMs, expectedInner);
  EXPECT_EQ(desktop.Stop(), ConsoleStop::None);
}

TEST(ConsoleDesktopOnAVirtualClock, ADialogReturnsTheMomentItEndsAndTheOneBeneathTicksOnTime) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file, stdin, std::make_unique<VirtualClock>());
  std::vector<std::int64_t> returnedAtMs;
  const auto outer = [&](Desktop& d, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      d.SetTimer(window, 1, 150);
    } else if (event.message == DialogMessage::Timer && returnedAtMs.empty()) {
      d.RunDialog(kInner, window, [](Desktop& in, WindowRef inner, const DialogEvent& e) {
        if (e.message == DialogMessage::Init) {
          in.SetTimer(inner, 1, 20);
        } else if (e.message == DialogMessage::Timer) {
          in.EndDialog(inner, 1);  // a transfer that took one tick
        }
        return true;
      });
      returnedAtMs.push_back(d.NowMs());
    } else if (event.message == DialogMessage::Timer) {
      returnedAtMs.push_back(d.NowMs());
      d.EndDialog(window, 0);
    }
    return true;
  };
  desktop.RunDialog(kOuter, WindowRef{}, outer);
  EXPECT_EQ(returnedAtMs, (std::vector<std::int64_t>{170, 300}));
}

// A 20 ms upload tick that woke 1 ms late each time and came due 20 ms after it ran would
// tick every 21 ms: a block answered in 7 ticks would take 147 ms instead of 140.
TEST(ConsoleDesktopOnAVirtualClock,
     LateWakeUpsDoNotAddUpAndTheTicksABusyHandlerMissedComeOnceAtOnce) {
  const Scratch printed;
  auto clock = std::make_unique<VirtualClock>(1);
  VirtualClock& time = *clock;
  ConsoleDesktop desktop(printed.file, stdin, std::move(clock));
  std::vector<std::int64_t> ticksMs;
  desktop.RunDialog(kOuter, WindowRef{}, [&](Desktop& d, WindowRef window, const DialogEvent& e) {
    if (e.message == DialogMessage::Init) {
      d.SetTimer(window, 1, 20);
    } else if (e.message == DialogMessage::Timer) {
      ticksMs.push_back(d.NowMs());
      if (ticksMs.size() == 3) {
        time.Pass(50);  // busy past the ticks due at 80 and 100 ms: one comes for both
      } else if (ticksMs.size() == 6) {
        d.EndDialog(window, 0);
      }
    }
    return true;
  });
  EXPECT_EQ(ticksMs, (std::vector<std::int64_t>{21, 41, 61, 112, 121, 141}));
}

TEST(ConsoleDesktopOnAVirtualClock, TheLimitCountsFromTheLastProgressAndClosesWithinAWatch) {
  const Scratch printed;
  ConsoleDesktop desktop(printed.file, stdin, std::make_unique<VirtualClock>());
  desktop.SetNoProgressLimit(1000);
  std::int64_t closedAtMs = -1;
  const int result = desktop.RunDialog(
      TransferTemplate(), WindowRef{}, [&](Desktop& d, WindowRef window, const DialogEvent& e) {
        if (e.message == DialogMessage::Init) {
          d.SetTimer(window, 1, 100);
        } else if (e.message == DialogMessage::Timer && d.NowMs() <= 700) {
          d.SetBarPosition(window, kTransferProgressBar, static_cast<int>(d.NowMs()));
        } else if (e.message == DialogMessage::Close) {
          closedAtMs = d.NowMs();
          d.EndDialog(window, 9);
        }
        return true;
      });
  EXPECT_EQ(result, 9);
  EXPECT_EQ(desktop.Stop(), ConsoleStop::TimedOut);
  // Progress last at 700 ms: the limit passes at 1700 ms, seen by the next look (every
  // 50 ms at most), never before.
  EXPECT_GT(closedAtMs, 1700);
  EXPECT_LE(closedAtMs, 1750);
}

TEST(ProgressLine, OffATerminalEachTenthIsOneLineAndOnATerminalTheBarIsRedrawnInPlace) {
  const Scratch logFile;
  std::FILE* log = logFile.file;
  console::ProgressLine lines(log, false);
  lines.Start("Reading", 0, 23);
  for (int position = 0; position <= 23; ++position) {
    lines.Show(position);
    lines.Show(position);
  }
  lines.Finish();
  std::string expected;
  for (int percent = 0; percent <= 100; percent += 10) {
    expected += "Reading: " + std::to_string(percent) + "%\n";
  }
  EXPECT_EQ(Contents(log), expected);

  const Scratch terminalFile;
  std::FILE* terminal = terminalFile.file;
  console::ProgressLine bar(terminal, true);
  bar.Start("Uploading", 0, 241);
  bar.Show(1);
  bar.Show(241);
  bar.Finish();
  const std::string drawn = Contents(terminal);
  EXPECT_EQ(drawn.front(), '\r');
  EXPECT_NE(drawn.find("Uploading [" + std::string(40, '#') + "] 100%\n"), std::string::npos)
      << drawn;
}

}  // namespace
}  // namespace zav

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return zav::console::RunConsoleProgram(
      argc, argv, [](const std::vector<std::string>&) { return RUN_ALL_TESTS(); });
}
