#include "graphs/gui/colour_values.h"

#include <QApplication>
#include <QPalette>

namespace corvan {

std::uint32_t ButtonFaceRgb() {
    const QColor c = QApplication::palette().color(QPalette::Button);
    return static_cast<std::uint32_t>(RgbColour(c.red(), c.green(), c.blue()));
}

QColor ToQColor(ColourValue colour) {
    const std::uint32_t rgb = ColourRgb(colour, ButtonFaceRgb());
    return QColor(ColourRed(rgb), ColourGreen(rgb), ColourBlue(rgb));
}

ColourValue FromQColor(const QColor& colour) { return RgbColour(colour.red(), colour.green(), colour.blue()); }

}  // namespace corvan
