// Message boxes and file dialogs on the Qt host, driven as a user would from a timer inside
// their modal loops: the answers they give, how they are set up, and that the owner's timer
// keeps ticking behind them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string>

#include "tests/qt/modal_driver.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

enum class UserAction { Ok, Cancel, Yes, No, CloseBox };

struct MessageCase {
  const char* name;
  MessageButtons buttons;
  UserAction action;
  MessageAnswer answer;
};

class MessageBoxTest : public test::ShownDialogTest,
                       public testing::WithParamInterface<MessageCase> {};

void Act(QMessageBox& box, UserAction action) {
  switch (action) {
    case UserAction::Ok:
      box.button(QMessageBox::Ok)->click();
      break;
    case UserAction::Cancel:
      box.button(QMessageBox::Cancel)->click();
      break;
    case UserAction::Yes:
      box.button(QMessageBox::Yes)->click();
      break;
    case UserAction::No:
      box.button(QMessageBox::No)->click();
      break;
    case UserAction::CloseBox:
      box.close();
      break;
  }
}

TEST_P(MessageBoxTest, AnswersWithTheButtonChosenOrWhatClosingMeans) {
  const MessageCase message = GetParam();
  std::optional<MessageAnswer> answer;
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    QWidget* owner = desktop_.WindowOf(window);
    test::ModalDriver driver([&](QWidget& modal) {
      auto* box = dynamic_cast<QMessageBox*>(&modal);
      if (box == nullptr) {
        return false;
      }
      EXPECT_EQ(box->parentWidget(), owner);
      EXPECT_EQ(box->windowTitle(), "question");
      EXPECT_EQ(box->text(), "Send data to ZAV ?");
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      Act(*box, message.action);
      return true;
    });
    answer = desktop_.ShowMessage(window, "Send data to ZAV ?", "question", message.buttons,
                                  MessageIcon::Information);
  });
  EXPECT_EQ(answer, message.answer);
}

std::string MessageName(const testing::TestParamInfo<MessageCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageBoxTest,
    testing::Values(
        MessageCase{"OkAlone", MessageButtons::Ok, UserAction::Ok, MessageAnswer::Ok},
        MessageCase{"OkAloneClosed", MessageButtons::Ok, UserAction::CloseBox, MessageAnswer::Ok},
        MessageCase{"OkOfOkCancel", MessageButtons::OkCancel, UserAction::Ok, MessageAnswer::Ok},
        MessageCase{"CancelOfOkCancel", MessageButtons::OkCancel, UserAction::Cancel,
                    MessageAnswer::Cancel},
        MessageCase{"OkCancelClosed", MessageButtons::OkCancel, UserAction::CloseBox,
                    MessageAnswer::Cancel},
        MessageCase{"YesOfYesNo", MessageButtons::YesNo, UserAction::Yes, MessageAnswer::Yes},
        MessageCase{"NoOfYesNo", MessageButtons::YesNo, UserAction::No, MessageAnswer::No},
        MessageCase{"YesNoClosed", MessageButtons::YesNo, UserAction::CloseBox, MessageAnswer::No}),
    MessageName);

// A box whose advice stops applying while nobody answers it (the busy port got by a retry
// behind it) closes by itself, answering as its close box does; the owner's timer ticks on.
using SelfClosingBoxTest = test::ShownDialogTest;

TEST_F(SelfClosingBoxTest, BoxClosesItselfOnceItsAdviceNoLongerApplies) {
  std::optional<MessageAnswer> answer;
  bool boxSeen = false;
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    test::ModalDriver driver([&](QWidget& modal) {
      boxSeen = boxSeen || dynamic_cast<QMessageBox*>(&modal) != nullptr;
      return false;  // the user never answers
    });
    bool portGot = false;
    QTimer::singleShot(300, [&portGot] { portGot = true; });
    answer = desktop_.ShowMessageUntil(window, "Error opening serial port - check setting", "Error",
                                       MessageButtons::Ok, MessageIcon::Error,
                                       [&portGot] { return portGot; });
    EXPECT_TRUE(portGot);
  });
  EXPECT_TRUE(boxSeen);
  EXPECT_EQ(answer, MessageAnswer::Ok);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A question with a named go-on button: only that button goes on; Cancel is the default, so
// Enter, Escape and the close box all cancel.
enum class GoOnAction { GoOn, Cancel, Enter, Escape, CloseBox };

class GoOnQuestionTest : public test::ShownDialogTest,
                         public testing::WithParamInterface<std::pair<GoOnAction, bool>> {};

void Act(QMessageBox& box, GoOnAction action) {
  switch (action) {
    case GoOnAction::GoOn:
      for (QAbstractButton* button : box.buttons()) {
        if (button->text() == "Switch and upgrade") {
          button->click();
        }
      }
      break;
    case GoOnAction::Cancel:
      box.button(QMessageBox::Cancel)->click();
      break;
    case GoOnAction::Enter:
      ASSERT_NE(box.defaultButton(), nullptr);
      box.defaultButton()->click();
      break;
    case GoOnAction::Escape:
      box.escapeButton()->click();
      break;
    case GoOnAction::CloseBox:
      box.close();
      break;
  }
}

TEST_P(GoOnQuestionTest, OnlyTheGoOnButtonGoesOnAndCancelIsTheDefault) {
  std::optional<bool> answer;
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    test::ModalDriver driver([&](QWidget& modal) {
      auto* box = dynamic_cast<QMessageBox*>(&modal);
      if (box == nullptr) {
        return false;
      }
      EXPECT_EQ(box->windowTitle(), "Upgrade");
      EXPECT_EQ(box->buttons().size(), 2);
      EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                box->button(QMessageBox::Cancel));
      Act(*box, GetParam().first);
      return true;
    });
    answer = desktop_.AskToGoOn(window, "Switch?", "Upgrade", "Switch and upgrade",
                                MessageIcon::Warning);
  });
  EXPECT_EQ(answer, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Answers, GoOnQuestionTest,
                         testing::Values(std::pair{GoOnAction::GoOn, true},
                                         std::pair{GoOnAction::Cancel, false},
                                         std::pair{GoOnAction::Enter, false},
                                         std::pair{GoOnAction::Escape, false},
                                         std::pair{GoOnAction::CloseBox, false}));

// What the dialog's Open or Save button does (QFileDialog keeps accept() to itself).
void Accept(QFileDialog& dialog) {
  static_cast<QDialog&>(dialog).accept();
}

// What the user types into the file name box.
void TypeFileName(QFileDialog& dialog, const QString& name) {
  auto* box = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(box, nullptr);
  box->setText(name);
}

// Files in a folder of their own; the file dialog is driven from a timer in its loop.
class FileDialogTest : public test::ShownDialogTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QFile existing(Path("stored.car"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  }

  QString Path(const QString& name) const { return QDir(folder_.path()).filePath(name); }

  // Runs the dialog from a shown window; `act` gets the file dialog once it is up.
  std::optional<std::string> Choose(bool save, const std::function<void(QFileDialog&)>& act) {
    std::optional<std::string> chosen;
    RunShown(test::PlainTemplate(), [&](WindowRef window) {
      test::ModalDriver driver([&](QWidget& modal) {
        auto* dialog = dynamic_cast<QFileDialog*>(&modal);
        if (dialog != nullptr) {
          EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
          EXPECT_EQ(dialog->nameFilters(), QStringList({"Configuration files ZAV (*.car)"}));
          act(*dialog);
        }
        return dialog != nullptr;
      });
      chosen = save ? desktop_.ChooseFileToSave(window, options_)
                    : desktop_.ChooseFileToOpen(window, options_);
    });
    return chosen;
  }

  QTemporaryDir folder_;
  FileDialogOptions options_{"Configuration files ZAV (*.car)", "*.car", "", true, true};
};

TEST_F(FileDialogTest, OpenReturnsTheChosenFile) {
  const std::optional<std::string> chosen = Choose(false, [&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    TypeFileName(dialog, Path("stored.car"));
    Accept(dialog);
    if (dialog.isVisible()) {
      ADD_FAILURE() << "still open after accept";
      dialog.reject();
    }
  });
  EXPECT_EQ(chosen, Path("stored.car").toStdString());
}

TEST_F(FileDialogTest, OpenOfAFileThatMustExistWarnsAndStaysOpenForAMissingOne) {
  bool warned = false;
  bool stayedOpen = false;
  // The warning opens inside the file dialog's accept, so a second driver answers it.
  test::ModalDriver warningReader([&](QWidget& modal) {
    auto* warning = dynamic_cast<QMessageBox*>(&modal);
    if (warning != nullptr) {
      warned = true;
      warning->accept();
    }
    return warning != nullptr;
  });
  const std::optional<std::string> chosen = Choose(false, [&](QFileDialog& dialog) {
    TypeFileName(dialog, Path("missing.car"));
    Accept(dialog);
    stayedOpen = dialog.isVisible();
    dialog.reject();
  });
  EXPECT_TRUE(warned);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionAndNeverAsksAboutReplacing) {
  options_ = {"Configuration files ZAV (*.car)", "*.car", "car", false, false};
  const std::optional<std::string> chosen = Choose(true, [&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    // A question about replacing would block this very timer; only go on without one.
    ASSERT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    dialog.setDirectory(folder_.path());
    TypeFileName(dialog, "stored");  // without extension
    Accept(dialog);
    if (dialog.isVisible()) {
      ADD_FAILURE() << "still open after accept: "
                    << dialog.selectedFiles().join(",").toStdString();
      dialog.reject();
    }
  });
  EXPECT_EQ(chosen, Path("stored.car").toStdString());
}

TEST_F(FileDialogTest, CancelReturnsNothingWhileTheOwnersTimerTicksBehind) {
  static constexpr int kBoxTickId = 5;
  int ticksWhileOpen = 0;
  std::optional<std::string> chosen = std::string("unset");
  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    test::ModalDriver driver([&](QWidget& modal) {
      auto* dialog = dynamic_cast<QFileDialog*>(&modal);
      const auto& events = Script().Events();
      const int ticks = static_cast<int>(std::count_if(
          events.begin(), events.end(), [](const DialogEvent& e) { return e.id == kBoxTickId; }));
      if (dialog == nullptr || ticks < 3) {
        return false;
      }
      ticksWhileOpen = ticks;
      dialog->reject();
      return true;
    });
    desktop_.SetTimer(window, kBoxTickId, 50);
    chosen = desktop_.ChooseFileToOpen(window, options_);
  });
  EXPECT_EQ(chosen, std::nullopt);
  EXPECT_GE(ticksWhileOpen, 3);
}

}  // namespace
}  // namespace zav
