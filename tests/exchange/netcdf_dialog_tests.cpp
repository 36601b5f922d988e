// The Export dialog's NetCDF choice driven as a user drives it: clicks and
// keys on the real dialog, the site facts remembered in the settings, and
// the written file read back through the NetCDF library.

#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include "exchange/netcdf_reader.h"
#include "export/export_fixture.h"
#include "graphs/modal_watcher.h"
#include "support/temp_dir.h"
#include "ui/TExportDlg.h"
#include "ui/TfrmMain.h"
#include "ui/export_command.h"

using namespace corvan;

namespace {

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }

void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

struct AnswerUi : ExportUi {
    void BorrowSaveDialog(const QString& f, const QString&) override { filter = f; }
    QString ExecuteSaveDialog(int index) override {
        filterIndex = index;
        return answerName;
    }
    void ReturnSaveDialog() override { ++returned; }
    bool ConfirmReplace(const QString& q) override {
        questions << q;
        return answerReplace;
    }
    void ShowError(const QString& m) override { errors << m; }

    QString filter, answerName;
    int filterIndex = 0, returned = 0;
    bool answerReplace = false;
    QStringList questions, errors;
};

}  // namespace

class NetcdfDialogTests : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<testing::TempDir>();
        base_ = dir_->Path("buoy");
        testing::WriteThreeSeries(base_);
        data_ = std::make_unique<DataSet>();
        QVERIFY(testing::Load(base_, *data_));
    }

    void writesTheChosenSeriesWithTheTypedSite() {
        MemorySettings store;
        TExportDlg dlg;
        dlg.SetSiteStore(&store);
        AnswerUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("series2"));
        QString refusal;
        // Checked after the dialog has closed: a failed check inside would
        // leave it open.
        bool siteOffForText = false, siteOnForNetcdf = false, delimiterOff = false, stayedOpen = false,
             latitudeFocused = false;
        testing::ModalWatcher<TExportDlg> watch([&](TExportDlg* d) {
            siteOffForText = !d->GroupSite->isEnabled();
            Click(d->RadioGroup3->Item(2));
            siteOnForNetcdf = d->GroupSite->isEnabled();
            delimiterOff = !d->RadioGroup2->isEnabled();
            Click(d->RadioGroup1->Item(2));
            QTest::keyClick(d->SpinEditSer, Qt::Key_Up);
            Type(d->EditLatitude, "95");
            Type(d->EditDepth, "40,5");
            Type(d->EditSiteCode, "FJORD-2");
            Type(d->EditInvestigator, "K. Nordmann");
            // A latitude beyond the pole is refused and the dialog stays.
            testing::ModalWatcher<QMessageBox> box([&](QMessageBox* b) {
                refusal = b->text();
                b->button(QMessageBox::Ok)->click();
            });
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            stayedOpen = d->isVisible();
            latitudeFocused = d->focusWidget() == d->EditLatitude;
            Type(d->EditLatitude, "59,25");
            Type(d->EditLongitude, "-5.5");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        ExportText(*data_, dlg, ui);
        QVERIFY(siteOffForText);
        QVERIFY(siteOnForNetcdf);
        QVERIFY(delimiterOff);
        QVERIFY(stayedOpen);
        QVERIFY(latitudeFocused);
        QVERIFY2(refusal.contains("latitude"), qPrintable(refusal));
        QVERIFY(ui.filter.endsWith("NetCDF (*.nc)|*.nc"));
        QCOMPARE(ui.filterIndex, 3);
        QCOMPARE(ui.returned, 1);
        QVERIFY(ui.errors.isEmpty());

        testing::NcReader nc(dir_->Path("series2.nc"));
        QCOMPARE(nc.Shorts("SERIES"), std::vector<short>(4, 2));
        QCOMPARE(nc.Doubles("LATITUDE"), std::vector<double>{59.25});
        QCOMPARE(nc.Doubles("LONGITUDE"), std::vector<double>{-5.5});
        QCOMPARE(nc.Floats("DEPTH"), std::vector<float>{40.5f});
        QCOMPARE(nc.Text("", "site_code"), std::string("FJORD-2"));
        QCOMPARE(nc.Text("", "principal_investigator"), std::string("K. Nordmann"));

        // Remembered for the next dialog, the one after a restart included.
        QCOMPARE(store.ReadString("NetCDF", "Latitude", ""), std::string("59.25"));
        TExportDlg next;
        next.SetSiteStore(&store);
        next.Prepare(*data_);
        QCOMPARE(next.EditDepth->text(), QString("40.5"));
        QCOMPARE(next.EditSiteCode->text(), QString("FJORD-2"));
    }

    void aRefusedFileIsReportedAndNotWritten() {
        // Series 2 starts before series 1 ends: the times cannot share one axis.
        data_->series[1].year = 96;
        TExportDlg dlg;
        AnswerUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("all.nc"));
        testing::ModalWatcher<TExportDlg> watch([&](TExportDlg* d) {
            Click(d->RadioGroup3->Item(2));
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        ExportText(*data_, dlg, ui);
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY2(ui.errors[0].contains("series one at a time"), qPrintable(ui.errors[0]));
        QVERIFY(!testing::Exists(dir_->Path("all.nc")));
    }

    void theUsersFileIsReplacedOnlyOnYes() {
        const std::string target = dir_->Path("kept.nc");
        testing::WriteBytes(target, {'k'});
        TExportDlg dlg;
        AnswerUi ui;
        ui.answerName = QString::fromStdString(target);
        for (bool yes : {false, true}) {
            ui.answerReplace = yes;
            testing::ModalWatcher<TExportDlg> watch([&](TExportDlg* d) {
                Click(d->RadioGroup3->Item(2));
                QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            });
            ExportText(*data_, dlg, ui);
        }
        QCOMPARE(ui.questions.size(), 2);
        QVERIFY(ui.questions[0].contains("This file already exists."));
        QCOMPARE(testing::NcReader(target).Records(), std::size_t{10});
    }

    void theMainWindowExportsWithTheRememberedSite() {
        MemorySettings store;
        WriteDeploymentSite(store, DeploymentSite{60.0, 5.0, 100.0, "REMEMBERED", {}, {}});
        TfrmMain w(store);
        w.show();
        {
            testing::ModalWatcher<QDialog> range([](QDialog* d) { d->findChild<QPushButton*>("OKBtn")->click(); });
            w.OpenMeasurementFile(QString(CORVAN_SAMPLES) + "/buoy3.CVN");
        }
        QVERIFY(w.Data().dataLoaded);
        AnswerUi ui;
        ui.answerName = QString::fromStdString(dir_->Path("from-window"));
        w.exportUi = &ui;
        testing::ModalWatcher<TExportDlg> watch([](TExportDlg* d) {
            Click(d->RadioGroup3->Item(2));
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        w.actExport->trigger();
        QVERIFY(ui.errors.isEmpty());
        testing::NcReader nc(dir_->Path("from-window.nc"));
        QCOMPARE(nc.Records(), static_cast<std::size_t>(w.Data().recordCount));
        QCOMPARE(nc.Text("", "site_code"), std::string("REMEMBERED"));
        QCOMPARE(nc.Floats("DEPTH"), std::vector<float>{100.0f});
    }

private:
    std::unique_ptr<testing::TempDir> dir_;
    std::string base_;
    std::unique_ptr<DataSet> data_;
};

QTEST_MAIN(NetcdfDialogTests)
#include "netcdf_dialog_tests.moc"
