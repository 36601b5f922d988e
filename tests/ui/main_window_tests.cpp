// The main window driven as a user drives it: real files, the real range
// dialog, clicks and keys.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include "data/data_set.h"
#include "data/measurement_files.h"
#include "data/text_export.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "instrument/gui/TInstrumentPage.h"
#include "instrument/gui/TReceivePump.h"
#include "instrument/gui/TVxObjComm.h"
#include "print/gui/printer_chooser.h"
#include "support/modal.h"
#include "ui/TAboutBox.h"
#include "ui/TExportDlg.h"
#include "ui/TSelectDlg.h"
#include "ui/TfrmMain.h"
#include "ui/export_command.h"
#include "ui/list_view.h"
#include "ui/settings_store.h"
#include "ui/table_grid.h"

using namespace corvan;
using corvan::testing::ClickOk;
using corvan::testing::OnNextModal;

namespace {

void WriteSet(const QString& base, int type, int kind, int count, std::vector<int> firsts = {0}) {
    DataSet d;
    d.baseName = base.toStdString();
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    d.header.sensorKind = static_cast<std::uint8_t>(kind);
    d.header.referenceNumber = 1234;
    d.header.count = static_cast<std::int16_t>(count);
    for (int i = 0; i < count; ++i) d.records[static_cast<std::size_t>(i)] = {10.0f + i % 7, 0.5f, 8.0f, 95.0f};
    for (std::size_t s = 0; s < firsts.size(); ++s) {
        d.series[s] = SeriesHeader{firsts[s], 97, 2, 25, 12, 0, 630, 0, -1.0f};
    }
    WriteMeasurementFile(d);
    WriteReferenceFile(d, static_cast<int>(firsts.size()));
}

// Prints to a PDF file of the test's.
class PdfChooser : public PrinterChooser {
public:
    explicit PdfChooser(const QString& file) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(file);
    }
    QPrinter* Choose(QWidget*, bool, PrintRangeChoice& range) override {
        range.kind = PrintRangeKind::Selected;
        ++calls;
        return &printer;
    }
    QPrinter printer{QPrinter::HighResolution};
    int calls = 0;
};

// The save dialog and the replace question answered by the test.
class ScriptedExportUi : public ExportUi {
public:
    QString fileName;
    bool replace = true;
    int questions = 0;
    void BorrowSaveDialog(const QString&, const QString&) override {}
    QString ExecuteSaveDialog(int) override { return fileName; }
    void ReturnSaveDialog() override {}
    bool ConfirmReplace(const QString&) override {
        ++questions;
        return replace;
    }
    void ShowError(const QString& message) override { QFAIL(qPrintable(message)); }
};

}  // namespace

class MainWindowTests : public QObject {
    Q_OBJECT

private slots:
    void openingTheSampleAsksForARangeAndShowsTheList() {
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        QVERIFY(!w.actExport->isEnabled());
        QVERIFY(!w.toolSelect->isEnabled());
        QCOMPARE(w.windowTitle(), QString("Corvan"));

        bool cancelShown = true;
        OnNextModal([&](QWidget* dlg) {
            cancelShown = dlg->findChild<QPushButton*>("CancelBtn")->isVisible();
            ClickOk(dlg);
        });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        QVERIFY(!cancelShown);
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageList));
        QCOMPARE(w.windowTitle(), "Corvan - " + QString(CORVAN_SAMPLES) + "/buoy3");
        QVERIFY(w.actExport->isEnabled());
        QVERIFY(w.toolTable->isEnabled());
        QCOMPARE(w.Data().rangeCount, 1728);
        QVERIFY(w.Data().statisticsValid);

        TListView* list = w.ListView;
        QCOMPARE(list->FirstVisibleRecord(), 0);
        QVERIFY(list->VisibleLines() > 10);
        QVERIFY(list->ScrollBarV->isEnabled());
        QCOMPARE(list->ScrollBarV->maximum(), 3024 - list->VisibleLines());
        const auto first = list->LineTexts(0);
        QCOMPARE(QString::fromStdString(first[0]), QString("*"));
        QCOMPARE(QString::fromStdString(first[2]), QString("1"));
        QCOMPARE(QString::fromStdString(first[6]), QString("04.Mar-24"));
        QCOMPARE(QString::fromStdString(first[7]), QString("12:10"));

        // The end of the file by keyboard; the last line is the last record.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(list->FirstVisibleRecord(), 3024 - list->VisibleLines());
        const auto last = list->LineTexts(3023);
        QCOMPARE(QString::fromStdString(last[2]), QString("3024"));
        QCOMPARE(QString::fromStdString(last[1]), QString("2"));
        // The mouse wheel moves one line.
        QTest::keyClick(list, Qt::Key_Home);
        QWheelEvent wheel(QPointF(50, 50), list->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
        QCOMPARE(list->FirstVisibleRecord(), 1);

        // The table page with its panel.
        w.toolTable->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageViews));
        QCOMPARE(w.LabelTitle->text(), QString("CURRENT SPEED / DIRECTION MATRIX"));
        QCOMPARE(w.LabelSerNum->text(), QString("Series number: 1"));
        QCOMPARE(w.LabelRefNum->text(), QString("Ref. number: 4711"));
        QCOMPARE(w.LabelIntvT->text(), QString("Interval time: 10 Minutes"));
        QCOMPARE(w.LabelFromTo->text(), QString("Data displayed from: 12:10 - 04.Mar-24   To: 12:00 - 16.Mar-24"));
        QCOMPARE(w.LabelNumMeas->text(), QString("Number of measurements in data set: 1728"));
        QCOMPARE(w.LabelFileName->text(), QString("File name: buoy3.CVN"));
        QCOMPARE(w.StringGridTab->rowCount(), 27);
        QCOMPARE(w.StringGridTab->columnCount(), 17);
        QCOMPARE(w.StringGridTab->CellText(0, 1), QString("Current speed groups"));
        QCOMPARE(w.StringGridTab->CellText(26, 0), QString("Sum%"));
        w.actSummary->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("STATISTICAL SUMMARY"));
        QCOMPARE(w.Notebook2->currentIndex(), int(kInnerSummary));
        w.actList->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageList));
    }

    void theRangeDialogAfterOpenCannotBeEscaped() {
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        bool shownAfterEscape = false;
        bool shownAfterClose = false;
        OnNextModal([&](QWidget* dlg) {
            QWidget* focus = dlg->focusWidget() ? dlg->focusWidget() : dlg;
            QTest::keyClick(focus, Qt::Key_Escape);
            shownAfterEscape = dlg->isVisible();
            dlg->close();
            shownAfterClose = dlg->isVisible();
            if (dlg->isVisible()) ClickOk(dlg);
        });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        QVERIFY(shownAfterEscape);
        QVERIFY(shownAfterClose);
        QVERIFY(w.Data().statisticsValid);
        QCOMPARE(w.Data().rangeCount, 1728);
        QCOMPARE(w.LabelFileName->text(), QString("File name: buoy3.CVN"));

        // Without valid statistics nothing that needs a range is offered,
        // and the caption is the program's alone.
        w.Data().statisticsValid = false;
        w.Refresh();
        for (QAction* a : {w.toolSelect, w.actSetRange, w.actSetScaling, w.actExport}) QVERIFY(!a->isEnabled());
        QCOMPARE(w.windowTitle(), QString("Corvan"));

        // A file whose only series holds no measurement has no range to
        // choose: then, and only then, the dialog may be left.
        QTemporaryDir dir;
        WriteSet(dir.filePath("hollow"), 0, 0, 5, {5});
        bool cancelShown = false;
        OnNextModal([&](QWidget* dlg) {
            cancelShown = dlg->findChild<QPushButton*>("CancelBtn")->isVisible();
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        w.OpenMeasurementFile(dir.filePath("hollow"));
        QVERIFY(cancelShown);
        QVERIFY(!w.Data().statisticsValid);
        QVERIFY(!w.actExport->isEnabled());
    }

    void firstActivationTakesTheTitleFromTheVersion() {
        MemorySettings store;
        TfrmMain w(store);
        w.version.internalName = "Survey";
        w.version.fileVersion = "4.2.1";
        w.show();
        QCOMPARE(w.windowTitle(), QString("Survey"));
        // The about box got the caption from before the version was read.
        QCOMPARE(w.AboutBox->windowTitle(), QString("Corvan"));
        QCOMPARE(w.AboutBox->ProductName->text(), QString("Survey"));
        QCOMPARE(w.AboutBox->Version->text(), QString("Version: 4.2.1"));
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.ListView));

        // The charts stay locked while the range is chosen, so nothing
        // paints the old graph over the new statistics.
        bool lockedDuringOpen = false;
        OnNextModal([&](QWidget* dlg) {
            lockedDuringOpen = w.GraphPage->Chart1->IsUpdating() && w.GraphPage->Chart2->IsUpdating();
            ClickOk(dlg);
        });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        QVERIFY(lockedDuringOpen);
        QVERIFY(w.windowTitle().startsWith("Survey - "));
        QVERIFY(w.windowTitle().endsWith(" - " + QString(CORVAN_SAMPLES) + "/buoy3"));
        w.toolLine->trigger();
        bool lockedDuringSetRange = false;
        OnNextModal([&](QWidget* dlg) {
            lockedDuringSetRange = w.GraphPage->Chart1->IsUpdating();
            ClickOk(dlg);
        });
        w.actSetRange->trigger();
        QVERIFY(lockedDuringSetRange);
        QVERIFY(!w.GraphPage->Chart1->IsUpdating());
    }

    void theRangeDialogChoosesSeriesAndTypedLimits() {
        QTemporaryDir dir;
        const QString base = dir.filePath("three");
        WriteSet(base, 0, 0, 400, {0, 100, 250});
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        OnNextModal(ClickOk);
        w.OpenMeasurementFile(base);
        QCOMPARE(w.Data().rangeLast, 99);

        OnNextModal([](QWidget* dlg) {
            auto* sel = static_cast<TSelectDlg*>(dlg);
            // The spins follow typing only with the focus, which an inactive
            // window's widgets do not have.
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            QVERIFY(sel->CancelBtn->isVisible());
            QCOMPARE(sel->ComboBox1->count(), 3);
            sel->ComboBox1->setFocus();
            QTest::keyClick(sel->ComboBox1, Qt::Key_Down);
            QCOMPARE(sel->SpinFirst->value(), 101);
            QCOMPARE(sel->SpinLast->value(), 250);
            QCOMPARE(sel->SpinCount->value(), 150);
            // Type 120 into Last: while typing, First stays where it was.
            sel->SpinLast->setFocus();
            sel->SpinLast->selectAll();
            QTest::keyClicks(sel->SpinLast, "120");
            QCOMPARE(sel->SpinFirst->value(), 101);
            QCOMPARE(sel->SpinCount->value(), 20);
            sel->SpinCount->setFocus();
            sel->SpinCount->selectAll();
            QTest::keyClicks(sel->SpinCount, "10");
            QCOMPARE(sel->SpinLast->value(), 110);
            ClickOk(dlg);
        });
        w.actSetRange->trigger();
        QCOMPARE(w.Data().currentSeries, 2);
        QCOMPARE(w.Data().rangeFirst, 100);
        QCOMPARE(w.Data().rangeLast, 109);
        QCOMPARE(w.Data().rangeCount, 10);
        QCOMPARE(w.ListView->FirstVisibleRecord(), 100);

        // Cancel changes nothing.
        OnNextModal([](QWidget* dlg) {
            auto* sel = static_cast<TSelectDlg*>(dlg);
            sel->ComboBox1->setFocus();
            QTest::keyClick(sel->ComboBox1, Qt::Key_Down);
            QTest::mouseClick(sel->CancelBtn, Qt::LeftButton);
        });
        w.actSetRange->trigger();
        QCOMPARE(w.Data().currentSeries, 2);
        QCOMPARE(w.Data().rangeCount, 10);
    }

    void commandsFollowTheInstrumentType() {
        QTemporaryDir dir;
        struct Case {
            int type, kind;
            bool table;
            bool optional, oxygen, flux;
            QString optionalCaption;
            QString typeName;
        };
        const Case cases[] = {
            {0, 0, true, false, false, false, "", "Corvan"},
            {2, 0, false, false, false, false, "", "CorvanGPS"},
            {3, 1, true, true, true, false, "Ox Sat", "CorvanOPT"},
            {3, 2, true, true, false, true, "Turbidity", "CorvanOPT"},
            {4, 0, false, false, false, false, "", "CorvanT"},
        };
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        for (const Case& c : cases) {
            const QString base = dir.filePath(QString("t%1k%2").arg(c.type).arg(c.kind));
            WriteSet(base, c.type, c.kind, 30);
            OnNextModal(ClickOk);
            w.OpenMeasurementFile(base + ".cvn");
            QCOMPARE(w.toolTable->isEnabled(), c.table);
            QCOMPARE(w.menuTable->isEnabled(), c.table);
            QCOMPARE(w.lineItems[3]->isVisible(), c.optional);
            if (c.optional) QCOMPARE(w.lineItems[3]->text(), c.optionalCaption);
            QCOMPARE(w.lineItems[5]->isVisible(), c.oxygen);
            QCOMPARE(w.barItems[2]->isVisible(), c.oxygen);
            QCOMPARE(w.lineItems[4]->isVisible(), c.flux);
            QVERIFY(w.actExport->isEnabled());
            QCOMPARE(w.windowTitle(), c.typeName + " - " + base);
            // 31 records do not fit a small window: the bar's maximum is the rest.
            w.resize(600, 300);
            QApplication::processEvents();
            QCOMPARE(w.ListView->ScrollBarV->maximum(), std::max(0, 30 - w.ListView->VisibleLines()));
            w.resize(1000, 700);
        }
        // The table tool does nothing for a temperature logger.
        w.toolTable->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageList));
    }

    void aMissingFileIsReportedAndTheLoadedOneStays() {
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        OnNextModal(ClickOk);
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/oxy17");
        QString warning;
        OnNextModal([&](QWidget* box) {
            warning = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        w.OpenMeasurementFile("/nonexistent/folder/gone.CVN");
        QCOMPARE(warning, QString("/nonexistent/folder/gone.CVN\nThis file cannot be found.\n"
                                  "Make sure that you have specified the correct path and filename"));
        QVERIFY(w.Data().dataLoaded);
        // The panel and the printouts go on naming the file still loaded.
        QCOMPARE(w.OpenFileName(), QString("oxy17.CVN"));
        OnNextModal(ClickOk);
        w.actSetRange->trigger();
        QCOMPARE(w.LabelFileName->text(), QString("File name: oxy17.CVN"));
        QCOMPARE(w.Data().header.instrumentType, std::uint8_t(3));
        // The L-file's columns are in the list.
        QCOMPARE(w.ListView->Columns().size(), std::size_t(16));
        // Cancelling the open dialog keeps the file.
        w.chooseOpenFileName = [](const QString&) { return QString(); };
        w.actOpen->trigger();
        QVERIFY(w.Data().dataLoaded);
    }

    void aBrokenFileLeavesTheWindowWithoutData() {
        QTemporaryDir dir;
        const QString base = dir.filePath("noref");
        WriteSet(base, 0, 0, 5);
        QFile::remove(base + ".RF6");
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        QString error;
        OnNextModal([&](QWidget* box) {
            error = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        w.OpenMeasurementFile(base);
        QCOMPARE(error, QString("Fatal error. Reference file not found."));
        QVERIFY(!w.Data().dataLoaded);
        QVERIFY(!w.actExport->isEnabled());
        QCOMPARE(w.windowTitle(), QString("Corvan"));
    }

    void exportWritesTheSelectedRecordsAsTheWriterDoes() {
        QTemporaryDir dir;
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        OnNextModal([](QWidget* dlg) {
            auto* sel = static_cast<TSelectDlg*>(dlg);
            sel->SpinCount->setFocus();
            sel->SpinCount->selectAll();
            QTest::keyClicks(sel->SpinCount, "25");
            ClickOk(dlg);
        });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3");
        QCOMPARE(w.Data().rangeCount, 25);
        ScriptedExportUi ui;
        ui.fileName = dir.filePath("out");
        w.exportUi = &ui;
        OnNextModal([](QWidget* dlg) {
            auto* exp = static_cast<TExportDlg*>(dlg);
            // "Selected measurements", DOS layout.
            const auto radios = exp->findChildren<QRadioButton*>();
            for (QRadioButton* r : radios) {
                if (r->text() == "Selected measurements" || r->text() == "DOS") r->click();
            }
            QTest::mouseClick(exp->OKBtn, Qt::LeftButton);
        });
        w.actExport->trigger();
        QFile out(dir.filePath("out.prn"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray written = out.readAll();
        TextExportOptions options;
        options.layout = ExportLayout::Dos;
        options.records = ExportRecords(w.Data(), ExportContents::SelectedMeasurements, 1);
        const std::string expected = BuildTextExport(w.Data(), options, IsoExportLocale());
        QCOMPARE(written, QByteArray::fromStdString(expected));
        QCOMPARE(written.count('\n'), 26);
        QCOMPARE(ui.questions, 0);
    }

#ifdef CORVAN_SIM_PATH
    void aDownloadFromTheInstrumentPageOpensLikeAFile() {
        QTemporaryDir dir;
        QProcess sim;
        sim.start(CORVAN_SIM_PATH, {"--once", "--timeout", "60", "--count", "300", "--type", "0"});
        QVERIFY(sim.waitForStarted());
        while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
        }
        const QString device = QString::fromLatin1(sim.readLine()).trimmed();
        QVERIFY(!device.isEmpty());

        MemorySettings store;
        TfrmMain w(store);
        w.show();
        w.InstComm->SetDevice(device);
        w.actInstrument->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageComm));
        QVERIFY(w.InstComm->IsOpen());
        QVERIFY(w.Pump().Running());
        QVERIFY(w.InstrumentPage->DownloadBtn->isEnabled());

        // A file opened from the samples makes them the current data folder.
        OnNextModal(ClickOk);
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        w.actInstrument->trigger();

        const QString file = dir.filePath("fromsim.CVN");
        QString startFolder;
        OnNextModal([file, &startFolder](QWidget*) {
            // The download dialog first; the save dialog follows it.
            auto* watch = new QTimer;
            QObject::connect(watch, &QTimer::timeout, [watch, file, &startFolder] {
                auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!d) return;
                watch->stop();
                watch->deleteLater();
                startFolder = d->directory().absolutePath();
                d->findChild<QLineEdit*>("fileNameEdit")->setText(file);
                static_cast<QDialog*>(d)->accept();
            });
            watch->start(10);
        });
        QTest::mouseClick(w.InstrumentPage->DownloadBtn, Qt::LeftButton);
        QCOMPARE(startFolder, QDir(CORVAN_SAMPLES).absolutePath());
        QVERIFY(w.Data().dataLoaded);
        QVERIFY(w.Data().statisticsValid);
        QCOMPARE(w.Data().recordCount, 300);
        QVERIFY(w.actExport->isEnabled());
        QVERIFY(w.windowTitle().endsWith(dir.filePath("fromsim")));
        w.actList->trigger();
        QVERIFY(!w.Pump().Running());
        QCOMPARE(QString::fromStdString(w.ListView->LineTexts(299)[2]), QString("300"));
        sim.waitForFinished(10000);

        DataSet loaded;
        loaded.baseName = dir.filePath("fromsim").toStdString();
        LoadMeasurementFiles(loaded);
        QCOMPARE(loaded.recordCount, 300);
    }
#endif

    void lineAndBarGraphsAreShownOnTheChartPage() {
        MemorySettings store;
        TfrmMain w(store);
        w.resize(1000, 700);
        w.show();
        OnNextModal(ClickOk);
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3");
        QVERIFY(w.toolLine->isEnabled());
        QVERIFY(w.toolVector->isEnabled());
        w.toolLine->trigger();
        QCOMPARE(w.Notebook1->currentIndex(), int(kPageViews));
        QCOMPARE(w.Notebook2->currentIndex(), int(kInnerChart));
        QCOMPARE(w.LabelTitle->text(), QString("CURRENT SPEED"));
        QVERIFY(w.actCopy->isEnabled());
        QVERIFY(!w.actPercent->isEnabled());
        w.lineItems[2]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("TEMPERATURE"));
        w.barItems[1]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("CURRENT DIRECTION BAR CHART"));
        QVERIFY(w.actPercent->isEnabled());
        w.actPercent->trigger();
        QVERIFY(w.actPercent->isChecked());
        QVERIFY(!w.actNumberMeasured->isChecked());
        // The chart drew something other than its background.
        const QImage shot = w.GraphPage->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4) colours.insert(shot.pixel(x, y));
        }
        QVERIFY(colours.size() > 3);
        w.actCopy->trigger();

        // The progressive vector with its legend line.
        w.vectorItems[0]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("PROGRESSIVE VECTOR"));
        QVERIFY(w.Panel3->isVisible());
        QVERIFY(w.LabelNeumannP->text().startsWith("Neumann parameter: "));
        QVERIFY(w.LabelNeumannP->text().size() > QString("Neumann parameter: ").size());
        w.vectorItems[3]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("STICK DIAGRAM"));
        QVERIFY(!w.Panel3->isVisible());
        w.vectorItems[1]->trigger();
        QCOMPARE(w.LabelTitle->text(), QString("CURRENT VELOCITY DISTRIBUTION DIAGRAM"));
    }

    void printTheShownPageToPdf() {
        QTemporaryDir dir;
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        OnNextModal(ClickOk);
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3");
        PdfChooser summary(dir.filePath("summary.pdf"));
        w.printerChooser = &summary;
        w.actSummary->trigger();
        w.actPrint->trigger();
        QCOMPARE(summary.calls, 1);
        QVERIFY(QFileInfo(dir.filePath("summary.pdf")).size() > 1000);
        PdfChooser list(dir.filePath("list.pdf"));
        w.printerChooser = &list;
        w.actList->trigger();
        w.actPrint->trigger();
        QCOMPARE(list.calls, 1);
        QVERIFY(QFileInfo(dir.filePath("list.pdf")).size() > QFileInfo(dir.filePath("summary.pdf")).size());
        PdfChooser graph(dir.filePath("graph.pdf"));
        w.printerChooser = &graph;
        w.toolLine->trigger();
        w.actPrint->trigger();
        QCOMPARE(graph.calls, 1);
        QVERIFY(QFileInfo(dir.filePath("graph.pdf")).size() > 1000);
        // The instrument page has nothing to print.
        w.printerChooser = nullptr;
        w.Notebook1->setCurrentIndex(kPageBlank);
        w.actPrint->trigger();
    }

    void settingsAreSeededOnceAndWrittenAtExit() {
        QTemporaryDir dir;
        QFile ini(dir.filePath("CvInstr.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Comm]\r\nPort=4\r\nCorvanBaud=19200\r\n[Chart]\r\nIMargin=65\r\n[Directory]\r\nCorvan=" +
                  dir.path().toUtf8() + "\r\n[Margins]\r\nLeft=2.5\r\nTop=x\r\n");
        ini.close();
        const QString storeFile = dir.filePath("store.conf");
        {
            SettingsStore store(storeFile);
            QVERIFY(store.IsNew());
            QCOMPARE(store.SeedIfNew({dir.filePath("missing.ini"), ini.fileName()}), ini.fileName());
            QCOMPARE(store.ReadInteger("Comm", "Port", 1), 4);
            const MainWindowSettings s = LoadMainWindowSettings(store);
            QCOMPARE(s.iMargin, 65);
            QCOMPARE(s.marginsMm[0], 25.0);
            QCOMPARE(s.marginsMm[1], 10.0);
            QCOMPARE(s.marginsMm[2], 0.0);
            TfrmMain w(store);
            w.show();
            OnNextModal(ClickOk);
            w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3");
            w.close();
        }
        // The second start does not read the INI file again.
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Comm]\r\nPort=9\r\n");
        ini.close();
        SettingsStore again(storeFile);
        QVERIFY(!again.IsNew());
        QVERIFY(again.SeedIfNew({ini.fileName()}).isEmpty());
        QCOMPARE(again.ReadInteger("Comm", "Port", 1), 4);
        QCOMPARE(QString::fromStdString(again.ReadString("Directory", "Corvan", "")),
                 QFileInfo(QString(CORVAN_SAMPLES)).absoluteFilePath());
        QCOMPARE(again.ReadInteger("Chart", "IMargin", 0), 65);
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    MainWindowTests tests;
    return QTest::qExec(&tests, argc, argv);
}
#include "main_window_tests.moc"
