#include "WindowTrace.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

#include "WindowTable.h"
#include "hostui/WindowTrace.h"

namespace hostui {
namespace {

using Sink = std::function<void(const WindowTraceRecord&)>;

struct TraceState {
    std::mutex mutex;
    std::shared_ptr<const Sink> sink;
    std::atomic<bool> on{false};
};

TraceState& State() {
    static auto* state = new TraceState;
    return *state;
}

} // namespace

void SetWindowTraceSink(std::function<void(const WindowTraceRecord&)> sink) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().sink = sink ? std::make_shared<const Sink>(std::move(sink)) : nullptr;
    State().on = State().sink != nullptr;
}

namespace detail {

bool WindowTraceOn() {
    return State().on.load(std::memory_order_relaxed);
}

void TraceWindow(const std::string& text) {
    std::shared_ptr<const Sink> sink;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        sink = State().sink;
    }
    if (sink)
        (*sink)(WindowTraceRecord{::GetCurrentThreadId(), text});
}

std::string HexValue(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return text;
}

std::string DescribeWindow(HWND hwnd) {
    if (hwnd == nullptr)
        return "NULL";
    const std::string handle = HexValue(reinterpret_cast<std::uintptr_t>(hwnd));
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    const Window* w = FindWindowRecord(hwnd);
    if (w == nullptr)
        return handle + " (no window)";
    if ((w->style & WS_CHILD) != 0)
        return handle + " " + w->className + " " +
               (w->id != 0 ? std::to_string(w->id) : "\"" + w->text + "\"");
    return handle + " \"" + w->text + "\"";
}

} // namespace detail
} // namespace hostui
