// The export dialog and the Export command driven as a user drives them:
// clicks and keys on the real dialog, a real file dialog and message boxes.

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <functional>

#include "export/export_fixture.h"
#include "support/temp_dir.h"
#include "ui/TExportDlg.h"
#include "ui/export_command.h"

using namespace corvan;

namespace {

constexpr const char* kDosSeries2 =
    "FileName;Ser;Meas ;Temp ;Speed ;Opt ;Dir;YY;MM;DD;HH;MM\r\n"
    "buoy    ;002;00005;08.13;0012.3;00.0;029;97;03;01;00;30\r\n"
    "buoy    ;002;00006;-999.00;-999.0;00.0;000;97;03;01;01;00\r\n"
    "buoy    ;002;00007;-1.50;0000.0;00.0;355;97;03;01;01;30\r\n"
    "buoy    ;002;00008;03.50;-002.5;00.0;180;97;03;01;02;00\r\n";

std::string ReadText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs action on the next modal window of type T once it shows. The
// returned timer is the watch; delete it to stop watching.
template <typename T>
QTimer* WhenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (w == nullptr || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(w);
    });
    timer->start();
    return timer;
}

// A radio button is clicked on its indicator, wherever the layout puts its
// text.
void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }

void ClearAndType(QWidget* w, const QString& text) {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Backspace);
    if (!text.isEmpty()) QTest::keyClicks(w, text);
}

struct TestUi : ExportUi {
    void BorrowSaveDialog(const QString& f, const QString& t) override {
        ++borrowed;
        filter = f;
        title = t;
    }
    QString ExecuteSaveDialog(int index) override {
        ++saveRuns;
        filterIndex = index;
        return answerName;
    }
    void ReturnSaveDialog() override { ++returned; }
    bool ConfirmReplace(const QString& q) override {
        questions << q;
        return answerReplace;
    }
    void ShowError(const QString& m) override { errors << m; }

    QString filter, title, answerName;
    int filterIndex = 0, borrowed = 0, returned = 0, saveRuns = 0;
    bool answerReplace = false;
    QStringList questions, errors;
};

}  // namespace

class ExportDialogTests : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<testing::TempDir>();
        base_ = dir_->Path("buoy.north");
        testing::WriteThreeSeries(base_);
        data_ = std::make_unique<DataSet>();
        QVERIFY(testing::Load(base_, *data_));
        data_->currentSeries = 1;
    }

    void choicesFollowTheClicks() {
        TExportDlg dlg;
        data_->currentSeries = 2;
        dlg.Prepare(*data_);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), QString("Export data"));
        QCOMPARE(dlg.RadioGroup1->title(), QString("Contents"));
        QCOMPARE(dlg.RadioGroup1->Item(2)->text(), QString("Series number"));
        QCOMPARE(dlg.RadioGroup2->Item(0)->text(), QString("Semicolon"));
        QCOMPARE(dlg.RadioGroup3->Item(1)->text(), QString("DOS"));
        QCOMPARE(dlg.SpinEditSer->minimum(), 1);
        QCOMPARE(dlg.SpinEditSer->maximum(), 3);
        QCOMPARE(dlg.SpinEditSer->value(), 2);
        QCOMPARE(dlg.EditDelimiter->text(), QString("|"));
        QVERIFY(!dlg.SpinEditSer->isEnabled());
        QVERIFY(!dlg.EditDelimiter->isEnabled());
        QVERIFY(dlg.Contents() == ExportContents::AllMeasurements);
        QCOMPARE(dlg.Delimiter(), std::string(";"));
        QVERIFY(dlg.Layout() == ExportLayout::Windows);

        Click(dlg.RadioGroup1->Item(2));
        QVERIFY(dlg.SpinEditSer->isEnabled());
        QVERIFY(dlg.Contents() == ExportContents::SeriesNumber);
        ClearAndType(dlg.SpinEditSer, "3");
        QCOMPARE(dlg.SeriesNumber(), 3);
        // A spin left empty counts as series 1.
        ClearAndType(dlg.SpinEditSer, "");
        QCOMPARE(dlg.SeriesNumber(), 1);
        Click(dlg.RadioGroup1->Item(1));
        QVERIFY(!dlg.SpinEditSer->isEnabled());
        QVERIFY(dlg.Contents() == ExportContents::SelectedMeasurements);

        Click(dlg.RadioGroup2->Item(2));
        QVERIFY(dlg.EditDelimiter->isEnabled());
        QCOMPARE(dlg.Delimiter(), std::string("|"));
        ClearAndType(dlg.EditDelimiter, "#!");
        QCOMPARE(dlg.EditDelimiter->text(), QString("#"));
        Click(dlg.RadioGroup2->Item(1));
        QVERIFY(!dlg.EditDelimiter->isEnabled());
        QCOMPARE(dlg.Delimiter(), std::string("\t"));
        Click(dlg.RadioGroup3->Item(1));
        QVERIFY(dlg.Layout() == ExportLayout::Dos);

        // The next show starts at the current series again; the other
        // choices are kept.
        data_->currentSeries = 3;
        dlg.Prepare(*data_);
        QCOMPARE(dlg.SpinEditSer->value(), 3);
        QVERIFY(dlg.Layout() == ExportLayout::Dos);
    }

    void emptyOtherDelimiterIsRefused() {
        TExportDlg dlg;
        QString refusal;
        bool stillOpen = false;
        WhenModal<TExportDlg>([&](TExportDlg* d) {
            Click(d->RadioGroup2->Item(2));
            ClearAndType(d->EditDelimiter, "");
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                refusal = box->text();
                box->button(QMessageBox::Ok)->click();
            });
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            stillOpen = d->isVisible();
            QTest::keyClicks(d->EditDelimiter, "#");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QVERIFY(dlg.Execute(*data_));
        QVERIFY(stillOpen);
        QVERIFY2(refusal.contains("\"Other\""), qPrintable(refusal));
        QCOMPARE(dlg.Delimiter(), std::string("#"));
    }

    void exportsTheChosenSeriesThroughTheCommand() {
        TExportDlg dlg;
        TestUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("result"));
        WhenModal<TExportDlg>([](TExportDlg* d) {
            Click(d->RadioGroup1->Item(2));
            QTest::keyClick(d->SpinEditSer, Qt::Key_Up);
            Click(d->RadioGroup3->Item(1));
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ui.filter, QString("Text Files (*.txt)|*.txt|DOS export files(*.prn)|*.prn|NetCDF (*.nc)|*.nc"));
        QCOMPARE(ui.title, QString("Export to file"));
        QCOMPARE(ui.filterIndex, 2);
        QCOMPARE(ui.returned, 1);
        QVERIFY(ui.questions.isEmpty());
        QVERIFY(ui.errors.isEmpty());
        QCOMPARE(ReadText(dir_->Path("result.prn")), std::string(kDosSeries2));
    }

    void replaceQuestionGuardsTheUsersFile() {
        TExportDlg dlg;
        TestUi ui;
        const std::string target = dir_->Path("exists.txt");
        testing::WriteBytes(target, {'o', 'l', 'd'});
        ui.answerName = QString::fromStdString(dir_->Path("exists"));
        const auto run = [&] {
            WhenModal<TExportDlg>([](TExportDlg* d) { QTest::mouseClick(d->OKBtn, Qt::LeftButton); });
            ExportText(*data_, dlg, ui);
        };
        run();
        QCOMPARE(ui.filterIndex, 1);
        QCOMPARE(ui.questions.size(), 1);
        QCOMPARE(ui.questions[0], QDir::toNativeSeparators(QString::fromStdString(target)) +
                                      "\rThis file already exists.\rDo you want to replace it?");
        QCOMPARE(ReadText(target), std::string("old"));
        ui.answerReplace = true;
        run();
        QCOMPARE(ui.questions.size(), 2);
        QVERIFY(ReadText(target).starts_with("From file: buoy    \r\nSer;Meas;Temp;Curr;Dir;Date;Time;;\r\n1;1;"));
        QCOMPARE(ui.returned, 2);
    }

    void cancelWritesNothing() {
        TExportDlg dlg;
        TestUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("never"));
        WhenModal<TExportDlg>([](TExportDlg* d) { QTest::mouseClick(d->CancelBtn, Qt::LeftButton); });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ui.borrowed, 1);
        QCOMPARE(ui.saveRuns, 0);
        QCOMPARE(ui.returned, 1);

        ui.answerName.clear();
        WhenModal<TExportDlg>([](TExportDlg* d) { QTest::mouseClick(d->OKBtn, Qt::LeftButton); });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ui.saveRuns, 1);
        QCOMPARE(ui.returned, 2);
        QCOMPARE(QDir(QString::fromStdString(dir_->Root().string())).entryList(QDir::Files).size(), 2);

        // Without data the command does nothing at all.
        DataSet empty;
        bool shown = false;
        QTimer* watch = WhenModal<TExportDlg>([&](TExportDlg* d) {
            shown = true;
            d->reject();
        });
        ExportText(empty, dlg, ui);
        QTest::qWait(50);
        delete watch;
        QVERIFY(!shown);
        QCOMPARE(ui.borrowed, 2);
    }

    void writeFailureIsShown() {
        TExportDlg dlg;
        TestUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("missing/x"));
        WhenModal<TExportDlg>([](TExportDlg* d) { QTest::mouseClick(d->OKBtn, Qt::LeftButton); });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors[0].startsWith(QString::fromStdString(dir_->Path("missing/x.txt")) + ": "),
                 qPrintable(ui.errors[0]));
        QCOMPARE(ui.returned, 1);
    }

    void saveDialogIsLentAndGivenBack() {
        TExportDlg dlg;
        QFileDialog save;
        save.setOption(QFileDialog::DontUseNativeDialog, true);
        save.setAcceptMode(QFileDialog::AcceptOpen);
        save.setNameFilters({"Measurement Files (*.CVN)"});
        save.setDirectory(QString::fromStdString(dir_->Root().string()));
        SaveDialogExportUi ui(nullptr, save);

        QString title, selectedFilter, question;
        QStringList filters;
        bool saving = false;
        const auto run = [&](const QString& chosen, bool expectQuestion) {
            WhenModal<TExportDlg>([&](TExportDlg* d) {
                Click(d->RadioGroup3->Item(1));
                WhenModal<QFileDialog>([&](QFileDialog* fd) {
                    title = fd->windowTitle();
                    filters = fd->nameFilters();
                    selectedFilter = fd->selectedNameFilter();
                    saving = fd->acceptMode() == QFileDialog::AcceptSave;
                    if (expectQuestion) {
                        WhenModal<QMessageBox>([&](QMessageBox* box) {
                            question = box->text();
                            box->button(QMessageBox::No)->click();
                        });
                    }
                    // Typed into the name box, as the user does.
                    auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
                    QVERIFY(name != nullptr);
                    name->clear();
                    QTest::keyClicks(name, chosen);
                    QTest::keyClick(name, Qt::Key_Return);
                });
                QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            });
            ExportText(*data_, dlg, ui);
        };
        run("viaDialog", false);
        QCOMPARE(title, QString("Export to file"));
        QCOMPARE(filters, QStringList({"Text Files (*.txt)", "DOS export files(*.prn)", "NetCDF (*.nc)"}));
        QCOMPARE(selectedFilter, QString("DOS export files(*.prn)"));
        QVERIFY(saving);
        const std::string file = dir_->Path("viaDialog.prn");
        QCOMPARE(ReadText(file),
                 BuildTextExport(*data_,
                                 TextExportOptions{ExportLayout::Dos, ";",
                                                   ExportRecords(*data_, ExportContents::AllMeasurements, 1)},
                                 IsoExportLocale()));
        QCOMPARE(save.nameFilters(), QStringList({"Measurement Files (*.CVN)"}));
        QCOMPARE(save.windowTitle(), QString());
        QVERIFY(save.acceptMode() == QFileDialog::AcceptOpen);

        // The dialog's own overwrite question stays quiet; the command asks.
        testing::WriteBytes(file, {'k'});
        run("viaDialog.prn", true);
        QCOMPARE(question, QDir::toNativeSeparators(QString::fromStdString(file)) +
                               "\nThis file already exists.\nDo you want to replace it?");
        QCOMPARE(ReadText(file), std::string("k"));
        QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
    }

    void systemLocaleGivesTheWindowsLayout() {
        if (QLocale::system().name() != "de_DE") QSKIP("the test runs with LC_ALL=de_DE.UTF-8 under CTest");
        TExportDlg dlg;
        TestUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("german"));
        data_->rangeFirst = 4;
        data_->rangeLast = 5;
        WhenModal<TExportDlg>([](TExportDlg* d) {
            Click(d->RadioGroup1->Item(1));
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ReadText(dir_->Path("german.txt")), std::string("From file: buoy    \r\n"
                                                                 "Ser;Meas;Temp;Curr;Dir;Date;Time;;\r\n"
                                                                 "2;5;8,13;12,3;29;01.03.97;00:30;\r\n"
                                                                 "2;6;-999,00;-999,0;;01.03.97;01:00;\r\n"));
    }

    void nameFiltersKeepTheirPatterns() {
        QCOMPARE(NameFiltersFromFilterText("Measurement Files (*.CVN)|*.CVN|test|*.tst"),
                 QStringList({"Measurement Files (*.CVN)", "test (*.tst)"}));
        QCOMPARE(NameFiltersFromFilterText("Data|*.a;*.b"), QStringList({"Data (*.a *.b)"}));
    }

private:
    std::unique_ptr<testing::TempDir> dir_;
    std::string base_;
    std::unique_ptr<DataSet> data_;
};

QTEST_MAIN(ExportDialogTests)
#include "export_dialog_tests.moc"
