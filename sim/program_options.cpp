#include "sim/program_options.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <vector>

namespace zav::sim {
namespace {

// Returns an error text, or nothing when the value was taken.
using Setter = std::function<std::optional<std::string>(ProgramOptions&, std::string_view)>;

struct OptionEntry {
  std::string_view name;
  std::string_view valueName;  // empty: the option is a flag
  std::string_view help;
  Setter set;
};

// The whole of `text` as a number; `extra` is the base of a whole number or the format of a
// fraction.
template <typename Number, typename... Extra>
std::optional<Number> ParseNumber(std::string_view text, Extra... extra) {
  Number number{};
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, number, extra...);
  if (text.empty() || failure != std::errc{} || stop != end) {
    return std::nullopt;
  }
  return number;
}

std::optional<double> ParseRate(std::string_view text) {
  const std::optional<double> rate = ParseNumber<double>(text, std::chars_format::fixed);
  if (!rate || !(*rate >= 0.0 && *rate <= 1.0)) {
    return std::nullopt;
  }
  return rate;
}

std::optional<std::uint16_t> ParseHexWord(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  }
  return ParseNumber<std::uint16_t>(text, 16);
}

std::string Refusal(std::string_view name, std::string_view value, std::string_view expected) {
  return "invalid value '" + std::string(value) + "' for " + std::string(name) + " (" +
         std::string(expected) + ")";
}

Setter RateSetter(std::string_view name, double FaultOptions::*rate) {
  return [name, rate](ProgramOptions& options, std::string_view value) {
    const std::optional<double> parsed = ParseRate(value);
    if (!parsed) {
      return std::optional(Refusal(name, value, "a rate from 0 to 1"));
    }
    options.controller.faults.*rate = *parsed;
    return std::optional<std::string>();
  };
}

Setter CountSetter(std::string_view name, std::uint32_t FaultOptions::*count) {
  return [name, count](ProgramOptions& options, std::string_view value) {
    const std::optional<std::uint32_t> parsed = ParseNumber<std::uint32_t>(value);
    if (!parsed) {
      return std::optional(Refusal(name, value, "a whole number"));
    }
    options.controller.faults.*count = *parsed;
    return std::optional<std::string>();
  };
}

Setter Flag(std::function<void(ProgramOptions&)> set) {
  return [set](ProgramOptions& options, std::string_view) {
    set(options);
    return std::optional<std::string>();
  };
}

Setter TextSetter(std::string ProgramOptions::*text) {
  return [text](ProgramOptions& options, std::string_view value) {
    options.*text = std::string(value);
    return std::optional<std::string>();
  };
}

std::optional<std::string> SetSeed(ProgramOptions& options, std::string_view value) {
  const std::optional<std::uint32_t> seed = ParseNumber<std::uint32_t>(value);
  if (!seed) {
    return Refusal("--seed", value, "a whole number below 2^32");
  }
  options.controller.seed = *seed;
  return std::nullopt;
}

std::optional<std::string> SetErrors(ProgramOptions& options, std::string_view value) {
  const std::optional<std::uint16_t> flags = ParseHexWord(value);
  if (!flags) {
    return Refusal("--errors", value, "hexadecimal, 0 to FFFF");
  }
  options.errorFlags = *flags;
  return std::nullopt;
}

// Sixteen hex digits, two per version character, registers 95 to 98 high byte first, so
// that any byte can be given, those above 0x7F too.
std::optional<std::string> SetVersionBytes(ProgramOptions& options, std::string_view value) {
  constexpr std::size_t kDigitsPerRegister = 4;
  std::array<std::uint16_t, 4> registers{};
  if (value.size() != registers.size() * kDigitsPerRegister) {
    return Refusal("--version-bytes", value, "16 hexadecimal digits, registers 95 to 98");
  }
  for (std::size_t index = 0; index < registers.size(); ++index) {
    const std::optional<std::uint16_t> word = ParseNumber<std::uint16_t>(
        value.substr(index * kDigitsPerRegister, kDigitsPerRegister), 16);
    if (!word) {
      return Refusal("--version-bytes", value, "16 hexadecimal digits, registers 95 to 98");
    }
    registers[index] = *word;
  }
  options.versionRegisters = registers;
  return std::nullopt;
}

// Two gas/petrol ratios, "LEFT,RIGHT", each above 0 and at most 10.
std::optional<std::string> SetGasNeed(ProgramOptions& options, std::string_view value) {
  constexpr double kLargestFactor = 10.0;
  const std::size_t comma = value.find(',');
  const auto factor = [&](std::string_view text) {
    const std::optional<double> parsed = ParseNumber<double>(text, std::chars_format::fixed);
    return parsed && *parsed > 0.0 && *parsed <= kLargestFactor ? parsed : std::nullopt;
  };
  const std::optional<double> left =
      comma == value.npos ? std::nullopt : factor(value.substr(0, comma));
  const std::optional<double> right =
      comma == value.npos ? std::nullopt : factor(value.substr(comma + 1));
  if (!left || !right) {
    return Refusal("--gas-need", value, "LEFT,RIGHT: two factors above 0 and at most 10");
  }
  options.controller.engine.gasNeed = GasFactors{*left, *right};
  return std::nullopt;
}

std::optional<std::string> SetDrive(ProgramOptions& options, std::string_view value) {
  if (value == "idle") {
    options.controller.engine.drive = DriveMode::kIdle;
  } else if (value == "cycle") {
    options.controller.engine.drive = DriveMode::kCycle;
  } else if (value == "road") {
    options.controller.engine.drive = DriveMode::kRoad;
  } else {
    return Refusal("--drive", value, "idle, cycle or road");
  }
  return std::nullopt;
}

// Manifold pressure (mbar) for the road drive: its top, or how much higher it holds.
Setter MbarSetter(std::string_view name, double low, double high,
                  void (*set)(EngineOptions& engine, double mbar)) {
  return [name, low, high, set](ProgramOptions& options, std::string_view value) {
    const std::optional<double> mbar = ParseNumber<double>(value, std::chars_format::fixed);
    if (!mbar || !(*mbar >= low && *mbar <= high)) {
      return std::optional(Refusal(name, value,
                                   "mbar, " + std::to_string(static_cast<int>(low)) + " to " +
                                       std::to_string(static_cast<int>(high))));
    }
    set(options.controller.engine, *mbar);
    return std::optional<std::string>();
  };
}

// Seconds, with a fraction if wanted, kept in ms.
Setter SecondsSetter(std::string_view name, std::uint32_t ProgramOptions::*milliseconds) {
  return [name, milliseconds](ProgramOptions& options, std::string_view value) {
    const std::optional<double> seconds = ParseNumber<double>(value, std::chars_format::fixed);
    constexpr double kMostSeconds = 86400.0;
    if (!seconds || !(*seconds > 0.0 && *seconds <= kMostSeconds)) {
      return std::optional(Refusal(name, value, "seconds, above 0 and at most 86400"));
    }
    options.*milliseconds = static_cast<std::uint32_t>(*seconds * 1000.0 + 0.5);
    return std::optional<std::string>();
  };
}

std::vector<OptionEntry> OptionTable() {
  using Faults = FaultOptions;
  return {
      {"--pty", "", "serve a new pseudo-terminal; its path is the first line printed",
       Flag([](ProgramOptions& options) { options.pseudoTerminal = true; })},
      {"--device", "PATH", "serve a serial device (9600 8N1, raw, no flow control)",
       TextSetter(&ProgramOptions::devicePath)},
      {"--firmware-out", "FILE", "write each firmware image received to FILE",
       TextSetter(&ProgramOptions::firmwareOut)},
      {"--log", "", "print each request taken in on standard error",
       Flag([](ProgramOptions& options) { options.logRequests = true; })},
      {"--seed", "N", "seed of the engine model and the faults (default 1)", SetSeed},
      {"--errors", "HEX", "error flags, register 102 (default 0)", SetErrors},
      {"--version-bytes", "HEX",
       "version characters, registers 95 to 98: 16 hex digits (default 3130323330343132)",
       SetVersionBytes},
      {"--gas-need", "LEFT,RIGHT",
       "the factors that would be exactly right for the engine (default: the factory's)",
       SetGasNeed},
      {"--drive", "MODE",
       "idle (default): idling with the odd rev and dip; cycle: a 3-minute sweep of RPM and "
       "load; road: a drive on the road, wandering as --seed decides",
       SetDrive},
      {"--road-top", "MBAR",
       "the road drive keeps its manifold pressure at or below MBAR (300 to 900; default: "
       "up to full load)",
       MbarSetter("--road-top", 300.0, 900.0,
                  [](EngineOptions& engine, double mbar) { engine.roadTopMbar = mbar; })},
      {"--road-shift", "MBAR",
       "the road drive holds each load MBAR higher (-200 to 200), the same road otherwise",
       MbarSetter("--road-shift", -200.0, 200.0,
                  [](EngineOptions& engine, double mbar) { engine.roadShiftMbar = mbar; })},
      {"--drop", "RATE", "share of answer bytes lost", RateSetter("--drop", &Faults::dropRate)},
      {"--corrupt", "RATE", "share of answer bytes damaged",
       RateSetter("--corrupt", &Faults::corruptRate)},
      {"--duplicate", "RATE", "share of answer bytes sent twice",
       RateSetter("--duplicate", &Faults::duplicateRate)},
      {"--split", "RATE", "share of answer frames split by a 100-300 ms gap",
       RateSetter("--split", &Faults::splitRate)},
      {"--stray", "RATE", "share of answer frames preceded by stray bytes",
       RateSetter("--stray", &Faults::strayRate)},
      {"--silence-every", "MS", "start a silent period every MS ms (with --silence-for)",
       CountSetter("--silence-every", &Faults::silenceEveryMs)},
      {"--silence-for", "MS", "length of each silent period (ms)",
       CountSetter("--silence-for", &Faults::silenceForMs)},
      {"--nak-burst", "N", "upload: answer a good block with NAK N times before its ACK",
       CountSetter("--nak-burst", &Faults::nakBurst)},
      {"--nak-burst-rate", "RATE", "upload: share of blocks that get a NAK burst (default 1)",
       RateSetter("--nak-burst-rate", &Faults::nakBurstRate)},
      {"--stray-ack", "", "upload: send one unsolicited ACK before the first NAK",
       Flag([](ProgramOptions& options) { options.controller.faults.strayAck = true; })},
      {"--drop-input", "RATE", "share of bytes from the tool lost",
       RateSetter("--drop-input", &Faults::dropInputRate)},
      {"--drop-upload", "RATE", "upload: share of firmware bytes from the tool lost",
       RateSetter("--drop-upload", &Faults::dropUploadRate)},
      {"--ignore-writes", "", "answer parameter writes but keep the old values",
       Flag([](ProgramOptions& options) { options.controller.faults.ignoreWrites = true; })},
      {"--link", "PATH", "with --pty: keep a symbolic link PATH to the pseudo-terminal",
       TextSetter(&ProgramOptions::linkPath)},
      {"--unplug-after", "S",
       "with --link: after S seconds close the pseudo-terminal (an "
       "adapter pulled out)",
       SecondsSetter("--unplug-after", &ProgramOptions::unplugAfterMs)},
      {"--unplug-for", "S", "then after S seconds serve a new one behind the same link",
       SecondsSetter("--unplug-for", &ProgramOptions::unplugForMs)},
      {"--help", "", "show this help and exit",
       Flag([](ProgramOptions& options) { options.showHelp = true; })},
  };
}

const OptionEntry* FindOption(const std::vector<OptionEntry>& table, std::string_view name) {
  for (const OptionEntry& entry : table) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

std::optional<std::string> CheckCombination(const ProgramOptions& options) {
  if (options.showHelp) {
    return std::nullopt;
  }
  if (options.pseudoTerminal == !options.devicePath.empty()) {
    return "choose one of --pty and --device PATH";
  }
  const FaultOptions& faults = options.controller.faults;
  if ((faults.silenceEveryMs == 0) != (faults.silenceForMs == 0)) {
    return "--silence-every and --silence-for go together";
  }
  if (!options.linkPath.empty() && !options.pseudoTerminal) {
    return "--link needs --pty";
  }
  if ((options.unplugAfterMs == 0) != (options.unplugForMs == 0)) {
    return "--unplug-after and --unplug-for go together";
  }
  if (options.unplugAfterMs != 0 && options.linkPath.empty()) {
    return "--unplug-after needs --link PATH, where the new pseudo-terminal is found";
  }
  return std::nullopt;
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  const std::vector<OptionEntry> table = OptionTable();
  ProgramOptions options;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    std::string_view name = arguments[index];
    std::optional<std::string_view> value;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const OptionEntry* entry = FindOption(table, name);
    if (entry == nullptr) {
      return {std::nullopt, "unknown option '" + std::string(arguments[index]) + "'"};
    }
    if (entry->valueName.empty() && value) {
      return {std::nullopt, "option " + std::string(name) + " takes no value"};
    }
    if (!entry->valueName.empty() && !value) {
      if (index + 1 == arguments.size()) {
        return {std::nullopt,
                "option " + std::string(name) + " needs " + std::string(entry->valueName)};
      }
      value = arguments[++index];
    }
    if (std::optional<std::string> error = entry->set(options, value.value_or(""))) {
      return {std::nullopt, *error};
    }
  }
  if (std::optional<std::string> error = CheckCombination(options)) {
    return {std::nullopt, *error};
  }
  return {options, ""};
}

std::string UsageText() {
  std::string text =
      "Usage: zavsim (--pty | --device PATH) [options]\n"
      "A virtual ZAV controller on a serial line, at the pace of 9600 baud.\n\nOptions:\n";
  for (const OptionEntry& entry : OptionTable()) {
    std::string left = "  " + std::string(entry.name);
    if (!entry.valueName.empty()) {
      left += " " + std::string(entry.valueName);
    }
    left.resize(std::max<std::size_t>(left.size() + 2, 26), ' ');
    text += left + std::string(entry.help) + "\n";
  }
  text +=
      "\nThis is the simulator's model, not a statement about the controller or a vehicle.\n"
      "Gas injection times: the gas/petrol ratio follows ZAV Monitor's model of the\n"
      "controller's line, the left factor of the Parameters dialog's chart up to 2.5 ms of\n"
      "petrol time, the right factor from 7 ms, straight between, whatever the drive; the\n"
      "factors are found from registers 87 to 89; a spread per cylinder and a little noise.\n"
      "The engine's gas need is the same line drawn from the --gas-need factors; cylinders 1\n"
      "to 4 need +2 %, -1 %, +1 % and -2 % of it. On gas the petrol unit keeps its lambda\n"
      "loop on one probe: it multiplies all petrol times by one trim that follows the\n"
      "cylinders' mean need/delivered with a lag of about 2 s, within +-25 %, and the probe\n"
      "stays lean or rich while the trim is at its bound; on petrol the trim is 1. Petrol\n"
      "time is 2.5 ms plus 4 ms per unit of load, manifold pressure 250 mbar plus 550 mbar\n"
      "per unit. The drive cycle holds 18 steady points of RPM (1200 to 3200) and load,\n"
      "petrol times 2.5 to 7 ms, 10 s each. The road drive (--seed N picks one) wanders:\n"
      "accelerations, holds of 2 to 8 s at random loads, gear changes, a few stops at idle,\n"
      "the manifold pressure wobbling by about +-15 mbar; --road-top keeps it below a\n"
      "pressure, --road-shift holds each load higher or lower on the same road.\n";
  return text;
}

}  // namespace zav::sim
