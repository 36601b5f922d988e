// One cell into a measurement file set: known currents in, the same
// speeds and directions out; gaps, glitches, quality settings, and the
// faults a conversion must not hide.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "configuration.h"
#include "convert_cell.h"
#include "tarsen_file.h"
#include "test_support.h"

namespace tarsen {
namespace {

using tarsen_synth::Civil;
using tarsen_synth::Deployment;
using tarsen_synth::KnownCurrent;
using tarsen_synth::KnownTemperature;
using tarsen_synth::Profile;
using tarsen_test::HoldsCurrent;
using tarsen_test::IsMissing;
using tarsen_test::ReadWrittenSet;
using tarsen_test::RecordingUi;
using tarsen_test::ScratchFolder;
using tarsen_test::WrittenSet;

namespace fs = std::filesystem;

struct Outcome {
    bool converted = false;
    CellReport report;
    WrittenSet set;
};

Outcome Convert(const std::string& path, int cell, RecordingUi& ui, ImportSettings settings = {}) {
    Outcome o;
    TarsenFile file;
    if (!file.ReadConfiguration(path, ui)) return o;
    o.converted = ConvertCell(file, settings, ui, cell, &o.report);
    o.set = ReadWrittenSet(o.report.names.measurement, o.report.names.reference);
    return o;
}

Deployment Standard(int type, int profiles) {
    Deployment d;
    d.setup = tarsen_synth::SetupFor(type);
    d.profiles = profiles;
    return d;
}

void ExpectKnownRecords(const WrittenSet& set, int cell, int profiles) {
    ASSERT_EQ(set.records.size(), static_cast<std::size_t>(profiles));
    for (int k = 0; k < profiles; ++k) {
        const corvan::MeasurementRecord& r = set.records[static_cast<std::size_t>(k)];
        EXPECT_TRUE(HoldsCurrent(r, KnownCurrent(k, cell - 1))) << "profile " << k << " cell " << cell;
        EXPECT_NEAR(+r.temperature, KnownTemperature(k), 0.0051) << "profile " << k;
        EXPECT_EQ(+r.optional, 0.0f);
    }
}

TEST(ConvertCell, EveryInstrumentTypeRoundTripsItsKnownCurrents) {
    struct Case {
        int type;
        std::uint8_t headerType;
    };
    const Case cases[] = {{kOrlen, 11}, {kKestra, 12}, {kOrlenProfiler, 7}, {kWendal, 9},
                          {kMirel, 12}, {kBrasko, 12}, {kKestrina, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        ScratchFolder folder;
        const Deployment d = Standard(c.type, 25);
        const std::string path = tarsen_test::SaveDeployment(folder, "moor.prf", d);
        const int lastCell = c.type == kOrlen ? 1 : d.setup.user.cells;
        for (int cell : {1, lastCell}) {
            RecordingUi ui;
            const Outcome o = Convert(path, cell, ui);
            ASSERT_TRUE(o.converted);
            EXPECT_TRUE(ui.errors.empty());
            EXPECT_EQ(o.report.names.measurement, folder.Path("moor-" + std::to_string(cell) + ".cvn"));
            EXPECT_EQ(+o.set.header.version, 4);
            EXPECT_EQ(+o.set.header.instrumentType, c.headerType);
            EXPECT_EQ(+o.set.header.count, 25);
            EXPECT_EQ(+o.set.header.referenceNumber, 42 + c.type);
            EXPECT_EQ(+o.set.header.sensorKind, 0);
            ExpectKnownRecords(o.set, cell, 25);
            ASSERT_EQ(o.set.series.size(), 1u);
            const corvan::SeriesHeader& s = o.set.series[0];
            EXPECT_EQ(+s.first, 0);
            // One interval before the first profile at 2024-03-14 12:00.
            EXPECT_EQ(+s.year, 24);
            EXPECT_EQ(+s.month, 3);
            EXPECT_EQ(+s.day, 14);
            EXPECT_EQ(+s.hour, 11);
            EXPECT_EQ(+s.minute, 50);
            EXPECT_EQ(+s.interval, 600);
            EXPECT_EQ(+s.intervalCode, 60);
            EXPECT_FLOAT_EQ(+s.salinity, 35.0f);
        }
    }
}

TEST(ConvertCell, EveryRecordIdAndCoordinateSystemAndAttitude) {
    const tarsen_synth::Attitude attitudes[] = {
        {0.0, 0.0, 0.0, false}, {123.4, 3.0, -2.5, false}, {271.9, -6.1, 4.2, true}};
    for (std::uint8_t id : {std::uint8_t{32}, std::uint8_t{33}, std::uint8_t{36}, std::uint8_t{42}}) {
        for (std::uint16_t coordinates : {0, 1, 2}) {
            for (const auto& attitude : attitudes) {
                SCOPED_TRACE("id " + std::to_string(id) + " coordinates " + std::to_string(coordinates) + " heading " +
                             std::to_string(attitude.heading));
                ScratchFolder folder;
                Deployment d = Standard(kOrlenProfiler, 12);
                d.setup.dataId = id;
                d.setup.user.cells = 9;  // odd: ids 32 and 36 need a pad byte
                d.setup.user.coordinateSystem = coordinates;
                d.attitude = attitude;
                const std::string path = tarsen_test::SaveDeployment(folder, "p.prf", d);
                RecordingUi ui;
                const Outcome o = Convert(path, 7, ui);
                ASSERT_TRUE(o.converted);
                ExpectKnownRecords(o.set, 7, 12);
            }
        }
    }
}

TEST(ConvertCell, MissingProfilesBecomeMissingRecords) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlenProfiler, 20);
    d.edit = [](int k, Civil&, Profile&) { return k != 3 && k != 7 && k != 8 && k != 9; };
    RecordingUi ui;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "g.prf", d), 16, ui);
    ASSERT_TRUE(o.converted);
    EXPECT_TRUE(ui.glitchQuestions.empty());
    ASSERT_EQ(o.set.records.size(), 20u);
    EXPECT_EQ(+o.set.header.count, 20);
    EXPECT_EQ(o.report.missingRecords, 4);
    for (int k = 0; k < 20; ++k) {
        const auto& r = o.set.records[static_cast<std::size_t>(k)];
        if (k == 3 || (k >= 7 && k <= 9)) {
            EXPECT_TRUE(IsMissing(r)) << k;
        } else {
            EXPECT_TRUE(HoldsCurrent(r, KnownCurrent(k, 15))) << k;
        }
    }
}

// Profiles 5 and 6 are 30 s late: two glitching records in one run.
Deployment LateProfiles() {
    Deployment d = Standard(kOrlenProfiler, 12);
    d.edit = [](int k, Civil& t, Profile&) {
        if (k == 5 || k == 6) t = tarsen_synth::AddSeconds(t, 30);
        return true;
    };
    return d;
}

TEST(ConvertCell, YesToTheGlitchQuestionDropsTheRunOfGlitches) {
    ScratchFolder folder;
    RecordingUi ui;
    ui.answerYes = true;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "late.prf", LateProfiles()), 4, ui);
    ASSERT_TRUE(o.converted);
    ASSERT_EQ(ui.glitchQuestions.size(), 1u);
    EXPECT_EQ(ui.glitchQuestions[0],
              "Time glitch detected!\r\rDo you want to continue?\r\rPress No to skip remaining data for cell 4.");
    EXPECT_EQ(ui.glitchCells[0], 4);
    EXPECT_EQ(o.report.droppedRecords, 2);
    ASSERT_EQ(o.set.records.size(), 12u);
    EXPECT_TRUE(IsMissing(o.set.records[5]));
    EXPECT_TRUE(IsMissing(o.set.records[6]));
    EXPECT_TRUE(HoldsCurrent(o.set.records[7], KnownCurrent(7, 3)));
    EXPECT_TRUE(HoldsCurrent(o.set.records[11], KnownCurrent(11, 3)));
}

TEST(ConvertCell, NoToTheGlitchQuestionEndsTheCell) {
    ScratchFolder folder;
    RecordingUi ui;
    ui.answerYes = false;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "late.prf", LateProfiles()), 4, ui);
    EXPECT_TRUE(o.converted);
    EXPECT_TRUE(o.report.stoppedAtGlitch);
    EXPECT_EQ(ui.glitchQuestions.size(), 1u);
    EXPECT_EQ(+o.set.header.count, 5);
    ExpectKnownRecords(o.set, 4, 5);
}

TEST(ConvertCell, EachRunOfGlitchesAsksAgain) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlenProfiler, 12);
    // A profile stamped with its predecessor's time, twice.
    d.edit = [](int k, Civil& t, Profile&) {
        if (k == 3 || k == 8) t = tarsen_synth::AddSeconds(t, -600);
        return true;
    };
    RecordingUi ui;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "dup.prf", d), 2, ui);
    ASSERT_TRUE(o.converted);
    EXPECT_EQ(ui.glitchQuestions.size(), 2u);
    ASSERT_EQ(o.set.records.size(), 12u);
    EXPECT_TRUE(IsMissing(o.set.records[3]));
    EXPECT_TRUE(IsMissing(o.set.records[8]));
}

TEST(ConvertCell, ImpossibleDatesAreGlitchesEvenOnTheFirstRecord) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlenProfiler, 10);
    d.edit = [](int k, Civil&, Profile& p) {
        if (k == 0) p.bcd[5] = 0x13;  // month 13
        if (k == 4) p.bcd[2] = 0x31;  // 31 March is fine ...
        if (k == 4) p.bcd[5] = 0x04;  // ... 31 April is not
        return true;
    };
    RecordingUi ui;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "bcd.prf", d), 2, ui);
    ASSERT_TRUE(o.converted);
    EXPECT_EQ(ui.glitchQuestions.size(), 2u);
    // The series starts with profile 1, not at the zero time.
    ASSERT_EQ(o.set.series.size(), 1u);
    EXPECT_EQ(+o.set.series[0].hour, 12);
    EXPECT_EQ(+o.set.series[0].minute, 0);
    ASSERT_EQ(o.set.records.size(), 9u);
    EXPECT_TRUE(HoldsCurrent(o.set.records[0], KnownCurrent(1, 1)));
    EXPECT_TRUE(IsMissing(o.set.records[3]));
    EXPECT_TRUE(HoldsCurrent(o.set.records[4], KnownCurrent(5, 1)));
}

TEST(TimeCheck, GapsGlitchesAndTheFirstRecord) {
    const corvan::DateTime t0 = *corvan::DateTime::FromCivil({2024, 3, 14, 12, 0, 0});
    EXPECT_FALSE(TimeCheck(t0, corvan::DateTime(), 60).glitch);
    EXPECT_EQ(TimeCheck(t0.AddSeconds(60), t0, 60).missing, 0);
    const TimeCheckResult three = TimeCheck(t0.AddSeconds(180), t0, 60);
    EXPECT_FALSE(three.glitch);
    EXPECT_EQ(three.missing, 2);
    EXPECT_TRUE(TimeCheck(t0.AddSeconds(90), t0, 60).glitch);
    EXPECT_TRUE(TimeCheck(t0, t0, 60).glitch);
    EXPECT_TRUE(TimeCheck(t0.AddSeconds(-60), t0, 60).glitch);
    EXPECT_TRUE(TimeCheck(corvan::DateTime(), t0, 60).glitch);
    EXPECT_TRUE(TimeCheck(corvan::DateTime(), corvan::DateTime(), 60).glitch);
    // Without a known interval only time running backwards is a glitch.
    EXPECT_FALSE(TimeCheck(t0.AddSeconds(7), t0, 0).glitch);
    EXPECT_EQ(TimeCheck(t0.AddSeconds(7), t0, 0).missing, 0);
    EXPECT_TRUE(TimeCheck(t0, t0, 0).glitch);
}

TEST(ConvertCell, DownLookingFileTurnsPressureIntoAcousticOnce) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlenProfiler, 6);
    d.attitude.down = true;
    const std::string path = tarsen_test::SaveDeployment(folder, "down.prf", d);
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    ImportSettings settings;
    settings.boundaryMethod = kBoundaryPressure;
    settings.removeBoundary = false;  // the note comes whether or not boundaries are removed
    ASSERT_TRUE(ConvertCell(file, settings, ui, 3, nullptr));
    ASSERT_TRUE(ConvertCell(file, settings, ui, 5, nullptr));
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_EQ(ui.notes[0],
              "Please note that pressure can not\rbe used for boundary detection\rfor downlooking deployments.");
    EXPECT_EQ(settings.boundaryMethod, kBoundaryAcoustic);

    Deployment up = Standard(kOrlenProfiler, 6);
    RecordingUi upUi;
    ImportSettings pressure;
    pressure.boundaryMethod = kBoundaryPressure;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "up.prf", up), 3, upUi, pressure);
    EXPECT_TRUE(upUi.notes.empty());
    ExpectKnownRecords(o.set, 3, 6);
}

TEST(ConvertCell, QualitySettingsReachTheQualityLibrary) {
    ScratchFolder folder;
    // 10 dbar of water: every cell beyond 9 m from the head is above the surface.
    Deployment shallow = Standard(kOrlenProfiler, 5);
    shallow.pressureDbar = 10.0;
    const std::string path = tarsen_test::SaveDeployment(folder, "shallow.prf", shallow);
    ImportSettings byPressure;
    byPressure.boundaryMethod = kBoundaryPressure;
    RecordingUi ui;
    Outcome o = Convert(path, 16, ui, byPressure);
    ASSERT_EQ(o.set.records.size(), 5u);
    for (const auto& r : o.set.records) {
        EXPECT_EQ(+r.speed, -9999.0f);
        EXPECT_EQ(+r.direction, -9999.0f);
        EXPECT_GT(+r.temperature, 7.9f);  // the temperature stays
    }
    EXPECT_EQ(o.report.flagCounts[0], 5);
    o = Convert(path, 5, ui, byPressure);
    ExpectKnownRecords(o.set, 5, 5);
    byPressure.removeBoundary = false;
    o = Convert(path, 16, ui, byPressure);
    ExpectKnownRecords(o.set, 16, 5);

    // Amplitudes at the noise floor: no signal anywhere.
    Deployment weak = Standard(kOrlenProfiler, 5);
    weak.edit = [](int, Civil&, Profile& p) {
        std::fill(p.amplitude.begin(), p.amplitude.end(), std::uint8_t{20});
        return true;
    };
    const std::string weakPath = tarsen_test::SaveDeployment(folder, "weak.prf", weak);
    o = Convert(weakPath, 8, ui);
    for (const auto& r : o.set.records) EXPECT_EQ(+r.speed, -9999.0f);
    EXPECT_EQ(o.report.flagCounts[2], 5);
    ImportSettings keepLowSnr;
    keepLowSnr.removeLowSnr = false;
    o = Convert(weakPath, 8, ui, keepLowSnr);
    ExpectKnownRecords(o.set, 8, 5);
}

TEST(ConvertCell, AFileWithoutDataRecordsGetsAValidEmptyHeader) {
    ScratchFolder folder;
    const Deployment d = Standard(kWendal, 0);
    RecordingUi ui;
    const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "none.wpr", d), 2, ui);
    ASSERT_TRUE(o.converted);
    ASSERT_TRUE(o.set.found);
    EXPECT_EQ(o.set.measurementBytes, 16u);
    EXPECT_EQ(o.set.referenceBytes, 0u);
    EXPECT_EQ(+o.set.header.version, 4);
    EXPECT_EQ(+o.set.header.instrumentType, 9);
    EXPECT_EQ(+o.set.header.count, 0);
    EXPECT_EQ(+o.set.header.referenceNumber, 45);
}

TEST(ConvertCell, GeometriesBeyondTheWorkingRecordsAreRefusedWritingNothing) {
    struct Case {
        int type;
        std::uint16_t beams;
        std::uint16_t cells;
        const char* message;
    };
    const Case cases[] = {
        {kKestra, 3, 200, "the file has 200 cells; at most 128 can be converted"},
        {kOrlenProfiler, 3, 150, "the file has 150 cells; at most 128 can be converted"},
        {kOrlenProfiler, 5, 20, "the file has 5 beams; at most 4 can be converted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ScratchFolder folder;
        Deployment d = Standard(c.type, 3);
        d.setup.user.beams = c.beams;
        d.setup.user.cells = c.cells;
        d.setup.instrument.headBeams = c.beams;
        RecordingUi ui;
        const Outcome o = Convert(tarsen_test::SaveDeployment(folder, "big.prf", d), 1, ui);
        EXPECT_FALSE(o.converted);
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0], c.message);
        EXPECT_FALSE(fs::exists(folder.Path("big-1.cvn")));
        EXPECT_FALSE(fs::exists(folder.Path("big-1.rf6")));
    }

    // Without a configuration the geometry shows only in the records.
    ScratchFolder folder;
    tarsen_synth::FileBuilder b;
    tarsen_synth::Setup s = tarsen_synth::SetupFor(kOrlenProfiler);
    s.user.coordinateSystem = 0;
    const Profile p = tarsen_synth::MakeProfile(s, 3, 200, {2024, 1, 1, 0, 0, 0}, {}, {}, 10.0, 100.0);
    b.DataRecord(33, 3, 200, p);
    const std::string path = folder.Path("wide.prf");
    ASSERT_TRUE(b.Save(path));
    RecordingUi ui;
    const Outcome o = Convert(path, 1, ui);
    EXPECT_FALSE(o.converted);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "the file has 200 cells; at most 128 can be converted");
    EXPECT_FALSE(fs::exists(folder.Path("wide-1.cvn")));
    EXPECT_FALSE(fs::exists(folder.Path("wide-1.rf6")));
}

TEST(ConvertCell, OutputFilesThatCannotBeOpenedFailTheCell) {
    ScratchFolder folder;
    const std::string path = tarsen_test::SaveDeployment(folder, "m.prf", Standard(kOrlenProfiler, 3));
    fs::create_directory(folder.Path("m-2.cvn"));
    RecordingUi ui;
    Outcome o = Convert(path, 2, ui);
    EXPECT_FALSE(o.converted);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Unable to open output file.\r\r" + folder.Path("m-2.cvn"));
    EXPECT_FALSE(fs::exists(folder.Path("m-2.rf6")));

    fs::create_directory(folder.Path("m-3.rf6"));
    RecordingUi ui3;
    o = Convert(path, 3, ui3);
    EXPECT_FALSE(o.converted);
    ASSERT_EQ(ui3.errors.size(), 1u);
    EXPECT_EQ(ui3.errors[0], "Unable to open output file.\r\r" + folder.Path("m-3.rf6"));
    EXPECT_FALSE(fs::exists(folder.Path("m-3.cvn")));
}

#if defined(__linux__)
// A folder opens for reading here, and every read of it fails: a real file
// error in the middle of a conversion.
TEST(ConvertCell, AReadErrorFailsTheCellAndNamesTheCause) {
    ScratchFolder folder;
    const std::string path = folder.Path("folder.prf");
    fs::create_directory(path);
    RecordingUi ui;
    TarsenFile file;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    ImportSettings settings;
    CellReport report;
    EXPECT_FALSE(ConvertCell(file, settings, ui, 1, &report));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], path + "\r" + std::generic_category().message(EISDIR));
    const WrittenSet set = ReadWrittenSet(report.names.measurement, report.names.reference);
    EXPECT_EQ(+set.header.version, 4);
    EXPECT_EQ(+set.header.count, 0);
}
#endif

TEST(ConvertCell, CellsOutsideTheProfileAreRefused) {
    ScratchFolder folder;
    const std::string path = tarsen_test::SaveDeployment(folder, "c.prf", Standard(kOrlenProfiler, 3));
    for (int cell : {0, 41, 129}) {
        RecordingUi ui;
        const Outcome o = Convert(path, cell, ui);
        EXPECT_FALSE(o.converted) << cell;
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0], "Cell " + std::to_string(cell) + " cannot be converted: the file has cells 1 to 40.");
    }
    EXPECT_FALSE(fs::exists(folder.Path("c-41.cvn")));
}

TEST(ConvertCell, AMeasurementFileHoldsAtMost32767Records) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlen, 32767 + 5);
    d.setup.user.interval = 1;
    const std::string path = folder.Path("long.orl");
    ASSERT_EQ(tarsen_synth::WriteDeployment(d, path), 32772);
    RecordingUi ui;
    Outcome o = Convert(path, 1, ui);
    EXPECT_TRUE(o.converted);
    EXPECT_TRUE(o.report.capacityReached);
    EXPECT_EQ(+o.set.header.count, 32767);
    EXPECT_EQ(o.set.records.size(), 32767u);
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_NE(ui.notes[0].find("32767"), std::string::npos);

    // A gap of years is filled only up to the capacity.
    Deployment gap = Standard(kOrlen, 3);
    gap.edit = [](int k, Civil& t, Profile&) {
        if (k == 2) t = tarsen_synth::AddSeconds(t, 600LL * 100000);
        return true;
    };
    RecordingUi gapUi;
    o = Convert(tarsen_test::SaveDeployment(folder, "gap.orl", gap), 1, gapUi);
    EXPECT_EQ(+o.set.header.count, 32767);
    EXPECT_TRUE(IsMissing(o.set.records.back()));
    EXPECT_EQ(gapUi.notes.size(), 1u);
}

TEST(ConvertCell, AnUnconfiguredProfilerIsConvertedFromItsRecords) {
    ScratchFolder folder;
    Deployment d = Standard(kOrlenProfiler, 8);
    d.setup.user.coordinateSystem = 0;
    std::vector<std::uint8_t> bytes = tarsen_synth::BuildDeployment(d);
    bytes.erase(bytes.begin(), bytes.begin() + 48 + 224 + 512);
    const std::string path = folder.Path("bare.prf");
    tarsen_test::WriteBytes(path, bytes);
    RecordingUi ui;
    const Outcome o = Convert(path, 1, ui);
    ASSERT_TRUE(o.converted);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(+o.set.series[0].interval, 0);
    ExpectKnownRecords(o.set, 1, 8);
}

TEST(ConvertCell, ProgressRunsFromZeroToHundred) {
    ScratchFolder folder;
    const std::string path = tarsen_test::SaveDeployment(folder, "p.prf", Standard(kOrlenProfiler, 200));
    RecordingUi ui;
    Convert(path, 1, ui);
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress.front(), 0);
    EXPECT_EQ(ui.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(ui.progress.begin(), ui.progress.end()));
    EXPECT_GT(ui.progress.size(), 50u);
}

TEST(MakeOutputNames, BesideTheInputWithTheCellNumber) {
    const OutputNames n = MakeOutputNames("/data/moor1.PRF", "", 3);
    EXPECT_EQ(n.measurement, "/data/moor1-3.cvn");
    EXPECT_EQ(n.reference, "/data/moor1-3.rf6");
    EXPECT_EQ(MakeOutputNames("moor1.prf", "", 12).measurement, "moor1-12.cvn");
    EXPECT_EQ(MakeOutputNames("/a.b/moor1.x.prf", "", 1).measurement, "/a.b/moor1.x-1.cvn");
    EXPECT_EQ(MakeOutputNames("/data//sub//moor1.prf", "", 1).measurement, "/data/sub/moor1-1.cvn");
    EXPECT_EQ(MakeOutputNames("//server/share/moor1.prf", "", 1).measurement, "//server/share/moor1-1.cvn");
    EXPECT_EQ(MakeOutputNames("/data/moor1.prf", "/out/", 2).measurement, "/out/moor1-2.cvn");
}

}  // namespace
}  // namespace tarsen
