#pragma once
// Colours, date grid and line style of the graphs, their defaults, their
// place in the settings store, and how the colours are handed to the panels,
// charts and series.

#include <cstdint>

#include "graphs/settings_access.h"

namespace corvan {

// A 32-bit colour as the settings store keeps it: 0x00BBGGRR for an RGB
// colour, 0x800000nn for system colour nn.
using ColourValue = std::int32_t;
inline constexpr ColourValue kSystemColourFlag = static_cast<ColourValue>(0x80000000u);
inline constexpr ColourValue kButtonFaceColour = static_cast<ColourValue>(0x8000000Fu);
inline constexpr ColourValue kDefaultLineColour = 0x000000FF;  // red
inline constexpr ColourValue kDefaultBarColour = 0x00FF0000;   // blue

inline constexpr const char* kColorsSection = "Colors";
inline constexpr const char* kChartSection = "Chart";
inline constexpr const char* kLegendIdent = "Legend";
inline constexpr const char* kBackgroundIdent = "Background";
inline constexpr const char* kLineIdent = "Line";
inline constexpr const char* kBarIdent = "Bar";
inline constexpr const char* kDateGridIdent = "DateGridVisible";

struct GraphSettings {
    ColourValue legendColour = kButtonFaceColour;
    ColourValue backgroundColour = kButtonFaceColour;
    ColourValue lineColour = kDefaultLineColour;
    ColourValue barColour = kDefaultBarColour;
    bool dateGridVisible = false;
    bool drawSolidLines = true;  // not stored: every start draws solid lines
};

bool IsSystemColour(ColourValue colour);
// 0x00BBGGRR of a colour value; every system colour is shown as the button
// face, the only one the settings ever hold.
std::uint32_t ColourRgb(ColourValue colour, std::uint32_t buttonFaceRgb);
ColourValue RgbColour(int red, int green, int blue);
int ColourRed(std::uint32_t rgb);
int ColourGreen(std::uint32_t rgb);
int ColourBlue(std::uint32_t rgb);

// The settings of a start: stored values, defaults where absent.
GraphSettings LoadGraphSettings(const SettingsAccess& store);
// Writes the four colours and the date grid (the OK of the graph settings
// dialog); the line style is not stored.
void SaveGraphSettings(const GraphSettings& settings, SettingsAccess& store);
// The swatches after "&Default": the line style stays.
GraphSettings DefaultGraphSettings(bool drawSolidLines);

// What applying the colours sets on panels, charts and series.
struct AppliedColours {
    ColourValue panel = kButtonFaceColour;            // Panel1, Panel3, Panel4, fixed grid cells
    bool raisedPanels = true;                         // raised outer bevel on the three panels
    ColourValue chartBackground = kButtonFaceColour;  // Chart1, Chart2
    bool markersVisible = false;                      // point markers of the line series
    ColourValue markerBrush = kDefaultLineColour;
    ColourValue seriesLine = kDefaultLineColour;  // pen of the line series
    ColourValue polar = kDefaultLineColour;       // the three polar series
    ColourValue bar = kDefaultBarColour;          // the bar series, screen and print
};

// A legend colour that is exactly the button face's RGB is taken as the
// system colour itself, so it follows the system and keeps raised panels.
// Marker-only lines take the legend colour for the connecting line, which
// makes the points stand out.
AppliedColours ApplyColours(ColourValue legend, ColourValue background, bool solid, ColourValue bar, ColourValue line,
                            std::uint32_t buttonFaceRgb);

}  // namespace corvan
