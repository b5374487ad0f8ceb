// The console host's clock on Qt Core: a wait runs Qt's event loop, so that the serial
// device's notifications flow as they do under the window.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <optional>

#include "hosts/console/console_clock.h"

namespace zav::console {

namespace {

class QtClock final : public ConsoleClock {
 public:
  QtClock() { elapsed_.start(); }

  std::int64_t NowMs() override { return elapsed_.elapsed(); }

  bool Wait(int ms, std::FILE* answers) override {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, [&loop] { loop.exit(0); });
    std::optional<QSocketNotifier> readable;
    if (answers != nullptr) {
      readable.emplace(fileno(answers), QSocketNotifier::Read);
      QObject::connect(&*readable, &QSocketNotifier::activated, &loop, [&loop] { loop.exit(1); });
    }
    return loop.exec() == 1;
  }

 private:
  QElapsedTimer elapsed_;
};

}  // namespace

std::unique_ptr<ConsoleClock> SystemClock() {
  return std::make_unique<QtClock>();
}

}  // namespace zav::console
