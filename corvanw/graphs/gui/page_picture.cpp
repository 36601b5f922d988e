#include "graphs/gui/page_picture.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

#include "graphs/gui/chart_painter.h"

namespace corvan {

void CopyPictureToClipboard(QSize size, const std::function<void(QPainter&)>& paint) {
    if (size.isEmpty()) return;
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    {
        QPainter p(&generator);
        paint(p);
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paint(p);
    }
    auto* mime = new QMimeData;
    mime->setData(kSvgMimeType, svg);
    mime->setImageData(image);
    QApplication::clipboard()->setMimeData(mime);
}

void CopyGraphPage(QWidget& page, const std::vector<QWidget*>& panels, QWidget& chartArea,
                   const GraphPageDescription& view) {
    const QPoint chartAt = chartArea.mapTo(&page, QPoint(0, 0));
    CopyPictureToClipboard(page.size(), [&](QPainter& p) {
        for (QWidget* panel : panels) {
            if (panel == nullptr || !panel->isVisible()) continue;
            panel->render(&p, panel->mapTo(&page, QPoint(0, 0)), QRegion(),
                          QWidget::DrawChildren | QWidget::DrawWindowBackground);
        }
        p.setFont(ChartFont());
        PaintGraphPage(p, QRectF(chartAt, QSizeF(chartArea.size())), view);
    });
}

void CopyWidget(QWidget& page) {
    CopyPictureToClipboard(page.size(), [&](QPainter& p) { page.render(&p); });
}

}  // namespace corvan
