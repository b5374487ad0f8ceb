#include "params/parameter_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "link/wire.h"
#include "platform/files/file_replace.h"
#include "platform/files/path_text.h"

namespace zav {

namespace {

std::string PathText(const std::filesystem::path& path) {
  return Utf8FromPath(path);
}

std::string ErrorText(int error) {
  return std::generic_category().message(error);
}

std::string ByteCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

}  // namespace

ParameterFileBytes EncodeParameterFile(const RegisterImage& image) {
  ParameterFileBytes bytes{};
  for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
    bytes[2 * i] = LowByte(image.values[i]);
    bytes[2 * i + 1] = HighByte(image.values[i]);
  }
  return bytes;
}

LoadedParameters ParametersFromFileStart(const std::filesystem::path& path,
                                         std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kParameterBytes) {
    return {std::nullopt, PathText(path) + " holds " + ByteCount(bytes.size()) +
                              "; a parameter file needs at least " +
                              std::to_string(kParameterBytes)};
  }
  return {DecodeParameterWords(bytes.first<kParameterBytes>()), {}};
}

LoadedParameters ReadParameterFile(const std::filesystem::path& path) {
  errno = 0;
  const CFile file = OpenCFile(path, "rb");
  if (!file) {
    const int error = errno;  // before the message's allocations can change it
    return {std::nullopt, "Cannot open " + PathText(path) + ": " + ErrorText(error)};
  }
  std::array<std::uint8_t, kParameterBytes> start{};
  errno = 0;
  const std::size_t count = std::fread(start.data(), 1, start.size(), file.get());
  if (std::ferror(file.get())) {
    const int error = errno;
    return {std::nullopt, "Cannot read " + PathText(path) + ": " + ErrorText(error)};
  }
  return ParametersFromFileStart(path, std::span(start).first(count));
}

std::optional<std::string> WriteParameterFile(const std::filesystem::path& path,
                                              const ParameterFileBytes& bytes) {
  const std::optional<std::string> reason = ReplaceFileContents(path, bytes);
  if (reason) {
    return "Cannot save " + PathText(path) + ": " + *reason;
  }
  return std::nullopt;
}

}  // namespace zav
