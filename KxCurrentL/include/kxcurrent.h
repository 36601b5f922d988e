#pragma once
// Public interface of the current-quality library: the records a caller fills
// and receives, and the two exported entries. The records are the wire format
// between the converter and this library, so they are packed, little-endian
// and must never change layout; the static_asserts below hold them to it.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#if defined(_WIN32)
#define KX_CALL __stdcall
#if defined(KXCURRENTL_BUILDING)
#define KX_API __declspec(dllexport)
#else
#define KX_API __declspec(dllimport)
#endif
#else
#define KX_CALL
#define KX_API __attribute__((visibility("default")))
#endif

inline constexpr int kMaxCells = 128;
inline constexpr int kMaxBeams = 4;

// Coordinate systems of the velocities in a CurrentSample.
inline constexpr std::int32_t kCoordinatesEarth = 0;
inline constexpr std::int32_t kCoordinatesInstrument = 1;
inline constexpr std::int32_t kCoordinatesBeam = 2;

// Boundary methods of CurrentQualityParams::boundaryMethod; any other value
// means no boundary detection.
inline constexpr std::int32_t kBoundaryByPressure = 0;
inline constexpr std::int32_t kBoundaryByAmplitude = 1;

// Flag bits of CurrentQualityFlags.
inline constexpr std::uint32_t kFlagBeyondSurface = 1;
inline constexpr std::uint32_t kFlagBeyondAcousticBoundary = 2;
inline constexpr std::uint32_t kFlagLowSnr = 4;
inline constexpr std::uint32_t kFlagSnrSpike = 8;
inline constexpr std::uint32_t kFlagVelocityOutlier = 16;
inline constexpr std::uint32_t kFlagOutsideProfile = 32;

// CurrentQualityResult::status values.
inline constexpr std::int32_t kStatusFlagged = 1;
inline constexpr std::int32_t kStatusValid = 3;

// Every result entry that could not be computed or belongs to a flagged cell.
inline constexpr float kInvalidResult = -99999.0f;

#pragma pack(push, 1)

struct CurrentDataInfo {
    std::int32_t cells;  // at most kMaxCells
    std::int32_t beams;  // at most kMaxBeams; earth conversion uses beams 1-3
    float frequency;     // acoustic frequency, Hz
    std::int32_t instrumentType;
    std::int32_t coordinateSystem;  // kCoordinatesEarth, kCoordinatesInstrument or kCoordinatesBeam
    std::int16_t beamMatrix[9];     // beam to instrument, row by row, scaled by 4096
    float beamAngle;                // degrees
    float blanking;                 // metres
    float cellSize;                 // metres
};

struct CurrentQualityParams {
    float snrThreshold;           // dB
    std::int32_t boundaryMethod;  // kBoundaryByPressure, kBoundaryByAmplitude, other = none
    float pressureFactor;
    float secondFactor;    // not read
    float spikeThreshold;  // dB
    float outlierFactor;
    float reserved1;              // not read
    std::uint8_t cellMapping;     // 1 = on
    std::uint8_t threeBeam;       // 1 = on
    std::int32_t threeBeamMask;   // bits 0-2: the two good beams
    std::uint8_t reserved2;       // not read
    std::uint8_t removeBoundary;  // 1 = on
    std::uint8_t removeLowSnr;    // 1 = on
    std::uint8_t removeSpikes;    // 1 = on
    std::uint8_t removeOutliers;  // 1 = on
};

struct CurrentSample {
    std::int32_t errorWord;                        // carried, not read
    float auxiliary;                               // carried, not read
    float battery;                                 // V, carried, not read
    float soundSpeed;                              // m/s, carried, not read
    float heading;                                 // degrees
    float pitch;                                   // degrees
    float roll;                                    // degrees
    float temperature;                             // degrees C, carried, not read
    std::uint8_t noise[kMaxBeams];                 // amplitude counts; lowered in place by the evaluation
    std::uint8_t orientation;                      // 1 = the instrument looks down
    std::int16_t velocity[kMaxBeams][kMaxCells];   // mm/s
    std::uint8_t amplitude[kMaxBeams][kMaxCells];  // counts
    float pressure;                                // decibar
};

struct CurrentQualityFlags {
    std::uint32_t beamCell[kMaxBeams][kMaxCells];
    std::uint32_t cell[kMaxCells];
    std::uint32_t unused[384];  // cleared, otherwise unused
};

struct CurrentQualityResult {
    float velocity[kMaxBeams][kMaxCells];  // mm/s as given, or the components of cell mapping / three-beam option
    float snr[kMaxBeams][kMaxCells];       // dB
    float unused1[512];
    float speed[kMaxCells];      // m/s
    float direction[kMaxCells];  // degrees clockwise from north, [0, 360)
    float range[kMaxCells];      // metres from the head
    float unused2[32];
    std::int32_t status[kMaxCells];  // kStatusValid or kStatusFlagged
};

#pragma pack(pop)

static_assert(sizeof(CurrentDataInfo) == 50);
static_assert(offsetof(CurrentDataInfo, beams) == 4);
static_assert(offsetof(CurrentDataInfo, frequency) == 8);
static_assert(offsetof(CurrentDataInfo, instrumentType) == 12);
static_assert(offsetof(CurrentDataInfo, coordinateSystem) == 16);
static_assert(offsetof(CurrentDataInfo, beamMatrix) == 20);
static_assert(offsetof(CurrentDataInfo, beamAngle) == 38);
static_assert(offsetof(CurrentDataInfo, blanking) == 42);
static_assert(offsetof(CurrentDataInfo, cellSize) == 46);

static_assert(sizeof(CurrentQualityParams) == 39);
static_assert(offsetof(CurrentQualityParams, boundaryMethod) == 4);
static_assert(offsetof(CurrentQualityParams, pressureFactor) == 8);
static_assert(offsetof(CurrentQualityParams, secondFactor) == 12);
static_assert(offsetof(CurrentQualityParams, spikeThreshold) == 16);
static_assert(offsetof(CurrentQualityParams, outlierFactor) == 20);
static_assert(offsetof(CurrentQualityParams, reserved1) == 24);
static_assert(offsetof(CurrentQualityParams, cellMapping) == 28);
static_assert(offsetof(CurrentQualityParams, threeBeam) == 29);
static_assert(offsetof(CurrentQualityParams, threeBeamMask) == 30);
static_assert(offsetof(CurrentQualityParams, reserved2) == 34);
static_assert(offsetof(CurrentQualityParams, removeBoundary) == 35);
static_assert(offsetof(CurrentQualityParams, removeLowSnr) == 36);
static_assert(offsetof(CurrentQualityParams, removeSpikes) == 37);
static_assert(offsetof(CurrentQualityParams, removeOutliers) == 38);

static_assert(sizeof(CurrentSample) == 1577);
static_assert(offsetof(CurrentSample, auxiliary) == 4);
static_assert(offsetof(CurrentSample, battery) == 8);
static_assert(offsetof(CurrentSample, soundSpeed) == 12);
static_assert(offsetof(CurrentSample, heading) == 16);
static_assert(offsetof(CurrentSample, pitch) == 20);
static_assert(offsetof(CurrentSample, roll) == 24);
static_assert(offsetof(CurrentSample, temperature) == 28);
static_assert(offsetof(CurrentSample, noise) == 32);
static_assert(offsetof(CurrentSample, orientation) == 36);
static_assert(offsetof(CurrentSample, velocity) == 37);
static_assert(offsetof(CurrentSample, amplitude) == 1061);
static_assert(offsetof(CurrentSample, pressure) == 1573);

static_assert(sizeof(CurrentQualityFlags) == 1024 * 4);
static_assert(offsetof(CurrentQualityFlags, cell) == 512 * 4);
static_assert(offsetof(CurrentQualityFlags, unused) == 640 * 4);

static_assert(sizeof(CurrentQualityResult) == 2080 * 4);
static_assert(offsetof(CurrentQualityResult, snr) == 512 * 4);
static_assert(offsetof(CurrentQualityResult, speed) == 1536 * 4);
static_assert(offsetof(CurrentQualityResult, direction) == 1664 * 4);
static_assert(offsetof(CurrentQualityResult, range) == 1792 * 4);
static_assert(offsetof(CurrentQualityResult, status) == 1952 * 4);

static_assert(std::is_trivially_copyable_v<CurrentDataInfo>);
static_assert(std::is_trivially_copyable_v<CurrentQualityParams>);
static_assert(std::is_trivially_copyable_v<CurrentSample>);
static_assert(std::is_trivially_copyable_v<CurrentQualityFlags>);
static_assert(std::is_trivially_copyable_v<CurrentQualityResult>);

extern "C" {

// Stores the instrument geometry for every following evaluation in the
// process. Cell and beam counts beyond kMaxCells / kMaxBeams are clamped.
KX_API void KX_CALL KXSetCurrentDataInfo(const CurrentDataInfo* info);

// Evaluates one profile against the stored geometry: clears and fills the
// flags, fills the result and lowers the sample's noise levels in place.
KX_API void KX_CALL KXCurrentQuality(const CurrentQualityParams* params, CurrentSample* sample,
                                     CurrentQualityFlags* flags, CurrentQualityResult* result);
}
