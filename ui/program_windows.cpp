#include "ui/program_windows.h"

#include <cstdint>

namespace zav {

ProgramWindows::ProgramWindows(Program& program, Desktop& desktop)
    : charts_({&desktop, &program.dataLog.session, &program.parameters.confirmedSet,
               [&program] { return program.link.mainWindow; },
               [&program] {
                 const auto& unixMs = program.dataLog.source.clock.unixMs;
                 return unixMs ? unixMs() : std::int64_t{0};
               }}),
      calibration_(desktop, [&program] { return program.link.mainWindow; }) {
  program.dataLog.charts = &charts_;
  program.calibration = &calibration_;
}

}  // namespace zav
