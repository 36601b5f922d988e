// The record stream finds its way back after every kind of damage a file
// can carry, costing at most the damaged record.

#include <gtest/gtest.h>

#include "configuration.h"
#include "convert_cell.h"
#include "tarsen_file.h"
#include "test_support.h"

namespace tarsen {
namespace {

using tarsen_synth::Civil;
using tarsen_synth::Current;
using tarsen_synth::FileBuilder;
using tarsen_synth::KnownCurrent;
using tarsen_synth::Profile;
using tarsen_synth::Setup;
using tarsen_test::HoldsCurrent;
using tarsen_test::IsMissing;
using tarsen_test::RecordingUi;
using tarsen_test::ScratchFolder;

constexpr int kCell = 5;

// A file built profile by profile, so damage can go anywhere.
class DamagedFile {
public:
    explicit DamagedFile(bool configured = true, std::uint8_t id = 33) {
        setup_ = tarsen_synth::SetupFor(kOrlenProfiler);
        setup_.dataId = id;
        setup_.user.cells = 12;
        if (configured) {
            builder_.Configuration(setup_);
        } else {
            setup_.user.coordinateSystem = 0;
        }
    }

    void AddProfile(int k) {
        const Civil t = tarsen_synth::AddSeconds(start_, 600LL * k);
        std::vector<Current> currents;
        for (int c = 0; c < setup_.user.cells; ++c) currents.push_back(KnownCurrent(k, c));
        const Profile p = tarsen_synth::MakeProfile(setup_, 3, setup_.user.cells, t, currents, {}, 10.0, 200.0);
        builder_.DataRecord(setup_.dataId, 3, setup_.user.cells, p);
    }

    FileBuilder& Builder() { return builder_; }
    const Setup& SetupUsed() const { return setup_; }

    struct Result {
        bool converted = false;
        CellReport report;
        tarsen_test::WrittenSet set;
        RecordingUi ui;
    };

    Result Convert(int cell = kCell) {
        const std::string path = folder_.Path("damaged.prf");
        EXPECT_TRUE(builder_.Save(path));
        Result r;
        TarsenFile file;
        if (!file.ReadConfiguration(path, r.ui)) return r;
        ImportSettings settings;
        r.converted = ConvertCell(file, settings, r.ui, cell, &r.report);
        r.set = tarsen_test::ReadWrittenSet(r.report.names.measurement, r.report.names.reference);
        return r;
    }

private:
    ScratchFolder folder_;
    Setup setup_;
    Civil start_{2024, 3, 14, 12, 0, 0};
    FileBuilder builder_;
};

// Every profile 0..n-1 is there except the lost ones, which read missing.
void ExpectProfiles(const DamagedFile::Result& r, int n, std::initializer_list<int> lost, int cell = kCell) {
    ASSERT_TRUE(r.converted);
    EXPECT_TRUE(r.ui.glitchQuestions.empty());
    ASSERT_EQ(r.set.records.size(), static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const auto& rec = r.set.records[static_cast<std::size_t>(k)];
        if (std::find(lost.begin(), lost.end(), k) != lost.end()) {
            EXPECT_TRUE(IsMissing(rec)) << "profile " << k;
        } else {
            EXPECT_TRUE(HoldsCurrent(rec, KnownCurrent(k, cell - 1))) << "profile " << k;
        }
    }
}

// Bytes that look like the start of records: sync bytes with data ids and
// wild or plausible size words.
const std::vector<std::uint8_t> kLookalikes = {0x00, 0xA5, 0xA5, 0x21, 0x6A, 0x00, 0xA5, 0x01, 0xFF, 0xFF,
                                               0xA5, 0x24, 0x12, 0x34, 0x17, 0xA5, 0x07, 0x00, 0x10, 0xA5};

TEST(RecordStream, StrayBytesBeforeAndBetweenRecords) {
    for (bool configured : {true, false}) {
        SCOPED_TRACE(configured ? "configured" : "unconfigured");
        DamagedFile f(configured);
        f.Builder().StrayBytes(kLookalikes);
        for (int k = 0; k < 10; ++k) {
            f.AddProfile(k);
            f.Builder().StrayBytes(std::vector<std::uint8_t>(kLookalikes.begin(), kLookalikes.begin() + k + 1));
        }
        ExpectProfiles(f.Convert(configured ? kCell : 1), 10, {}, configured ? kCell : 1);
    }
}

TEST(RecordStream, ABrokenChecksumCostsOnlyThatRecord) {
    DamagedFile f;
    for (int k = 0; k < 10; ++k) {
        f.AddProfile(k);
        if (k == 4) f.Builder().CorruptLastRecord();
    }
    const auto r = f.Convert();
    ExpectProfiles(r, 10, {4});
    EXPECT_GE(r.report.checksumErrors, 1);
}

TEST(RecordStream, AWrongSizeWordCostsOnlyThatRecord) {
    for (bool configured : {true, false}) {
        SCOPED_TRACE(configured ? "configured" : "unconfigured");
        DamagedFile f(configured);
        for (int k = 0; k < 10; ++k) {
            f.AddProfile(k);
            // Intact checksum over the record's bytes, but a size word that
            // disagrees with the geometry.
            if (k == 2) f.Builder().ResizeLastRecord(3 * 3 * 12 / 2 + 16 + 1);
            if (k == 6) f.Builder().ResizeLastRecord(20);
        }
        const auto r = f.Convert(configured ? kCell : 1);
        if (configured) {
            ExpectProfiles(r, 10, {2, 6});
            continue;
        }
        // Without a configured interval a lost profile leaves no gap record.
        ASSERT_EQ(r.set.records.size(), 8u);
        int written = 0;
        for (int k : {0, 1, 3, 4, 5, 7, 8, 9}) {
            EXPECT_TRUE(HoldsCurrent(r.set.records[static_cast<std::size_t>(written++)], KnownCurrent(k, 0))) << k;
        }
    }
}

TEST(RecordStream, ARecordCutByTheEndOfTheFileIsLost) {
    DamagedFile f;
    for (int k = 0; k < 8; ++k) f.AddProfile(k);
    f.Builder().CutEnd(7);
    ExpectProfiles(f.Convert(), 7, {});
}

TEST(RecordStream, AStraySyncNearTheEndDoesNotSwallowTheLastRecords) {
    for (bool configured : {true, false}) {
        SCOPED_TRACE(configured ? "configured" : "unconfigured");
        DamagedFile f(configured);
        for (int k = 0; k < 4; ++k) f.AddProfile(k);
        // Ids 7, 65 and 66 take any length: this one claims 100 KB.
        f.Builder().StrayBytes({0xA5, 0x07, 0x00, 0xC8});
        for (int k = 4; k < 8; ++k) f.AddProfile(k);
        ExpectProfiles(f.Convert(configured ? kCell : 1), 8, {}, configured ? kCell : 1);
    }
}

TEST(RecordStream, OtherRecordsAreSkippedWhole) {
    DamagedFile f;
    const tarsen_synth::Setup& s = f.SetupUsed();
    f.AddProfile(0);
    f.Builder().Record(48, std::vector<std::uint8_t>(18, 0xA5));  // 24 bytes, full of sync bytes
    f.AddProfile(1);
    f.Builder().UserConfiguration(s.user);  // a configuration met again
    f.AddProfile(2);
    f.Builder().Record(3, std::vector<std::uint8_t>(100, 0x21));  // no plausible length: skipped bytewise
    f.AddProfile(3);
    f.Builder().Record(7, std::vector<std::uint8_t>(3 * 12 + 4, 0x33));
    f.AddProfile(4);
    ExpectProfiles(f.Convert(), 5, {});
}

TEST(RecordStream, EveryRecordIdSurvivesDamageTogether) {
    for (std::uint8_t id : {std::uint8_t{32}, std::uint8_t{33}, std::uint8_t{36}, std::uint8_t{42}}) {
        SCOPED_TRACE("id " + std::to_string(id));
        DamagedFile f(true, id);
        f.Builder().StrayBytes(kLookalikes);
        for (int k = 0; k < 12; ++k) {
            f.AddProfile(k);
            if (k == 3) f.Builder().CorruptLastRecord();
            if (k == 5) f.Builder().ResizeLastRecord(99);
            if (k == 7) f.Builder().StrayBytes(kLookalikes);
        }
        f.Builder().CutEnd(3);
        ExpectProfiles(f.Convert(), 11, {3, 5});
    }
}

TEST(RecordStream, SinglePointRecordsAfterDamage) {
    ScratchFolder folder;
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(kOrlen);
    d.profiles = 10;
    std::vector<std::uint8_t> bytes = tarsen_synth::BuildDeployment(d);
    // Stray bytes right after the configuration, a flipped bit in profile 6.
    const std::size_t configuration = 48 + 224 + 512;
    const std::size_t record = 3 * 3 + 32 + 1;
    bytes[configuration + 6 * record + 12] ^= 0x01;
    bytes.insert(bytes.begin() + configuration, kLookalikes.begin(), kLookalikes.end());
    const std::string path = folder.Path("orl.orl");
    tarsen_test::WriteBytes(path, bytes);
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    ImportSettings settings;
    CellReport report;
    ASSERT_TRUE(ConvertCell(file, settings, ui, 1, &report));
    const auto set = tarsen_test::ReadWrittenSet(report.names.measurement, report.names.reference);
    ASSERT_EQ(set.records.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        if (k == 6) {
            EXPECT_TRUE(IsMissing(set.records[6]));
        } else {
            EXPECT_TRUE(HoldsCurrent(set.records[static_cast<std::size_t>(k)], KnownCurrent(k, 0))) << k;
        }
    }
}

}  // namespace
}  // namespace tarsen
