#include "params/parameter_set.h"

#include <algorithm>

#include "link/wire.h"

namespace zav {

// Register 80 is slot 0 of the image, so member i is slot i.
static_assert(kParameterSet[0].address == kFirstImageRegister);

ParameterWords ParametersOf(const RegisterImage& image) {
  ParameterWords words{};
  std::copy_n(image.values.begin(), words.size(), words.begin());
  return words;
}

void StoreParameters(RegisterImage& image, const ParameterWords& words) {
  std::copy(words.begin(), words.end(), image.values.begin());
}

void ApplyDefaults(RegisterImage& image) {
  StoreParameters(image, kDefaultParameters);
}

ParameterWords DecodeParameterWords(std::span<const std::uint8_t, kParameterBytes> bytes) {
  ParameterWords words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] = WordOf(bytes[2 * i + 1], bytes[2 * i]);
  }
  return words;
}

}  // namespace zav
