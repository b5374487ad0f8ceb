#pragma once
// The fitter of a soak: at random times, when the main window takes clicks, he reads the
// parameters, opens a .car file of new values and sends it, reads them back once the line
// has calmed down, opens and closes the Parameters dialog, asks for the error and version
// reports, switches fuel, and now and then uploads a firmware image. Like a real fitter he
// gives up on a transfer that has not finished after some minutes and closes its dialog.

#include <cstdint>
#include <string>
#include <vector>

#include "sim/random.h"
#include "tests/soak/soak_program.h"

namespace zav::testing {

class Fitter {
 public:
  Fitter(SoakProgram& soak, std::uint32_t seed);

  // Works from now until `stopAt`, when he starts nothing more.
  void Start(Micros stopAt);

 private:
  enum class Task { kRead, kWrite, kParameters, kErrors, kVersion, kSwitch, kUpload };

  void Act();
  void Later(Micros delay);
  bool MainWindowFree() const;
  Task DrawTask();
  void Do(Task task);
  void Read(std::uint8_t from, int command);
  void Write();
  void OpenAndCloseParameters();
  void Upload();
  // Closes the transfer (or upload) dialog opened for task `serial` if it still runs then.
  void GiveUpAfter(Micros wait);

  SoakProgram& soak_;
  sim::Random random_;
  Micros stopAt_ = 0;
  Micros freeAt_ = 0;         // when the main window last took clicks
  std::uint64_t serial_ = 0;  // counts the tasks started
  std::string file_;          // what the next file dialog is answered with
  int filesWritten_ = 0;
};

}  // namespace zav::testing
