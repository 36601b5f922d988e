#include "ui/tab_list.h"

#include <QFontMetrics>

namespace corvan {

void TTabList::DrawTabbed(QPainter& painter, const QRect& rect, const QString& text) const {
    painter.fillRect(rect, painter.brush());
    const QFontMetrics fm = painter.fontMetrics();
    const int baseline = rect.top() + fm.ascent();
    int k = 0;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar(9)) {
            painter.drawText(rect.left() + Tab(k), baseline, text.mid(start, i - start));
            ++k;
            start = i + 1;
        } else if (c == QChar(11)) {
            ++k;
            const QString piece = text.mid(start, i - start);
            painter.drawText(rect.left() + Tab(k) - fm.horizontalAdvance(piece), baseline, piece);
            start = i + 1;
        }
    }
    if (start < text.size()) painter.drawText(rect.left() + Tab(k), baseline, text.mid(start));
}

}  // namespace corvan
