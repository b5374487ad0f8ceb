#pragma once
// The desktop layer on virtual time. Modal loops deliver the timers of every open dialog
// (nested loops included) and the scripted user's actions, in time order; message boxes and
// file dialogs take their answers from the script and stay open for the scripted time while
// the timers behind them keep firing.

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "hosts/headless/dialog_record.h"
#include "hosts/headless/recording_canvas.h"
#include "hosts/headless/scripted_user.h"
#include "hosts/headless/virtual_clock.h"
#include "platform/desktop.h"

namespace zav::headless {

class HeadlessDesktop : public Desktop {
 public:
  explicit HeadlessDesktop(VirtualClock& clock);

  // The script.
  void QueueMessageAnswer(MessageAnswer answer, Micros after = 0);
  void QueueFileAnswer(std::optional<std::string> path, Micros after = 0);
  // Runs `action` inside whichever modal loop is running when its time has come.
  void At(Micros time, std::function<void()> action);
  // A loop that would have to wait beyond this time fails with ScriptError (us).
  void SetTimeLimit(Micros limit) { timeLimit_ = limit; }

  // What a user does, right now: a click on a button or menu item, the close box.
  void Press(int templateId, int commandId, int code = 0);
  // A trackbar notification; set the slider's position first with SetSliderPosition.
  void Scroll(int templateId, int controlId, int code = 0);
  void RequestClose(int templateId);
  // Chooses a menu item the program added; fails unless it exists and is enabled.
  void ChooseAddedItem(int templateId, int commandId);
  // A click on the status line; fails unless the window shows one.
  void ClickStatusLine(int templateId);

  // Chart controls (see headless_chart_controls.cpp). A control measures 2 px per dialog
  // unit each way until resized.
  void ResizeControl(int templateId, int controlId, PixelSize size);
  void TurnWheel(int templateId, int controlId, int notches);
  void Click(int templateId, int controlId, PixelPoint at);
  void PressKey(int templateId, int controlId, Key key);
  // A check box clicked: it flips, then the dialog gets the command.
  void ClickCheckBox(int templateId, int controlId);
  // The user moves a scroll bar to `position` by `code`.
  void MoveScrollBar(int templateId, int controlId, ScrollCode code, int position);
  const std::vector<SavedPicture>& SavedPictures() const { return pictures_; }

  // What the tests look at.
  const DialogRecord* Newest(int templateId) const;
  std::vector<const DialogRecord*> DialogsOf(int templateId) const;
  const ControlState& Control(int templateId, int controlId) const;
  const std::vector<MessageRecord>& Messages() const { return messages_; }
  const std::vector<FileDialogRecord>& FileDialogs() const { return fileDialogs_; }
  Micros Now() const { return clock_.Now(); }

  // Desktop.
  int RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override;
  void EndDialog(WindowRef window, int result) override;
  void SetTimer(WindowRef window, int timerId, int periodMs) override;
  void KillTimer(WindowRef window, int timerId) override;
  void SetText(WindowRef window, int controlId, std::string_view text) override;
  std::string GetText(WindowRef window, int controlId) override;
  void SetBarRange(WindowRef window, int controlId, int low, int high) override;
  void SetBarPosition(WindowRef window, int controlId, int position) override;
  void SetBarColour(WindowRef window, int controlId, Colour colour) override;
  void SetSliderRange(WindowRef window, int controlId, int low, int high) override;
  void SetSliderPosition(WindowRef window, int controlId, int position) override;
  int GetSliderPosition(WindowRef window, int controlId) override;
  void AddToolbarButtons(WindowRef window, int controlId,
                         std::span<const ToolbarButton> buttons) override;
  void AddListEntry(WindowRef window, int controlId, std::string_view entry) override;
  void SelectListEntry(WindowRef window, int controlId, int index) override;
  int SelectedListEntry(WindowRef window, int controlId) override;
  MessageAnswer ShowMessage(WindowRef owner, std::string_view text, std::string_view caption,
                            MessageButtons buttons, MessageIcon icon) override;
  // Asks `over` after every event delivered behind the box; closed by it, the box is
  // recorded as such and the scripted answer is spent.
  MessageAnswer ShowMessageUntil(WindowRef owner, std::string_view text, std::string_view caption,
                                 MessageButtons buttons, MessageIcon icon,
                                 const std::function<bool()>& over) override;
  bool AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                 std::string_view goOnLabel, MessageIcon icon) override;
  // Scripted Yes chooses the action, Ok the OK button; recorded as an OK box with the label.
  bool NoticeWithAction(WindowRef owner, std::string_view text, std::string_view caption,
                        std::string_view actionLabel, MessageIcon icon) override;
  std::int64_t NowMs() override { return clock_.Now() / kMillisecond; }
  std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                              const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFileToSave(WindowRef owner,
                                              const FileDialogOptions& options) override;
  Canvas& CanvasOf(WindowRef window) override;
  WindowRef OpenWindow(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override;
  void RaiseWindow(WindowRef window) override;
  void SetTitle(WindowRef window, std::string_view title) override;
  void ShowControl(WindowRef window, int controlId, bool shown) override;
  void EnableControl(WindowRef window, int controlId, bool enabled) override;
  Canvas& ControlCanvas(WindowRef window, int controlId) override;
  void Redraw(WindowRef window, int controlId) override;
  void RedrawPart(WindowRef window, int controlId, PixelBox part) override;
  void ScrollPart(WindowRef window, int controlId, PixelBox box, int dx) override;
  PixelSize ControlSize(WindowRef window, int controlId) override;
  void SetChecked(WindowRef window, int controlId, bool checked) override;
  bool IsChecked(WindowRef window, int controlId) override;
  void SetScrollBar(WindowRef window, int controlId, ScrollBarState state) override;
  int GetScrollPosition(WindowRef window, int controlId) override;
  void SetTable(WindowRef window, int controlId, const TableText& table) override;
  std::string SavePicture(const std::string& path, PixelSize size,
                          const std::function<void(Canvas&)>& draw) override;
  void SetStatusLine(WindowRef window, std::string_view text) override;
  void SetStatusSegments(WindowRef window, std::span<const std::string> segments) override;
  void AddMenuItem(WindowRef window, std::string_view menuTitle, int commandId,
                   std::string_view text) override;
  void SetMenuItemKey(WindowRef window, int commandId, std::string_view key) override;
  void SetMenuItemChecked(WindowRef window, int commandId, bool checked) override;
  void SetMenuItemEnabled(WindowRef window, int commandId, bool enabled) override;

 private:
  DialogRecord& Record(WindowRef window);
  AddedMenuItem& AddedItemOf(WindowRef window, int commandId);
  ControlState& ControlOf(WindowRef window, int controlId);
  DialogRecord* NewestOpen(int templateId);
  // Delivers events in time order until `done` holds or `wakeAt` has come.
  void RunLoop(const std::function<bool()>& done, std::optional<Micros> wakeAt);
  bool DispatchNext(std::optional<Micros> wakeAt);
  void Deliver(DialogRecord& record, const DialogEvent& event);
  // Paints the canvas controls Redraw asked for.
  void PaintAsked(DialogRecord& record);
  void AskPaint(WindowRef window, int controlId, std::optional<PixelBox> part);
  DialogRecord& OpenRecord(int templateId, const char* action);
  DialogRecord& NewRecord(const DialogTemplate& dialog, WindowRef owner, DialogProc proc);
  std::optional<std::string> AskFile(bool save, WindowRef owner, const FileDialogOptions& options);

  VirtualClock& clock_;
  ScriptedUser user_;
  Micros timeLimit_ = 3600 * kSecond;
  int nextWindowId_ = 1;
  std::uint64_t nextTimerOrder_ = 0;
  std::vector<std::unique_ptr<DialogRecord>> dialogs_;  // every dialog ever opened
  std::vector<MessageRecord> messages_;
  std::vector<FileDialogRecord> fileDialogs_;
  std::unique_ptr<RecordingCanvas> canvas_;
  std::vector<DrawOp> nowhere_;  // what a control's canvas draws outside its Paint
  std::vector<SavedPicture> pictures_;
  int delivering_ = 0;  // events being handled, nested
  // The canvas control whose Paint is being delivered: only it draws into its record.
  std::optional<std::pair<WindowRef, int>> painting_;
};

}  // namespace zav::headless
