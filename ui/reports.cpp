#include "ui/reports.h"

#include <array>
#include <cstdio>

#include "link/block_transfer.h"
#include "platform/latin1_text.h"

namespace zav {

namespace {

struct ErrorFlag {
  std::uint16_t mask = 0;
  const char* line = "";
};

// In the order the lines are listed; bits 1 to 7 are not reported.
constexpr std::array<ErrorFlag, 9> kErrorFlags{{
    {0x0100, "Short Circuit GAS1"},
    {0x0200, "Short Circuit GAS2"},
    {0x0400, "Short Circuit GAS3"},
    {0x0800, "Short Circuit GAS4"},
    {0x1000, "Disconnect gas 1"},
    {0x2000, "Disconnect gas 2"},
    {0x4000, "Disconnect gas 3"},
    {0x8000, "Disconnect gas 4"},
    {0x0001, "Pvap > 2400"},
}};

constexpr std::size_t kReportCharacters = 256;  // room for the longest text, 52 characters

std::uint16_t Register(const RegisterImage& image, std::uint8_t address) {
  return image.values[static_cast<std::size_t>(address - kFirstImageRegister)];
}

// The second part of the serial number: the low byte of register 99 above the high byte of
// register 100 plus one. The one is added to the byte, so 0xFF gives 0x100, ORed in.
unsigned SerialMiddle(std::uint16_t register99, std::uint16_t register100) {
  return static_cast<unsigned>(LowByte(register99)) << 8 | (HighByte(register100) + 1U);
}

// The third part: the low byte of register 100 above all of register 101 (24 bits).
unsigned SerialLast(std::uint16_t register100, std::uint16_t register101) {
  return static_cast<unsigned>(LowByte(register100)) * 65536U + register101;
}

void ShowReport(Link& link, const std::string& text, std::string_view caption) {
  link.desktop->ShowMessage(link.mainWindow, text, caption, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

std::string ErrorReportText(std::uint16_t flags) {
  std::string text;
  for (const ErrorFlag& flag : kErrorFlags) {
    if ((flags & flag.mask) != 0) {
      text += flag.line;
      text += '\n';
    }
  }
  return text.empty() ? kNoErrorsText : text;
}

std::string VersionReportText(const RegisterImage& image) {
  // Two version characters per register, high byte first; the serial number in 99 to 101.
  const std::uint16_t hardware1 = Register(image, 95);
  const std::uint16_t hardware2 = Register(image, 96);
  const std::uint16_t firmware1 = Register(image, 97);
  const std::uint16_t firmware2 = Register(image, 98);
  const std::uint16_t serial1 = Register(image, 99);
  const std::uint16_t serial2 = Register(image, 100);
  const std::uint16_t serial3 = Register(image, 101);
  std::array<char, kReportCharacters> text{};
  std::snprintf(text.data(), text.size(),
                "HW ver: %c.%c.%c.%c\nFW ver: %c%c.%c%c\nS/N: %02u%04u-%05u", HighByte(hardware1),
                LowByte(hardware1), HighByte(hardware2), LowByte(hardware2), HighByte(firmware1),
                LowByte(firmware1), HighByte(firmware2), LowByte(firmware2),
                static_cast<unsigned>(HighByte(serial1)), SerialMiddle(serial1, serial2),
                SerialLast(serial2, serial3));
  return std::string(text.data());  // a character 0x00 ends the text there
}

void ErrorReport(Link& link) {
  if (RunBlockTransfer(link, kErrorFlagsRegister, kLetterQuery) != 1) {
    return;
  }
  ShowReport(link, ErrorReportText(Register(link.image, kErrorFlagsRegister)), kErrorsCaption);
  // Polling goes on while the box is open; the flags are cleared only once it was read.
  CurrentCommand(link) = kLetterClearErrors;
}

void VersionReport(Link& link) {
  if (RunBlockTransfer(link, kHardwareVersionRegister, kLetterQuery) != 1) {
    return;
  }
  // The version characters are shown as the controller stores them, one byte a character.
  ShowReport(link, Latin1ToUtf8(VersionReportText(link.image)), kInfoCaption);
}

}  // namespace zav
