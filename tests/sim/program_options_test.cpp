// The command line of zavsim: what it takes and what it refuses.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/program_options.h"

namespace zav::sim {
namespace {

TEST(SimCommandLine, TakesValuesAfterASpaceOrAnEqualsSign) {
  const std::vector<std::string_view> words{"--device=/dev/ttyS0",
                                            "--seed",
                                            "42",
                                            "--errors",
                                            "0x8101",
                                            "--drop=.25",
                                            "--split",
                                            "1",
                                            "--silence-every=5000",
                                            "--silence-for",
                                            "700",
                                            "--nak-burst",
                                            "3",
                                            "--stray-ack",
                                            "--ignore-writes"};
  const ParsedCommandLine parsed = ParseCommandLine(words);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  const ProgramOptions& options = *parsed.options;
  const FaultOptions& faults = options.controller.faults;
  EXPECT_EQ(options.devicePath, "/dev/ttyS0");
  EXPECT_FALSE(options.pseudoTerminal);
  EXPECT_EQ(options.controller.seed, 42U);
  EXPECT_EQ(options.errorFlags, 0x8101);
  EXPECT_EQ(faults.dropRate, 0.25);
  EXPECT_EQ(faults.splitRate, 1.0);
  EXPECT_EQ(faults.silenceEveryMs, 5000U);
  EXPECT_EQ(faults.silenceForMs, 700U);
  EXPECT_EQ(faults.nakBurst, 3U);
  EXPECT_TRUE(faults.strayAck);
  EXPECT_TRUE(faults.ignoreWrites);
}

TEST(SimCommandLine, VersionBytesSetRegisters95To98AnyByteIncluded) {
  const std::vector<std::string_view> words{"--pty", "--version-bytes", "31C9322EB0FF0041"};
  const ParsedCommandLine parsed = ParseCommandLine(words);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  const std::array<std::uint16_t, 4> expected{0x31C9, 0x322E, 0xB0FF, 0x0041};
  EXPECT_EQ(parsed.options->versionRegisters, expected);
  const std::vector<std::string_view> plain{"--pty"};
  EXPECT_FALSE(ParseCommandLine(plain).options->versionRegisters) << "the factory's are kept";
}

TEST(SimCommandLine, TakesTheUnplugInSeconds) {
  const std::vector<std::string_view> words = {"--pty",          "--link", "/tmp/zav",
                                               "--unplug-after", "2.5",    "--unplug-for=3"};
  const ParsedCommandLine parsed = ParseCommandLine(words);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  EXPECT_EQ(parsed.options->linkPath, "/tmp/zav");
  EXPECT_EQ(parsed.options->unplugAfterMs, 2500U);
  EXPECT_EQ(parsed.options->unplugForMs, 3000U);
}

struct RefusedLine {
  std::string name;
  std::vector<std::string_view> words;
};

class SimCommandLineRefused : public ::testing::TestWithParam<RefusedLine> {};

TEST_P(SimCommandLineRefused, IsRefusedWithAReason) {
  const ParsedCommandLine parsed = ParseCommandLine(GetParam().words);
  EXPECT_FALSE(parsed.options.has_value());
  EXPECT_FALSE(parsed.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimCommandLineRefused,
    ::testing::Values(
        RefusedLine{"Nothing", {}}, RefusedLine{"BothLines", {"--pty", "--device", "x"}},
        RefusedLine{"UnknownOption", {"--pty", "--bogus"}},
        RefusedLine{"StrayWord", {"--pty", "extra"}},
        RefusedLine{"MissingValue", {"--pty", "--drop"}},
        RefusedLine{"RateAboveOne", {"--pty", "--drop", "1.5"}},
        RefusedLine{"NegativeRate", {"--pty", "--drop", "-0.1"}},
        RefusedLine{"RateWithTrailingText", {"--pty", "--split", "0.1x"}},
        RefusedLine{"ErrorsTooWide", {"--pty", "--errors", "10000"}},
        RefusedLine{"NegativeSeed", {"--pty", "--seed", "-1"}},
        RefusedLine{"SilenceWithoutLength", {"--pty", "--silence-every", "100"}},
        RefusedLine{"ValueForAFlag", {"--pty", "--stray-ack=1"}},
        RefusedLine{"LinkWithoutPty", {"--device", "x", "--link", "l"}},
        RefusedLine{"UnplugWithoutLink", {"--pty", "--unplug-after", "1", "--unplug-for", "3"}},
        RefusedLine{"UnplugWithoutLength", {"--pty", "--link", "l", "--unplug-after", "1"}},
        RefusedLine{"UnplugForNothing",
                    {"--pty", "--link", "l", "--unplug-after", "1", "--unplug-for", "0"}}),
    [](const ::testing::TestParamInfo<RefusedLine>& instance) { return instance.param.name; });

INSTANTIATE_TEST_SUITE_P(
    VersionLines, SimCommandLineRefused,
    ::testing::Values(RefusedLine{"TooFew", {"--pty", "--version-bytes", "3130"}},
                      RefusedLine{"TooMany", {"--pty", "--version-bytes", "313032333034313200"}},
                      RefusedLine{"NotHex", {"--pty", "--version-bytes", "3130323330343G32"}},
                      RefusedLine{"Prefixed", {"--pty", "--version-bytes", "0x30323330343132"}}),
    [](const ::testing::TestParamInfo<RefusedLine>& instance) { return instance.param.name; });

}  // namespace
}  // namespace zav::sim

namespace zav::sim {
namespace {

TEST(SimCommandLine, GasNeedAndDriveAreTakenRefusedWithReasonsAndExplainedAsTheSimulatorsModel) {
  const std::vector<std::string_view> words{"--pty", "--gas-need", "2.20,1.30", "--drive=cycle"};
  const ParsedCommandLine parsed = ParseCommandLine(words);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  const EngineOptions& engine = parsed.options->controller.engine;
  ASSERT_TRUE(engine.gasNeed.has_value());
  EXPECT_EQ(engine.gasNeed->left, 2.20);
  EXPECT_EQ(engine.gasNeed->right, 1.30);
  EXPECT_EQ(engine.drive, DriveMode::kCycle);
  const std::vector<std::string_view> road{"--pty", "--drive", "road", "--seed", "7"};
  EXPECT_EQ(ParseCommandLine(road).options->controller.engine.drive, DriveMode::kRoad);

  // Without them: the factory set's factors are the need, and the engine idles.
  const std::vector<std::string_view> plain{"--pty"};
  const EngineOptions defaults = ParseCommandLine(plain).options->controller.engine;
  EXPECT_FALSE(defaults.gasNeed.has_value());
  EXPECT_EQ(defaults.drive, DriveMode::kIdle);
  const GasFactors need = GasNeedOf(defaults);
  const GasFactors factory = FactorsOf(FactoryRegisters());
  EXPECT_EQ(need.left, factory.left);
  EXPECT_EQ(need.right, factory.right);

  for (const auto& [value, option] :
       std::vector<std::pair<std::string_view, std::string_view>>{{"2.2", "--gas-need"},
                                                                  {"2.2;1.3", "--gas-need"},
                                                                  {"0,1.3", "--gas-need"},
                                                                  {"2.2,", "--gas-need"},
                                                                  {"2.2,11", "--gas-need"},
                                                                  {"fast", "--drive"},
                                                                  {"roads", "--drive"}}) {
    const std::vector<std::string_view> bad{"--pty", option, value};
    const ParsedCommandLine refused = ParseCommandLine(bad);
    EXPECT_FALSE(refused.options.has_value()) << value;
    EXPECT_EQ(
        refused.error.find("invalid value '" + std::string(value) + "' for " + std::string(option)),
        0U)
        << refused.error;
  }

  const std::string help = UsageText();
  EXPECT_NE(help.find("  --gas-need LEFT,RIGHT   the factors that would be exactly right"),
            std::string::npos);
  EXPECT_NE(help.find("  --drive MODE            idle (default)"), std::string::npos);
  EXPECT_NE(help.find("This is the simulator's model, not a statement about the controller"),
            std::string::npos);
  EXPECT_NE(help.find("road: a drive on the road"), std::string::npos);
  EXPECT_NE(help.find("need/delivered with a lag of about 2 s"), std::string::npos);
  EXPECT_NE(help.find("petrol times 2.5 to 7 ms"), std::string::npos);
}

}  // namespace
}  // namespace zav::sim
