#pragma once
// A locale that writes the decimal point as a comma (de_DE.UTF-8), for tests that check
// that numbers in files, CSV and JSON do not follow the user's locale. Set in the process
// (setlocale, as Qt's application object does from the environment) and in the environment
// (LC_ALL, for child processes).
//
// When the system has no such locale it is made with localedef into a private folder
// (LOCPATH). When that is impossible too, the test is skipped with a message on a
// developer's machine, and fails where ZAV_REQUIRE_COMMA_LOCALE is set (scripts/test.sh
// and CI set it after generating the locale).

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace zav::testing {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

class CommaLocale {
 public:
  CommaLocale() = default;
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  ~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LC_ALL");
    if (madeHere_) {
      unsetenv("LOCPATH");
    }
  }

  // True when the locale is in force; otherwise the reason is in `Problem()`.
  bool Enter() {
    if (Try()) {
      return true;
    }
    const std::filesystem::path folder = folder_.Path() / "locales";
    std::filesystem::create_directories(folder);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / kCommaLocale).string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
      setenv("LOCPATH", folder.c_str(), 1);
      madeHere_ = true;
      if (Try()) {
        return true;
      }
    }
    problem_ = std::string("no locale ") + kCommaLocale +
               " (install the Debian package locales, or run scripts/test.sh, which makes it)";
    return false;
  }

  const std::string& Problem() const { return problem_; }

 private:
  bool Try() {
    if (std::setlocale(LC_ALL, kCommaLocale) == nullptr) {
      return false;
    }
    setenv("LC_ALL", kCommaLocale, 1);
    return std::localeconv()->decimal_point[0] == ',';
  }

  TempDir folder_;
  bool madeHere_ = false;
  std::string problem_;
};

// In a test body: the comma locale, or a loud failure where it is required, else a skip.
#define ZAV_ENTER_COMMA_LOCALE(locale)                          \
  do {                                                          \
    if (!(locale).Enter()) {                                    \
      if (std::getenv("ZAV_REQUIRE_COMMA_LOCALE") != nullptr) { \
        FAIL() << (locale).Problem();                           \
      }                                                         \
      GTEST_SKIP() << (locale).Problem();                       \
    }                                                           \
  } while (false)

}  // namespace zav::testing
