#include "upgrade/firmware_image.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

#include "platform/files/path_text.h"
#include "upgrade/firmware_layout.h"

namespace zav {

namespace {

FirmwareImage Unusable(std::string problem) {
  FirmwareImage image;
  image.problem = std::move(problem);
  return image;
}

// What keeps the path from being read as a file, or nothing when it is a plain file.
std::string KindProblem(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) {
    return "the file does not exist";
  }
  if (std::filesystem::is_directory(status)) {
    return "it is a folder, not a file";
  }
  if (!std::filesystem::is_regular_file(status)) {
    return "it is not a plain file";
  }
  return {};
}

std::string OpenProblem(int error) {
  const std::string problem = "the file cannot be opened";
  return error == 0 ? problem : problem + " (" + std::generic_category().message(error) + ")";
}

}  // namespace

FirmwareImage ReadFirmwareImage(const std::filesystem::path& path) {
  if (std::string problem = KindProblem(path); !problem.empty()) {
    return Unusable(std::move(problem));
  }
  errno = 0;
  const CFile file = OpenCFile(path, "rb");
  if (!file) {
    return Unusable(OpenProblem(errno));
  }
  FirmwareImage image;
  image.bytes.resize(kFirmwareImageBytes);
  const std::size_t got = std::fread(image.bytes.data(), 1, kFirmwareImageBytes, file.get());
  if (std::ferror(file.get()) != 0) {
    return Unusable("the file cannot be read");
  }
  image.bytes.resize(got);
  std::error_code sizeError;
  image.fileBytes = std::filesystem::file_size(path, sizeError);
  if (sizeError || image.fileBytes < image.bytes.size()) {
    image.fileBytes = image.bytes.size();
  }
  if (image.bytes.empty()) {
    return Unusable("the file is empty");
  }
  return image;
}

}  // namespace zav
