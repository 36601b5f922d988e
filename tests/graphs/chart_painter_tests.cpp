// One description painted on a widget, a QImage, an SVG and a PDF page: the
// same picture in the same place on each.

#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include "graphs/gui/chart_painter.h"
#include "stats_test_data.h"

namespace corvan {

namespace {

class ChartWidget : public QWidget {
public:
    explicit ChartWidget(const GraphPageDescription& page) : page_(page) { setFont(ChartFont()); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(ChartFont());
        PaintGraphPage(p, rect(), page_);
    }

private:
    const GraphPageDescription& page_;
};

// Antialiased renderers spread a one-pixel line over two grey columns.
bool Dark(QRgb c) { return qGray(c) < 170; }
bool Reddish(QRgb c) { return qRed(c) > 160 && qGreen(c) < 110 && qBlue(c) < 110; }

// The x of the longest dark vertical run and the y of the longest dark
// horizontal run: the two axis lines.
QPoint AxisCorner(const QImage& img) {
    int bestX = -1, bestLen = 0;
    for (int x = 0; x < img.width(); ++x) {
        int run = 0;
        for (int y = 0; y < img.height(); ++y) {
            run = Dark(img.pixel(x, y)) ? run + 1 : 0;
            if (run > bestLen) bestLen = run, bestX = x;
        }
    }
    int bestY = -1;
    bestLen = 0;
    for (int y = 0; y < img.height(); ++y) {
        int run = 0;
        for (int x = 0; x < img.width(); ++x) {
            run = Dark(img.pixel(x, y)) ? run + 1 : 0;
            if (run > bestLen) bestLen = run, bestY = y;
        }
    }
    return {bestX, bestY};
}

int RedCount(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += Reddish(img.pixel(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class ChartPainterTest : public QObject {
    Q_OBJECT

    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    GraphSettings settings;
    const QSize size{640, 400};

    GraphPageDescription Page(GraphKind kind, int sub) {
        GraphRequest r;
        r.kind = kind;
        r.lineKind = r.barKind = r.vectorKind = sub;
        return DescribeGraphPage(data, stats, scale, settings, r, ChartTarget::Paper);
    }

private slots:
    void initTestCase() {
        std::vector<testing::Rec> recs;
        for (int i = 0; i < 144; ++i) recs.push_back({static_cast<float>(15 + 10 * std::sin(i / 9.0)), 80.0 + i % 40});
        testing::FillDataSet(data, recs);
        ComputeStatistics(data, scale, stats);
    }

    void sameGeometryOnEveryDevice() {
        const GraphPageDescription page = Page(kGraphLine, kLineSpeed);
        QTemporaryDir dir;
        const std::string base = dir.path().toStdString();

        const QImage image = RenderGraphImage(page, size);
        ChartWidget widget(page);
        widget.resize(size);
        widget.show();
        const QImage fromWidget = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);

        QCOMPARE(WriteGraphFigure(base + "/g.svg", FigureFormat::Svg, page, size, 96), std::string());
        QSvgRenderer svg(QString::fromStdString(base + "/g.svg"));
        QVERIFY(svg.isValid());
        QImage svgImage(size, QImage::Format_RGB32);
        svgImage.fill(Qt::white);
        {
            QPainter p(&svgImage);
            svg.render(&p);
        }
        const QImage fromSvg = svgImage;

        QCOMPARE(WriteGraphFigure(base + "/g.pdf", FigureFormat::Pdf, page, size, 300), std::string());
        QProcess pdftoppm;
        pdftoppm.start("pdftoppm", {"-png", "-r", "96", "-singlefile", QString::fromStdString(base + "/g.pdf"),
                                    QString::fromStdString(base + "/pdf")});
        QVERIFY(pdftoppm.waitForFinished(30000));
        const QImage fromPdf(QString::fromStdString(base + "/pdf.png"));
        QVERIFY(!fromPdf.isNull());
        QVERIFY(std::abs(fromPdf.width() - size.width()) <= 1);

        if (qEnvironmentVariableIsSet("CORVAN_KEEP_PICTURES")) {
            image.save("/tmp/cp_image.png");
            fromWidget.save("/tmp/cp_widget.png");
            fromSvg.save("/tmp/cp_svg.png");
            fromPdf.save("/tmp/cp_pdf.png");
        }
        const QPoint corner = AxisCorner(image);
        QVERIFY(corner.x() > 20 && corner.y() > 20);
        for (const QImage* other : {&fromWidget, &fromSvg, &fromPdf}) {
            const QPoint c = AxisCorner(*other);
            QVERIFY2(std::abs(c.x() - corner.x()) <= 1 && std::abs(c.y() - corner.y()) <= 1,
                     qPrintable(QString("%1,%2 vs %3,%4").arg(c.x()).arg(c.y()).arg(corner.x()).arg(corner.y())));
            // The red line is there on every device, about as long.
            const int red = RedCount(*other), own = RedCount(image);
            QVERIFY2(red > own / 2 && red < own * 2, qPrintable(QString("%1 vs %2").arg(red).arg(own)));
        }
        // Paper is white.
        QCOMPARE(QColor(image.pixel(size.width() - 3, size.height() / 2)), QColor(Qt::white));
    }

    void sectorPairSharesOneRadius() {
        const GraphPageDescription page = Page(kGraphVector, kVectorMaxMean);
        QVERIFY(page.chart2.has_value());
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        p.setFont(ChartFont());
        const ChartLayout left = PaintChart(p, QRectF(0, 0, 320, 400), page.chart1);
        const ChartLayout right = PaintChart(p, QRectF(320, 0, 320, 400), *page.chart2);
        QCOMPARE(left.polarRadius, right.polarRadius);
        QVERIFY(left.polarRadius > 50);
    }

    void figureWithHeaderAndFileErrors() {
        const GraphPageDescription page = Page(kGraphVector, kVectorProgressive);
        GraphHeader header;
        header.title = "PROGRESSIVE VECTOR";
        header.info = InformationTexts(data, "buoy.CVN");
        header.legendShown = page.legendShown;
        header.legend = page.legend;
        QTemporaryDir dir;
        const std::string png = dir.path().toStdString() + "/p.png";
        QCOMPARE(WriteGraphFigure(png, FigureFormat::Png, page, size, 192, &header), std::string());
        const QImage img(QString::fromStdString(png));
        QCOMPARE(img.size(), size * 2);
        QVERIFY(RedCount(img) > 100);
        // No temporary file is left behind, and a folder that does not
        // exist is a reason, not a crash.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.png"});
        QVERIFY(
            !WriteGraphFigure(dir.path().toStdString() + "/missing/p.png", FigureFormat::Png, page, size, 96, &header)
                 .empty());
        QVERIFY(FigureFormatOf("a.PDF") == FigureFormat::Pdf);
        QVERIFY(!FigureFormatOf("a.jpg").has_value());
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::ChartPainterTest)
#include "chart_painter_tests.moc"
