// Heaps advised to take large pages: the advice lands on the memory later allocations come from.

#include "HeapPages.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <thread>

namespace {
bool largePagesEnabled()
{
    QFile setting(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    return setting.open(QIODevice::ReadOnly) && !setting.readAll().contains("[never]");
}

// Whether the kernel may back the mapping holding the address with large pages.
bool eligibleForLargePages(const void* block)
{
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    QFile maps(QStringLiteral("/proc/self/smaps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    bool holding = false;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        if (dash > 0 && space > dash && line.at(space - 1) != ':') {
            bool startRead = false, endRead = false;
            const auto start = line.left(dash).toULongLong(&startRead, 16);
            const auto end = line.mid(dash + 1, space - dash - 1).toULongLong(&endRead, 16);
            holding = startRead && endRead && address >= start && address < end;
        } else if (holding && line.startsWith("THPeligible:")) {
            return line.trimmed().endsWith('1');
        }
    }
    return false;
}

// Each case runs in a new process of its own, as a program that has only started: it changes
// how the whole process allocates, and looks at where the next allocations go.
class HeapPagesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        GTEST_SKIP() << "the sanitizers' allocator keeps heaps of its own";
#endif
        if (!largePagesEnabled())
            GTEST_SKIP() << "this system does not do large pages";
    }
};

TEST_F(HeapPagesTest, aNewThreadsHeapTakesLargePages)
{
    EXPECT_EXIT(
        {
            HeapPages::growHeapsInLargeSteps();
            bool advised = false;
            bool eligible = false;
            std::thread worker([&] {
                advised = HeapPages::backThisThreadsHeap();
                void* volatile later = std::malloc(1000);
                eligible = eligibleForLargePages(later);
            });
            worker.join();
            HeapPages::restoreHeapGrowth();
            std::_Exit(advised && eligible ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(HeapPagesTest, theMainHeapTakesLargePagesFromTheNextAllocationOn)
{
    EXPECT_EXIT(
        {
            ::mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
            const bool advised = HeapPages::backMainHeap();
            void* volatile next = std::malloc(1000);
            std::_Exit(advised && eligibleForLargePages(next) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
} // namespace
