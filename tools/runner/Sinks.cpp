#include "Sinks.h"

#include "EventFormat.h"
#include "HandleNames.h"
#include "TraceFormat.h"

#include "driverlib/CardRack.h"

#include <hostsim/HeapScope.h>
#include <hostsim/KernelTrace.h>
#include <hostsim/Registry.h>
#include <hostsim/System.h>
#include <hostui/HostUi.h>
#include <hostui/WindowTrace.h>

namespace runner {

// Every observer runs on a program thread and keeps what it sees for the run: none of that is the program's
// heap.
void ConnectSinks(const std::shared_ptr<Session>& session, const std::set<std::string>& traces,
                  bool keepRequests) {
    hostui::SetEventSink([session](const hostui::UiEvent& event) {
        const hostsim::NotProgramHeap observer;
        const std::uint64_t now = session->Now();
        session->record.OnUiEvent(event);
        session->timeline.OnUiEvent(now, event);
        session->transcript.Add(now, event.threadId, FormatUiEvent(event));
        if (session->listener)
            session->listener->OnUiEvent(now, event);
    });
    hostsim::SetSystemRecordSink([session](const hostsim::SystemRecord& record) {
        const hostsim::NotProgramHeap observer;
        session->transcript.Add(session->Now(), record.threadId, FormatSystemRecord(record));
    });
    hostsim::SetRegistryWriteObserver([session](const hostsim::RegistryWrite& write) {
        const hostsim::NotProgramHeap observer;
        session->transcript.Add(session->Now(), ::GetCurrentThreadId(),
                                "registry " + hostsim::FormatRegistryWrite(write));
        if (session->listener)
            session->listener->OnRegistryWrite(session->Now(), write);
    });
    hostsim::SetRegistryRefusalObserver([session](const hostsim::RegistryRefused& refused) {
        const hostsim::NotProgramHeap observer;
        session->transcript.Add(session->Now(), ::GetCurrentThreadId(),
                                "registry refused " + refused.what + " -> error " +
                                    std::to_string(refused.error) + " [" + refused.rule + "]");
    });
    driverlib::CardRack::Instance().SetTraceSink([session](const simcard::TraceEntry& entry) {
        const hostsim::NotProgramHeap observer;
        const std::uint64_t now = session->Now();
        session->record.OnRequest(entry);
        session->timeline.OnRequest(now, entry);
        session->transcript.AddRequest(now, entry.threadId, FormatRequest(entry));
        if (session->listener)
            session->listener->OnRequest(now, entry);
    });

    const bool library = traces.count("library") != 0;
    if (library || keepRequests) {
        driverlib::CardRack::Instance().SetCallObserver(
            [session, library](const driverlib::LibraryCall& call) {
                const hostsim::NotProgramHeap observer;
                session->record.OnLibraryCall(call);
                if (library)
                    session->transcript.Add(session->Now(), call.threadId, FormatLibraryCall(call));
            });
    }
    if (traces.count("registry") != 0) {
        hostsim::SetRegistryReadObserver([session](const hostsim::RegistryRead& read) {
            const hostsim::NotProgramHeap observer;
            session->transcript.Add(session->Now(), ::GetCurrentThreadId(),
                                    "registry " + hostsim::FormatRegistryRead(read));
        });
    }
    const bool events = traces.count("events") != 0;
    const bool window = traces.count("window") != 0;
    if (events || window) {
        auto names = std::make_shared<HandleNames>();
        hostsim::SetKernelTraceSink([session, names, events, window](const hostsim::KernelRecord& record) {
            const hostsim::NotProgramHeap observer;
            if (record.kind == hostsim::KernelRecord::Kind::ThreadExit) {
                if (window)
                    session->transcript.Add(session->Now(), record.threadId,
                                            "window " + FormatThreadExit(record));
                return;
            }
            if (!events)
                return;
            const std::string name = names->EventName(record.handle);
            if (!name.empty())
                session->transcript.Add(session->Now(), record.threadId, FormatEventRecord(record, name));
        });
    }
    if (window) {
        hostui::SetWindowTraceSink([session](const hostui::WindowTraceRecord& record) {
            const hostsim::NotProgramHeap observer;
            session->transcript.Add(session->Now(), record.threadId, "window " + record.text);
        });
    }
}

void DisconnectSinks() {
    hostui::SetEventSink(nullptr);
    hostui::SetWindowTraceSink(nullptr);
    hostsim::SetSystemRecordSink(nullptr);
    hostsim::SetRegistryWriteObserver(nullptr);
    hostsim::SetRegistryReadObserver(nullptr);
    hostsim::SetRegistryRefusalObserver(nullptr);
    hostsim::SetKernelTraceSink(nullptr);
    driverlib::CardRack::Instance().SetTraceSink(nullptr);
    driverlib::CardRack::Instance().SetCallObserver(nullptr);
}

} // namespace runner
