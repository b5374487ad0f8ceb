// The whole program on the Qt host against zavsim, whose pseudo-terminal is pulled out for
// 3 s and plugged back in behind the same link while a block read runs: the status line
// says so, polling comes back by itself, the read ends with the simulator's values, and the
// poll tick keeps its pace throughout.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <chrono>
#include <filesystem>

#include "sim/controller.h"
#include "tests/e2e/program_run.h"
#include "tests/qt/zavsim_child.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kUnplugGiveUp = 120s;
constexpr auto kUnplugAfter = 6s;  // from zavsim's start
constexpr auto kReadBeforeUnplug = 500ms;
// A call that waits on the gone adapter holds the window for seconds; the tick's period is
// 150 ms. The bound between the two leaves room for a machine busy with other work, where a
// tick may start a few hundred ms late.
constexpr auto kLongestTickGap = 1s;
constexpr auto kResumeWithin = 2s;

class UnplugEndToEndTest : public ProgramRunTest {
 protected:
  bool Shows(const char* words) { return StatusLineText().find(words) != std::string::npos; }

  // Every tick, in the program: the gaps between ticks and when the link answered again.
  void WatchTicks() {
    auto showName = program_.link.hooks.showConfigName;
    program_.link.hooks.showConfigName = [this, showName] {
      const Clock::time_point now = Clock::now();
      if (lastTick_) {
        longestGap_ = std::max(longestGap_, now - *lastTick_);
      }
      lastTick_ = now;
      const LinkState state = program_.link.connection.state;
      removed_ = removed_ || state == LinkState::Removed;
      if (removed_ && !answeringAgain_ && state == LinkState::Answering) {
        answeringAgain_ = now;
      }
      if (showName) {
        showName();
      }
    };
  }

  std::optional<Clock::time_point> lastTick_;
  Clock::duration longestGap_{};
  bool removed_ = false;
  std::optional<Clock::time_point> answeringAgain_;
};

TEST_F(UnplugEndToEndTest, PollingAndABlockReadSurviveThreeSecondsUnplugged) {
  const std::filesystem::path link = dir_ / "zavsim-line";
  const Clock::time_point started = Clock::now();
  ZavsimChild simulator(ZAVSIM_PATH,
                        {"--link", link.string(), "--unplug-after", "6", "--unplug-for", "3"});
  ASSERT_TRUE(simulator.TerminalPath(20s)) << "zavsim did not start";
  SetUpProgram(link.string());
  WatchTicks();

  bool readStartedBeforeUnplug = false;
  bool sawRemoved = false;
  std::optional<Clock::time_point> linkBack;
  Run({{"the controller answering, shortly before the unplug",
        [&] {
          return Shows("controller answering") && OnPetrol() &&
                 Clock::now() - started >= kUnplugAfter - kReadBeforeUnplug;
        },
        [&] {
          readStartedBeforeUnplug = std::filesystem::exists(link);
          Command("Read from ZAV", {ClickOk()})();
        }},
       {"the status line telling the adapter is gone",
        [&] { return Shows("adapter removed, reconnecting"); }, [&] { sawRemoved = true; }},
       {"the link back",
        [&] {
          if (std::filesystem::exists(link)) {
            linkBack = Clock::now();
          }
          return linkBack.has_value();
        },
        [] {}},
       {"the read done and polling back",
        [&] { return Answered() && MainWindowIdle() && Shows("controller answering"); }, [] {}}},
      kUnplugGiveUp);

  EXPECT_TRUE(readStartedBeforeUnplug) << "the machine was too slow to start the read in time";
  EXPECT_TRUE(sawRemoved);
  ASSERT_TRUE(linkBack && answeringAgain_);
  const auto ms = [](Clock::duration span) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(span).count());
  };
  RecordProperty("resumed_after_ms", ms(*answeringAgain_ - *linkBack));
  RecordProperty("longest_tick_gap_ms", ms(longestGap_));
  EXPECT_LE(*answeringAgain_ - *linkBack, kResumeWithin);
  const sim::Controller factory{sim::ControllerOptions{}};
  for (std::uint8_t address = 80; address <= 94; ++address) {
    EXPECT_EQ(ImageValue(program_.link.image, address), factory.Register(address))
        << "register " << int{address};
  }
  EXPECT_LE(longestGap_, kLongestTickGap)
      << "longest gap between ticks: " << ms(longestGap_) << " ms";
}

}  // namespace
}  // namespace zav::test
