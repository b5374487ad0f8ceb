// On Windows the stored name is the device: nothing in the environment redirects it.
#include <gtest/gtest.h>

#include "hosts/qt_core/port_names.h"

namespace zav {
namespace {

TEST(WindowsPortDevicePathTest, NameIsTheDeviceWhateverTheEnvironmentSays) {
  const PortLookups redirecting{
      .environment = [](const std::string&) { return std::string("/dev/pts/3"); },
      .exists = [](const std::string&) { return true; },
  };
  for (const char* name : {"COM1", "COM9", "COM0", "COMA"}) {
    EXPECT_EQ(PortDevicePath(name, redirecting), std::string(name)) << name;
  }
}

}  // namespace
}  // namespace zav
