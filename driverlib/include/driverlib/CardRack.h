// Which simulated cards the driver-access library reaches, by the adapter name each is bound to, and the
// adapter handles open on them. Tests and the host runner install cards here; the DLL installs them from
// its environment (docs/world-file.md) on first use.
#pragma once
#include "driverlib/LibraryCall.h"
#include "simcard/Clock.h"
#include "simcard/SimCard.h"
#include "simcard/WorldFile.h"
#include "threads/Mutex.h"

#include <win32api.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driverlib {

// GetTickCount and GetCurrentThreadId: the stand-ins' one clock on host, the system's in the DLL.
std::shared_ptr<simcard::CardClock> SystemCardClock();

class CardRack {
public:
    static CardRack& Instance();

    // Replaces every card; adapter handles open until now stop working (ERROR_INVALID_HANDLE).
    void Install(std::shared_ptr<simcard::RadioWorld> world,
                 std::vector<std::shared_ptr<simcard::SimCard>> cards);
    // Cards for a world definition, on `clock` (SystemCardClock() when null), timed changes from now on.
    void InstallWorld(const simcard::WorldDefinition& definition,
                      std::shared_ptr<simcard::CardClock> clock = nullptr);
    void Clear();
    // True once anything was installed or cleared; the library configures itself from the environment
    // only before that.
    bool Configured() const;

    std::vector<std::shared_ptr<simcard::SimCard>> Cards() const;
    std::shared_ptr<simcard::SimCard> Card(std::size_t index) const; // null when there is none
    std::shared_ptr<simcard::SimCard> CardFor(const std::string& adapterName) const;
    std::shared_ptr<simcard::RadioWorld> World() const;
    void SetTraceSink(const simcard::TraceSink& sink);
    // One line per armed fault rule of any card that never fired; empty when all did.
    std::string UnfiredFaults() const;
    std::size_t OpenHandleCount() const;

    // The program's user-interface thread, for fault rules narrowed to a thread; kept for cards installed
    // later. 0: unknown.
    void SetUiThread(std::uint32_t threadId);
    // Receives every call of the five while set; null removes it.
    void SetCallObserver(LibraryCallObserver observer);
    std::shared_ptr<const LibraryCallObserver> CallObserver() const;
    // Numbers the W32N_MakeNdisRequest calls an observer sees, 1, 2, ... from the last Install (or Clear).
    std::uint64_t NextRequestNumber() { return ++m_requestNumber; }

    // For the five calls.
    struct Binding {
        std::shared_ptr<simcard::SimCard> card;
        std::uint64_t session = 0;
    };
    HANDLE Open(const std::string& adapterName);
    std::optional<Binding> Lookup(HANDLE handle) const;
    bool Close(HANDLE handle);

private:
    CardRack() = default;

    mutable threads::Mutex m_mutex;
    bool m_configured = false;
    std::shared_ptr<simcard::RadioWorld> m_world;
    std::vector<std::shared_ptr<simcard::SimCard>> m_cards;
    std::map<std::uintptr_t, Binding> m_handles;
    std::uintptr_t m_nextHandle = 0x0A000004u;
    std::uint32_t m_uiThread = 0;
    std::shared_ptr<const LibraryCallObserver> m_callObserver;
    std::atomic<std::uint64_t> m_requestNumber{0};
};

// Installs the world of W32N_WORLD (or the default world when unset), arms the fault rules of
// W32N_FAULTS on every card and appends the trace to W32N_TRACE. False with a message when a file does
// not load; then no card is installed.
bool ConfigureFromEnvironment(std::string* error);

} // namespace driverlib
