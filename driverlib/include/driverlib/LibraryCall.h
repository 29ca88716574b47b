// One call of the five W32N_* functions as a trace shows it: the arguments, what the call found and left in
// the request record and its buffer, and the result. Calls are reported only while an observer is
// installed (CardRack::SetCallObserver); without one a call costs a pointer test.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace driverlib {

// The fields of a W32N request record that the caller fills and the library answers in.
struct RequestFields {
    std::uint32_t type = 0;
    std::uint32_t oid = 0;
    bool buffer = false; // an information buffer was given (its address is not shown: it is not repeatable)
    std::uint32_t length = 0;
    std::uint32_t written = 0;
    std::uint32_t needed = 0;
};

struct LibraryCall {
    enum class Function { IsWindowsNT, GetAdapterRegistryInfo, OpenAdapter, MakeNdisRequest, CloseAdapter };
    // W32N_MakeNdisRequest is reported twice, as it starts and as it returns: a request may take a while
    // (a slow driver) and other threads act meanwhile. The others are reported once, when they return.
    enum class Phase { Start, Return };

    Function function = Function::IsWindowsNT;
    Phase phase = Phase::Return;
    std::uint32_t threadId = 0;
    int index = 0;             // GetAdapterRegistryInfo: the adapter index
    std::string name;          // OpenAdapter: the name; GetAdapterRegistryInfo: the device name found
    std::uintptr_t handle = 0; // OpenAdapter: the result; MakeNdisRequest, CloseAdapter: the argument
    std::uint64_t request =
        0;                // MakeNdisRequest: its number, 1, 2, ... over every card since the rack was set up
    bool record = false;  // MakeNdisRequest: a request record was given
    RequestFields before; // the record's fields as the caller handed them
    RequestFields after;  // and as the call left them (Return)
    bool overlapped = false;                // an OVERLAPPED was given
    std::uintptr_t event = 0;               // its event handle
    std::uint32_t wait = 0;                 // the fourth argument
    std::vector<std::uint8_t> bufferBefore; // the buffer's bytes as handed over
    std::vector<std::uint8_t> bufferAfter;  // and as returned (Return)
    std::uint32_t result = 0;               // the function's result (OpenAdapter: see handle)
};

using LibraryCallObserver = std::function<void(const LibraryCall&)>;

} // namespace driverlib
