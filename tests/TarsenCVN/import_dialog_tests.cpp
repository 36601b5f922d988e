// "Tarsen File Import" driven with clicks and keys: the converter library is
// loaded by name into this process, as the desktop program loads it, and
// its export runs the dialog against files made by the synthesizer.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "support/modal.h"
#include "tarsen_cvn_loader.h"
#include "tarsen_synth.h"

using corvan::testing::OnNextModal;

namespace {

template <typename T>
T* Child(QWidget* dialog, const char* name) {
    T* w = dialog->findChild<T*>(name);
    if (!w) qFatal("no control %s", name);
    return w;
}

// Near the left edge: a check box reacts only on its box and caption, not on
// the rest of a stretched row.
void Click(QWidget* dialog, const char* name) {
    QWidget* w = Child<QWidget>(dialog, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(std::min(8, w->width() / 2), w->height() / 2));
}

QString CellText(QWidget* d, const char* row) {
    return Child<QLineEdit>(d, (QByteArray("Cell") + row).constData())->text();
}

void TypeCell(QWidget* d, const char* row, const QString& text) {
    auto* edit = Child<QLineEdit>(d, (QByteArray("Cell") + row).constData());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SaveScreenshot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("CORVAN_SCREENSHOTS");
    if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(name));
}

}  // namespace

class ImportDialogTests : public QObject {
    Q_OBJECT

private:
    tarsen::TarsenLibrary library_;
    tarsen::CreateCvnFilesFunction create_ = nullptr;
    QTemporaryDir dir_;

    // A synthesized file of the given type; cells 0 keeps the type's own.
    QString Make(const QString& name, int type, int cells = 0, int profiles = 12) {
        tarsen_synth::Deployment d;
        d.setup = tarsen_synth::SetupFor(type);
        if (cells > 0) d.setup.user.cells = static_cast<std::uint16_t>(cells);
        d.profiles = profiles;
        const QString path = dir_.filePath(name);
        if (tarsen_synth::WriteDeployment(d, path.toStdString()) < 0) qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    int Create(const QString& path) {
        const std::u16string wide = path.toStdU16String();
        return create_(wide.c_str());
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(library_.Load(), library_.LoadError().c_str());
        create_ = library_.CreateCvnFiles();
        QVERIFY(create_);
    }

    void defaultCellsFollowTheGeometry_data() {
        QTest::addColumn<int>("cells");
        QTest::addColumn<QStringList>("expected");
        // 1 m cells, 0.81 m blanking: 5, 16 and 49 along the beam.
        QTest::newRow("deep profile") << 60 << QStringList{"5", "16", "49"};
        QTest::newRow("bottom beyond the profile") << 20 << QStringList{"5", "16", "20"};
        QTest::newRow("center halved") << 10 << QStringList{"5", "6", "10"};
        QTest::newRow("one cell") << 1 << QStringList{"1", "1", "1"};
    }
    void defaultCellsFollowTheGeometry() {
        QFETCH(int, cells);
        QFETCH(QStringList, expected);
        const QString path = Make(QString("geo%1.prf").arg(cells), 2, cells, 2);
        QStringList shown;
        QString distance;
        OnNextModal([&](QWidget* d) {
            shown = {CellText(d, "Surface"), CellText(d, "Center"), CellText(d, "Bottom")};
            distance = Child<QLineEdit>(d, "DistanceCenter")->text();
            QVERIFY(Child<QLineEdit>(d, "DistanceCenter")->isReadOnly());
            QCOMPARE(d->windowTitle(), QString("Tarsen File Import"));
            Click(d, "CancelBtn");
        });
        QCOMPARE(Create(path), 0);
        QCOMPARE(shown, expected);
        // cos 25 deg x (0.81 + cell) m, one decimal.
        const double metres = std::cos(25.0 * M_PI / 180.0) * (0.81 + expected[1].toInt());
        QCOMPARE(distance, QString::number(std::trunc(metres * 10 + 0.5) / 10, 'f', 1));
        QVERIFY(QDir(dir_.path()).entryList({QString("geo%1-*").arg(cells)}).isEmpty());
    }

    void singlePointFileOffersOnlyCenter() {
        const QString path = Make("point.orl", 0);
        OnNextModal([&](QWidget* d) {
            SaveScreenshot(d, "tarsen-import-single-point.png");
            QVERIFY(!Child<QCheckBox>(d, "CheckSurface")->isEnabled());
            QVERIFY(!Child<QCheckBox>(d, "CheckBottom")->isEnabled());
            QVERIFY(!Child<QCheckBox>(d, "CheckSurface")->isChecked());
            QVERIFY(!Child<QLineEdit>(d, "CellBottom")->isEnabled());
            QVERIFY(Child<QCheckBox>(d, "CheckCenter")->isChecked());
            QCOMPARE(CellText(d, "Center"), QString("1"));
            Click(d, "OKBtn");
        });
        QCOMPARE(Create(path), 1);
        QVERIFY(QFile::exists(dir_.filePath("point-1.cvn")));
        QVERIFY(!QFile::exists(dir_.filePath("point-2.cvn")));
    }

    void everyInstrumentKindConverts_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("extension");
        const char* extensions[] = {"orl", "prf", "prf", "wpr", "cpr", "prf", "prf"};
        for (int type = 0; type <= 6; ++type)
            QTest::newRow(extensions[type] + QByteArray::number(type)) << type << extensions[type];
    }
    void everyInstrumentKindConverts() {
        QFETCH(int, type);
        QFETCH(QString, extension);
        const QString name = QString("kind%1").arg(type);
        const QString path = Make(name + "." + extension, type, 0, 4);
        QString surface;
        OnNextModal([&](QWidget* d) {
            surface = Child<QCheckBox>(d, "CheckSurface")->isChecked() ? CellText(d, "Surface") : CellText(d, "Center");
            Click(d, "OKBtn");
        });
        const int result = Create(path);
        QCOMPARE(result, surface.toInt());
        QVERIFY(QFile::exists(dir_.filePath(name + "-" + surface + ".cvn")));
    }

    void cellEditsAreCheckedAndLimited() {
        const QString path = Make("typed.prf", 2, 20, 3);
        QString afterRefusal, afterLimit, distanceBefore, distanceAfter, afterSpin, afterKey;
        bool refusedShown = false;
        OnNextModal([&](QWidget* d) {
            // Focus changes reach only the active window.
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            // 200 is not a cell number: refused when the values are read.
            TypeCell(d, "Surface", "200");
            OnNextModal(
                [&](QWidget* box) {
                    refusedShown = qobject_cast<QMessageBox*>(box) != nullptr;
                    static_cast<QDialog*>(box)->accept();
                },
                d);
            Click(d, "OKBtn");
            afterRefusal = CellText(d, "Surface");
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            // Above the 20 cells: lowered when the edit loses the focus.
            TypeCell(d, "Bottom", "50");
            QCOMPARE(CellText(d, "Bottom"), QString("50"));
            QTest::keyClick(Child<QLineEdit>(d, "CellBottom"), Qt::Key_Tab);
            afterLimit = CellText(d, "Bottom");
            // A spin click updates at once, distance included.
            distanceBefore = Child<QLineEdit>(d, "DistanceCenter")->text();
            auto* spin = Child<QWidget>(d, "SpinCenter");
            QTest::mouseClick(spin->findChild<QToolButton*>("Up"), Qt::LeftButton);
            afterSpin = CellText(d, "Center");
            distanceAfter = Child<QLineEdit>(d, "DistanceCenter")->text();
            QTest::mouseClick(Child<QWidget>(d, "SpinBottom")->findChild<QToolButton*>("Up"), Qt::LeftButton);
            QTest::keyClick(Child<QLineEdit>(d, "CellSurface"), Qt::Key_Down);
            afterKey = CellText(d, "Surface");
            QCOMPARE(CellText(d, "Bottom"), QString("20"));
            // Unchecking a row disables its edits; boundary off disables the method.
            Click(d, "CheckBottom");
            QVERIFY(!Child<QLineEdit>(d, "CellBottom")->isEnabled());
            Click(d, "RemoveBoundary");
            QVERIFY(!Child<QRadioButton>(d, "UsePressure")->isEnabled());
            Click(d, "CancelBtn");
        });
        const int result = Create(path);
        QCOMPARE(result, 0);
        QVERIFY(refusedShown);
        QCOMPARE(afterRefusal, QString("5"));
        QCOMPARE(afterLimit, QString("20"));
        QCOMPARE(afterSpin, QString("17"));
        QVERIFY(distanceAfter != distanceBefore);
        QCOMPARE(afterKey, QString("4"));
        QVERIFY(QDir(dir_.path()).entryList({"typed-*"}).isEmpty());
    }

    void nothingChosenWritesNothing() {
        const QString path = Make("none.prf", 2, 20, 3);
        OnNextModal([&](QWidget* d) {
            for (const char* c : {"CheckSurface", "CheckCenter", "CheckBottom"}) Click(d, c);
            Click(d, "OKBtn");
        });
        QCOMPARE(Create(path), 0);
        QVERIFY(QDir(dir_.path()).entryList({"none-*"}).isEmpty());
    }

    void unreadableInputClosesAfterTheMessage() {
        QString text;
        OnNextModal([&](QWidget* box) {
            text = static_cast<QMessageBox*>(box)->text();
            static_cast<QDialog*>(box)->accept();
        });
        QCOMPARE(Create(dir_.filePath("missing.prf")), -1);
        QVERIFY(text.startsWith("Unable to open file."));
        QVERIFY(QApplication::topLevelWidgets().size() < 3);
    }

    void threeCellsMatchTheCommandLine() {
        const QString path = Make("three.prf", 2, 20, 40);
        QList<int> progress;
        bool cancelDuringConversion = true;
        OnNextModal([&](QWidget* d) {
            TypeCell(d, "Surface", "3");
            TypeCell(d, "Center", "7");
            TypeCell(d, "Bottom", "12");
            auto* bar = Child<QProgressBar>(d, "Progress");
            QObject::connect(bar, &QProgressBar::valueChanged, [&, d](int v) {
                progress << v;
                if (v > 0 && v < 100 && progress.count() == 2) {
                    cancelDuringConversion = Child<QPushButton>(d, "CancelBtn")->isEnabled();
                    SaveScreenshot(d, "tarsen-import-converting.png");
                }
            });
            SaveScreenshot(d, "tarsen-import-profiler.png");
            Click(d, "OKBtn");
        });
        QCOMPARE(Create(path), 3);
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), 100);
        QCOMPARE(progress.count(100), 3);
        QVERIFY(!cancelDuringConversion);

        // The same cells through the command line, on a copy elsewhere.
        QTemporaryDir other;
        const QString copy = other.filePath("three.prf");
        QVERIFY(QFile::copy(path, copy));
        QProcess cli;
        cli.start(CORVAN_BINARY, {"convert-tarsen", copy, "--cell", "3", "--cell", "7", "--cell", "12"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        for (const char* cell : {"3", "7", "12"}) {
            for (const char* ext : {".cvn", ".rf6"}) {
                const QString name = QString("three-") + cell + ext;
                const QByteArray mine = Bytes(dir_.filePath(name));
                QVERIFY2(!mine.isEmpty(), qPrintable(name));
                QCOMPARE(mine, Bytes(other.filePath(name)));
            }
        }
    }

    void questionsAndNotesAreMessageBoxes() {
        // The third profile comes 90 s late on a 600 s interval; the head
        // looks down while the pressure method is chosen.
        tarsen_synth::Deployment d;
        d.setup = tarsen_synth::SetupFor(2);
        d.profiles = 6;
        d.attitude.down = true;
        d.edit = [](int profile, tarsen_synth::Civil& time, tarsen_synth::Profile&) {
            if (profile >= 2) time = tarsen_synth::AddSeconds(time, 90);
            return true;
        };
        const QString path = dir_.filePath("glitch.prf");
        {
            const std::vector<std::uint8_t> bytes = tarsen_synth::BuildDeployment(d);
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        }
        QStringList boxes;
        bool pressureShownAfter = true;
        bool finished = false;
        std::function<void(QWidget*)> answer = [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) {
                // The dialog between two boxes: wait for the next box.
                if (!finished) OnNextModal(answer);
                return;
            }
            boxes << box->text();
            if (box->button(QMessageBox::No)) {
                box->button(QMessageBox::No)->click();
            } else {
                box->accept();
            }
            // Both boxes live on the stack and may share an address, so the
            // closed one is told apart by being hidden, not by its pointer.
            if (boxes.size() < 2) OnNextModal(answer);
        };
        OnNextModal([&](QWidget* dialog) {
            Click(dialog, "CheckSurface");
            Click(dialog, "CheckBottom");
            Click(dialog, "UsePressure");
            OnNextModal(answer, dialog);
            Click(dialog, "OKBtn");
            pressureShownAfter = Child<QRadioButton>(dialog, "UsePressure")->isChecked();
        });
        const int result = Create(path);
        finished = true;
        QCOMPARE(result, 16);
        QCOMPARE(boxes.size(), 2);
        QVERIFY2(boxes[0].startsWith("Please note that pressure can not"), qPrintable(boxes[0]));
        QVERIFY2(boxes[1].startsWith("Time glitch detected!"), qPrintable(boxes[1]));
        QVERIFY(!pressureShownAfter);
        // No drops the rest of the cell: the two profiles before the glitch.
        QCOMPARE(QFileInfo(dir_.filePath("glitch-16.cvn")).size(), 16 + 2 * 16);
    }

    void longPathsLoseTheirMiddle() {
        const QString folder = dir_.filePath(QString(120, 'x'));
        QVERIFY(QDir().mkpath(folder));
        tarsen_synth::Deployment d;
        d.setup = tarsen_synth::SetupFor(2);
        d.profiles = 1;
        const QString path = folder + "/deep.prf";
        QVERIFY(tarsen_synth::WriteDeployment(d, path.toStdString()) == 1);
        QString shown;
        int labelWidth = 0, dialogWidth = 0;
        OnNextModal([&](QWidget* dialog) {
            auto* label = Child<QLabel>(dialog, "FileName");
            shown = label->text();
            labelWidth = label->fontMetrics().horizontalAdvance(shown);
            dialogWidth = dialog->width();
            Click(dialog, "CancelBtn");
        });
        QCOMPARE(Create(path), 0);
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY(shown.endsWith("deep.prf"));
        QVERIFY(shown.startsWith(dir_.path().left(4)));
        QVERIFY(labelWidth < dialogWidth);
    }

    void withoutSurfaceTheCenterFileIsNamed() {
        const QString path = Make("center.prf", 2, 20, 3);
        OnNextModal([&](QWidget* d) {
            Click(d, "CheckSurface");
            Click(d, "OKBtn");
        });
        QCOMPARE(Create(path), 16);
        QVERIFY(QFile::exists(dir_.filePath("center-16.cvn")));
        QVERIFY(!QFile::exists(dir_.filePath("center-5.cvn")));
    }
};

QTEST_MAIN(ImportDialogTests)
#include "import_dialog_tests.moc"
