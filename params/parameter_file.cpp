#include "params/parameter_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "link/wire.h"

namespace zav {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr int kTempNameAttempts = 100;  // leftovers of earlier failed saves are skipped

std::string PathText(const std::filesystem::path& path) {
  return path.string();
}

std::string LastErrorText() {
  return std::generic_category().message(errno);
}

std::string ByteCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// A new file beside `target`, created exclusively so that nothing else is overwritten.
FileHandle CreateTempBeside(const std::filesystem::path& target, std::filesystem::path& temp) {
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    temp = target;
    temp += ".saving" + std::to_string(attempt);
    errno = 0;
    FileHandle file(std::fopen(temp.string().c_str(), "wbx"));
    if (file || errno != EEXIST) {
      return file;
    }
  }
  return nullptr;
}

bool WriteAndClose(FileHandle file, std::span<const std::uint8_t> bytes) {
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  const bool flushed = std::fflush(file.get()) == 0;
  return std::fclose(file.release()) == 0 && written && flushed;
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
  const FileHandle file(std::fopen(path.string().c_str(), "rb"));
  if (!file) {
    return {std::nullopt, "Cannot open " + PathText(path) + ": " + LastErrorText()};
  }
  std::array<std::uint8_t, kParameterBytes> start{};
  errno = 0;
  const std::size_t count = std::fread(start.data(), 1, start.size(), file.get());
  if (std::ferror(file.get())) {
    return {std::nullopt, "Cannot read " + PathText(path) + ": " + LastErrorText()};
  }
  return ParametersFromFileStart(path, std::span(start).first(count));
}

std::optional<std::string> WriteParameterFile(const std::filesystem::path& path,
                                              const ParameterFileBytes& bytes) {
  return ReplaceFileBytes(path, bytes);
}

std::optional<std::string> ReplaceFileBytes(const std::filesystem::path& path,
                                            std::span<const std::uint8_t> bytes) {
  const std::string failed = "Cannot save " + PathText(path) + ": ";
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return failed + "it is a folder";
  }
  std::filesystem::path temp;
  FileHandle file = CreateTempBeside(path, temp);
  if (!file) {
    return failed + LastErrorText();
  }
  if (!WriteAndClose(std::move(file), bytes)) {
    const std::string reason = LastErrorText();
    std::filesystem::remove(temp, error);
    return failed + reason;
  }
  std::filesystem::rename(temp, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return failed + error.message();
  }
  return std::nullopt;
}

}  // namespace zav
