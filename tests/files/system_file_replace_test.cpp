// The safe replace through the system's own calls, on whichever system the tests were
// built for: the one scenario that every implementation of the file seam must pass.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "platform/files/file_replace.h"
#include "tests/files/bytes_of.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using test::BytesOf;

int EntriesIn(const std::filesystem::path& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
    ++count;
  }
  return count;
}

TEST(SystemFileReplaceTest, FileIsCreatedReplacedAndOverwrittenAtItsStartLeavingNothingBehind) {
  testing::TempDir folder;
  const std::filesystem::path file = folder / "zavmon.cfg";

  EXPECT_EQ(ReplaceFileContents(file, BytesOf("COM1 library of a long name")), std::nullopt);
  EXPECT_EQ(testing::ReadFile(file), "COM1 library of a long name");

  EXPECT_EQ(ReplaceFileContents(file, BytesOf("COM2 short")), std::nullopt);
  EXPECT_EQ(testing::ReadFile(file), "COM2 short");

  EXPECT_EQ(ReplaceFileStart(file, BytesOf("COM7")), std::nullopt);
  EXPECT_EQ(testing::ReadFile(file), "COM7 short");

  EXPECT_EQ(ReplaceFileStart(folder / "new.cfg", BytesOf("COM3")), std::nullopt);
  EXPECT_EQ(testing::ReadFile(folder / "new.cfg"), "COM3");

  EXPECT_EQ(ReplaceFileContents(folder.Path(), BytesOf("COM4")), "it is a folder");
  EXPECT_EQ(EntriesIn(folder.Path()), 2);  // no new file left beside the replaced ones
}

// A read-only file stays read-only when replaced, by new contents or by a file written
// beside it first (a log taking the place of an older one); on a system where the flag
// forbids replacing, the seam lifts it for the replace and sets it again.
TEST(SystemFileReplaceTest, ReadOnlyFileIsReplacedAndStaysReadOnly) {
  testing::TempDir folder;
  const std::filesystem::path file = folder / "locked.car";
  testing::WriteFile(file, "old contents");
  const auto writeBits = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                         std::filesystem::perms::others_write;
  std::filesystem::permissions(file, writeBits, std::filesystem::perm_options::remove);
  const auto readOnly = [&] {
    return (std::filesystem::status(file).permissions() & writeBits) ==
           std::filesystem::perms::none;
  };

  EXPECT_EQ(ReplaceFileContents(file, BytesOf("new contents")), std::nullopt);
  EXPECT_EQ(testing::ReadFile(file), "new contents");
  EXPECT_TRUE(readOnly());

  std::filesystem::path written = ReplacedFileOf(file);
  written += ".part";
  testing::WriteFile(written, "written beside it");
  EXPECT_EQ(ReplaceFileWith(file, written), std::nullopt);
  EXPECT_EQ(testing::ReadFile(file), "written beside it");
  EXPECT_TRUE(readOnly());
  EXPECT_FALSE(std::filesystem::exists(written));
  EXPECT_EQ(EntriesIn(folder.Path()), 1);

  std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);  // so the folder can go
}

}  // namespace
}  // namespace zav
