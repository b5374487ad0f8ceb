#pragma once
// Watches the bytes the program reads with a receiver of its own, exactly like the
// program's, and judges every frame it takes against the controller: a frame for a stored
// register (80 to 102) must carry the value the controller holds (or held until moments
// ago), and a frame for an address the controller never answers cannot be sound at all.
// A frame that fails this passed the one-byte sum although the line damaged it.
// Live values (32 to 50) and the status (51) change on their own and are not judged.

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "hosts/headless/virtual_clock.h"
#include "link/link_state.h"
#include "platform/serial_device.h"
#include "sim/controller.h"

namespace zav::testing {

inline constexpr std::size_t kBytesKept = 16;  // of the input before a false frame

struct FalseFrame {
  headless::Micros at = 0;
  std::uint8_t address = 0;
  std::uint16_t value = 0;
  std::array<std::uint8_t, kBytesKept> before{};  // the last bytes read, oldest first
};

class FrameWatch : public SerialDevice {
 public:
  FrameWatch(SerialDevice& inner, const headless::VirtualClock& clock,
             const sim::Controller& controller)
      : inner_(inner), clock_(clock), controller_(controller) {}

  bool Open(std::string_view portName) override { return inner_.Open(portName); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  std::optional<std::uint8_t> ReadByte() override;
  void Write(std::span<const std::uint8_t> bytes) override;

  // A stored register is about to change from `before`: frames that left with the old
  // value may still be on their way.
  void NoteChange(std::uint8_t address, std::uint16_t before);

  std::uint64_t RequestFramesSent() const { return requestFramesSent_; }
  std::uint64_t FramesTaken() const { return framesTaken_; }
  std::uint64_t FramesJudged() const { return framesJudged_; }
  const std::vector<FalseFrame>& FalseFrames() const { return falseFrames_; }
  // A false frame for `address` carrying `value` was taken from `from` on.
  bool TookFalse(std::uint8_t address, std::uint16_t value, headless::Micros from) const;

 private:
  void Judge(std::uint8_t address, std::uint16_t value);

  struct Earlier {
    std::uint16_t value = 0;
    headless::Micros until = 0;
  };

  SerialDevice& inner_;
  const headless::VirtualClock& clock_;
  const sim::Controller& controller_;
  FrameReceiver receiver_;
  std::array<std::uint8_t, kBytesKept> recent_{};  // a ring of the last bytes read
  std::size_t bytesRead_ = 0;
  std::map<std::uint8_t, Earlier> earlier_;
  std::uint64_t requestFramesSent_ = 0;
  std::uint64_t framesTaken_ = 0;
  std::uint64_t framesJudged_ = 0;
  std::vector<FalseFrame> falseFrames_;
};

}  // namespace zav::testing
