#include "hosts/win32_core/win32_serial_survey.h"

// windows.h first: the SetupAPI headers build on it.
#include <windows.h>
//
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <charconv>

#include "platform/files/wide_text.h"

namespace zav {
namespace {

std::string DeviceText(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[512] = {};
  if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                         reinterpret_cast<BYTE*>(text), sizeof text - 2, nullptr)) {
    return {};
  }
  return win32::Narrow(text);
}

std::string PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) {
    return {};
  }
  wchar_t name[64] = {};
  DWORD size = sizeof name - 2;
  DWORD type = 0;
  const LONG result =
      RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? win32::Narrow(name) : std::string();
}

// "USB\VID_0403&PID_6001&REV_0600" gives 0x0403 for "VID_".
std::optional<std::uint16_t> UsbId(const std::string& hardwareId, std::string_view key) {
  const std::size_t at = hardwareId.find(key);
  if (at == std::string::npos || at + key.size() + 4 > hardwareId.size()) {
    return std::nullopt;
  }
  const char* first = hardwareId.data() + at + key.size();
  std::uint16_t value = 0;
  const auto [end, error] = std::from_chars(first, first + 4, value, 16);
  if (error != std::errc() || end != first + 4) {
    return std::nullopt;
  }
  return value;
}

// The ports Device Manager shows under "Ports (COM & LPT)", printer ports left out.
std::vector<SerialDeviceInfo> PortsOfDeviceManager() {
  std::vector<SerialDeviceInfo> found;
  const HDEVINFO devices =
      SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) {
    return found;
  }
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    const std::string port = PortNameOf(devices, device);
    if (!port.starts_with("COM")) {
      continue;
    }
    SerialDeviceInfo info;
    info.path = port;
    info.description = DeviceText(devices, device, SPDRP_FRIENDLYNAME);
    info.manufacturer = DeviceText(devices, device, SPDRP_MFG);
    const std::string hardwareId = DeviceText(devices, device, SPDRP_HARDWAREID);
    info.vendorId = UsbId(hardwareId, "VID_");
    info.productId = UsbId(hardwareId, "PID_");
    found.push_back(std::move(info));
  }
  SetupDiDestroyDeviceInfoList(devices);
  return found;
}

// The ports the serial drivers have announced: the registry's SERIALCOMM map, value
// "\Device\Serial0" = "COM1". Some drivers (and wine) list their ports only here.
std::vector<std::string> PortsOfSerialComm() {
  std::vector<std::string> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return ports;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};
    DWORD nameLength = 255;
    wchar_t data[64] = {};
    DWORD dataSize = sizeof data - 2;
    DWORD type = 0;
    const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) {
      break;
    }
    if (result == ERROR_SUCCESS && type == REG_SZ) {
      ports.push_back(win32::Narrow(data));
    }
  }
  RegCloseKey(key);
  return ports;
}

// "COM3" before "COM10".
bool ByPortNumber(const SerialDeviceInfo& left, const SerialDeviceInfo& right) {
  if (left.path.size() != right.path.size()) {
    return left.path.size() < right.path.size();
  }
  return left.path < right.path;
}

}  // namespace

std::vector<SerialDeviceInfo> Win32SerialSurvey::Devices() const {
  std::vector<SerialDeviceInfo> devices = PortsOfDeviceManager();
  for (const std::string& port : PortsOfSerialComm()) {
    const bool known = std::any_of(devices.begin(), devices.end(),
                                   [&](const SerialDeviceInfo& info) { return info.path == port; });
    if (!known) {
      devices.push_back(SerialDeviceInfo{.path = port});
    }
  }
  std::sort(devices.begin(), devices.end(), ByPortNumber);
  return devices;
}

std::string Win32SerialSurvey::Environment(const std::string& variable) const {
  const std::wstring name = win32::Widen(variable);
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) {
    return {};
  }
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length);
  return win32::Narrow(value);
}

bool Win32SerialSurvey::Exists(const std::string& path) const {
  const std::wstring name = win32::Widen(path);
  if (path.find('\\') == std::string::npos && path.find('/') == std::string::npos) {
    wchar_t target[512];
    return QueryDosDeviceW(name.c_str(), target, 512) != 0;
  }
  return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace zav
