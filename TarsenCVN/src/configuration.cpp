#include "configuration.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace tarsen {

namespace {

// Every distance the converter shows or chooses by uses this beam angle,
// whatever the head's real one.
constexpr double kDistanceBeamAngle = 25.0;

constexpr const char* kTwentyDegreeHeads[] = {"PRF 0001", "PRF 0002", "PRF 0003", "PRF 0004"};

double Cos25() { return std::cos(kDistanceBeamAngle * std::numbers::pi / 180.0); }

char At(std::string_view s, std::size_t i) { return i < s.size() ? s[i] : '\0'; }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string Text(const std::uint8_t* bytes, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

}  // namespace

void CKxConf::SetUserWord(std::size_t offset, std::uint16_t value) {
    user[offset] = static_cast<std::uint8_t>(value & 0xFF);
    user[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::int16_t CKxConf::HeadMatrix(int index) const {
    return static_cast<std::int16_t>(Word(head.data(), kHeadMatrix + 2 * static_cast<std::size_t>(index)));
}

std::uint16_t CKxConf::HeadFrequencyKHz() {
    std::uint16_t f = Word(head.data(), kHeadFrequency);
    if (f == 200) {
        f = 190;
        head[kHeadFrequency] = 190;
        head[kHeadFrequency + 1] = 0;
    }
    return f;
}

std::string CKxConf::HardwareSerialPrefix() const { return Text(hardware.data() + kHardwareSerial, 3); }

std::string CKxConf::HeadSerial() const { return Text(head.data() + kHeadSerial, kHeadSerialLength); }

std::int32_t CKxConf::ReferenceNumber() const {
    std::int64_t value = 0;
    for (std::size_t i = kHeadReferenceDigits; i < head.size(); ++i) {
        const char c = static_cast<char>(head[i]);
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

int TarsenModel(std::string_view hw, std::string_view headSerial) {
    const char c1 = At(headSerial, 0);
    const char c2 = At(headSerial, 1);
    const char c3 = At(headSerial, 2);
    if (StartsWith(hw, "KTA")) return kKestra;
    if (StartsWith(hw, "KTB") || StartsWith(hw, "KTC")) return kKestrina;
    if (StartsWith(hw, "LMR")) return kOrlenProfiler;
    if (StartsWith(hw, "ORL")) {
        if (c3 == 'P') return kOrlenProfiler;
        if (c3 == 'Q' || c2 == '3' || c3 == 'V' || c1 == 'S') return kMirel;
        return kOrlen;
    }
    if (StartsWith(hw, "NDX")) return kWendal;
    if (StartsWith(hw, "BSP")) return c1 == 'W' ? kWendal : kBrasko;
    if (StartsWith(hw, "BSQ")) return kBrasko;
    if (c1 == 'W') return kWendal;
    if (c1 == 'C') return kBrasko;
    return kOrlen;
}

void DecideInstrumentType(CKxConf& conf) {
    const std::string head = conf.HeadSerial();
    conf.instrumentType = static_cast<std::int16_t>(TarsenModel(conf.HardwareSerialPrefix(), head));
    if (conf.instrumentType == kMirel) {
        const bool singleCell = At(head, 2) == 'V' && At(head, 1) != '3' && At(head, 0) != 'S';
        conf.SetUserWord(kUserCells, singleCell ? 1 : 3);
    }
}

double RoundHalfAwayFromZero(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double v = value * scale;
    double t = std::trunc(v);
    if (std::fabs(v - t) >= 0.5) t += v < 0 ? -1.0 : 1.0;
    return t / scale;
}

int RoundToInt(double value) {
    const double r = RoundHalfAwayFromZero(value, 0);
    if (!std::isfinite(r) || r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min()) return 0;
    return static_cast<int>(r);
}

double CellSize(const CConfig& c, std::uint16_t word) {
    const double w = word;
    const double f = c.frequency;
    if (c.type == kMirel) return std::floor(w / 256.0 * 750.0 / (4.0 * f / 255.0) * 100.0) * 0.01;
    double raw = 0.0;
    if (c.type == kBrasko) {
        raw = f > 210000.0 ? w / 256.0 * 0.09075 : w / 256.0 * 0.2220625;
    } else if (c.variantB) {
        raw = f <= 1.01e6 ? w / 6.144e9 * 162000.0 : w / 6.144e9 * 324000.0;
    } else {
        raw = w / 256.0 * 750.0 / (4.0 * f / 255.0);
    }
    return RoundHalfAwayFromZero(raw, c.variantB ? 4 : 2);
}

double PulseLength(const CConfig& c, std::uint16_t t1) {
    const double t = 100.0 * t1;
    switch (c.type) {
        case kKestra:
            return std::floor(100.0 * (t * 16.0 * 750.0 / 6e6)) * 0.01;
        case kBrasko:
            return std::floor(t * 0.02288818359375);
        case kKestrina:
            return std::floor(100.0 * (t * 4.0 * 750.0 / 1e7)) * 0.01;
        default:
            break;
    }
    const double x = t * 750.0 / (c.frequency / 16.0);
    return c.variantB ? RoundHalfAwayFromZero(x, 1) : std::floor(x);
}

double Blanking(const CConfig& c, std::uint16_t t1, std::uint16_t t2) {
    const double t = 100.0 * t2;
    const double pulse = PulseLength(c, t1);
    if (c.type == kKestra) return std::floor(100.0 * (t * 0.02288818359375 - pulse)) * 0.01;
    if (c.type == kKestrina) return std::floor(100.0 * (t * 0.00075 - pulse)) * 0.01;
    if (c.variantB) {
        double x = 216.0 * t2 * 100.0 * 3.125e-5;
        if (c.frequency > 1.01e6) x *= 2.0;
        return RoundHalfAwayFromZero(x - pulse, 1);
    }
    return std::floor(t * 0.02288818359375 - pulse);
}

int DefaultNoiseLevel(int type, int kHz) {
    switch (type) {
        case kKestra:
        case kBrasko:
        case kKestrina:
            return 45;
        case kOrlenProfiler:
            if (kHz == 400 || kHz == 600) return 33;
            return kHz == 1000 ? 25 : 18;
        case kWendal:
            return kHz == 600 ? 33 : 20;
        case kMirel:
            return kHz == 1000 ? 25 : 18;
        default:
            return 25;
    }
}

double BeamAngle(std::string_view headSerial) {
    for (const char* s : kTwentyDegreeHeads) {
        if (headSerial == s) return 20.0;
    }
    return 25.0;
}

CConfig InitialConfig(CKxConf& conf, int beams, int cells) {
    CConfig c;
    c.type = conf.instrumentType;
    c.variantA = conf.HardwareVariant() == kVariantAWord;
    c.variantB = conf.HardwareVariant() == kVariantBWord;
    c.frequencyKHz = conf.HeadFrequencyKHz();
    c.frequency = c.frequencyKHz * 1000.0;
    c.beams = beams;
    c.cells = cells;
    for (int i = 0; i < 9; ++i) c.matrix[static_cast<std::size_t>(i)] = conf.HeadMatrix(i);
    c.beamAngle = BeamAngle(conf.HeadSerial());
    c.defaultNoiseLevel = DefaultNoiseLevel(c.type, c.frequencyKHz);
    c.referenceNumber = conf.ReferenceNumber();
    return c;
}

CConfig ComputeConfig(CKxConf& conf) {
    const int userBeams = conf.UserWord(kUserBeams);
    const int userCells = conf.UserWord(kUserCells);
    CConfig c = InitialConfig(conf, userBeams, userCells);
    const bool profiler = c.type == kOrlenProfiler || c.type == kWendal;
    if (profiler) {
        c.cells = std::min(userCells, 128);
    } else {
        c.beams = std::min<int>(conf.HeadBeams(), userBeams);
    }
    c.measurementInterval = conf.UserWord(kUserMeasurementInterval);
    c.averagingInterval = conf.UserWord(kUserAveragingInterval);
    c.coordinateSystem = conf.UserWord(kUserCoordinateSystem);
    c.cellSize = CellSize(c, conf.UserWord(kUserCellSize));
    c.blanking = Blanking(c, conf.UserWord(kUserTransmitPulse), conf.UserWord(kUserBlanking));
    c.salinity = conf.UserWord(kUserSalinity) * 0.1;
    return c;
}

std::uint8_t MeasurementInstrumentType(int type, double f) {
    switch (type) {
        case kOrlen:
            return 11;
        case kOrlenProfiler:
            if (f < 410000.0) return 5;
            if (f < 610000.0) return 6;
            if (f < 1010000.0) return 7;
            return 8;
        case kWendal:
            return f < 610000.0 ? 9 : 10;
        default:
            return 12;
    }
}

DefaultCellNumbers DefaultCells(const CConfig& c) {
    DefaultCellNumbers cells;
    if (c.type == kOrlen) return cells;
    auto cellAt = [&](double metres) {
        const double along = RoundHalfAwayFromZero(metres / Cos25(), 2);
        return RoundToInt((along - 0.01 * c.blanking) / c.cellSize);
    };
    return LimitDefaultCells({cellAt(5.0), cellAt(15.0), cellAt(45.0)}, c.cells);
}

DefaultCellNumbers LimitDefaultCells(DefaultCellNumbers cells, int n) {
    auto atLeastOne = [](int v) { return v < 1 ? 0 : v; };
    cells.bottom = atLeastOne(std::min(cells.bottom, n));
    if (cells.center >= cells.bottom) cells.center = atLeastOne(cells.bottom / 2 + 1);
    if (cells.surface >= cells.center) cells.surface = atLeastOne(cells.center / 2 + 1);
    return cells;
}

double CellDistance(const CConfig& c, int cell) {
    return RoundHalfAwayFromZero(Cos25() * (0.01 * c.blanking + cell * c.cellSize), 1);
}

}  // namespace tarsen
