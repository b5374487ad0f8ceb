// Feeds arbitrary controller bytes to the response receiver. A frame it delivers must be
// one that arrived: a start byte, the address, the value, a sound checksum and the end
// byte, as the last six bytes fed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::FrameReceiver receiver;
  for (std::size_t i = 0; i < size; ++i) {
    if (!zav::FeedReceiver(receiver, data[i])) {
      continue;
    }
    const zav::ReceivedFrame frame = zav::LastReceivedFrame(receiver);
    const zav::ResponseBytes expected = zav::EncodeResponse(frame.address, frame.value);
    if (i < 5) {
      std::abort();
    }
    for (std::size_t k = 0; k < expected.size(); ++k) {
      if (data[i - 5 + k] != expected[k]) {
        std::abort();
      }
    }
  }
  return 0;
}
