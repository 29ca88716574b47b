// What the script's conditions look back at: the message boxes shown, the entries of the popup menus shown,
// the driver requests made, the answers queued and not yet taken, and the failures the window system
// reported. Fed from the event sinks on whichever thread the program did something.
#pragma once
#include "driverlib/LibraryCall.h"
#include "simcard/Trace.h"

#include <hostui/Events.h>

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace runner {

// A driver request as the conditions look back at it.
struct RecordedRequest {
    std::uint64_t timeMs = 0; // the card's clock
    std::uint32_t threadId = 0;
    std::uint32_t oid = 0;
    simcard::RequestKind kind = simcard::RequestKind::Query;
    std::optional<std::uint32_t> subId;
};

class RunRecord {
public:
    void OnUiEvent(const hostui::UiEvent& event);
    void OnRequest(const simcard::TraceEntry& entry);
    // Keeps the calls of W32N_MakeNdisRequest (as they start, then as they return) for `dump request`.
    void OnLibraryCall(const driverlib::LibraryCall& call);
    std::optional<driverlib::LibraryCall> LibraryRequest(std::uint64_t number) const;

    // The first box with this text at or after `from`; its index.
    std::optional<std::size_t> FindBox(const std::string& text, std::size_t from) const;
    std::size_t BoxCount() const;
    std::optional<std::size_t> FindRequest(std::uint32_t oid, std::optional<simcard::RequestKind> kind,
                                           std::size_t from) const;
    std::size_t RequestCount() const;
    // The requests from index `from` on.
    std::vector<RecordedRequest> Requests(std::size_t from) const;
    // The command id of a menu entry with this text in any popup menu shown so far.
    std::optional<unsigned> MenuCommand(const std::string& text) const;

    // An answer queued by the script line `line`; boxes take them in order.
    void QueueAnswer(int answer, int line);
    void QueueMenuChoice(unsigned command, int line);
    void QueueShellAnswer(int result, int line);
    // Script lines whose answers or menu choices nothing took.
    std::vector<std::string> Untaken() const;
    std::size_t FailureCount() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_boxes;
    std::vector<RecordedRequest> m_requests;
    std::map<std::string, unsigned> m_menuEntries;
    std::deque<std::pair<int, int>> m_answers;      // (answer, line)
    std::deque<std::pair<unsigned, int>> m_choices; // (command, line)
    std::deque<std::pair<int, int>> m_shellAnswers; // (result, line)
    std::map<std::uint64_t, driverlib::LibraryCall> m_libraryRequests;
    std::size_t m_failures = 0;
};

} // namespace runner
