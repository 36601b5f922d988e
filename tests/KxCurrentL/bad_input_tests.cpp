// Geometry and samples the library must survive: counts beyond the records,
// values that are not numbers, missing records.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "kx_test_records.h"

namespace {

using kxtest::MakeRecords;
using kxtest::Records;

constexpr std::size_t kGuard = 256;
constexpr unsigned char kGuardByte = 0xC3;

// A record placed between two guard zones, on an odd address: the records
// are packed, and the library must not assume any alignment.
template <typename T>
class Guarded {
public:
    explicit Guarded(const T& value) : bytes_(sizeof(T) + 2 * kGuard + 1, kGuardByte) {
        std::memcpy(bytes_.data() + kStart, &value, sizeof(T));
    }
    T* get() { return std::launder(reinterpret_cast<T*>(bytes_.data() + kStart)); }
    bool GuardsIntact() const {
        for (std::size_t i = 0; i < kGuard; ++i)
            if (bytes_[kStart - 1 - i] != kGuardByte || bytes_[kStart + sizeof(T) + i] != kGuardByte) return false;
        return true;
    }

private:
    static constexpr std::size_t kStart = kGuard + 1;
    std::vector<unsigned char> bytes_;
};

TEST(KxBadInput, CountsBeyondTheRecordsAreClamped) {
    Records r = MakeRecords(128, 4, kCoordinatesBeam);
    kxtest::SetJanusMatrix(r.info, 25.0);
    r.info.cells = 1000;
    r.info.beams = 9;
    r.params.removeBoundary = r.params.removeLowSnr = r.params.removeSpikes = r.params.removeOutliers = 1;
    r.params.boundaryMethod = kBoundaryByAmplitude;
    r.params.cellMapping = r.params.threeBeam = 1;
    r.params.threeBeamMask = 3;
    r.sample.pitch = 3.0f;
    for (int c = 0; c < 128; ++c) r.sample.amplitude[2][c] = static_cast<std::uint8_t>(200 - c);

    Guarded<CurrentQualityParams> params(r.params);
    Guarded<CurrentSample> sample(r.sample);
    Guarded<CurrentQualityFlags> flags(r.flags);
    Guarded<CurrentQualityResult> result(r.result);
    KXSetCurrentDataInfo(&r.info);
    KXCurrentQuality(params.get(), sample.get(), flags.get(), result.get());

    EXPECT_TRUE(params.GuardsIntact());
    EXPECT_TRUE(sample.GuardsIntact());
    EXPECT_TRUE(flags.GuardsIntact());
    EXPECT_TRUE(result.GuardsIntact());
    const std::int32_t lastStatus = result.get()->status[127];
    EXPECT_TRUE(lastStatus == kStatusValid || lastStatus == kStatusFlagged);
    const float lastRange = result.get()->range[127];
    EXPECT_FLOAT_EQ(lastRange, 128.0f);
}

TEST(KxBadInput, NegativeCountsWriteNothing) {
    Records r = MakeRecords(-5, -1);
    r.params.removeLowSnr = 1;
    r.params.cellMapping = 1;
    std::memset(&r.result, 0x5A, sizeof r.result);
    std::memset(&r.flags, 0xFF, sizeof r.flags);
    const CurrentSample before = r.sample;
    r.Run();
    for (std::size_t i = 0; i < sizeof r.result; ++i)
        ASSERT_EQ(reinterpret_cast<const unsigned char*>(&r.result)[i], 0x5A) << i;
    for (int c = 0; c < kMaxCells; ++c) EXPECT_EQ(r.flags.cell[c], 0u);
    EXPECT_EQ(std::memcmp(&before, &r.sample, sizeof before), 0);
}

TEST(KxBadInput, AttitudeThatIsNotANumberLeavesCellsWithoutCurrent) {
    for (std::int32_t coordinates : {kCoordinatesInstrument, kCoordinatesBeam}) {
        Records r = MakeRecords(5, 3, coordinates);
        r.sample.heading = std::nanf("");
        r.sample.roll = 4.0f;
        r.params.cellMapping = r.params.threeBeam = 1;
        r.params.threeBeamMask = 5;
        for (int c = 0; c < 5; ++c) r.SetVelocity(c, {100, 50, 0});
        r.Run();
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(r.result.speed[c], kInvalidResult);
            EXPECT_EQ(r.result.direction[c], kInvalidResult);
            for (int k = 0; k < 3; ++k) EXPECT_FALSE(std::isnan(r.result.velocity[k][c]));
        }
    }
}

TEST(KxBadInput, CellGeometryThatIsNotANumber) {
    Records r = MakeRecords(6, 3);
    kxtest::SetJanusMatrix(r.info, 25.0);
    r.info.cellSize = std::nanf("");
    r.params.removeBoundary = 1;
    r.params.cellMapping = 1;
    r.sample.pressure = 50.0f;
    r.SetVelocity(2, {40, 30, 0});
    r.Run();
    EXPECT_TRUE(std::isnan(r.result.range[2]));
    for (int i = 1; i < 6; ++i) EXPECT_EQ(r.flags.cell[i], kFlagBeyondSurface | kFlagOutsideProfile) << i;
}

TEST(KxBadInput, MissingRecordsAreIgnored) {
    Records r = MakeRecords(4, 3);
    r.Run();
    KXSetCurrentDataInfo(nullptr);  // keeps the geometry in force
    r.result.status[3] = 0;
    KXCurrentQuality(&r.params, &r.sample, &r.flags, &r.result);
    EXPECT_EQ(r.result.status[3], kStatusValid);

    r.result.status[3] = 0;
    KXCurrentQuality(nullptr, &r.sample, &r.flags, &r.result);
    KXCurrentQuality(&r.params, nullptr, &r.flags, &r.result);
    KXCurrentQuality(&r.params, &r.sample, nullptr, &r.result);
    KXCurrentQuality(&r.params, &r.sample, &r.flags, nullptr);
    EXPECT_EQ(r.result.status[3], 0);
}

}  // namespace
