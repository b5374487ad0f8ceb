#pragma once
// The headless desktop as the soak's fitter sees it: every message box and file dialog is
// answered by asking the fitter when it opens (instead of from answers queued in advance),
// and every dialog's end is reported, so a transfer's completion is checked the moment the
// program takes it as complete.

#include <functional>
#include <optional>
#include <string>

#include "hosts/headless/headless_desktop.h"

namespace zav::testing {

struct SoakAnswers {
  std::function<MessageAnswer(std::string_view text)> message;
  std::function<std::optional<std::string>()> fileToOpen;
  std::function<void(WindowRef window, int result)> dialogEnding;
};

class SoakDesktop : public headless::HeadlessDesktop {
 public:
  using HeadlessDesktop::HeadlessDesktop;

  MessageAnswer ShowMessage(WindowRef owner, std::string_view text, std::string_view caption,
                            MessageButtons buttons, MessageIcon icon) override {
    QueueMessageAnswer(answers.message(text), kBoxOpenTime);
    const BoxOpen open(boxesOpen_);
    return HeadlessDesktop::ShowMessage(owner, text, caption, buttons, icon);
  }

  std::optional<std::string> ChooseFileToOpen(WindowRef owner,
                                              const FileDialogOptions& options) override {
    QueueFileAnswer(answers.fileToOpen(), kBoxOpenTime);
    const BoxOpen open(boxesOpen_);
    return HeadlessDesktop::ChooseFileToOpen(owner, options);
  }

  void EndDialog(WindowRef window, int result) override {
    answers.dialogEnding(window, result);
    HeadlessDesktop::EndDialog(window, result);
  }

  // Message boxes and file dialogs open now; the main window takes no clicks meanwhile.
  int BoxesOpen() const { return boxesOpen_; }

  SoakAnswers answers;

 private:
  struct BoxOpen {
    explicit BoxOpen(int& count) : count_(count) { ++count_; }
    ~BoxOpen() { --count_; }
    BoxOpen(const BoxOpen&) = delete;
    BoxOpen& operator=(const BoxOpen&) = delete;
    int& count_;
  };

  int boxesOpen_ = 0;
  // A fitter takes a moment to read a box; the ticks run on behind it (us).
  static constexpr headless::Micros kBoxOpenTime = 700 * headless::kMillisecond;
};

}  // namespace zav::testing
