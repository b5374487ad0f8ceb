// The headless host's modal loops, timers, scripted user and virtual line.

#include <gtest/gtest.h>

#include <vector>

#include "hosts/headless/headless_desktop.h"
#include "hosts/headless/virtual_serial_device.h"

namespace zav::headless {
namespace {

constexpr int kOuter = 1;
constexpr int kInner = 2;

const DialogTemplate& Template(int id) {
  static const std::array<ControlTemplate, 1> kControls{
      ControlTemplate{10, ControlKind::ProgressBar, {0, 0, 10, 10}, ""}};
  static const DialogTemplate kOuterTemplate{.id = kOuter, .controls = kControls};
  static const DialogTemplate kInnerTemplate{.id = kInner, .controls = kControls};
  return id == kOuter ? kOuterTemplate : kInnerTemplate;
}

// A dialog that counts its timer events and ends on the close box.
struct TimedDialog {
  int periodMs = 150;
  std::vector<Micros> ticks;
  std::function<void(Desktop&, WindowRef)> onTick;

  DialogProc Proc(VirtualClock& clock) {
    return [this, &clock](Desktop& desktop, WindowRef window, const DialogEvent& event) {
      if (event.message == DialogMessage::Init) {
        desktop.SetTimer(window, 1, periodMs);
      } else if (event.message == DialogMessage::Timer) {
        ticks.push_back(clock.Now());
        if (onTick) {
          onTick(desktop, window);
        }
      } else if (event.message == DialogMessage::Close) {
        desktop.EndDialog(window, 7);
      }
      return true;
    };
  }
};

class HeadlessDesktopTest : public ::testing::Test {
 protected:
  VirtualClock clock;
  HeadlessDesktop desktop{clock};
};

TEST_F(HeadlessDesktopTest, TimerFiresAtItsPeriodUntilTheDialogEnds) {
  TimedDialog outer;
  desktop.At(1000 * kMillisecond, [&] { desktop.RequestClose(kOuter); });
  EXPECT_EQ(desktop.RunDialog(Template(kOuter), {}, outer.Proc(clock)), 7);
  ASSERT_EQ(outer.ticks.size(), 6u);
  EXPECT_EQ(outer.ticks[0], 150 * kMillisecond);
  EXPECT_EQ(outer.ticks[5], 900 * kMillisecond);
  EXPECT_EQ(desktop.Newest(kOuter)->closedAt, 1000 * kMillisecond);
}

TEST_F(HeadlessDesktopTest, TickThatOpensADialogKeepsTickingInsideIt) {
  TimedDialog outer;
  TimedDialog inner;
  inner.periodMs = 200;
  outer.onTick = [&](Desktop& desk, WindowRef window) {
    if (outer.ticks.size() == 2) {
      desktop.At(clock.Now() + 1000 * kMillisecond, [&] { desktop.RequestClose(kInner); });
      desk.RunDialog(Template(kInner), window, inner.Proc(clock));
    }
  };
  desktop.At(2000 * kMillisecond, [&] { desktop.RequestClose(kOuter); });
  desktop.RunDialog(Template(kOuter), {}, outer.Proc(clock));
  // The outer timer keeps its 150 ms phase inside the nested loop opened by its own tick.
  EXPECT_EQ(outer.ticks.size(), 13u);
  for (std::size_t i = 0; i < outer.ticks.size(); ++i) {
    EXPECT_EQ(outer.ticks[i], static_cast<Micros>(i + 1) * 150 * kMillisecond);
  }
  EXPECT_EQ(inner.ticks.size(), 4u)
      << "at 500, 700, 900 and 1100 ms; the close at 1300 comes first";
}

TEST_F(HeadlessDesktopTest, MessageBoxStaysOpenForItsScriptedTimeWithTicksBehindIt) {
  TimedDialog outer;
  desktop.QueueMessageAnswer(MessageAnswer::Cancel, 600 * kMillisecond);
  MessageAnswer answer = MessageAnswer::Ok;
  desktop.At(100 * kMillisecond, [&] {
    answer = desktop.ShowMessage({}, "Read from ZAV?", "question", MessageButtons::OkCancel,
                                 MessageIcon::Information);
  });
  desktop.At(1000 * kMillisecond, [&] { desktop.RequestClose(kOuter); });
  desktop.RunDialog(Template(kOuter), {}, outer.Proc(clock));
  EXPECT_EQ(answer, MessageAnswer::Cancel);
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].shownAt, 100 * kMillisecond);
  EXPECT_EQ(desktop.Messages()[0].closedAt, 700 * kMillisecond);
  EXPECT_EQ(outer.ticks.size(), 6u) << "ticks at 150 to 900 ms, four of them behind the box";
}

TEST_F(HeadlessDesktopTest, UnscriptedMessageBoxFailsInsteadOfHanging) {
  EXPECT_THROW(desktop.ShowMessage({}, "text", "caption", MessageButtons::Ok, MessageIcon::None),
               ScriptError);
}

TEST_F(HeadlessDesktopTest, AnswerThatTheBoxDoesNotOfferIsAScriptError) {
  desktop.QueueMessageAnswer(MessageAnswer::Yes);
  EXPECT_THROW(
      desktop.ShowMessage({}, "text", "caption", MessageButtons::OkCancel, MessageIcon::None),
      ScriptError);
}

TEST_F(HeadlessDesktopTest, LoopWithNothingToWaitForFails) {
  const auto proc = [](Desktop&, WindowRef, const DialogEvent&) { return true; };
  EXPECT_THROW(desktop.RunDialog(Template(kOuter), {}, proc), ScriptError);
}

TEST_F(HeadlessDesktopTest, LoopPastTheTimeLimitFails) {
  TimedDialog outer;
  desktop.SetTimeLimit(10 * kSecond);
  EXPECT_THROW(desktop.RunDialog(Template(kOuter), {}, outer.Proc(clock)), ScriptError);
  EXPECT_LE(clock.Now(), 10 * kSecond);
}

TEST_F(HeadlessDesktopTest, ProgressBarKeepsItsPositionWithinRange) {
  WindowRef dialog;
  desktop.At(10 * kMillisecond, [&] {
    desktop.SetBarRange(dialog, 10, 0, 23);
    desktop.SetBarPosition(dialog, 10, 30);
    desktop.RequestClose(kOuter);
  });
  TimedDialog outer;
  DialogProc proc = outer.Proc(clock);
  desktop.RunDialog(Template(kOuter), {},
                    [&](Desktop& desk, WindowRef window, const DialogEvent& event) {
                      dialog = window;
                      return proc(desk, window, event);
                    });
  EXPECT_EQ(desktop.Control(kOuter, 10).barPosition, 23);
  EXPECT_THROW(desktop.Control(kOuter, 11), ScriptError);
}

// The virtual line to an in-process controller.
class VirtualLineTest : public ::testing::Test {
 protected:
  VirtualLineTest() { ports.lines["COM1"] = &line; }

  VirtualClock clock;
  sim::Controller controller;
  VirtualLine line{clock, controller};
  VirtualPorts ports;
  VirtualSerialDevice device{clock, ports};
};

TEST_F(VirtualLineTest, ReadOnAQuietLineWaitsOneMillisecond) {
  ASSERT_TRUE(device.Open("COM1"));
  EXPECT_FALSE(device.ReadByte());
  EXPECT_EQ(clock.Now(), 1 * kMillisecond);
}

TEST_F(VirtualLineTest, EachByteTakesItsLineTimeInEachDirection) {
  ASSERT_TRUE(device.Open("COM1"));
  const std::uint8_t query[] = {0x02, 0x51, 0x50, 0x00, 0x00, 0xA3, 0x0D};
  device.Write(query);
  std::vector<std::uint8_t> answer;
  while (answer.size() < 6 && clock.Now() < kSecond) {
    if (const auto byte = device.ReadByte()) {
      answer.push_back(*byte);
    }
  }
  ASSERT_EQ(answer.size(), 6u);
  EXPECT_EQ(answer[1], 80);
  // 7 bytes out and 6 back, each 1042 us on the wire.
  EXPECT_GE(clock.Now(), 13 * sim::kByteTime);
  EXPECT_EQ(line.SentByProgram().back().at, 7 * sim::kByteTime);
}

TEST_F(VirtualLineTest, PortIsHeldByOneDeviceAtATime) {
  VirtualSerialDevice second{clock, ports};
  ASSERT_TRUE(device.Open("COM1"));
  EXPECT_FALSE(second.Open("COM1"));
  EXPECT_FALSE(second.Open("COM2"));
  device.Close();
  EXPECT_TRUE(second.Open("COM1"));
}

TEST_F(VirtualLineTest, ClosedDeviceReadsNothingAtOnceAndDropsWrites) {
  const std::uint8_t bytes[] = {1, 2, 3};
  device.Write(bytes);
  EXPECT_FALSE(device.ReadByte());
  EXPECT_EQ(clock.Now(), 0);
  EXPECT_TRUE(line.SentByProgram().empty());
}

}  // namespace
}  // namespace zav::headless
