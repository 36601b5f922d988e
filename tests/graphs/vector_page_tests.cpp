// The vector graphs on the chart page, painted offscreen.

#include <QImage>
#include <QtTest>

#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "stats_test_data.h"

namespace corvan {

class VectorPageTest : public QObject {
    Q_OBJECT

    struct Fixture {
        DataSet data;
        ScaleSettings scale;
        Statistics stats;
        GraphSettings settings;
        TGraphPage page{data, stats, scale, settings};
        explicit Fixture(const std::vector<testing::Rec>& recs, int interval = 600, int instrumentType = 0) {
            testing::FillDataSet(data, recs, instrumentType, 0, interval);
            ComputeStatistics(data, scale, stats);
            settings.backgroundColour = 0x00FFFFFF;
            page.resize(640, 420);
            page.show();
        }
        QImage Grab(TChartVx* c) { return c->grab().toImage(); }
    };

    static bool Reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 100 && qBlue(c) < 100; }
    static bool RedNear(const QImage& img, QPoint p) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (Reddish(img.pixel(p.x() + dx, p.y() + dy))) return true;
        return false;
    }
    static int RedCount(const QImage& img, const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += Reddish(img.pixel(x, y)) ? 1 : 0;
        return n;
    }

private slots:
    void progressiveVectorHasEqualScaleAndDayMarks() {
        // North-east at 5 cm/s, a gap at record 72 (the first day start).
        std::vector<testing::Rec> recs(200, {5.0f, 45.0});
        recs[71] = {-999.0f, 45.0};
        Fixture f(recs);
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorProgressive));
        QCOMPARE(f.page.Legend().validPoints, std::string("Valid data points: 199"));
        QVERIFY(f.page.Legend().validPointsShown);
        TChartVx& c = *f.page.Chart1;
        const QImage img = f.Grab(&c);
        QCOMPARE(c.FootCaption(), std::string("meters E"));
        QCOMPARE(c.LeftCaption(), std::string("meters N (Skipped invalid data.)"));
        const double bx = (c.BottomMapping().maximum - c.BottomMapping().minimum) / c.BottomMapping().Length();
        const double by = (c.LeftMapping().maximum - c.LeftMapping().minimum) / c.LeftMapping().Length();
        QVERIFY(std::abs(bx - by) < 1e-9);
        // The path ends 199 steps of 30 m / sqrt 2 both ways.
        const double end = 199 * 30.0 / std::sqrt(2.0);
        const QPoint last(static_cast<int>(std::lround(c.BottomMapping().ValueToPixel(end))),
                          static_cast<int>(std::lround(c.LeftMapping().ValueToPixel(end))));
        QVERIFY(RedNear(img, last));
        // T0 is 12:00: the first mark at point 72, which is invalid, the next
        // at 216 is past the end.
        QCOMPARE(c.DayMarkPixels().size(), std::size_t(1));
        const QPoint mark(c.DayMarkPixels()[0].x, c.DayMarkPixels()[0].y);
        QVERIFY(qGray(img.pixel(mark + QPoint(4, 4))) < 100);
        QVERIFY(qGray(img.pixel(mark + QPoint(4, -4))) < 100);
    }

    void zoomKeepsTheEqualScale() {
        Fixture f(std::vector<testing::Rec>(200, {5.0f, 45.0}));
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorProgressive));
        TChartVx& c = *f.page.Chart1;
        f.Grab(&c);
        c.ZoomTo(1000, 2000, 1000, 1500);
        f.Grab(&c);
        QVERIFY(c.IsZoomed());
        const double bx = (c.BottomMapping().maximum - c.BottomMapping().minimum) / c.BottomMapping().Length();
        const double by = (c.LeftMapping().maximum - c.LeftMapping().minimum) / c.LeftMapping().Length();
        QVERIFY(std::abs(bx - by) < 1e-9);
        QCOMPARE(c.BottomMapping().minimum, 1000.0);
        QVERIFY(c.BottomMapping().maximum >= 2000.0 - 1e-9);
        // A pan far beyond the path is held at its widened end.
        QVERIFY(!c.PanBy(-100000, 0));
        f.Grab(&c);
        const double end = 200 * 30.0 / std::sqrt(2.0);
        const double span = c.BottomMapping().maximum - c.BottomMapping().minimum;
        QVERIFY(std::abs(c.BottomMapping().maximum - (end + 0.1 * span)) < 0.01);
        c.UndoZoom();
        f.Grab(&c);
        QVERIFY(c.BottomMapping().minimum < 0.0);
    }

    void longPathInKilometres() {
        // 100 cm/s for a day at 45 degrees: about 61 km each way.
        Fixture f(std::vector<testing::Rec>(144, {100.0f, 45.0}));
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorProgressive));
        f.Grab(f.page.Chart1);
        QCOMPARE(f.page.Chart1->FootCaption(), std::string("km E"));
        QCOMPARE(f.page.Chart1->LeftCaption(), std::string("km N"));
        QVERIFY(!f.page.Legend().validPointsShown);
        QCOMPARE(f.page.Legend().neumann, std::string("Neumann parameter: 1.000"));
    }

    void stickDiagramDrawsMeanSticks() {
        std::vector<testing::Rec> recs;
        for (int i = 0; i < 40; ++i) recs.push_back({20.0f, i % 2 ? 90.0 : 0.0});
        Fixture f(recs);
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorStick));
        TChartVx& c = *f.page.Chart1;
        const QImage img = f.Grab(&c);
        QCOMPARE(c.Description().mode, kModeStick);
        QVERIFY(!c.StickPixels().empty());
        // Each stick points up and to the right, never left or down.
        for (const PixelLine& l : c.StickPixels()) {
            QVERIFY(l.x1 >= l.x0);
            QVERIFY(l.y1 <= l.y0);
        }
        QVERIFY(RedCount(img, c.PlotRect()) > 0);
        // The plot keeps to the middle 80 % of the width.
        QVERIFY(c.PlotRect().right() <= c.width() * 9 / 10);
    }

    void sectorDiagramsSideBySide() {
        Fixture f(std::vector<testing::Rec>(20, {30.0f, 97.0}));
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorFluxNumber));
        QVERIFY(f.page.Chart2->isVisible());
        QCOMPARE(f.page.VectorKindShown(), int(kVectorFluxNumber));
        const QImage left = f.Grab(f.page.Chart1);
        f.Grab(f.page.Chart2);
        QVERIFY(f.page.Chart2->x() >= f.page.Chart1->width());
        QCOMPARE(f.page.Chart1->FootCaption(), std::string("Relative water flux (%)\rper 15 deg sector"));
        QVERIFY(f.page.Chart1->PolarRadiusMaximum() >= 100.0);
        // The spike towards 97.5 degrees: red right of the centre.
        const QRect plot = f.page.Chart1->PlotRect();
        QVERIFY(RedCount(left, QRect(plot.center() + QPoint(10, -3), QSize(plot.width() / 3, 6))) > 5);

        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorOxygenFlux));
        QVERIFY(!f.page.Chart2->isVisible());
        f.Grab(f.page.Chart1);
        QCOMPARE(f.page.Chart1->PolarRadiusMaximum(), 2.01);
    }

    void nothingWithoutCurrent() {
        // A temperature-only instrument has no current to draw.
        Fixture f(std::vector<testing::Rec>(10, {10.0f, 90.0}), 600, 2);
        QVERIFY(f.page.ShowGraph(kGraphVector, 0, 0, 2, false, kVectorProgressive));
        QVERIFY(!f.page.Chart1->Description().line.has_value());
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::VectorPageTest)
#include "vector_page_tests.moc"
