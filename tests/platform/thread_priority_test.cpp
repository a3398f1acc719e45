#include "platform/thread_priority.h"

#include <gtest/gtest.h>

#include <thread>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace qh {
namespace {

#if defined(__linux__)
int PriorityOfThisThread() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())); }
#endif

// Lowering a thread's priority lowers that thread's and those it starts afterwards, never the
// thread that started it.
TEST(LowerThreadPriority, LowersTheCallerAndWhatItStartsButNotItsStarter) {
#if defined(__linux__)
    const int starter = PriorityOfThisThread();
    int before = 0;
    int after = 0;
    int started = 0;
    std::thread([&] {
        before = PriorityOfThisThread();
        LowerThreadPriority();
        after = PriorityOfThisThread();
        std::thread([&] { started = PriorityOfThisThread(); }).join();
    }).join();
    EXPECT_EQ(before, starter);
    if (before < 19) {
        EXPECT_GT(after, before);
    }
    EXPECT_EQ(started, after);
    EXPECT_EQ(PriorityOfThisThread(), starter);
#else
    std::thread([] { LowerThreadPriority(); }).join();
#endif
}

}  // namespace
}  // namespace qh
