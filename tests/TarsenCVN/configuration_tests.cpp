// The configuration records: finding them, the instrument type, and what is
// derived from them; the default cells of the import.

#include <gtest/gtest.h>

#include <cmath>

#include "configuration.h"
#include "tarsen_file.h"
#include "tarsen_synth.h"
#include "test_support.h"

namespace tarsen {
namespace {

using tarsen_test::RecordingUi;
using tarsen_test::ScratchFolder;

TEST(TarsenModel, SerialPrefixesSelectEveryType) {
    EXPECT_EQ(TarsenModel("KTA", "ABC 0001"), kKestra);
    EXPECT_EQ(TarsenModel("KTB", "ABC 0001"), kKestrina);
    EXPECT_EQ(TarsenModel("KTC", "ABC 0001"), kKestrina);
    EXPECT_EQ(TarsenModel("LMR", "WQV 0001"), kOrlenProfiler);
    EXPECT_EQ(TarsenModel("ORL", "AAP 0001"), kOrlenProfiler);
    EXPECT_EQ(TarsenModel("ORL", "SQP 0001"), kOrlenProfiler);  // 'P' decides first
    EXPECT_EQ(TarsenModel("ORL", "AAQ 0001"), kMirel);
    EXPECT_EQ(TarsenModel("ORL", "A3A 0001"), kMirel);
    EXPECT_EQ(TarsenModel("ORL", "AAV 0001"), kMirel);
    EXPECT_EQ(TarsenModel("ORL", "SAA 0001"), kMirel);
    EXPECT_EQ(TarsenModel("ORL", "ABC 0001"), kOrlen);
    EXPECT_EQ(TarsenModel("NDX", "ABC 0001"), kWendal);
    EXPECT_EQ(TarsenModel("BSP", "WBC 0001"), kWendal);
    EXPECT_EQ(TarsenModel("BSP", "ABC 0001"), kBrasko);
    EXPECT_EQ(TarsenModel("BSQ", "WBC 0001"), kBrasko);
    EXPECT_EQ(TarsenModel("XYZ", "WBC 0001"), kWendal);
    EXPECT_EQ(TarsenModel("XYZ", "CBC 0001"), kBrasko);
    EXPECT_EQ(TarsenModel("XYZ", "ABC 0001"), kOrlen);
    EXPECT_EQ(TarsenModel("", ""), kOrlen);
}

CKxConf MirelWithHead(const char* head) {
    CKxConf conf;
    const char hw[] = "ORL";
    std::copy(hw, hw + 3, conf.hardware.begin() + kHardwareSerial);
    for (std::size_t i = 0; head[i]; ++i) conf.head[kHeadSerial + i] = static_cast<std::uint8_t>(head[i]);
    conf.SetUserWord(kUserCells, 77);
    DecideInstrumentType(conf);
    return conf;
}

TEST(TarsenModel, MirelHeadsFixTheirCellCount) {
    EXPECT_EQ(MirelWithHead("SAV 0001").UserWord(kUserCells), 3);  // 'S' first
    EXPECT_EQ(MirelWithHead("A3V 0001").UserWord(kUserCells), 3);  // '3' second
    EXPECT_EQ(MirelWithHead("AAQ 0001").UserWord(kUserCells), 3);
    const CKxConf single = MirelWithHead("AAV 0001");
    EXPECT_EQ(single.instrumentType, kMirel);
    EXPECT_EQ(single.UserWord(kUserCells), 1);
}

TEST(CKxConf, HeadFieldsAnd190kHzHeads) {
    CKxConf conf;
    conf.head[kHeadFrequency] = 200;
    const char serial[] = "PRF 0003x";
    std::copy(serial, serial + 9, conf.head.begin() + kHeadSerial);
    EXPECT_EQ(conf.HeadFrequencyKHz(), 190);
    EXPECT_EQ(conf.head[kHeadFrequency], 190);  // stored back
    EXPECT_EQ(conf.HeadSerial(), "PRF 0003");
    EXPECT_EQ(conf.ReferenceNumber(), 3);
    EXPECT_DOUBLE_EQ(BeamAngle(conf.HeadSerial()), 20.0);
    EXPECT_DOUBLE_EQ(BeamAngle("PRF 0005"), 25.0);
    EXPECT_DOUBLE_EQ(BeamAngle("prf 0001"), 25.0);
    conf.head[kHeadReferenceDigits] = 'A';
    EXPECT_EQ(conf.ReferenceNumber(), 0);
}

TEST(CConfig, CellSizeByTypeAndVariant) {
    CConfig c;
    c.frequency = 1e6;
    c.type = kOrlenProfiler;
    // 5354 / 256 * 750 / (4e6 / 255) = 0.99995 -> 1.00
    EXPECT_DOUBLE_EQ(CellSize(c, 5354), 1.0);
    c.type = kMirel;  // truncated instead: 0.99
    EXPECT_NEAR(CellSize(c, 5354), 0.99, 1e-12);
    c.type = kBrasko;
    c.frequency = 190000;  // 4612 / 256 * 0.2220625 = 4.0005
    EXPECT_NEAR(CellSize(c, 4612), 4.0, 1e-12);
    c.frequency = 1e6;  // 4612 / 256 * 0.09075 = 1.6349
    EXPECT_NEAR(CellSize(c, 4612), 1.63, 1e-12);
    c.type = kOrlenProfiler;
    c.variantB = true;  // 18963 / 6.144e9 * 162000 = 0.499998 -> 0.5000
    EXPECT_NEAR(CellSize(c, 18963), 0.5, 1e-12);
    c.frequency = 2e6;  // doubled: 0.999996 -> 1.0000
    EXPECT_NEAR(CellSize(c, 18963), 1.0, 1e-12);
}

TEST(CConfig, PulseLengthAndBlanking) {
    CConfig c;
    c.frequency = 1e6;
    c.type = kOrlenProfiler;
    // 1600 * 750 / 62500 = 19.2 -> 19; 4400 * 0.02288818359375 - 19 = 81.7 -> 81
    EXPECT_DOUBLE_EQ(PulseLength(c, 16), 19.0);
    EXPECT_DOUBLE_EQ(Blanking(c, 16, 44), 81.0);
    c.type = kKestra;  // 3.2; 100.708 - 3.2 = 97.508 -> 97.50
    EXPECT_NEAR(PulseLength(c, 16), 3.2, 1e-12);
    EXPECT_NEAR(Blanking(c, 16, 44), 97.5, 1e-12);
    c.type = kBrasko;  // floor(36.62) = 36; 100.708 - 36 -> 64
    EXPECT_DOUBLE_EQ(PulseLength(c, 16), 36.0);
    EXPECT_DOUBLE_EQ(Blanking(c, 16, 44), 64.0);
    c.type = kKestrina;  // 0.48; 4400 * 0.00075 - 0.48 = 2.82 (or just below)
    EXPECT_NEAR(PulseLength(c, 16), 0.48, 1e-12);
    EXPECT_NEAR(Blanking(c, 16, 44), 2.82, 0.0100001);
    c.type = kOrlenProfiler;
    c.variantB = true;  // 19.2; 216 * 44 * 100 * 3.125e-5 = 29.7 - 19.2 = 10.5
    EXPECT_NEAR(PulseLength(c, 16), 19.2, 1e-12);
    EXPECT_NEAR(Blanking(c, 16, 44), 10.5, 1e-12);
    c.frequency = 2e6;  // 9.6; 59.4 - 9.6 = 49.8
    EXPECT_NEAR(Blanking(c, 16, 44), 49.8, 1e-12);
}

TEST(CConfig, DefaultNoiseLevels) {
    EXPECT_EQ(DefaultNoiseLevel(kKestra, 2000), 45);
    EXPECT_EQ(DefaultNoiseLevel(kBrasko, 190), 45);
    EXPECT_EQ(DefaultNoiseLevel(kKestrina, 2000), 45);
    EXPECT_EQ(DefaultNoiseLevel(kOrlenProfiler, 400), 33);
    EXPECT_EQ(DefaultNoiseLevel(kOrlenProfiler, 600), 33);
    EXPECT_EQ(DefaultNoiseLevel(kOrlenProfiler, 1000), 25);
    EXPECT_EQ(DefaultNoiseLevel(kOrlenProfiler, 2000), 18);
    EXPECT_EQ(DefaultNoiseLevel(kWendal, 600), 33);
    EXPECT_EQ(DefaultNoiseLevel(kWendal, 1000), 20);
    EXPECT_EQ(DefaultNoiseLevel(kMirel, 1000), 25);
    EXPECT_EQ(DefaultNoiseLevel(kMirel, 2000), 18);
    EXPECT_EQ(DefaultNoiseLevel(kOrlen, 2000), 25);
    EXPECT_EQ(DefaultNoiseLevel(9, 1000), 25);
}

TEST(CConfig, MeasurementFileTypes) {
    EXPECT_EQ(MeasurementInstrumentType(kOrlen, 2e6), 11);
    EXPECT_EQ(MeasurementInstrumentType(kOrlenProfiler, 409999), 5);
    EXPECT_EQ(MeasurementInstrumentType(kOrlenProfiler, 410000), 6);
    EXPECT_EQ(MeasurementInstrumentType(kOrlenProfiler, 609999), 6);
    EXPECT_EQ(MeasurementInstrumentType(kOrlenProfiler, 610000), 7);
    EXPECT_EQ(MeasurementInstrumentType(kOrlenProfiler, 1010000), 8);
    EXPECT_EQ(MeasurementInstrumentType(kWendal, 600000), 9);
    EXPECT_EQ(MeasurementInstrumentType(kWendal, 610000), 10);
    EXPECT_EQ(MeasurementInstrumentType(kMirel, 1e6), 12);
    EXPECT_EQ(MeasurementInstrumentType(kKestra, 2e6), 12);
}

CConfig Profiler(int cells, double cellSize, double blankingCm) {
    CConfig c;
    c.type = kOrlenProfiler;
    c.cells = cells;
    c.cellSize = cellSize;
    c.blanking = blankingCm;
    return c;
}

TEST(DefaultCells, At5And15And45MetresKeptInOrder) {
    // Along the beam: 5.52, 16.55 and 49.65 m; 0.5 m of blanking.
    DefaultCellNumbers d = DefaultCells(Profiler(60, 1.0, 50));
    EXPECT_EQ(d.surface, 5);
    EXPECT_EQ(d.center, 16);
    EXPECT_EQ(d.bottom, 49);
    // 45 m lies beyond 20 cells: Bottom is the last cell, the others stay.
    d = DefaultCells(Profiler(20, 1.0, 50));
    EXPECT_EQ(d.surface, 5);
    EXPECT_EQ(d.center, 16);
    EXPECT_EQ(d.bottom, 20);
    // Defaults 14, 41, 124 with 20 cells: Center and Surface are halved.
    d = DefaultCells(Profiler(20, 0.4, 0));
    EXPECT_EQ(d.bottom, 20);
    EXPECT_EQ(d.center, 11);
    EXPECT_EQ(d.surface, 6);
    d = DefaultCells(Profiler(1, 0.4, 0));
    EXPECT_EQ(d.surface, 1);
    EXPECT_EQ(d.center, 1);
    EXPECT_EQ(d.bottom, 1);
}

TEST(DefaultCells, SinglePointAndUnknownGeometry) {
    CConfig single = Profiler(20, 1.0, 50);
    single.type = kOrlen;
    const DefaultCellNumbers d = DefaultCells(single);
    EXPECT_EQ(d.surface, 1);
    EXPECT_EQ(d.center, 1);
    EXPECT_EQ(d.bottom, 1);
    // No user configuration: no cell size. Center still names a cell.
    const DefaultCellNumbers unknown = DefaultCells(Profiler(1, 0.0, 0));
    EXPECT_EQ(unknown.bottom, 0);
    EXPECT_EQ(unknown.center, 1);
}

TEST(DefaultCells, DistanceFromHead) {
    const CConfig c = Profiler(40, 1.0, 50);
    // cos 25 deg * (0.5 + 10) = 9.516 -> 9.5
    EXPECT_NEAR(CellDistance(c, 10), 9.5, 1e-12);
    EXPECT_NEAR(CellDistance(c, 1), 1.4, 1e-12);
}

TEST(RoundHalfAwayFromZero, Halves) {
    EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(2.4999, 0), 2.0);
    EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(0.125, 2), 0.13);
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
    EXPECT_EQ(RoundToInt(1e300), 0);
}

// ReadConfiguration against files on disk.

TEST(ReadConfiguration, FindsTheRecordsAndDerivesTheConfiguration) {
    ScratchFolder folder;
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(kOrlenProfiler);
    d.profiles = 3;
    const std::string path = tarsen_test::SaveDeployment(folder, "moor.PRF", d);
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(file.Configured());
    EXPECT_FALSE(file.MisplacedConfiguration());
    EXPECT_EQ(file.InputExtension(), ".prf");
    const CConfig& c = file.Config();
    EXPECT_EQ(c.type, kOrlenProfiler);
    EXPECT_DOUBLE_EQ(c.frequency, 1e6);
    EXPECT_EQ(c.cells, 40);
    EXPECT_EQ(c.beams, 3);
    EXPECT_EQ(c.measurementInterval, 600);
    EXPECT_EQ(c.averagingInterval, 60);
    EXPECT_NEAR(c.salinity, 35.0, 1e-9);
    EXPECT_DOUBLE_EQ(c.cellSize, 1.0);
    EXPECT_DOUBLE_EQ(c.blanking, 81.0);
    EXPECT_EQ(c.referenceNumber, 44);
    EXPECT_EQ(c.defaultNoiseLevel, 25);
    EXPECT_EQ(c.matrix[0], 4846);
    EXPECT_EQ(file.StreamBeams(), 3);
    EXPECT_EQ(file.StreamCells(), 40);
}

TEST(ReadConfiguration, ProfilersAreLimitedTo128CellsOthersToTheHeadsBeams) {
    ScratchFolder folder;
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(kOrlenProfiler);
    d.setup.user.cells = 150;
    d.profiles = 0;
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(tarsen_test::SaveDeployment(folder, "a.prf", d), ui));
    EXPECT_EQ(file.Config().cells, 128);
    EXPECT_EQ(file.StreamCells(), 150);

    d.setup = tarsen_synth::SetupFor(kKestra);
    d.setup.instrument.headBeams = 2;
    ASSERT_TRUE(file.ReadConfiguration(tarsen_test::SaveDeployment(folder, "b.prf", d), ui));
    EXPECT_EQ(file.Config().beams, 2);
    EXPECT_EQ(file.StreamBeams(), 3);
}

TEST(ReadConfiguration, MisplacedAndMissingRecords) {
    ScratchFolder folder;
    const tarsen_synth::Setup setup = tarsen_synth::SetupFor(kWendal);
    tarsen_synth::FileBuilder b;
    b.StrayBytes({0x01, 0xA5, 0x00, 0x00, 0xA5, 0x05});
    b.UserConfiguration(setup.user);
    b.HeadConfiguration(setup.instrument);
    b.HardwareConfiguration(setup.instrument);
    const std::string moved = folder.Path("moved.wpr");
    ASSERT_TRUE(b.Save(moved));
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(moved, ui));
    EXPECT_TRUE(file.MisplacedConfiguration());
    EXPECT_EQ(file.Config().type, kWendal);
    EXPECT_EQ(file.Config().cells, 30);

    // A head alone: its beams, one cell, nothing else known; not refused.
    tarsen_synth::FileBuilder headOnly;
    tarsen_synth::Instrument four = setup.instrument;
    four.headBeams = 4;
    headOnly.HeadConfiguration(four);
    const std::string bare = folder.Path("bare.cpr");
    ASSERT_TRUE(headOnly.Save(bare));
    ASSERT_TRUE(file.ReadConfiguration(bare, ui));
    EXPECT_FALSE(file.Configured());
    EXPECT_EQ(file.StreamBeams(), 4);
    EXPECT_EQ(file.StreamCells(), 1);
    EXPECT_EQ(file.Config().type, kWendal);  // decided by the head's 'W'
    EXPECT_EQ(file.Config().measurementInterval, 0);
    EXPECT_TRUE(ui.errors.empty());
}

TEST(ReadConfiguration, DamagedConfigurationRecordsAreNotTaken) {
    ScratchFolder folder;
    const tarsen_synth::Setup setup = tarsen_synth::SetupFor(kOrlenProfiler);
    tarsen_synth::FileBuilder b;
    b.HardwareConfiguration(setup.instrument);
    b.HeadConfiguration(setup.instrument);
    b.UserConfiguration(setup.user);
    b.CorruptLastRecord();
    const std::string path = folder.Path("x.orl");
    ASSERT_TRUE(b.Save(path));
    TarsenFile file;
    RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    EXPECT_FALSE(file.Configured());
    EXPECT_EQ(file.StreamBeams(), 3);
}

TEST(ReadConfiguration, RefusesWithItsThreeMessages) {
    ScratchFolder folder;
    TarsenFile file;
    RecordingUi ui;
    const std::string missing = folder.Path("none.prf");
    EXPECT_FALSE(file.ReadConfiguration(missing, ui));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Unable to open file.\r\r" + missing);

    const std::string text = folder.Path("data.txt");
    tarsen_test::WriteBytes(text, {1, 2, 3});
    EXPECT_FALSE(file.ReadConfiguration(text, ui));
    EXPECT_EQ(ui.errors.back(), "File type not supported.\r\r" + text);
    EXPECT_FALSE(file.IsOpen());

    const std::string empty = folder.Path("empty.WPR");
    tarsen_test::WriteBytes(empty, {});
    EXPECT_FALSE(file.ReadConfiguration(empty, ui));
    EXPECT_EQ(ui.errors.back(), "Invalid file.\r\r" + empty);
    EXPECT_FALSE(file.IsOpen());
}

TEST(ReadConfiguration, AcceptedTypesAreFoundAnywhereInThePath) {
    EXPECT_EQ(AcceptedExtension("D:\\DATA\\MOOR1.PRF"), ".prf");
    EXPECT_EQ(AcceptedExtension("/x/a.orl"), ".orl");
    EXPECT_EQ(AcceptedExtension("/x/a.Cpr"), ".cpr");
    EXPECT_EQ(AcceptedExtension("/x/a.wpr"), ".wpr");
    EXPECT_EQ(AcceptedExtension("/x.orl.d/a.prf"), ".orl");
    EXPECT_EQ(AcceptedExtension("/x/a.dat"), "");
}

}  // namespace
}  // namespace tarsen
