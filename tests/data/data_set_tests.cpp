// The data set's channels, times and derived quantities.

#include <gtest/gtest.h>

#include <cmath>

#include "data/data_set.h"

namespace corvan {
namespace {

TEST(Channels, PredicatesFollowTheInstrumentType) {
    MeasurementFileHeader h;
    struct Row {
        int type, kind;
        bool temp, current, optional, oxygen, flux, positions;
    };
    const Row rows[] = {
        {0, 0, true, true, false, false, false, false},     {1, 1, true, true, false, false, false, false},
        {2, 0, true, false, false, false, false, true},     {3, 1, true, true, true, true, false, false},
        {3, 2, true, true, true, false, true, false},       {3, 3, true, true, true, false, true, false},
        {3, 4, true, true, true, false, false, false},      {4, 0, true, false, false, false, false, false},
        {12, 0, true, true, false, false, false, false},    {13, 0, false, false, false, false, false, false},
        {255, 1, false, false, false, false, false, false},
    };
    for (const Row& r : rows) {
        h.instrumentType = static_cast<std::uint8_t>(r.type);
        h.sensorKind = static_cast<std::uint8_t>(r.kind);
        EXPECT_EQ(HasTemperature(h), r.temp) << r.type;
        EXPECT_EQ(HasCurrent(h), r.current) << r.type;
        EXPECT_EQ(HasOptional(h), r.optional) << r.type;
        EXPECT_EQ(HasOxygen(h), r.oxygen) << r.type << "/" << r.kind;
        EXPECT_EQ(HasFlux(h), r.flux) << r.type << "/" << r.kind;
        EXPECT_EQ(HasPositions(h), r.positions) << r.type;
    }
    EXPECT_EQ(InstrumentTypeName(2), "CorvanGPS");
    EXPECT_EQ(InstrumentTypeName(9), "Tarsen Wendal - 600kHz");
    EXPECT_EQ(InstrumentTypeShortName(11), "ORL - 2MHz");
    EXPECT_EQ(InstrumentTypeShortName(12), "Tarsen");
}

TEST(Channels, DescriptorChoiceFollowsTypeAndKindAndKeepsUnknownKinds) {
    DataSet d;
    d.header.instrumentType = 3;
    d.header.sensorKind = 3;
    SelectChannelDescriptors(d);
    EXPECT_STREQ(d.OptionalChannel().longName, "Fluorescence");
    EXPECT_STREQ(d.FluxChannel().longName, "v * Fluorescence");
    d.header.sensorKind = 9;  // unknown: the previous choice stays
    SelectChannelDescriptors(d);
    EXPECT_STREQ(d.OptionalChannel().longName, "Fluorescence");
    d.header.sensorKind = 4;
    SelectChannelDescriptors(d);
    EXPECT_STREQ(d.OptionalChannel().longName, "Conductivity");
    EXPECT_STREQ(d.FluxChannel().longName, "v * Turbidity");
    d.header.sensorKind = 2;
    SelectChannelDescriptors(d);
    EXPECT_STREQ(d.OptionalChannel().shortName, "T (FTU)");
    d.header.sensorKind = 3;
    SelectChannelDescriptors(d);
    d.header.instrumentType = 0;
    SelectChannelDescriptors(d);
    EXPECT_STREQ(d.OptionalChannel().longName, "Ox Sat");
    EXPECT_STREQ(d.FluxChannel().longName, "v * Turbidity");
}

TEST(Times, RecordTimesCountFromOneIntervalAfterTheStoredStart) {
    DataSet d;
    d.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 0, -1.0f};
    d.series[1] = SeriesHeader{100, 59, 12, 31, 23, 50, 600, 0, -1.0f};
    d.series[2] = SeriesHeader{200, 60, 2, 30, 0, 0, 60, 0, -1.0f};  // no such day
    d.seriesCount = 3;
    d.header.count = 300;
    EXPECT_EQ(RecordTime(d, 0, 1).Iso(), "1997-02-25T12:10:00");
    EXPECT_EQ(RecordTime(d, 5, 1).Iso(), "1997-02-25T13:00:00");
    EXPECT_EQ(SeriesStart(d, 2).Iso(), "2059-12-31T23:50:00");
    EXPECT_EQ(RecordTime(d, 100, 2).Iso(), "2060-01-01T00:00:00");
    EXPECT_EQ(SeriesStart(d, 3).Iso(), "1900-01-01T00:00:00");
    EXPECT_EQ(TwoDigitYear(59), 2059);
    EXPECT_EQ(TwoDigitYear(60), 1960);
    EXPECT_EQ(TwoDigitYear(0), 2000);
    d.currentSeries = 2;
    EXPECT_EQ(OffsetInCurrentSeries(d, 100), 600);
    EXPECT_EQ(OffsetInCurrentSeries(d, 109), 6000);
    // Leap days.
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_EQ(DateTime::FromCivil({1899, 12, 30, 0, 0, 0})->Seconds(), 0);
    EXPECT_EQ(DateTime::FromCivil({1899, 12, 29, 23, 0, 0})->ToCivil().hour, 23);
    // Times of a damaged header stay on the calendar.
    EXPECT_EQ(DateTime::FromSeconds(INT64_MAX / 2).ToCivil().year, 9999);
    EXPECT_EQ(DateTime::FromSeconds(-INT64_MAX / 2).ToCivil().year, 1);
}

TEST(Times, TypedTimesAreReadInFullOrRefused) {
    EXPECT_EQ(ParseDateTime("2014-05-01")->Iso(), "2014-05-01T00:00:00");
    EXPECT_EQ(ParseDateTime("2014-05-01 06:30")->Iso(), "2014-05-01T06:30:00");
    EXPECT_EQ(ParseDateTime("2014-05-01T06:30")->Iso(), "2014-05-01T06:30:00");
    EXPECT_EQ(ParseDateTime("2000-02-29T23:59:59")->Iso(), "2000-02-29T23:59:59");
    for (const char* bad :
         {"", "2014-5-01", "2014-05-01 6:30", "2014-05-01 06:30:", "2014-05-01T06:30Z", "2014-05-01 06", "1900-02-29",
          "2014-05-01 24:00", "2014/05/01", " 2014-05-01", "2014-05-01 06:30:00 "}) {
        EXPECT_EQ(ParseDateTime(bad), std::nullopt) << bad;
    }
}

TEST(Series, RecordsBelongToTheLastSeriesStartedAndTheCursorMarksStarts) {
    DataSet d;
    d.header.count = 300;
    d.series[0].first = 0;
    d.series[1].first = 100;
    d.series[2].first = 200;
    d.seriesCount = 3;
    EXPECT_EQ(d.SeriesOfRecord(99), 1);
    EXPECT_EQ(d.SeriesOfRecord(100), 2);
    EXPECT_EQ(d.SeriesLast(1), 99);
    EXPECT_EQ(d.SeriesLast(3), 299);

    SeriesCursor c(d, 98);
    EXPECT_FALSE(c.Advance(98));
    EXPECT_EQ(c.Series(), 1);
    EXPECT_FALSE(c.Advance(99));
    EXPECT_TRUE(c.Advance(100));
    EXPECT_EQ(c.Series(), 2);
    SeriesCursor atStart(d, 100);
    EXPECT_TRUE(atStart.Advance(100));
    EXPECT_EQ(atStart.Series(), 2);
    SeriesCursor fromZero(d, 0);
    EXPECT_EQ(fromZero.Series(), 0);
    EXPECT_TRUE(fromZero.Advance(0));
    EXPECT_EQ(fromZero.Series(), 1);

    // Two series starting at one record: the cursor passes both.
    d.series[1].first = 200;
    SeriesCursor twice(d, 150);
    EXPECT_TRUE(twice.Advance(200));
    EXPECT_EQ(twice.Series(), 3);
}

TEST(Derived, OxygenFollowsTheSolubilityAndTheSeriesSalinity) {
    EXPECT_NEAR(OxygenMgLWithSalinity(0.0, 10.0, 100.0), 11.29, 0.01);
    EXPECT_NEAR(OxygenMgLWithSalinity(0.0, 10.0, 50.0), 11.29 / 2, 0.01);
    DataSet d;
    d.series[0].salinity = -1.0f;
    d.series[1].salinity = 0.0f;
    EXPECT_DOUBLE_EQ(OxygenMgL(d, 1, 10.0, 100.0), OxygenMgLWithSalinity(32.0, 10.0, 100.0));
    EXPECT_DOUBLE_EQ(OxygenMgL(d, 2, 10.0, 100.0), OxygenMgLWithSalinity(0.0, 10.0, 100.0));
    EXPECT_LT(OxygenMgL(d, 1, 10.0, 100.0), OxygenMgL(d, 2, 10.0, 100.0));
    EXPECT_NEAR(DirectionDegrees(static_cast<float>(M_PI)), 180.0, 1e-4);
    EXPECT_TRUE(IsValid(-998.9f));
    EXPECT_FALSE(IsValid(-999.0f));
    const DegreesMinutes dm = SplitMinutesOfArc(3545.5);
    EXPECT_EQ(dm.degrees, 59);
    EXPECT_NEAR(dm.minutes, 5.5, 1e-9);
}

TEST(Texts, PaddingAndExtensions) {
    EXPECT_EQ(PadWithZeros("-5", 4), "-005");
    EXPECT_EQ(PadWithZeros("7", 3), "007");
    EXPECT_EQ(PadWithZeros("1234", 3), "1234");
    EXPECT_EQ(PadWithZeros("-12", 3), "-12");
    EXPECT_EQ(StripExtension("C:\\data\\buoy3.CVN"), "C:\\data\\buoy3");
    EXPECT_EQ(StripExtension("/data/buoy.north/file"), "/data/buoy.north/file");
    EXPECT_EQ(StripExtension("/data/buoy.north.cvn"), "/data/buoy.north");
    EXPECT_EQ(StripExtension("plain"), "plain");
}

}  // namespace
}  // namespace corvan
