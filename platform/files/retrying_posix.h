#pragma once
// For the POSIX files of this folder: a system call that a signal interrupted is repeated.

#include <cerrno>

namespace zav {

template <typename Call>
auto Retrying(Call call) {
  auto result = call();
  while (result < 0 && errno == EINTR) {
    result = call();
  }
  return result;
}

}  // namespace zav
