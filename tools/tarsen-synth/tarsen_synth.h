#pragma once
// Synthesizes Tarsen instrument files: the three configuration records of
// every instrument type, data records of ids 1, 32, 33, 36 and 42 carrying
// known earth currents in earth, instrument or beam coordinates, and the
// damage real files show (stray bytes, broken checksums, wrong size words,
// cut records, missing profiles, time glitches, impossible dates).
//
// Written on its own from the file layout, sharing no code with the
// converter, so a test compares two independent readings of the layout.

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tarsen_synth {

struct Civil {
    int year = 2024;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds between civil times, and a civil time moved by seconds.
std::int64_t SecondsOf(const Civil& c);
Civil CivilOf(std::int64_t seconds);
Civil AddSeconds(const Civil& c, std::int64_t seconds);

std::uint8_t Bcd(int value);

struct Instrument {
    std::string hardwareSerial;  // first three characters select the type
    std::string headSerial;      // eight characters; from the fifth on, the reference number
    std::uint16_t frequencyKHz = 1000;
    std::uint16_t headBeams = 3;
    std::array<std::int16_t, 9> matrix{};  // beam to instrument, × 4096
    std::uint16_t variantWord = 0;
};

struct UserSettings {
    std::uint16_t transmitPulse = 16;
    std::uint16_t blanking = 44;
    std::uint16_t averaging = 60;
    std::uint16_t beams = 3;
    std::uint16_t coordinateSystem = 0;  // 0 earth, 1 instrument, 2 beam
    std::uint16_t cells = 20;
    std::uint16_t cellSizeWord = 0;
    std::uint16_t interval = 600;
    std::uint16_t salinityTenths = 350;
};

// A typical instrument of each type code 0..6 (the converter's numbering),
// with the data record id it writes.
struct Setup {
    int type = 0;
    Instrument instrument;
    UserSettings user;
    std::uint8_t dataId = 33;
};
Setup SetupFor(int type);

struct Attitude {
    double heading = 0.0;  // degrees
    double pitch = 0.0;
    double roll = 0.0;
    bool down = false;
};

struct Current {
    double speed = 0.0;      // cm/s
    double direction = 0.0;  // degrees clockwise from north
};

// The contents of one data record.
struct Profile {
    std::array<std::uint8_t, 6> bcd{};  // minute, second, day, hour, year, month as stored
    std::int16_t errorWord = 0;
    std::uint16_t auxiliary = 0;
    std::uint16_t battery = 120;       // 0.1 V
    std::uint16_t soundSpeed = 15000;  // 0.1 m/s
    std::int16_t heading = 0;          // 0.1 degree
    std::int16_t pitch = 0;
    std::int16_t roll = 0;
    std::uint32_t pressure = 0;  // 0.001 dbar
    std::uint8_t status = 0;
    std::int16_t temperature = 0;        // 0.01 degree C
    std::vector<std::int16_t> velocity;  // mm/s, beam by beam
    std::vector<std::uint8_t> amplitude;
};

std::array<std::uint8_t, 6> BcdTime(const Civil& c);

// Velocities of the profile that give the earth currents per cell for the
// setup's coordinate system, attitude and head matrix; amplitudes that pass
// every quality check.
Profile MakeProfile(const Setup& setup, int beams, int cells, const Civil& time, const std::vector<Current>& currents,
                    const Attitude& attitude, double temperature, double pressureDbar);

// The checksum every record ends with.
std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t words);

class FileBuilder {
public:
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

    void HardwareConfiguration(const Instrument& instrument);
    void HeadConfiguration(const Instrument& instrument);
    void UserConfiguration(const UserSettings& user);
    void Configuration(const Setup& setup);
    void DataRecord(std::uint8_t id, int beams, int cells, const Profile& profile);
    // A record of any id around the body; size word and checksum made to fit.
    void Record(std::uint8_t id, const std::vector<std::uint8_t>& body);

    // Damage.
    void StrayBytes(const std::vector<std::uint8_t>& bytes);
    void CorruptLastRecord();                       // one body byte changed: checksum fails
    void ResizeLastRecord(std::uint16_t sizeWord);  // other size word, checksum still right
    void CutEnd(std::size_t bytes);

    bool Save(const std::string& path) const;

private:
    std::size_t lastRecord_ = 0;
    std::vector<std::uint8_t> bytes_;
};

// The known current of profile k in cell c (from 0) in the standard
// deployment, and its temperature.
Current KnownCurrent(int profile, int cell);
double KnownTemperature(int profile);

// A deployment: configuration, then `profiles` data records every
// `interval` seconds from `start`, each with the known currents.
struct Deployment {
    Setup setup;
    Civil start{2024, 3, 14, 12, 0, 0};
    int profiles = 10;
    Attitude attitude;
    double pressureDbar = 200.0;
    // Called for every profile before it is written; may change the time
    // (glitches), the record, or return false to leave the profile out.
    std::function<bool(int profile, Civil& time, Profile& record)> edit;
};

std::vector<std::uint8_t> BuildDeployment(const Deployment& d);
// Streams the deployment to a file, repeating profiles until the file holds
// at least minimumBytes (0 = exactly d.profiles); returns the profiles written.
long long WriteDeployment(const Deployment& d, const std::string& path, long long minimumBytes = 0);

}  // namespace tarsen_synth
