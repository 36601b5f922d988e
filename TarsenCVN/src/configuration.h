#pragma once
// The three configuration records of a Tarsen file as they were read
// (`CKxConf`), and what the conversion derives from them (`CConfig`).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarsen {

// `TarsenModel` codes.
enum TarsenType : int {
    kOrlen = 0,  // single-point current meter
    kKestra = 1,
    kOrlenProfiler = 2,
    kWendal = 3,
    kMirel = 4,
    kBrasko = 5,
    kKestrina = 6,
};

// Words of the user configuration the conversion reads (byte offsets).
inline constexpr std::size_t kUserTransmitPulse = 4;
inline constexpr std::size_t kUserBlanking = 6;
inline constexpr std::size_t kUserAveragingInterval = 16;
inline constexpr std::size_t kUserBeams = 18;
inline constexpr std::size_t kUserCoordinateSystem = 32;
inline constexpr std::size_t kUserCells = 34;
inline constexpr std::size_t kUserCellSize = 36;
inline constexpr std::size_t kUserMeasurementInterval = 38;
inline constexpr std::size_t kUserSalinity = 74;

// Fields of the head and hardware configurations.
inline constexpr std::size_t kHeadFrequency = 6;
inline constexpr std::size_t kHeadSerial = 10;
inline constexpr std::size_t kHeadSerialLength = 8;
inline constexpr std::size_t kHeadReferenceDigits = 14;
inline constexpr std::size_t kHeadMatrix = 30;
inline constexpr std::size_t kHeadBeams = 220;
inline constexpr std::size_t kHardwareSerial = 4;
inline constexpr std::size_t kHardwareVariant = 30;

inline constexpr std::uint16_t kVariantAWord = 0x4321;
inline constexpr std::uint16_t kVariantBWord = 0x6767;

class CKxConf {
public:
    std::int16_t instrumentType = kOrlen;
    bool checksumOn = true;
    std::array<std::uint8_t, 48> hardware{};
    std::array<std::uint8_t, 224> head{};
    std::array<std::uint8_t, 512> user{};
    bool hardwareFound = false;
    bool headFound = false;
    bool userFound = false;

    std::uint16_t UserWord(std::size_t offset) const { return Word(user.data(), offset); }
    void SetUserWord(std::size_t offset, std::uint16_t value);
    std::uint16_t HardwareVariant() const { return Word(hardware.data(), kHardwareVariant); }
    std::uint16_t HeadBeams() const { return Word(head.data(), kHeadBeams); }
    std::int16_t HeadMatrix(int index) const;

    // The head frequency in kHz. Heads that report 200 kHz run at 190 kHz;
    // the stored record is corrected the first time it is read.
    std::uint16_t HeadFrequencyKHz();

    std::string HardwareSerialPrefix() const;  // three characters
    std::string HeadSerial() const;            // eight characters
    // The decimal number from the head serial's fifth character on.
    std::int32_t ReferenceNumber() const;

private:
    static std::uint16_t Word(const std::uint8_t* bytes, std::size_t offset) {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
};

// The instrument type from the first three characters of the hardware
// serial and the first three of the head serial.
int TarsenModel(std::string_view hardwareSerial, std::string_view headSerial);

// Decides the type into `conf.instrumentType`; a Mirel head also fixes the
// cell count word of the stored user configuration.
void DecideInstrumentType(CKxConf& conf);

struct CConfig {
    int type = kOrlen;
    bool variantA = false;
    bool variantB = false;
    double frequency = 0.0;  // Hz
    int frequencyKHz = 0;
    int measurementInterval = 0;  // s
    int averagingInterval = 0;    // s
    int coordinateSystem = 0;
    int cells = 1;
    int beams = 3;
    double cellSize = 0.0;  // m
    double blanking = 0.0;  // cm
    double salinity = 0.0;
    std::array<std::int16_t, 9> matrix{};
    double beamAngle = 25.0;     // degrees
    int defaultNoiseLevel = 25;  // amplitude counts
    std::int32_t referenceNumber = 0;
};

double CellSize(const CConfig& config, std::uint16_t word);
double PulseLength(const CConfig& config, std::uint16_t t1);
double Blanking(const CConfig& config, std::uint16_t t1, std::uint16_t t2);

int DefaultNoiseLevel(int type, int frequencyKHz);
double BeamAngle(std::string_view headSerial);

// What a file without a user configuration is converted with: the type and
// the head's figures where the head was found, the given beams and cells.
CConfig InitialConfig(CKxConf& conf, int beams, int cells);
// The full derivation once the user configuration was found.
CConfig ComputeConfig(CKxConf& conf);

// The instrument type of the measurement file written for a Tarsen type.
std::uint8_t MeasurementInstrumentType(int type, double frequencyHz);

// Rounds half away from zero to the given number of decimals.
double RoundHalfAwayFromZero(double value, int decimals);
// The same to a whole number, 0 for a value that is not finite or beyond
// the range of int.
int RoundToInt(double value);

struct DefaultCellNumbers {
    int surface = 1;
    int center = 1;
    int bottom = 1;
};

// The cells at 5, 15 and 45 m from the head, kept in order below the last
// cell of the profile.
DefaultCellNumbers DefaultCells(const CConfig& config);
// Keeps cells found by distance inside a profile of n cells: Bottom at most
// n, then Center below Bottom and Surface below Center by halving.
DefaultCellNumbers LimitDefaultCells(DefaultCellNumbers cells, int n);

// The distance of a cell from the head along the vertical, m, one decimal.
double CellDistance(const CConfig& config, int cell);

}  // namespace tarsen
