// The main window's rules, without a window.

#include <gtest/gtest.h>

#include "ui/window_rules.h"

namespace corvan {
namespace {

DataSet& Loaded(DataSet& d, int type, int kind) {
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    d.header.sensorKind = static_cast<std::uint8_t>(kind);
    d.dataLoaded = true;
    d.baseName = "/data/buoy3";
    SelectChannelDescriptors(d);
    return d;
}

TEST(Commands, FollowTheFileChannels) {
    DataSet d;
    CommandStates s = CommandsForFile(d);
    EXPECT_FALSE(s.fileCommands);
    EXPECT_FALSE(s.current);

    s = CommandsForFile(Loaded(d, 4, 0));
    EXPECT_TRUE(s.fileCommands);
    EXPECT_FALSE(s.current);
    EXPECT_FALSE(s.optionalShown);
    EXPECT_EQ(LineToolChannel(0, d.header), 2);  // the line button shows temperature
    EXPECT_TRUE(LineItemAccepted(2, d.header));
    EXPECT_FALSE(LineItemAccepted(0, d.header));

    s = CommandsForFile(Loaded(d, 3, 2));
    EXPECT_TRUE(s.current);
    EXPECT_TRUE(s.optionalShown);
    EXPECT_EQ(s.optionalCaption, "Turbidity");
    EXPECT_TRUE(s.fluxShown);
    EXPECT_FALSE(s.oxygenShown);
    EXPECT_FALSE(s.updateSalinity);
    EXPECT_EQ(LineToolChannel(4, d.header), 4);

    s = CommandsForFile(Loaded(d, 3, 1));
    EXPECT_TRUE(s.oxygenShown);
    EXPECT_FALSE(s.fluxShown);
    EXPECT_TRUE(s.updateSalinity);
    EXPECT_EQ(s.optionalCaption, "Ox Sat");
    EXPECT_EQ(LineToolChannel(4, d.header), 2);

    s = CommandsForFile(Loaded(d, 2, 0));
    EXPECT_FALSE(s.current);
    EXPECT_EQ(LineToolChannel(1, d.header), 2);
    s = CommandsForFile(Loaded(d, 0, 0));
    EXPECT_TRUE(s.current);
    EXPECT_EQ(LineToolChannel(3, d.header), 2);
    EXPECT_EQ(LineToolChannel(1, d.header), 1);
}

TEST(Caption, NamesTypeAndBase) {
    DataSet d;
    EXPECT_EQ(WindowCaption("Corvan", d), "Corvan");
    Loaded(d, 2, 0);
    EXPECT_EQ(WindowCaption("Corvan", d), "CorvanGPS - /data/buoy3");
    EXPECT_EQ(WindowCaption("Survey", d), "Survey - CorvanGPS - /data/buoy3");
}

TEST(WindowCaption, ProgramTitleFromTheInternalName) {
    EXPECT_EQ(ProgramTitleFromInternalName("Survey", "Corvan"), "Survey");
    EXPECT_EQ(ProgramTitleFromInternalName("  ", "Corvan"), "Corvan");
    EXPECT_EQ(ProgramTitleFromInternalName("A very long internal name", "Corvan"), "A very long internal");
    // Twenty characters, not twenty bytes.
    EXPECT_EQ(ProgramTitleFromInternalName("\u00C5lesund current meter suite", "Corvan"), "\u00C5lesund current mete");
}

TEST(ViewTitles, PerViewAndChannel) {
    DataSet d;
    Loaded(d, 3, 3);
    ViewState v;
    EXPECT_EQ(ViewTitle(v, d), "");
    v.page = kPageViews;
    v.innerPage = kInnerTable;
    EXPECT_EQ(ViewTitle(v, d), "CURRENT SPEED / DIRECTION MATRIX");
    v.innerPage = kInnerSummary;
    EXPECT_EQ(ViewTitle(v, d), "STATISTICAL SUMMARY");
    v.innerPage = kInnerChart;
    v.graphMode = kGraphBar;
    v.barKind = 6;
    EXPECT_EQ(ViewTitle(v, d), "OXYGEN FLUX BAR CHART");
    v.graphMode = kGraphLine;
    v.lineChannel = 3;
    EXPECT_EQ(ViewTitle(v, d), "FLUORESCENCE");
    v.lineChannel = 5;
    EXPECT_EQ(ViewTitle(v, d), "OXYGEN mg/l");
    v.lineChannel = 2;
    EXPECT_EQ(ViewTitle(v, d), "TEMPERATURE");
    Loaded(d, 7, 0);
    d.statisticsValid = true;
    EXPECT_EQ(ViewTitle(v, d), "TEMPERATURE AT CURRENT METER POSITION");
    v.graphMode = kGraphVector;
    v.vectorKind = 2;
    EXPECT_EQ(ViewTitle(v, d), "CURRENT VELOCITY DISTRIBUTION DIAGRAM");
    v.vectorKind = 3;
    EXPECT_EQ(ViewTitle(v, d), "STICK DIAGRAM");
}

}  // namespace
}  // namespace corvan
