// "Save" on the Qt host over an existing file reached through a link, answered as a user
// would in the real file dialog and question box: the file behind the link gets the new
// bytes and keeps its permissions, and the link stays a link.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <filesystem>

#include "params/parameter_file.h"
#include "params/parameter_file_commands.h"
#include "tests/qt/modal_driver.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class QtSaveTest : public test::ShownDialogTest {};

// Types `name` into the file dialog, accepts it, then answers Yes to the question.
bool SaveAsAndConfirm(QWidget& modal, const std::string& name) {
  if (auto* dialog = dynamic_cast<QFileDialog*>(&modal)) {
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(name));
    static_cast<QDialog&>(*dialog).accept();
    return false;
  }
  if (auto* box = dynamic_cast<QMessageBox*>(&modal)) {
    EXPECT_EQ(box->text(), "File already exist - overwrite ?");
    box->button(QMessageBox::Yes)->click();
    return true;
  }
  return false;
}

TEST_F(QtSaveTest, SaveOverALinkReplacesTheFileBehindItKeepingItsPermissions) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir / "shared");
  WriteFile(dir / "shared/van.car", std::string(100, '\x5A'));
  std::filesystem::permissions(dir / "shared/van.car", std::filesystem::perms(0640));
  std::filesystem::create_symlink("shared/van.car", dir / "van.car");
  Link link;
  link.desktop = &desktop_;
  link.image.values.fill(0x4321);

  RunShown(test::PlainTemplate(), [&](WindowRef window) {
    link.mainWindow = window;
    test::ModalDriver driver(
        [&](QWidget& modal) { return SaveAsAndConfirm(modal, (dir / "van.car").string()); });
    SaveParameterFile(link);
    EXPECT_TRUE(driver.Done());
  });

  EXPECT_TRUE(std::filesystem::is_symlink(dir / "van.car"));
  const ParameterFileBytes expected = EncodeParameterFile(link.image);
  EXPECT_EQ(ReadFile(dir / "shared/van.car"), std::string(expected.begin(), expected.end()));
  EXPECT_EQ(std::filesystem::status(dir / "shared/van.car").permissions(),
            std::filesystem::perms(0640));
}

}  // namespace
}  // namespace zav
