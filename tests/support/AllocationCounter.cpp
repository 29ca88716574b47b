// Replaces the global allocation functions of the test program that links it, to count allocations. Every
// form goes to malloc/free, so the sanitizers see matching pairs.
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::uint64_t> g_allocations{0};
std::atomic<testsupport::AllocationHook> g_hook{nullptr};
thread_local bool t_inHook = false;

void Count() {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    const testsupport::AllocationHook hook = g_hook.load(std::memory_order_relaxed);
    if (hook != nullptr && !t_inHook) {
        t_inHook = true;
        hook();
        t_inHook = false;
    }
}

void* Allocate(std::size_t size) {
    Count();
    return std::malloc(size ? size : 1);
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    Count();
    const std::size_t a = static_cast<std::size_t>(align);
    return std::aligned_alloc(a, (size + a - 1) / a * a);
}
} // namespace

std::uint64_t testsupport::AllocationCount() {
    return g_allocations.load();
}

void testsupport::SetAllocationHook(AllocationHook hook) {
    g_hook.store(hook);
}

void* operator new(std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t align) {
    if (void* p = AllocateAligned(size, align))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align) {
    if (void* p = AllocateAligned(size, align))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
