#include <cerrno>

#include <unistd.h>

#include "datalog/file_sync.h"

namespace zav {

bool SyncToDisk(std::FILE* stream) {
  if (fsync(fileno(stream)) == 0) {
    return true;
  }
  // Pipes, terminals and the like cannot be synced and need not be.
  return errno == EINVAL || errno == EROFS || errno == ENOTSUP;
}

}  // namespace zav
