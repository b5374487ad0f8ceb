#include "hosts/win32/message_boxes.h"

#include <commctrl.h>
#include <commdlg.h>

#include <filesystem>
#include <vector>

#include "platform/files/wide_text.h"

namespace zav::win32 {
namespace {

constexpr int kLabelledButtonId = 100;  // off IDOK and IDCANCEL

UINT MessageBoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return MB_ICONERROR;
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
    case MessageIcon::Warning:
      return MB_ICONWARNING;
    case MessageIcon::None:
      break;
  }
  return 0;
}

PCWSTR TaskDialogIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return TD_ERROR_ICON;
    case MessageIcon::Information:
      return TD_INFORMATION_ICON;
    case MessageIcon::Warning:
      return TD_WARNING_ICON;
    case MessageIcon::None:
      break;
  }
  return nullptr;
}

MessageAnswer AnswerOf(int pressed) {
  switch (pressed) {
    case IDOK:
      return MessageAnswer::Ok;
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

// "Configuration files ZAV (*.car)", "*.car" as the dialog wants them: pairs of strings
// ended by an empty one.
std::wstring FilterOf(const FileDialogOptions& options) {
  std::wstring filter;
  if (!options.filterPattern.empty()) {
    filter += Widen(options.filterCaption) + L'\0' + Widen(options.filterPattern) + L'\0';
  }
  filter += L"All files (*.*)";
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  return filter;
}

}  // namespace

MessageAnswer ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                             MessageButtons buttons, MessageIcon icon) {
  UINT style = MessageBoxIcon(icon);
  switch (buttons) {
    case MessageButtons::Ok:
      style |= MB_OK;
      break;
    case MessageButtons::OkCancel:
      style |= MB_OKCANCEL;
      break;
    case MessageButtons::YesNo:
      style |= MB_YESNO;
      break;
  }
  const std::wstring wideText = Widen(text);
  const std::wstring wideCaption = Widen(caption);
  return AnswerOf(MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style));
}

bool AskWithLabelledButton(HWND owner, std::string_view text, std::string_view caption,
                           std::string_view extraLabel, MessageIcon icon, bool safeIsCancel) {
  const std::wstring wideText = Widen(text);
  const std::wstring wideCaption = Widen(caption);
  const std::wstring label = Widen(extraLabel);
  const TASKDIALOG_BUTTON extra{kLabelledButtonId, label.c_str()};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  // Escape and the close box give the safe answer.
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.dwCommonButtons = safeIsCancel ? TDCBF_CANCEL_BUTTON : TDCBF_OK_BUTTON;
  config.pszWindowTitle = wideCaption.c_str();
  config.pszMainIcon = TaskDialogIcon(icon);
  config.pszContent = wideText.c_str();
  config.cButtons = 1;
  config.pButtons = &extra;
  config.nDefaultButton = safeIsCancel ? IDCANCEL : IDOK;
  int pressed = IDCANCEL;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
    // Without task dialogs, the plain question: OK goes on.
    const MessageAnswer answer = ShowMessageBox(
        owner, text, caption, safeIsCancel ? MessageButtons::OkCancel : MessageButtons::Ok, icon);
    return safeIsCancel && answer == MessageAnswer::Ok;
  }
  return pressed == kLabelledButtonId;
}

std::optional<std::string> ChooseFile(HWND owner, const FileDialogOptions& options, bool toSave) {
  const std::filesystem::path initial(Widen(options.initialPath));
  std::vector<wchar_t> file(32768, L'\0');  // characters, the longest path the system takes
  const std::wstring name = initial.filename().wstring();
  name.copy(file.data(), std::min(name.size(), file.size() - 1));
  const std::wstring folder = initial.parent_path().wstring();
  const std::wstring filter = FilterOf(options);
  std::wstring extension = Widen(options.defaultExtension);
  if (!extension.empty() && extension.front() == L'.') {
    extension.erase(0, 1);
  }
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  dialog.Flags |= options.pathMustExist ? OFN_PATHMUSTEXIST : 0;
  dialog.Flags |= options.fileMustExist ? OFN_FILEMUSTEXIST : 0;
  dialog.Flags |= toSave ? OFN_OVERWRITEPROMPT : 0;
  const BOOL chosen = toSave ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) {
    return std::nullopt;
  }
  return Narrow(file.data());
}

}  // namespace zav::win32
