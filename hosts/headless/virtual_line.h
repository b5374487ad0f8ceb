#pragma once
// A 9600-baud serial line between the program and an in-process controller, on virtual
// time: each byte takes kByteTime on the wire in each direction, and a direction carries
// one byte at a time.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "hosts/headless/virtual_clock.h"
#include "sim/controller.h"

namespace zav::headless {

struct WireByte {
  std::uint8_t byte = 0;
  Micros at = 0;  // when the byte had fully arrived at the other end (us)
};

class VirtualLine : public ClockFollower {
 public:
  VirtualLine(VirtualClock& clock, sim::Controller& controller);
  ~VirtualLine() override;
  VirtualLine(const VirtualLine&) = delete;
  VirtualLine& operator=(const VirtualLine&) = delete;

  // The program's side.
  void Send(std::span<const std::uint8_t> bytes);
  std::optional<std::uint8_t> TakeArrived();
  // Discards what has arrived at the program and not been read yet.
  void DiscardArrived();
  // Bytes that reach the program after everything already on its way (noise, a forged
  // frame), as if the controller had sent them.
  void InjectToProgram(std::span<const std::uint8_t> bytes);

  void AdvanceTo(Micros time) override;
  std::optional<Micros> NextEvent() const override;

  // Let a test lose chosen traffic (true: lost). The controller's answer to one byte (a
  // whole frame, or all the frames answering the live poll) is judged as one batch; the
  // program's bytes are judged per write.
  std::function<bool(const std::vector<std::uint8_t>& batch)> loseToProgram;
  std::function<bool(std::span<const std::uint8_t> write)> loseToController;

  // Whether the traffic below is kept; a day-long run turns it off to keep memory flat.
  bool keepTraffic = true;

  // Everything that crossed the line so far, for tests.
  const std::vector<WireByte>& SentByProgram() const { return sentByProgram_; }
  const std::vector<WireByte>& SentByController() const { return sentByController_; }

 private:
  void CollectControllerOutput();

  VirtualClock& clock_;
  sim::Controller& controller_;
  std::deque<WireByte> toController_;
  std::deque<WireByte> toProgram_;
  Micros toControllerFreeAt_ = 0;
  Micros toProgramFreeAt_ = 0;
  std::vector<WireByte> sentByProgram_;
  std::vector<WireByte> sentByController_;
};

}  // namespace zav::headless
