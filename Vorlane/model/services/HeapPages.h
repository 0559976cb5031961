#pragma once

#include <cstddef>

// Backs the heaps that reading every source fills with large (2 MiB) memory pages. A rebuild
// first touches thousands of 4 KiB pages, one page fault each, and on some virtual machines a
// fault costs ten microseconds: up to a third of a rebuild. One large page takes one fault.
//
// Only advice: where the C library or the kernel does not do this, nothing changes but the
// speed. Leans on how glibc lays out its heaps: the main thread's grows by moving the program
// break; every other thread's is a region of its own, aligned to 64 MiB, that is made readable
// and writable as it grows.
class HeapPages
{
public:
    // Heaps made from now on (each new thread's) are made writable this far at once, so that
    // large pages fit in them. Call before starting the threads, and once each has advised its
    // heap, restoreHeapGrowth().
    static void growHeapsInLargeSteps();
    static void restoreHeapGrowth();

    // The calling thread's heap, made since growHeapsInLargeSteps(), is advised to take large
    // pages, the part of it already in use too. Returns whether the advice was taken.
    static bool backThisThreadsHeap();

    // For a short-lived program: the program break is moved once, by more than most runs need,
    // and what the main thread allocates from then on is advised to take large pages. Needs
    // the mapping threshold (M_MMAP_THRESHOLD) above heapRoom. Returns whether the advice was
    // taken.
    static bool backMainHeap();

    static constexpr std::size_t largePage = 2 * 1024 * 1024;
    static constexpr std::size_t heapRoom = 16 * 1024 * 1024;
};
