#pragma once
// A pseudo-terminal for tests: the device under test opens the slave by its path, the test
// plays the far end of the line on the master.

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zav::test {

class PseudoTerminal {
 public:
  // Opens the master and keeps one descriptor on the slave, so the master never sees the
  // line hang up while the device under test is closed, and the slave's settings can be read.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool IsValid() const { return master_ >= 0 && slave_ >= 0; }
  const std::string& SlavePath() const { return slavePath_; }
  // The far end's descriptor, for a peer program to run on.
  int MasterFd() const { return master_; }

  termios SlaveSettings() const;
  // Puts the slave into raw mode so bytes sent to it wait in its input queue unchanged.
  void MakeSlaveRaw();
  // Waits until the slave's input queue holds at least count bytes; false after 10 s.
  bool AwaitSlaveInput(std::size_t count) const;

  // The far end sends bytes towards the device.
  void Send(std::span<const std::uint8_t> bytes);
  // Writes on the kept slave descriptor, as a second writer next to the device would.
  void WriteOnSlave(std::span<const std::uint8_t> bytes);
  // The far end receives count bytes from the device, or fewer when 10 s pass first.
  std::vector<std::uint8_t> Receive(std::size_t count);
  // Throws away what the device sent, until the line stays quiet for 200 ms.
  void DiscardReceived();
  // The far end goes away, as an unplugged adapter does: the slave then fails every I/O.
  void HangUp();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace zav::test
