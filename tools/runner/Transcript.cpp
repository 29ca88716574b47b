#include "Transcript.h"

#include "ScriptWords.h"

#include <cstdio>

namespace runner {

std::string Stamp(std::uint64_t ms, std::uint32_t threadId) {
    char text[64];
    std::snprintf(text, sizeof text, "[%5llu.%03llus] t%-2u ", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned long long>(ms % 1000), threadId);
    return text;
}

void Transcript::Header(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    EmitLocked("# " + text);
}

void Transcript::Add(std::uint64_t ms, std::uint32_t threadId, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    FlushLocked();
    m_lastRequest.clear();
    EmitLocked(Stamp(ms, threadId) + text);
    ++m_changes;
}

void Transcript::AddRequest(std::uint64_t ms, std::uint32_t threadId, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string key = std::to_string(threadId) + " " + text;
    ++m_changes;
    if (key == m_lastRequest) {
        if (m_repeats == 0)
            m_firstRepeatMs = ms;
        ++m_repeats;
        m_lastRepeatMs = ms;
        m_repeatThread = threadId;
        return;
    }
    FlushLocked();
    EmitLocked(Stamp(ms, threadId) + text);
    m_lastRequest = key;
}

void Transcript::Flush() {
    std::lock_guard<std::mutex> lock(m_mutex);
    FlushLocked();
}

void Transcript::FlushLocked() {
    if (m_repeats == 0)
        return;
    EmitLocked(Stamp(m_lastRepeatMs, m_repeatThread) + "  ... the same " + std::to_string(m_repeats) +
               (m_repeats == 1 ? " more time" : " more times") + " from " + FormatDuration(m_firstRepeatMs));
    m_repeats = 0;
}

void Transcript::KeepLast(std::size_t lines) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_keep = lines;
}

void Transcript::EmitLocked(const std::string& line) {
    if (m_keep != 0 && m_lines.size() >= 2 * m_keep)
        m_lines.erase(m_lines.begin(), m_lines.end() - static_cast<long>(m_keep));
    m_lines.push_back(line);
    if (m_echo)
        m_echo(line);
}

std::vector<std::string> Transcript::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::string Transcript::Text() const {
    std::string text;
    for (const std::string& line : Lines())
        text += line + "\n";
    return text;
}

void Transcript::SetEcho(std::function<void(const std::string&)> echo) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_echo = std::move(echo);
}

} // namespace runner
