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

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

bool Within(const RECT& box, const RECT& area) {
  return box.left >= area.left && box.top >= area.top && box.right <= area.right &&
         box.bottom <= area.bottom;
}

// A main window laid out wider than the screen (as the main window is at 144 dpi on a
// 1,280-pixel screen) opens whole within the work area, its layout kept; windows that are not
// modal open each a step below and right of the last, never on top of it.
TEST(Win32WindowPlaces, AWindowTooWideFitsTheWorkAreaAndWindowsThatAreNotModalCascade) {
  const RECT work = WorkArea();
  // About 1.2 times the work area at 8 points and 96 dpi (7 pixels to 4 dialog units).
  const DialogRect wide{0, 0, static_cast<short>((work.right - work.left) * 4 * 12 / 70), 120};
  const std::array<ControlTemplate, 1> farRight{
      Control(11, ControlKind::PushButton, static_cast<short>(wide.width - 44), 4, 40, 14, "Far")};
  const DialogTemplate tooWide{.id = 9103, .title = "Too wide", .rect = wide, .controls = farRight};
  Win32Desktop desktop;
  RECT main{};
  RECT button{};
  std::array<RECT, 3> opened{};
  desktop.RunDialog(tooWide, WindowRef{}, [&](Desktop& d, WindowRef self, const DialogEvent& e) {
    if (e.message == DialogMessage::Init) {
      GetWindowRect(desktop.WindowOf(self), &main);
      GetWindowRect(GetDlgItem(desktop.WindowOf(self), 11), &button);
      for (RECT& box : opened) {
        const WindowRef window =
            d.OpenWindow(kWindowTemplate, self, [](auto&&...) { return true; });
        GetWindowRect(desktop.WindowOf(window), &box);
      }
      d.EndDialog(self, 0);
    }
    return true;
  });
  EXPECT_TRUE(Within(main, work)) << "the window reaches past the work area";
  EXPECT_TRUE(Within(button, main)) << "the control at its right edge was cut off";
  for (std::size_t index = 1; index < opened.size(); ++index) {
    EXPECT_TRUE(Within(opened[index], work));
    EXPECT_GT(opened[index].left, opened[index - 1].left);
    EXPECT_GT(opened[index].top, opened[index - 1].top);
  }
}

}  // namespace
}  // namespace zav
