#pragma once
// Counts as a person reads them in the window's texts.

#include <cstdint>
#include <string>

namespace zav {

// "1,234,567": a comma between each group of three digits.
std::string WithThousands(std::uintmax_t number);

}  // namespace zav
