#include "hosts/console/console_desktop.h"

#include <algorithm>
#include <memory>
#include <span>
#include <utility>

#include "hosts/console/console_timers.h"
#include "hosts/console/interrupt_flag.h"
#include "hosts/console/terminal.h"

namespace zav {

namespace console {

struct OpenDialog {
  WindowRef ref;
  const DialogTemplate* dialogTemplate = nullptr;
  DialogProc proc;
  DialogTimers timers;
  bool ended = false;
  int result = 0;
  std::optional<int> barPosition;  // last position of its bar
};

}  // namespace console

namespace {

// Ctrl-C and the progress limit are looked at least this often (ms).
constexpr int kWatchPeriodMs = 50;

// Draws nothing: no dialog of the command line has a picture.
class NoCanvas final : public Canvas {
 public:
  void SetPen(Colour) override {}
  void Rectangle(int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void SetTextColour(Colour) override {}
  void Text(int, int, std::string_view) override {}
  void SetPenStyle(int, LineStyle) override {}
  void Polyline(std::span<const PixelPoint>) override {}
  void FillRectangle(PixelBox, Colour) override {}
  PixelSize MeasureText(std::string_view) override { return {}; }
  void PlacedText(TextPlace, std::string_view) override {}
  void ClipTo(PixelBox) override {}
  void Unclip() override {}
};

std::string_view Trimmed(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// Keeps the table of open dialogs right however RunDialog is left.
class OpenEntry {
 public:
  OpenEntry(std::vector<console::OpenDialog*>& open, console::OpenDialog* dialog)
      : open_(open), dialog_(dialog) {
    open_.push_back(dialog_);
  }
  ~OpenEntry() { open_.erase(std::find(open_.begin(), open_.end(), dialog_)); }
  OpenEntry(const OpenEntry&) = delete;
  OpenEntry& operator=(const OpenEntry&) = delete;

 private:
  std::vector<console::OpenDialog*>& open_;
  console::OpenDialog* dialog_;
};

bool IsProgressBar(const ControlTemplate& control) {
  return control.kind == ControlKind::ProgressBar;
}

bool HasProgressBar(const DialogTemplate& dialog) {
  return std::any_of(dialog.controls.begin(), dialog.controls.end(), IsProgressBar);
}

// A bar of a modal dialog is the progress of what it waits for, whichever dialog it is.
bool IsProgressBarOf(const console::OpenDialog* dialog, int controlId) {
  if (dialog == nullptr) {
    return false;
  }
  const std::span<const ControlTemplate> controls = dialog->dialogTemplate->controls;
  return std::any_of(controls.begin(), controls.end(), [controlId](const ControlTemplate& control) {
    return control.id == controlId && IsProgressBar(control);
  });
}

}  // namespace

ConsoleDesktop::ConsoleDesktop(std::FILE* progress, std::FILE* answers,
                               std::unique_ptr<console::ConsoleClock> clock)
    : progressStream_(progress),
      progress_(progress, console::IsTerminal(progress)),
      showProgress_(console::IsTerminal(progress)),
      clock_(std::move(clock)),
      answers_(answers),
      nowhere_(std::make_unique<NoCanvas>()) {
  NoteProgress();
}

ConsoleDesktop::~ConsoleDesktop() = default;

console::OpenDialog* ConsoleDesktop::Find(WindowRef window) const {
  for (console::OpenDialog* dialog : open_) {
    if (dialog->ref == window) {
      return dialog;
    }
  }
  return nullptr;
}

void ConsoleDesktop::Deliver(console::OpenDialog& dialog, const DialogEvent& event) {
  if (!dialog.ended) {
    dialog.proc(*this, dialog.ref, event);
  }
}

int ConsoleDesktop::RunDialog(const DialogTemplate& dialog, WindowRef /*owner*/, DialogProc proc) {
  console::OpenDialog open;
  open.ref = WindowRef{nextWindowId_++};
  open.dialogTemplate = &dialog;
  open.proc = std::move(proc);
  const OpenEntry entry(open_, &open);
  NoteProgress();
  Deliver(open, {DialogMessage::Init, 0, 0});
  if (stop_ != ConsoleStop::None) {
    Deliver(open, {DialogMessage::Close, 0, 0});  // nothing new may start once stopped
  }
  while (!open.ended) {
    Turn(nullptr, open.ended);
  }
  open.timers.KillAll();
  if (HasProgressBar(dialog)) {
    progress_.Finish();
  }
  return open.result;
}

bool ConsoleDesktop::Turn(std::FILE* answers, const bool& over) {
  FireDueTimers();
  Watch();
  if (over) {
    return false;  // the loop ends now, not after a wait
  }
  const std::int64_t nowMs = clock_->NowMs();
  std::int64_t untilMs = nowMs + kWatchPeriodMs;
  for (const console::OpenDialog* dialog : open_) {
    if (const std::optional<std::int64_t> due = dialog->timers.NextDueMs()) {
      untilMs = std::min(untilMs, *due);
    }
  }
  return clock_->Wait(static_cast<int>(std::max<std::int64_t>(untilMs - nowMs, 0)), answers);
}

// The dialogs open now all outlive this call (their loops are beneath it on the stack);
// a dialog a handler opens runs and ends inside that handler.
void ConsoleDesktop::FireDueTimers() {
  const std::int64_t nowMs = clock_->NowMs();
  const std::vector<console::OpenDialog*> openNow = open_;
  for (console::OpenDialog* dialog : openNow) {
    for (const int id : dialog->timers.TakeDue(nowMs)) {
      // An earlier handler may have killed it or ended its dialog.
      if (dialog->timers.IsRunning(id)) {
        Deliver(*dialog, {DialogMessage::Timer, id, 0});
      }
    }
  }
}

void ConsoleDesktop::EndDialog(WindowRef window, int result) {
  if (console::OpenDialog* dialog = Find(window)) {
    dialog->ended = true;
    dialog->result = result;
    dialog->timers.KillAll();  // its loop ends at its next turn, once inner loops returned
  }
}

void ConsoleDesktop::SetTimer(WindowRef window, int timerId, int periodMs) {
  if (console::OpenDialog* dialog = Find(window); dialog != nullptr && !dialog->ended) {
    dialog->timers.Set(timerId, periodMs, clock_->NowMs());
  }
}

void ConsoleDesktop::KillTimer(WindowRef window, int timerId) {
  if (console::OpenDialog* dialog = Find(window)) {
    dialog->timers.Kill(timerId);
  }
}

void ConsoleDesktop::Watch() {
  if (console::InterruptRequested()) {
    CloseAll(ConsoleStop::Interrupted);
  } else if (!asking_ && noProgressLimitMs_ &&
             clock_->NowMs() - lastProgressMs_ > *noProgressLimitMs_) {
    CloseAll(ConsoleStop::TimedOut);
  }
}

void ConsoleDesktop::CloseAll(ConsoleStop reason) {
  if (stop_ != ConsoleStop::None) {
    return;
  }
  stop_ = reason;
  progress_.Finish();  // a question waiting ends with no answer, the safe one
  const std::vector<console::OpenDialog*> innermostFirst(open_.rbegin(), open_.rend());
  for (console::OpenDialog* dialog : innermostFirst) {
    Deliver(*dialog, {DialogMessage::Close, 0, 0});
  }
}

void ConsoleDesktop::SetText(WindowRef, int, std::string_view) {}

std::string ConsoleDesktop::GetText(WindowRef, int) {
  return {};
}

void ConsoleDesktop::SetBarRange(WindowRef window, int controlId, int low, int high) {
  if (IsProgressBarOf(Find(window), controlId)) {
    if (showProgress_) {
      progress_.Start(progressTitle_, low, high);
    }
  }
}

void ConsoleDesktop::SetBarPosition(WindowRef window, int controlId, int position) {
  console::OpenDialog* dialog = Find(window);
  if (dialog == nullptr) {
    return;
  }
  if (dialog->barPosition != position) {
    dialog->barPosition = position;
    NoteProgress();
  }
  if (IsProgressBarOf(dialog, controlId)) {
    progress_.Show(position);
  }
}

void ConsoleDesktop::SetBarColour(WindowRef, int, Colour) {}
void ConsoleDesktop::SetSliderRange(WindowRef, int, int, int) {}
void ConsoleDesktop::SetSliderPosition(WindowRef, int, int) {}

int ConsoleDesktop::GetSliderPosition(WindowRef, int) {
  return 0;
}

void ConsoleDesktop::AddToolbarButtons(WindowRef, int, std::span<const ToolbarButton>) {}
void ConsoleDesktop::AddListEntry(WindowRef, int, std::string_view) {}
void ConsoleDesktop::SelectListEntry(WindowRef, int, int) {}

int ConsoleDesktop::SelectedListEntry(WindowRef, int) {
  return -1;
}

MessageAnswer ConsoleDesktop::ShowMessage(WindowRef /*owner*/, std::string_view text,
                                          std::string_view caption, MessageButtons buttons,
                                          MessageIcon /*icon*/) {
  progress_.Finish();
  const std::string shownCaption(Trimmed(caption));
  const std::string shownText(text);
  std::fprintf(progressStream_, "%s: %s\n", shownCaption.c_str(), shownText.c_str());
  std::fflush(progressStream_);
  switch (buttons) {
    case MessageButtons::OkCancel:
      return answerYes_ ? MessageAnswer::Ok : MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return answerYes_ ? MessageAnswer::Yes : MessageAnswer::No;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

std::optional<std::string> ConsoleDesktop::ChooseFileToOpen(WindowRef, const FileDialogOptions&) {
  return fileToOpen_;
}

std::optional<std::string> ConsoleDesktop::ChooseFileToSave(WindowRef, const FileDialogOptions&) {
  return fileToSave_;
}

GoOnAnswers ConsoleDesktop::AnswersFor(bool yes) const {
  if (yes) {
    return GoOnAnswers::Yes;
  }
  return console::IsTerminal(answers_) ? GoOnAnswers::AskTerminal : GoOnAnswers::Refuse;
}

bool ConsoleDesktop::AskToGoOn(WindowRef /*owner*/, std::string_view text, std::string_view caption,
                               std::string_view goOnLabel, MessageIcon /*icon*/) {
  lastGoOn_ = {.question = std::string(text)};
  if (goOnAnswers_ == GoOnAnswers::Refuse) {
    lastGoOn_.refused = true;  // the command says why it stopped
    return false;
  }
  progress_.Finish();
  const std::string shownCaption(Trimmed(caption));
  std::fprintf(progressStream_, "%s: %s", shownCaption.c_str(), lastGoOn_.question.c_str());
  if (goOnAnswers_ == GoOnAnswers::Yes) {
    std::fprintf(progressStream_, " %s (--yes)\n", std::string(goOnLabel).c_str());
    std::fflush(progressStream_);
    return true;
  }
  std::fprintf(progressStream_, " [y/N] ");
  std::fflush(progressStream_);
  const bool goOn = AskOnTerminal();
  lastGoOn_.declined = !goOn;
  return goOn;
}

// Waits for the answer line with the event loop running, so that the poll ticks go on behind
// the question as they do behind the window's message box; the status the checks read then
// stays fresh. Ctrl-C ends the wait with No.
bool ConsoleDesktop::AskOnTerminal() {
  asking_ = true;
  bool answered = false;
  const bool notOver = false;
  while (!answered && stop_ == ConsoleStop::None) {
    answered = Turn(answers_, notOver);
  }
  asking_ = false;
  NoteProgress();  // the time spent thinking is not time without an answer
  if (!answered) {
    return false;
  }
  const std::string line = console::ReadAnswer(answers_);
  return !line.empty() && (line[0] == 'y' || line[0] == 'Y');
}

Canvas& ConsoleDesktop::CanvasOf(WindowRef) {
  return *nowhere_;
}

Canvas& ConsoleDesktop::ControlCanvas(WindowRef, int) {
  return *nowhere_;
}

}  // namespace zav
