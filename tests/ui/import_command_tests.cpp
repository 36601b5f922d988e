// "Import" from the main window: a synthesized Tarsen binary file through the
// converter library loaded by name, a text export made here, and the
// command without the library.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "data/data_set.h"
#include "data/settings_access.h"
#include "support/modal.h"
#include "tarsen_synth.h"
#include "ui/TdlgTarsenCell.h"
#include "ui/TfrmMain.h"
#include "ui/import_command.h"

using namespace corvan;
using corvan::testing::OnNextModal;

namespace {

void ClickButton(QWidget* dialog, const char* name) {
    auto* b = dialog->findChild<QPushButton*>(name);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void WriteText(const QString& file, const QByteArray& text) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The user's answers, and what the command asked.
class ScriptedImport : public ImportDialogs {
public:
    QString file;
    int filterIndex = 1;
    int cell = 1;
    QString saveName;
    bool replace = true;

    QString offeredFilter;
    QString proposedName;
    int cellsOffered = 0;
    QString cellSize;
    QStringList questions;
    QStringList errors;

    QString ChooseImportFile(const QString&, const QString& filter, int& index) override {
        offeredFilter = filter;
        index = filterIndex;
        return file;
    }
    int ChooseCell(int cells, const QString& size) override {
        cellsOffered = cells;
        cellSize = size;
        return cell;
    }
    QString ChooseSaveName(const QString& proposed) override {
        proposedName = proposed;
        return saveName;
    }
    bool ConfirmReplace(const QString& question) override {
        questions << question;
        return replace;
    }
    void ShowError(const QString& message) override { errors << message; }
};

void SaveScreenshot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("CORVAN_SCREENSHOTS");
    if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(name));
}

}  // namespace

class ImportCommandTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // moor.hdr with two measurements of three cells; cell 3 flows east at
    // 50 cm/s.
    QString MakeExport(const QString& name) {
        const QString hdr = dir_.filePath(name + ".hdr");
        WriteText(hdr,
                  "Number of measurements 2\r\nProfile interval 300 sec\r\nNumber of cells 3\r\n"
                  "Cell size 0,50 m\r\nTime of first measurement 02/01/2025 00:05:00\r\n----------------\r\n");
        WriteText(dir_.filePath(name + ".v1"), "0 0 0,3\r\n0 0 0,3\r\n");
        WriteText(dir_.filePath(name + ".v2"), "0 0 0,4\r\n0 0 0,4\r\n");
        WriteText(dir_.filePath(name + ".sen"), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 6,25\r\n");
        return hdr;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void binaryFileThroughTheLoadedConverter() {
        tarsen_synth::Deployment d;
        d.setup = tarsen_synth::SetupFor(2);
        d.profiles = 5;
        const QString prf = dir_.filePath("moor1.prf");
        QVERIFY(tarsen_synth::WriteDeployment(d, prf.toStdString()) == 5);

        MemorySettings store;
        TfrmMain w(store);
        w.show();
        ScriptedImport ui;
        ui.file = prf;
        w.importUi = &ui;
        QVERIFY(w.actImport->isEnabled());
        OnNextModal([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Tarsen File Import"));
            ClickButton(dialog, "OKBtn");
        });
        w.actImport->trigger();
        QCOMPARE(ui.offeredFilter, QString(kImportBinaryAndAsciiFilter));
        QVERIFY(ui.errors.isEmpty());
        // Surface, Center and Bottom were written; the Surface file is offered.
        QCOMPARE(w.OpenDialogFileName(), dir_.filePath("moor1-5.CVN"));
        for (const char* name : {"moor1-5.cvn", "moor1-16.cvn", "moor1-40.cvn"}) {
            QVERIFY2(QFile::exists(dir_.filePath(name)), name);
        }

        // The next Open reads what was offered.
        OnNextModal([](QWidget* range) { ClickButton(range, "OKBtn"); });
        w.OpenMeasurementFile(w.OpenDialogFileName());
        QVERIFY(w.Data().dataLoaded);
        QCOMPARE(w.Data().HeaderCount(), 5);
        QVERIFY(w.Data().header.instrumentType >= 5);

        // Cancelled in the converter: nothing preset, no message.
        OnNextModal([](QWidget* dialog) { ClickButton(dialog, "CancelBtn"); });
        w.actImport->trigger();
        QVERIFY(w.OpenDialogFileName().isEmpty());
        QVERIFY(ui.errors.isEmpty());
    }

    void withoutTheConverterOnlyTextExports() {
        const QString hdr = MakeExport("moor");
        MemorySettings store;
        TfrmMain w(store);
        w.show();
        w.converterLibraryName = "NoSuchConverterLibrary";
        ScriptedImport ui;
        ui.file = hdr;
        ui.cell = 3;
        ui.saveName = dir_.filePath("east.CVN");
        w.importUi = &ui;
        const QString folder = QString::fromStdString(w.Settings().directory);
        w.actImport->trigger();
        QCOMPARE(ui.offeredFilter, QString(kImportAsciiFilter));
        QVERIFY2(ui.errors.isEmpty(), qPrintable(ui.errors.join("; ")));
        QCOMPARE(ui.cellsOffered, 3);
        QCOMPARE(ui.cellSize, QString("0,50 m"));
        QCOMPARE(ui.proposedName, QDir(folder).filePath("3-moor.CVN"));
        QVERIFY(ui.questions.isEmpty());

        // The written set is the data set on show, its whole series chosen.
        const DataSet& data = w.Data();
        QVERIFY(data.dataLoaded);
        QCOMPARE(QString::fromStdString(data.baseName), dir_.filePath("east"));
        QCOMPARE(data.HeaderCount(), 2);
        QCOMPARE(data.rangeFirst, 0);
        QCOMPARE(data.rangeLast, 1);
        QVERIFY(data.statisticsValid);
        QVERIFY(std::abs(data.records[0].speed - 50.0f) < 1e-3f);
        QCOMPARE(data.records[0].temperature, 6.25f);
        QCOMPARE(int(data.series[0].hour), 0);
        QCOMPARE(int(data.series[0].minute), 0);
        QCOMPARE(w.OpenDialogFileName(), dir_.filePath("east.CVN"));
        QCOMPARE(QString::fromStdString(w.Settings().directory), dir_.path());
        QVERIFY(w.windowTitle().contains("east"));

        // Again onto the same name: asked first; No keeps the file as it is.
        const QByteArray before = Bytes(dir_.filePath("east.CVN"));
        ui.cell = 1;
        ui.replace = false;
        w.actImport->trigger();
        QCOMPARE(ui.questions.size(), 1);
        QCOMPARE(ui.questions[0],
                 dir_.filePath("east.CVN") + "\rThis file already exists.\rDo you want to replace it?");
        QCOMPARE(Bytes(dir_.filePath("east.CVN")), before);
        QVERIFY(std::abs(w.Data().records[0].speed - 50.0f) < 1e-3f);
        // Yes replaces it and keeps the old one aside.
        ui.replace = true;
        w.actImport->trigger();
        QCOMPARE(Bytes(dir_.filePath("east.~CVN")), before);
        QCOMPARE(w.Data().records[0].speed, 0.0f);
    }

    void missingCompanionFileIsNamedAndNothingChanges() {
        const QString hdr = MakeExport("gap");
        QFile::remove(dir_.filePath("gap.v2"));
        MemorySettings store;
        TfrmMain w(store);
        ScriptedImport ui;
        ui.file = hdr;
        ui.filterIndex = 2;
        ui.saveName = dir_.filePath("gap-out.CVN");
        w.importUi = &ui;
        w.actImport->trigger();
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors[0].contains(dir_.filePath("gap.v2")), qPrintable(ui.errors[0]));
        QVERIFY(!w.Data().dataLoaded);
        QVERIFY(!QFile::exists(dir_.filePath("gap-out.CVN")));

        // A header without cells never offers the cell dialog.
        WriteText(hdr, "Number of measurements 4\r\nNumber of cells 0\r\n");
        ui.errors.clear();
        ui.cellsOffered = -1;
        w.actImport->trigger();
        QCOMPARE(ui.cellsOffered, -1);
        QCOMPARE(ui.errors.size(), 1);
    }

    void missingEntryCountsAsFailure() {
        // A library that loads but has no conversion entry.
        MemorySettings store;
        TfrmMain w(store);
        w.converterLibraryName = "KxCurrentL";
        ScriptedImport ui;
        ui.file = dir_.filePath("moor1.prf");
        w.importUi = &ui;
        w.actImport->trigger();
        QCOMPARE(ui.offeredFilter, QString(kImportBinaryAndAsciiFilter));
        QVERIFY(w.OpenDialogFileName().isEmpty());
        QVERIFY(ui.errors.isEmpty());
        QCOMPARE(ConvertedFileName("D:\\data\\moor1.prf", 3), QString("D:\\data\\moor1-3.CVN"));
    }

    void selectCellDialog() {
        TdlgTarsenCell dialog;
        dialog.Setup(12, "0.75 m");
        QCOMPARE(dialog.windowTitle(), QString("Select cell"));
        QCOMPARE(dialog.Label1->text(), QString("Use cell number:"));
        QCOMPARE(dialog.LabelCellSize->text(), QString("Cell size: 0.75 m"));
        QCOMPARE(dialog.ComboBox1->count(), 12);
        QCOMPARE(dialog.ComboBox1->currentText(), QString("1"));
        OnNextModal([](QWidget* d) {
            SaveScreenshot(d, "select-cell.png");
            auto* combo = d->findChild<QComboBox*>("ComboBox1");
            combo->setCurrentIndex(6);
            ClickButton(d, "OKBtn");
        });
        QCOMPARE(dialog.Execute(), 7);
        OnNextModal([](QWidget* d) { ClickButton(d, "CancelBtn"); });
        QCOMPARE(dialog.Execute(), 0);
    }
};

QTEST_MAIN(ImportCommandTests)
#include "import_command_tests.moc"
