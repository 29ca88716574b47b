#include "Timeline.h"

#include <algorithm>
#include <cstdio>

namespace runner {
namespace {

constexpr std::uint32_t kLinkStateOid = 0xFF010199u;
constexpr std::uint32_t kSignalOid = 0xFF02019Fu;
constexpr std::uint32_t kQualityOid = 0xFF02019Eu;
constexpr int kLeft = 120;
constexpr int kWidth = 960;
constexpr int kBand = 70;
constexpr int kGap = 20;

long LittleEndian(const std::vector<std::uint8_t>& bytes) {
    long value = 0;
    for (std::size_t i = std::min<std::size_t>(bytes.size(), 4); i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
        }
    }
    return out;
}

class Plot {
public:
    Plot(std::uint64_t endMs) : m_end(std::max<std::uint64_t>(endMs, 1)) {}
    double X(std::uint64_t ms) const {
        return kLeft + static_cast<double>(ms) * kWidth / static_cast<double>(m_end);
    }

    // A step line of samples over a band, values scaled to [0, top].
    std::string Steps(const std::vector<std::pair<std::uint64_t, long>>& samples, int band, long top,
                      const char* colour) const {
        if (samples.empty())
            return "";
        const double base = Y0(band) + kBand;
        auto y = [&](long v) {
            return base - static_cast<double>(std::clamp(v, 0L, top)) * kBand / static_cast<double>(top);
        };
        std::string points;
        char buffer[64];
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double x = X(samples[i].first);
            if (i > 0) {
                std::snprintf(buffer, sizeof buffer, "%.1f,%.1f ", x, y(samples[i - 1].second));
                points += buffer;
            }
            std::snprintf(buffer, sizeof buffer, "%.1f,%.1f ", x, y(samples[i].second));
            points += buffer;
        }
        std::snprintf(buffer, sizeof buffer, "%.1f,%.1f", X(m_end), y(samples.back().second));
        points += buffer;
        return std::string("<polyline fill=\"none\" stroke=\"") + colour +
               "\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
    }

    static double Y0(int band) { return 30 + band * (kBand + kGap); }

private:
    std::uint64_t m_end;
};

} // namespace

void Timeline::OnUiEvent(std::uint64_t ms, const hostui::UiEvent& event) {
    std::lock_guard<std::mutex> lock(m_mutex);
    using Kind = hostui::UiEvent::Kind;
    if (event.kind == Kind::TrayAdd || event.kind == Kind::TrayModify)
        m_icon.push_back({ms, static_cast<long>(event.value)});
    else if (event.kind == Kind::TrayDelete)
        m_icon.push_back({ms, 0});
}

void Timeline::OnRequest(std::uint64_t ms, const simcard::TraceEntry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_requestsPerSecond[ms / 1000];
    if (entry.kind != simcard::RequestKind::Query || entry.status != 0 || entry.value.empty())
        return;
    if (entry.oid == kLinkStateOid)
        m_link.push_back({ms, LittleEndian(entry.value)});
    else if (entry.oid == kSignalOid)
        m_signal.push_back({ms, LittleEndian(entry.value)});
    else if (entry.oid == kQualityOid)
        m_quality.push_back({ms, LittleEndian(entry.value)});
}

std::string Timeline::Svg(std::uint64_t endMs, const std::string& title) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Plot plot(endMs);
    const int height = static_cast<int>(Plot::Y0(4)) + 30;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kLeft + kWidth + 20) +
           "\" height=\"" + std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    svg += "<title>" + Escape(title) + "</title>\n";
    svg += "<text x=\"10\" y=\"18\" font-size=\"13\">" + Escape(title) + "</text>\n";
    const char* names[] = {"tray icon", "link state", "signal, quality", "requests/s"};
    for (int band = 0; band < 4; ++band) {
        svg += "<rect x=\"" + std::to_string(kLeft) + "\" y=\"" +
               std::to_string(static_cast<int>(Plot::Y0(band))) + "\" width=\"" + std::to_string(kWidth) +
               "\" height=\"" + std::to_string(kBand) + "\" fill=\"#f4f4f4\" stroke=\"#ccc\"/>\n";
        svg += "<text x=\"10\" y=\"" + std::to_string(static_cast<int>(Plot::Y0(band)) + kBand / 2) + "\">" +
               names[band] + "</text>\n";
    }
    // Icons as levels: none 0, not connected 1, connected 2 (other icons 1).
    std::vector<std::pair<std::uint64_t, long>> icon;
    for (const Sample& s : m_icon)
        icon.emplace_back(s.ms, s.value == 0 ? 0 : s.value == 186 ? 2 : 1);
    svg += plot.Steps(icon, 0, 2, "#2a6");
    // Link state: connected (1) high, anything else low.
    std::vector<std::pair<std::uint64_t, long>> link;
    for (const Sample& s : m_link)
        link.emplace_back(s.ms, s.value == 1 ? 1 : 0);
    svg += plot.Steps(link, 1, 1, "#26a");
    std::vector<std::pair<std::uint64_t, long>> signal;
    for (const Sample& s : m_signal)
        signal.emplace_back(s.ms, s.value);
    std::vector<std::pair<std::uint64_t, long>> quality;
    for (const Sample& s : m_quality)
        quality.emplace_back(s.ms, s.value);
    svg += plot.Steps(signal, 2, 15, "#a62");
    svg += plot.Steps(quality, 2, 15, "#a2a");
    long most = 1;
    for (const auto& [second, count] : m_requestsPerSecond)
        most = std::max(most, count);
    for (const auto& [second, count] : m_requestsPerSecond) {
        const double x = plot.X(second * 1000);
        const double w = std::max(1.0, plot.X((second + 1) * 1000) - x - 1);
        const double h = static_cast<double>(count) * kBand / static_cast<double>(most);
        char rect[160];
        std::snprintf(rect, sizeof rect,
                      "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#888\"/>\n", x,
                      Plot::Y0(3) + kBand - h, w, h);
        svg += rect;
    }
    char axis[200];
    std::snprintf(
        axis, sizeof axis,
        "<text x=\"%d\" y=\"%d\">0 s</text><text x=\"%d\" y=\"%d\" text-anchor=\"end\">%.3f s</text>\n",
        kLeft, height - 8, kLeft + kWidth, height - 8, static_cast<double>(endMs) / 1000.0);
    svg += axis;
    svg += "</svg>\n";
    return svg;
}

} // namespace runner
