// The graph pages of the main window as a user meets them: one graph after
// another, a failed open, the context menu, the clipboard.

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "data/measurement_files.h"
#include "graphs/graph_settings.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "support/modal.h"
#include "ui/TfrmMain.h"
#include "ui/settings_store.h"
#include "ui/table_grid.h"

using namespace corvan;
using corvan::testing::ClickOk;
using corvan::testing::OnNextModal;

namespace {

void Open(TfrmMain& w, const QString& name) {
    OnNextModal(ClickOk);
    w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/" + name);
    QVERIFY(w.Data().statisticsValid);
}

// The left axis of Chart1 as painted.
QPair<double, double> LeftAxisShown(TfrmMain& w) {
    // The panels above the page come and go; let the layout settle first.
    QApplication::processEvents();
    w.GraphPage->Chart1->grab();
    const AxisMapping& m = w.GraphPage->Chart1->LeftMapping();
    return {m.minimum, m.maximum};
}

// The captions of the context menu the window opens, separators as "-".
QStringList PopupCaptions(TfrmMain& w) {
    QStringList captions;
    bool opened = false;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            opened = true;
            for (QAction* a : menu->actions()) captions << (a->isSeparator() ? QString("-") : a->text());
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(200, 200), w.mapToGlobal(QPoint(200, 200)));
    QApplication::sendEvent(&w, &event);
    QTest::qWait(80);
    if (!opened) return {};
    return captions;
}

QImage ClipboardImage() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (mime == nullptr || !mime->hasImage()) return {};
    return qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB32);
}

bool SameRegion(const QImage& a, const QImage& b, QPoint at) {
    for (int y = 0; y < b.height(); y += 2)
        for (int x = 0; x < b.width(); x += 2)
            if (a.pixel(at.x() + x, at.y() + y) != b.pixel(x, y)) return false;
    return true;
}

}  // namespace

class GraphWindowTests : public QObject {
    Q_OBJECT

private slots:
    void graphsAfterVectorGraphsShowTheirOwnAxes() {
        MemorySettings store;
        TfrmMain w(store);
        w.resize(1000, 700);
        w.show();
        Open(w, "buoy3");
        w.lineItems[kLineTemperature]->trigger();
        const auto line = LeftAxisShown(w);
        w.barItems[0]->trigger();
        const auto bar = LeftAxisShown(w);
        w.vectorItems[kVectorStick]->trigger();
        const auto stick = LeftAxisShown(w);
        for (int vector : {kVectorMaxMean, kVectorProgressive}) {
            w.vectorItems[vector]->trigger();
            LeftAxisShown(w);
            w.lineItems[kLineTemperature]->trigger();
            QCOMPARE(LeftAxisShown(w), line);
            w.barItems[0]->trigger();
            QCOMPARE(LeftAxisShown(w), bar);
            w.vectorItems[kVectorStick]->trigger();
            const auto again = LeftAxisShown(w);
            QVERIFY2(
                again == stick,
                qPrintable(
                    QString("%1 %2 / %3 %4").arg(again.first).arg(again.second).arg(stick.first).arg(stick.second)));
        }
        if (qEnvironmentVariableIsSet("CORVAN_KEEP_PICTURES")) {
            // Pictures of every graph for a look by eye beside `corvan plot`.
            for (QAction* a : {w.lineItems[0], w.lineItems[1], w.barItems[1], w.vectorItems[0], w.vectorItems[1],
                               w.vectorItems[3]}) {
                a->trigger();
                QApplication::processEvents();
                w.grab().save(qEnvironmentVariable("CORVAN_KEEP_PICTURES") + "/" + w.LabelTitle->text() + ".png");
            }
        }
        // The stick diagram's axis is widened beyond -M .. M.
        QVERIFY(stick.second > w.Scale().speedMax);
        QVERIFY2(stick.first == -stick.second,
                 qPrintable(QString("%1 %2 %3").arg(stick.first).arg(stick.second).arg(w.Scale().speedMax)));
    }

    void aFailedOpenAfterAGraphShowsTheList() {
        QTemporaryDir dir;
        const QString base = dir.filePath("noref");
        QVERIFY(QFile::copy(QString(CORVAN_SAMPLES) + "/buoy3.CVN", base + ".CVN"));
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        Open(w, "buoy3");
        w.toolLine->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageViews));
        OnNextModal([](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); });
        w.OpenMeasurementFile(base);
        QVERIFY(!w.Data().statisticsValid);
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageList));
        QVERIFY(!w.actCopy->isEnabled());
        // The graph commands still lead to the list while nothing is loaded.
        w.toolLine->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageList));
    }

    void theContextMenuFollowsThePage() {
        MemorySettings store;
        TfrmMain w(store);
        w.resize(1000, 700);
        w.show();
        Open(w, "oxy17");
        QVERIFY(PopupCaptions(w).isEmpty());  // the list page has none
        w.actMatrix->trigger();
        QCOMPARE(PopupCaptions(w),
                 QStringList({"Current speed / direction matrix", "Statistical summary", "-", "Copy to Clipboard"}));
        w.vectorItems[kVectorProgressive]->trigger();
        QCOMPARE(PopupCaptions(w),
                 QStringList({"&Progressive vector", "M&ax / mean velocity", "&Relative flux / Number measured",
                              "Relative Ox flux", "St&ick diagram", "-", "Copy to Clipboard"}));
        w.barItems[0]->trigger();
        QCOMPARE(PopupCaptions(w), QStringList({"Current &Speed", "Current &direction", "Ox flux", "-",
                                                "&Number measured", "&Percent", "-", "Copy to Clipboard"}));
        w.toolLine->trigger();
        const QStringList line = PopupCaptions(w);
        QCOMPARE(line.first(), QString("Current &Speed"));
        QVERIFY(line.contains("&Temperature") && line.contains("Ox mg/l") && !line.contains("&Percent"));
        QCOMPARE(line.count("-"), 1);
        // The popup's "Ox flux" picks the line kind in a line graph.
        w.popupKinds[2]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("OXYGEN FLUX"));
        w.actInstrument->trigger();
        QVERIFY(PopupCaptions(w).isEmpty());
    }

    void ctrlCCopiesTablesSummaryAndTheGraphWithItsPanels() {
        MemorySettings store;
        TfrmMain w(store);
        w.resize(1000, 700);
        w.show();
        Open(w, "buoy3");
        // Back from the range dialog: the window has the keyboard again.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWidget& page = *w.Notebook1->widget(kPageViews);
        for (QAction* view : {w.actMatrix, w.actSummary}) {
            view->trigger();
            QApplication::clipboard()->clear();
            QSignalSpy copied(w.actCopy, &QAction::triggered);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_C,
                            Qt::ControlModifier);
            QCOMPARE(copied.count(), 1);
            const QImage copy = ClipboardImage();
            QCOMPARE(copy.size(), page.size());
            // The whole page: the panel and the page below it as on screen.
            const QImage shown = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY(SameRegion(copy, shown, QPoint(0, 0)));
        }
        w.vectorItems[kVectorProgressive]->trigger();
        QVERIFY(w.Panel3->isVisible());
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        const QImage copy = ClipboardImage();
        QVERIFY2(copy.size() == page.size(),
                 qPrintable(
                     QString("%1x%2 %3x%4").arg(copy.width()).arg(copy.height()).arg(page.width()).arg(page.height())));
        for (QWidget* panel : {w.Panel1, w.Panel3}) {
            const QImage shown = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY(SameRegion(copy, shown, panel->mapTo(&page, QPoint(0, 0))));
        }
        QVERIFY(QApplication::clipboard()->mimeData()->data("image/svg+xml").contains("<svg"));
    }

    void panelsAndFixedCellsTakeTheLegendColour() {
        for (const int legend : {static_cast<int>(kButtonFaceColour), 0x00CCEEFF}) {
            MemorySettings store;
            store.WriteInteger(kColorsSection, kLegendIdent, legend);
            TfrmMain w(store);
            w.show();
            Open(w, "buoy3");
            w.actMatrix->trigger();
            const bool system = legend == static_cast<int>(kButtonFaceColour);
            // Raised bevels with the system colour, flat panels with a colour of the user's.
            for (QWidget* panel : {w.Panel1, w.Panel3}) {
                auto* frame = qobject_cast<QFrame*>(panel);
                QVERIFY(frame);
                QCOMPARE(frame->frameShape(), system ? QFrame::Panel : QFrame::NoFrame);
            }
            const QColor fixed = w.StringGridTab->palette().color(QPalette::Button);
            if (!system) QCOMPARE(fixed, QColor(0xFF, 0xEE, 0xCC));
            QCOMPARE(fixed, w.Panel1->palette().color(QPalette::Window));
        }
    }

    void sectorDiagramsTakeHalfThePageAndZoom() {
        MemorySettings store;
        TfrmMain w(store);
        w.resize(1000, 700);
        w.show();
        Open(w, "oxy17");
        w.vectorItems[kVectorOxygenFlux]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("OXYGEN FLUX DISTRIBUTION DIAGRAM"));
        TChartVx& chart = *w.GraphPage->Chart1;
        QVERIFY(w.GraphPage->Chart2->isHidden());
        QVERIFY(std::abs(chart.width() - w.GraphPage->width() / 2) <= 1);
        chart.grab();
        const double outer = chart.PolarRadiusMaximum();
        // A rectangle towards the centre zooms in; dragging back undoes it.
        const QRect plot = chart.PlotRect();
        const QPoint centre = plot.center();
        QTest::mousePress(&chart, Qt::LeftButton, {}, centre - QPoint(30, 30));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, centre + QPoint(30, 30));
        QVERIFY(chart.IsZoomed());
        chart.grab();
        QVERIFY(chart.PolarRadiusMaximum() < outer);
        QTest::mousePress(&chart, Qt::LeftButton, {}, centre + QPoint(30, 30));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, centre - QPoint(30, 30));
        QVERIFY(!chart.IsZoomed());
        chart.grab();
        QCOMPARE(chart.PolarRadiusMaximum(), outer);
        // The bars never zoom.
        w.barItems[0]->trigger();
        QVERIFY(!w.GraphPage->Chart1->ZoomAllowed());
    }
};

QTEST_MAIN(GraphWindowTests)
#include "graph_window_tests.moc"
