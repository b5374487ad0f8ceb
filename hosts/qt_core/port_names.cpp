#include "hosts/qt_core/port_names.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zav {

PortLookups SystemPortLookups() {
  return PortLookups{
      .environment =
          [](const std::string& variable) {
            const char* value = std::getenv(variable.c_str());
            return std::string(value != nullptr ? value : "");
          },
      .exists =
          [](const std::string& path) {
            std::error_code ignored;  // an unreadable path counts as absent
            return std::filesystem::exists(path, ignored);
          },
  };
}

}  // namespace zav
