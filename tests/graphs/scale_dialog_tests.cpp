// The scaling dialog driven through its controls, offscreen.

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "graphs/gui/TScaleDialog.h"
#include "modal_watcher.h"
#include "stats_test_data.h"

namespace corvan {

class ScaleDialogTest : public QObject {
    Q_OBJECT

    // A radio button takes clicks on its indicator and caption only, not on
    // the empty rest of its row.
    static void ClickRadio(QRadioButton* radio) {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

    struct Fixture {
        DataSet data;
        ScaleSettings scale;
        Statistics stats;
        TScaleDialog dialog{data, scale, stats};
        explicit Fixture(int type = 0, int kind = 0) {
            // Speeds 2.3 .. 48.7 cm/s in three speed classes and sectors.
            testing::FillDataSet(data, {{2.3f, 10, 10, 80}, {48.7f, 100, 10, 90}, {20.0f, 200, 11, 95}}, type, kind);
            ComputeStatistics(data, scale, stats);
            dialog.SetDecimalSeparator(".");
        }
        void Show() {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        }
        // Clicks OK and returns the text of the message box it showed, if any.
        QString ClickOk() {
            QString text;
            testing::ModalWatcher<QMessageBox> watcher([&](QMessageBox* box) {
                text = box->windowTitle() + "|" + box->text() + (box->icon() == QMessageBox::Warning ? "|W" : "");
                box->accept();
            });
            QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
            QTest::qWait(20);
            return text;
        }
    };

private slots:
    void automaticOnShowFillsAndDisables() {
        Fixture f;
        f.scale.speedMin = 99.0f;  // the automatic values come back on show
        f.Show();
        QVERIFY(f.dialog.RadioAuto->isChecked());
        QCOMPARE(f.dialog.EditSpeedMin->text(), QString("2.3"));
        QCOMPARE(f.dialog.EditSpeedMax->text(), QString("48.7"));
        QCOMPARE(f.dialog.EditTempMax->text(), QString("11.0"));
        QCOMPARE(f.dialog.EditOptMin->text(), QString());
        QCOMPARE(f.dialog.ComboSpeedRange->currentText(), QString("1-100"));
        QVERIFY(!f.dialog.EditSpeedMin->isEnabled());
        QVERIFY(!f.dialog.ComboSpeedRange->isEnabled());
        QVERIFY(f.dialog.HelpBtn->isHidden());
        QCOMPARE(f.dialog.windowTitle(), QString("Scaling parameters"));
        QCOMPARE(f.dialog.EditSpeedMin->height(), f.dialog.ComboSpeedRange->height());
    }

    void manualEnablesOnlyTheFilesRows() {
        Fixture plain;
        plain.Show();
        ClickRadio(plain.dialog.RadioManual);
        QVERIFY(plain.scale.manual);
        QVERIFY(plain.dialog.EditSpeedMin->isEnabled());
        QVERIFY(plain.dialog.EditCurrBarMax->isEnabled());
        QVERIFY(plain.dialog.ComboSpeedRange->isEnabled());
        QVERIFY(!plain.dialog.EditOptMin->isEnabled());
        QVERIFY(!plain.dialog.EditOxmgMax->isEnabled());
        QVERIFY(!plain.dialog.EditFluxMax->isEnabled());

        Fixture oxygen(3, 1);
        oxygen.Show();
        ClickRadio(oxygen.dialog.RadioManual);
        QVERIFY(oxygen.dialog.EditOptMax->isEnabled());
        QCOMPARE(oxygen.dialog.EditOptMax->text(), QString("95.0"));
        QVERIFY(oxygen.dialog.EditOxmgMin->isEnabled());
        QVERIFY(oxygen.dialog.EditOxFluxMax->isEnabled());
        QVERIFY(!oxygen.dialog.EditFluxMin->isEnabled());
        QCOMPARE(oxygen.dialog.EditFluxMin->text(), QString());
    }

    void raisedMinimumWarns() {
        Fixture f;
        f.Show();
        ClickRadio(f.dialog.RadioManual);
        f.dialog.EditSpeedMin->setText("5");
        QCOMPARE(f.ClickOk(), QString("Warning|Lines might be drawn\r\noutside graph area.|W"));
        QCOMPARE(f.scale.speedMin, 5.0f);
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(f.dialog.isHidden());
    }

    void minimumWithinTheToleranceDoesNotWarn() {
        Fixture f;
        f.Show();
        ClickRadio(f.dialog.RadioManual);
        f.dialog.EditSpeedMin->setText("2.35");
        QCOMPARE(f.ClickOk(), QString());
        QCOMPARE(f.scale.speedMin, 2.35f);
    }

    void nonNumberIsIgnoredAndBarMaximumRounded() {
        Fixture f;
        f.Show();
        ClickRadio(f.dialog.RadioManual);
        f.dialog.EditTempMax->setText("abc");
        f.dialog.EditCurrBarMax->setText("12.6");
        QCOMPARE(f.ClickOk(), QString());
        QCOMPARE(f.scale.temperatureMax, 11.0f);
        QCOMPARE(f.scale.speedBarMax, 13);
        // The user's bar maximum survives the recomputation after OK.
        QCOMPARE(f.stats.sectors.maxClassCount, 13);
    }

    void newSpeedRangeTakesEffectOnOk() {
        Fixture f;
        f.Show();
        ClickRadio(f.dialog.RadioManual);
        f.dialog.ComboSpeedRange->setCurrentIndex(3);
        QCOMPARE(f.ClickOk(), QString());
        QCOMPARE(f.scale.speedRange, 4);
        QCOMPARE(f.stats.sectors.speedRange, 4);
        QCOMPARE(f.stats.sectors.classCount[5], 1);  // 48.7 in 40 < v <= 60 of "1-800"
    }

    void autoDiscardsManualLimitsEvenWhenCancelled() {
        Fixture f;
        f.scale.manual = true;
        f.scale.speedMin = 5.0f;
        f.Show();
        QVERIFY(f.dialog.RadioManual->isChecked());
        QCOMPARE(f.dialog.EditSpeedMin->text(), QString("5.0"));
        ClickRadio(f.dialog.RadioAuto);
        QVERIFY(!f.scale.manual);
        QCOMPARE(f.scale.speedMin, 2.3f);
        QCOMPARE(f.dialog.EditSpeedMin->text(), QString("2.3"));
        QTest::mouseClick(f.dialog.CancelBtn, Qt::LeftButton);
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!f.scale.manual);
        QCOMPARE(f.scale.speedMin, 2.3f);
    }

    void okInAutomaticModeChangesNothing() {
        Fixture f;
        int recomputed = 0;
        f.dialog.SetRecompute([&] {
            ++recomputed;
            ComputeStatistics(f.data, f.scale, f.stats);
        });
        f.Show();
        QCOMPARE(recomputed, 1);
        const ScaleSettings before = f.scale;
        QCOMPARE(f.ClickOk(), QString());
        QCOMPARE(recomputed, 1);
        QCOMPARE(f.scale.speedMax, before.speedMax);
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::ScaleDialogTest)
#include "scale_dialog_tests.moc"
