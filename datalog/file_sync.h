#pragma once
// Pushes what a stream has written through the operating system's cache to the disk, so
// a power cut does not take it.

#include <cstdio>

namespace zav {

// False when the disk refused (errno says why). Streams that are not files (pipes,
// terminals) count as synced.
bool SyncToDisk(std::FILE* stream);

}  // namespace zav
