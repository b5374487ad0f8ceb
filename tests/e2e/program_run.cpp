#include "tests/e2e/program_run.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "texts/joiner.h"

namespace zav::test {

namespace {
constexpr int kStepMs = 100;
constexpr std::size_t kRequestFrameBytes = 7;
constexpr int kStateField = 1027;
}  // namespace

void NotingDevice::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.size() == kRequestFrameBytes) {
    letters_.push_back(static_cast<char>(bytes[1]));
    if (beforeFrame) {
      beforeFrame(static_cast<char>(bytes[1]));
    }
  }
  device_.Write(bytes);
}

int NotingDevice::Count(char letter) const {
  return static_cast<int>(std::count(letters_.begin(), letters_.end(), letter));
}

Answer ClickOk(std::string* text, std::string* caption) {
  return [text, caption](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    if (box == nullptr || box->button(QMessageBox::Ok) == nullptr) {
      return false;
    }
    if (text != nullptr) {
      *text = box->text().toStdString();
    }
    if (caption != nullptr) {
      *caption = box->windowTitle().toStdString();
    }
    box->button(QMessageBox::Ok)->click();
    return true;
  };
}

Answer ClickButton(const std::string& label, std::string* text) {
  return [label, text](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    if (box == nullptr) {
      return false;
    }
    for (QAbstractButton* button : box->buttons()) {
      if (button->text().toStdString() == label) {
        if (text != nullptr) {
          *text = box->text().toStdString();
        }
        button->click();
        return true;
      }
    }
    return false;
  };
}

Answer ChooseFile(const std::filesystem::path& path) {
  return [path](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    auto* name = dialog != nullptr ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
    if (name == nullptr) {
      return false;
    }
    name->setText(QString::fromStdString(path.string()));
    static_cast<QDialog*>(dialog)->accept();  // what its Open or Save button does
    return true;
  };
}

void ProgramRunTest::SetUpProgram(const std::string& portPath, const std::string& library) {
  setenv("ZAVMON_COM1", portPath.c_str(), 1);
  testing::WriteFile(dir_ / "zavmon.cfg", "COM1" + library);
  zav::SetUpProgram(program_, desktop_, device_, dir_.Path());
}

void ProgramRunTest::Run(std::vector<Step> steps, std::chrono::milliseconds giveUp) {
  std::size_t next = 0;
  QTimer stepper;
  QObject::connect(&stepper, &QTimer::timeout, [&] {
    if (next < steps.size() && steps[next].ready()) {
      // Later, from the event loop: an action may open a modal box of its own.
      QTimer::singleShot(0, steps[next].action);
      ++next;
    }
    if (next == steps.size()) {
      stepper.stop();
      QTimer::singleShot(kStepMs, [this] { CloseMainWindow(); });
    }
  });
  QTimer giveUpTimer;
  giveUpTimer.setSingleShot(true);
  QObject::connect(&giveUpTimer, &QTimer::timeout, [&] {
    ADD_FAILURE() << "gave up waiting for: " << steps[std::min(next, steps.size() - 1)].what;
    QApplication::closeAllWindows();
    CloseMainWindow();
  });
  stepper.start(kStepMs);
  giveUpTimer.start(giveUp);
  exitCode_ = RunMainWindow(program_);
}

std::function<void()> ProgramRunTest::Command(const QString& menuText,
                                              std::vector<Answer> answers) {
  return [this, menuText, answers = std::move(answers)] {
    answers_ = answers;
    answered_ = 0;
    driver_ = std::make_unique<ModalDriver>([this](QWidget& modal) {
      if (answered_ < answers_.size() && answers_[answered_](modal)) {
        ++answered_;
      }
      return Answered();
    });
    QWidget* window = desktop_.WindowOf(program_.link.mainWindow);
    for (QAction* action : window->findChildren<QAction*>()) {
      if (QString(action->text()).remove(QLatin1Char('&')) == menuText) {  // without the mnemonic
        action->trigger();
        return;
      }
    }
    ADD_FAILURE() << "no menu command " << menuText.toStdString();
  };
}

std::string ProgramRunTest::Text(int controlId) {
  return desktop_.GetText(program_.link.mainWindow, controlId);
}

std::string ProgramRunTest::StatusLineText() {
  QWidget* window = desktop_.WindowOf(program_.link.mainWindow);
  QWidget* line = window != nullptr ? window->findChild<QWidget*>("statusLine") : nullptr;
  if (line == nullptr) {
    return {};
  }
  QStringList segments;
  for (QLabel* segment : line->findChildren<QLabel*>()) {
    if (!segment->toolTip().isEmpty()) {
      segments << segment->toolTip();
    }
  }
  return segments.join(QString::fromUtf8(kJoiner)).toStdString();
}

bool ProgramRunTest::OnPetrol() {
  return Text(kStateField) == "Petrol";
}

bool ProgramRunTest::MainWindowIdle() const {
  // The main window is itself modal: it is the active modal widget when nothing is above it.
  return QApplication::activeModalWidget() == desktop_.WindowOf(program_.link.mainWindow);
}

void ProgramRunTest::CloseMainWindow() {
  if (QWidget* window = desktop_.WindowOf(program_.link.mainWindow)) {
    window->close();
  }
}

}  // namespace zav::test
