// Tarsen text exports made in the test: header keywords, companion columns,
// the records and series header they give, and the written set.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "data/ascii_import.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "data/measurement_files.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::TempDir;

const DateTime kNow = *DateTime::FromCivil({2026, 5, 6, 7, 8, 9});

AsciiHeader Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseAsciiHeader(in, kNow);
}

void WriteText(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

// A header laid out as the instruments' software writes it: keyword,
// then the value from its fixed column.
std::string HeaderText(int measurements, int cells, const std::string& first = "14/03/2024 12:10:00") {
    return "[ a line before ]\r\n"
           "Number of measurements " +
           std::to_string(measurements) +
           "\r\n"
           "Profile interval 600 sec\r\n"
           "Number of cells " +
           std::to_string(cells) +
           "\r\n"
           "Cell size 1.00 m\r\n"
           "Time of first measurement" +
           std::string(" ") + first + "\r\n";
}

TEST(AsciiHeader, KeywordsColumnsAndDefaults) {
    AsciiHeader h = Parse(HeaderText(120, 25));
    EXPECT_EQ(h.measurements, 120);
    EXPECT_EQ(h.interval, 600);
    EXPECT_EQ(h.cells, 25);
    EXPECT_EQ(h.cellSize, "1.00 m");
    EXPECT_EQ(h.firstMeasurement, *DateTime::FromCivil({2024, 3, 14, 12, 10, 0}));
    EXPECT_TRUE(h.error.empty());

    // Nothing recognised: the defaults, the time of the machine.
    h = Parse("nothing here\n");
    EXPECT_EQ(h.measurements, 0);
    EXPECT_EQ(h.interval, 1);
    EXPECT_EQ(h.cells, 0);
    EXPECT_EQ(h.cellSize, "0");
    EXPECT_EQ(h.firstMeasurement, kNow);

    // Keywords may stand anywhere but "Cell size", which must open the line;
    // the value still starts at its fixed column.
    h = Parse("xNumber of cells  7\n  Cell size 9\nCell size 2.5\n");
    EXPECT_EQ(h.cells, 0) << "the column falls inside the keyword when it is shifted";
    EXPECT_EQ(h.cellSize, "2.5");
    h = Parse("Number of cells      7  \n");
    EXPECT_EQ(h.cells, 7);
    h = Parse("Nr.Number of cells 7\n");
    EXPECT_EQ(h.cells, 0) << "recognised, but column 16 holds no number";
}

TEST(AsciiHeader, DateFieldsTakeTheirDefaultsOneByOne) {
    // Unreadable month and seconds: month 1, second 0.
    AsciiHeader h = Parse(HeaderText(1, 1, "09/xx/2023 05:06:yy"));
    EXPECT_EQ(h.firstMeasurement, *DateTime::FromCivil({2023, 1, 9, 5, 6, 0}));
    // A value cut after the date: time of day 0.
    h = Parse(HeaderText(1, 1, "28/02/2021"));
    EXPECT_EQ(h.firstMeasurement, *DateTime::FromCivil({2021, 2, 28, 0, 0, 0}));
    // Nothing readable: 1 January 2000.
    h = Parse(HeaderText(1, 1, "--"));
    EXPECT_EQ(h.firstMeasurement, *DateTime::FromCivil({2000, 1, 1, 0, 0, 0}));
    // A day that is not on the calendar refuses the header instead of
    // inventing a date.
    h = Parse(HeaderText(1, 1, "31/02/2021 00:00:00"));
    EXPECT_FALSE(h.error.empty());
    EXPECT_FALSE(AsciiCellRefusal(h, 1).empty());
}

TEST(AsciiHeader, StopLineOnlyOnceCellsAreKnown) {
    const std::string dashes = "-------------------\n";
    AsciiHeader h = Parse(dashes + "Number of cells 3\n" + dashes + "Number of measurements 99\n");
    EXPECT_EQ(h.cells, 3);
    EXPECT_EQ(h.measurements, 0);
}

TEST(CompanionValue, BlankRunsCommasAndBadValues) {
    EXPECT_DOUBLE_EQ(CompanionValue("  0.10   -0,25\t 3 ", 2), -0.25);
    EXPECT_DOUBLE_EQ(CompanionValue("  0.10   -0,25\t 3 ", 3), 3.0);
    EXPECT_DOUBLE_EQ(CompanionValue("1 2", 3), 0.0);
    EXPECT_DOUBLE_EQ(CompanionValue("1 abc 2", 2), 0.0);
    EXPECT_DOUBLE_EQ(CompanionValue("1 2.5x", 2), 0.0);
    EXPECT_DOUBLE_EQ(CompanionValue("", 1), 0.0);
    EXPECT_DOUBLE_EQ(CompanionValue("1e999 +4", 1), 0.0);
    EXPECT_DOUBLE_EQ(CompanionValue("1e999 +4", 2), 4.0);
}

class AsciiExport : public ::testing::Test {
protected:
    std::string hdr;
    void Make(int measurements, int cells, const std::string& v1, const std::string& v2, const std::string& sen) {
        hdr = dir.Path("moor1.hdr");
        WriteText(hdr, HeaderText(measurements, cells));
        WriteText(dir.Path("moor1.v1"), v1);
        WriteText(dir.Path("moor1.v2"), v2);
        WriteText(dir.Path("moor1.sen"), sen);
    }
    TempDir dir;
};

std::string SensorLine(const std::string& temperature) {
    std::string line;
    for (int c = 1; c < 15; ++c) line += " " + std::to_string(c * 100);
    return line + "   " + temperature + "\r\n";
}

TEST_F(AsciiExport, RecordsSeriesAndShortFiles) {
    // Cell 2; the third line of each file is missing.
    Make(3, 2, "9 0.3\r\n9 -0,1\r\n", "9 0.4\r\n9 0\r\n", SensorLine("12,5") + SensorLine("x"));
    const AsciiHeader h = ReadAsciiHeader(hdr, kNow);
    const AsciiImport im = ReadAsciiCell(hdr, h, 2);
    ASSERT_EQ(im.records.size(), 3u);
    EXPECT_NEAR(im.records[0].speed, 50.0, 1e-4);
    EXPECT_NEAR(im.records[0].direction, std::atan2(0.4, 0.3), 1e-6);
    EXPECT_FLOAT_EQ(im.records[0].temperature, 12.5f);
    // Pointing along -v1: pi, never negative.
    EXPECT_NEAR(im.records[1].speed, 10.0, 1e-4);
    EXPECT_NEAR(im.records[1].direction, std::numbers::pi, 1e-6);
    EXPECT_FLOAT_EQ(im.records[1].temperature, 0.0f);
    EXPECT_FLOAT_EQ(im.records[2].speed, 0.0f);
    EXPECT_FLOAT_EQ(im.records[2].direction, 0.0f);

    EXPECT_EQ(im.header.version, 4);
    EXPECT_EQ(im.header.instrumentType, 0);
    EXPECT_EQ(im.header.count, 3);
    // First measurement 14/03/2024 12:10:00, interval 600 s: start 12:00.
    EXPECT_EQ(im.series.first, 0);
    EXPECT_EQ(im.series.year, 24);
    EXPECT_EQ(im.series.month, 3);
    EXPECT_EQ(im.series.day, 14);
    EXPECT_EQ(im.series.hour, 12);
    EXPECT_EQ(im.series.minute, 0);
    EXPECT_EQ(im.series.interval, 600);
    EXPECT_FLOAT_EQ(im.series.salinity, 35.0f);

    // A negative direction gains a full turn.
    Make(1, 1, "0.0\n", "-1.0\n", SensorLine("1"));
    const AsciiImport west = ReadAsciiCell(hdr, ReadAsciiHeader(hdr, kNow), 1);
    EXPECT_NEAR(west.records[0].direction, 1.5 * std::numbers::pi, 1e-6);
}

TEST_F(AsciiExport, CountAboveTheFileLimitIsCut) {
    Make(40000, 1, "0.1\n", "0.1\n", "");
    const AsciiImport im = ReadAsciiCell(hdr, ReadAsciiHeader(hdr, kNow), 1);
    EXPECT_EQ(im.records.size(), static_cast<std::size_t>(kMaxRecords));
    EXPECT_EQ(im.header.count, kMaxRecords);
}

TEST_F(AsciiExport, MissingFilesNameThemselvesAndWriteNothing) {
    Make(2, 1, "1\n1\n", "1\n1\n", "");
    std::filesystem::remove(dir.Path("moor1.sen"));
    const AsciiHeader h = ReadAsciiHeader(hdr, kNow);
    try {
        ReadAsciiCell(hdr, h, 1);
        FAIL() << "a missing companion file must end the import";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), dir.Path("moor1.sen"));
    }
    EXPECT_THROW(ReadAsciiHeader(dir.Path("none.hdr"), kNow), FileError);
    EXPECT_FALSE(testing::Exists(dir.Path("1-moor1.CVN")));
}

TEST_F(AsciiExport, WrittenSetReadsBackAndReplacesWithBackups) {
    Make(2, 1, "0.3\n0.0\n", "0.4\n0.2\n", SensorLine("7") + SensorLine("8"));
    const AsciiImport im = ReadAsciiCell(hdr, ReadAsciiHeader(hdr, kNow), 1);
    EXPECT_EQ(ProposedAsciiFileName(hdr, 1), "1-moor1.CVN");
    const std::string base = dir.Path("1-moor1");
    WriteText(base + ".LN6", "stale");
    WriteAsciiImport(im, base);
    WriteAsciiImport(im, base);
    EXPECT_TRUE(testing::Exists(base + ".~CVN"));
    EXPECT_TRUE(testing::Exists(base + ".~RF6"));
    EXPECT_FALSE(testing::Exists(base + ".LN6")) << "another set's companion file must not pair with these records";

    DataSet data;
    data.baseName = base;
    LoadMeasurementFiles(data);
    ASSERT_TRUE(data.dataLoaded);
    EXPECT_EQ(data.HeaderCount(), 2);
    EXPECT_NEAR(data.records[1].speed, 20.0, 1e-4);
    EXPECT_FLOAT_EQ(data.records[1].temperature, 8.0f);
    EXPECT_FLOAT_EQ(data.series[0].salinity, 35.0f);

    DataSet shown;
    shown.series[3].interval = 77;
    AdoptAsciiImport(shown, im, base);
    EXPECT_TRUE(shown.dataLoaded);
    EXPECT_EQ(shown.SeriesCount(), 1);
    EXPECT_EQ(shown.rangeFirst, 0);
    EXPECT_EQ(shown.rangeLast, 1);
    EXPECT_EQ(shown.currentSeries, 1);
    EXPECT_EQ(shown.series[3].interval, 0);
}

}  // namespace
}  // namespace corvan
