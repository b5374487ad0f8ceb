#pragma once
// The desktop layer for a terminal (zavctl): a modal dialog is a local event loop that keeps
// delivering the timers of every open dialog, as the window's loops do; the progress bar of
// the "Communicate with AZV" dialog prints to standard error; a message box prints its text
// there and takes the answer the command implies; a file dialog takes the file the command
// names. Controls hold nothing and the canvas draws nowhere.
//
// Two ways out that the window leaves to the user: Ctrl-C, and a limit on the time without
// progress. Either closes every open dialog, innermost first, just as the window's Cancel
// (or the close box) would, so the procedures clean up as they do there. Everything runs on
// one thread; the system is asked only for the time and for waits (console_clock.h).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/console/console_clock.h"
#include "hosts/console/progress_line.h"
#include "platform/desktop.h"

namespace zav {

namespace console {
struct OpenDialog;
}  // namespace console

enum class ConsoleStop { None, TimedOut, Interrupted };

// How a question with a safe Cancel (AskToGoOn) is answered: go on and say so, ask on the
// terminal (y/N), or refuse without asking, as a script that did not say yes needs.
enum class GoOnAnswers { Yes, AskTerminal, Refuse };

// What became of the last question with a safe Cancel.
struct GoOnOutcome {
  std::string question;   // empty while none was asked
  bool refused = false;   // refused without asking
  bool declined = false;  // answered No on the terminal
};

class ConsoleDesktop final : public Desktop {
 public:
  // Progress goes to `progress` (standard error), drawn as a bar when it is a terminal;
  // elsewhere none is shown. The system's clock unless a test brings its own.
  explicit ConsoleDesktop(std::FILE* progress = stderr, std::FILE* answers = stdin,
                          std::unique_ptr<console::ConsoleClock> clock = console::SystemClock());
  ~ConsoleDesktop() override;
  ConsoleDesktop(const ConsoleDesktop&) = delete;
  ConsoleDesktop& operator=(const ConsoleDesktop&) = delete;

  // Closes every dialog once this long (ms) passes without progress: a dialog opening, a
  // bar moving or NoteProgress. Nothing: no limit.
  void SetNoProgressLimit(std::optional<int> limitMs) { noProgressLimitMs_ = limitMs; }
  void NoteProgress() { lastProgressMs_ = clock_->NowMs(); }
  // Why the dialogs were closed from outside; None while nothing closed them.
  ConsoleStop Stop() const { return stop_; }

  // What the next file dialogs return; nothing: as if cancelled.
  void SetFileToOpen(std::optional<std::string> path) { fileToOpen_ = std::move(path); }
  void SetFileToSave(std::optional<std::string> path) { fileToSave_ = std::move(path); }
  // The answer to questions (OK or Yes when true, else Cancel or No).
  void SetQuestionAnswer(bool yes) { answerYes_ = yes; }
  // How questions with a safe Cancel are answered; by default they are refused.
  void SetGoOnAnswers(GoOnAnswers answers) { goOnAnswers_ = answers; }
  // Yes with --yes, else AskTerminal when the answers come from a terminal, else Refuse.
  GoOnAnswers AnswersFor(bool yes) const;
  const GoOnOutcome& LastGoOn() const { return lastGoOn_; }
  // No progress bars at all (--quiet). Off a terminal there are none anyway: a script's log
  // keeps only what it asked for.
  void SetQuiet(bool quiet) { showProgress_ = showProgress_ && !quiet; }
  // The words before the progress bar, e.g. "Reading".
  void SetProgressTitle(std::string title) { progressTitle_ = std::move(title); }

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
  std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                              const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFileToSave(WindowRef owner,
                                              const FileDialogOptions& options) override;
  bool AskToGoOn(WindowRef owner, std::string_view text, std::string_view caption,
                 std::string_view goOnLabel, MessageIcon icon) override;
  Canvas& CanvasOf(WindowRef window) override;
  Canvas& ControlCanvas(WindowRef window, int controlId) override;
  std::int64_t NowMs() override { return clock_->NowMs(); }

 private:
  bool AskOnTerminal();
  console::OpenDialog* Find(WindowRef window) const;
  void Deliver(console::OpenDialog& dialog, const DialogEvent& event);
  // One round of whichever modal loop runs: the due timers of every open dialog, the
  // watch, then, unless that made `over` true, a wait until the next is due. True when `answers`
  // has a line ready.
  bool Turn(std::FILE* answers, const bool& over);
  void FireDueTimers();
  void Watch();
  void CloseAll(ConsoleStop reason);

  std::FILE* progressStream_;
  console::ProgressLine progress_;
  bool showProgress_ = false;  // on a terminal, and not quiet
  std::string progressTitle_ = "Communicate with AZV";
  std::vector<console::OpenDialog*> open_;  // innermost last; each owned by its RunDialog
  int nextWindowId_ = 1;
  std::unique_ptr<console::ConsoleClock> clock_;
  std::int64_t lastProgressMs_ = 0;  // clock (ms)
  std::optional<int> noProgressLimitMs_;
  ConsoleStop stop_ = ConsoleStop::None;
  std::optional<std::string> fileToOpen_;
  std::optional<std::string> fileToSave_;
  bool answerYes_ = true;
  std::FILE* answers_;
  GoOnAnswers goOnAnswers_ = GoOnAnswers::Refuse;
  GoOnOutcome lastGoOn_;
  bool asking_ = false;              // while a terminal answer is awaited
  std::unique_ptr<Canvas> nowhere_;  // the canvas of every dialog
};

}  // namespace zav
