#include "simcard/WorldFile.h"

#include "TextFields.h"

#include <fstream>
#include <set>
#include <sstream>

namespace simcard {
namespace {

class LineError {
public:
    explicit LineError(std::string what) : m_what(std::move(what)) {}
    const std::string& What() const { return m_what; }

private:
    std::string m_what;
};

using Fields = std::vector<std::pair<std::string, std::string>>;

Fields ReadFields(const std::vector<std::string>& words, std::size_t from) {
    Fields fields;
    std::set<std::string> seen;
    for (std::size_t i = from; i < words.size(); ++i) {
        auto field = text::SplitField(words[i]);
        if (!field)
            throw LineError("expected key=value, found '" + words[i] + "'");
        if (!seen.insert(field->first).second)
            throw LineError("'" + field->first + "' given twice");
        fields.push_back(*field);
    }
    return fields;
}

std::uint64_t Number(const std::string& key, const std::string& value, std::uint64_t min, std::uint64_t max) {
    auto n = text::ParseNumber(value, max);
    if (!n || *n < min)
        throw LineError(key + " '" + value + "' is not a number from " + std::to_string(min) + " to " +
                        std::to_string(max));
    return *n;
}

bool YesNo(const std::string& key, const std::string& value) {
    auto b = text::ParseYesNo(value);
    if (!b)
        throw LineError(key + " '" + value + "' must be yes or no");
    return *b;
}

std::string Ssid(const std::string& value) {
    if (value.size() > 32)
        throw LineError("ssid '" + value + "' is longer than 32 bytes");
    return value;
}

MacAddress Mac(const std::string& key, const std::string& value) {
    auto mac = ParseMac(value);
    if (!mac)
        throw LineError(key + " '" + value + "' is not a MAC address like 00:60:B3:01:02:03");
    return *mac;
}

// "off", or the key as 10 or 26 hexadecimal digits.
std::string WepKey(const std::string& value) {
    if (value == "off")
        return {};
    auto bytes = ParseHexBytes(value);
    if (!bytes || (bytes->size() != 5 && bytes->size() != 13))
        throw LineError("wep '" + value + "' must be off, 10 or 26 hexadecimal digits");
    return *bytes;
}

// "1.04.05.00" as the About page shows it: the bytes in buffer order are b0 b1 b2 b3 for b2.b1.b0.b3.
std::array<std::uint8_t, 4> Firmware(const std::string& value) {
    std::array<std::uint64_t, 4> parts{};
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        const auto dot = value.find('.', at);
        const bool last = i == 3;
        if (last != (dot == std::string::npos))
            throw LineError("firmware '" + value + "' must be four numbers like 1.04.05.00");
        auto n = text::ParseNumber(value.substr(at, last ? std::string::npos : dot - at), 255);
        if (!n)
            throw LineError("firmware '" + value + "' must be four numbers from 0 to 255");
        parts[static_cast<std::size_t>(i)] = *n;
        at = dot + 1;
    }
    return {{static_cast<std::uint8_t>(parts[2]), static_cast<std::uint8_t>(parts[1]),
             static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[3])}};
}

// Bytes after the SSID in its scan entry: hexadecimal digits, at most the 44 bytes an entry has from its
// SSID field on.
std::vector<std::uint8_t> AfterSsid(const std::string& value) {
    auto bytes = ParseHexBytes(value);
    if (!bytes || bytes->size() > 44)
        throw LineError("after-ssid '" + value + "' must be at most 44 bytes as hexadecimal digits");
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

std::uint8_t Channel(const std::string& key, const std::string& value) {
    return static_cast<std::uint8_t>(Number(key, value, 1, 14));
}

CardDefinition ReadCard(const Fields& fields) {
    CardDefinition card;
    bool bound = false;
    for (const auto& [key, value] : fields) {
        if (key == "bind") {
            if (value.empty())
                throw LineError("bind needs an adapter name");
            card.bind = value;
            bound = true;
        } else if (key == "answers") {
            card.answers = YesNo(key, value);
        } else if (key == "mac") {
            card.mac = Mac(key, value);
        } else if (key == "firmware") {
            card.firmware = Firmware(value);
        } else if (key == "channels") {
            card.channelMask = static_cast<std::uint16_t>(Number(key, value, 1, 0x3FFF));
        } else if (key == "sensitivity") {
            card.sensitivity = static_cast<std::uint16_t>(Number(key, value, 0, 0xFFFF));
        } else if (key == "traffic-tx") {
            card.trafficTxPerS = static_cast<std::uint32_t>(Number(key, value, 0, 100000000));
        } else if (key == "traffic-rx") {
            card.trafficRxPerS = static_cast<std::uint32_t>(Number(key, value, 0, 100000000));
        } else if (key == "network") {
            const auto n = Number(key, value, 0, 3);
            if (!IsValidNetworkType(static_cast<unsigned>(n)))
                throw LineError("network '" + value + "' must be 0, 1 or 3");
            card.powerOn.networkType = static_cast<std::uint8_t>(n);
        } else if (key == "ssid") {
            card.powerOn.ssid = Ssid(value);
        } else if (key == "channel") {
            card.powerOn.channel = Channel(key, value);
        } else if (key == "rate") {
            // Any code: a card may start with one that no set would be allowed to write.
            card.powerOn.txRate = static_cast<std::uint16_t>(Number(key, value, 0, 0xFFFF));
        } else if (key == "join-delay") {
            card.timing.joinDelayMs = static_cast<std::uint32_t>(Number(key, value, 0, 3600000));
        } else if (key == "retry") {
            card.timing.retryMs = static_cast<std::uint32_t>(Number(key, value, 1, 3600000));
        } else if (key == "lost-delay") {
            card.timing.lostDelayMs = static_cast<std::uint32_t>(Number(key, value, 0, 3600000));
        } else if (key == "scan-interval") {
            card.timing.scanIntervalMs = static_cast<std::uint32_t>(Number(key, value, 1, 3600000));
        } else {
            throw LineError("card has no field '" + key + "'");
        }
    }
    if (!bound)
        throw LineError("card needs bind=NAME (or bind=*)");
    return card;
}

// The keys of what the card reports about a cell beyond the radio (Cell::linkState and the others), on
// cell lines and changes alike. False when the key is none of them.
bool ReadReportKey(const std::string& key, const std::string& value, CellChange& change) {
    if (key == "link-state")
        change.linkState = static_cast<std::uint16_t>(Number(key, value, 0, 0xFFFF));
    else if (key == "link-signal")
        change.linkSignal = static_cast<std::uint8_t>(Number(key, value, 0, 0xFF));
    else if (key == "link-quality")
        change.linkQuality = static_cast<std::uint8_t>(Number(key, value, 0, 0xFF));
    else if (key == "ssid-length")
        change.ssidLength = static_cast<std::uint16_t>(Number(key, value, 0, 0xFF));
    else if (key == "after-ssid")
        change.afterSsid = AfterSsid(value);
    else
        return false;
    return true;
}

Cell ReadCell(BssType type, const Fields& fields) {
    Cell cell;
    cell.type = type;
    std::set<std::string> given;
    for (const auto& [key, value] : fields) {
        given.insert(key);
        if (key == "name") {
            if (value.empty())
                throw LineError("name must not be empty");
            cell.name = value;
        } else if (key == "ssid") {
            cell.ssid = Ssid(value);
        } else if (key == "bssid") {
            cell.bssid = Mac(key, value);
        } else if (key == "channel") {
            cell.channel = Channel(key, value);
        } else if (key == "signal") {
            cell.signal = static_cast<std::uint16_t>(Number(key, value, 0, 100));
        } else if (key == "noise") {
            cell.noise = static_cast<std::uint16_t>(Number(key, value, 0, 100));
        } else if (key == "wep") {
            cell.wepKey = WepKey(value);
        } else if (key == "present") {
            cell.present = YesNo(key, value);
        } else {
            CellChange report;
            if (!ReadReportKey(key, value, report))
                throw LineError("cell has no field '" + key + "'");
            report.ApplyTo(cell);
        }
    }
    for (const char* required : {"name", "ssid", "bssid", "channel", "signal"})
        if (!given.count(required))
            throw LineError(std::string("cell needs ") + required + "=");
    return cell;
}

CellChange ReadChange(const Fields& fields) {
    if (fields.empty())
        throw LineError("at needs at least one change, like signal=10");
    CellChange change;
    for (const auto& [key, value] : fields) {
        if (key == "ssid")
            change.ssid = Ssid(value);
        else if (key == "channel")
            change.channel = Channel(key, value);
        else if (key == "signal")
            change.signal = static_cast<std::uint16_t>(Number(key, value, 0, 100));
        else if (key == "noise")
            change.noise = static_cast<std::uint16_t>(Number(key, value, 0, 100));
        else if (key == "wep")
            change.wepKey = WepKey(value);
        else if (key == "present")
            change.present = YesNo(key, value);
        else if (!ReadReportKey(key, value, change))
            throw LineError("a change has no field '" + key + "'");
    }
    return change;
}

class WorldReader {
public:
    void Line(const std::vector<std::string>& words) {
        const std::string& what = words[0];
        if (what == "card") {
            CardDefinition card = ReadCard(ReadFields(words, 1));
            if (!m_binds.insert(card.bind).second)
                throw LineError("a card is already bound to '" + card.bind + "'");
            m_world.cards.push_back(card);
        } else if (what == "ap" || what == "adhoc") {
            Cell cell =
                ReadCell(what == "ap" ? BssType::Infrastructure : BssType::AdHoc, ReadFields(words, 1));
            if (!m_names.insert(cell.name).second)
                throw LineError("a cell named '" + cell.name + "' already exists");
            m_world.cells.push_back(cell);
        } else if (what == "at") {
            if (words.size() < 3)
                throw LineError("at needs a time, a cell name and changes: at 30000 office signal=3");
            WorldEvent event;
            event.atMs = Number("time", words[1], 0, 1000ull * 3600 * 24 * 365);
            event.cellName = words[2];
            if (!m_names.count(event.cellName))
                throw LineError("no cell named '" + event.cellName + "' above this line");
            event.change = ReadChange(ReadFields(words, 3));
            m_world.events.push_back(event);
        } else {
            throw LineError("unknown line kind '" + what + "' (card, ap, adhoc or at)");
        }
    }
    WorldDefinition Take() { return std::move(m_world); }

private:
    WorldDefinition m_world;
    std::set<std::string> m_binds;
    std::set<std::string> m_names;
};

} // namespace

WorldLoad ParseWorld(const std::string& text, const std::string& fileName) {
    WorldLoad load;
    WorldReader reader;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        try {
            auto words = text::SplitWords(line);
            if (!words)
                throw LineError("a quote is not closed");
            if (!words->empty())
                reader.Line(*words);
        } catch (const LineError& e) {
            load.error = fileName + ":" + std::to_string(number) + ": " + e.What();
            return load;
        }
    }
    load.world = reader.Take();
    load.ok = true;
    return load;
}

WorldLoad LoadWorldFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        WorldLoad load;
        load.error = path + ": cannot be opened";
        return load;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseWorld(text.str(), path);
}

WorldDefinition DefaultWorld() {
    WorldDefinition world;
    world.cards.push_back(CardDefinition{});
    Cell home;
    home.name = "home";
    home.ssid = "WLAN";
    home.bssid = MacAddress{{0x00, 0x60, 0xB3, 0x00, 0x00, 0x01}};
    home.channel = 6;
    home.signal = 40;
    home.noise = 10;
    world.cells.push_back(home);
    return world;
}

std::shared_ptr<RadioWorld> BuildRadioWorld(const WorldDefinition& definition, std::uint64_t startMs) {
    auto world = std::make_shared<RadioWorld>(definition.cells);
    for (const WorldEvent& event : definition.events)
        world->Change(event.cellName, event.change, startMs + event.atMs);
    return world;
}

} // namespace simcard
