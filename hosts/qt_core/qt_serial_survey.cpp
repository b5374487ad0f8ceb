#include "hosts/qt_core/qt_serial_survey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QString>
#include <cstdlib>

namespace zav {

namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

// The /dev/serial/by-id link that leads to the device, if any.
std::string StableLinkOf(const QString& devicePath) {
  const QString target = QFileInfo(devicePath).canonicalFilePath();
  const QDir byId(QStringLiteral("/dev/serial/by-id"));
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files)) {
    if (!target.isEmpty() && link.canonicalFilePath() == target) {
      return link.absoluteFilePath().toStdString();
    }
  }
  return {};
}

// The first line of a lock file is the holder's PID, in text (or as a binary int from some
// old programs, which is not read here).
std::optional<long> LockPid(const QString& file) {
  QFile lock(file);
  if (!lock.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  bool number = false;
  const long pid = QString::fromLatin1(lock.readLine()).trimmed().toLong(&number);
  return number && pid > 0 ? std::optional(pid) : std::nullopt;
}

std::string ProgramOf(long pid) {
  QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
  if (!comm.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QString::fromUtf8(comm.readAll()).trimmed().toStdString();
}

}  // namespace

std::vector<SerialDeviceInfo> QtSerialSurvey::Devices() const {
  std::vector<SerialDeviceInfo> devices;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    SerialDeviceInfo info;
    info.path = port.systemLocation().toStdString();
    info.stableLink = StableLinkOf(port.systemLocation());
    info.description = port.description().toStdString();
    info.manufacturer = port.manufacturer().toStdString();
    if (port.hasVendorIdentifier() && port.hasProductIdentifier()) {
      info.vendorId = port.vendorIdentifier();
      info.productId = port.productIdentifier();
    }
    info.serialNumber = port.serialNumber().toStdString();
    devices.push_back(std::move(info));
  }
  return devices;
}

std::string QtSerialSurvey::GroupOf(const std::string& path) const {
  const QFileInfo node(FromStd(path));
  return node.exists() ? node.group().toStdString() : std::string();
}

std::optional<DeviceLock> QtSerialSurvey::LockOf(const std::string& path) const {
  // The lock is named after the device node's name, a link followed: "/dev/pts/3" gives
  // "LCK..pts_3", "/dev/ttyUSB0" "LCK..ttyUSB0".
  QString node = QFileInfo(FromStd(path)).canonicalFilePath();
  if (node.isEmpty()) {
    node = FromStd(path);
  }
  node.remove(QStringLiteral("/dev/")).replace(QLatin1Char('/'), QLatin1Char('_'));
  for (const QString& folder : {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")}) {
    const QString file = folder + QStringLiteral("/LCK..") + node;
    if (!QFileInfo::exists(file)) {
      continue;
    }
    DeviceLock lock;
    lock.file = file.toStdString();
    lock.pid = LockPid(file);
    if (lock.pid) {
      lock.program = ProgramOf(*lock.pid);
      lock.stale = !QFileInfo::exists(QStringLiteral("/proc/%1").arg(*lock.pid));
    }
    return lock;
  }
  return std::nullopt;
}

std::string QtSerialSurvey::Environment(const std::string& variable) const {
  const char* value = std::getenv(variable.c_str());
  return value != nullptr ? std::string(value) : std::string();
}

bool QtSerialSurvey::Exists(const std::string& path) const {
  return QFileInfo::exists(FromStd(path));
}

}  // namespace zav
