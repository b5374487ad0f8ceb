#pragma once
// Whether a process named by a lock file is gone for certain. Only then may a lock be called
// stale: /proc can hide other users' processes (mounted with hidepid), so a missing
// /proc/PID proves nothing, and advice to delete a live program's lock would break its line.

namespace zav {

// True only when the system says there is no process `pid`; false when it exists, or when
// the system will not say.
bool ProcessCertainlyGone(long pid);

}  // namespace zav
