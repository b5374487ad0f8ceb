#pragma once
// A command's own options and positional arguments, as zavctl has always read them: an
// option is named with one dash or two ("-o", "--json", "-json"), its value follows as the
// next argument or after '=' ("--for=5"); "--" makes everything after it positional, and a
// lone "-" is positional (standard input or output). Unknown options are collected rather
// than ending the parse, so that the first can be named.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zav::cli {

// The arguments of one command, its own name first.
using Arguments = std::vector<std::string>;

struct OptionSpec {
  std::vector<std::string_view> names;  // without dashes: {"h", "help"}
  bool takesValue = false;
};

class ArgumentParser {
 public:
  // Returns the option's index, for IsSet and Value.
  int Add(OptionSpec option);

  // False on an unknown option or a missing or unexpected value; UnknownOptions and
  // ErrorText say which. args[0], the command's name, is skipped.
  bool Parse(std::span<const std::string> args);

  bool IsSet(int option) const;
  // The option's last value; empty when it was not given.
  std::string Value(int option) const;
  const std::vector<std::string>& Positional() const { return positional_; }
  // Unknown option names as typed, without their dashes, in order.
  const std::vector<std::string>& UnknownOptions() const { return unknown_; }
  // "Missing value after '-o'." or "Unexpected value after '--json'."
  const std::string& ErrorText() const { return error_; }

 private:
  std::optional<int> Find(std::string_view name) const;
  // Takes the value of the option named in `argument`, from it or from the next argument;
  // false with the error text set when that does not fit the option.
  bool TakeValue(int option, const std::string& argument, std::span<const std::string>& rest);

  std::vector<OptionSpec> options_;
  std::vector<std::vector<std::string>> values_;  // per option, every value given
  std::vector<bool> set_;
  std::vector<std::string> positional_;
  std::vector<std::string> unknown_;
  std::string error_;
};

}  // namespace zav::cli
