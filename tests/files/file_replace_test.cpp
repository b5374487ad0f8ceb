// Replacing a file's contents: the order in which the bytes reach the disk, what the
// replaced file keeps (permissions, owner, the links to it), and the overwrite in place
// when the folder takes no new file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "platform/files/file_replace.h"
#include "tests/files/bytes_of.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using ::testing::ElementsAre;
using testing::ReadFile;
using testing::WriteFile;

// The system's calls, each one logged by name and file name; one call may be made to fail.
class WatchedFileSystem final : public FileSystem {
 public:
  std::vector<std::string> log;
  std::map<std::string, int> failures;  // call name -> error it returns instead

  int Inspect(const std::filesystem::path& path, FileFacts& facts) override {
    return Call("inspect", path.filename(), [&] { return real_->Inspect(path, facts); });
  }
  int CreateNew(const std::filesystem::path& path, std::uint32_t permissions,
                int& handle) override {
    return Open(
        "create", path, [&] { return real_->CreateNew(path, permissions, handle); }, handle);
  }
  int OpenExisting(const std::filesystem::path& path, int& handle) override {
    return Open(
        "open", path, [&] { return real_->OpenExisting(path, handle); }, handle);
  }
  int WriteFromStart(int handle, std::span<const std::uint8_t> bytes) override {
    return Call("write", names_[handle], [&] { return real_->WriteFromStart(handle, bytes); });
  }
  int Truncate(int handle, std::uint64_t size) override {
    return Call("truncate", names_[handle], [&] { return real_->Truncate(handle, size); });
  }
  int SetOwner(int handle, std::int64_t owner, std::int64_t group) override {
    return real_->SetOwner(handle, owner, group);
  }
  int SetPermissions(int handle, std::uint32_t permissions) override {
    const auto failure = failures.find("chmod");  // not logged: the order tests skip it
    return failure != failures.end() ? failure->second : real_->SetPermissions(handle, permissions);
  }
  int Sync(int handle) override {
    return Call("sync", names_[handle], [&] { return real_->Sync(handle); });
  }
  int Close(int handle) override {
    const std::string name = names_[handle];
    names_.erase(handle);
    return Call("close", name, [&] { return real_->Close(handle); });
  }
  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return Call("rename", from.filename().string() + ">" + to.filename().string(),
                [&] { return real_->Rename(from, to); });
  }
  int Remove(const std::filesystem::path& path) override {
    return Call("remove", path.filename(), [&] { return real_->Remove(path); });
  }
  int SyncFolder(const std::filesystem::path& folder) override {
    return Call("sync-folder", "", [&] { return real_->SyncFolder(folder); });
  }

 private:
  template <typename Real>
  int Call(const std::string& name, const std::filesystem::path& file, Real real) {
    log.push_back(file.empty() ? name : name + " " + file.string());
    const auto failure = failures.find(name);
    return failure != failures.end() ? failure->second : real();
  }
  template <typename Real>
  int Open(const std::string& name, const std::filesystem::path& path, Real real, int& handle) {
    const int error = Call(name, path.filename(), real);
    if (error == 0) {
      names_[handle] = path.filename().string();
    }
    return error;
  }

  std::unique_ptr<FileSystem> real_ = SystemFileSystem();
  std::map<int, std::string> names_;
};

using test::BytesOf;

std::uint32_t PermissionsOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

std::size_t FilesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

class FileReplaceTest : public ::testing::Test {
 protected:
  std::filesystem::path Path(const std::string& name) const { return dir / name; }
  std::optional<std::string> Replace(const std::string& name) {
    return ReplaceFileContents(Path(name), BytesOf(kNew), files);
  }
  std::ptrdiff_t Position(const std::string& entry) const {
    const auto found = std::find(files.log.begin(), files.log.end(), entry);
    EXPECT_NE(found, files.log.end()) << entry << " was not called";
    return found - files.log.begin();
  }

  const std::string kOld = std::string(100, 'o');
  const std::string kNew = std::string(32, 'n');
  testing::TempDir dir;
  WatchedFileSystem files;
};

// A power cut at any moment leaves the old file or the complete new one: the new bytes
// are on the disk before the rename, and the rename is on the disk before success.
TEST_F(FileReplaceTest, NewFileReachesTheDiskBeforeTheRenameAndTheFolderAfterIt) {
  WriteFile(Path("a.car"), kOld);
  EXPECT_EQ(Replace("a.car"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("a.car")), kNew);
  EXPECT_LT(Position("write a.car.saving0"), Position("sync a.car.saving0"));
  EXPECT_LT(Position("sync a.car.saving0"), Position("close a.car.saving0"));
  EXPECT_LT(Position("close a.car.saving0"), Position("rename a.car.saving0>a.car"));
  EXPECT_LT(Position("rename a.car.saving0>a.car"), Position("sync-folder"));
  EXPECT_EQ(files.log.back(), "sync-folder");
}

// The program may always set the bits of a file it made; when that fails all the same, the
// save fails rather than leave a read-only file writable or a shared one private.
TEST_F(FileReplaceTest, PermissionsThatCannotBeTakenOverFailTheSaveAndKeepTheOldFile) {
  WriteFile(Path("a.car"), kOld);
  ASSERT_EQ(::chmod(Path("a.car").c_str(), 0444), 0);
  files.failures["chmod"] = EPERM;
  EXPECT_EQ(Replace("a.car"), "Operation not permitted");
  EXPECT_EQ(ReadFile(Path("a.car")), kOld);
  EXPECT_EQ(PermissionsOf(Path("a.car")), 0444u);
  EXPECT_EQ(FilesIn(dir.Path()), 1u) << "the new file is removed";
}

// A file written beside the target first (a log) takes its place as a new file of the
// replace does: the old file's bits taken over and on the disk before the rename, the folder
// flushed last, the link kept. A failed rename leaves both files as they were.
TEST_F(FileReplaceTest, WrittenFileTakesTheOldOnesPlaceThroughItsLinkOrLeavesBoth) {
  WriteFile(Path("tuesday.csv"), kOld);
  ASSERT_EQ(::chmod(Path("tuesday.csv").c_str(), 0640), 0);
  std::filesystem::create_symlink("tuesday.csv", Path("live.csv"));
  std::filesystem::path written = ReplacedFileOf(Path("live.csv"));
  written += ".part";
  EXPECT_EQ(written, Path("tuesday.csv.part"));
  WriteFile(written, kNew);

  files.failures["rename"] = EXDEV;
  EXPECT_EQ(ReplaceFileWith(Path("live.csv"), written, files), "Invalid cross-device link");
  EXPECT_EQ(ReadFile(Path("tuesday.csv")), kOld);
  EXPECT_EQ(ReadFile(written), kNew);

  files.failures.clear();
  files.log.clear();
  EXPECT_EQ(ReplaceFileWith(Path("live.csv"), written, files), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("live.csv")));
  EXPECT_EQ(ReadFile(Path("live.csv")), kNew);
  EXPECT_EQ(PermissionsOf(Path("tuesday.csv")), 0640u);
  EXPECT_FALSE(std::filesystem::exists(written));
  EXPECT_LT(Position("sync tuesday.csv.part"), Position("rename tuesday.csv.part>tuesday.csv"));
  EXPECT_EQ(files.log.back(), "sync-folder");
}

TEST_F(FileReplaceTest, FlushFailureKeepsTheOldFileRemovesTheNewOneAndIsReported) {
  WriteFile(Path("a.car"), kOld);
  files.failures["sync"] = EIO;
  EXPECT_EQ(Replace("a.car"), "Input/output error");
  EXPECT_EQ(ReadFile(Path("a.car")), kOld);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

class KeptPermissionsTest : public FileReplaceTest,
                            public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(KeptPermissionsTest, ReplacedFileKeepsItsPermissionBits) {
  WriteFile(Path("a.car"), kOld);
  ASSERT_EQ(::chmod(Path("a.car").c_str(), GetParam()), 0);
  EXPECT_EQ(Replace("a.car"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("a.car")), kNew);
  EXPECT_EQ(PermissionsOf(Path("a.car")), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptPermissionsTest, ::testing::Values(0600, 0640, 0444, 0755));

TEST_F(FileReplaceTest, ReplacedFileKeepsItsOwnerAndGroupWhereTheProcessMaySetThem) {
  WriteFile(Path("a.car"), kOld);
  constexpr uid_t kOther = 4321;
  if (::chown(Path("a.car").c_str(), kOther, kOther) != 0) {
    GTEST_SKIP() << "only a privileged process can give a file away";
  }
  EXPECT_EQ(Replace("a.car"), std::nullopt);
  struct stat status {};
  ASSERT_EQ(::stat(Path("a.car").c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, kOther);
  EXPECT_EQ(status.st_gid, kOther);
}

struct LinkCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> links;  // link name -> what it holds
  std::string target;  // the file that ends up with the new bytes
};

void PrintTo(const LinkCase& linkCase, std::ostream* out) {
  *out << linkCase.name;
}

class LinkReplaceTest : public FileReplaceTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkReplaceTest, FileBehindTheLinkIsReplacedAndTheLinkStays) {
  std::filesystem::create_directory(Path("store"));
  WriteFile(Path("store/real.car"), kOld);
  for (const auto& [link, holds] : GetParam().links) {
    const std::string resolved = holds.starts_with("/") ? dir.Path().string() + holds : holds;
    std::filesystem::create_symlink(resolved, Path(link));
  }
  EXPECT_EQ(Replace("chosen.car"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("chosen.car")));
  EXPECT_EQ(ReadFile(Path(GetParam().target)), kNew);
  EXPECT_EQ(FilesIn(Path("store")), GetParam().target == "store/real.car" ? 1u : 2u)
      << "no temporary file is left beside the target";
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkReplaceTest,
    ::testing::Values(LinkCase{"Relative", {{"chosen.car", "store/real.car"}}, "store/real.car"},
                      LinkCase{"Absolute", {{"chosen.car", "/store/real.car"}}, "store/real.car"},
                      LinkCase{"Chain",
                               {{"middle.car", "store/real.car"}, {"chosen.car", "middle.car"}},
                               "store/real.car"},
                      LinkCase{
                          "LeadingNowhere", {{"chosen.car", "store/new.car"}}, "store/new.car"}),
    [](const auto& test) { return test.param.name; });

// The folder takes no new file (here the creation is refused as a write-protected folder
// refuses it to an ordinary user); the existing file is still written, in place.
TEST_F(FileReplaceTest, FolderWithoutNewFilesGetsTheBytesInPlaceBeforeTheFileIsCut) {
  WriteFile(Path("a.car"), kOld);
  ASSERT_EQ(::chmod(Path("a.car").c_str(), 0640), 0);
  files.failures["create"] = EACCES;
  EXPECT_EQ(Replace("a.car"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("a.car")), kNew);
  EXPECT_EQ(PermissionsOf(Path("a.car")), 0640u);
  EXPECT_THAT(files.log, ElementsAre("inspect a.car", "create a.car.saving0", "open a.car",
                                     "write a.car", "truncate a.car", "sync a.car", "close a.car"));
}

TEST_F(FileReplaceTest, ShorterFileInAFolderWithoutNewFilesGrowsToTheNewLength) {
  WriteFile(Path("a.car"), "0123456789");
  files.failures["create"] = EROFS;
  EXPECT_EQ(Replace("a.car"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("a.car")), kNew);
}

TEST_F(FileReplaceTest, FolderWithoutNewFilesAndAFileThatCannotBeWrittenIsReported) {
  WriteFile(Path("a.car"), kOld);
  files.failures["create"] = EACCES;
  files.failures["open"] = EACCES;
  EXPECT_EQ(Replace("a.car"), "Permission denied");
  EXPECT_EQ(ReadFile(Path("a.car")), kOld);
}

TEST_F(FileReplaceTest, MissingFileInAFolderWithoutNewFilesIsReportedWithTheCreateReason) {
  files.failures["create"] = EACCES;
  EXPECT_EQ(Replace("a.car"), "Permission denied");
  EXPECT_FALSE(std::filesystem::exists(Path("a.car")));
}

TEST_F(FileReplaceTest, DeviceIsNeitherRenamedOverNorCut) {
  EXPECT_EQ(ReplaceFileContents("/dev/null", BytesOf(kNew), files), "it is not a plain file");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST_F(FileReplaceTest, StartOfAFileIsOverwrittenInPlaceAndFlushedKeepingTheRest) {
  WriteFile(Path("zavmon.cfg"), "COM1" + kOld);
  EXPECT_EQ(ReplaceFileStart(Path("zavmon.cfg"), BytesOf("COM5"), files), std::nullopt);
  EXPECT_EQ(ReadFile(Path("zavmon.cfg")), "COM5" + kOld);
  EXPECT_THAT(files.log, ElementsAre("inspect zavmon.cfg", "open zavmon.cfg", "write zavmon.cfg",
                                     "sync zavmon.cfg", "close zavmon.cfg"));
}

TEST_F(FileReplaceTest, StartOfAMissingFileCreatesAFileOfJustThoseBytesSafely) {
  EXPECT_EQ(ReplaceFileStart(Path("zavmon.cfg"), BytesOf("COM2"), files), std::nullopt);
  EXPECT_EQ(ReadFile(Path("zavmon.cfg")), "COM2");
  EXPECT_LT(Position("sync zavmon.cfg.saving0"), Position("rename zavmon.cfg.saving0>zavmon.cfg"));
  EXPECT_EQ(files.log.back(), "sync-folder");
}

}  // namespace
}  // namespace zav
