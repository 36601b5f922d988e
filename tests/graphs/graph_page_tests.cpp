// The chart page over a known data set: painted offscreen into an image,
// zoomed by a dragged rectangle and back, copied to the clipboard.

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "graphs/gui/page_picture.h"
#include "stats_test_data.h"

namespace corvan {

class GraphPageTest : public QObject {
    Q_OBJECT

    struct Fixture {
        DataSet data;
        ScaleSettings scale;
        Statistics stats;
        GraphSettings settings;
        TGraphPage page{data, stats, scale, settings};
        explicit Fixture(const std::vector<testing::Rec>& recs, int interval = 600) {
            testing::FillDataSet(data, recs, 0, 0, interval);
            ComputeStatistics(data, scale, stats);
            settings.backgroundColour = 0x00FFFFFF;
            page.resize(640, 420);
            page.show();
        }
        QImage Grab() { return page.Chart1->grab().toImage(); }
        QPoint Pixel(double x, double y) const {
            return QPoint(static_cast<int>(std::lround(page.Chart1->BottomMapping().ValueToPixel(x))),
                          static_cast<int>(std::lround(page.Chart1->LeftMapping().ValueToPixel(y))));
        }
    };

    static bool Reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 100 && qBlue(c) < 100; }
    static bool Bluish(QRgb c) { return qBlue(c) > 180 && qRed(c) < 100 && qGreen(c) < 100; }
    // Red within a pixel of p.
    static bool RedNear(const QImage& img, QPoint p) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (Reddish(img.pixel(p.x() + dx, p.y() + dy))) return true;
        return false;
    }
    static int RedInColumn(const QImage& img, int x, const QRect& plot) {
        int n = 0;
        for (int y = plot.top() + 1; y < plot.bottom(); ++y) n += Reddish(img.pixel(x, y)) ? 1 : 0;
        return n;
    }

private slots:
    void speedLineWithAGap() {
        Fixture f({{10, 5}, {20, 5}, {-999, 5}, {30, 5}, {25, 5}, {15, 5}, {12, 5}});
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        const QImage img = f.Grab();
        TChartVx& c = *f.page.Chart1;
        QCOMPARE(c.LeftCaption(), std::string("Current speed (cm/s)"));
        QCOMPARE(c.FootCaption(), std::string("Minutes"));
        QCOMPARE(c.BottomMapping().minimum, 0.0);
        QCOMPARE(c.BottomMapping().maximum, 3600.0);
        // The rounded left axis holds the data with its headroom.
        QVERIFY(c.LeftMapping().minimum <= 10.0);
        QVERIFY(c.LeftMapping().maximum > 30.0);
        // (0, 10) lies under the left axis line itself.
        QVERIFY(RedNear(img, f.Pixel(600, 20)));
        QVERIFY(RedNear(img, f.Pixel(3600, 12)));
        QVERIFY(RedNear(img, f.Pixel(1800, 30)));
        // No line through the missing record.
        QCOMPARE(RedInColumn(img, f.Pixel(1200, 0).x(), c.PlotRect()), 0);
        QVERIFY(RedInColumn(img, f.Pixel(2700, 0).x(), c.PlotRect()) > 0);
    }

    void markersOnlyWhenNotSolid() {
        Fixture f({{10, 5}, {20, 5}, {30, 5}});
        f.settings.drawSolidLines = false;
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        QVERIFY(f.page.Chart1->Description().line->markersVisible);
        const QImage img = f.Grab();
        QVERIFY(Reddish(img.pixel(f.Pixel(600, 20))));
        // Bars draw solid lines regardless.
        QVERIFY(f.page.ShowGraph(kGraphBar, 0, kLineSpeed, 2, false));
        QVERIFY(!f.page.Chart1->Description().bars->labels.empty());
        QVERIFY(!f.page.Chart1->Description().line.has_value());
    }

    void zoomByDragAndUndo() {
        std::vector<testing::Rec> recs;
        for (int i = 0; i < 100; ++i) recs.push_back({static_cast<float>(10 + i % 7), 5});
        Fixture f(recs);
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        f.Grab();
        TChartVx& c = *f.page.Chart1;
        const QRect plot = c.PlotRect();
        // A narrow rectangle: widened to three intervals.
        const QPoint a(plot.left() + plot.width() / 2, plot.top() + 10);
        const QPoint b(a.x() + 6, plot.bottom() - 10);
        QTest::mousePress(&c, Qt::LeftButton, {}, a);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, b);
        QVERIFY(c.IsZoomed());
        f.Grab();
        QCOMPARE(c.BottomMapping().maximum - c.BottomMapping().minimum, 1800.0);
        QVERIFY(!c.LeftAutomatic());
        // A pan to the left stops at the start of the data.
        QVERIFY(!c.PanBy(100000, 0));
        QCOMPARE(c.ViewBottom().minimum, 0.0);
        QCOMPARE(c.ViewBottom().maximum, 1800.0);
        // Dragging towards the upper left undoes the zoom.
        QTest::mousePress(&c, Qt::LeftButton, {}, b);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, a);
        QVERIFY(!c.IsZoomed());
        f.Grab();
        QCOMPARE(c.BottomMapping().maximum, 99 * 600.0);
        // Unzoomed charts do not pan.
        QVERIFY(!c.PanBy(10, 0));
    }

    void barsAreDrawnAndNotZoomed() {
        Fixture f({{0.5, 5}, {2, 10}, {2.5, 100}, {80, 200}});
        QVERIFY(f.page.ShowGraph(kGraphBar, 0, 0, 2, false));
        TChartVx& c = *f.page.Chart1;
        const QImage img = f.Grab();
        QCOMPARE(c.Description().mode, kModeBars);
        QCOMPARE(c.FootCaption(), std::string("cm/s"));
        QCOMPARE(c.LeftCaption(), std::string("Number of measurements"));
        // The second class holds two: its bar rises to 2.
        QVERIFY(Bluish(img.pixel(f.Pixel(1.5, 1.0))));
        QVERIFY(!Bluish(img.pixel(f.Pixel(2.5, 0.5))));
        c.ZoomTo(0, 3, 0, 1);
        QVERIFY(!c.IsZoomed());
    }

    void dateAxisAndDayGrid() {
        std::vector<testing::Rec> recs(3 * 24, {10, 5});
        Fixture f(recs, 3600);
        f.settings.dateGridVisible = true;
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, true));
        f.Grab();
        TChartVx& c = *f.page.Chart1;
        QVERIFY(c.DateAxisShown());
        // The series starts 1997-02-25 13:00: day starts at 11 h, 35 h, 59 h.
        QCOMPARE(c.DayPositions().size(), std::size_t(3));
        QCOMPARE(c.DayPositions()[0], f.Pixel(11 * 3600.0, 0).x());
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        f.Grab();
        QVERIFY(!c.DateAxisShown());
        QVERIFY(c.DayPositions().empty());
    }

    void doubleClickAsksForTheRecord() {
        Fixture f({{10, 5}, {20, 5}, {30, 5}, {25, 5}});
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        f.Grab();
        QSignalSpy spy(&f.page, &TGraphPage::ScrollToRecord);
        QTest::mouseDClick(f.page.Chart1, Qt::LeftButton, {}, f.Pixel(1210, 20));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
    }

    void refusedWithoutStatistics() {
        Fixture f({{10, 5}, {20, 5}});
        f.data.statisticsValid = false;
        QVERIFY(!f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
    }

    void copiesSvgAndPicture() {
        Fixture f({{10, 5}, {20, 5}, {30, 5}});
        QVERIFY(f.page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
        f.Grab();
        QWidget panel;
        panel.resize(640, 40);
        CopyGraphPage(f.page, {&panel}, f.page, f.page.CurrentView());
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QVERIFY(mime->data("image/svg+xml").contains("<svg"));
        const QImage img = qvariant_cast<QImage>(mime->imageData());
        QCOMPARE(img.size(), f.page.size());
        QVERIFY(RedNear(img, f.Pixel(600, 20)));
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::GraphPageTest)
#include "graph_page_tests.moc"
