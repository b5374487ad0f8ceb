// zavctl library: edits of zavmon.cfg read back through the window's own library loader,
// on a library of 500 records and at the limits of names and file size.

#include <string>
#include <vector>

#include "params/config_library.h"
#include "params/config_name.h"
#include "tests/e2e/zavctl_run.h"

namespace zav::test {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// A record as the window reads it: the name NUL-padded to 64 bytes, fifteen words, 2 bytes.
std::string Record(const std::string& name, std::uint16_t firstWord) {
  std::string record(kRecordBytes, '\0');
  record.replace(0, name.size(), name);
  record[kRecordWordsOffset] = static_cast<char>(firstWord & 0xFFU);
  record[kRecordWordsOffset + 1] = static_cast<char>(firstWord >> 8U);
  return record;
}

std::vector<std::string> NamesInTheWindow(const std::filesystem::path& settings) {
  ConfigLibrary library;
  LoadConfigLibrary(library, settings);
  std::vector<std::string> names;
  for (std::size_t index = 0; index < UsableRecords(library); ++index) {
    names.push_back(RecordName(library, index));
  }
  return names;
}

TEST_F(ZavctlTest, LibraryEditsKeepThePortAndEveryOtherRecordAndTheWindowReadsThem) {
  std::string settings = "COM7";
  std::vector<std::string> names;
  for (int i = 0; i < 499; ++i) {
    names.push_back("Car " + std::to_string(i));
    settings += Record(names.back(), static_cast<std::uint16_t>(i));
  }
  WriteFile(dir_ / "zavmon.cfg", settings);
  std::string car = FactoryCarFile();
  car[0] = 45;  // register 80: values of their own, not the defaults
  WriteFile(dir_ / "van.car", car);

  // The 500th record, then a name of 63 bytes; a name of 64 bytes and a duplicate are refused.
  ASSERT_EQ(Zavctl({"library", "add", "Van", "van.car"}).code, 0);
  const std::string name63(63, 'n');
  ASSERT_EQ(Zavctl({"library", "add", name63, "van.car"}).code, 0);
  const std::string afterAdds = ReadFile(dir_ / "zavmon.cfg");
  EXPECT_EQ(Zavctl({"library", "add", std::string(64, 'n'), "van.car"}).code, 2);
  const ZavctlRun duplicate = Zavctl({"library", "add", "Van", "van.car"});
  EXPECT_EQ(duplicate.code, 3);
  EXPECT_NE(duplicate.err.find("already holds a configuration named \"Van\""), std::string::npos);
  EXPECT_EQ(ReadFile(dir_ / "zavmon.cfg"), afterAdds);

  names.push_back("Van");
  names.push_back(name63);
  EXPECT_EQ(NamesInTheWindow(dir_ / "zavmon.cfg"), names);
  EXPECT_EQ(afterAdds.substr(0, settings.size()), settings);  // port and old records as they were
  ConfigLibrary library;
  LoadConfigLibrary(library, dir_ / "zavmon.cfg");
  ParameterWords vanWords{};
  for (std::size_t i = 0; i < vanWords.size(); ++i) {
    vanWords[i] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(car[2 * i]) |
                                             static_cast<std::uint8_t>(car[2 * i + 1]) << 8U);
  }
  // The window names the last record holding the values it reads (both added ones do).
  EXPECT_EQ(ConfigNameFor(library, vanWords), name63);
  EXPECT_EQ(Zavctl({"library", "list"}).out.substr(0, 12), "Car 0\nCar 1\n");

  // A record from the middle goes; the others keep their order and values.
  ASSERT_EQ(Zavctl({"library", "remove", "Car 250"}).code, 0);
  names.erase(names.begin() + 250);
  EXPECT_EQ(NamesInTheWindow(dir_ / "zavmon.cfg"), names);
  const std::string afterRemove = ReadFile(dir_ / "zavmon.cfg");
  EXPECT_EQ(afterRemove.substr(0, 4 + 250 * kRecordBytes),
            settings.substr(0, 4 + 250 * kRecordBytes));
  EXPECT_EQ(afterRemove.substr(4 + 250 * kRecordBytes), afterAdds.substr(4 + 251 * kRecordBytes));
  EXPECT_EQ(Zavctl({"library", "remove", "Car 250"}).code, 3);

  // export gives the record's values back as a .car file (register 95 zero).
  ASSERT_EQ(Zavctl({"library", "export", "Van", "-o", "out.car"}).code, 0);
  EXPECT_EQ(ReadFile(dir_ / "out.car").substr(0, 30), car.substr(0, 30));
  EXPECT_NE(
      Zavctl({"library", "show", "Car 7"}).out.find("80   Temperature                   7 °C"),
      std::string::npos);
  EXPECT_EQ(Zavctl({"diff", "lib:Van", "van.car"}).code, 0);

  // Names are kept in Latin-1, as the window shows them: "Müller" takes six bytes, 63
  // letters "ü" (126 bytes from the terminal) fit, and a "€" cannot be kept.
  ASSERT_EQ(Zavctl({"library", "add", "M\xC3\xBCller", "van.car"}).code, 0);
  EXPECT_EQ(NamesInTheWindow(dir_ / "zavmon.cfg").back(), "M\xFCller");
  EXPECT_NE(Zavctl({"library", "list"}).out.find("\nM\xC3\xBCller\n"), std::string::npos);
  std::string umlauts;
  for (int i = 0; i < 63; ++i) {
    umlauts += "\xC3\xBC";
  }
  EXPECT_EQ(Zavctl({"library", "add", umlauts, "van.car"}).code, 0);
  EXPECT_EQ(Zavctl({"library", "add", "\xE2\x82\xAC", "van.car"}).code, 2);
  EXPECT_EQ(Zavctl({"diff", "lib:M\xC3\xBCller", "van.car"}).code, 0);
}

TEST_F(ZavctlTest, LibraryRefusesAFullLibraryAndAPartialRecordAndLeavesTheFileAsItIs) {
  WriteFile(dir_ / "van.car", FactoryCarFile());
  std::string full = "COM1";
  for (int i = 0; i < 512; ++i) {
    full += Record("R" + std::to_string(i), 0);
  }
  WriteFile(dir_ / "zavmon.cfg", full);
  ZavctlRun run = Zavctl({"library", "add", "Van", "van.car"});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("the library is full"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile(dir_ / "zavmon.cfg"), full);

  const std::string partial = "COM1" + Record("A", 1) + std::string(10, '\x7F');
  WriteFile(dir_ / "zavmon.cfg", partial);
  run = Zavctl({"library", "add", "Van", "van.car"});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("ends in a partial record (10 bytes"), std::string::npos) << run.err;
  EXPECT_EQ(Zavctl({"library", "remove", "A"}).code, 3);
  EXPECT_EQ(ReadFile(dir_ / "zavmon.cfg"), partial);
}

}  // namespace
}  // namespace zav::test
