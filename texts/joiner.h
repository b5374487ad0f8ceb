#pragma once
// The status line's parts and the facts within each are set apart by one joiner.

#include <initializer_list>
#include <string>
#include <string_view>

namespace zav {

inline constexpr const char kJoiner[] = " \u00b7 ";  // " · "

// The non-empty parts in their order, with kJoiner between them.
std::string JoinNonEmpty(std::initializer_list<std::string_view> parts);

}  // namespace zav
