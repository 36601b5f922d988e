// The desktop's instrument parts with real dialogs (offscreen), a real
// pseudo-terminal and the simulator on the other end of it.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

#include "data/data_set.h"
#include "data/settings_access.h"
#include "instrument/gui/TCommParamDlg.h"
#include "instrument/gui/TDeleteDlg.h"
#include "instrument/gui/TDownloadDlg.h"
#include "instrument/gui/TEditRefDlg.h"
#include "instrument/gui/TInstrumentPage.h"
#include "instrument/gui/TReceivePump.h"
#include "instrument/gui/TVxObjComm.h"

using namespace corvan;

namespace {

// Runs act on the first modal widget of type W that shows up.
template <class W>
void WhenModal(std::function<void(W*)> act, int timeoutMs = 20000) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        W* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w && clock->elapsed() < timeoutMs) return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (w) act(w);
    });
    timer->start(10);
}

// Types the name into the dialog's file name box, as a user does, and
// presses its accept button. (selectFile leaves a focused box alone.)
void Choose(QFileDialog* d, const QString& fileName) {
    auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(fileName);
    static_cast<QDialog*>(d)->accept();
}

void SaveAs(const QString& fileName) {
    WhenModal<QFileDialog>([fileName](QFileDialog* d) { Choose(d, fileName); });
}

class Simulator {
public:
    explicit Simulator(const QStringList& args) {
        process.start(QStringLiteral(CORVAN_SIM_PATH), QStringList{"--once", "--timeout", "60"} + args);
        process.waitForStarted();
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        path = QString::fromLatin1(process.readLine()).trimmed();
    }
    ~Simulator() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    // The simulator's report once it has finished.
    QString Finish() {
        process.waitForFinished(10000);
        return QString::fromLatin1(process.readAllStandardError());
    }
    QProcess process;
    QString path;
};

std::vector<QString> g_trace;
QtMessageHandler g_previous = nullptr;

void TraceHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && QByteArray(context.category) == "corvan.comm") {
        g_trace.push_back(message);
        return;
    }
    if (g_previous) g_previous(type, context, message);
}

// The parts the main window owns, wired as it wires them.
struct Station {
    Station() : pump(comm, terminal), download(*data, comm) { pump.SetDownloadTarget(&download); }
    std::unique_ptr<DataSet> data = std::make_unique<DataSet>();
    TVxObjComm comm;
    TerminalBuffer terminal;
    TReceivePump pump;
    TDownloadDlg download;
};

std::unique_ptr<DataSet> WriteSet(const std::string& base, int n) {
    auto d = std::make_unique<DataSet>();
    d->baseName = base;
    d->header.count = static_cast<std::int16_t>(n);
    d->header.instrumentType = 0;
    for (int i = 0; i < n; ++i) d->records[static_cast<std::size_t>(i)] = {static_cast<float>(i), 1.0f, 5.0f, 0.0f};
    d->series[0] = SeriesHeader{0, 0, 2, 10, 12, 0, 600, 0, -1.0f};
    d->series[1] = SeriesHeader{n / 2, 99, 1, 31, 6, 30, 600, 0, -1.0f};
    WriteMeasurementFile(*d);
    WriteReferenceFile(*d, 2);
    return d;
}

}  // namespace

class InstrumentGuiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_previous = qInstallMessageHandler(TraceHandler); }
    void cleanupTestCase() { qInstallMessageHandler(g_previous); }

    void linkOverAPseudoTerminal() {
        Simulator sim({});
        QVERIFY(!sim.path.isEmpty());
        TVxObjComm comm;
        QCOMPARE(comm.objectName(), QStringLiteral("InstComm"));
        std::uint8_t b = 0;
        QVERIFY(!comm.ReadByte(b));
        QVERIFY(!comm.SendString("X"));
        comm.SetDevice(sim.path);
        comm.SetBaud(19200);
        QVERIFY(comm.Open());
        QVERIFY(!comm.ReadByte(b));
        g_trace.clear();
        QVERIFY(comm.SendString(std::string_view("V\r")));
        QCOMPARE(g_trace.size(), std::size_t{1});
        QCOMPARE(g_trace[0], QStringLiteral("SEND:V#$0D"));
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (!got.contains("CORVAN SIMULATOR") && t.elapsed() < 5000) {
            QTest::qWait(10);
            while (comm.ReadByte(b)) got.append(static_cast<char>(b));
        }
        QVERIFY2(got.contains("CORVAN SIMULATOR 1.0"), got.constData());
        comm.Close();
        QVERIFY(!comm.IsOpen());
        comm.Close();

        comm.SetDevice(QStringLiteral("/dev/no-such-port"));
        QVERIFY(!comm.Open());
    }

    void controlLinesChangeOneAtATime() {
        TVxObjComm comm;
        MemoryLink* link = nullptr;
        comm.SetLinkFactory([&](TVxObjComm&) {
            auto l = std::make_unique<MemoryLink>();
            link = l.get();
            return l;
        });
        comm.SetDTRMode(TDTRmode::DTRLow);  // closed: only stored
        QVERIFY(comm.Open());
        QCOMPARE(link->lineControlChanges, 0);
        comm.SetDTRMode(TDTRmode::DTRLow);
        QCOMPARE(link->lineControlChanges, 0);
        comm.SetRTSMode(TRTSmode::RTSHandshake);
        QCOMPARE(link->lineControlChanges, 1);
        QVERIFY(link->rtsMode == TRTSmode::RTSHandshake);
        QVERIFY(link->dtrMode == TDTRmode::DTRHigh);  // untouched by the RTS change
        QVERIFY(!link->xonXoff);
        g_trace.clear();
        const std::uint8_t bytes[] = {0x05, 0x06, 0x15, 0x1B};
        QVERIFY(comm.SendString(bytes));
        QCOMPARE(g_trace.back(), QStringLiteral("SEND:#$05#$06#$15#$1B"));
        QCOMPARE(link->Sent(), std::vector<std::uint8_t>(std::begin(bytes), std::end(bytes)));
    }

    void parameterDialogRules() {
        TVxObjComm comm;
        MemorySettings store;
        TCommParamDlg dlg(comm, &store);
        dlg.SetSystemDevices({"/dev/ttyUSB0"});
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Communication parameters"));
        QVERIFY(!dlg.ComboBoxPort->isEditable());
        QCOMPARE(dlg.ComboBoxSpeed->count(), 9);
        QCOMPARE(dlg.ComboBoxSpeed->itemText(8), QStringLiteral("115200"));
        QCOMPARE(dlg.ComboBoxPort->itemText(0), QStringLiteral("Com1"));
        QCOMPARE(dlg.ComboBoxPort->itemText(19), QStringLiteral("Com20"));
        QCOMPARE(dlg.ComboBoxPort->itemText(20), QStringLiteral("/dev/ttyUSB0"));

        for (int port : {0, 21}) {
            comm.SetPort(static_cast<std::uint8_t>(port));
            comm.SetBaud(57600);
            WhenModal<TCommParamDlg>([](TCommParamDlg* d) {
                QCOMPARE(d->ComboBoxPort->currentIndex(), 0);
                QCOMPARE(d->ComboBoxSpeed->currentText(), QStringLiteral("115200"));
                d->OKBtn->click();
            });
            QCOMPARE(dlg.exec(), int(QDialog::Accepted));
            QCOMPARE(int(comm.Port()), 1);
            QCOMPARE(comm.Baud(), 115200);
            QCOMPARE(store.ReadString("Comm", "Port", ""), std::string("1"));
            QCOMPARE(store.ReadString("Comm", "CorvanBaud", ""), std::string("115200"));
        }

        comm.SetPort(7);
        WhenModal<TCommParamDlg>([](TCommParamDlg* d) {
            QCOMPARE(d->ComboBoxPort->currentText(), QStringLiteral("Com7"));
            d->ComboBoxPort->setCurrentIndex(20);
            d->OKBtn->click();
        });
        dlg.exec();
        QCOMPARE(int(comm.Port()), 7);
        QCOMPARE(comm.Device(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(store.ReadString("Comm", "Port", ""), std::string("7"));
        QCOMPARE(store.ReadString("Comm", "Device", ""), std::string("/dev/ttyUSB0"));
        // Shown again, the device is the selection.
        WhenModal<TCommParamDlg>([](TCommParamDlg* d) {
            QCOMPARE(d->ComboBoxPort->currentText(), QStringLiteral("/dev/ttyUSB0"));
            d->CancelBtn->click();
        });
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    }

    void pumpFeedsTerminalAndSendsTypeAhead() {
        TVxObjComm comm;
        MemoryLink* link = nullptr;
        comm.SetLinkFactory([&](TVxObjComm&) {
            auto l = std::make_unique<MemoryLink>();
            link = l.get();
            return l;
        });
        comm.Open();
        TerminalBuffer terminal;
        TReceivePump pump(comm, terminal);
        link->Deliver("stale");
        pump.Start();
        QVERIFY(pump.Running());
        QCOMPARE(pump.Timer1.interval(), 20);
        QCOMPARE(link->Pending(), std::size_t{0});
        pump.Stop();

        terminal.TypeAhead("abc");
        QSignalSpy ended(&pump, &TReceivePump::TerminalLineEnded);
        QSignalSpy arrived(&pump, &TReceivePump::TerminalTextArrived);
        link->Deliver("OK\r>");
        pump.Tick();
        QCOMPARE(link->Sent(), std::vector<std::uint8_t>{'A'});
        QCOMPARE(ended.count(), 1);
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(terminal.Lines().front(), std::string("OK"));
        QCOMPARE(terminal.Lines().back(), std::string(">"));
        pump.Tick();
        pump.Tick();
        pump.Tick();
        QCOMPARE(link->Sent(), (std::vector<std::uint8_t>{'A', 'B', 'C'}));
    }

    void terminalPageTyping() {
        TVxObjComm comm;
        MemoryLink* link = nullptr;
        comm.SetLinkFactory([&](TVxObjComm&) {
            auto l = std::make_unique<MemoryLink>();
            link = l.get();
            return l;
        });
        TerminalBuffer terminal;
        TReceivePump pump(comm, terminal);
        TInstrumentPage page(comm, terminal, pump);
        page.resize(500, 300);
        page.show();
        QVERIFY(!page.DownloadBtn->isEnabled());
        page.ViewRefreshed(true);
        QVERIFY(comm.IsOpen());
        QVERIFY(page.DownloadBtn->isEnabled());
        QVERIFY(pump.Running());
        QTest::keyClick(page.Edit1, Qt::Key_A);
        QTest::keyClick(page.Edit1, Qt::Key_Backspace);
        QTest::keyClick(page.Edit2, Qt::Key_Return);
        QTest::keyClick(page.SetupBtn, Qt::Key_Z);
        QCOMPARE(link->Sent(), (std::vector<std::uint8_t>{'A', 0x7F, 0x0D, 'Z'}));
        QVERIFY(page.Edit1->text().isEmpty());

        link->ClearSent();
        page.Edit1->insert(QStringLiteral("ab"));
        QVERIFY(page.Edit1->text().isEmpty());
        QCOMPARE(terminal.PendingTypeAhead(), std::string("ab"));
        QTRY_COMPARE(link->Sent().size(), std::size_t{2});
        QCOMPARE(link->Sent(), (std::vector<std::uint8_t>{'A', 'B'}));

        // Enough lines to scroll: the bar follows the newest line.
        for (int i = 0; i < 60; ++i) link->Deliver("LINE\r");
        QTRY_COMPARE(terminal.LineCount(), 61);
        QTRY_VERIFY(page.ScrollBarTerm->isEnabled());
        QCOMPARE(page.ScrollBarTerm->value(), page.ScrollBarTerm->maximum());

        page.ViewRefreshed(false);
        QVERIFY(!pump.Running());
        QVERIFY(comm.IsOpen());
    }

    void printerToggleShowsItsStateAndButtonsStayInside() {
        TVxObjComm comm;
        comm.SetLinkFactory([](TVxObjComm&) { return std::make_unique<MemoryLink>(); });
        TerminalBuffer terminal;
        TReceivePump pump(comm, terminal);
        TInstrumentPage page(comm, terminal, pump);
        QTemporaryDir dir;
        page.SetPrinterFactory([&dir] {
            auto printer = std::make_unique<QPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(dir.filePath("echo.pdf"));
            return printer;
        });
        page.resize(1000, 650);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.ViewRefreshed(true);
        for (QPushButton* b : {page.SetupBtn, page.DownloadBtn, page.PrintBtn}) {
            const QRect r = b->geometry();
            QVERIFY2(r.right() < page.width() - 1 && r.left() > page.ScrollBarTerm->geometry().right(),
                     qPrintable(b->text()));
            QVERIFY(r.width() >= b->sizeHint().width());
        }
        auto shows = [&](bool on) {
            return page.PrintBtn->icon().pixmap(12).toImage() == PrintGlyph(on).pixmap(12).toImage();
        };
        QVERIFY(shows(false));
        QVERIFY(!shows(true));
        page.PrintBtn->click();
        QVERIFY(page.PrintBtn->isChecked());
        QVERIFY(shows(true));
        // A refresh of the views ends the echo and puts the lamp out.
        page.ViewRefreshed(true);
        QVERIFY(!page.PrintBtn->isChecked());
        QVERIFY(shows(false));
    }

    void downloadDialogSavesWhatTheSimulatorSends() {
        QTemporaryDir dir;
        const QString file = dir.filePath("dl.CVN");
        Simulator sim({"--count", "1000", "--type", "0", "--bad-block", "4", "--bad-times", "3", "--garbage", "50"});
        Station s;
        s.comm.SetDevice(sim.path);
        QVERIFY(s.comm.Open());
        s.pump.Start();
        QSignalSpy replaced(&s.download, &TDownloadDlg::DataSetReplaced);
        SaveAs(file);
        const TDownloadDlg::Result r = s.download.Execute();
        QVERIFY(r.outcome == TDownloadDlg::Outcome::Completed);
        QVERIFY(r.saved);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(replaced.at(0).at(0).toString(), dir.filePath("dl"));
        QCOMPARE(replaced.at(0).at(1).toString(), file);
        QVERIFY(sim.Finish().contains("download complete"));
        QCOMPARE(s.download.LabelRead->text(), QStringLiteral("1000 of 1000"));
        QCOMPARE(s.download.LabelAction->text(), QStringLiteral("Receiveing masurement number"));
        QVERIFY(s.data->dataLoaded);
        QVERIFY(s.data->referenceLoaded);
        QCOMPARE(s.data->rangeCount, 1000);

        DataSet loaded;
        loaded.baseName = dir.filePath("dl").toStdString();
        LoadMeasurementFiles(loaded);
        QCOMPARE(loaded.recordCount, 1000);
        QCOMPARE(int(loaded.header.referenceNumber), 1234);
        QCOMPARE(loaded.records[999].speed, s.data->records[999].speed);
        QCOMPARE(loaded.records[999].speed, float((999 * 37 + 11) % 4096 / 5.0));
    }

    void downloadOverTcp() {
        QTemporaryDir dir;
        Simulator sim({"--tcp", "0", "--count", "200"});
        QVERIFY(sim.path.startsWith("tcp:127.0.0.1:"));
        Station s;
        s.comm.SetUseIP(true);
        s.comm.SetIPaddress(QStringLiteral("127.0.0.1"));
        s.comm.SetTCPPort(sim.path.section(':', 2).toInt());
        QVERIFY(s.comm.Open());
        s.pump.Start();
        SaveAs(dir.filePath("net.CVN"));
        const auto r = s.download.Execute();
        QVERIFY(r.saved);
        QCOMPARE(int(s.data->header.count), 200);
        QVERIFY(sim.Finish().contains("download complete"));
        // Nobody listening: no connection, no exception.
        TVxObjComm lone;
        lone.SetUseIP(true);
        lone.SetIPaddress(QStringLiteral("127.0.0.1"));
        lone.SetTCPPort(1);
        QVERIFY(!lone.Open());
    }

    void downloadDialogAsksBeforeReplacing() {
        QTemporaryDir dir;
        const std::string base = dir.filePath("old").toStdString();
        WriteSet(base, 4);
        for (bool replace : {false, true}) {
            Simulator sim({"--count", "64"});
            Station s;
            s.comm.SetDevice(sim.path);
            QVERIFY(s.comm.Open());
            s.pump.Start();
            SaveAs(QString::fromStdString(base + ".CVN"));
            QString question;
            WhenModal<QMessageBox>([&question, replace](QMessageBox* box) {
                question = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            const auto r = s.download.Execute();
            QVERIFY(r.outcome == TDownloadDlg::Outcome::Completed);
            QCOMPARE(r.saved, replace);
            QCOMPARE(question,
                     QString::fromStdString(base) + ".CVN\nThis file already exists.\nDo you want to replace it?");
            QCOMPARE(ReadFileVersion(base), 4);
            QCOMPARE(QFileInfo::exists(QString::fromStdString(base) + ".~CVN"), replace);
            QVERIFY(!s.data->dataLoaded || replace);
        }
    }

    void downloadDialogAbandonsAtTheFourthBadChecksum() {
        QTemporaryDir dir;
        Simulator sim({"--count", "300", "--bad-block", "2", "--bad-times", "4"});
        Station s;
        s.comm.SetDevice(sim.path);
        QVERIFY(s.comm.Open());
        s.pump.Start();
        QSignalSpy replaced(&s.download, &TDownloadDlg::DataSetReplaced);
        const auto r = s.download.Execute();
        QVERIFY(r.outcome == TDownloadDlg::Outcome::Aborted);
        QCOMPARE(s.download.result(), TDownloadDlg::kAbortResult);
        QVERIFY(!r.saved);
        QCOMPARE(replaced.count(), 0);
        QVERIFY(sim.Finish().contains("ended by ESC"));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(!s.data->dataLoaded);
    }

    void downloadDialogCancelSendsEsc() {
        Simulator sim({"--count", "3000", "--baud", "2400"});
        Station s;
        s.comm.SetDevice(sim.path);
        QVERIFY(s.comm.Open());
        s.pump.Start();
        QTimer::singleShot(600, &s.download, [&] { s.download.CancelBtn->click(); });
        const auto r = s.download.Execute();
        QVERIFY(r.outcome == TDownloadDlg::Outcome::Cancelled);
        QVERIFY(sim.Finish().contains("ended by ESC"));
    }

    void downloadDialogRefusesAnImpossibleCount() {
        Simulator sim({"--count", "50000"});
        Station s;
        s.comm.SetDevice(sim.path);
        QVERIFY(s.comm.Open());
        s.pump.Start();
        QString text;
        WhenModal<QMessageBox>([&text](QMessageBox* box) {
            text = box->text();
            box->accept();
        });
        const auto r = s.download.Execute();
        QVERIFY(r.outcome == TDownloadDlg::Outcome::Aborted);
        QVERIFY2(text.contains("50000"), qPrintable(text));
        QVERIFY(sim.Finish().contains("ended by ESC"));
    }

    void downloadDialogAtLineSpeed() {
        QTemporaryDir dir;
        constexpr int kBaud = 115200;
        Simulator sim({"--count", "2000", "--baud", QString::number(kBaud)});
        Station s;
        s.comm.SetDevice(sim.path);
        s.comm.SetBaud(kBaud);
        QVERIFY(s.comm.Open());
        s.pump.Start();
        SaveAs(dir.filePath("fast.CVN"));
        const auto r = s.download.Execute();
        QVERIFY(r.saved);
        const QString report = sim.Finish();
        // The simulator's clock up to its last block leaves out the save dialog.
        const QRegularExpressionMatch m =
            QRegularExpression("complete: (\\d+) bytes .* last block sent after ([0-9.]+) s").match(report);
        QVERIFY2(m.hasMatch(), qPrintable(report));
        const double lineSeconds = m.captured(1).toDouble() * 10.0 / kBaud;
        const double took = m.captured(2).toDouble();
        qInfo("desktop download at %d baud: line time %.3f s, last block after %.3f s (%.2fx)", kBaud, lineSeconds,
              took, took / lineSeconds);
    }

    void eraseMeasurementsCommand() {
        QTemporaryDir dir;
        const std::string base = dir.filePath("er").toStdString();
        WriteSet(base, 10);
        DataSet data;
        data.dataLoaded = true;
        TDeleteDlg dlg;
        auto pick = [&] {
            WhenModal<QFileDialog>([&](QFileDialog* d) { Choose(d, QString::fromStdString(base + ".CVN")); });
        };
        auto type = [](const char* first, const char* last) {
            WhenModal<TDeleteDlg>([=](TDeleteDlg* d) {
                QCOMPARE(d->EditFirst->text(), QString());
                QTest::keyClicks(d->EditFirst, first);
                QTest::keyClicks(d->EditLast, last);
                d->OKBtn->click();
            });
        };
        pick();
        type("5", "12");
        QString message;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        QVERIFY(!RunEraseMeasurements(nullptr, data, dlg, dir.path()));
        QCOMPARE(message, QStringLiteral("Invalid data entered."));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(base + ".~CVN")));
        QVERIFY(dlg.windowTitle().startsWith("Delete from file: "));

        pick();
        type("2", "3");
        QVERIFY(RunEraseMeasurements(nullptr, data, dlg, dir.path()));
        QVERIFY(QFileInfo::exists(QString::fromStdString(base + ".~CVN")));
        DataSet back;
        back.baseName = base;
        LoadMeasurementFiles(back);
        QCOMPARE(back.records[1].speed, 1.0f);
        QCOMPARE(back.records[2].speed, 2.0f);
        QCOMPARE(back.recordCount, 10);
    }

    void eraseAndStartingTimeWithoutAReferenceFile() {
        QTemporaryDir dir;
        const std::string base = dir.filePath("noref").toStdString();
        WriteSet(base, 10);
        QFile::remove(QString::fromStdString(base + ".RF6"));
        QString message;
        auto noBox = [&] {
            WhenModal<QMessageBox>(
                [&](QMessageBox* box) {
                    message = box->text();
                    box->accept();
                },
                3000);
        };
        auto pick = [&] {
            WhenModal<QFileDialog>([&](QFileDialog* d) { Choose(d, QString::fromStdString(base + ".CVN")); });
        };

        // The erase runs with no series, between the records around the run.
        DataSet data;
        TDeleteDlg dlg;
        pick();
        WhenModal<TDeleteDlg>([](TDeleteDlg* d) {
            QTest::keyClicks(d->EditFirst, "5");
            QTest::keyClicks(d->EditLast, "7");
            d->OKBtn->click();
        });
        noBox();
        QVERIFY(RunEraseMeasurements(nullptr, data, dlg, dir.path()));
        QCOMPARE(message, QString());
        QVERIFY(QFileInfo::exists(QString::fromStdString(base + ".~CVN")));
        DataSet back;
        back.baseName = base;
        LoadMeasurementFiles(back);
        QCOMPARE(back.recordCount, 10);
        QCOMPARE(back.records[5].speed, 5.0f);

        // The starting-time tool shows an empty list and writes nothing.
        TEditRefDlg edit;
        int shown = -1;
        pick();
        WhenModal<TEditRefDlg>([&](TEditRefDlg* d) {
            shown = d->ListSeries->topLevelItemCount();
            d->OKBtn->click();
        });
        noBox();
        QVERIFY(!RunEditStartingTime(nullptr, data, edit, dir.path()));
        QCOMPARE(shown, 0);
        QCOMPARE(message, QString());
        QVERIFY(!QFileInfo::exists(QString::fromStdString(base + ".RF6")));
        QTest::qWait(3100);  // let the unused box watcher run out
    }

    void startingTimeEditor() {
        QTemporaryDir dir;
        const std::string base = dir.filePath("st").toStdString();
        WriteSet(base, 20);
        DataSet data;
        TEditRefDlg dlg;
        WhenModal<QFileDialog>([&](QFileDialog* d) { Choose(d, QString::fromStdString(base + ".CVN")); });
        WhenModal<TEditRefDlg>([](TEditRefDlg* d) {
            QCOMPARE(d->ListSeries->topLevelItemCount(), 2);
            QCOMPARE(d->ListSeries->topLevelItem(1)->text(1), QStringLiteral("11"));
            QCOMPARE(d->ListSeries->topLevelItem(1)->text(4), QStringLiteral("99.01.31"));
            QCOMPARE(d->SpinYear->value(), 0);
            QCOMPARE(d->SpinMonth->value(), 2);
            QCOMPARE(d->SpinDay->maximum(), 29);
            d->SpinDay->setValue(29);
            d->SpinYear->setValue(99);
            QCOMPARE(d->SpinDay->maximum(), 28);
            QCOMPARE(d->SpinDay->value(), 28);
            // Moving to series 2 keeps series 1's new values.
            d->ListSeries->setCurrentItem(d->ListSeries->topLevelItem(1));
            QCOMPARE(d->ListSeries->topLevelItem(0)->text(4), QStringLiteral("99.02.28"));
            QCOMPARE(d->SpinDay->value(), 31);
            d->SpinMonth->setValue(4);
            QCOMPARE(d->SpinDay->value(), 30);
            d->SpinHour->setValue(23);
            d->OKBtn->click();
        });
        QVERIFY(RunEditStartingTime(nullptr, data, dlg, dir.path()));
        QVERIFY(!data.dataLoaded);
        std::array<SeriesHeader, kMaxSeries> table{};
        QCOMPARE(ReadReferenceFile(base, table), 2);
        QCOMPARE(int(table[0].year), 99);
        QCOMPARE(int(table[0].day), 28);
        QCOMPARE(int(table[1].month), 4);
        QCOMPARE(int(table[1].day), 30);
        QCOMPARE(int(table[1].hour), 23);
        QVERIFY(QFileInfo::exists(QString::fromStdString(base + ".~RF6")));
    }
};

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    InstrumentGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "instrument_gui_tests.moc"
