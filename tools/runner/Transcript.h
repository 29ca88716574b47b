// The transcript of a run: one line per event, stamped with the clock's time and the thread that caused it.
// Driver requests that repeat a request just before them (a thread polling the card) fold into one line
// that says how often and until when. Lines may come from any thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace runner {

class Transcript {
public:
    // Header lines ("# ...") come before every event line.
    void Header(const std::string& text);
    void Add(std::uint64_t ms, std::uint32_t threadId, const std::string& text);
    // A driver request; `key` is what makes two requests the same (everything but the time).
    void AddRequest(std::uint64_t ms, std::uint32_t threadId, const std::string& text);
    // Writes out a pending run of repeats.
    void Flush();

    std::vector<std::string> Lines() const;
    std::string Text() const;
    // Keeps only about the last `lines` lines (a run of days keeps what a failure report needs); 0 keeps all.
    void KeepLast(std::size_t lines);
    // Receives every line as it is written (interactive runs print them at once).
    void SetEcho(std::function<void(const std::string&)> echo);
    // Grows with every event, also with folded repeats: what waiting commands watch.
    std::uint64_t Changes() const { return m_changes.load(); }

private:
    void EmitLocked(const std::string& line);
    void FlushLocked();

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::size_t m_keep = 0;
    std::function<void(const std::string&)> m_echo;
    std::string m_lastRequest; // thread and text of the request line written last, if it was the last line
    std::uint32_t m_repeats = 0;
    std::uint64_t m_firstRepeatMs = 0;
    std::uint64_t m_lastRepeatMs = 0;
    std::uint32_t m_repeatThread = 0;
    std::atomic<std::uint64_t> m_changes{0};
};

// "[  12.000s] t3 " — the stamp in front of every event line.
std::string Stamp(std::uint64_t ms, std::uint32_t threadId);

} // namespace runner
