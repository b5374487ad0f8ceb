#pragma once
// A fixture for looking at a dialog on screen: RunShown() opens it, calls the test once the
// window is up (from a short timer, inside the dialog's own modal loop), then ends it. Every
// event the dialog gets meanwhile is kept in the script.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "hosts/qt/qt_desktop.h"
#include "tests/qt/dialog_script.h"

namespace zav::test {

class ShownDialogTest : public testing::Test {
 protected:
  void RunShown(const DialogTemplate& dialog, const std::function<void(WindowRef)>& inspect);

  const DialogScript& Script() const { return *script_; }

  QtDesktop desktop_;

 private:
  std::unique_ptr<DialogScript> script_;
};

}  // namespace zav::test
