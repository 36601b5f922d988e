// The export files byte for byte, from file sets written and read back by the
// program's own file unit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/file_error.h"
#include "export/export_fixture.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::CommaLocale;
using testing::Load;
using testing::TempDir;

std::string ReadText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TextExportOptions Options(ExportLayout layout, ExportRecordRange range, std::string delimiter = ";") {
    TextExportOptions o;
    o.layout = layout;
    o.delimiter = std::move(delimiter);
    o.records = range;
    return o;
}

class ThreeSeriesExport : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = dir_.Path("buoy.north");
        testing::WriteThreeSeries(base_);
        ASSERT_TRUE(Load(base_, data_));
        ASSERT_EQ(data_.SeriesCount(), 3);
    }
    TempDir dir_;
    std::string base_;
    DataSet data_;
};

TEST_F(ThreeSeriesExport, WindowsLayoutOfTheMiddleSeries) {
    const auto range = ExportRecords(data_, ExportContents::SeriesNumber, 2);
    EXPECT_EQ(range.first, 4);
    EXPECT_EQ(range.last, 7);
    const std::string text = BuildTextExport(data_, Options(ExportLayout::Windows, range), CommaLocale());
    EXPECT_EQ(text,
              "From file: buoy    \r\n"
              "Ser;Meas;Temp;Curr;Dir;Date;Time;;\r\n"
              "2;5;8,13;12,3;29;01.03.1997;00:30;\r\n"
              "2;6;-999,00;-999,0;;01.03.1997;01:00;\r\n"
              "2;7;-1,50;0,0;355;01.03.1997;01:30;\r\n"
              "2;8;3,50;-2,5;180;01.03.1997;02:00;\r\n");
}

TEST_F(ThreeSeriesExport, DosLayoutOfTheMiddleSeries) {
    const auto range = ExportRecords(data_, ExportContents::SeriesNumber, 2);
    // The DOS layout keeps its point whatever the locale says.
    const std::string text = BuildTextExport(data_, Options(ExportLayout::Dos, range), CommaLocale());
    EXPECT_EQ(text,
              "FileName;Ser;Meas ;Temp ;Speed ;Opt ;Dir;YY;MM;DD;HH;MM\r\n"
              "buoy    ;002;00005;08.13;0012.3;00.0;029;97;03;01;00;30\r\n"
              "buoy    ;002;00006;-999.00;-999.0;00.0;000;97;03;01;01;00\r\n"
              "buoy    ;002;00007;-1.50;0000.0;00.0;355;97;03;01;01;30\r\n"
              "buoy    ;002;00008;03.50;-002.5;00.0;180;97;03;01;02;00\r\n");
}

TEST_F(ThreeSeriesExport, RecordRangesOfEachChoice) {
    // The last series ends at the last record read, below the header count.
    testing::RaiseHeaderCount(base_, 12);
    ASSERT_TRUE(Load(base_, data_));
    ASSERT_EQ(data_.recordCount, 10);
    const auto last = ExportRecords(data_, ExportContents::SeriesNumber, 3);
    EXPECT_EQ(last.first, 8);
    EXPECT_EQ(last.last, 9);
    const auto all = ExportRecords(data_, ExportContents::AllMeasurements, 2);
    EXPECT_EQ(all.first, 0);
    EXPECT_EQ(all.last, 9);
    // Out-of-table numbers fall back to the nearest series.
    EXPECT_EQ(ExportRecords(data_, ExportContents::SeriesNumber, 0).first, 0);
    EXPECT_EQ(ExportRecords(data_, ExportContents::SeriesNumber, 9).first, 8);

    // A selected range may reach past the records read (the range dialog
    // bounds it by the header count): those indices give empty lines.
    data_.rangeFirst = 8;
    data_.rangeLast = 11;
    const auto selected = ExportRecords(data_, ExportContents::SelectedMeasurements, 1);
    const std::string text = BuildTextExport(data_, Options(ExportLayout::Windows, selected, "\t"), IsoExportLocale());
    EXPECT_EQ(text,
              "From file: buoy    \r\n"
              "Ser\tMeas\tTemp\tCurr\tDir\tDate\tTime\t\t\r\n"
              "3\t9\t9.00\t30.0\t0\t2024-01-06\t00:00\t\r\n"
              "3\t10\t9.50\t31.0\t6\t2024-01-06\t00:10\t\r\n"
              "\r\n"
              "\r\n");
}

TEST_F(ThreeSeriesExport, ExportThatStartsInsideASeriesCarriesItsNumber) {
    const std::string text = BuildTextExport(data_, Options(ExportLayout::Dos, {3, 4}, "|"), IsoExportLocale());
    EXPECT_EQ(text,
              "FileName|Ser|Meas |Temp |Speed |Opt |Dir|YY|MM|DD|HH|MM\r\n"
              "buoy    |001|00004|07.30|0023.0|00.0|074|97|02|25|12|40\r\n"
              "buoy    |002|00005|08.13|0012.3|00.0|029|97|03|01|00|30\r\n");
}

DataSet& OpticalSet(DataSet& d, int kind, bool withLFile, TempDir& dir) {
    const std::string base = dir.Path("opt" + std::to_string(kind));
    DataSet w;
    w.baseName = base;
    w.header.instrumentType = 3;
    w.header.sensorKind = static_cast<std::uint8_t>(kind);
    w.header.count = 2;
    w.records[0] = MeasurementRecord{50.0f, 0.0f, 10.0f, 100.0f};
    w.records[1] = MeasurementRecord{-999.0f, 1.0f, 10.0f, 2.0f};
    w.series[0] = SeriesHeader{0, 25, 6, 10, 8, 0, 1200, 2, 0.0f};
    WriteMeasurementFile(w);
    WriteReferenceFile(w, 1);
    if (withLFile) {
        std::vector<std::uint8_t> bytes(2 * kRecordSize);
        EncodeRecord(MeasurementRecord{1.0f, 2.0f, 3.0f, 4.0f}, bytes.data());
        EncodeRecord(MeasurementRecord{1.0f, 2.0f, 3.0f, 4.0f}, bytes.data() + kRecordSize);
        testing::WriteBytes(LFileName(base), bytes);
    }
    EXPECT_TRUE(Load(base, d));
    return d;
}

TEST(OpticalExport, OxygenColumnsAndTheLFileHeaders) {
    TempDir dir;
    DataSet d;
    OpticalSet(d, 1, true, dir);
    ASSERT_TRUE(d.lFilePresent);
    // Oxygen at 10 degrees, salinity 0 and 100 % is about 11.29 mg/l; at
    // 50 cm/s its flux is half of that. The L-values never reach the lines.
    const std::string text = BuildTextExport(d, Options(ExportLayout::Windows, {0, 0}), IsoExportLocale());
    EXPECT_EQ(text,
              "From file: opt1    \r\n"
              "Ser;Meas;Temp;Ox %;mg/l;Curr;Dir;v.mg/l;Date;Time;"
              "L-Temp;L-Ox %;L-mg/l;L-Curr;L-Dir;L-v.mg/l;;\r\n"
              "1;1;10.00;100.0;11.29;50.0;0;5.64;2025-06-10;08:20;\r\n");
}

TEST(OpticalExport, FluxIsWrittenFromInvalidSpeedsToo) {
    TempDir dir;
    DataSet d;
    OpticalSet(d, 2, false, dir);
    const std::string text = BuildTextExport(d, Options(ExportLayout::Windows, {0, 1}), IsoExportLocale());
    EXPECT_EQ(text,
              "From file: opt2    \r\n"
              "Ser;Meas;Temp;T (FTU);Curr;Dir;v.T;Date;Time;;\r\n"
              "1;1;10.00;100.00;50.0;0;50.00;2025-06-10;08:20;\r\n"
              "1;2;10.00;2.00;-999.0;57;-19.98;2025-06-10;08:40;\r\n");
    // The DOS layout writes the optional value of a sensor that has one.
    const std::string dos = BuildTextExport(d, Options(ExportLayout::Dos, {1, 1}), IsoExportLocale());
    EXPECT_EQ(dos.substr(dos.find("\r\n") + 2), "opt2    ;001;00002;10.00;-999.0;2.00;057;25;06;10;08;40\r\n");
}

TEST(OpticalExport, MicroSignGoesOutInTheWindowsCodePage) {
    TempDir dir;
    DataSet d;
    OpticalSet(d, 3, false, dir);
    const std::string text = BuildTextExport(d, Options(ExportLayout::Windows, {0, -1}), IsoExportLocale());
    EXPECT_NE(text.find("F (\xB5g/l);Curr;Dir;v.F;"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xC2"), std::string::npos);
}

TEST(PositionExport, DecimalDegreesAndMissingPositions) {
    TempDir dir;
    DataSet w;
    w.baseName = dir.Path("gps");
    w.header.instrumentType = 2;
    w.header.count = 2;
    w.records[0] = MeasurementRecord{3545.5f, -300.25f, 4.0f, 0.0f};
    w.records[1] = MeasurementRecord{1e10f, 1e10f, -999.0f, 0.0f};
    w.series[0] = SeriesHeader{0, 99, 12, 31, 23, 30, 1800, 2, -1.0f};
    WriteMeasurementFile(w);
    WriteReferenceFile(w, 1);
    DataSet d;
    ASSERT_TRUE(Load(w.baseName, d));
    const std::string text = BuildTextExport(d, Options(ExportLayout::Windows, {0, 1}), CommaLocale());
    EXPECT_EQ(text,
              "From file: gps     \r\n"
              "Ser;Meas;Temp;Lat;Long;Date;Time;;\r\n"
              "1;1;4,00;59,09167;-5,00417;01.01.2000;00:00;\r\n"
              "1;2;-999,00;;;01.01.2000;00:30;\r\n");
}

TEST(ExportNumbers, FixedDecimalsWithTenSignificantDigits) {
    EXPECT_EQ(FormatExportFixed(12.25, 1), "12.3");
    EXPECT_EQ(FormatExportFixed(-12.25, 1), "-12.3");
    EXPECT_EQ(FormatExportFixed(2.675, 2), "2.67");  // just below the half in binary
    EXPECT_EQ(FormatExportFixed(9.96, 1), "10.0");
    EXPECT_EQ(FormatExportFixed(0.6, 0), "1");
    EXPECT_EQ(FormatExportFixed(359.6, 0), "360");
    EXPECT_EQ(FormatExportFixed(7.0, 0), "7");
    EXPECT_EQ(FormatExportFixed(-999.0, 2), "-999.00");
    EXPECT_EQ(FormatExportFixed(0.0, 5), "0.00000");
    EXPECT_EQ(FormatExportFixed(0.004, 2), "0.00");
    EXPECT_EQ(FormatExportFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatExportFixed(0.05, 1), "0.1");
    EXPECT_EQ(FormatExportFixed(3.5, 2, ","), "3,50");
    // Ten significant digits, then zeros.
    EXPECT_EQ(FormatExportFixed(123456789.456, 2), "123456789.50");
    EXPECT_EQ(FormatExportFixed(1234567.891234, 5), "1234567.89100");
    EXPECT_EQ(FormatExportFixed(9999999999.4, 0), "9999999999");
    // Beyond ten integer digits the exponent form takes over.
    EXPECT_EQ(FormatExportFixed(9999999999.7, 0), "1E10");
    EXPECT_EQ(FormatExportFixed(12345678901.0, 2), "1.23456789E10");
    EXPECT_EQ(FormatExportFixed(-1.5e12, 1, ","), "-1,5E12");
    EXPECT_EQ(FormatExportFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    EXPECT_EQ(FormatExportFixed(-std::numeric_limits<double>::infinity(), 2), "-INF");
}

TEST(ExportNames, SourceNameAndDefaultExtension) {
    EXPECT_EQ(TextExportSourceName("/data/buoy.north"), "buoy    ");
    EXPECT_EQ(TextExportSourceName("C:\\out\\abcdefghijklmnopqrstuvwxyz"), "abcdefghijklmnopqrst");
    EXPECT_EQ(TextExportSourceName("C:\\data.old\\x"), "x       ");
    EXPECT_EQ(TextExportSourceName("relative"), "relative");
    // Characters, not bytes, are counted.
    EXPECT_EQ(TextExportSourceName("/d/B\xC3\xB8ye"), "B\xC3\xB8ye    ");
    EXPECT_EQ(TextExportSourceName("/d/\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8"
                                   "\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8"
                                   "\xC3\xB8\xC3\xB8\xC3\xB8\xC3\xB8")
                  .size(),
              40u);

    EXPECT_EQ(ExportFileNameWithExtension("C:\\out\\result", ExportLayout::Windows), "C:\\out\\result.txt");
    EXPECT_EQ(ExportFileNameWithExtension("/tmp/result", ExportLayout::Dos), "/tmp/result.prn");
    EXPECT_EQ(ExportFileNameWithExtension("C:\\data.old\\result", ExportLayout::Windows), "C:\\data.old\\result");
    EXPECT_EQ(ExportFileNameWithExtension("result.csv", ExportLayout::Dos), "result.csv");
}

TEST(ExportNames, CodePageConversion) {
    EXPECT_EQ(Utf8ToWindows1252("a\xC2\xB5"
                                "b"),
              "a\xB5"
              "b");
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82\xAC"), "\x80");  // euro sign
    EXPECT_EQ(Utf8ToWindows1252("\xE4\xB8\xAD"), "?");     // outside the code page
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x98\x80!"), "?!");
    EXPECT_EQ(Utf8ToWindows1252("caf\xE9"), "caf\xE9");  // Latin-1 passes through
    EXPECT_EQ(Utf8ToWindows1252("\x85"), "?");
}

class ExportFile : public ThreeSeriesExport {};

TEST_F(ExportFile, ReplacesTheTargetAndLeavesNothingElse) {
    const std::string target = dir_.Path("out.txt");
    testing::WriteBytes(target, {'o', 'l', 'd'});
    const auto options = Options(ExportLayout::Windows, ExportRecords(data_, ExportContents::AllMeasurements, 1));
    WriteTextExport(target, data_, options, IsoExportLocale());
    EXPECT_EQ(ReadText(target), BuildTextExport(data_, options, IsoExportLocale()));
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_.Root())) ++files;
    EXPECT_EQ(files, 3);  // the set's .CVN and .RF6, and the export
}

TEST_F(ExportFile, FailureKeepsTheUsersFile) {
    const auto options = Options(ExportLayout::Dos, {0, 9});
    // A folder where the file should go cannot be replaced.
    const std::string folder = dir_.Path("taken.prn");
    std::filesystem::create_directory(folder);
    testing::WriteBytes(folder + "/inside", {'k'});
    try {
        WriteTextExport(folder, data_, options, IsoExportLocale());
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), folder);
        EXPECT_FALSE(e.Reason().empty());
    }
    EXPECT_EQ(ReadText(folder + "/inside"), "k");
    // A missing folder fails before anything is written.
    EXPECT_THROW(WriteTextExport(dir_.Path("none/out.prn"), data_, options, IsoExportLocale()), FileError);
    for (const auto& e : std::filesystem::directory_iterator(dir_.Root())) {
        EXPECT_EQ(e.path().string().find(".~tmp"), std::string::npos) << e.path();
    }
}

}  // namespace
}  // namespace corvan
