// The zavmon program on the Qt host, as the fitter leaves it for a long while: it polls all
// along and reads the parameter block every 30 s ("Read from ZAV", answered Yes), every box
// it opens is answered, and its resident memory is printed every 10 s. After the given
// number of seconds it closes its main window and prints how far memory grew after the
// first minute. The port is COM1 from zavmon.cfg in the working folder, as for zavmon.
// Usage: memory_flat [SECONDS]   (default 600)

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "ui/program.h"

namespace {

constexpr int kReadEveryMs = 30000;
constexpr int kSampleEveryMs = 10000;
constexpr int kAnswerEveryMs = 100;
constexpr long kBaselineAfterS = 60;  // start-up growth is not what is measured

// Resident memory of this process (kB), from /proc.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
  return -1;
}

struct Watch {
  long elapsedS = 0;
  long baselineKb = -1;
  long highestAfterBaselineKb = 0;
  int readsStarted = 0;
};

void TriggerCommand(QWidget& window, const QString& text) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == text) {
      action->trigger();
      return;
    }
  }
}

// Answers any message box above the main window: Yes to the read question, OK to a report.
void AnswerBoxes(QWidget& mainWindow) {
  QWidget* modal = QApplication::activeModalWidget();
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box == nullptr || modal == &mainWindow) {
    return;
  }
  for (auto button : {QMessageBox::Yes, QMessageBox::Ok}) {
    if (QAbstractButton* found = box->button(button)) {
      found->click();
      return;
    }
  }
}

void Sample(Watch& watch) {
  watch.elapsedS += kSampleEveryMs / 1000;
  const long kb = ResidentKb();
  if (watch.elapsedS == kBaselineAfterS) {
    watch.baselineKb = kb;
  }
  if (watch.baselineKb >= 0 && kb > watch.highestAfterBaselineKb) {
    watch.highestAfterBaselineKb = kb;
  }
  std::printf("t=%4ld s  resident %ld kB  reads started %d\n", watch.elapsedS, kb,
              watch.readsStarted);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::atol(argv[1]) : 600;
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  zav::QtDesktop desktop;
  zav::QtSerialDevice device;
  zav::Program program;
  zav::SetUpProgram(program, desktop, device, std::filesystem::current_path());

  Watch watch;
  const auto mainWindow = [&]() { return desktop.WindowOf(program.link.mainWindow); };
  QTimer reads;
  QObject::connect(&reads, &QTimer::timeout, [&] {
    QWidget* window = mainWindow();
    if (window != nullptr && QApplication::activeModalWidget() == window) {
      ++watch.readsStarted;
      // Later, from the event loop: the command opens a modal box of its own.
      QTimer::singleShot(0, [window] { TriggerCommand(*window, "Read from ZAV"); });
    }
  });
  QTimer answers;
  QObject::connect(&answers, &QTimer::timeout, [&] {
    if (QWidget* window = mainWindow()) {
      AnswerBoxes(*window);
    }
  });
  QTimer samples;
  QObject::connect(&samples, &QTimer::timeout, [&] {
    Sample(watch);
    // Closed only while nothing is open above it, so no transfer is cut short.
    QWidget* window = mainWindow();
    if (watch.elapsedS >= seconds && window != nullptr &&
        QApplication::activeModalWidget() == window) {
      window->close();
    }
  });
  reads.start(kReadEveryMs);
  answers.start(kAnswerEveryMs);
  samples.start(kSampleEveryMs);
  std::printf("t=   0 s  resident %ld kB\n", ResidentKb());
  const int exitCode = zav::RunMainWindow(program);
  if (watch.baselineKb >= 0) {
    std::printf("growth after the first minute: %ld kB (from %ld kB to at most %ld kB)\n",
                watch.highestAfterBaselineKb - watch.baselineKb, watch.baselineKb,
                watch.highestAfterBaselineKb);
  }
  std::printf("block reads started: %d\n", watch.readsStarted);
  return exitCode;
}
