// What the tidal page shows: ellipse outlines, axis limits, summary lines.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/tidal_charts.h"
#include "analysis/tidal_tables.h"

namespace corvan {
namespace {

TEST(TidalTables, OutlineStartsAtPhaseAndTurnsInTheCurrentsSense) {
    for (double minor : {4.0, -4.0}) {
        CurrentConstituent c;
        c.constituent = FindConstituent("M2");
        c.major = 10;
        c.minor = minor;
        c.inclination = 30;
        const auto outline = EllipseOutline(c, 72);
        ASSERT_EQ(outline.size(), 73u);
        EXPECT_NEAR(outline[0].east, 10 * std::cos(30 * std::numbers::pi / 180), 1e-9);
        EXPECT_NEAR(outline[0].north, 5.0, 1e-9);
        EXPECT_NEAR(outline.back().east, outline[0].east, 1e-9);
        // Cross product of two successive steps: positive anticlockwise.
        const double cross = (outline[1].east - outline[0].east) * (outline[2].north - outline[1].north) -
                             (outline[1].north - outline[0].north) * (outline[2].east - outline[1].east);
        EXPECT_EQ(cross > 0, minor > 0);
        double longest = 0;
        for (const EllipsePoint& p : outline) longest = std::max(longest, std::hypot(p.east, p.north));
        EXPECT_NEAR(longest, 10.0, 1e-9);
        // The chart holds the outline and the phase line within its axes.
        const ChartDescription chart = EllipseChart(c, ",", true);
        ASSERT_TRUE(chart.line.has_value());
        EXPECT_DOUBLE_EQ(chart.left.maximum, 20.0);
        EXPECT_DOUBLE_EQ(chart.bottom.minimum, -20.0);
        EXPECT_NE(chart.modeCaption2.find(minor > 0 ? " anticlockwise" : " clockwise"), std::string::npos);
        EXPECT_NE(chart.modeCaption2.find("10,00 x " + std::string(minor > 0 ? "4,00" : "-4,00")), std::string::npos);
    }
    EXPECT_DOUBLE_EQ(EllipseAxisLimit(22.77), 50.0);
    EXPECT_DOUBLE_EQ(EllipseAxisLimit(9.0), 10.0);
    EXPECT_NEAR(EllipseAxisLimit(0.09), 0.1, 1e-12);
    EXPECT_NEAR(EllipseAxisLimit(0.03), 0.05, 1e-12);
    EXPECT_GT(EllipseAxisLimit(0.0), 0.0);
}

TEST(TidalTables, SummaryNamesAFewOfWhatIsLeftOutAndTablesUseTheSeparator) {
    TidalAnalysis a;
    a.recordDays = 12.5;
    a.validCount = 1700;
    a.hasCurrent = true;
    a.meanEast = 3.8;
    a.meanNorth = -1.33;
    a.varianceExplained = 0.992;
    for (const TidalConstituent& c : StandardConstituents()) a.leftOut.push_back(&c);
    CurrentConstituent m2;
    m2.constituent = FindConstituent("M2");
    m2.frequency = ConstituentFrequency(*m2.constituent);
    m2.major = 22.774;
    m2.minor = -0.001;
    m2.phase = 359.97;
    a.constituents.push_back(m2);
    const auto lines = TidalSummaryLines(a, ",");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Mean flow: east 3,80 cm/s, north -1,33 cm/s; the tide explains 99,2 % of the variance");
    EXPECT_NE(lines[2].find(" and " + std::to_string(StandardConstituents().size() - 8) + " more"), std::string::npos);
    EXPECT_EQ(lines[3], "Nodal corrections without the latitude-dependent satellites (no latitude)");
    a.latitude = -33.5;
    EXPECT_EQ(TidalSummaryLines(a, ",").back(), "Nodal corrections for latitude 33,50° S");
    const TextTable t = ConstituentTable(a, ",");
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0][2], "22,77");
    EXPECT_EQ(t.rows[0][3], "0,00");  // never "-0,00"
    EXPECT_EQ(t.rows[0][5], "0,0");   // 359.97 rounds to a full turn
    EXPECT_EQ(TableAsText(t).substr(0, 5), "Name\t");

    // The ellipses shown: the largest always, then only the significant.
    auto add = [&](const char* name, double major, double snr) {
        CurrentConstituent c;
        c.constituent = FindConstituent(name);
        c.major = major;
        c.snr = snr;
        a.constituents.push_back(c);
    };
    a.constituents.front().snr = 1.0;
    add("S2", 9.0, 0.5);
    add("K1", 3.0, 40.0);
    add("O1", 2.0, 3.0);
    add("N2", 1.0, 2.5);
    const auto main = MainConstituents(a, 3);
    ASSERT_EQ(main.size(), 3u);
    EXPECT_EQ(main[0]->constituent->name, "M2");
    EXPECT_EQ(main[1]->constituent->name, "K1");
    EXPECT_EQ(main[2]->constituent->name, "O1");
}

}  // namespace
}  // namespace corvan
