// Windows that are not modal on the Windows host, in real windows under the system's own
// message loop: the owner keeps running (its timers, its keys) while they are open, each
// gets its own events and keys, one that ends goes without ending the others, and a modal
// dialog that ends takes the windows it owns with it.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "hosts/win32/win32_desktop.h"

namespace zav {
namespace {

constexpr int kTimer = 7;
constexpr int kTickMs = 15;  // how often both timers fire; only their order is looked at
constexpr std::array<ControlTemplate, 1> kButton{
    Control(10, ControlKind::PushButton, 4, 4, 40, 14, "Go")};
constexpr DialogTemplate kOwnerTemplate{
    .id = 9101, .title = "Owner", .rect = {10, 10, 120, 60}, .controls = kButton};
constexpr DialogTemplate kWindowTemplate{
    .id = 9102, .title = "Not modal", .rect = {40, 40, 100, 50}, .controls = kButton};

struct WindowSeen {
  WindowRef ref;
  HWND window = nullptr;
  int ticks = 0;
  int closes = 0;
  int ownerTicksAtOpen = 0;
};

TEST(Win32ModelessWindow, TheOwnerRunsBesideItsWindowsWhichEndAloneOrWithTheirOwner) {
  Win32Desktop desktop;
  WindowSeen first;
  WindowSeen second;
  int ownerTicks = 0;
  bool ownerEnabledWhileOpen = false;
  bool firstGoneWhileOwnerRuns = false;
  bool secondStayedWhenFirstEnded = false;
  const auto open = [&desktop, &ownerTicks](WindowRef owner, WindowSeen& seen) {
    seen.ownerTicksAtOpen = ownerTicks;
    seen.ref = desktop.OpenWindow(kWindowTemplate, owner,
                                  [&seen](Desktop& d, WindowRef self, const DialogEvent& event) {
                                    if (event.message == DialogMessage::Init) {
                                      d.SetTimer(self, kTimer, kTickMs);
                                    } else if (event.message == DialogMessage::Timer) {
                                      ++seen.ticks;
                                    } else if (event.message == DialogMessage::Close) {
                                      ++seen.closes;
                                      d.EndDialog(self, 0);
                                    }
                                    return true;
                                  });
    seen.window = static_cast<Win32Desktop&>(desktop).WindowOf(seen.ref);
  };
  const int result = desktop.RunDialog(
      kOwnerTemplate, WindowRef{}, [&](Desktop& d, WindowRef self, const DialogEvent& event) {
        if (event.message == DialogMessage::Init) {
          d.SetTimer(self, kTimer, kTickMs);
          open(self, first);
          open(self, second);
          ownerEnabledWhileOpen = IsWindowEnabled(desktop.WindowOf(self)) != FALSE;
        } else if (event.message == DialogMessage::Timer) {
          ++ownerTicks;
          if (first.ticks >= 3 && first.closes == 0) {
            // The user closes the first window with its close box.
            PostMessageW(first.window, WM_CLOSE, 0, 0);
          }
          if (first.closes == 1 && !firstGoneWhileOwnerRuns && IsWindow(first.window) == FALSE) {
            firstGoneWhileOwnerRuns = true;
            secondStayedWhenFirstEnded =
                IsWindow(second.window) != FALSE && IsWindowVisible(second.window) != FALSE;
          }
          if (firstGoneWhileOwnerRuns && second.ticks >= 6) {
            d.EndDialog(self, 42);
          }
        }
        return true;
      });

  EXPECT_EQ(result, 42);
  ASSERT_NE(first.window, nullptr) << "no window opened";
  EXPECT_TRUE(ownerEnabledWhileOpen) << "a window that is not modal disabled its owner";
  EXPECT_GE(first.ticks, 3) << "its timer reached it through the owner's loop";
  EXPECT_EQ(first.closes, 1);
  EXPECT_TRUE(firstGoneWhileOwnerRuns) << "the ended window was not destroyed";
  EXPECT_TRUE(secondStayedWhenFirstEnded) << "one window's end took another with it";
  EXPECT_GT(ownerTicks, first.ownerTicksAtOpen + 3) << "the owner stopped while they were open";
  // The owner's end took the second window: no window is left, and it is no longer known.
  EXPECT_EQ(IsWindow(second.window), FALSE);
  EXPECT_EQ(desktop.WindowOf(second.ref), nullptr);
  EXPECT_EQ(second.closes, 0) << "a window gone with its owner is not asked";
}

}  // namespace
}  // namespace zav
