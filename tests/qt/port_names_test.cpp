// Which device a stored port name opens on a POSIX system.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hosts/qt_core/port_names.h"

namespace zav {
namespace {

struct MappingCase {
  std::string testName;
  std::string portName;
  std::map<std::string, std::string> environment;
  std::set<std::string> existingPaths;
  std::optional<std::string> device;
};

void PrintTo(const MappingCase& mappingCase, std::ostream* out) {
  *out << mappingCase.testName;
}

PortLookups FakeSystem(const MappingCase& mappingCase) {
  return PortLookups{
      .environment =
          [&mappingCase](const std::string& variable) {
            const auto found = mappingCase.environment.find(variable);
            return found != mappingCase.environment.end() ? found->second : std::string();
          },
      .exists = [&mappingCase](
                    const std::string& path) { return mappingCase.existingPaths.contains(path); },
  };
}

// The same rule for each of COM1..COM9: n maps to adapter index n-1.
std::vector<MappingCase> EveryPortNumber() {
  std::vector<MappingCase> cases;
  for (int number = 1; number <= 9; ++number) {
    const std::string n = std::to_string(number);
    const std::string index = std::to_string(number - 1);
    const std::string port = "COM" + n;
    const std::string usb = "/dev/ttyUSB" + index;
    const std::string pty = "/dev/pts/" + n;
    cases.push_back({"Com" + n + "FallsBackToBuiltInPort", port, {}, {}, "/dev/ttyS" + index});
    cases.push_back({"Com" + n + "PrefersUsbAdapter", port, {}, {usb}, usb});
    cases.push_back(
        {"Com" + n + "PrefersEnvironment", port, {{"ZAVMON_" + port, pty}}, {usb}, pty});
  }
  return cases;
}

std::vector<MappingCase> EdgeCases() {
  return {
      {"EmptyVariableCountsAsUnset", "COM2", {{"ZAVMON_COM2", ""}}, {}, "/dev/ttyS1"},
      {"VariableOfAnotherPortIsIgnored", "COM1", {{"ZAVMON_COM2", "/dev/pts/7"}}, {}, "/dev/ttyS0"},
      {"UsbAdapterOfAnotherPortIsIgnored", "COM1", {}, {"/dev/ttyUSB1"}, "/dev/ttyS0"},
      {"ByIdLinkIsTakenAsIs",
       "COM4",
       {{"ZAVMON_COM4", "/dev/serial/by-id/usb-FTDI_1-if00-port0"}},
       {},
       "/dev/serial/by-id/usb-FTDI_1-if00-port0"},
      {"RelativePathStaysInWorkingDirectory", "COM3", {{"ZAVMON_COM3", "ttyZAV"}}, {}, "./ttyZAV"},
      {"ExplicitRelativePathIsKept", "COM3", {{"ZAVMON_COM3", "../ttyZAV"}}, {}, "../ttyZAV"},
      {"DigitZeroNamesNoPort", "COM0", {{"ZAVMON_COM0", "/dev/pts/1"}}, {"/dev/ttyUSB0"}, {}},
      {"LetterNamesNoPort", "COMA", {{"ZAVMON_COMA", "/dev/pts/1"}}, {}, {}},
      {"TwoDigitsNameNoPort", "COM10", {{"ZAVMON_COM10", "/dev/pts/1"}}, {}, {}},
      {"LowerCaseNamesNoPort", "com1", {}, {}, {}},
      {"EmptyNameNamesNoPort", "", {}, {}, {}},
      {"DevicePathIsNotAPortName", "/dev/ttyS0", {}, {}, {}},
  };
}

class PortDevicePathTest : public testing::TestWithParam<MappingCase> {};

TEST_P(PortDevicePathTest, MapsStoredNameToDevice) {
  const MappingCase& mappingCase = GetParam();
  EXPECT_EQ(PortDevicePath(mappingCase.portName, FakeSystem(mappingCase)), mappingCase.device);
}

std::string CaseName(const testing::TestParamInfo<MappingCase>& info) {
  return info.param.testName;
}

INSTANTIATE_TEST_SUITE_P(EveryPort, PortDevicePathTest, testing::ValuesIn(EveryPortNumber()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Edge, PortDevicePathTest, testing::ValuesIn(EdgeCases()), CaseName);

}  // namespace
}  // namespace zav
