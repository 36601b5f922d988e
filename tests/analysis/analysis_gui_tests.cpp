// The tidal analysis dialog and the declination tool, driven offscreen on
// real files.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include "analysis/declination.h"
#include "analysis/gui/TdlgDeclination.h"
#include "analysis/gui/TdlgTidalAnalysis.h"
#include "data/deployment_site.h"
#include "data/series_range.h"
#include "data/settings_access.h"
#include "graphs/modal_watcher.h"
#include "tidal_fixture.h"
#include "ui/TSelectDlg.h"
#include "ui/TfrmMain.h"

namespace corvan {

class AnalysisGuiTest : public QObject {
    Q_OBJECT

    static void Load(DataSet& data, const std::string& base, ScaleSettings& scale, Statistics& stats) {
        data.baseName = base;
        QVERIFY(LoadMeasurementFiles(data).measurementFileFound);
        QCOMPARE(QString::fromStdString(SelectSeriesRange(data, RangeRequest{})), QString());
        ComputeStatistics(data, scale, stats);
    }

    // The tidal fixture's file set, loaded with its range and statistics.
    struct TidalRecord {
        testing::TempDir dir;
        DataSet data;
        ScaleSettings scale;
        Statistics stats;
    };

    static bool LoadAndAnalyse(TidalRecord& t, TdlgTidalAnalysis& dialog) {
        Load(t.data, testing::WriteTidalFile(t.dir), t.scale, t.stats);
        return !QTest::currentTestFailed() && dialog.Analyse(t.data, t.scale, GraphSettings{}, std::nullopt);
    }

    static int RowOf(const QTableWidget& grid, const QString& name) {
        for (int r = 0; r < grid.rowCount(); ++r)
            if (grid.item(r, 0)->text() == name) return r;
        return -1;
    }

private slots:
    void TidalDialogShowsTheEllipseAndSavesPrintsAndCopies() {
        TidalRecord t;
        auto& [dir, data, scale, stats] = t;
        TdlgTidalAnalysis dialog;
        QVERIFY(LoadAndAnalyse(t, dialog));
        const int m2 = RowOf(*dialog.GridConstituents, "M2");
        QVERIFY(m2 >= 0);
        QCOMPARE(dialog.GridConstituents->rowCount(), static_cast<int>(dialog.Analysis().constituents.size()));
        QCOMPARE(dialog.GridConstituents->item(m2, 2)->text().toDouble(), 30.0);
        QCOMPARE(dialog.GridConstituents->item(m2, 3)->text().toDouble(), 8.0);
        QVERIFY(std::abs(dialog.GridConstituents->item(m2, 4)->text().toDouble() - 45.0) < 0.5);
        QVERIFY(dialog.LabelSummary->text().contains("24.99 days"));
        QVERIFY(dialog.LabelSummary->text().contains("tidal.CVN"));
        // Pictures of every page for a person to look at, when asked for.
        if (const QString shots = qEnvironmentVariable("CORVAN_SCREENSHOTS"); !shots.isEmpty()) {
            dialog.resize(1000, 720);
            dialog.show();
            for (int i = 0; i < dialog.Pages->count(); ++i) {
                dialog.Pages->setCurrentIndex(i);
                QApplication::processEvents();
                dialog.grab().save(QDir(shots).filePath(QString("tidal-page-%1.png").arg(i)));
            }
        }

        // Copy of the table page: tab-separated with the M2 row.
        dialog.Pages->setCurrentWidget(dialog.GridConstituents);
        dialog.CopyPage();
        QVERIFY(QApplication::clipboard()->text().contains("\r\nM2\t"));

        // Print to PDF: the heading and the M2 row on the page.
        const QString pdf = QString::fromStdString(dir.Path("tide.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            dialog.PrintPage(printer);
        }
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(20000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains("Tidal analysis"), qPrintable(printed));
        QVERIFY(printed.contains(QRegularExpression("M2\\s+0\\.0805114\\s+30\\.0")));

        // The graph pages draw: ellipses, the detided speed and direction,
        // its progressive vector.
        dialog.resize(900, 600);
        dialog.show();
        for (TTidalChartView* view : {dialog.ChartEllipses, dialog.ChartResidual, dialog.ChartResidualVector}) {
            dialog.Pages->setCurrentWidget(view);
            QVERIFY(view->paint != nullptr);
            const QImage image = view->grab().toImage();
            int red = 0, top = image.height(), bottom = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y);
                    if (qRed(c) > 120 && qGreen(c) < 100 && qBlue(c) < 100) {
                        ++red;
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
            QVERIFY2(red > 100, qPrintable(view->objectName()));
            // The one ellipse of this record has the whole page, centred.
            if (view == dialog.ChartEllipses)
                QVERIFY2(std::abs((top + bottom) / 2.0 - image.height() / 2.0) < image.height() * 0.1,
                         qPrintable(QString("%1..%2 of %3").arg(top).arg(bottom).arg(image.height())));
        }
        dialog.Pages->setCurrentWidget(dialog.ChartEllipses);
        dialog.CopyPage();
        QVERIFY(!QApplication::clipboard()->image().isNull());
        // A graph page prints as the graph under the heading.
        const QString ellipsePdf = QString::fromStdString(dir.Path("ellipses.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(ellipsePdf);
            dialog.PrintPage(printer);
        }
        QProcess ellipseText;
        ellipseText.start("pdftotext", {"-layout", ellipsePdf, "-"});
        QVERIFY(ellipseText.waitForFinished(20000));
        const QString ellipsePrinted = QString::fromUtf8(ellipseText.readAllStandardOutput());
        QVERIFY2(ellipsePrinted.contains("M2 north (cm/s)") || ellipsePrinted.contains("M2   north (cm/s)"),
                 qPrintable(ellipsePrinted));
        QVERIFY(ellipsePrinted.contains("anticlockwise"));

        // Save residual through the button: the detided file set appears.
        const std::string out = dir.Path("resid");
        dialog.chooseResidualName = [&] { return QString::fromStdString(out + ".CVN"); };
        dialog.SaveBtn->click();
        QVERIFY(testing::Exists(out + ".CVN"));
        QVERIFY(testing::Exists(out + ".RF6"));
        // The detided data set the residual graphs draw: only the mean flow.
        QVERIFY(dialog.Detided() != nullptr);
        const MeasurementRecord& r = dialog.Detided()->records[10];
        QVERIFY(std::abs(r.speed - 4.0f) < 0.05f);
    }

    void TidalDialogAnalysesAgainForTheTypedLatitude() {
        TidalRecord t;
        TdlgTidalAnalysis dialog;
        QVERIFY(LoadAndAnalyse(t, dialog));
        QVERIFY(dialog.EditLatitude->text().isEmpty());
        QVERIFY(std::isnan(dialog.Analysis().latitude));
        QVERIFY(dialog.LabelSummary->text().contains("(no latitude)"));
        dialog.show();
        dialog.Pages->setCurrentWidget(dialog.ChartEllipses);
        dialog.EditLatitude->setFocus();
        // The decimal comma, then Enter: analysed again, on the same page.
        dialog.EditLatitude->setText("60,4");
        QTest::keyClick(dialog.EditLatitude, Qt::Key_Return);
        QCOMPARE(dialog.Analysis().latitude, 60.4);
        QVERIFY2(dialog.LabelSummary->text().contains(QRegularExpression("latitude 60[.,]40° N")),
                 qPrintable(dialog.LabelSummary->text()));
        QCOMPARE(dialog.Pages->currentWidget(), static_cast<QWidget*>(dialog.ChartEllipses));

        // No latitude: the message, and what is on show stays.
        for (const char* bad : {"95", "north", "-90.5"}) {
            dialog.EditLatitude->setText(bad);
            QString message;
            testing::ModalWatcher<QMessageBox> box([&](QMessageBox* m) {
                message = m->text();
                m->accept();
            });
            QTest::keyClick(dialog.EditLatitude, Qt::Key_Return);
            QCOMPARE(box.Seen(), 1);
            QCOMPARE(message, QString(kTidalLatitudeMessage));
            QCOMPARE(dialog.Analysis().latitude, 60.4);
            QVERIFY(dialog.LabelSummary->text().contains(QRegularExpression("latitude 60[.,]40° N")));
        }
        // Emptied: the analysis goes without the latitude again.
        dialog.EditLatitude->clear();
        dialog.AnalyseBtn->click();
        QVERIFY(std::isnan(dialog.Analysis().latitude));
    }

    void TheMainWindowOffersBothCommands() {
        testing::TempDir dir;
        const std::string base = testing::WriteTidalFile(dir);
        MemorySettings store;
        // The latitude typed for an export is the mooring's.
        WriteDeploymentSite(store, DeploymentSite{60.4, 5.3, 100.0, {}, {}, {}});
        TfrmMain w(store);
        w.show();
        testing::ModalWatcher<TSelectDlg> range([](TSelectDlg* d) { d->OKBtn->click(); });
        w.OpenMeasurementFile(QString::fromStdString(base + ".CVN"));
        QVERIFY(w.Data().statisticsValid);

        auto* tidal = w.findChild<QAction*>("actTidalAnalysis");
        auto* declination = w.findChild<QAction*>("actDeclination");
        QVERIFY(tidal && declination);
        QVERIFY(w.menuGraph->actions().contains(tidal));
        int rows = 0;
        QString latitudeText;
        double latitude = 0;
        testing::ModalWatcher<TdlgTidalAnalysis> shown([&](TdlgTidalAnalysis* d) {
            rows = d->GridConstituents->rowCount();
            latitudeText = d->EditLatitude->text();
            latitude = d->Analysis().latitude;
            d->CloseBtn->click();
        });
        tidal->trigger();
        QVERIFY(rows > 4);
        QCOMPARE(latitudeText, QString("60.4"));
        QCOMPARE(latitude, 60.4);

        const float before = w.Data().records[0].direction;
        const double meanBefore = w.Stats().summary.mean[1];
        testing::ModalWatcher<TdlgDeclination> answer([](TdlgDeclination* d) {
            d->EditDegrees->setText("-20");
            d->OKBtn->click();
        });
        declination->trigger();
        QCOMPARE(answer.Seen(), 1);
        QVERIFY(w.Data().records[0].direction != before);
        // The statistics follow the turned directions.
        QVERIFY(w.Data().statisticsValid);
        QVERIFY(std::abs(w.Stats().summary.mean[1] - meanBefore) > 1.0);
    }

    void DeclinationToolTurnsTheFileAndRefusesBadInput() {
        testing::TempDir dir;
        DataSet data;
        ScaleSettings scale;
        Statistics stats;
        const std::string base = testing::WriteTidalFile(dir);
        Load(data, base, scale, stats);
        const float before = data.records[0].direction;
        TdlgDeclination dialog;
        int errors = 0;
        testing::ModalWatcher<TdlgDeclination> answer([&](TdlgDeclination* d) {
            // First a value that is no number: the error box, the dialog
            // stays; then "12,5" with the comma of the user's locale.
            d->EditDegrees->setText("east");
            testing::ModalWatcher<QMessageBox> box([&](QMessageBox* m) {
                ++errors;
                QCOMPARE(m->text(), QString(kDeclinationValueMessage));
                m->accept();
            });
            d->OKBtn->click();
            QVERIFY(d->isVisible());
            d->EditDegrees->setText("12,5");
            d->ComboSeries->setCurrentIndex(1);
            d->OKBtn->click();
        });
        QVERIFY(RunDeclination(nullptr, data, dialog));
        QCOMPARE(answer.Seen(), 1);
        QCOMPARE(errors, 1);
        QVERIFY(std::abs(std::remainder(data.records[0].direction - before - 12.5 * testing::kDeg,
                                        2 * std::numbers::pi)) < 1e-5);
        QVERIFY(testing::Exists(base + ".~CVN"));

        // A GPS file is refused before the dialog is shown.
        testing::TempDir gpsDir;
        DataSet gps;
        Load(gps, testing::WriteTidalFile(gpsDir, 2), scale, stats);
        int refusals = 0;
        testing::ModalWatcher<QMessageBox> box([&](QMessageBox* m) {
            ++refusals;
            QCOMPARE(m->text(), QString(kDeclinationGpsMessage));
            m->accept();
        });
        QVERIFY(!RunDeclination(nullptr, gps, dialog));
        QCOMPARE(refusals, 1);
        QVERIFY(!testing::Exists(gpsDir.Path("tidal.~CVN")));
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::AnalysisGuiTest)
#include "analysis_gui_tests.moc"
