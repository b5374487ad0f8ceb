// The configuration library: which settings files hold one, how many records, and which
// name the "Name of config" field shows for given values.

#include <gtest/gtest.h>

#include "params/config_name.h"
#include "resources/main_template.h"
#include "tests/params/params_harness.h"

namespace zav {
namespace {

using testing::LibraryRecord;
using testing::SettingsWith;
using testing::WriteFile;

constexpr ParameterWords kGolf{41,   500,   650, 500,  200, 500, 3300, 599,
                               4000, 48160, 5,   2000, 0,   0,   0};
constexpr ParameterWords kPolo{40,   480,   650, 500,  200, 500, 3300, 599,
                               4000, 48160, 5,   2000, 0,   9,   9};

class ConfigLibraryTest : public ::testing::Test {
 protected:
  ConfigLibrary Load(const std::string& settings) {
    WriteFile(dir / "zavmon.cfg", settings);
    ConfigLibrary library;
    library.recordCount = 77;  // whatever was there before is replaced
    LoadConfigLibrary(library, dir / "zavmon.cfg");
    return library;
  }

  testing::TempDir dir;
};

struct SizeCase {
  std::size_t size;  // bytes of the settings file
  std::uint16_t records;
};

void PrintTo(const SizeCase& size, std::ostream* out) {
  *out << size.size << " bytes";
}

class LibrarySizeTest : public ConfigLibraryTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LibrarySizeTest, HoldsOneRecordPerWhole96BytesWithinTheSizeLimits) {
  const ConfigLibrary library = Load("COM1" + std::string(GetParam().size - 4, 'n'));
  EXPECT_EQ(library.recordCount, GetParam().records);
  if (library.recordCount > 0) {
    EXPECT_EQ(library.records.size(), GetParam().size - 4) << "the file from byte 4 on";
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LibrarySizeTest,
                         ::testing::Values(SizeCase{4, 0}, SizeCase{99, 0}, SizeCase{100, 1},
                                           SizeCase{4 + 96 * 3 + 50, 3}, SizeCase{49156, 512},
                                           SizeCase{49157, 0}));

TEST_F(ConfigLibraryTest, MissingSettingsFileGivesNoLibrary) {
  ConfigLibrary library;
  LoadConfigLibrary(library, dir / "absent.cfg");
  EXPECT_EQ(library.recordCount, 0);
}

TEST_F(ConfigLibraryTest, ReleaseEmptiesTheLibrary) {
  ConfigLibrary library = Load(SettingsWith({LibraryRecord("Golf", kGolf)}));
  ASSERT_EQ(library.recordCount, 1);
  ReleaseConfigLibrary(library);
  EXPECT_EQ(library.recordCount, 0);
  EXPECT_TRUE(library.records.empty());
}

TEST_F(ConfigLibraryTest, RecordsGiveTheirNamesAndWords) {
  const ConfigLibrary library =
      Load(SettingsWith({LibraryRecord("Golf", kGolf), LibraryRecord("Polo", kPolo)}));
  EXPECT_EQ(RecordName(library, 1), "Polo");
  EXPECT_EQ(RecordWords(library, 0), kGolf);
  EXPECT_EQ(RecordWords(library, 1), kPolo);
}

TEST_F(ConfigLibraryTest, NameOf63CharactersIsShownWhole) {
  const std::string name(63, 'L');
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord(name, kGolf)}));
  EXPECT_EQ(ConfigNameFor(library, kGolf), name);
}

TEST_F(ConfigLibraryTest, NameWithoutNulEndsWithItsField) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord(std::string(64, 'M'), kGolf)}));
  EXPECT_EQ(ConfigNameFor(library, kGolf), std::string(64, 'M'));
}

TEST_F(ConfigLibraryTest, NameEndsAtItsFirstNul) {
  std::string record = LibraryRecord("Golf", kGolf);
  record.replace(5, 3, "XYZ");  // bytes after the terminating NUL
  const ConfigLibrary library = Load(SettingsWith({record}));
  EXPECT_EQ(ConfigNameFor(library, kGolf), "Golf");
}

TEST_F(ConfigLibraryTest, LaterOfTwoEqualRecordsNamesTheValues) {
  const ConfigLibrary library =
      Load(SettingsWith({LibraryRecord("First", kGolf), LibraryRecord("Polo", kPolo),
                         LibraryRecord("Second", kGolf)}));
  EXPECT_EQ(ConfigNameFor(library, kGolf), "Second");
  EXPECT_EQ(ConfigNameFor(library, kPolo), "Polo");
}

TEST_F(ConfigLibraryTest, DefaultValuesWinOverARecordWithTheSameValues) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord("Factory", kDefaultParameters)}));
  EXPECT_EQ(ConfigNameFor(library, kDefaultParameters), "Default values");
}

TEST_F(ConfigLibraryTest, ValuesOfNoRecordShowTheEmptyText) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord("Golf", kGolf)}));
  ParameterWords other = kGolf;
  other[14] = 1;  // members 14 and 15 count too
  EXPECT_EQ(ConfigNameFor(library, other), "");
}

TEST_F(ConfigLibraryTest, BytesOfAPartialLastRecordNeverMatch) {
  // 4 + 96 + 94: the partial record holds a full name and all fifteen words of kPolo.
  std::string settings = SettingsWith({LibraryRecord("Golf", kGolf), LibraryRecord("Polo", kPolo)});
  settings.resize(settings.size() - 2);
  const ConfigLibrary library = Load(settings);
  ASSERT_EQ(library.recordCount, 1);
  EXPECT_EQ(ConfigNameFor(library, kPolo), "");
}

TEST_F(ConfigLibraryTest, WithoutALibraryNothingIsNamedNotEvenTheDefaults) {
  const ConfigLibrary library = Load("COM1");
  EXPECT_EQ(ConfigNameFor(library, kDefaultParameters), std::nullopt);
}

TEST_F(ConfigLibraryTest, CountBeyondTheBufferReadsOnlyWholeRecords) {
  ConfigLibrary library = Load(SettingsWith({LibraryRecord("Golf", kGolf)}));
  library.recordCount = 5;
  EXPECT_EQ(UsableRecords(library), 1u);
  EXPECT_EQ(ConfigNameFor(library, kGolf), "Golf");
}

// The field of the main window itself.
class ConfigNameFieldTest : public ConfigLibraryTest {
 protected:
  // Runs the main window template; `show` runs once inside it.
  void RunWithMainWindow(const std::function<void(WindowRef)>& show) {
    desktop.At(0, [&] {
      const WindowRef window = desktop.Newest(kMainTemplateId)->window;
      desktop.SetText(window, kConfigNameField, "before");
      show(window);
      desktop.RequestClose(kMainTemplateId);
    });
    desktop.RunDialog(MainTemplate(), WindowRef{},
                      [](Desktop& desk, WindowRef window, const DialogEvent& event) {
                        if (event.message == DialogMessage::Close) {
                          desk.EndDialog(window, 0);
                        }
                        return true;
                      });
  }
  std::string Field() const { return desktop.Control(kMainTemplateId, kConfigNameField).text; }

  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  RegisterImage image;
};

TEST_F(ConfigNameFieldTest, ShowsTheMatchingName) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord("Golf", kGolf)}));
  StoreParameters(image, kGolf);
  RunWithMainWindow([&](WindowRef window) { ShowConfigName(library, image, desktop, window); });
  EXPECT_EQ(Field(), "Golf");
}

TEST_F(ConfigNameFieldTest, ShowsSingleByteNamesAsTheirCharacters) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord("Caf\xE9 \xB0", kGolf)}));
  StoreParameters(image, kGolf);
  RunWithMainWindow([&](WindowRef window) { ShowConfigName(library, image, desktop, window); });
  EXPECT_EQ(Field(), "Caf\u00E9 \u00B0");
}

TEST_F(ConfigNameFieldTest, IsClearedWhenNoRecordMatches) {
  const ConfigLibrary library = Load(SettingsWith({LibraryRecord("Golf", kGolf)}));
  RunWithMainWindow([&](WindowRef window) { ShowConfigName(library, image, desktop, window); });
  EXPECT_EQ(Field(), "");
}

TEST_F(ConfigNameFieldTest, IsLeftAloneWhileNoLibraryIsLoaded) {
  const ConfigLibrary library;
  ApplyDefaults(image);
  RunWithMainWindow([&](WindowRef window) { ShowConfigName(library, image, desktop, window); });
  EXPECT_EQ(Field(), "before");
}

}  // namespace
}  // namespace zav
