#pragma once
// Colour values of the settings store on screen: the system button face is
// the palette's button colour.

#include <QColor>

#include "graphs/graph_settings.h"

namespace corvan {

std::uint32_t ButtonFaceRgb();
QColor ToQColor(ColourValue colour);
ColourValue FromQColor(const QColor& colour);

}  // namespace corvan
