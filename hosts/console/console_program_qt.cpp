#include <QCoreApplication>

#include "hosts/console/console_program.h"

namespace zav::console {

// Qt SerialPort needs the application's event loop; the arguments are passed on as they
// came, in the system's encoding, which is UTF-8 here.
int RunConsoleProgram(int argc, char** argv,
                      const std::function<int(const std::vector<std::string>&)>& program) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName("zavctl");
  return program(std::vector<std::string>(argv, argv + argc));
}

}  // namespace zav::console
