// Whether the program named by a lock file is gone: only a system that says "no such
// process" makes a lock stale. A process the asker may not see or signal (another user's,
// or hidden from /proc) still holds its lock.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "hosts/qt_core/process_gone.h"

namespace zav {
namespace {

TEST(LockHolderTest, OnlyAProcessTheSystemDeniesIsGoneForCertain) {
  EXPECT_FALSE(ProcessCertainlyGone(::getpid()));
  EXPECT_FALSE(ProcessCertainlyGone(0)) << "no process number at all proves nothing";

  const pid_t ended = ::fork();
  if (ended == 0) {
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(ended, &status, 0), ended);
  EXPECT_TRUE(ProcessCertainlyGone(ended));

  // Asked by an ordinary user about a process of root's (PID 1): it exists, though the
  // asker may not signal it.
  const pid_t asker = ::fork();
  if (asker == 0) {
    constexpr uid_t kNobody = 65534;
    if (::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    ::_exit(ProcessCertainlyGone(1) ? 1 : 0);
  }
  ASSERT_EQ(::waitpid(asker, &status, 0), asker);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace zav
