#pragma once
// A dialog built from its template: title and frame from the template, a menu bar when the
// template names a menu, the client area with every control below it, the dialog's timers
// and its picture.
//
// Only the procedure ends it: Enter and Escape reach it as commands 1 and 2, the close box
// (and Alt+F4) as Close, and none of them closes the window by itself. End() finishes the
// modal loop once the event being handled returns.

#include <QDialog>
#include <memory>

#include "hosts/qt/backing_canvas.h"
#include "hosts/qt/dialog_controls.h"
#include "hosts/qt/dialog_units.h"
#include "hosts/qt/event_delivery.h"
#include "hosts/qt/window_extras.h"
#include "hosts/qt_core/dialog_timers.h"
#include "resources/dialog_template.h"

namespace zav::qt {

class ClientArea;

class DialogWindow final : public QDialog {
 public:
  // `owner` (may be nullptr) is the window it belongs to and is modal over; `font` is the
  // dialog font, whose base units turn the template into pixels.
  DialogWindow(const DialogTemplate& dialog, QWidget* owner, DeliverEvent deliver,
               const QFont& font);
  ~DialogWindow() override;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  void Deliver(const DialogEvent& event);

  // Puts the window's outer top-left corner at `position` (global px), within the screen's
  // usable area as far as the window fits.
  void PlaceAt(QPoint position);
  // Runs the modal loop, unless the dialog already ended (during Init); the End() result.
  int RunModal();
  void End(int result);
  bool HasEnded() const { return ended_; }

  ClientArea& Client() { return *client_; }
  const DialogControls& Controls() const { return *controls_; }
  DialogTimers& Timers() { return timers_; }
  // The status line and added menu items.
  WindowExtras& Extras() { return *extras_; }
  BaseUnits Units() const { return units_; }
  // Where the procedure's pixel (0, 0) lies in the client area (px).
  QPoint PictureOriginPx() const { return pictureOrigin_; }
  // A canvas on the picture in the state of a fresh drawing context.
  BackingCanvas& FreshCanvas();

  // Enter and Escape (and anything else that accepts or rejects a dialog) become commands.
  void accept() override;
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildFrame(const DialogTemplate& dialog);
  void KeepOnScreen();

  DeliverEvent deliver_;
  BaseUnits units_;
  QPoint pictureOrigin_;          // px
  ClientArea* client_ = nullptr;  // a child widget
  std::unique_ptr<DialogControls> controls_;
  DialogTimers timers_;
  std::unique_ptr<BackingCanvas> canvas_;
  std::unique_ptr<WindowExtras> extras_;
  bool ended_ = false;
  bool resizable_ = false;  // the template has a sizing border
};

}  // namespace zav::qt
