// Columns and cell texts of the list view.

#include <gtest/gtest.h>

#include <limits>

#include "data/data_set.h"
#include "data/list_format.h"

namespace corvan {
namespace {

std::vector<std::string> Headers(const DataSet& d) {
    std::vector<std::string> h;
    for (const auto& c : RebuildListColumns(d)) h.push_back(c.header);
    return h;
}

TEST(ListColumns, FollowTheChannelsOfEachType) {
    DataSet d;
    d.header.instrumentType = 0;
    SelectChannelDescriptors(d);
    EXPECT_EQ(Headers(d), (std::vector<std::string>{"Ser", "Meas", "Temp", "Curr", "Dir", "Date", "Time"}));
    d.header.instrumentType = 2;
    EXPECT_EQ(Headers(d), (std::vector<std::string>{"Ser", "Meas", "Temp", "Lat", "Long", "Date", "Time"}));
    d.header.instrumentType = 3;
    d.header.sensorKind = 1;
    SelectChannelDescriptors(d);
    d.AllocateLRecords();
    EXPECT_EQ(Headers(d),
              (std::vector<std::string>{"Ser", "Meas", "Temp", "Ox %", "mg/l", "Curr", "Dir", "v.mg/l", "Date", "Time",
                                        "L-Temp", "L-Ox %", "L-mg/l", "L-Curr", "L-Dir", "L-v.mg/l"}));
    d.header.sensorKind = 3;
    SelectChannelDescriptors(d);
    const auto h = Headers(d);
    EXPECT_EQ(h[3], "F (\u00B5g/l)");
    EXPECT_EQ(h[6], "v.F");
    // Ten characters, though eleven bytes.
    EXPECT_EQ(h[10], "L-F (\u00B5g/l)");
    d.header.instrumentType = 13;  // only Ser, Meas, Date, Time: no L-columns
    EXPECT_EQ(Headers(d).size(), 4u);
}

TEST(ListCells, InvalidValuesShowDashesButKeepWhatIsValid) {
    DataSet d;
    d.header.instrumentType = 3;
    d.header.sensorKind = 2;
    d.header.count = 2;
    d.recordCount = 2;
    SelectChannelDescriptors(d);
    d.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 0, -1.0f};
    d.seriesCount = 1;
    d.records[0] = {-999.0f, 1.5708f, -999.0f, 12.5f};
    d.records[1] = {20.0f, -1.0f, 7.256f, 50.0f};
    const auto cols = RebuildListColumns(d);
    SeriesCursor cursor(d, 0);
    std::vector<std::string> cells;
    bool starts = false;
    FormatListRow(d, cols, 0, cursor, cells, starts);
    EXPECT_TRUE(starts);
    // Ser Meas Temp T(FTU) Curr Dir v.T Date Time
    EXPECT_EQ(cells[0], "  1");
    EXPECT_EQ(cells[1], "   1");
    EXPECT_EQ(cells[2], "-    ");
    EXPECT_EQ(cells[3], "12.50");
    EXPECT_EQ(cells[4], "-  ");
    EXPECT_EQ(Trim(cells[5]), "90");
    EXPECT_EQ(Trim(cells[6]), "-");
    EXPECT_EQ(cells[7], "25.Feb-97");
    EXPECT_EQ(cells[8], "12:10");
    FormatListRow(d, cols, 1, cursor, cells, starts);
    EXPECT_FALSE(starts);
    EXPECT_EQ(Trim(cells[2]), "7.26");
    EXPECT_EQ(Trim(cells[5]), "-");
    EXPECT_EQ(Trim(cells[6]), "10.00");
    EXPECT_EQ(cells[8], "12:20");
}

TEST(ListCells, PositionsInDegreesAndMinutes) {
    EXPECT_EQ(FormatPosition(3545.5), "59\u00B005.5'");
    EXPECT_EQ(FormatPosition(-3545.5), "-59\u00B005.5'");
    EXPECT_EQ(FormatPosition(-30.0), "-0\u00B030.0'");
    EXPECT_EQ(FormatPosition(659.96), "11\u00B000.0'");
    EXPECT_EQ(FormatPosition(0.0), "0\u00B000.0'");
    DataSet d;
    d.header.instrumentType = 2;
    d.header.count = 1;
    d.records[0] = {kNoPosition, 600.0f, 5.0f, 0.0f};
    const auto cols = RebuildListColumns(d);
    EXPECT_EQ(FormatListCell(d, cols[3], 0, 1), "-");
    EXPECT_EQ(FormatListCell(d, cols[4], 0, 1), "10\u00B000.0'");
}

// Whatever a damaged file holds, a cell gets a text; no value reaches an
// integer conversion it does not fit.
TEST(ListCells, ValuesOfADamagedFileStillGetATextOfTheirOwn) {
    for (double v : {5e33, -5e33, 1e9, -1e9, std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(FormatPosition(v), "-") << v;
    }
    EXPECT_EQ(FormatPosition(-9.9e8), "-16500000\u00B000.0'");

    DataSet d;
    d.header.instrumentType = 2;
    d.header.count = 2;
    d.records[0] = {-3.4e38f, std::numeric_limits<float>::quiet_NaN(), 5.0f, 0.0f};
    d.records[1] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 5.0f, 0.0f};
    const auto cols = RebuildListColumns(d);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(FormatListCell(d, cols[3], i, 1), "-");
        EXPECT_EQ(FormatListCell(d, cols[4], i, 1), "-");
    }
    // The largest finite values keep every digit.
    EXPECT_EQ(FormatFixed(1e300, 8, 2).size(), 304u);
}

TEST(ListCells, LColumnsTestTheCompanionValues) {
    DataSet d;
    d.header.instrumentType = 3;
    d.header.sensorKind = 1;
    d.header.count = 1;
    SelectChannelDescriptors(d);
    d.AllocateLRecords();
    d.series[0] = SeriesHeader{0, 24, 1, 1, 0, 0, 600, 0, 0.0f};
    d.seriesCount = 1;
    d.records[0] = {10.0f, 0.0f, 10.0f, 100.0f};
    d.lRecords[0] = {-999.0f, 9.5e9f, 10.0f, 100.0f};
    const auto cols = RebuildListColumns(d);
    std::vector<std::string> t;
    for (const auto& c : cols) t.push_back(Trim(FormatListCell(d, c, 0, 1)));
    // Temp Ox% mg/l Curr Dir v.mg/l | L-Temp L-Ox% L-mg/l L-Curr L-Dir L-v.mg/l
    EXPECT_EQ(t[4], "11.29");
    EXPECT_EQ(t[7], "1.13");
    EXPECT_EQ(t[10], "10.00");
    EXPECT_EQ(t[12], "11.29");
    EXPECT_EQ(t[13], "-");
    EXPECT_EQ(t[14], "-");
    EXPECT_EQ(t[15], "-");
}

}  // namespace
}  // namespace corvan

#ifndef _WIN32
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace corvan {
namespace {

// The desktop runs with the user's locale; the list keeps its point.
TEST(ListCells, NumbersKeepTheirPointInACommaLocale) {
    testing::TempDir dir;
    const std::string folder = dir.Path("locales");
    std::filesystem::create_directory(folder);
    const std::string cmd = "localedef -c -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 && !std::filesystem::exists(folder + "/de_DE.UTF-8")) {
        GTEST_SKIP() << "localedef cannot build a comma locale here";
    }
    setenv("LOCPATH", folder.c_str(), 1);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "the comma locale does not load";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the C library itself now writes a comma
    EXPECT_EQ(FormatFixed(1.5, 6, 2), "  1.50");
    EXPECT_EQ(FormatPosition(3545.5), "59\u00B005.5'");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
}

}  // namespace
}  // namespace corvan
#endif
