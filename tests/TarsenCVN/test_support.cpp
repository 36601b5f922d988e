#include <gtest/gtest.h>

#include "test_support.h"

#include <atomic>
#include <cmath>
#include <fstream>
#include <numbers>

namespace tarsen_test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "tarsen-test-";
    if (info) name += std::string(info->test_suite_name()) + "-" + info->name();
    name += "-" + std::to_string(counter++);
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    folder_ = fs::temp_directory_path() / name;
    fs::remove_all(folder_);
    fs::create_directories(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

WrittenSet ReadWrittenSet(const std::string& measurementFile, const std::string& referenceFile) {
    WrittenSet set;
    std::ifstream cvn(measurementFile, std::ios::binary);
    std::ifstream rf6(referenceFile, std::ios::binary);
    if (!cvn || !rf6) return set;
    set.found = true;
    set.measurementBytes = fs::file_size(measurementFile);
    set.referenceBytes = fs::file_size(referenceFile);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(cvn)), std::istreambuf_iterator<char>());
    if (bytes.size() >= corvan::kHeaderSize) set.header = corvan::DecodeHeader(bytes.data());
    for (std::size_t at = corvan::kHeaderSize; at + corvan::kRecordSize <= bytes.size(); at += corvan::kRecordSize) {
        set.records.push_back(corvan::DecodeRecord(bytes.data() + at));
    }
    std::vector<std::uint8_t> ref((std::istreambuf_iterator<char>(rf6)), std::istreambuf_iterator<char>());
    for (std::size_t at = 0; at + corvan::kSeriesHeaderSize <= ref.size(); at += corvan::kSeriesHeaderSize) {
        set.series.push_back(corvan::DecodeSeriesHeader(ref.data() + at));
    }
    return set;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string SaveDeployment(const ScratchFolder& folder, const std::string& name,
                           const tarsen_synth::Deployment& deployment) {
    const std::string path = folder.Path(name);
    WriteBytes(path, tarsen_synth::BuildDeployment(deployment));
    return path;
}

::testing::AssertionResult HoldsCurrent(const corvan::MeasurementRecord& r, const tarsen_synth::Current& expected) {
    // Velocities are whole millimetres per second in up to three rotated
    // components.
    constexpr double kSpeedTolerance = 0.3;  // cm/s
    const double directionDegrees = r.direction * 180.0 / std::numbers::pi;
    double dd = std::fabs(directionDegrees - expected.direction);
    if (dd > 180.0) dd = 360.0 - dd;
    const double directionTolerance = std::atan(kSpeedTolerance / expected.speed) * 180.0 / std::numbers::pi;
    if (std::fabs(r.speed - expected.speed) <= kSpeedTolerance && dd <= directionTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "speed " << r.speed << " cm/s, direction " << directionDegrees
                                         << " deg; expected " << expected.speed << " cm/s, " << expected.direction
                                         << " deg";
}

bool IsMissing(const corvan::MeasurementRecord& r) {
    return r.speed == -9999.0f && r.direction == -9999.0f && r.temperature == -9999.0f && r.optional == 0.0f;
}

}  // namespace tarsen_test
