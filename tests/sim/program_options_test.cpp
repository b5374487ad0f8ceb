// The command line of zavsim: what it takes and what it refuses.

#include <gtest/gtest.h>

#include <string>
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
                                            "--stray-ack"};
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

}  // namespace
}  // namespace zav::sim
