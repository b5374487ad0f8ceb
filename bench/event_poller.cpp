// The yardstick for zavmon's idle cost (not a test): a plain event-driven Qt poller of the
// same controller. Every 150 ms a timer sends the live poll; readyRead appends what came to
// a buffer; once per tick one label shows how much the last tick brought. Nothing is
// decoded, so it is the least any Qt program polling this line at this rate can cost.
//   event_poller DEVICE [SECONDS]     polls DEVICE (a path) for SECONDS (default: forever)

#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>
#include <cstdio>
#include <string>

namespace {

constexpr int kTickMs = 150;
// Request for the live registers: 02 'Q' 32 00 00 checksum 0D.
constexpr char kLivePoll[] = {0x02, 'Q', 32, 0, 0, static_cast<char>(0x02 + 'Q' + 32), 0x0D};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: event_poller DEVICE [SECONDS]\n");
    return 2;
  }
  QSerialPort port;
  port.setPortName(QString::fromLocal8Bit(argv[1]));
  port.setBaudRate(QSerialPort::Baud9600);
  if (!port.open(QIODevice::ReadWrite)) {
    std::fprintf(stderr, "event_poller: %s\n", port.errorString().toLocal8Bit().constData());
    return 1;
  }
  QLabel label(QStringLiteral("waiting"));
  label.resize(320, 40);
  label.show();

  QByteArray received;
  QObject::connect(&port, &QSerialPort::readyRead, [&] { received.append(port.readAll()); });
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    label.setText(QStringLiteral("%1 bytes").arg(received.size()));
    received.clear();
    port.write(kLivePoll, sizeof kLivePoll);
  });
  tick.start(kTickMs);
  if (argc > 2) {
    QTimer::singleShot(std::stoi(argv[2]) * 1000, &application, &QApplication::quit);
  }
  return QApplication::exec();
}
