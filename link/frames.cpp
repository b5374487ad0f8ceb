#include "link/frames.h"

#include "link/serial_port.h"

namespace zav {

namespace {
constexpr std::uint8_t kEndSlot = 4;
}

void SendFrame(Link& link, std::uint8_t address, std::uint16_t value) {
  RequestBytes& bytes = link.request.bytes;
  bytes[2] = address;
  bytes[3] = HighByte(value);
  bytes[4] = LowByte(value);
  bytes[5] = RequestChecksum(bytes[1], address, value);
  WritePortBytes(link, bytes);
}

void SendLivePoll(Link& link) {
  CurrentCommand(link) = kLetterQuery;
  SendFrame(link, kFirstLiveRegister, 0);
}

bool FeedReceiver(FrameReceiver& receiver, std::uint8_t byte) {
  if (byte == kFrameStart && receiver.index == FrameReceiver::kWaitingForStart) {
    receiver.index = 0;
    return false;
  }
  const std::uint8_t slot = receiver.index;
  receiver.slotBytes[slot] = byte;
  receiver.index = slot + 1 > FrameReceiver::kWaitingForStart ? FrameReceiver::kWaitingForStart
                                                              : static_cast<std::uint8_t>(slot + 1);
  // Only an end byte that is the fifth byte after its start byte closes a frame; an end
  // byte in the spare slot would otherwise re-test leftovers and deliver a frame twice.
  if (byte != kFrameEnd || slot != kEndSlot) {
    return false;
  }
  const auto& s = receiver.slotBytes;
  return static_cast<std::uint8_t>(s[0] + s[1] + s[2] + kFrameStart) == s[3];
}

bool ReceiveFrame(Link& link) {
  if (link.cycle.upgradeArmed == UpgradeArming::Armed) {
    return false;
  }
  while (const std::optional<std::uint8_t> byte = ReadPortByte(link)) {
    const bool frameDone = FeedReceiver(link.receiver, *byte);
    NoteReceiverByte(link.connection, frameDone,
                     link.receiver.index == FrameReceiver::kWaitingForStart);
    if (frameDone) {
      return true;
    }
  }
  return false;
}

ReceivedFrame LastReceivedFrame(const FrameReceiver& receiver) {
  return {receiver.slotBytes[0], WordOf(receiver.slotBytes[1], receiver.slotBytes[2])};
}

}  // namespace zav
