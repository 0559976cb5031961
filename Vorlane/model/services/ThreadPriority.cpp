#include "ThreadPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// The highest nice value: the lowest priority there is, short of running only when idle.
constexpr int lowestNice = 19;

thread_local bool lowered = false;
} // namespace

bool ThreadPriority::lowerThisThread()
{
    if (lowered)
        return true;
    // Linux gives every thread a nice value of its own, named by the thread's id (not POSIX,
    // where it would be the whole process's).
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, thread);
    if (nice == -1 && errno != 0)
        return false;
    lowered = ::setpriority(PRIO_PROCESS, thread, std::min(nice + niceSteps, lowestNice)) == 0;
    return lowered;
}
