#include "HeapPages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// Linux 6.1 knows it; the C library's headers may not name it yet.
#ifndef MADV_COLLAPSE
#define MADV_COLLAPSE 25
#endif

namespace {
// The sanitizers' allocator keeps heaps of its own, laid out otherwise.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitizersAllocate = true;
#else
constexpr bool sanitizersAllocate = false;
#endif

// glibc's own default, restored once the threads' heaps are made.
constexpr int defaultTopPad = 128 * 1024;

std::uintptr_t alignDown(std::uintptr_t address)
{
    return address & ~(HeapPages::largePage - 1);
}

std::uintptr_t alignUp(std::uintptr_t address)
{
    return alignDown(address + HeapPages::largePage - 1);
}

struct Mapping
{
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    bool anonymousAndWritable = false;
};

// The line of /proc/self/maps holding the address: "start-end perms offset dev inode [name]".
// A thread's heap is writable, private, and has neither a file nor a name.
Mapping mappingHolding(std::uintptr_t address)
{
    const int descriptor = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    std::string text;
    char buffer[16384];
    for (ssize_t got; (got = ::read(descriptor, buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(got));
    ::close(descriptor);
    for (size_t lineStart = 0; lineStart < text.size();) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        unsigned long start = 0, end = 0, offset = 0, inode = 0;
        char permissions[5] = {};
        int nameAt = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx %4s %lx %*s %lu %n", &start, &end, permissions,
                        &offset, &inode, &nameAt) < 5)
            continue;
        if (address < start || address >= end)
            continue;
        const bool unnamed = nameAt <= 0 || size_t(nameAt) >= line.size();
        return {start, end, std::strcmp(permissions, "rw-p") == 0 && inode == 0 && unnamed};
    }
    return {};
}
} // namespace

void HeapPages::growHeapsInLargeSteps()
{
    ::mallopt(M_TOP_PAD, int(heapRoom));
}

void HeapPages::restoreHeapGrowth()
{
    ::mallopt(M_TOP_PAD, defaultTopPad);
}

bool HeapPages::backThisThreadsHeap()
{
    if (sanitizersAllocate)
        return false;
    // Volatile, or the compiler drops an allocation freed at once.
    void* volatile probe = std::malloc(1);
    const auto address = reinterpret_cast<std::uintptr_t>(probe);
    std::free(probe);
    const Mapping heap = mappingHolding(address);
    // The main thread's heap, or one made before the large steps, is left as it is.
    if (!heap.anonymousAndWritable || heap.start != alignDown(heap.start) ||
        heap.end - heap.start < heapRoom)
        return false;
    const std::uintptr_t end = alignDown(heap.end);
    if (::madvise(reinterpret_cast<void*>(heap.start), end - heap.start, MADV_HUGEPAGE) != 0)
        return false;
    // The first large page's worth already holds the heap's bookkeeping, in small pages: made
    // one large page now, or left in small ones by a kernel before 6.1.
    ::madvise(reinterpret_cast<void*>(heap.start), largePage, MADV_COLLAPSE);
    return true;
}

bool HeapPages::backMainHeap()
{
    if (sanitizersAllocate)
        return false;
    growHeapsInLargeSteps();
    // Moves the break by the block and as much again. Of the block only its two ends are
    // written: a large page cannot take the place of small pages already touched.
    void* volatile grown = std::malloc(heapRoom);
    const auto freeFrom = reinterpret_cast<std::uintptr_t>(grown);
    std::free(grown);
    const std::uintptr_t first = alignUp(freeFrom);
    const std::uintptr_t last = alignDown(freeFrom + heapRoom);
    if (freeFrom == 0 || first >= last)
        return false;
    // The memory up to the first large page is held and never touched, so that what follows
    // is allocated from there on.
    constexpr std::uintptr_t blockHeader = sizeof(std::size_t);
    if (first - freeFrom > 2 * blockHeader) {
        [[maybe_unused]] void* volatile spacer = std::malloc(first - freeFrom - blockHeader);
    }
    return ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE) == 0;
}
