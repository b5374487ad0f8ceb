#include "hosts/qt/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "hosts/qt/control_text.h"

namespace zav::qt {

namespace {

QFileDialog::FileMode FileModeOf(FileDialogPurpose purpose, const FileDialogOptions& options) {
  if (purpose == FileDialogPurpose::Open && options.fileMustExist) {
    return QFileDialog::ExistingFile;
  }
  return QFileDialog::AnyFile;
}

// The name filter Qt shows: the caption, with the pattern added unless the caption names it.
QString NameFilter(const FileDialogOptions& options) {
  const QString caption = FromUtf8(options.filterCaption);
  const QString pattern = FromUtf8(options.filterPattern);
  if (pattern.isEmpty() || caption.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
    return caption;
  }
  return caption + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}  // namespace

std::optional<std::string> RunFileDialog(QWidget* owner, FileDialogPurpose purpose,
                                         const FileDialogOptions& options) {
  QFileDialog dialog(owner);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(purpose == FileDialogPurpose::Save ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
  dialog.setFileMode(FileModeOf(purpose, options));
  dialog.setNameFilter(NameFilter(options));
  dialog.setDefaultSuffix(FromUtf8(options.defaultExtension));
  dialog.setDirectory(QDir::currentPath());  // an empty initial folder means the working one
  if (!options.initialPath.empty()) {
    const QFileInfo proposed(FromUtf8(options.initialPath));
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return ToUtf8(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

}  // namespace zav::qt
