#include <io.h>

#include "datalog/file_sync.h"

namespace zav {

bool SyncToDisk(std::FILE* stream) {
  return _commit(_fileno(stream)) == 0;
}

}  // namespace zav
