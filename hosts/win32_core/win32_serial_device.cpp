#include "hosts/win32_core/win32_serial_device.h"

#include <windows.h>

#include <algorithm>

#include "hosts/win32_core/system_error.h"
#include "platform/files/wide_text.h"

namespace zav {
namespace {

constexpr DWORD kQueueBytes = 4096;
// A write may take its bytes' time on the line (about 1.04 ms a byte at 9600 baud, 10 bits
// a byte) twice over, plus this much: a device that takes nothing for so long is dead (a
// line held off) and the rest is dropped rather than blocking the program.
constexpr DWORD kWriteMsPerByte = 2;
constexpr DWORD kWriteStallMs = 2000;

HANDLE AsHandle(void* handle) {
  return static_cast<HANDLE>(handle);
}

// Every flag of the line set here, none kept from the driver or the last program: 9600
// baud, 8N1, binary, no flow control of any kind, DTR off, RTS on, no abort on errors.
void SetLine(DCB& line) {
  line.DCBlength = sizeof line;
  line.BaudRate = CBR_9600;
  line.ByteSize = 8;
  line.Parity = NOPARITY;
  line.StopBits = ONESTOPBIT;
  line.fBinary = TRUE;
  line.fParity = FALSE;
  line.fOutxCtsFlow = FALSE;
  line.fOutxDsrFlow = FALSE;
  line.fDtrControl = DTR_CONTROL_DISABLE;
  line.fDsrSensitivity = FALSE;
  line.fTXContinueOnXoff = TRUE;
  line.fOutX = FALSE;
  line.fInX = FALSE;
  line.fErrorChar = FALSE;
  line.fNull = FALSE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  line.fAbortOnError = FALSE;
}

// "COM3" opens as \\.\COM3, which also reaches COM10 and above; a name that already holds
// a backslash is a device path of its own.
std::string DeviceName(std::string_view portName) {
  if (portName.find('\\') != std::string_view::npos) {
    return std::string(portName);
  }
  return "\\\\.\\" + std::string(portName);
}

DeviceFault OpenFault(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return DeviceFault::NotFound;
    // Windows opens ports exclusively and refuses a second program with "access denied";
    // a port is not closed to a user by rights.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return DeviceFault::Busy;
    default:
      return DeviceFault::Other;
  }
}

}  // namespace

Win32SerialDevice::~Win32SerialDevice() {
  Close();
}

// Windows opens a port for one user at a time; wine does not (a second open of a mapped
// pseudo-terminal succeeds, and two programs would take each other's bytes). A named mutex
// per port keeps ZAV Monitor's programs off a port one of them holds wherever they run.
bool Win32SerialDevice::ClaimPort() {
  // "\\.\COM3" gives "Global\ZAV Monitor port //./COM3": a name holds no more backslashes.
  std::wstring port = win32::Widen(devicePath_);
  std::replace(port.begin(), port.end(), L'\\', L'/');
  const std::wstring name = L"Global\\ZAV Monitor port " + port;
  const HANDLE claim = CreateMutexW(nullptr, FALSE, name.c_str());
  if (claim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(claim);
    SetLastError(ERROR_ACCESS_DENIED);  // what Windows itself says of a port in use
    return false;
  }
  claim_ = claim;  // none when the system made none: the port's own exclusive open holds
  return true;
}

bool Win32SerialDevice::Open(std::string_view portName) {
  Close();
  lastName_ = std::string(portName);
  devicePath_ = DeviceName(portName);
  if (!ClaimPort()) {
    fault_ = DeviceFault::Busy;
    faultText_ = win32::SystemErrorText(ERROR_ACCESS_DENIED);
    return false;
  }
  const HANDLE handle = CreateFileW(win32::Widen(devicePath_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    Close();
    fault_ = OpenFault(error);
    faultText_ = win32::SystemErrorText(error);
    return false;
  }
  handle_ = handle;
  if (!Configure()) {
    const DWORD error = GetLastError();
    Close();
    fault_ = DeviceFault::Other;
    faultText_ = win32::SystemErrorText(error);
    return false;
  }
  fault_ = DeviceFault::None;
  faultText_.clear();
  return true;
}

// The line settings and time-outs must hold, or the bytes mean nothing; the modem lines are
// wanted but a port without them (some adapters, a pseudo-terminal under wine) still carries
// the line, so their refusal is noted and the port used as it is.
bool Win32SerialDevice::Configure() {
  const HANDLE handle = AsHandle(handle_);
  DCB line{};
  line.DCBlength = sizeof line;
  if (!GetCommState(handle, &line)) {
    return false;
  }
  const DWORD driverDtr = line.fDtrControl;
  const DWORD driverRts = line.fRtsControl;
  SetLine(line);
  if (!SetCommState(handle, &line)) {
    // A driver that refuses our modem-line modes gets the line with its own.
    line.fDtrControl = driverDtr;
    line.fRtsControl = driverRts;
    if (!SetCommState(handle, &line)) {
      return false;
    }
  }
  modemLinesSet_ = EscapeCommFunction(handle, CLRDTR) != FALSE;
  modemLinesSet_ = EscapeCommFunction(handle, SETRTS) != FALSE && modemLinesSet_;
  SetupComm(handle, kQueueBytes, kQueueBytes);  // a hint the driver may ignore
  // A read returns at once with what has arrived, none waits for a byte.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  timeouts.WriteTotalTimeoutMultiplier = kWriteMsPerByte;
  timeouts.WriteTotalTimeoutConstant = kWriteStallMs;
  if (!SetCommTimeouts(handle, &timeouts)) {
    return false;
  }
  // Nothing from before the open is read or sent.
  PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
  buffer_.clear();
  taken_ = 0;
  return true;
}

void Win32SerialDevice::Close() {
  if (handle_ != nullptr) {
    CloseHandle(AsHandle(handle_));
    handle_ = nullptr;
  }
  if (claim_ != nullptr) {
    CloseHandle(AsHandle(claim_));
    claim_ = nullptr;
  }
  buffer_.clear();
  taken_ = 0;
}

// The port keeps its name when an adapter comes back, so it is simply opened again.
bool Win32SerialDevice::Reopen() {
  return !lastName_.empty() && Open(lastName_);
}

std::optional<std::uint8_t> Win32SerialDevice::ReadByte() {
  if (!IsOpen()) {
    return std::nullopt;
  }
  if (taken_ == buffer_.size() && !Refill()) {
    return std::nullopt;
  }
  if (taken_ == buffer_.size()) {
    return std::nullopt;  // nothing has arrived
  }
  return buffer_[taken_++];
}

bool Win32SerialDevice::Refill() {
  const HANDLE handle = AsHandle(handle_);
  // Line errors (overrun, framing) stop a port until they are cleared; the bytes they
  // spoiled are the receiver's to throw away.
  DWORD lineErrors = 0;
  COMSTAT queues{};
  if (!ClearCommError(handle, &lineErrors, &queues)) {
    Lose(GetLastError());
    return false;
  }
  buffer_.resize(kQueueBytes);
  taken_ = 0;
  DWORD got = 0;
  if (!ReadFile(handle, buffer_.data(), kQueueBytes, &got, nullptr)) {
    buffer_.clear();
    Lose(GetLastError());
    return false;
  }
  buffer_.resize(got);  // 0: nothing yet, not the end of anything
  return true;
}

void Win32SerialDevice::Write(std::span<const std::uint8_t> bytes) {
  if (!IsOpen() || bytes.empty()) {
    return;
  }
  const HANDLE handle = AsHandle(handle_);
  DWORD written = 0;
  if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    Lose(GetLastError());
    return;
  }
  if (written < bytes.size()) {
    PurgeComm(handle, PURGE_TXCLEAR | PURGE_TXABORT);  // the line stalled: the rest is dropped
  }
}

void Win32SerialDevice::Lose(unsigned long error) {
  fault_ = DeviceFault::Removed;
  faultText_ = win32::SystemErrorText(error);
  Close();
}

}  // namespace zav
