#include "report/gui/offscreen_pictures.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSvgGenerator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "graphs/chart_description.h"
#include "graphs/gui/chart_painter.h"
#include "graphs/gui/headless_start.h"
#include "graphs/statistics_pages.h"
#include "ui/table_grid.h"

namespace corvan {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr double kPointsPerInch = 72.0;

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SetResolution(QImage& image, double dpi) {
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
}

// The matrix page as the table shows it, whole, on white.
ReportPicture MatrixPicture(const DataSet& data, const Statistics& stats, const ReportPictureRequest& request) {
    TTableGrid grid;
    grid.setAttribute(Qt::WA_DontShowOnScreen);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = grid.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    grid.setPalette(palette);
    grid.SetupTableGrid(data.header);
    grid.FillTable(MatrixCellTexts(data, stats), true);
    int width = 2 * grid.frameWidth();
    int height = 2 * grid.frameWidth();
    if (grid.verticalHeader()->isVisible()) width += grid.verticalHeader()->width();
    if (grid.horizontalHeader()->isVisible()) height += grid.horizontalHeader()->height();
    for (int c = 0; c < grid.columnCount(); ++c) width += grid.columnWidth(c);
    for (int r = 0; r < grid.rowCount(); ++r) height += grid.rowHeight(r);
    grid.resize(width, height);
    grid.show();

    ReportPicture picture;
    const double naturalWidthPt = width * kPointsPerInch / kScreenDpi;
    const double naturalHeightPt = height * kPointsPerInch / kScreenDpi;
    const double shrink = std::min({1.0, request.widthPt / naturalWidthPt, request.heightPt / naturalHeightPt});
    picture.widthPt = naturalWidthPt * shrink;
    picture.heightPt = naturalHeightPt * shrink;
    const double ratio = std::ceil(kReportPictureDpi * picture.widthPt / kPointsPerInch / width * 4.0) / 4.0;
    QImage image(static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(height * ratio)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    grid.render(&image);
    image.setDevicePixelRatio(1.0);
    SetResolution(image, image.width() / (picture.widthPt / kPointsPerInch));
    picture.png = PngBytes(image);
    picture.description = request.item.description;
    grid.hide();
    return picture;
}

GraphRequest GraphOf(const ReportPictureRequest& request) {
    GraphRequest g;
    g.barScale = request.barPercent ? kBarScalePercent : kBarScaleNumber;
    g.startOfDays = request.startOfDays;
    const auto line = [&](int kind) {
        g.kind = kGraphLine;
        g.lineKind = kind;
    };
    const auto bar = [&](int kind) {
        g.kind = kGraphBar;
        g.barKind = kind;
    };
    const auto vector = [&](int kind) {
        g.kind = kGraphVector;
        g.vectorKind = kind;
    };
    switch (request.item.view) {
        case ReportView::Temperature:
            line(kLineTemperature);
            break;
        case ReportView::Speed:
            line(kLineSpeed);
            break;
        case ReportView::Optional:
            line(kLineOptional);
            break;
        case ReportView::Flux:
            line(kLineFlux);
            break;
        case ReportView::OxygenMgl:
            line(kLineOxygenMgl);
            break;
        case ReportView::OxygenFlux:
            line(kLineOxygenFlux);
            break;
        case ReportView::SpeedBar:
            bar(kBarSpeed);
            break;
        case ReportView::DirectionBar:
            bar(kBarDirection);
            break;
        case ReportView::Progressive:
            vector(kVectorProgressive);
            break;
        case ReportView::MaxMean:
            vector(kVectorMaxMean);
            break;
        case ReportView::FluxCount:
            vector(kVectorFluxNumber);
            break;
        case ReportView::OxygenRose:
            vector(kVectorOxygenFlux);
            break;
        case ReportView::Stick:
            vector(kVectorStick);
            break;
        case ReportView::Matrix:
            break;
    }
    return g;
}

std::string SvgBytes(const GraphPageDescription& page, QSize size, const GraphHeader& header) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    svg.setViewBox(area);
    svg.setResolution(static_cast<int>(kScreenDpi));
    QPainter p;
    if (!p.begin(&svg)) return {};
    p.setFont(ChartFont());
    PaintGraphFigure(p, area, page, &header);
    if (!p.end()) return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

ReportPicture QtReportPictureSource::Draw(const DataSet& data, const ScaleSettings& scale, const Statistics& stats,
                                          const ReportPictureRequest& request) {
    if (request.item.view == ReportView::Matrix) return MatrixPicture(data, stats, request);
    const GraphRequest graph = GraphOf(request);
    if (!GraphAvailable(data.header, graph)) return {};
    const GraphPageDescription page = DescribeGraphPage(data, stats, scale, graphSettings, graph, ChartTarget::Paper);
    if (!page.drawable) return {};
    // The figure as "Copy to Clipboard" gives it: the header panel above the graph.
    GraphHeader header;
    header.title = request.item.title;
    header.info = InformationTexts(data, std::filesystem::path(MeasurementFileName(data.baseName)).filename().string());
    header.legendShown = request.legend && page.legendShown;
    header.legend = page.legend;

    const QSize layout(std::max(1, request.layoutWidth), std::max(1, request.layoutHeight));
    // At least 200 dots per inch once the picture is printed at its size.
    const double printedInches = request.widthPt / kPointsPerInch;
    const int dpi =
        std::max(static_cast<int>(kScreenDpi),
                 static_cast<int>(std::ceil(kReportPictureDpi * printedInches * kScreenDpi / layout.width())));
    // Paper has no transparency; without alpha the word processor keeps one image, not two.
    QImage image = RenderGraphImage(page, layout, dpi, &header).convertToFormat(QImage::Format_RGB32);
    SetResolution(image, image.width() / printedInches);
    ReportPicture picture;
    picture.png = PngBytes(image);
    if (withSvg) picture.svg = SvgBytes(page, layout, header);
    picture.widthPt = request.widthPt;
    picture.heightPt = request.heightPt;
    picture.description = request.item.description;
    return picture;
}

std::unique_ptr<ReportPictureSource> CreateOffscreenPictureSource() {
    if (!QApplication::instance()) {
        PrepareHeadlessQt();
        static int argc = 1;
        static char name[] = "corvan";
        static char* argv[] = {name, nullptr};
        // Kept for the whole run; the process ends with it.
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }
    return std::make_unique<QtReportPictureSource>();
}

}  // namespace corvan
