#include "params/parameter_file_commands.h"

#include <system_error>

#include "params/parameter_file.h"
#include "params/send_question.h"
#include "platform/files/path_text.h"

namespace zav {

namespace {

FileDialogOptions ParameterFileOptions() {
  FileDialogOptions options;
  options.filterCaption = kParameterFilesCaption;
  options.filterPattern = kParameterFilesPattern;
  return options;
}

void ShowFileError(Desktop& desktop, WindowRef owner, const std::string& text) {
  desktop.ShowMessage(owner, text, kFileErrorCaption, MessageButtons::Ok, MessageIcon::Error);
}

// A folder is not offered for replacing; writing onto it is refused with a message.
bool FileExistsAt(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

std::optional<std::filesystem::path> ChooseParameterFile(Desktop& desktop, WindowRef owner) {
  FileDialogOptions options = ParameterFileOptions();
  options.pathMustExist = true;
  options.fileMustExist = true;
  const std::optional<std::string> chosen = desktop.ChooseFileToOpen(owner, options);
  if (!chosen) {
    return std::nullopt;
  }
  return PathFromUtf8(*chosen);
}

std::optional<std::filesystem::path> ChooseParameterFileToSave(Desktop& desktop, WindowRef owner) {
  FileDialogOptions options = ParameterFileOptions();
  options.defaultExtension = kParameterFileExtension;
  const std::optional<std::string> chosen = desktop.ChooseFileToSave(owner, options);
  if (!chosen) {
    return std::nullopt;
  }
  const std::filesystem::path path = PathFromUtf8(*chosen);
  if (FileExistsAt(path)) {
    const MessageAnswer answer = desktop.ShowMessage(owner, kOverwriteQuestion, kQuestionBoxCaption,
                                                     MessageButtons::YesNo, MessageIcon::Warning);
    if (answer != MessageAnswer::Yes) {
      return std::nullopt;
    }
  }
  return path;
}

void OpenParameterFile(Link& link, ParameterState& state) {
  const std::optional<std::filesystem::path> path =
      ChooseParameterFile(*link.desktop, link.mainWindow);
  if (path) {
    OpenParameterFileAt(link, state, *path);
  }
}

void OpenParameterFileAt(Link& link, ParameterState& state, const std::filesystem::path& path) {
  Desktop& desktop = *link.desktop;
  const LoadedParameters loaded = ReadParameterFile(path);
  if (!loaded.words) {
    ShowFileError(desktop, link.mainWindow, loaded.error);
    return;
  }
  StoreParameters(link.image, *loaded.words);
  state.imageHasSource = true;
  OfferParameterWrite(link, state, link.mainWindow);
}

void SaveParameterFile(Link& link) {
  Desktop& desktop = *link.desktop;
  const std::optional<std::filesystem::path> path =
      ChooseParameterFileToSave(desktop, link.mainWindow);
  if (!path) {
    return;
  }
  const std::optional<std::string> error =
      WriteParameterFile(*path, EncodeParameterFile(link.image));
  if (error) {
    ShowFileError(desktop, link.mainWindow, *error);
  }
}

}  // namespace zav
