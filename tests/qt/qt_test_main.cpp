// The Qt tests run with an application object, as the program does. Windows stay off the
// screen unless a platform is named in QT_QPA_PLATFORM; dialogs that end must not end the
// application, since no main window stays open here.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QtGlobal>

namespace {

// The off-screen platform says on every fixed-size window that it cannot pass size hints
// on; that is no news to a test.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support propagateSizeHints"))) {
    return;
  }
  qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(QuietMessages);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
