// .car files: the 32-byte layout, "Open" and "Save" with their dialogs and questions, and
// the failures that are reported instead of half-loading or losing an existing file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "params/parameter_file.h"
#include "params/parameter_file_commands.h"
#include "tests/params/params_harness.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/system_reasons.h"

namespace zav {
namespace {

using headless::MessageRecord;
using ::testing::HasSubstr;
using testing::ReadFile;
using ::testing::StartsWith;
using testing::WordBytes;
using testing::WriteFile;

constexpr ParameterWords kFileWords{1, 2, 3, 0x1234, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0xBEEF, 15};

RegisterImage ImageOf(std::uint16_t first) {
  RegisterImage image;
  for (std::size_t i = 0; i < image.values.size(); ++i) {
    image.values[i] = static_cast<std::uint16_t>(first + i);
  }
  return image;
}

TEST(ParameterFileLayoutTest, HoldsRegisters80To95LowByteFirst) {
  const RegisterImage image = ImageOf(0x0102);
  const ParameterFileBytes bytes = EncodeParameterFile(image);
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(bytes[2 * i], image.values[i] & 0xFF) << "register " << 80 + i;
    EXPECT_EQ(bytes[2 * i + 1], image.values[i] >> 8) << "register " << 80 + i;
  }
}

TEST(ParameterFileLayoutTest, LoadingTakesBytes0To29AndIgnoresTheRest) {
  const std::string bytes = WordBytes(kFileWords) + "\xAA\xBB" + std::string(40, '\x55');
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const LoadedParameters loaded = ParametersFromFileStart("x.car", {data, bytes.size()});
  ASSERT_TRUE(loaded.words);
  EXPECT_EQ(*loaded.words, kFileWords);
}

// "Open" and "Save" on the headless host, without a main window: the boxes close at once.
class ParameterFileCommandTest : public ::testing::Test {
 protected:
  ParameterFileCommandTest() {
    link.desktop = &desktop;
    link.image = ImageOf(100);
  }

  std::filesystem::path Path(const std::string& name) const { return dir / name; }

  void Open(const std::filesystem::path& chosen) {
    desktop.QueueFileAnswer(chosen.string());
    OpenParameterFile(link, state);
  }
  void Save(const std::filesystem::path& chosen) {
    desktop.QueueFileAnswer(chosen.string());
    SaveParameterFile(link);
  }

  const std::vector<MessageRecord>& Messages() const { return desktop.Messages(); }
  void ExpectOneError(const std::string& text) const {
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, text);
    EXPECT_EQ(Messages()[0].caption, "Error");
    EXPECT_EQ(Messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(Messages()[0].icon, MessageIcon::Error);
  }
  void ExpectImageUnchanged() const {
    EXPECT_EQ(link.image.values, ImageOf(100).values);
    EXPECT_EQ(link.cycle.sendRequest, SendRequest::None);
  }

  testing::TempDir dir;
  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  Link link;
  ParameterState state;
};

TEST_F(ParameterFileCommandTest, OpenOffersOnlyExistingCarFiles) {
  desktop.QueueFileAnswer(std::nullopt);
  OpenParameterFile(link, state);
  ASSERT_EQ(desktop.FileDialogs().size(), 1u);
  const auto& dialog = desktop.FileDialogs()[0];
  EXPECT_FALSE(dialog.save);
  EXPECT_EQ(dialog.options.filterCaption, "Configuration files ZAV (*.car)");
  EXPECT_EQ(dialog.options.filterPattern, "*.car");
  EXPECT_EQ(dialog.options.defaultExtension, "");
  EXPECT_TRUE(dialog.options.pathMustExist);
  EXPECT_TRUE(dialog.options.fileMustExist);
}

TEST_F(ParameterFileCommandTest, OpenCancelledChangesNothingAndAsksNothing) {
  desktop.QueueFileAnswer(std::nullopt);
  OpenParameterFile(link, state);
  EXPECT_TRUE(Messages().empty());
  ExpectImageUnchanged();
}

TEST_F(ParameterFileCommandTest, OpenLoadsRegisters80To94AndOkRequestsTheWrite) {
  WriteFile(Path("a.car"), WordBytes(kFileWords) + "\xFF\xFF");
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Open(Path("a.car"));
  EXPECT_EQ(ParametersOf(link.image), kFileWords);
  EXPECT_EQ(RegisterValue(link.image, 95), ImageOf(100).values[15]) << "register 95 is kept";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Send data to ZAV ?");
  EXPECT_EQ(Messages()[0].caption, "question");
  EXPECT_EQ(Messages()[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(Messages()[0].icon, MessageIcon::Information);
  EXPECT_EQ(link.cycle.sendRequest, SendRequest::AwaitPetrol);
}

TEST_F(ParameterFileCommandTest, OpenAnsweredCancelKeepsTheLoadedValuesUnsent) {
  WriteFile(Path("a.car"), WordBytes(kFileWords));
  desktop.QueueMessageAnswer(MessageAnswer::Cancel);
  Open(Path("a.car"));
  EXPECT_EQ(ParametersOf(link.image), kFileWords);
  EXPECT_EQ(link.cycle.sendRequest, SendRequest::None);
}

class ShortParameterFileTest : public ParameterFileCommandTest,
                               public ::testing::WithParamInterface<int> {};

TEST_P(ShortParameterFileTest, IsRefusedWithoutTouchingAnyRegisterOrAsking) {
  const int size = GetParam();
  WriteFile(Path("short.car"), WordBytes(kFileWords).substr(0, static_cast<std::size_t>(size)));
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Open(Path("short.car"));
  const std::string count = size == 1 ? "1 byte" : std::to_string(size) + " bytes";
  ExpectOneError(Path("short.car").string() + " holds " + count +
                 "; a parameter file needs at least 30");
  ExpectImageUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShortParameterFileTest, ::testing::Values(0, 1, 10, 11, 29));

TEST_F(ParameterFileCommandTest, OpenOfAMissingFileNamesItAndTheReason) {
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Open(Path("gone.car"));
  ExpectOneError("Cannot open " + Path("gone.car").string() + ": No such file or directory");
  ExpectImageUnchanged();
}

TEST_F(ParameterFileCommandTest, OpenOfAFolderIsReportedAndChangesNothing) {
  std::filesystem::create_directory(Path("folder.car"));
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Open(Path("folder.car"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0].text, StartsWith("Cannot "));
  EXPECT_THAT(Messages()[0].text, HasSubstr(Path("folder.car").string() + ": "));
  EXPECT_EQ(Messages()[0].caption, "Error");
  ExpectImageUnchanged();
}

TEST_F(ParameterFileCommandTest, SaveOffersCarFilesWithDefaultExtensionAndNoMustExist) {
  desktop.QueueFileAnswer(std::nullopt);
  SaveParameterFile(link);
  ASSERT_EQ(desktop.FileDialogs().size(), 1u);
  const auto& dialog = desktop.FileDialogs()[0];
  EXPECT_TRUE(dialog.save);
  EXPECT_EQ(dialog.options.filterCaption, "Configuration files ZAV (*.car)");
  EXPECT_EQ(dialog.options.filterPattern, "*.car");
  EXPECT_EQ(dialog.options.defaultExtension, "car");
  EXPECT_FALSE(dialog.options.pathMustExist);
  EXPECT_FALSE(dialog.options.fileMustExist);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ParameterFileCommandTest, SaveCreatesANewFileOf32BytesWithoutAQuestion) {
  Save(Path("new.car"));
  EXPECT_TRUE(Messages().empty());
  const ParameterFileBytes expected = EncodeParameterFile(link.image);
  EXPECT_EQ(ReadFile(Path("new.car")), std::string(expected.begin(), expected.end()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
      << "no temporary file is left beside it";
}

TEST_F(ParameterFileCommandTest, SaveAnsweredNoLeavesTheExistingFileByteForByte) {
  const std::string old(100, '\x5A');
  WriteFile(Path("old.car"), old);
  desktop.QueueMessageAnswer(MessageAnswer::No);
  Save(Path("old.car"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "File already exist - overwrite ?");
  EXPECT_EQ(Messages()[0].caption, "question");
  EXPECT_EQ(Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(ReadFile(Path("old.car")), old);
}

TEST_F(ParameterFileCommandTest, SaveAnsweredYesLeavesExactly32Bytes) {
  WriteFile(Path("old.car"), std::string(100, '\x5A'));
  desktop.QueueMessageAnswer(MessageAnswer::Yes);
  Save(Path("old.car"));
  EXPECT_EQ(Messages().size(), 1u);
  const ParameterFileBytes expected = EncodeParameterFile(link.image);
  EXPECT_EQ(ReadFile(Path("old.car")), std::string(expected.begin(), expected.end()));
}

// A file kept in a shared folder and reached through a link: "Yes" replaces its contents,
// and the file keeps its permissions and the link keeps leading to it.
TEST_F(ParameterFileCommandTest, SaveAnsweredYesOverALinkReplacesItsTargetKeepingPermissions) {
  std::filesystem::create_directory(Path("shared"));
  WriteFile(Path("shared/van.car"), std::string(100, '\x5A'));
  std::filesystem::permissions(Path("shared/van.car"), std::filesystem::perms(0640));
  std::error_code linkError;
  std::filesystem::create_symlink("shared/van.car", Path("van.car"), linkError);
  if (linkError) {
    GTEST_SKIP() << "no symbolic links here: " << linkError.message();
  }
  desktop.QueueMessageAnswer(MessageAnswer::Yes);
  Save(Path("van.car"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "File already exist - overwrite ?");
  EXPECT_TRUE(std::filesystem::is_symlink(Path("van.car")));
  const ParameterFileBytes expected = EncodeParameterFile(link.image);
  EXPECT_EQ(ReadFile(Path("shared/van.car")), std::string(expected.begin(), expected.end()));
  EXPECT_EQ(std::filesystem::status(Path("shared/van.car")).permissions(),
            std::filesystem::perms(0640));
}

TEST_F(ParameterFileCommandTest, SavedFileOpensToTheSameParametersButNotRegister95) {
  Save(Path("round.car"));
  const RegisterImage saved = link.image;
  link.image = ImageOf(5000);
  desktop.QueueMessageAnswer(MessageAnswer::Cancel);
  Open(Path("round.car"));
  EXPECT_EQ(ParametersOf(link.image), ParametersOf(saved));
  EXPECT_EQ(RegisterValue(link.image, 95), ImageOf(5000).values[15]);
  EXPECT_EQ(ReadFile(Path("round.car")).substr(30), std::string("\x73\x00", 2))
      << "the file carries register 95 (115) as it was";
}

struct SaveFailure {
  std::string name;
  std::string target;  // relative to the test folder
  std::string reason;
};

void PrintTo(const SaveFailure& failure, std::ostream* out) {
  *out << failure.target;
}

class FailedSaveTest : public ParameterFileCommandTest,
                       public ::testing::WithParamInterface<SaveFailure> {};

TEST_P(FailedSaveTest, IsReportedWithoutAQuestionAndWritesNothing) {
  WriteFile(Path("plain"), "not a folder");
  const std::filesystem::path target = Path(GetParam().target);
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Save(target);
  ExpectOneError("Cannot save " + target.string() + ": " + GetParam().reason);
  EXPECT_EQ(ReadFile(Path("plain")), "not a folder");
  EXPECT_FALSE(std::filesystem::is_regular_file(target));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FailedSaveTest,
    ::testing::Values(SaveFailure{"MissingFolder", "missing/p.car", "No such file or directory"},
                      SaveFailure{"ParentIsAFile", "plain/p.car", testing::ParentIsAFileReason()}),
    [](const auto& test) { return test.param.name; });

TEST_F(ParameterFileCommandTest, SaveOntoAFolderIsRefusedAndKeepsTheFolder) {
  std::filesystem::create_directory(Path("folder.car"));
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Save(Path("folder.car"));
  ExpectOneError("Cannot save " + Path("folder.car").string() + ": it is a folder");
  EXPECT_TRUE(std::filesystem::is_directory(Path("folder.car")));
}

// A write that stops half-way (here: the process may write no more than 8 bytes a file,
// which holds for root as well) must not cost the user the file they agreed to replace.
TEST_F(ParameterFileCommandTest, SaveThatFailsWhileWritingKeepsTheOldFileAndReportsIt) {
  const std::string old(100, '\x5A');
  WriteFile(Path("old.car"), old);
  {
    const testing::FileSizeLimit limit(8);  // bytes
    if (!limit.Held()) {
      GTEST_SKIP() << "no limit on a file's size here";
    }
    desktop.QueueMessageAnswer(MessageAnswer::Yes);
    desktop.QueueMessageAnswer(MessageAnswer::Ok);
    Save(Path("old.car"));
  }

  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].text, "Cannot save " + Path("old.car").string() + ": File too large");
  EXPECT_EQ(Messages()[1].icon, MessageIcon::Error);
  EXPECT_EQ(ReadFile(Path("old.car")), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
      << "the unfinished file is removed";
}

}  // namespace
}  // namespace zav
