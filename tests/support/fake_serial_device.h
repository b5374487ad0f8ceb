#pragma once
// A serial device that hands out bytes a test queued and keeps what the program wrote.

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/serial_device.h"

namespace zav::testing {

class FakeSerialDevice : public SerialDevice {
 public:
  bool Open(std::string_view portName) override {
    openAttempts.emplace_back(portName);
    open = existingPorts.empty() || std::find(existingPorts.begin(), existingPorts.end(),
                                              std::string(portName)) != existingPorts.end();
    return open;
  }
  void Close() override { open = false; }
  bool IsOpen() const override { return open; }
  std::optional<std::uint8_t> ReadByte() override {
    ++reads;
    if (!open || input.empty()) {
      return std::nullopt;
    }
    const std::uint8_t byte = input.front();
    input.pop_front();
    return byte;
  }
  void Write(std::span<const std::uint8_t> bytes) override {
    if (open) {
      written.insert(written.end(), bytes.begin(), bytes.end());
    }
  }

  void Queue(std::initializer_list<std::uint8_t> bytes) { input.insert(input.end(), bytes); }

  std::vector<std::string> existingPorts;  // empty: every name opens
  std::vector<std::string> openAttempts;
  std::deque<std::uint8_t> input;
  std::vector<std::uint8_t> written;
  bool open = false;
  int reads = 0;
};

}  // namespace zav::testing
