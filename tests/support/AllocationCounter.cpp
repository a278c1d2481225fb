// SPDX-License-Identifier: GPL-3.0-or-later
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* AllocateOrNull(std::size_t size) noexcept
{
    if (gCounting.load(std::memory_order_relaxed))
        gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* Allocate(std::size_t size)
{
    if (void* p = AllocateOrNull(size))
        return p;
    throw std::bad_alloc();
}

}  // namespace

// Every form that pairs with the replaced deletes is replaced too (the
// nothrow ones included, which the SDK's factory uses): a block from the
// library's allocator freed here is a mismatch the sanitizers report.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

AllocationCounter::AllocationCounter() noexcept
{
    gAllocations.store(0);
    gCounting.store(true);
}

AllocationCounter::~AllocationCounter()
{
    gCounting.store(false);
}

long AllocationCounter::Count() const noexcept
{
    return gAllocations.load();
}
