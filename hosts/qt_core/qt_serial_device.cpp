#include "hosts/qt_core/qt_serial_device.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QString>
#include <utility>

namespace zav {
namespace {

constexpr qint64 kQueueBytes = 4096;
// Between reads Qt may take at most this many bytes in; with that one byte held it turns its
// read notifier off, so a reply arriving between two poll ticks (about a byte a ms at 9600
// baud) wakes the program once rather than once per byte. The rest waits in the kernel's
// queue until the next read takes it all in one go.
constexpr qint64 kBytesBetweenReads = 1;
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
  port.setReadBufferSize(kBytesBetweenReads);
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
// Returns the error that stopped it, NoError when all went out or the device stalled.
QSerialPort::SerialPortError WaitUntilWritten(QSerialPort& port) {
  QSerialPort::SerialPortError failure = QSerialPort::NoError;
  QElapsedTimer sinceProgress;
  sinceProgress.start();
  qint64 pending = port.bytesToWrite();
  while (pending > 0) {
    const bool wrote = port.waitForBytesWritten(kWriteWaitMs);
    if (!wrote && port.error() != QSerialPort::TimeoutError &&
        port.error() != QSerialPort::NoError) {
      failure = port.error();
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
  if (failure != QSerialPort::NoError) {
    return failure;  // its error stays set, for the words
  }
  if (port.bytesToWrite() > 0) {
    port.clear(QSerialPort::Output);
  }
  port.clearError();
  return failure;
}

// Errors after which the device will not work again until it is opened afresh.
bool IsLost(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError:
      return true;
    default:
      return false;
  }
}

// Qt reports "no access" and "held by another program" alike; the node's permission bits
// tell them apart.
DeviceFault OpenFault(const QSerialPort& port, const QString& path) {
  switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
      return DeviceFault::NotFound;
    case QSerialPort::PermissionError: {
      const QFileInfo node(path);
      const bool mayUse = node.isReadable() && node.isWritable();
      return mayUse ? DeviceFault::Busy : DeviceFault::PermissionDenied;
    }
    default:
      return DeviceFault::Other;
  }
}

std::string FaultWords(DeviceFault fault, const QSerialPort& port) {
  switch (fault) {
    case DeviceFault::Busy:
      return "Device or resource busy";
    case DeviceFault::PermissionDenied:
      return "Permission denied";
    default:
      return port.errorString().toStdString();
  }
}

// The /dev/serial/by-id link that leads to `path`, if any: it survives a replug that gives
// the adapter another ttyUSB number.
std::string StableLinkTo(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  const QDir byId(QStringLiteral("/dev/serial/by-id"));
  if (target.isEmpty() || !byId.exists()) {
    return {};
  }
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files)) {
    if (link.canonicalFilePath() == target) {
      return link.absoluteFilePath().toStdString();
    }
  }
  return {};
}

}  // namespace

QtSerialDevice::QtSerialDevice(PortLookups lookups) : lookups_(std::move(lookups)) {}

QtSerialDevice::~QtSerialDevice() = default;

bool QtSerialDevice::Open(std::string_view portName) {
  Close();
  lastName_ = std::string(portName);
  devicePath_.clear();
  stablePath_.clear();
  const std::optional<std::string> path = PortDevicePath(portName, lookups_);
  if (!path) {
    fault_ = DeviceFault::NotFound;
    faultText_ = "No device for " + lastName_;
    return false;
  }
  devicePath_ = *path;
  if (!OpenPath(*path)) {
    return false;
  }
  stablePath_ = StableLinkTo(QString::fromStdString(*path));
  return true;
}

// An adapter that had a stable link is only ever looked for by it: its old ttyUSB name may
// by now belong to another adapter. This runs about once a second while a device is gone,
// so a path that leads nowhere is found out with one look at the file system, before a
// port (and its lock file) is made.
bool QtSerialDevice::Reopen() {
  if (stablePath_.empty()) {
    const bool gone =
        devicePath_.starts_with('/') && !QFileInfo::exists(QString::fromStdString(devicePath_));
    const std::optional<std::string> path = PortDevicePath(lastName_, lookups_);
    if (gone && path == devicePath_) {
      fault_ = DeviceFault::NotFound;
      faultText_ = "No such file or directory";
      return false;
    }
    return !lastName_.empty() && Open(lastName_);
  }
  const QString stable = QString::fromStdString(stablePath_);
  if (!QFileInfo::exists(stable)) {
    fault_ = DeviceFault::NotFound;
    faultText_ = "No such file or directory";
    return false;
  }
  if (!OpenPath(stablePath_)) {
    return false;
  }
  devicePath_ = QFileInfo(stable).canonicalFilePath().toStdString();
  return true;
}

bool QtSerialDevice::OpenPath(const std::string& path) {
  Close();
  const QString name = QString::fromStdString(path);
  auto port = std::make_unique<QSerialPort>();
  port->setPortName(name);
  SetLineSettings(*port);
  // Qt opens exclusively: a lock file plus TIOCEXCL, so a port held elsewhere fails here.
  if (!port->open(QIODevice::ReadWrite)) {
    fault_ = OpenFault(*port, name);
    faultText_ = FaultWords(fault_, *port);
    return false;
  }
  fault_ = DeviceFault::None;
  faultText_.clear();
  SetModemLines(*port);
  port->clear(QSerialPort::AllDirections);  // nothing from before the open is read or sent
  port->clearError();
  port_ = std::move(port);
  return true;
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
  // at most 1 ms for one; the wait may take in all the kernel holds.
  if (port_->bytesAvailable() == 0) {
    port_->setReadBufferSize(kQueueBytes);
    const bool ready = port_->waitForReadyRead(kReadTimeoutMs);
    HoldWakesDown();
    if (!ready) {
      FailIfLost();
      if (port_) {
        port_->clearError();  // the timed-out wait leaves TimeoutError set
      }
      return std::nullopt;
    }
  }
  char byte = 0;
  const bool taken = port_->getChar(&byte);
  if (!taken) {
    FailIfLost();
    if (port_) {
      port_->clearError();
    }
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(byte);
}

// Any read may be the tick's last (the line goes quiet, the reader stops at a whole frame,
// the device fails): the limit is back at one byte before each returns, so nothing between
// two ticks wakes the program per byte.
void QtSerialDevice::HoldWakesDown() {
  if (port_) {
    port_->setReadBufferSize(kBytesBetweenReads);
  }
}

void QtSerialDevice::Write(std::span<const std::uint8_t> bytes) {
  if (!IsOpen() || bytes.empty()) {
    return;
  }
  // Qt's wait for the write also reads what is ready, and with its read buffer full it gives
  // up before writing; so while writing the buffer may take all the kernel holds.
  port_->setReadBufferSize(kQueueBytes);
  port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  if (const QSerialPort::SerialPortError error = WaitUntilWritten(*port_); IsLost(error)) {
    fault_ = DeviceFault::Removed;
    faultText_ = port_->errorString().toStdString();
    Close();
    return;
  }
  port_->setReadBufferSize(kBytesBetweenReads);
}

void QtSerialDevice::FailIfLost() {
  if (port_ && IsLost(port_->error())) {
    fault_ = DeviceFault::Removed;
    faultText_ = port_->errorString().toStdString();
    Close();
  }
}

}  // namespace zav
