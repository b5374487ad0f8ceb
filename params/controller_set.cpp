#include "params/controller_set.h"

#include <algorithm>

namespace zav {

bool HasControllerSet(const ControllerSet& set) {
  return set.confirmed;
}

void ConfirmReadSet(ControllerSet& set, const RegisterImage& image) {
  set.words = ParametersOf(image);
  set.confirmed = true;
}

void ConfirmWrittenSet(ControllerSet& set, const RegisterImage& image) {
  const ParameterWords written = ParametersOf(image);
  if (!set.confirmed) {
    set.words = written;
  }
  std::copy_n(written.begin(), kEditableParameters, set.words.begin());
  set.confirmed = true;
}

std::optional<RegisterImage> ControllerImage(const ControllerSet& set) {
  if (!set.confirmed) {
    return std::nullopt;
  }
  RegisterImage image;
  StoreParameters(image, set.words);
  return image;
}

}  // namespace zav
