// Every form of the allocation functions goes to malloc/free, so the sanitizers see matching pairs.
#include "HeapCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> s_bCounting{false};
std::atomic<int> s_nAllocations{0};

void* Allocate(std::size_t size) {
    if (s_bCounting)
        ++s_nAllocations;
    return std::malloc(size ? size : 1);
}

} // namespace

void heapcounter::Start() {
    s_nAllocations = 0;
    s_bCounting = true;
}

int heapcounter::Stop() {
    s_bCounting = false;
    return s_nAllocations;
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
