#include "HeapCount.h"

#include <hostsim/HeapScope.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <vector>

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

namespace soak {
namespace {

constexpr int kFrames = 12;

// In front of every block: where the allocation really starts, its size, whether it counts, and (when
// sites are kept) the counted blocks' list and the allocation's return addresses.
struct alignas(std::max_align_t) Header {
    void* base;
    std::size_t size;
    bool counted;
    Header* prev;
    Header* next;
    void* frames[kFrames];
};

std::atomic<std::int64_t> s_blocks{0};
std::atomic<std::int64_t> s_bytes{0};
thread_local bool t_driver = false;
thread_local bool t_inside = false; // taking a back trace, which may allocate
const bool s_keepSites = std::getenv("WLANSOAK_HEAP_SITES") != nullptr;
std::mutex s_listMutex;
Header s_list{nullptr, 0, false, &s_list, &s_list, {}};

void Link(Header* header) {
    std::lock_guard<std::mutex> lock(s_listMutex);
    header->next = s_list.next;
    header->prev = &s_list;
    s_list.next->prev = header;
    s_list.next = header;
}

void Unlink(Header* header) {
    std::lock_guard<std::mutex> lock(s_listMutex);
    header->prev->next = header->next;
    header->next->prev = header->prev;
}

void* Allocate(std::size_t size, std::size_t alignment) {
    if (alignment < alignof(Header))
        alignment = alignof(Header);
    const std::size_t room = sizeof(Header) + alignment;
    void* base = std::malloc(size + room);
    if (base == nullptr)
        return nullptr;
    auto address = reinterpret_cast<std::uintptr_t>(base) + sizeof(Header);
    address = (address + alignment - 1) / alignment * alignment;
    auto* header = reinterpret_cast<Header*>(address) - 1;
    header->base = base;
    header->size = size;
    header->counted = !t_driver && !t_inside && hostsim::NotProgramHeap::ProgramHeap();
    if (header->counted) {
        s_blocks.fetch_add(1, std::memory_order_relaxed);
        s_bytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed);
        if (s_keepSites) {
            t_inside = true;
            const int n = backtrace(header->frames, kFrames);
            for (int i = n; i < kFrames; ++i)
                header->frames[i] = nullptr;
            t_inside = false;
            Link(header);
        }
    }
    return reinterpret_cast<void*>(address);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
    if (void* p = Allocate(size, alignment))
        return p;
    throw std::bad_alloc();
}

void Free(void* p) {
    if (p == nullptr)
        return;
    Header* header = static_cast<Header*>(p) - 1;
    if (header->counted) {
        s_blocks.fetch_sub(1, std::memory_order_relaxed);
        s_bytes.fetch_sub(static_cast<std::int64_t>(header->size), std::memory_order_relaxed);
        if (s_keepSites)
            Unlink(header);
    }
    std::free(header->base);
}

} // namespace

void SetDriverThread() {
    t_driver = true;
}

HeapFigures ProgramHeap() {
    return HeapFigures{s_blocks.load(), s_bytes.load()};
}

bool HeapSitesKept() {
    return s_keepSites;
}

namespace {

std::string Symbol(void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_sname == nullptr)
        return "?";
    int status = 0;
    char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : info.dli_sname;
    std::free(demangled);
    return name;
}

// The frames that say where: the allocator's and the standard library's own are left out.
std::string Place(void* const* frames) {
    std::string place;
    int shown = 0;
    for (int i = 1; i < kFrames && frames[i] != nullptr && shown < 3; ++i) {
        const std::string name = Symbol(frames[i]);
        if (name.rfind("std::", 0) == 0 || name.rfind("operator new", 0) == 0 ||
            name.rfind("soak::", 0) == 0 || name.rfind("__gnu_cxx::", 0) == 0 || name == "?")
            continue;
        place += (place.empty() ? "" : " < ") + name.substr(0, 90);
        ++shown;
    }
    return place;
}

} // namespace

std::string HeapSites() {
    std::map<std::string, std::pair<std::int64_t, std::int64_t>> places; // blocks, bytes
    std::vector<std::pair<std::array<void*, kFrames>, std::size_t>> live;
    {
        std::lock_guard<std::mutex> lock(s_listMutex);
        for (Header* h = s_list.next; h != &s_list; h = h->next) {
            std::array<void*, kFrames> frames;
            std::copy(h->frames, h->frames + kFrames, frames.begin());
            live.emplace_back(frames, h->size);
        }
    }
    for (const auto& [frames, size] : live) {
        auto& figures = places[Place(frames.data())];
        ++figures.first;
        figures.second += static_cast<std::int64_t>(size);
    }
    std::multimap<std::int64_t, std::string, std::greater<>> bySize;
    for (const auto& [place, figures] : places)
        bySize.emplace(figures.second, std::to_string(figures.first) + " blocks, " +
                                           std::to_string(figures.second) + " bytes: " + place);
    std::string text;
    for (const auto& entry : bySize)
        text += "  " + entry.second + "\n";
    return text;
}

} // namespace soak

void* operator new(std::size_t size) {
    return soak::AllocateOrThrow(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size) {
    return soak::AllocateOrThrow(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return soak::Allocate(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return soak::Allocate(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return soak::AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return soak::AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* p) noexcept {
    soak::Free(p);
}
void operator delete[](void* p) noexcept {
    soak::Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    soak::Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    soak::Free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    soak::Free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    soak::Free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    soak::Free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    soak::Free(p);
}
