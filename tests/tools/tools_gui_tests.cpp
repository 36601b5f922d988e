// The correction dialogs driven as a user drives them: typing, Tab, clicks,
// on files in a temporary folder; the calibration sheet printed to PDF and
// read back with pdftotext.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "data/byte_io.h"
#include "data/settings_access.h"
#include "support/modal.h"
#include "support/temp_dir.h"
#include "tools/belvan.h"
#include "tools/gui/TCalRawDlg.h"
#include "tools/gui/TGpsMergeDlg.h"
#include "tools/gui/TReCalcDlg.h"
#include "tools/gui/TToolsMenu.h"
#include "tools/gui/TdlgMeasScale.h"
#include "tools/gui/TdlgSetSal.h"
#include "tools/tool_fixtures.h"
#include "ui/TSelectDlg.h"
#include "ui/TfrmMain.h"

using namespace corvan;
using corvan::testing::CaptureNextMessage;
using corvan::testing::ClickOk;
using corvan::testing::OnNextModal;

namespace {

// Types into a box as a user does, then leaves it with Tab.
void TypeAndTab(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

// The text of a PDF with every run of blanks as one, as pdftotext cannot
// tell two spaces from one.
QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    for (QString& l : lines) l = l.simplified();
    return lines.join('\n');
}

// Opens the salinity cell of a row for editing (F2), replaces its text by
// typing, and ends the edit with Enter.
void TypeIntoCell(QTableWidget* grid, int row, const QString& text) {
    QApplication::setActiveWindow(grid->window());
    grid->setFocus();
    grid->setCurrentCell(row, 4);
    QTest::keyClick(grid->viewport(), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    if (!text.isEmpty()) QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits an edit ended with Enter on the next turn of the
    // event loop.
    QCoreApplication::processEvents();
}

std::string Path(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }

}  // namespace

class ToolsGuiTests : public QObject {
    Q_OBJECT

private slots:
    void calibrationBoxesButtonsAndTheSheetPrintedToPdf() {
        QTemporaryDir dir;
        TCalRawDlg dlg;
        dlg.printToPdf = true;
        int pdfNumber = 0;
        dlg.choosePdfFileName = [&](QWidget*) { return dir.filePath(QString("sheet%1.pdf").arg(++pdfNumber)); };
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.CalcBtn->isEnabled());
        TypeAndTab(dlg.EditInstrument, "CV-77");
        const char* values[6] = {"6000", "2000", "700", "0", "20", "40"};
        QLineEdit* boxes[6] = {dlg.EditR[0], dlg.EditR[1], dlg.EditR[2], dlg.EditT[0], dlg.EditT[1], dlg.EditT[2]};
        for (int i = 0; i < 5; ++i) TypeAndTab(boxes[i], values[i]);
        QVERIFY(!dlg.PrintBtn->isEnabled());
        QVERIFY(dlg.EditA->text().isEmpty());
        // Entering a value box makes the coefficients' Calc the default.
        QVERIFY(dlg.CalcBtn->isDefault());
        TypeAndTab(boxes[5], "40,0");
        QCOMPARE(dlg.EditT[2]->text(), QString("40.00"));
        QVERIFY(dlg.CalcBtn->isEnabled() && dlg.CalcTestBtn->isEnabled() && dlg.PrintBtn->isEnabled());
        QCOMPARE(dlg.EditA->text(), QString("2.118338E-03"));
        QCOMPARE(dlg.EditC->text(), QString("4.037406E-07"));

        dlg.EditTestR->setFocus();
        QVERIFY(dlg.CalcTestBtn->isDefault());
        QTest::keyClicks(dlg.EditTestR, "2000");
        QTest::keyClick(dlg.EditTestR, Qt::Key_Return);
        QCOMPARE(dlg.EditTestT->text(), QString("20.00"));
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        dlg.EditTestR->setText("0");
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        QCOMPARE(dlg.EditTestT->text(), QString("Error"));
        QVERIFY(dlg.PrintJobStarted());
        // A box made invalid disables the calculations again.
        TypeAndTab(dlg.EditR[1], "abc");
        QVERIFY(!dlg.PrintBtn->isEnabled());
        QTest::mouseClick(dlg.CloseBtn, Qt::LeftButton);
        QVERIFY(!dlg.PrintJobStarted());

        const QString sheet = PdfText(dir.filePath("sheet1.pdf"));
        QVERIFY2(sheet.contains("Temperature calibration from RAW data."), qPrintable(sheet));
        QVERIFY(sheet.contains("Instrument number:CV-77"));
        QVERIFY2(sheet.contains("R1 = 6000 T1= 0.00"), qPrintable(sheet));
        QVERIFY(sheet.contains("A = 2.118338E-03"));
        QVERIFY(sheet.contains("T = 20.00"));
        QCOMPARE(sheet.count("R = "), 2);

        // Opening again and printing starts a new job with its own heading.
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        TypeAndTab(dlg.EditR[1], "2000");
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        dlg.accept();
        const QString second = PdfText(dir.filePath("sheet2.pdf"));
        QCOMPARE(second.count("Temperature calibration from RAW data."), 1);
        QCOMPARE(second.count("R = "), 1);
    }

    void recalculationBoxes() {
        TReCalcDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.CalcRtBtn->isEnabled());
        TypeAndTab(dlg.EditA, "2,118338E-03");
        TypeAndTab(dlg.EditB, "1.467553e-4");
        TypeAndTab(dlg.EditC, "4.037406E-07");
        QCOMPARE(dlg.EditB->text(), QString("1.467553E-04"));
        QVERIFY(dlg.CalcRtBtn->isEnabled() && dlg.CalcNewABtn->isEnabled());
        dlg.EditMeasured->setFocus();
        QVERIFY(dlg.CalcRtBtn->isDefault());
        TypeAndTab(dlg.EditMeasured, "20");
        QCOMPARE(dlg.EditRt->text(), QString("2000.0"));
        TypeAndTab(dlg.EditReference, "20");
        QVERIFY(dlg.EditNewA->text().startsWith("2.11"));
        TypeAndTab(dlg.EditRt, "0.04");
        QTest::mouseClick(dlg.CalcNewABtn, Qt::LeftButton);
        QCOMPARE(dlg.EditNewA->text(), QString());
        TypeAndTab(dlg.EditMeasured, "-40");
        QCOMPARE(dlg.EditRt->text(), QString("Underflow"));
    }

    void salinityGridTypedAndWritten() {
        QTemporaryDir dir;
        const std::string base = Path(dir, "oxy");
        testing::SetLayout layout;
        layout.type = 3;
        layout.sensorKind = 1;
        layout.count = 20;
        layout.series[0].salinity = 33.0f;
        layout.series.push_back(SeriesHeader{10, 24, 3, 9, 7, 5, 600, 2, 30.0f});
        testing::WriteSet(base, layout);
        DataSet d;
        QVERIFY(testing::LoadSet(base, d));

        TdlgSetSal dlg(d);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTableWidget* grid = dlg.StringGridPress;
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 2)->text(), QString("24.03.04"));
        QCOMPARE(grid->item(1, 3)->text(), QString("07:05"));
        QCOMPARE(grid->item(0, 4)->text(), QString("33.00"));
        // Exactly as wide as its columns: nothing hidden, nothing to spare.
        int columns = 0;
        for (int c = 0; c < 5; ++c) columns += grid->columnWidth(c);
        QCOMPARE(grid->width(), columns + 2 * grid->frameWidth());
        QCOMPARE(grid->horizontalHeader()->length(), columns);
        QVERIFY(dlg.OKBtn->geometry().right() <= grid->geometry().right());

        TypeIntoCell(grid, 0, "abc");
        QCOMPARE(grid->item(0, 4)->text(), QString("33.00"));
        TypeIntoCell(grid, 1, "34,5");
        QCOMPARE(grid->item(1, 4)->text(), QString("34.50"));
        QVERIFY(!dlg.RowEdited(1));
        ClickOk(&dlg);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(QFileInfo::exists(QString::fromStdString(base + ".~RF6")));
        DataSet again;
        QVERIFY(testing::LoadSet(base, again));
        QCOMPARE(again.series[0].salinity, 33.0f);
        QCOMPARE(again.series[1].salinity, 34.5f);

        // Clearing a cell stores "not set"; the grid shows it empty next time.
        dlg.show();
        TypeIntoCell(grid, 1, "");
        ClickOk(&dlg);
        QVERIFY(testing::LoadSet(base, again));
        QCOMPARE(again.series[1].salinity, -1.0f);
        dlg.show();
        QCOMPARE(grid->item(1, 4)->text(), QString());
        dlg.reject();
    }

    void scalingFactorRefusedThenApplied() {
        QTemporaryDir dir;
        const std::string base = Path(dir, "cur");
        testing::SetLayout layout;
        layout.count = 8;
        layout.series.push_back(SeriesHeader{4, 24, 3, 9, 7, 5, 600, 2, -1.0f});
        testing::WriteSet(base, layout);
        DataSet d;
        QVERIFY(testing::LoadSet(base, d));
        d.records[6].speed = kInvalidValue;

        TdlgMeasScale dlg(d);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.ComboSeries->count(), 3);
        QCOMPARE(dlg.ComboSeries->currentText(), QString("All"));
        QCOMPARE(QApplication::focusWidget(), dlg.EditFactor);
        QTest::keyClicks(dlg.EditFactor, "x");
        QString message;
        CaptureNextMessage(message);
        ClickOk(&dlg);
        QCOMPARE(message, QString("Error in scale value"));
        QVERIFY(dlg.isVisible());
        QVERIFY(!QFileInfo::exists(QString::fromStdString(base + ".~CVN")));

        dlg.EditFactor->setText("0,5");
        dlg.ComboSeries->setCurrentIndex(2);
        ClickOk(&dlg);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        DataSet after;
        QVERIFY(testing::LoadSet(base, after));
        QCOMPARE(after.records[3].speed, 13.0f);
        QCOMPARE(after.records[4].speed, 7.0f);
        QCOMPARE(after.records[6].speed, kInvalidValue);
        QVERIFY(QFileInfo::exists(QString::fromStdString(base + ".~CVN")));
    }

    void mergeDialogLoadsSelectsAndMerges() {
        QTemporaryDir dir;
        const std::string t = Path(dir, "temp");
        const std::string g = Path(dir, "gps");
        const std::string opt = Path(dir, "opt");
        testing::SetLayout ts;
        ts.count = 12;
        testing::WriteSet(t, ts);
        testing::SetLayout gs;
        gs.type = 2;
        gs.count = 6;
        testing::WriteSet(g, gs);
        testing::SetLayout os;
        os.type = 3;
        testing::WriteSet(opt, os);

        DataSet data;
        data.dataLoaded = true;
        TSelectDlg select(data);
        TGpsMergeDlg dlg(data, select);
        QString next;
        dlg.chooseFileName = [&](MergeSide, const QString&) { return next; };
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!data.dataLoaded);
        QVERIFY(!dlg.SelT->isEnabled());

        // Loading runs the range dialog at once, without its Cancel button.
        bool cancelShown = true;
        OnNextModal([&](QWidget* w) {
            auto* s = qobject_cast<TSelectDlg*>(w);
            QVERIFY(s);
            cancelShown = s->CancelBtn->isVisible();
            s->SpinFirst->setValue(3);
            ClickOk(s);
        });
        next = QString::fromStdString(t + ".CVN");
        QTest::mouseClick(dlg.LoadT, Qt::LeftButton);
        QVERIFY(!cancelShown);
        QCOMPARE(dlg.EditTfile->text(), QString("temp.CVN"));
        QCOMPARE(dlg.EditTfirst->text(), QString("3"));
        QCOMPARE(dlg.EditTlast->text(), QString("12"));
        QVERIFY(dlg.SelT->isEnabled());

        QString message;
        CaptureNextMessage(message);
        next = QString::fromStdString(opt + ".CVN");
        QTest::mouseClick(dlg.LoadG, Qt::LeftButton);
        QCOMPARE(message, QString("Not a valid GPS file."));
        QVERIFY(!dlg.SelG->isEnabled());

        OnNextModal([](QWidget* w) { ClickOk(w); });
        next = QString::fromStdString(g + ".CVN");
        QTest::mouseClick(dlg.LoadG, Qt::LeftButton);
        QCOMPARE(dlg.EditGfirst->text(), QString("1"));
        QCOMPARE(dlg.EditGlast->text(), QString("6"));
        // The select button offers the run again, now with Cancel.
        OnNextModal([&](QWidget* w) {
            auto* s = qobject_cast<TSelectDlg*>(w);
            QVERIFY(s);
            cancelShown = s->CancelBtn->isVisible();
            QCOMPARE(s->SpinFirst->value(), 1);
            s->SpinFirst->setValue(2);
            ClickOk(s);
        });
        QTest::mouseClick(dlg.SelG, Qt::LeftButton);
        QVERIFY(cancelShown);
        QCOMPARE(dlg.EditGfirst->text(), QString("2"));

        ClickOk(&dlg);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!data.dataLoaded);
        DataSet after;
        QVERIFY(testing::LoadSet(g, after));
        QCOMPARE(after.records[0].temperature, kInvalidValue);
        QCOMPARE(after.records[1].temperature, 5.2f);
        QCOMPARE(after.records[5].temperature, 5.6f);
        QCOMPARE(after.records[5].speed, 3605.0f);
    }

    void utilMenuEnablingMessagesAndBelvan() {
        QTemporaryDir dir;
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int i : {0, 3, 4, 5, 8}) QVERIFY(w.utilItems[i]->isEnabled());
        QVERIFY(!w.actUpdateSalinity->isEnabled());

        QString message;
        CaptureNextMessage(message);
        w.Tools->MeasurementScalingClick();
        QCOMPARE(message, QString("No data loaded"));

        OnNextModal([](QWidget* d) { ClickOk(d); });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        QVERIFY(!w.actUpdateSalinity->isEnabled());
        OnNextModal([](QWidget* d) { ClickOk(d); });
        w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/oxy17.CVN");
        QVERIFY(w.actUpdateSalinity->isEnabled());

        // Belvan: a file of two records ten minutes apart.
        std::vector<std::uint8_t> dat;
        ByteWriter bw(dat);
        for (int n = 1; n <= 2; ++n) {
            bw.I16(static_cast<std::int16_t>(n));
            for (int b : {129, 0, 0, 0, 0, 0}) bw.U8(static_cast<std::uint8_t>(b));
            bw.I16(0);
            for (int b : {129, 0, 0, 0, 0, 0}) bw.U8(static_cast<std::uint8_t>(b));
            bw.I16(2001);
            for (int b : {1, 2, 3, n * 10}) bw.U8(static_cast<std::uint8_t>(b));
        }
        QDir(dir.path()).mkdir("in");
        testing::WriteBytes(dir.filePath("in/old.dat").toStdString(), dat);
        QString output = dir.filePath("new.CVN");
        int questions = 0;
        bool replace = false;
        w.Tools->belvanUi.chooseInput = [&](const QString&) { return dir.filePath("in/old.dat"); };
        w.Tools->belvanUi.chooseOutput = [&](const QString&) { return output; };
        w.Tools->belvanUi.confirmReplace = [&](const QString&) {
            ++questions;
            return replace;
        };
        w.Tools->belvanUi.showError = [&](const QString& text) { message = text; };
        w.Tools->ConvertBelvanClick();
        QVERIFY(!w.Data().dataLoaded);
        QCOMPARE(w.Notebook1->currentIndex(), 3);
        // The oxygen file is no longer loaded, though its sensor still
        // enables the item.
        QVERIFY(w.actUpdateSalinity->isEnabled());
        CaptureNextMessage(message);
        w.actUpdateSalinity->trigger();
        QCOMPARE(message, QString("No file opened"));
        QVERIFY(QFileInfo::exists(dir.filePath("new.CVN")));
        QCOMPARE(w.OpenDialogFileName(), dir.filePath("new.CVN"));
        QCOMPARE(QString::fromStdString(store.ReadString("Directory", "Belvan", "")), dir.filePath("in"));
        const QByteArray first = [&] {
            QFile f(dir.filePath("new.CVN"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        // An existing set is replaced only on Yes, and then kept as backup.
        w.Tools->ConvertBelvanClick();
        QCOMPARE(questions, 1);
        QVERIFY(!QFileInfo::exists(dir.filePath("new.~CVN")));
        replace = true;
        w.Tools->ConvertBelvanClick();
        QVERIFY(QFileInfo::exists(dir.filePath("new.~CVN")));
        QCOMPARE(QFileInfo(dir.filePath("new.~CVN")).size(), first.size());
        // A file that cannot be converted is reported and leaves nothing.
        std::vector<std::uint8_t> twin = dat;
        twin[22] = 1;
        testing::WriteBytes(dir.filePath("in/old.dat").toStdString(), twin);
        output = dir.filePath("bad.CVN");
        w.Tools->ConvertBelvanClick();
        QVERIFY(message.startsWith(dir.filePath("in/old.dat")));
        QVERIFY(!QFileInfo::exists(dir.filePath("bad.CVN")));
        QVERIFY(!QFileInfo::exists(dir.filePath("bad.RF6")));
        // Only a written set is offered next time the Open dialog comes up.
        QCOMPARE(w.OpenDialogFileName(), dir.filePath("new.CVN"));
    }

    // With CORVAN_SCREENSHOTS naming a folder, each dialog is saved there as
    // a picture to look at; without it there is nothing to do.
    void screenshotsOnRequest() {
        const QString out = qEnvironmentVariable("CORVAN_SCREENSHOTS");
        if (out.isEmpty()) QSKIP("CORVAN_SCREENSHOTS not set");
        QTemporaryDir dir;
        const std::string oxy = Path(dir, "oxy");
        testing::SetLayout layout;
        layout.type = 3;
        layout.sensorKind = 1;
        layout.count = 30;
        layout.series[0].salinity = 34.5f;
        layout.series.push_back(SeriesHeader{10, 24, 3, 9, 7, 5, 600, 2, -1.0f});
        layout.series.push_back(SeriesHeader{20, 24, 3, 19, 17, 45, 600, 2, 31.25f});
        testing::WriteSet(oxy, layout);
        DataSet d;
        QVERIFY(testing::LoadSet(oxy, d));
        const auto save = [&](QWidget& w, const char* name) {
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTest::qWait(50);
            QVERIFY(w.grab().save(out + "/" + name + ".png"));
            w.hide();
        };
        TCalRawDlg cal;
        cal.printToPdf = true;
        cal.choosePdfFileName = [&](QWidget*) { return out + "/calibration-sheet.pdf"; };
        cal.show();
        QApplication::setActiveWindow(&cal);
        const char* values[6] = {"6000", "2000", "700", "0", "20", "40"};
        QLineEdit* boxes[6] = {cal.EditR[0], cal.EditR[1], cal.EditR[2], cal.EditT[0], cal.EditT[1], cal.EditT[2]};
        for (int i = 0; i < 6; ++i) TypeAndTab(boxes[i], values[i]);
        TypeAndTab(cal.EditTestR, "1500");
        QTest::mouseClick(cal.PrintBtn, Qt::LeftButton);
        save(cal, "TCalRawDlg");
        cal.accept();
        TReCalcDlg re;
        save(re, "TReCalcDlg");
        TdlgSetSal sal(d);
        save(sal, "TdlgSetSal");
        TdlgMeasScale scale(d);
        save(scale, "TdlgMeasScale");
        TSelectDlg select(d);
        TGpsMergeDlg merge(d, select);
        save(merge, "TGpsMergeDlg");
    }
};

QTEST_MAIN(ToolsGuiTests)
#include "tools_gui_tests.moc"
