// The graph settings dialog and the colours it hands to the panels.

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QPushButton>
#include <QtTest>

#include "data/settings_access.h"
#include "graphs/gui/TdlgColor.h"
#include "graphs/gui/colour_values.h"
#include "graphs/gui/summary_panel.h"
#include "modal_watcher.h"

namespace corvan {

class ColourDialogTest : public QObject {
    Q_OBJECT

    static QColor SwatchColour(const QFrame* f) { return f->palette().color(QPalette::Window); }

    // Picks `colour` in the system colour dialog that swatch button `tag` opens.
    static void Pick(TdlgColor& dlg, int tag, const QColor& colour) {
        testing::ModalWatcher<QColorDialog> watcher([&](QColorDialog* picker) {
            picker->setCurrentColor(colour);
            picker->accept();
        });
        QTest::mouseClick(dlg.ClrBtn[static_cast<std::size_t>(tag)], Qt::LeftButton);
        QCOMPARE(watcher.Seen(), 1);
    }

private slots:
    void presetFromTheWindowsState() {
        TdlgColor dlg(nullptr);
        GraphSettings g;
        g.legendColour = RgbColour(1, 2, 3);
        g.barColour = RgbColour(0, 255, 0);
        g.dateGridVisible = true;
        g.drawSolidLines = false;
        dlg.SetSettings(g);
        QCOMPARE(SwatchColour(dlg.clrLegend), QColor(1, 2, 3));
        QCOMPARE(SwatchColour(dlg.clrBar), QColor(0, 255, 0));
        QCOMPARE(SwatchColour(dlg.clrLine), QColor(255, 0, 0));
        QCOMPARE(SwatchColour(dlg.clrBack), QApplication::palette().color(QPalette::Button));
        QVERIFY(dlg.chkDateGrid->isChecked());
        QVERIFY(!dlg.cbSolid->isChecked());
        QCOMPARE(dlg.windowTitle(), QString("Set graphics parameters"));
        QVERIFY(dlg.clrLine->height() < dlg.clrBar->height());
    }

    void defaultResetsColoursAndGridButKeepsTheLineStyle() {
        TdlgColor dlg(nullptr);
        GraphSettings g;
        g.legendColour = RgbColour(9, 9, 9);
        g.backgroundColour = RgbColour(8, 8, 8);
        g.lineColour = RgbColour(7, 7, 7);
        g.barColour = RgbColour(6, 6, 6);
        g.dateGridVisible = true;
        g.drawSolidLines = false;
        dlg.SetSettings(g);
        dlg.show();
        QTest::mouseClick(dlg.DefaultBtn, Qt::LeftButton);
        const GraphSettings d = dlg.Settings();
        QCOMPARE(d.legendColour, kButtonFaceColour);
        QCOMPARE(d.backgroundColour, kButtonFaceColour);
        QCOMPARE(d.lineColour, 255);
        QCOMPARE(d.barColour, 0xFF0000);
        QVERIFY(!dlg.chkDateGrid->isChecked());
        QVERIFY(!dlg.cbSolid->isChecked());
    }

    void swatchButtonsOpenTheColourDialog() {
        TdlgColor dlg(nullptr);
        dlg.show();
        Pick(dlg, TdlgColor::kLine, QColor(0x12, 0x34, 0x56));
        QCOMPARE(dlg.Settings().lineColour, RgbColour(0x12, 0x34, 0x56));
        QCOMPARE(SwatchColour(dlg.clrLine), QColor(0x12, 0x34, 0x56));
        QCOMPARE(dlg.Settings().barColour, kDefaultBarColour);
    }

    void okWritesTheStoreAndCancelDoesNot() {
        MemorySettings store;
        TdlgColor dlg(&store);
        dlg.show();
        Pick(dlg, TdlgColor::kBar, QColor(0, 0, 128));
        dlg.chkDateGrid->setChecked(true);
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
        QVERIFY(!store.Contains("Colors", "Bar"));

        dlg.show();
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(store.ReadInteger("Colors", "Bar", 0), 0x800000);
        QCOMPARE(store.ReadInteger("Colors", "Legend", 0), -2147483633);
        QCOMPARE(store.ReadInteger("Colors", "Line", 0), 255);
        QVERIFY(store.ReadBool("Chart", "DateGridVisible", false));
        QCOMPARE(LoadGraphSettings(store).barColour, 0x800000);
    }

    void buttonFacePickedByHandIsStoredAsChosenButShownAsTheSystemColour() {
        MemorySettings store;
        TdlgColor dlg(&store);
        dlg.show();
        const QColor face = QApplication::palette().color(QPalette::Button);
        Pick(dlg, TdlgColor::kLegend, face);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        const ColourValue stored = store.ReadInteger("Colors", "Legend", 0);
        QCOMPARE(stored, RgbColour(face.red(), face.green(), face.blue()));
        QVERIFY(!IsSystemColour(stored));

        const GraphSettings g = LoadGraphSettings(store);
        const AppliedColours a =
            ApplyColours(g.legendColour, g.backgroundColour, true, g.barColour, g.lineColour, ButtonFaceRgb());
        QCOMPARE(a.panel, kButtonFaceColour);
        QVERIFY(a.raisedPanels);
        DataSet data;
        Statistics stats;
        SummaryPanel panel(data, stats);
        panel.SetPanelColour(a.panel, a.raisedPanels);
        QCOMPARE(panel.frameShadow(), QFrame::Raised);
        panel.SetPanelColour(RgbColour(200, 0, 0), false);
        QCOMPARE(panel.frameShadow(), QFrame::Plain);
        QCOMPARE(panel.palette().color(QPalette::Window), QColor(200, 0, 0));
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::ColourDialogTest)
#include "colour_dialog_tests.moc"
