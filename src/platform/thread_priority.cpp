#include "platform/thread_priority.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qh {

void LowerThreadPriority() {
#if defined(_WIN32)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#elif defined(__linux__)
    // On Linux a "process" priority given a thread's id is that thread's alone. Five steps of
    // nice: the window's thread then gets about three times the share of a loading thread.
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, self);
    if (now == -1 && errno != 0) return;
    ::setpriority(PRIO_PROCESS, self, now + 5 > 19 ? 19 : now + 5);
#endif
}

}  // namespace qh
