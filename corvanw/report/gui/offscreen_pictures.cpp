#include "report/gui/offscreen_pictures.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>

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

}  // namespace

ReportPicture QtReportPictureSource::Draw(const DataSet& data, const ScaleSettings& scale, const Statistics& stats,
                                          const ReportPictureRequest& request) {
    (void)scale;
    if (request.item.view == ReportView::Matrix) return MatrixPicture(data, stats, request);
    // The graphs arrive with the shared chart painter.
    return {};
}

std::unique_ptr<ReportPictureSource> CreateOffscreenPictureSource() {
    if (!QApplication::instance()) {
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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
