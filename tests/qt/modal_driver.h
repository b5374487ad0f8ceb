#pragma once
// Plays the user of a modal box (message box, file dialog): from a timer of its own it looks
// at the application's active modal widget every few milliseconds and hands it to the test's
// action until the action says it is done. The timer keeps running inside the box's loop.

#include <QTimer>
#include <functional>

class QWidget;

namespace zav::test {

class ModalDriver {
 public:
  // `act` gets the active modal widget; it returns true once it has done its part.
  explicit ModalDriver(std::function<bool(QWidget& modal)> act);

  bool Done() const { return done_; }

 private:
  QTimer timer_;
  std::function<bool(QWidget&)> act_;
  bool done_ = false;
};

}  // namespace zav::test
