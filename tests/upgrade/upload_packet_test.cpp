// The 132-byte packets of the firmware image: header, data, zero filling and checksum.

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "upgrade/upload_packet.h"

namespace zav {
namespace {

std::vector<std::uint8_t> CountingImage(std::size_t size) {
  std::vector<std::uint8_t> image(size);
  for (std::size_t i = 0; i < size; ++i) {
    image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  }
  return image;
}

std::vector<std::uint8_t> DataOf(const UploadPacket& packet) {
  return {packet.begin() + kPacketDataOffset, packet.begin() + kPacketDataOffset + kBlockBytes};
}

TEST(UploadPacketTest, FirstBlockIsHeaderFirst128BytesAndTheirSum) {
  const std::vector<std::uint8_t> image = CountingImage(kFirmwareImageBytes);
  const UploadPacket packet = BuildUploadPacket(image, 1);
  EXPECT_EQ(packet[0], 0x01);
  EXPECT_EQ(packet[1], 0x01);
  EXPECT_EQ(packet[2], 0xFE);
  EXPECT_EQ(DataOf(packet), std::vector<std::uint8_t>(image.begin(), image.begin() + 128));
  const unsigned sum = std::accumulate(image.begin(), image.begin() + 128, 0U);
  EXPECT_EQ(packet[131], sum % 256);
}

struct BlockCase {
  std::uint8_t block;
  std::uint8_t complement;
  std::size_t offset;  // bytes into the image

  friend void PrintTo(const BlockCase& test, std::ostream* out) { *out << "block " << +test.block; }
};

class BlockPlacementTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockPlacementTest, CarriesNumberComplementAndTheImageBytesAtItsOffset) {
  const std::vector<std::uint8_t> image = CountingImage(kFirmwareImageBytes);
  const UploadPacket packet = BuildUploadPacket(image, GetParam().block);
  EXPECT_EQ(packet[1], GetParam().block);
  EXPECT_EQ(packet[2], GetParam().complement);
  const auto from = image.begin() + static_cast<long>(GetParam().offset);
  EXPECT_EQ(DataOf(packet), std::vector<std::uint8_t>(from, from + 128));
}

INSTANTIATE_TEST_SUITE_P(Blocks, BlockPlacementTest,
                         ::testing::Values(BlockCase{2, 0xFD, 128}, BlockCase{128, 0x7F, 16256},
                                           BlockCase{239, 0x10, 30464},
                                           BlockCase{240, 0x0F, 30592}));

TEST(UploadPacketTest, BlockOfAllFFHasChecksum80) {
  const std::vector<std::uint8_t> image(kFirmwareImageBytes, 0xFF);
  EXPECT_EQ(BuildUploadPacket(image, 5)[131], 0x80);
}

TEST(UploadPacketTest, ShortImageIsFilledWithZerosNot1A) {
  const std::vector<std::uint8_t> image = CountingImage(100);
  const UploadPacket first = BuildUploadPacket(image, 1);
  std::vector<std::uint8_t> expected(image);
  expected.resize(128, 0x00);
  EXPECT_EQ(DataOf(first), expected);
  EXPECT_EQ(first[131], BlockChecksum(expected));
}

TEST(UploadPacketTest, BlocksPastAShortImageAreAllZeroWithChecksumZero) {
  const UploadPacket packet = BuildUploadPacket(CountingImage(100), 2);
  EXPECT_EQ(DataOf(packet), std::vector<std::uint8_t>(128, 0x00));
  EXPECT_EQ(packet[131], 0x00);
}

}  // namespace
}  // namespace zav
