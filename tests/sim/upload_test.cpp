// The controller as the receiving side of a firmware upload (XMODEM, checksum variant).

#include <gtest/gtest.h>

#include <vector>

#include "link/wire.h"
#include "sim/controller.h"
#include "sim/xmodem_receiver.h"
#include "tests/sim/line_driver.h"

namespace zav::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BlockData(int block) {
  Bytes data(kBlockSize);
  for (std::size_t index = 0; index < data.size(); ++index) {
    data[index] = static_cast<std::uint8_t>(block * 31 + static_cast<int>(index) * 7);
  }
  return data;
}

Bytes Packet(int block, const Bytes& data) {
  const auto number = static_cast<std::uint8_t>(block);
  Bytes packet{kSoh, number, static_cast<std::uint8_t>(0xFF - number)};
  unsigned sum = 0;
  for (const std::uint8_t byte : data) {
    packet.push_back(byte);
    sum += byte;
  }
  packet.push_back(static_cast<std::uint8_t>(sum & 0xFFU));
  return packet;
}

Bytes Packet(int block) {
  return Packet(block, BlockData(block));
}

class SimUpload : public ::testing::Test {
 protected:
  void SetUp() override {
    controller.onFirmware = [this](const Bytes& image) { delivered.push_back(image); };
  }

  // Sends the 'U' frame and returns what came back within 100 ms.
  Bytes StartUpload() {
    line.SendRequest(kLetterUpgrade, 0);
    line.Wait(100 * kMillisecond);
    return line.TakeArrivedBytes();
  }

  // Sends bytes and returns the answer that came within 50 ms.
  Bytes SendAndListen(const Bytes& bytes) {
    line.Send(bytes);
    line.Wait(50 * kMillisecond);
    return line.TakeArrivedBytes();
  }

  Bytes SendBlocks(int first, int last) {
    Bytes answers;
    for (int block = first; block <= last; ++block) {
      const Bytes answer = SendAndListen(Packet(block));
      answers.insert(answers.end(), answer.begin(), answer.end());
    }
    return answers;
  }

  Bytes Image(int blocks) {
    Bytes image;
    for (int block = 1; block <= blocks; ++block) {
      const Bytes data = BlockData(block);
      image.insert(image.end(), data.begin(), data.end());
    }
    return image;
  }

  Controller controller;
  testing::LineDriver line{controller};
  std::vector<Bytes> delivered;
};

TEST_F(SimUpload, AsksForTheFirstBlockWithNak) {
  EXPECT_EQ(StartUpload(), Bytes{kNak});
  EXPECT_TRUE(controller.Uploading());
}

struct DamagedPacket {
  const char* name;
  std::size_t offset;  // the byte of block 1 that is changed
};

class SimUploadDamage : public SimUpload, public ::testing::WithParamInterface<DamagedPacket> {};

TEST_P(SimUploadDamage, DamagedBlockIsNakedAndThenTakenWhenSentAgain) {
  StartUpload();
  Bytes damaged = Packet(1);
  damaged[GetParam().offset] ^= 0x10;
  EXPECT_EQ(SendAndListen(damaged), Bytes{kNak});
  EXPECT_EQ(SendAndListen(Packet(1)), Bytes{kAck});
  EXPECT_EQ(SendAndListen(Bytes{kEot}), Bytes{kAck});
  EXPECT_EQ(controller.Firmware(), Image(1));
}

INSTANTIATE_TEST_SUITE_P(Offsets, SimUploadDamage,
                         ::testing::Values(DamagedPacket{"BlockNumber", 1},
                                           DamagedPacket{"Complement", 2},
                                           DamagedPacket{"Data", 70},
                                           DamagedPacket{"Checksum", 131}),
                         [](const auto& instance) { return std::string(instance.param.name); });

TEST_F(SimUpload, RepeatedBlockIsAckedButStoredOnce) {
  StartUpload();
  SendBlocks(1, 2);
  EXPECT_EQ(SendAndListen(Packet(2, BlockData(99))), Bytes{kAck});
  SendBlocks(3, 3);
  SendAndListen(Bytes{kEot});
  EXPECT_EQ(controller.Firmware(), Image(3));
}

TEST_F(SimUpload, EndOfTransmissionIsAckedTheImageKeptAndFramesAnsweredAgain) {
  StartUpload();
  EXPECT_EQ(SendBlocks(1, 240), Bytes(240, kAck));
  EXPECT_TRUE(delivered.empty());
  EXPECT_EQ(SendAndListen(Bytes{kEot}), Bytes{kAck});
  EXPECT_EQ(controller.Firmware(), Image(240));
  ASSERT_EQ(delivered.size(), 1U);
  EXPECT_EQ(delivered[0], Image(240));
  EXPECT_EQ(line.Ask(kLetterQuery, kFirstLiveRegister).size(), 120U);
}

TEST_F(SimUpload, NakIsRepeatedOnlyAfterASecondOfSilence) {
  StartUpload();
  line.Wait(900 * kMillisecond);
  EXPECT_TRUE(line.TakeArrived().empty());
  line.Wait(3 * kSecond);
  const auto arrived = line.TakeArrived();
  ASSERT_EQ(arrived.size(), 3U);
  for (const auto& byte : arrived) {
    EXPECT_EQ(byte.byte, kNak);
  }
  EXPECT_GE(arrived[1].at - arrived[0].at, kRepromptSilence);
}

TEST_F(SimUpload, SlowPacketIsNotInterruptedByARepeatedNak) {
  StartUpload();
  const Bytes packet = Packet(1);
  for (const std::uint8_t byte : packet) {
    line.Send(Bytes{byte});
    line.Wait(15 * kMillisecond);  // the whole packet takes about two seconds
  }
  EXPECT_EQ(line.TakeArrivedBytes(), Bytes{kAck});
}

TEST_F(SimUpload, PartialPacketIsDroppedWithANakAfterASecondOfSilence) {
  StartUpload();
  const Bytes packet = Packet(1);
  line.Send(Bytes(packet.begin(), packet.begin() + 60));
  line.Wait(1500 * kMillisecond);
  EXPECT_EQ(line.TakeArrivedBytes(), Bytes{kNak});
  EXPECT_EQ(SendAndListen(packet), Bytes{kAck});
}

TEST_F(SimUpload, RestOfAPacketWhoseStartWasLostIsIgnoredUntilQuietEvenIfItHoldsEot) {
  StartUpload();
  SendBlocks(1, 1);
  Bytes headless = Packet(2, Bytes(kBlockSize, kEot));
  headless.erase(headless.begin());
  EXPECT_TRUE(SendAndListen(headless).empty());
  line.Wait(1500 * kMillisecond);
  EXPECT_EQ(line.TakeArrivedBytes(), Bytes{kNak});
  EXPECT_TRUE(controller.Uploading());
  EXPECT_EQ(SendAndListen(Packet(2)), Bytes{kAck});
}

TEST_F(SimUpload, GivesUpAfterAMinuteWithoutInputAndAnswersFramesAgain) {
  StartUpload();
  SendBlocks(1, 1);
  line.Wait(59 * kSecond, 10 * kMillisecond);
  EXPECT_TRUE(controller.Uploading());
  line.Wait(2 * kSecond, 10 * kMillisecond);
  EXPECT_FALSE(controller.Uploading());
  EXPECT_TRUE(delivered.empty());
  line.TakeArrived();
  EXPECT_EQ(line.Ask(kLetterQuery, 80).size(), 6U);
}

TEST_F(SimUpload, LivePollBetweenPacketsEndsTheUploadAndIsAnswered) {
  StartUpload();
  SendBlocks(1, 3);
  std::vector<testing::ResponseFields> frames;
  ASSERT_TRUE(testing::ParseResponses(line.Ask(kLetterQuery, kFirstLiveRegister), frames));
  EXPECT_EQ(frames.size(), 20U);
  EXPECT_FALSE(controller.Uploading());
  EXPECT_TRUE(controller.Firmware().empty());
}

TEST_F(SimUpload, NakBurstFaultNaksAGoodBlockNTimesThenAcksItOnce) {
  FaultOptions faults;
  faults.nakBurst = 2;
  controller.SetFaults(faults);
  StartUpload();
  Bytes answers;
  for (int repeat = 0; repeat < 4; ++repeat) {
    const Bytes answer = SendBlocks(1, 1);
    answers.insert(answers.end(), answer.begin(), answer.end());
  }
  EXPECT_EQ(answers, (Bytes{kNak, kNak, kAck, kAck}));  // the last one acknowledges a repeat
  SendAndListen(Bytes{kEot});
  EXPECT_EQ(controller.Firmware(), Image(1));
}

TEST_F(SimUpload, StrayAckFaultSendsAnAckBeforeTheFirstNak) {
  FaultOptions faults;
  faults.strayAck = true;
  controller.SetFaults(faults);
  EXPECT_EQ(StartUpload(), (Bytes{kAck, kNak}));
}

TEST_F(SimUpload, DroppedUploadBytesSpareTheRequestAndLoseOnlyFirmwareBytes) {
  FaultOptions faults;
  faults.dropUploadRate = 1.0;
  controller.SetFaults(faults);
  EXPECT_EQ(StartUpload(), Bytes{kNak}) << "the 'U' frame gets through";
  EXPECT_EQ(SendBlocks(1, 1), Bytes{}) << "every byte of the block is lost";
  line.Wait(1500 * kMillisecond);
  EXPECT_EQ(line.TakeArrivedBytes(), Bytes{kNak}) << "the silence brings the NAK again";
}

TEST_F(SimUpload, ByteFaultsOfFramesLeaveUploadAnswersAlone) {
  FaultOptions faults;
  faults.dropRate = 1.0;
  controller.SetFaults(faults);
  EXPECT_EQ(StartUpload(), Bytes{kNak});
  EXPECT_EQ(SendBlocks(1, 1), Bytes{kAck});
}

}  // namespace
}  // namespace zav::sim
