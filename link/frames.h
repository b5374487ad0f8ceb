#pragma once
// Sending request frames and assembling response frames.

#include <cstdint>

#include "link/link_state.h"

namespace zav {

struct ReceivedFrame {
  std::uint8_t address = 0;
  std::uint16_t value = 0;
};

// Sends the request buffer with the given address and value under the letter that
// CurrentCommand holds now.
void SendFrame(Link& link, std::uint8_t address, std::uint16_t value);
// Sets CurrentCommand to 'Q' and asks for the live values (02 51 20 00 00 73 0D).
void SendLivePoll(Link& link);

// Reads bytes until a whole response frame with a sound checksum has arrived, or until a
// read finds nothing. Reads nothing while an upload is armed: the line is then the upload's.
bool ReceiveFrame(Link& link);
// The frame that ReceiveFrame last accepted.
ReceivedFrame LastReceivedFrame(const FrameReceiver& receiver);

// One byte into the receiver; true when it completed a sound frame.
bool FeedReceiver(FrameReceiver& receiver, std::uint8_t byte);

}  // namespace zav
