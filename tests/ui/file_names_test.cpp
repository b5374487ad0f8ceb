// File names in the fitter's own letters: a parameter file and a data log named after the car
// and the drive keep every letter of their names on disk, read back under those names, and
// show them as they are in the status line.

#include <gtest/gtest.h>

#include <set>

#include "datalog/csv_log_reader.h"
#include "datalog/recorder.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "tests/support/program_harness.h"
#include "ui/data_log_commands.h"

namespace zav {
namespace {

using testing::kSecond;
using testing::ProgramHarness;

// The names as the system's own path type spells them from UTF-8, and as the program's
// dialogs hand them over: UTF-8 text.
std::filesystem::path NamedPath(const std::filesystem::path& folder, std::u8string_view name) {
  return folder / std::filesystem::path(name);
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

std::string BytesOf(std::u8string_view text) {
  return {text.begin(), text.end()};
}

// The names of the folder's entries, in UTF-8.
std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(BytesOf(entry.path().filename().u8string()));
  }
  return names;
}

// "Š", "Ö" and the dash are in Western code pages, "ř" and "í" in few of them: a name passed
// through any code page but UTF-8 loses some of them.
constexpr std::u8string_view kCarName = u8"\u0160koda Fabia \u2013 \u00d6.car";
constexpr std::u8string_view kFolderName = u8"Kunde J\u00fcrgen \u0159";
constexpr std::u8string_view kLogName = u8"J\u00edzda \u0159idi\u010de \u2013 \u00d6.csv";

TEST(FileNamesTest, ACarAndALogNamedInTheFittersLettersAreWrittenAndReadBackUnderThoseNames) {
  ProgramHarness harness;
  const std::filesystem::path car = NamedPath(harness.dir.Path(), kCarName);
  const std::filesystem::path folder = NamedPath(harness.dir.Path(), kFolderName);
  const std::filesystem::path log = NamedPath(folder, kLogName);
  const std::uint16_t saved[] = {1234, 321, 4321, 77};  // registers 80 to 83
  for (std::uint8_t i = 0; i < 4; ++i) {
    harness.controller.SetRegister(static_cast<std::uint8_t>(80 + i), saved[i]);
  }
  std::string statusWhileRecording;
  harness.desktop.At(1 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(Utf8Of(log));
    harness.desktop.ChooseAddedItem(kMainTemplateId, kStartRecording);
  });
  harness.desktop.At(2 * kSecond, [&] {
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Read from ZAV?"
    harness.desktop.Press(kMainTemplateId, kCommandReadFromZav);
  });
  harness.desktop.At(9 * kSecond, [&] {
    statusWhileRecording = *harness.desktop.Newest(kMainTemplateId)->statusLine;
    harness.desktop.ChooseAddedItem(kMainTemplateId, kStopRecording);
    harness.desktop.QueueFileAnswer(Utf8Of(car));
    harness.desktop.Press(kMainTemplateId, kCommandSave);
    for (std::uint8_t i = 0; i < 4; ++i) {
      harness.controller.SetRegister(static_cast<std::uint8_t>(80 + i), 5);
    }
  });
  harness.desktop.At(10 * kSecond, [&] {
    harness.desktop.QueueFileAnswer(Utf8Of(car));
    harness.desktop.QueueMessageAnswer(MessageAnswer::Ok);  // "Send data to ZAV ?"
    harness.desktop.Press(kMainTemplateId, kCommandOpen);
  });
  harness.RunUntil(16 * kSecond);

  for (const auto& message : harness.desktop.Messages()) {
    EXPECT_NE(message.icon, MessageIcon::Error) << message.text;
  }
  EXPECT_TRUE(NamesIn(harness.dir.Path()).contains(BytesOf(kCarName)));
  EXPECT_TRUE(NamesIn(harness.dir.Path()).contains(BytesOf(kFolderName)));
  EXPECT_EQ(NamesIn(folder),
            (std::set<std::string>{BytesOf(kLogName), BytesOf(kLogName) + ".params.car"}));
  EXPECT_EQ(std::filesystem::file_size(car), 32U);

  // The .car read back and sent: the controller holds the saved values again.
  for (std::uint8_t i = 0; i < 4; ++i) {
    EXPECT_EQ(harness.controller.Register(static_cast<std::uint8_t>(80 + i)), saved[i]);
  }
  const CsvLogContents rows = ReadCsvLog(log);
  EXPECT_EQ(rows.error, "");
  EXPECT_GT(rows.samples.size(), 10U);
  EXPECT_NE(statusWhileRecording.find(Utf8Of(log.filename())), std::string::npos)
      << statusWhileRecording;
}

}  // namespace
}  // namespace zav
