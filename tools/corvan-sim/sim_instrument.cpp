#include "sim_instrument.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace corvan::sim {

namespace {
constexpr std::size_t kBlock = 256;
// Bytes after the last record of a block; the program must ignore them.
constexpr std::uint8_t kFill = 0xA5;

int RecordBytes(int type) {
    switch (type) {
        case 0:
        case 1:
        case 2:
        case 3:
            return 4;
        case 4:
            return 2;
        default:
            return 0;
    }
}

int Digits(const std::string& s, std::size_t at) { return (s[at] - '0') * 10 + (s[at + 1] - '0'); }
}  // namespace

int RawSpeed(int i) { return (i * 37 + 11) % 4096; }
int RawDirection(int i) { return (i * 53 + 7) % 1024; }
int RawTemperature(int i) { return (i * 29 + 300) % 1024; }
int RawLatitude(int i) { return i % 10 == 9 ? 0x7FFF : (i * 97 + 1000) % 0x10000; }
int RawLongitude(int i) { return (i * 89 + 2000) % 0x10000; }
int RawTemperature16(int i) { return (i * 131 + 5000) % 0x10000; }

std::uint8_t Bcd(int v) { return static_cast<std::uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }

bool ParseSeriesList(const std::string& text, std::vector<SimSeries>& out) {
    out.clear();
    std::stringstream ss(text);
    std::string item;
    while (std::getline(ss, item, ',')) {
        const auto at = item.find('@');
        const auto slash = item.find('/');
        if (at == std::string::npos || slash == std::string::npos || slash != at + 11) return false;
        const std::string stamp = item.substr(at + 1, 10);
        if (!std::all_of(stamp.begin(), stamp.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
        SimSeries s;
        s.first = std::atoi(item.substr(0, at).c_str());
        s.year = Digits(stamp, 0);
        s.month = Digits(stamp, 2);
        s.day = Digits(stamp, 4);
        s.hour = Digits(stamp, 6);
        s.minute = Digits(stamp, 8);
        s.intervalMinutes = std::atoi(item.substr(slash + 1).c_str());
        out.push_back(s);
    }
    return !out.empty() && out.size() <= 16;
}

bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& out) {
    out.clear();
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        char* end = nullptr;
        const std::string pair = text.substr(i, 2);
        const long v = std::strtol(pair.c_str(), &end, 16);
        if (*end != '\0') return false;
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return true;
}

std::vector<std::uint8_t> CountPayload(const SimConfig& c) {
    return {static_cast<std::uint8_t>((c.count >> 8) & 0xFF), static_cast<std::uint8_t>(c.count & 0xFF)};
}

std::vector<std::uint8_t> HeaderPayload(const SimConfig& c) {
    std::vector<std::uint8_t> h(kBlock, 0);
    for (std::size_t i = 0; i < c.series.size() && i < 16; ++i) {
        const SimSeries& s = c.series[i];
        const std::size_t at = 2 + 8 * i;
        h[at] = static_cast<std::uint8_t>(s.first >> 8);
        h[at + 1] = static_cast<std::uint8_t>(s.first & 0xFF);
        h[at + 2] = static_cast<std::uint8_t>(s.intervalMinutes);
        h[at + 3] = Bcd(s.year);
        h[at + 4] = Bcd(s.month);
        h[at + 5] = Bcd(s.day);
        h[at + 6] = Bcd(s.hour);
        h[at + 7] = Bcd(s.minute);
    }
    h[130] = static_cast<std::uint8_t>(c.seriesCountByte >= 0 ? c.seriesCountByte : static_cast<int>(c.series.size()));
    h[133] = static_cast<std::uint8_t>(c.referenceNumber >> 8);
    h[134] = static_cast<std::uint8_t>(c.referenceNumber & 0xFF);
    h[135] = static_cast<std::uint8_t>(c.sensorKind);
    h[185] = static_cast<std::uint8_t>(c.instrumentType);
    if (c.sensorKind >= 1 && c.sensorKind <= 4 && c.coefficient.size() == 6) {
        std::copy(c.coefficient.begin(), c.coefficient.end(), h.begin() + 192 + 6 * (c.sensorKind - 1));
    }
    for (const auto& [offset, value] : c.headerPokes) {
        if (offset >= 0 && offset < static_cast<int>(kBlock)) h[static_cast<std::size_t>(offset)] = value;
    }
    return h;
}

int DataBlockCount(const SimConfig& c) {
    const int size = RecordBytes(c.instrumentType);
    if (size == 0 || c.count <= 0) return 1;
    const int perBlock = static_cast<int>(kBlock) / size;
    return (c.count + perBlock - 1) / perBlock;
}

std::vector<std::uint8_t> DataPayload(const SimConfig& c, int block) {
    std::vector<std::uint8_t> d(kBlock, kFill);
    const int size = RecordBytes(c.instrumentType);
    if (size == 0) return d;
    const int perBlock = static_cast<int>(kBlock) / size;
    for (int k = 0; k < perBlock; ++k) {
        const int i = block * perBlock + k;
        if (i >= c.count) break;
        std::uint8_t* b = d.data() + k * size;
        switch (c.instrumentType) {
            case 2: {
                const int lat = RawLatitude(i);
                const int lon = RawLongitude(i);
                b[0] = static_cast<std::uint8_t>(lat & 0xFF);
                b[1] = static_cast<std::uint8_t>(lat >> 8);
                b[2] = static_cast<std::uint8_t>(lon & 0xFF);
                b[3] = static_cast<std::uint8_t>(lon >> 8);
                break;
            }
            case 4: {
                const int t = RawTemperature16(i);
                b[0] = static_cast<std::uint8_t>(t & 0xFF);
                b[1] = static_cast<std::uint8_t>(t >> 8);
                break;
            }
            default: {
                const int s = RawSpeed(i);
                const int dir = RawDirection(i);
                const int t = RawTemperature(i);
                b[0] = static_cast<std::uint8_t>(t & 0xFF);
                b[1] = static_cast<std::uint8_t>(dir & 0xFF);
                b[2] = static_cast<std::uint8_t>(s & 0xFF);
                b[3] = static_cast<std::uint8_t>(((s >> 8) << 4) | ((dir >> 8) << 2) | (t >> 8));
                break;
            }
        }
    }
    return d;
}

std::uint8_t Checksum(const std::vector<std::uint8_t>& payload) {
    unsigned sum = 0;
    for (std::uint8_t b : payload) sum += b;
    return static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

std::string TerminalAnswer(const SimConfig& c, const std::string& command) {
    if (command.empty()) return "";
    if (command == "V") return "CORVAN SIMULATOR 1.0";
    if (command == "N") return "MEASUREMENTS " + std::to_string(c.count);
    if (command == "T") return "TYPE " + std::to_string(c.instrumentType);
    return "? " + command;
}

}  // namespace corvan::sim
