#include "tests/qt/shown_dialog.h"

namespace zav::test {

namespace {
constexpr int kShownTimerId = 1;
constexpr int kShownDelayMs = 20;
}  // namespace

void ShownDialogTest::RunShown(const DialogTemplate& dialog,
                               const std::function<void(WindowRef)>& inspect) {
  script_ = std::make_unique<DialogScript>(
      [&inspect](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        if (event.message == DialogMessage::Init) {
          desktop.SetTimer(window, kShownTimerId, kShownDelayMs);
        } else if (event.message == DialogMessage::Timer && event.id == kShownTimerId) {
          desktop.KillTimer(window, kShownTimerId);
          inspect(window);
          desktop.EndDialog(window, 0);
        }
      });
  EXPECT_EQ(desktop_.RunDialog(dialog, {}, script_->Proc()), 0);
  EXPECT_FALSE(script_->TimedOut());
}

}  // namespace zav::test
