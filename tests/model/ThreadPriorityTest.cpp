// A worker giving way lowers its own priority, never its process's, and only once.

#include "ThreadPriority.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {
int niceOfThisThread()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
}
} // namespace

TEST(ThreadPriority, lowersTheCallingThreadOnlyAndOnlyOnce)
{
    const int before = niceOfThisThread();
    int lowered = 0;
    int askedAgain = 0;
    std::thread worker([&] {
        EXPECT_TRUE(ThreadPriority::lowerThisThread());
        lowered = niceOfThisThread();
        EXPECT_TRUE(ThreadPriority::lowerThisThread());
        askedAgain = niceOfThisThread();
    });
    worker.join();
    EXPECT_EQ(lowered, std::min(before + ThreadPriority::niceSteps, 19));
    EXPECT_EQ(askedAgain, lowered);
    EXPECT_EQ(niceOfThisThread(), before);
}
