// How the controller takes request frames out of a line that may carry garbage.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/wire.h"
#include "sim/request_receiver.h"

namespace zav::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Request(std::uint8_t letter, std::uint8_t address, std::uint16_t value) {
  const RequestBytes frame = EncodeRequest(letter, address, value);
  return Bytes(frame.begin(), frame.end());
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

Bytes WithBadChecksum(Bytes frame) {
  frame[5] = static_cast<std::uint8_t>(frame[5] + 1);
  return frame;
}

const Bytes kLivePoll = Request('Q', 32, 0);
const Bytes kReadFlags = Request('Q', 102, 0);

struct LineCase {
  std::string name;
  Bytes bytes;
  std::vector<std::uint8_t> addressesTaken;
};

class SimRequestReceiver : public ::testing::TestWithParam<LineCase> {};

TEST_P(SimRequestReceiver, TakesExactlyTheSoundFrames) {
  RequestReceiver receiver;
  std::vector<std::uint8_t> taken;
  Micros at = 0;
  for (const std::uint8_t byte : GetParam().bytes) {
    at += kByteTime;
    if (const std::optional<DecodedRequest> request = TakeRequestByte(receiver, byte, at)) {
      taken.push_back(request->address);
    }
  }
  EXPECT_EQ(taken, GetParam().addressesTaken);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimRequestReceiver,
    ::testing::Values(
        LineCase{"OneFrame", kLivePoll, {32}},
        LineCase{"TwoFramesBackToBack", Join({kLivePoll, kReadFlags}), {32, 102}},
        LineCase{"GarbageBefore", Join({{0x00, 0x0D, 0xFF, 0x51}, kLivePoll}), {32}},
        LineCase{
            "BadChecksumDroppedNextTaken", Join({WithBadChecksum(kReadFlags), kLivePoll}), {32}},
        LineCase{"TruncatedFrameThenSoundOne", Join({{0x02, 0x51, 0x66}, kLivePoll}), {32}},
        LineCase{"StartBytesAsGarbage", Join({{0x02, 0x02, 0x02}, kReadFlags}), {102}},
        LineCase{
            "StartAndEndBytesAsData", Join({Request('S', 0x02, 0x0D02), kLivePoll}), {0x02, 32}},
        LineCase{"WrongEndByte",
                 Join({Bytes{0x02, 0x51, 0x20, 0x00, 0x00, 0x73, 0x0C}, kReadFlags}),
                 {102}},
        LineCase{"ExtraByteInsideFrame",
                 Join({Bytes{0x02, 0x51, 0x20, 0x00, 0x55, 0x00, 0x73, 0x0D}, kReadFlags}),
                 {102}}),
    [](const ::testing::TestParamInfo<LineCase>& instance) { return instance.param.name; });

}  // namespace
}  // namespace zav::sim
