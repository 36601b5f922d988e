#include "graphs/graph_settings.h"

namespace corvan {

bool IsSystemColour(ColourValue colour) { return (static_cast<std::uint32_t>(colour) & 0x80000000u) != 0; }

std::uint32_t ColourRgb(ColourValue colour, std::uint32_t buttonFaceRgb) {
    if (IsSystemColour(colour)) return buttonFaceRgb & 0x00FFFFFFu;
    return static_cast<std::uint32_t>(colour) & 0x00FFFFFFu;
}

ColourValue RgbColour(int red, int green, int blue) {
    return static_cast<ColourValue>((static_cast<std::uint32_t>(blue & 0xFF) << 16) |
                                    (static_cast<std::uint32_t>(green & 0xFF) << 8) |
                                    static_cast<std::uint32_t>(red & 0xFF));
}

int ColourRed(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFFu); }
int ColourGreen(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFFu); }
int ColourBlue(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFFu); }

GraphSettings LoadGraphSettings(const SettingsAccess& store) {
    GraphSettings g;
    g.legendColour = store.ReadInteger(kColorsSection, kLegendIdent, kButtonFaceColour);
    g.backgroundColour = store.ReadInteger(kColorsSection, kBackgroundIdent, kButtonFaceColour);
    g.lineColour = store.ReadInteger(kColorsSection, kLineIdent, kDefaultLineColour);
    g.barColour = store.ReadInteger(kColorsSection, kBarIdent, kDefaultBarColour);
    g.dateGridVisible = store.ReadBool(kChartSection, kDateGridIdent, false);
    return g;
}

void SaveGraphSettings(const GraphSettings& settings, SettingsAccess& store) {
    store.WriteInteger(kColorsSection, kLegendIdent, settings.legendColour);
    store.WriteInteger(kColorsSection, kBackgroundIdent, settings.backgroundColour);
    store.WriteInteger(kColorsSection, kLineIdent, settings.lineColour);
    store.WriteInteger(kColorsSection, kBarIdent, settings.barColour);
    store.WriteBool(kChartSection, kDateGridIdent, settings.dateGridVisible);
}

GraphSettings DefaultGraphSettings(bool drawSolidLines) {
    GraphSettings g;
    g.drawSolidLines = drawSolidLines;
    return g;
}

AppliedColours ApplyColours(ColourValue legend, ColourValue background, bool solid, ColourValue bar, ColourValue line,
                            std::uint32_t buttonFaceRgb) {
    if (!IsSystemColour(legend) && static_cast<std::uint32_t>(legend) == (buttonFaceRgb & 0x00FFFFFFu))
        legend = kButtonFaceColour;
    AppliedColours a;
    a.panel = legend;
    a.raisedPanels = legend == kButtonFaceColour;
    a.chartBackground = background;
    a.markersVisible = !solid;
    a.markerBrush = line;
    a.seriesLine = solid ? line : legend;
    a.polar = line;
    a.bar = bar;
    return a;
}

}  // namespace corvan
