#include "graphs/graph_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace corvan {
namespace {

constexpr std::uint32_t kGreyFace = 0x00F0F0F0;

TEST(GraphSettings, DefaultsWhenTheStoreIsEmpty) {
    MemorySettings store;
    const GraphSettings g = LoadGraphSettings(store);
    EXPECT_EQ(g.legendColour, -2147483633);
    EXPECT_EQ(g.backgroundColour, -2147483633);
    EXPECT_EQ(g.lineColour, 255);
    EXPECT_EQ(g.barColour, 16711680);
    EXPECT_FALSE(g.dateGridVisible);
    EXPECT_TRUE(g.drawSolidLines);
}

TEST(GraphSettings, SavedAsIntegersAndABooleanAndReadBack) {
    MemorySettings store;
    GraphSettings g;
    g.legendColour = RgbColour(0x10, 0x20, 0x30);
    g.lineColour = RgbColour(0, 128, 0);
    g.dateGridVisible = true;
    g.drawSolidLines = false;
    SaveGraphSettings(g, store);
    EXPECT_EQ(store.ReadString("Colors", "Legend", ""), std::to_string(0x302010));
    EXPECT_EQ(store.ReadString("Colors", "Background", ""), "-2147483633");
    EXPECT_EQ(store.ReadString("Colors", "Line", ""), std::to_string(0x008000));
    EXPECT_EQ(store.ReadString("Colors", "Bar", ""), "16711680");
    EXPECT_TRUE(store.ReadBool("Chart", "DateGridVisible", false));
    EXPECT_FALSE(store.Contains("Chart", "DrawSolid"));
    const GraphSettings back = LoadGraphSettings(store);
    EXPECT_EQ(back.legendColour, g.legendColour);
    EXPECT_TRUE(back.dateGridVisible);
    EXPECT_TRUE(back.drawSolidLines);  // never stored
}

TEST(GraphSettings, DefaultButtonKeepsTheLineStyle) {
    EXPECT_FALSE(DefaultGraphSettings(false).drawSolidLines);
    const GraphSettings d = DefaultGraphSettings(true);
    EXPECT_EQ(d.legendColour, kButtonFaceColour);
    EXPECT_EQ(d.barColour, kDefaultBarColour);
    EXPECT_FALSE(d.dateGridVisible);
}

TEST(GraphSettings, ColourValues) {
    EXPECT_EQ(ColourRgb(kButtonFaceColour, kGreyFace), kGreyFace);
    EXPECT_EQ(ColourRgb(255, kGreyFace), 0xFFu);
    EXPECT_TRUE(IsSystemColour(kButtonFaceColour));
    EXPECT_FALSE(IsSystemColour(kDefaultBarColour));
    EXPECT_EQ(ColourBlue(ColourRgb(kDefaultBarColour, kGreyFace)), 255);
    EXPECT_EQ(ColourRed(ColourRgb(kDefaultLineColour, kGreyFace)), 255);
}

TEST(ApplyColours, ButtonFaceRgbBecomesTheSystemColourWithRaisedPanels) {
    const ColourValue faceRgb = static_cast<ColourValue>(kGreyFace);
    AppliedColours a = ApplyColours(faceRgb, 0x00FFFFFF, true, kDefaultBarColour, kDefaultLineColour, kGreyFace);
    EXPECT_EQ(a.panel, kButtonFaceColour);
    EXPECT_TRUE(a.raisedPanels);
    a = ApplyColours(kButtonFaceColour, 0x00FFFFFF, true, kDefaultBarColour, kDefaultLineColour, kGreyFace);
    EXPECT_TRUE(a.raisedPanels);
    a = ApplyColours(0x00F0F0F1, 0x00FFFFFF, true, kDefaultBarColour, kDefaultLineColour, kGreyFace);
    EXPECT_EQ(a.panel, 0x00F0F0F1);
    EXPECT_FALSE(a.raisedPanels);
    EXPECT_EQ(a.chartBackground, 0x00FFFFFF);
}

TEST(ApplyColours, SolidOrMarkerLines) {
    const ColourValue legend = 0x00C0FFFF;
    AppliedColours a = ApplyColours(legend, kButtonFaceColour, true, 0x0000FF00, 0x00000080, kGreyFace);
    EXPECT_FALSE(a.markersVisible);
    EXPECT_EQ(a.seriesLine, 0x00000080);
    EXPECT_EQ(a.markerBrush, 0x00000080);
    EXPECT_EQ(a.polar, 0x00000080);
    EXPECT_EQ(a.bar, 0x0000FF00);
    a = ApplyColours(legend, kButtonFaceColour, false, 0x0000FF00, 0x00000080, kGreyFace);
    EXPECT_TRUE(a.markersVisible);
    EXPECT_EQ(a.markerBrush, 0x00000080);
    EXPECT_EQ(a.seriesLine, legend);
}

}  // namespace
}  // namespace corvan
