// CPU cost of the poll tick itself: an idle tick on a quiet line, and a tick that drains a
// burst of 20 frames (the answer to one live poll).

#include <benchmark/benchmark.h>

#include <deque>

#include "link/poll_cycle.h"

namespace zav {
namespace {

// A device whose reads return at once: only the tick's own work is measured.
class MemoryDevice : public SerialDevice {
 public:
  bool Open(std::string_view) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  std::optional<std::uint8_t> ReadByte() override {
    if (input.empty()) {
      return std::nullopt;
    }
    const std::uint8_t byte = input.front();
    input.pop_front();
    return byte;
  }
  void Write(std::span<const std::uint8_t> bytes) override {
    benchmark::DoNotOptimize(bytes.data());
  }
  std::deque<std::uint8_t> input;
};

void QueueLiveAnswer(MemoryDevice& device) {
  for (std::uint8_t address = kFirstLiveRegister; address <= kStatusRegister; ++address) {
    const ResponseBytes frame = EncodeResponse(address, static_cast<std::uint16_t>(address * 37));
    device.input.insert(device.input.end(), frame.begin(), frame.end());
  }
}

void IdleTick(benchmark::State& state) {
  MemoryDevice device;
  Link link;
  link.device = &device;
  for (auto _ : state) {
    PollTick(link);
  }
}
BENCHMARK(IdleTick);

void TickDrainingTwentyFrames(benchmark::State& state) {
  MemoryDevice device;
  Link link;
  link.device = &device;
  for (auto _ : state) {
    state.PauseTiming();
    QueueLiveAnswer(device);
    state.ResumeTiming();
    PollTick(link);
  }
  benchmark::DoNotOptimize(link.live.values.data());
}
BENCHMARK(TickDrainingTwentyFrames);

}  // namespace
}  // namespace zav

BENCHMARK_MAIN();
