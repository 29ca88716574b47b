#include "Timeline.h"

#include <algorithm>
#include <cstdio>

namespace runner {
namespace {

constexpr std::uint32_t kLinkStateOid = 0xFF010199u;
constexpr std::uint32_t kSignalOid = 0xFF02019Fu;
constexpr std::uint32_t kQualityOid = 0xFF02019Eu;
constexpr int kLeft = 170; // room for the band names and the value labels
constexpr int kWidth = 960;
constexpr int kGap = 24;
constexpr int kTop = 30;

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

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// One horizontal band of the picture: its place, and the value range its y axis shows.
struct Band {
    double top;
    int height;
    long low;
    long high;
    double Y(long value) const {
        const long v = std::clamp(value, low, high);
        return top + height - static_cast<double>(v - low) * height / static_cast<double>(high - low);
    }
};

class Plot {
public:
    explicit Plot(std::uint64_t endMs) : m_end(std::max<std::uint64_t>(endMs, 1)) {}
    double X(std::uint64_t ms) const {
        return kLeft + static_cast<double>(ms) * kWidth / static_cast<double>(m_end);
    }

    // A step line of samples over a band.
    std::string Steps(const std::vector<std::pair<std::uint64_t, long>>& samples, const Band& band,
                      const char* colour) const {
        if (samples.empty())
            return "";
        std::string points;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double x = X(samples[i].first);
            if (i > 0)
                points += Format("%.1f,%.1f ", x, band.Y(samples[i - 1].second));
            points += Format("%.1f,%.1f ", x, band.Y(samples[i].second));
        }
        points += Format("%.1f,%.1f", X(m_end), band.Y(samples.back().second));
        return std::string("<polyline fill=\"none\" stroke=\"") + colour +
               "\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
    }

    // The band's frame, its name, and a label with a grid line at each of the given values.
    static std::string Frame(const Band& band, const char* name,
                             const std::vector<std::pair<long, std::string>>& labels) {
        std::string svg =
            Format("<rect x=\"%.0f\" y=\"%.1f\" width=\"%.0f\" height=\"%.0f\" fill=\"#f4f4f4\" "
                   "stroke=\"#ccc\"/>\n",
                   kLeft, band.top, kWidth, band.height);
        svg += Format("<text x=\"10\" y=\"%.1f\" font-weight=\"bold\">", band.top + 11) + name + "</text>\n";
        for (const auto& [value, label] : labels) {
            const double y = band.Y(value);
            svg += Format("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"#ddd\"/>\n", kLeft,
                          y, kLeft + kWidth, y);
            svg +=
                Format("<text x=\"%.0f\" y=\"%.1f\" text-anchor=\"end\" font-size=\"9\">", kLeft - 4, y + 3) +
                Escape(label) + "</text>\n";
        }
        return svg;
    }

    // Ticks and labels of the time axis under the bands, about ten of them at a round step.
    std::string TimeAxis(double bottom) const {
        static const std::uint64_t steps[] = {100,    200,     500,     1000,    2000,     5000,
                                              10000,  20000,   30000,   60000,   120000,   300000,
                                              600000, 1800000, 3600000, 7200000, 21600000, 86400000};
        std::uint64_t step = steps[sizeof steps / sizeof steps[0] - 1];
        for (std::uint64_t s : steps) {
            if (m_end / s <= 10) {
                step = s;
                break;
            }
        }
        std::string svg = Format("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"#444\"/>\n",
                                 kLeft, bottom, kLeft + kWidth, bottom);
        for (std::uint64_t t = 0; t <= m_end; t += step) {
            const double x = X(t);
            svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#444\"/>\n", x,
                          bottom, x, bottom + 5);
            const double seconds = static_cast<double>(t) / 1000.0;
            svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" font-size=\"9\">", x,
                          bottom + 16) +
                   (step < 1000 ? Format("%.1f s", seconds) : Format("%.0f s", seconds)) + "</text>\n";
        }
        svg += Format("<text x=\"%.0f\" y=\"%.1f\" text-anchor=\"end\">", kLeft + kWidth, bottom + 30) +
               Format("time (run ended at %.3f s)", static_cast<double>(m_end) / 1000.0) + "</text>\n";
        return svg;
    }

private:
    std::uint64_t m_end;
};

// Link state words as the program names them on the Link Info page.
const char* LinkStateName(long state) {
    switch (state) {
    case 0:
        return "0 not available";
    case 1:
        return "1 connected";
    case 2:
        return "2 authenticated";
    case 3:
        return "3 synchronized";
    case 4:
        return "4 searching";
    case 5:
        return "5 disconnected";
    default:
        return "other";
    }
}

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
    // Bands: tray icon, link state, signal and quality, requests per second.
    const Band icon{kTop, 50, 0, 2};
    const Band link{icon.top + icon.height + kGap, 90, 0, 6};
    long topByte = 15;
    for (const auto* series : {&m_signal, &m_quality})
        for (const Sample& s : *series)
            topByte = std::max(topByte, s.value);
    const Band bytes{link.top + link.height + kGap, 90, 0, topByte};
    long most = 1;
    for (const auto& [second, count] : m_requestsPerSecond)
        most = std::max(most, count);
    const Band requests{bytes.top + bytes.height + kGap, 60, 0, most};
    const double bottom = requests.top + requests.height;
    const int height = static_cast<int>(bottom) + 45;

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kLeft + kWidth + 20) +
           "\" height=\"" + std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    svg += "<title>" + Escape(title) + "</title>\n";
    svg += "<text x=\"10\" y=\"18\" font-size=\"13\">" + Escape(title) + "</text>\n";

    // Icons as levels: none, 187 (card present, not connected), 186 (connected); any other id in between.
    svg += Plot::Frame(icon, "tray icon", {{0, "none"}, {1, "187 not connected"}, {2, "186 connected"}});
    std::vector<std::pair<std::uint64_t, long>> levels;
    for (const Sample& s : m_icon)
        levels.emplace_back(s.ms, s.value == 0 ? 0 : s.value == 186 ? 2 : 1);
    svg += plot.Steps(levels, icon, "#2a6");

    // The link state word as the program read it: 0 to 5 by name, anything else on the top line.
    std::vector<std::pair<long, std::string>> stateLabels;
    for (long state = 0; state <= 6; ++state)
        stateLabels.emplace_back(state, LinkStateName(state));
    svg += Plot::Frame(link, "link state", stateLabels);
    levels.clear();
    for (const Sample& s : m_link)
        levels.emplace_back(s.ms, s.value >= 0 && s.value <= 5 ? s.value : 6);
    svg += plot.Steps(levels, link, "#26a");

    // Signal and quality bytes as the card answered them, raw: the page scales them to 0..15.
    std::vector<std::pair<long, std::string>> byteLabels{{0, "0"}, {5, "5"}, {10, "10"}, {15, "15"}};
    if (topByte > 15)
        byteLabels.emplace_back(topByte, std::to_string(topByte));
    svg += Plot::Frame(bytes, "signal, quality", byteLabels);
    std::vector<std::pair<std::uint64_t, long>> signal;
    for (const Sample& s : m_signal)
        signal.emplace_back(s.ms, s.value);
    std::vector<std::pair<std::uint64_t, long>> quality;
    for (const Sample& s : m_quality)
        quality.emplace_back(s.ms, s.value);
    svg += plot.Steps(signal, bytes, "#a62");
    svg += plot.Steps(quality, bytes, "#a2a");
    svg += Format("<text x=\"10\" y=\"%.1f\" fill=\"#a62\">&#8212; signal (0xFF02019F)</text>\n",
                  bytes.top + 30);
    svg += Format("<text x=\"10\" y=\"%.1f\" fill=\"#a2a\">&#8212; quality (0xFF02019E)</text>\n",
                  bytes.top + 44);

    svg += Plot::Frame(requests, "requests/s", {{0, "0"}, {most, std::to_string(most)}});
    for (const auto& [second, count] : m_requestsPerSecond) {
        const double x = plot.X(second * 1000);
        const double w = std::max(1.0, plot.X((second + 1) * 1000) - x - 1);
        const double y = requests.Y(count);
        svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#888\"/>\n", x, y, w,
                      bottom - y);
    }
    svg += plot.TimeAxis(bottom);
    svg += "</svg>\n";
    return svg;
}

} // namespace runner
