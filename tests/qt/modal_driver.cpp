#include "tests/qt/modal_driver.h"

#include <QApplication>
#include <utility>

namespace zav::test {

namespace {
constexpr int kLookEveryMs = 20;
}

ModalDriver::ModalDriver(std::function<bool(QWidget& modal)> act) : act_(std::move(act)) {
  timer_.setInterval(kLookEveryMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && !done_ && act_(*modal)) {
      done_ = true;
      timer_.stop();
    }
  });
  timer_.start();
}

}  // namespace zav::test
