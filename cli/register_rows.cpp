#include "cli/register_rows.h"

#include "params/parameter_set.h"

namespace zav::cli {

RegisterRow RowOf(std::uint8_t address) {
  if (address <= kLastWritableRegister) {
    const ParameterMember& member = kParameterSet[address - kFirstImageRegister];
    return {member.caption, member.unit};
  }
  switch (address) {
    case 93:
      return {"Parameter 14", ""};
    case 94:
      return {"Parameter 15", ""};
    case 95:
    case 96:
      return {"Hardware version", ""};
    case 97:
    case 98:
      return {"Firmware version", ""};
    case 99:
    case 100:
    case 101:
      return {"Serial number", ""};
    default:
      return {"Error flags", ""};
  }
}

}  // namespace zav::cli
