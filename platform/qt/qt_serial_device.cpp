#include "platform/qt/qt_serial_device.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QString>
#include <utility>

namespace zav {
namespace {

constexpr qint64 kQueueBytes = 4096;
constexpr int kReadTimeoutMs = 1;
// How long one wait for the driver to take bytes lasts before progress is checked again.
constexpr int kWriteWaitMs = 100;
// A device that takes no byte for this long is dead (a peer that stopped reading, a line
// held off): the rest of the write is dropped rather than blocking the program forever.
// At 9600 baud a live line takes a byte about every 1 ms.
constexpr qint64 kWriteStallMs = 2000;

// 9600 baud, 8N1, no flow control. Qt applies these when the port opens. Of the two queue
// sizes Qt lets us bound only the read side; writes wait for the driver anyway.
void SetLineSettings(QSerialPort& port) {
  port.setBaudRate(QSerialPort::Baud9600);
  port.setDataBits(QSerialPort::Data8);
  port.setParity(QSerialPort::NoParity);
  port.setStopBits(QSerialPort::OneStop);
  port.setFlowControl(QSerialPort::NoFlowControl);
  port.setReadBufferSize(kQueueBytes);
}

// DTR off, RTS on. A pseudo-terminal has no modem lines and refuses both with
// UnsupportedOperationError while the line itself works, so a refusal is not a failure:
// the port is used as opened.
void SetModemLines(QSerialPort& port) {
  port.setDataTerminalReady(false);
  port.setRequestToSend(true);
  port.clearError();
}

// Waits until the driver has taken every queued byte. One waitForBytesWritten() may return
// with bytes still queued, so it is repeated while the device makes progress.
void WaitUntilWritten(QSerialPort& port) {
  QElapsedTimer sinceProgress;
  sinceProgress.start();
  qint64 pending = port.bytesToWrite();
  while (pending > 0) {
    const bool wrote = port.waitForBytesWritten(kWriteWaitMs);
    if (!wrote && port.error() != QSerialPort::TimeoutError &&
        port.error() != QSerialPort::NoError) {
      break;  // the device failed; nothing more will go out
    }
    const qint64 left = port.bytesToWrite();
    if (left < pending) {
      pending = left;
      sinceProgress.restart();
    } else if (sinceProgress.hasExpired(kWriteStallMs)) {
      break;
    }
  }
  if (port.bytesToWrite() > 0) {
    port.clear(QSerialPort::Output);
  }
  port.clearError();
}

}  // namespace

QtSerialDevice::QtSerialDevice(PortLookups lookups) : lookups_(std::move(lookups)) {}

QtSerialDevice::~QtSerialDevice() = default;

bool QtSerialDevice::Open(std::string_view portName) {
  Close();
  const std::optional<std::string> path = PortDevicePath(portName, lookups_);
  if (!path) {
    return false;
  }
  auto port = std::make_unique<QSerialPort>();
  port->setPortName(QString::fromStdString(*path));
  SetLineSettings(*port);
  // Qt opens exclusively: a lock file plus TIOCEXCL, so a port held elsewhere fails here.
  if (!port->open(QIODevice::ReadWrite)) {
    return false;
  }
  SetModemLines(*port);
  port->clear(QSerialPort::AllDirections);  // nothing from before the open is read or sent
  port->clearError();
  port_ = std::move(port);
  return true;
}

std::string QtSerialDevice::DeviceOf(std::string_view portName) const {
  return PortDevicePath(portName, lookups_).value_or(std::string{});
}

void QtSerialDevice::Close() {
  port_.reset();  // closing the port releases its lock
}

bool QtSerialDevice::IsOpen() const {
  return port_ != nullptr && port_->isOpen();
}

std::optional<std::uint8_t> QtSerialDevice::ReadByte() {
  if (!IsOpen()) {
    return std::nullopt;
  }
  // Bytes still in the kernel are invisible to bytesAvailable() until Qt reads them in,
  // which only a wait or the event loop does. So: take a buffered byte at once, else wait
  // at most 1 ms for one.
  if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(kReadTimeoutMs)) {
    port_->clearError();  // the timed-out wait leaves TimeoutError set
    return std::nullopt;
  }
  char byte = 0;
  if (!port_->getChar(&byte)) {
    port_->clearError();
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(byte);
}

void QtSerialDevice::Write(std::span<const std::uint8_t> bytes) {
  if (!IsOpen() || bytes.empty()) {
    return;
  }
  port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  WaitUntilWritten(*port_);
}

}  // namespace zav
