// The "Upgrade" command: the file dialog, the image read at the choice, arming, and the
// files that cannot be used.

#include <gtest/gtest.h>

#include <filesystem>

#include "hosts/headless/headless_desktop.h"
#include "tests/support/temp_dir.h"
#include "upgrade/firmware_image.h"
#include "upgrade/upgrade_command.h"

namespace zav {
namespace {

using testing::TempDir;
using testing::WriteFile;

class UpgradeCommandTest : public ::testing::Test {
 protected:
  UpgradeCommandTest() {
    link.desktop = &desktop;
    link.mainWindow = WindowRef{42};
    CurrentCommand(link) = 'Q';
  }

  void Choose(const std::filesystem::path& path) {
    desktop.QueueFileAnswer(path.string());
    UpgradeCommand(link, upload);
  }

  TempDir dir;
  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  Link link;
  UploadState upload;
};

TEST_F(UpgradeCommandTest, OffersZavFilesThatMustExist) {
  WriteFile(dir / "fw.zav", "firmware");
  Choose(dir / "fw.zav");
  ASSERT_EQ(desktop.FileDialogs().size(), 1u);
  const headless::FileDialogRecord& dialog = desktop.FileDialogs().front();
  EXPECT_FALSE(dialog.save);
  EXPECT_EQ(dialog.owner, link.mainWindow);
  EXPECT_EQ(dialog.options.filterCaption, "ZAV upgrade files (*.zav)");
  EXPECT_EQ(dialog.options.filterPattern, "*.zav");
  EXPECT_EQ(dialog.options.defaultExtension, "");
  EXPECT_TRUE(dialog.options.pathMustExist);
  EXPECT_TRUE(dialog.options.fileMustExist);
}

TEST_F(UpgradeCommandTest, ChoiceReadsTheImageAndArmsTheUpload) {
  WriteFile(dir / "fw.zav", std::string(1000, '\x5A'));
  Choose(dir / "fw.zav");
  EXPECT_EQ(CurrentCommand(link), 'U');
  EXPECT_EQ(link.cycle.upgradeArmed, UpgradeArming::Armed);
  EXPECT_EQ(upload.image, std::vector<std::uint8_t>(1000, 0x5A));
  EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(UpgradeCommandTest, CancelDisarmsAndKeepsTheCommand) {
  CurrentCommand(link) = 'B';
  link.cycle.upgradeArmed = UpgradeArming::Armed;
  desktop.QueueFileAnswer(std::nullopt);
  UpgradeCommand(link, upload);
  EXPECT_EQ(link.cycle.upgradeArmed, UpgradeArming::Disarmed);
  EXPECT_EQ(CurrentCommand(link), 'B');
  EXPECT_TRUE(desktop.Messages().empty());
}

struct UnusableFile {
  const char* name;
  void (*make)(const std::filesystem::path& path);
  const char* problem;

  friend void PrintTo(const UnusableFile& test, std::ostream* out) { *out << test.name; }
};

class UnusableFirmwareTest : public UpgradeCommandTest,
                             public ::testing::WithParamInterface<UnusableFile> {};

TEST_P(UnusableFirmwareTest, IsReportedByNameAndReasonAndArmsNothing) {
  const std::filesystem::path path = dir / "fw.zav";
  GetParam().make(path);
  CurrentCommand(link) = 'B';
  link.cycle.upgradeArmed = UpgradeArming::Armed;  // an earlier choice must not go out in its place
  upload.image = {1, 2, 3};
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Choose(path);

  ASSERT_EQ(desktop.Messages().size(), 1u);
  const headless::MessageRecord& box = desktop.Messages().front();
  EXPECT_EQ(box.text, "Cannot upgrade from \"" + path.string() + "\": " + GetParam().problem + ".");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, MessageIcon::Error);
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.owner, link.mainWindow);
  EXPECT_EQ(link.cycle.upgradeArmed, UpgradeArming::Disarmed);
  EXPECT_EQ(CurrentCommand(link), 'B');
  EXPECT_TRUE(upload.image.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableFirmwareTest,
    ::testing::Values(
        UnusableFile{"Missing", [](const std::filesystem::path&) {}, "the file does not exist"},
        UnusableFile{
            "Folder",
            [](const std::filesystem::path& path) { std::filesystem::create_directory(path); },
            "it is a folder, not a file"},
        UnusableFile{"Empty", [](const std::filesystem::path& path) { WriteFile(path, ""); },
                     "the file is empty"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FirmwareImageTest, TakesOnlyTheFirst30720BytesOfALongerFile) {
  TempDir dir;
  std::string bytes(40000, '\x11');
  bytes[30719] = '\x22';
  bytes[30720] = '\x33';
  WriteFile(dir / "long.zav", bytes);
  const FirmwareImage image = ReadFirmwareImage(dir / "long.zav");
  EXPECT_EQ(image.problem, "");
  ASSERT_EQ(image.bytes.size(), 30720u);
  EXPECT_EQ(image.bytes.back(), 0x22);
}

TEST(FirmwareImageTest, FileWithoutReadPermissionCannotBeOpened) {
  TempDir dir;
  const std::filesystem::path path = dir / "locked.zav";
  WriteFile(path, "firmware");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  if (std::ifstream(path).good()) {
    GTEST_SKIP() << "this user reads files whatever their permissions";
  }
  EXPECT_EQ(ReadFirmwareImage(path).problem.rfind("the file cannot be opened", 0), 0u);
  EXPECT_TRUE(ReadFirmwareImage(path).bytes.empty());
}

}  // namespace
}  // namespace zav
