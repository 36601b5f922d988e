#pragma once
// "Copy to Clipboard": the page on show as a picture, SVG and PNG at once,
// so that drawing programs take the lines and the rest take the pixels.

#include <QSize>
#include <functional>
#include <vector>

#include "graphs/chart_description.h"

class QPainter;
class QWidget;

namespace corvan {

inline constexpr const char* kSvgMimeType = "image/svg+xml";

// Paints `paint` at `size` into an SVG and a PNG and puts both on the
// clipboard.
void CopyPictureToClipboard(QSize size, const std::function<void(QPainter&)>& paint);

// The graph page within `page` (the widget holding the panels and the chart
// area): the visible `panels` painted where they are, the charts painted by
// the renderer into `chartArea`'s place, zoom included.
void CopyGraphPage(QWidget& page, const std::vector<QWidget*>& panels, QWidget& chartArea,
                   const GraphPageDescription& view);

// A page painted whole, as it is on the screen (the tables and the summary).
void CopyWidget(QWidget& page);

}  // namespace corvan
