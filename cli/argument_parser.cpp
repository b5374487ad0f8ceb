#include "cli/argument_parser.h"

#include <utility>

namespace zav::cli {

int ArgumentParser::Add(OptionSpec option) {
  options_.push_back(std::move(option));
  values_.emplace_back();
  set_.push_back(false);
  return static_cast<int>(options_.size()) - 1;
}

std::optional<int> ArgumentParser::Find(std::string_view name) const {
  for (std::size_t index = 0; index < options_.size(); ++index) {
    for (const std::string_view known : options_[index].names) {
      if (known == name) {
        return static_cast<int>(index);
      }
    }
  }
  return std::nullopt;
}

bool ArgumentParser::TakeValue(int option, const std::string& argument,
                               std::span<const std::string>& rest) {
  const std::size_t assign = argument.find('=');
  if (options_[option].takesValue) {
    if (assign != std::string::npos) {
      values_[option].push_back(argument.substr(assign + 1));
      return true;
    }
    if (rest.empty()) {
      error_ = "Missing value after '" + argument + "'.";
      return false;
    }
    values_[option].push_back(rest.front());  // whatever it is, even "-x"
    rest = rest.subspan(1);
    return true;
  }
  if (assign != std::string::npos) {
    error_ = "Unexpected value after '" + argument.substr(0, assign) + "'.";
    return false;
  }
  return true;
}

bool ArgumentParser::Parse(std::span<const std::string> args) {
  bool valid = true;
  bool onlyPositional = false;
  std::span<const std::string> rest = args.empty() ? args : args.subspan(1);
  while (!rest.empty()) {
    const std::string argument = rest.front();
    rest = rest.subspan(1);
    if (onlyPositional || argument.size() < 2 || argument[0] != '-') {
      positional_.push_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyPositional = true;
      continue;
    }
    const std::size_t dashes = argument.starts_with("--") ? 2 : 1;
    const std::string name = argument.substr(dashes, argument.find('=') - dashes);
    const std::optional<int> option = Find(name);
    if (!option) {
      unknown_.push_back(name);
      valid = false;
      continue;
    }
    set_[*option] = true;
    valid = TakeValue(*option, argument, rest) && valid;
  }
  return valid;
}

bool ArgumentParser::IsSet(int option) const {
  return set_.at(option);
}

std::string ArgumentParser::Value(int option) const {
  const std::vector<std::string>& values = values_.at(option);
  return values.empty() ? std::string() : values.back();
}

}  // namespace zav::cli
