#include "tarsen_synth.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace tarsen_synth {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr std::uint16_t kSeed = 0xB58C;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = static_cast<int>(doe - (365 * yoe + yoe / 4 - yoe / 100));
    const int mp = (5 * doy + 2) / 153;
    Civil c;
    c.day = doy - (153 * mp + 2) / 5 + 1;
    c.month = mp < 10 ? mp + 3 : mp - 9;
    c.year = static_cast<int>(yoe) + static_cast<int>(era) * 400 + (c.month <= 2);
    return c;
}

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

Matrix Inverse(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return r;
}

std::array<double, 3> Apply(const Matrix& m, const std::array<double, 3>& v) {
    std::array<double, 3> r{};
    for (int i = 0; i < 3; ++i) r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return r;
}

// Instrument to earth for an attitude, as the instrument maker defines it.
Matrix InstrumentToEarth(const Attitude& a) {
    const double h = (a.heading - 90.0) * kPi / 180.0;
    double ch = std::cos(h), sh = std::sin(h);
    if (a.heading == 0.0) {
        ch = 0.0;
        sh = -1.0;
    }
    const double p = a.pitch * kPi / 180.0;
    const double r = a.roll * kPi / 180.0;
    const Matrix H{{{ch, sh, 0.0}, {-sh, ch, 0.0}, {0.0, 0.0, 1.0}}};
    const Matrix P{{{std::cos(p), -std::sin(p) * std::sin(r), -std::cos(r) * std::sin(p)},
                    {0.0, std::cos(r), -std::sin(r)},
                    {std::sin(p), std::sin(r) * std::cos(p), std::cos(p) * std::cos(r)}}};
    const double flip = a.down ? -1.0 : 1.0;
    const Matrix D{{{1.0, 0.0, 0.0}, {0.0, flip, 0.0}, {0.0, 0.0, flip}}};
    return Multiply(Multiply(H, P), D);
}

std::int16_t Round16(double v) { return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L)); }

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutText(std::vector<std::uint8_t>& b, std::size_t at, const std::string& s) {
    for (std::size_t i = 0; i < s.size() && at + i < b.size(); ++i) b[at + i] = static_cast<std::uint8_t>(s[i]);
}

// A whole record of the given total length with its frame filled in; the
// caller writes the fields and then seals it.
std::vector<std::uint8_t> Frame(std::uint8_t id, std::size_t length) {
    std::vector<std::uint8_t> r(length, 0);
    r[0] = 0xA5;
    r[1] = id;
    Put16(r, 2, static_cast<std::uint16_t>(length / 2));
    return r;
}

void Seal(std::vector<std::uint8_t>& r) {
    const std::size_t words = r.size() / 2;
    Put16(r, r.size() - 2, Checksum(r.data(), words - 1));
}

std::uint16_t CellSizeWordFor(int type, double metres, double frequencyHz) {
    if (type == 5) return static_cast<std::uint16_t>(std::lround(metres * 256.0 / 0.2220625));
    return static_cast<std::uint16_t>(std::lround(metres * 256.0 * (4.0 * frequencyHz / 255.0) / 750.0));
}

}  // namespace

std::int64_t SecondsOf(const Civil& c) {
    return DaysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

Civil CivilOf(std::int64_t s) {
    std::int64_t days = s / 86400;
    std::int64_t rest = s % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    Civil c = CivilFromDays(days);
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest / 60 % 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

Civil AddSeconds(const Civil& c, std::int64_t seconds) { return CivilOf(SecondsOf(c) + seconds); }

std::uint8_t Bcd(int v) { return static_cast<std::uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }

std::array<std::uint8_t, 6> BcdTime(const Civil& c) {
    return {Bcd(c.minute), Bcd(c.second), Bcd(c.day), Bcd(c.hour), Bcd(c.year % 100), Bcd(c.month)};
}

std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t words) {
    std::uint32_t sum = kSeed;
    for (std::size_t i = 0; i < words; ++i) sum += static_cast<std::uint32_t>(bytes[2 * i]) | (bytes[2 * i + 1] << 8u);
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

Setup SetupFor(int type) {
    Setup s;
    s.type = type;
    s.instrument.matrix = {4846, -2423, -2423, 0, 4196, -4196, 1500, 1500, 1500};
    s.user.coordinateSystem = 2;
    double cellSize = 1.0;
    switch (type) {
        case 0:
            s.instrument.hardwareSerial = "ORL 1001";
            s.instrument.headSerial = "ABC 0042";
            s.instrument.frequencyKHz = 2000;
            s.user.cells = 1;
            s.user.coordinateSystem = 1;
            s.dataId = 1;
            cellSize = 0.5;
            break;
        case 1:
            s.instrument.hardwareSerial = "KTA 1002";
            s.instrument.headSerial = "KAB 0043";
            s.instrument.frequencyKHz = 2000;
            s.dataId = 36;
            cellSize = 0.5;
            break;
        case 2:
            s.instrument.hardwareSerial = "LMR 2001";
            s.instrument.headSerial = "AXP 0044";
            s.instrument.frequencyKHz = 1000;
            s.user.cells = 40;
            s.dataId = 33;
            break;
        case 3:
            s.instrument.hardwareSerial = "NDX 3001";
            s.instrument.headSerial = "WPR 0045";
            s.instrument.frequencyKHz = 600;
            s.user.cells = 30;
            s.dataId = 32;
            cellSize = 2.0;
            break;
        case 4:
            s.instrument.hardwareSerial = "ORL 4001";
            s.instrument.headSerial = "SQX 0046";
            s.instrument.frequencyKHz = 1000;
            s.user.cells = 3;  // a Mirel always has 3 cells unless its head says 1
            s.dataId = 33;
            break;
        case 5:
            s.instrument.hardwareSerial = "BSQ 5001";
            s.instrument.headSerial = "CAB 0047";
            s.instrument.frequencyKHz = 200;
            s.user.cells = 24;
            s.dataId = 42;
            cellSize = 4.0;
            break;
        default:
            s.instrument.hardwareSerial = "KTB 6001";
            s.instrument.headSerial = "KTX 0048";
            s.instrument.frequencyKHz = 2000;
            s.dataId = 36;
            cellSize = 0.5;
            break;
    }
    const double f = (s.instrument.frequencyKHz == 200 ? 190 : s.instrument.frequencyKHz) * 1000.0;
    s.user.cellSizeWord = CellSizeWordFor(type, cellSize, f);
    return s;
}

Current KnownCurrent(int profile, int cell) {
    const int p = profile % 100;
    Current c;
    c.speed = 25.0 + 15.0 * std::sin(2.0 * kPi * p / 100.0) + 0.4 * cell;
    c.direction = std::fmod(p * 7.3 + cell * 4.0 + 10.0, 360.0);
    return c;
}

double KnownTemperature(int profile) { return 8.0 + (profile % 100) * 0.05; }

Profile MakeProfile(const Setup& setup, int beams, int cells, const Civil& time, const std::vector<Current>& currents,
                    const Attitude& attitude, double temperature, double pressureDbar) {
    Profile p;
    p.bcd = BcdTime(time);
    p.heading = Round16(attitude.heading * 10.0);
    p.pitch = Round16(attitude.pitch * 10.0);
    p.roll = Round16(attitude.roll * 10.0);
    p.status = attitude.down ? 1 : 0;
    p.temperature = Round16(temperature * 100.0);
    p.pressure = static_cast<std::uint32_t>(std::lround(pressureDbar * 1000.0));
    p.velocity.assign(static_cast<std::size_t>(beams * cells), 0);
    p.amplitude.assign(static_cast<std::size_t>(beams * cells), 0);

    // The attitude as the record stores it, so the converter undoes exactly
    // the rotation used here.
    const Attitude stored{p.heading / 10.0, p.pitch / 10.0, p.roll / 10.0, attitude.down};
    const Matrix toEarth = InstrumentToEarth(stored);
    Matrix beamToInstrument{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) beamToInstrument[i][j] = setup.instrument.matrix[i * 3 + j] / 4096.0;
    Matrix earthToInstrument{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) earthToInstrument[i][j] = toEarth[j][i];
    const Matrix instrumentToBeam = Inverse(beamToInstrument);

    for (int c = 0; c < cells; ++c) {
        const Current cur = c < static_cast<int>(currents.size()) ? currents[static_cast<std::size_t>(c)] : Current{};
        const double d = cur.direction * kPi / 180.0;
        std::array<double, 3> v{cur.speed * 10.0 * std::sin(d), cur.speed * 10.0 * std::cos(d), 0.0};
        if (setup.user.coordinateSystem >= 1) v = Apply(earthToInstrument, v);
        if (setup.user.coordinateSystem == 2) v = Apply(instrumentToBeam, v);
        for (int b = 0; b < beams; ++b) {
            const auto k = static_cast<std::size_t>(b * cells + c);
            p.velocity[k] = b < 3 ? Round16(v[static_cast<std::size_t>(b)]) : 0;
            p.amplitude[k] = static_cast<std::uint8_t>(std::max(70, 160 - c));
        }
    }
    return p;
}

void FileBuilder::Record(std::uint8_t id, const std::vector<std::uint8_t>& body) {
    std::size_t length = 4 + body.size() + 2;
    if (length % 2) ++length;
    std::vector<std::uint8_t> r = Frame(id, length);
    std::copy(body.begin(), body.end(), r.begin() + 4);
    Seal(r);
    lastRecord_ = bytes_.size();
    bytes_.insert(bytes_.end(), r.begin(), r.end());
}

void FileBuilder::HardwareConfiguration(const Instrument& in) {
    std::vector<std::uint8_t> r = Frame(5, 48);
    PutText(r, 4, in.hardwareSerial);
    Put16(r, 30, in.variantWord);
    Seal(r);
    lastRecord_ = bytes_.size();
    bytes_.insert(bytes_.end(), r.begin(), r.end());
}

void FileBuilder::HeadConfiguration(const Instrument& in) {
    std::vector<std::uint8_t> r = Frame(4, 224);
    Put16(r, 6, in.frequencyKHz);
    PutText(r, 10, in.headSerial);
    for (int i = 0; i < 9; ++i)
        Put16(r, 30 + 2 * static_cast<std::size_t>(i),
              static_cast<std::uint16_t>(in.matrix[static_cast<std::size_t>(i)]));
    Put16(r, 220, in.headBeams);
    Seal(r);
    lastRecord_ = bytes_.size();
    bytes_.insert(bytes_.end(), r.begin(), r.end());
}

void FileBuilder::UserConfiguration(const UserSettings& u) {
    std::vector<std::uint8_t> r = Frame(0, 512);
    Put16(r, 4, u.transmitPulse);
    Put16(r, 6, u.blanking);
    Put16(r, 16, u.averaging);
    Put16(r, 18, u.beams);
    Put16(r, 32, u.coordinateSystem);
    Put16(r, 34, u.cells);
    Put16(r, 36, u.cellSizeWord);
    Put16(r, 38, u.interval);
    Put16(r, 74, u.salinityTenths);
    Seal(r);
    lastRecord_ = bytes_.size();
    bytes_.insert(bytes_.end(), r.begin(), r.end());
}

void FileBuilder::Configuration(const Setup& s) {
    HardwareConfiguration(s.instrument);
    HeadConfiguration(s.instrument);
    UserConfiguration(s.user);
}

void FileBuilder::DataRecord(std::uint8_t id, int beams, int cells, const Profile& p) {
    const std::size_t n = static_cast<std::size_t>(beams) * static_cast<std::size_t>(id == 1 ? 1 : cells);
    std::size_t block = 30;
    if (id == 42) block = 54;
    if (id == 32 || id == 36) block = 118;
    std::size_t length = block + 3 * n + (id == 42 ? n : 0) + 2;
    if (length % 2) ++length;
    std::vector<std::uint8_t> r = Frame(id, length);
    for (std::size_t i = 0; i < 6; ++i) r[4 + i] = p.bcd[i];
    if (id == 42) {
        Put16(r, 12, static_cast<std::uint16_t>(p.errorWord));
        Put16(r, 30, p.auxiliary);
    } else {
        Put16(r, 10, static_cast<std::uint16_t>(p.errorWord));
        Put16(r, 12, p.auxiliary);
    }
    Put16(r, 14, p.battery);
    Put16(r, 16, p.soundSpeed);
    Put16(r, 18, static_cast<std::uint16_t>(p.heading));
    Put16(r, 20, static_cast<std::uint16_t>(p.pitch));
    Put16(r, 22, static_cast<std::uint16_t>(p.roll));
    r[24] = static_cast<std::uint8_t>(p.pressure >> 16);
    r[25] = p.status;
    Put16(r, 26, static_cast<std::uint16_t>(p.pressure & 0xFFFF));
    Put16(r, 28, static_cast<std::uint16_t>(p.temperature));
    for (std::size_t k = 0; k < n && k < p.velocity.size(); ++k) {
        Put16(r, block + 2 * k, static_cast<std::uint16_t>(p.velocity[k]));
        r[block + 2 * n + k] = p.amplitude[k];
    }
    for (std::size_t k = 0; id == 42 && k < n; ++k) r[block + 3 * n + k] = 0x5A;
    Seal(r);
    lastRecord_ = bytes_.size();
    bytes_.insert(bytes_.end(), r.begin(), r.end());
}

void FileBuilder::StrayBytes(const std::vector<std::uint8_t>& stray) {
    bytes_.insert(bytes_.end(), stray.begin(), stray.end());
}

void FileBuilder::CorruptLastRecord() { bytes_[lastRecord_ + 10] ^= 0x40; }

void FileBuilder::ResizeLastRecord(std::uint16_t sizeWord) {
    const std::size_t length = bytes_.size() - lastRecord_;
    std::uint8_t* r = bytes_.data() + lastRecord_;
    r[2] = static_cast<std::uint8_t>(sizeWord & 0xFF);
    r[3] = static_cast<std::uint8_t>(sizeWord >> 8);
    const std::uint16_t sum = Checksum(r, length / 2 - 1);
    r[length - 2] = static_cast<std::uint8_t>(sum & 0xFF);
    r[length - 1] = static_cast<std::uint8_t>(sum >> 8);
}

void FileBuilder::CutEnd(std::size_t n) { bytes_.resize(bytes_.size() - std::min(n, bytes_.size())); }

bool FileBuilder::Save(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes_.data(), 1, bytes_.size(), f) == bytes_.size();
    return std::fclose(f) == 0 && ok;
}

namespace {

int ProfileBeams(const Setup& s) { return s.user.beams; }
int ProfileCells(const Setup& s) { return s.dataId == 1 ? 1 : s.user.cells; }

Profile KnownProfile(const Deployment& d, int k, const Civil& time) {
    const int cells = ProfileCells(d.setup);
    std::vector<Current> currents;
    for (int c = 0; c < cells; ++c) currents.push_back(KnownCurrent(k, c));
    return MakeProfile(d.setup, ProfileBeams(d.setup), cells, time, currents, d.attitude, KnownTemperature(k),
                       d.pressureDbar);
}

}  // namespace

std::vector<std::uint8_t> BuildDeployment(const Deployment& d) {
    FileBuilder b;
    b.Configuration(d.setup);
    for (int k = 0; k < d.profiles; ++k) {
        Civil t = AddSeconds(d.start, static_cast<std::int64_t>(k) * d.setup.user.interval);
        Profile p = KnownProfile(d, k, t);
        if (d.edit) {
            const std::int64_t planned = SecondsOf(t);
            if (!d.edit(k, t, p)) continue;
            if (SecondsOf(t) != planned) p.bcd = BcdTime(t);
        }
        b.DataRecord(d.setup.dataId, ProfileBeams(d.setup), ProfileCells(d.setup), p);
    }
    return b.Bytes();
}

long long WriteDeployment(const Deployment& d, const std::string& path, long long minimumBytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return -1;
    // The known currents repeat every 100 profiles; so do the records,
    // apart from their time.
    std::vector<Profile> templates;
    for (int k = 0; k < 100; ++k) templates.push_back(KnownProfile(d, k, d.start));
    FileBuilder b;
    b.Configuration(d.setup);
    long long written = 0;
    long long total = 0;
    for (long long k = 0;; ++k) {
        if (minimumBytes > 0 ? total + static_cast<long long>(b.Size()) >= minimumBytes : k >= d.profiles) break;
        Profile& p = templates[static_cast<std::size_t>(k % 100)];
        p.bcd = BcdTime(AddSeconds(d.start, k * d.setup.user.interval));
        b.DataRecord(d.setup.dataId, ProfileBeams(d.setup), ProfileCells(d.setup), p);
        ++written;
        if (b.Size() >= (1u << 20)) {
            if (std::fwrite(b.Bytes().data(), 1, b.Size(), f.get()) != b.Size()) return -1;
            total += static_cast<long long>(b.Size());
            b.Bytes().clear();
        }
    }
    if (std::fwrite(b.Bytes().data(), 1, b.Size(), f.get()) != b.Size()) return -1;
    return written;
}

}  // namespace tarsen_synth
