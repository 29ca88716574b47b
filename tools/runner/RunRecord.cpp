#include "RunRecord.h"

#include "EventFormat.h"

#include <cstdlib>

namespace runner {

void RunRecord::OnUiEvent(const hostui::UiEvent& event) {
    std::lock_guard<std::mutex> lock(m_mutex);
    using Kind = hostui::UiEvent::Kind;
    if (event.kind == Kind::Box) {
        m_boxes.push_back(event.text);
        if (!m_answers.empty())
            m_answers.pop_front();
    } else if (event.kind == Kind::Menu) {
        if (!m_choices.empty())
            m_choices.pop_front();
        for (const std::string& item : event.items) {
            const std::size_t blank = item.find(' ');
            if (item == "-" || blank == std::string::npos)
                continue;
            std::string text = item.substr(blank + 1);
            const std::string grayed = " (grayed)";
            if (text.size() > grayed.size() &&
                text.compare(text.size() - grayed.size(), grayed.size(), grayed) == 0)
                text.resize(text.size() - grayed.size());
            m_menuEntries[text] = static_cast<unsigned>(std::strtoul(item.c_str(), nullptr, 10));
        }
    } else if (event.kind == Kind::Shell) {
        if (!m_shellAnswers.empty())
            m_shellAnswers.pop_front();
    } else if (event.kind == Kind::Failure) {
        ++m_failures;
    }
}

void RunRecord::OnLibraryCall(const driverlib::LibraryCall& call) {
    if (call.function != driverlib::LibraryCall::Function::MakeNdisRequest)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_libraryRequests[call.request] = call;
}

std::optional<driverlib::LibraryCall> RunRecord::LibraryRequest(std::uint64_t number) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_libraryRequests.find(number);
    if (it == m_libraryRequests.end())
        return std::nullopt;
    return it->second;
}

void RunRecord::OnRequest(const simcard::TraceEntry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.push_back(RecordedRequest{entry.timeMs, entry.threadId, entry.oid, entry.kind, entry.subId});
}

std::optional<std::size_t> RunRecord::FindBox(const std::string& text, std::size_t from) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (std::size_t i = from; i < m_boxes.size(); ++i)
        if (m_boxes[i] == text)
            return i;
    return std::nullopt;
}

std::size_t RunRecord::BoxCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes.size();
}

std::optional<std::size_t> RunRecord::FindRequest(std::uint32_t oid, std::optional<simcard::RequestKind> kind,
                                                  std::size_t from) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (std::size_t i = from; i < m_requests.size(); ++i)
        if (m_requests[i].oid == oid && (!kind || m_requests[i].kind == *kind))
            return i;
    return std::nullopt;
}

std::size_t RunRecord::RequestCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

std::vector<RecordedRequest> RunRecord::Requests(std::size_t from) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (from >= m_requests.size())
        return {};
    return std::vector<RecordedRequest>(m_requests.begin() + static_cast<long>(from), m_requests.end());
}

std::optional<unsigned> RunRecord::MenuCommand(const std::string& text) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_menuEntries.find(text);
    if (it == m_menuEntries.end())
        return std::nullopt;
    return it->second;
}

void RunRecord::QueueAnswer(int answer, int line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers.emplace_back(answer, line);
}

void RunRecord::QueueMenuChoice(unsigned command, int line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_choices.emplace_back(command, line);
}

void RunRecord::QueueShellAnswer(int result, int line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shellAnswers.emplace_back(result, line);
}

std::vector<std::string> RunRecord::Untaken() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> lines;
    for (const auto& [answer, line] : m_answers)
        lines.push_back("line " + std::to_string(line) + ": answer " + AnswerName(answer) +
                        " was never taken by a message box");
    for (const auto& [command, line] : m_choices)
        lines.push_back("line " + std::to_string(line) + ": menu pick " + std::to_string(command) +
                        " was never taken by a popup menu");
    for (const auto& [result, line] : m_shellAnswers)
        lines.push_back("line " + std::to_string(line) + ": answer shell " + std::to_string(result) +
                        " was never taken by a shell request");
    return lines;
}

std::size_t RunRecord::FailureCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failures;
}

} // namespace runner
