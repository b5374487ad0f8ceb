// The controller's frame protocol: live poll, register reads and writes, error flags, and
// what it leaves unanswered.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "link/wire.h"
#include "sim/controller.h"
#include "tests/sim/line_driver.h"

namespace zav::sim {
namespace {

using testing::LineDriver;
using testing::ParseResponses;
using testing::ResponseFields;

class SimFrames : public ::testing::Test {
 protected:
  std::vector<ResponseFields> AskFrames(std::uint8_t letter, std::uint8_t address,
                                        std::uint16_t value = 0) {
    std::vector<ResponseFields> frames;
    EXPECT_TRUE(ParseResponses(line.Ask(letter, address, value), frames));
    return frames;
  }

  Controller controller;
  LineDriver line{controller};
};

TEST_F(SimFrames, LivePollAnswersNineteenLiveFramesInOrderThenTheStatusFrame) {
  const std::vector<ResponseFields> frames = AskFrames(kLetterQuery, kFirstLiveRegister);
  ASSERT_EQ(frames.size(), 20U);
  for (std::size_t index = 0; index < 19; ++index) {
    EXPECT_EQ(frames[index].address, kFirstLiveRegister + index);
  }
  EXPECT_EQ(frames[19].address, kStatusRegister);
  EXPECT_EQ(frames[19].value, kStatusPetrol);
}

struct StoredDefault {
  std::uint8_t address;
  std::uint16_t value;
};

class SimFactoryRegisters : public SimFrames,
                            public ::testing::WithParamInterface<StoredDefault> {};

TEST_P(SimFactoryRegisters, ReadAnswersWithTheFactoryValue) {
  const std::vector<ResponseFields> frames = AskFrames(kLetterQuery, GetParam().address, 0x1234);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].address, GetParam().address);
  EXPECT_EQ(frames[0].value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    AllStoredRegisters, SimFactoryRegisters,
    ::testing::Values(StoredDefault{80, 40}, StoredDefault{81, 500}, StoredDefault{82, 650},
                      StoredDefault{83, 500}, StoredDefault{84, 200}, StoredDefault{85, 500},
                      StoredDefault{86, 3300}, StoredDefault{87, 599}, StoredDefault{88, 4000},
                      StoredDefault{89, 48160}, StoredDefault{90, 5}, StoredDefault{91, 2000},
                      StoredDefault{92, 0}, StoredDefault{93, 0}, StoredDefault{94, 0},
                      StoredDefault{95, 0x3130}, StoredDefault{96, 0x3233},
                      StoredDefault{97, 0x3034}, StoredDefault{98, 0x3132}, StoredDefault{102, 0}));

TEST_F(SimFrames, VersionRegistersDecodeToReadableTextInTheToolsReportFormat) {
  std::array<std::uint16_t, 7> value{};
  for (std::uint8_t address = 95; address <= 101; ++address) {
    const std::vector<ResponseFields> frames = AskFrames(kLetterQuery, address);
    ASSERT_EQ(frames.size(), 1U);
    value[address - 95U] = frames[0].value;
  }
  const auto high = [&](int index) { return static_cast<unsigned>(HighByte(value[index])); };
  const auto low = [&](int index) { return static_cast<unsigned>(LowByte(value[index])); };
  std::array<char, 128> text{};
  std::snprintf(text.data(), text.size(),
                "HW ver: %c.%c.%c.%c\nFW ver: %c%c.%c%c\nS/N: %02u%04u-%05u", high(0), low(0),
                high(1), low(1), high(2), low(2), high(3), low(3), high(4),
                (low(4) * 256U) | (high(5) + 1U), low(5) * 65536U + value[6]);
  EXPECT_STREQ(text.data(), "HW ver: 1.0.2.3\nFW ver: 04.12\nS/N: 060291-197719");
}

TEST_F(SimFrames, WriteOfAParameterIsAnsweredWithTheValueAndReadBackAfterwards) {
  std::vector<ResponseFields> frames = AskFrames(kLetterSet, 80, 77);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].address, 80);
  EXPECT_EQ(frames[0].value, 77);
  frames = AskFrames(kLetterQuery, 80);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].value, 77);
}

class SimUnwritableRegisters : public SimFrames,
                               public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(SimUnwritableRegisters, WriteIsNeitherAnsweredNorStored) {
  EXPECT_TRUE(line.Ask(kLetterSet, GetParam(), 0x5A5A).empty());
  EXPECT_NE(controller.Register(GetParam()), 0x5A5A);
}

INSTANTIATE_TEST_SUITE_P(OutsideTheParameters, SimUnwritableRegisters,
                         ::testing::Values(0, 32, 51, 79, 93, 94, 95, 101, 102, 103, 255));

struct UnansweredRequest {
  std::uint8_t letter;
  std::uint8_t address;
};

class SimUnansweredRequests : public SimFrames,
                              public ::testing::WithParamInterface<UnansweredRequest> {};

TEST_P(SimUnansweredRequests, AreTakenInButGetNoAnswer) {
  EXPECT_TRUE(line.Ask(GetParam().letter, GetParam().address).empty());
  ASSERT_EQ(controller.Requests().size(), 1U);
  EXPECT_EQ(controller.Requests()[0].letter, static_cast<char>(GetParam().letter));
  EXPECT_EQ(controller.Requests()[0].address, GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(Table, SimUnansweredRequests,
                         ::testing::Values(UnansweredRequest{'Q', 0}, UnansweredRequest{'Q', 33},
                                           UnansweredRequest{'Q', 51}, UnansweredRequest{'Q', 79},
                                           UnansweredRequest{'Q', 103}, UnansweredRequest{'B', 0},
                                           UnansweredRequest{'C', 0}, UnansweredRequest{'X', 32},
                                           UnansweredRequest{'q', 32}));

TEST_F(SimFrames, ErrorFlagsAreReadAndClearedByC) {
  controller.SetErrorFlags(0x8101);
  std::vector<ResponseFields> frames = AskFrames(kLetterQuery, kErrorFlagsRegister);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].value, 0x8101);
  AskFrames(kLetterClearErrors, 0);
  frames = AskFrames(kLetterQuery, kErrorFlagsRegister);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].value, 0);
}

}  // namespace
}  // namespace zav::sim
