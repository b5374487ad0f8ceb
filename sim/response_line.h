#pragma once
// The controller's sending side: the bytes it has decided to send, each stamped with the
// earliest time it may go on the line, with the line faults applied as they are queued.
// The host paces the bytes (one every kByteTime at most); this side follows the same rule to
// know when the line will be free, so that gaps and silent periods fall where intended.

#include <cstdint>
#include <deque>
#include <optional>

#include "link/wire.h"
#include "sim/faults.h"
#include "sim/line_time.h"
#include "sim/random.h"

namespace zav::sim {

class ResponseLine {
 public:
  ResponseLine(const FaultOptions& faults, Random random);

  void SetFaults(const FaultOptions& faults) { faults_ = faults; }
  // Running time starts here; silent periods count from it.
  void SetOrigin(Micros origin) { origin_ = origin; }

  // An answer frame, with every fault that may hit frames.
  void SendFrame(const ResponseBytes& frame, Micros notBefore);
  // An upload answer (ACK, NAK, CAN): only silent periods hit these, because a lost or
  // doubled ACK would derail any sender.
  void SendControl(std::uint8_t byte, Micros notBefore);

  std::optional<TimedByte> Next();
  // When the last byte queued so far will have left the line (us).
  Micros IdleAt() const { return projectedFreeAt_; }

 private:
  void Put(std::uint8_t byte, Micros notBefore);
  void PutWithByteFaults(std::uint8_t byte, Micros notBefore);
  void PutStrayBytes(Micros notBefore);
  bool InSilentPeriod(Micros at) const;

  FaultOptions faults_;
  Random random_;
  Micros origin_ = 0;
  Micros lastNotBefore_ = 0;
  Micros projectedFreeAt_ = 0;
  std::deque<TimedByte> queue_;
};

}  // namespace zav::sim
