// "Select data" driven offscreen: startup values, the position slots, the
// template browse, and OK writing a report from a sample into a folder.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "data/series_range.h"
#include "graphs/stats_test_data.h"
#include "report/consult_settings.h"
#include "report/gui/TdlgKonsult.h"
#include "report/gui/offscreen_pictures.h"
#include "report/office_package.h"
#include "ui/TfrmMain.h"

namespace corvan {

class ReportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void StartupValuesAreAppliedOfferedAndCleared() {
        MemorySettings store;
        store.WriteBool("Consult", "dpOn_edtSted", true);
        store.WriteString("Consult", "dpTx_edtSted", "Hitra");
        store.WriteBool("Consult", "dpOn_cbAutoSize", true);
        store.WriteBool("Consult", "dpCk_cbAutoSize", false);
        store.WriteString("Consult", "dpTx_edtKomm", "ignored while off");
        TdlgKonsult dlg(store);
        QCOMPARE(dlg.windowTitle(), QString("Select data"));
        QCOMPARE(dlg.edtSted->text(), QString("Hitra"));
        QCOMPARE(dlg.edtKomm->text(), QString());
        QVERIFY(!dlg.cbAutoSize->isChecked());
        QVERIFY(!dlg.cbGraphDays->isChecked());

        // An empty edit cannot become a startup value; nothing stored to clear.
        QVERIFY(dlg.PrepareStartupMenu(dlg.edtKomm));
        QVERIFY(!dlg.actUseStartup->isEnabled());
        QVERIFY(!dlg.actClearStartup->isEnabled());
        QCOMPARE(dlg.actClearStartup->text(), QString("Clear startup value"));
        dlg.edtKomm->setText("Frøya");
        dlg.PrepareStartupMenu(dlg.edtKomm);
        QVERIFY(dlg.actUseStartup->isEnabled());
        dlg.actUseStartup->trigger();
        QCOMPARE(store.ReadString("Consult", "dpTx_edtKomm", ""), std::string("Frøya"));
        QVERIFY(store.ReadBool("Consult", "dpOn_edtKomm", false));

        dlg.PrepareStartupMenu(dlg.cbGraphDays);
        QVERIFY(dlg.actUseStartup->isEnabled());
        QCOMPARE(dlg.actClearStartup->text(), QString("Use program default startup value"));
        dlg.cbGraphDays->setChecked(true);
        dlg.actUseStartup->trigger();
        QVERIFY(store.ReadBool("Consult", "dpCk_cbGraphDays", false));

        dlg.PrepareStartupMenu(dlg.edtSted);
        QVERIFY(dlg.actClearStartup->isEnabled());
        dlg.actClearStartup->trigger();
        QVERIFY(!store.ReadBool("Consult", "dpOn_edtSted", true));
        QCOMPARE(store.ReadString("Consult", "dpTx_edtSted", ""), std::string("Hitra"));

        // A read-only box shows a slot, never a startup value.
        QCOMPARE(dlg.fileEdits[0]->contextMenuPolicy(), Qt::DefaultContextMenu);

        TdlgKonsult again(store);
        QCOMPARE(again.edtSted->text(), QString());
        QCOMPARE(again.edtKomm->text(), QString("Frøya"));
        QVERIFY(again.cbGraphDays->isChecked());
    }

    void SlotsAreFilledFromTheOpenAndCleared() {
        MemorySettings store;
        TdlgKonsult dlg(store);
        DataSet data;
        testing::FillDataSet(data, std::vector<testing::Rec>(120, {10.0f, 45.0}));
        data.baseName = "/data/site/buoy3";
        data.rangeFirst = 5;
        data.rangeLast = 99;
        data.series[0].intervalCode = 30;
        bool opened = false;
        dlg.runOpen = [&] { return opened; };
        dlg.currentData = [&]() -> const DataSet* { return &data; };

        dlg.BrowseClick(1);  // cancelled: nothing changes
        QVERIFY(dlg.Slot(1).Empty());
        QCOMPARE(dlg.fileEdits[1]->text(), QString());

        opened = true;
        dlg.depthEdits[1]->setText("12");
        dlg.addressEdits[1]->setText("7");
        dlg.BrowseClick(1);
        QCOMPARE(dlg.fileEdits[1]->text(), QString("/data/site/buoy3.CVN"));
        QCOMPARE(dlg.selectionEdits[1]->text(), QString("Ser: 1, Meas: 6 - 100"));
        QCOMPARE(dlg.Slot(1).intervalCode, 30);
        QCOMPARE(dlg.Slot(1).interval, 600);
        const ReportRequest r = dlg.BuildRequest();
        QCOMPARE(r.positions[1].baseName, std::string("/data/site/buoy3"));
        QCOMPARE(*r.positions[1].range.first, 6LL);
        QCOMPARE(*r.positions[1].range.last, 100LL);
        QCOMPARE(r.facts.depth[1], std::string("12"));
        QVERIFY(r.positions[0].baseName.empty());

        // The space bar in a file box browses as its button does.
        QTest::keyClick(dlg.fileEdits[2], Qt::Key_Space);
        QCOMPARE(dlg.fileEdits[2]->text(), QString("/data/site/buoy3.CVN"));

        dlg.ClearClick(1);
        QVERIFY(dlg.Slot(1).Empty());
        QVERIFY(!dlg.Slot(2).Empty());
        for (QLineEdit* e : {dlg.fileEdits[1], dlg.selectionEdits[1], dlg.depthEdits[1], dlg.addressEdits[1]})
            QCOMPARE(e->text(), QString());
    }

    void TemplateBrowseRemembersTheChoice() {
        MemorySettings store;
        TdlgKonsult dlg(store);
        QString offered;
        QString answer;
        dlg.chooseTemplate = [&](const QString& initial) {
            offered = initial;
            return answer;
        };
        dlg.edtTemplate->clear();
        dlg.LoadGClick();
        QVERIFY(offered.endsWith("Spesifikasjons og resutatoversikt.docx"));
        QCOMPARE(dlg.edtTemplate->text(), QString());
        answer = "/templates/mal.dotx";
        dlg.LoadGClick();
        QCOMPARE(dlg.edtTemplate->text(), answer);
        QCOMPARE(store.ReadString("Consult", "Template", ""), answer.toStdString());
        dlg.LoadGClick();
        QCOMPARE(offered, answer);
    }

    void OkWritesTheReportIntoTheDocumentsFolderAndOpensIt() {
        QTemporaryDir folder;
        MemorySettings store;
        TdlgKonsult dlg(store);
        dlg.edtTemplate->setText(CORVAN_REPORT_TEMPLATE);
        DataSet data;
        data.baseName = QDir(CORVAN_SAMPLES).filePath("buoy3").toStdString();
        QVERIFY(LoadMeasurementFiles(data).message.empty());
        data.currentSeries = 1;
        data.rangeFirst = 0;
        data.rangeLast = 99;
        dlg.runOpen = [] { return true; };
        dlg.currentData = [&]() -> const DataSet* { return &data; };
        dlg.BrowseClick(0);
        QString opened;
        QString error;
        bool after = false;
        dlg.documentsFolder = [&] { return folder.filePath("Documents"); };
        dlg.openDocument = [&](const QString& f) { opened = f; };
        dlg.showError = [&](const QString& e) { error = e; };
        dlg.afterReport = [&] { after = true; };
        dlg.OKBtnClick();
        QCOMPARE(error, QString());
        QVERIFY(after);
        QVERIFY(QRegularExpression("Documents/CorvanReport\\d{14}\\.docx$")
                    .match(QDir::fromNativeSeparators(opened))
                    .hasMatch());
        const OfficePackage doc = OfficePackage::Read(opened.toStdString());
        QVERIFY(doc.Find("word/media/corvan_report_1.png"));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));

        // A template that is gone: the message names it, the dialog stays.
        dlg.setResult(0);
        dlg.edtTemplate->setText(folder.filePath("gone.docx"));
        opened.clear();
        dlg.OKBtnClick();
        QVERIFY(error.contains("gone.docx"));
        QVERIFY(opened.isEmpty());
        QCOMPARE(dlg.result(), 0);
    }

    void PicturesAreSharpAndNamedForTheOxygenSample() {
        DataSet data;
        data.baseName = QDir(CORVAN_SAMPLES).filePath("oxy17").toStdString();
        QVERIFY(LoadMeasurementFiles(data).message.empty());
        QVERIFY(SelectSeriesRange(data, {}).empty());
        ScaleSettings scale;
        Statistics stats;
        ComputeStatistics(data, scale, stats);
        stats.progressive = ComputeProgressiveFigures(data);
        QtReportPictureSource source;
        const std::vector<ReportViewItem> views = ReportViews(data);
        QCOMPARE(views.size(), std::size_t(13));
        for (const ReportViewItem& item : views) {
            ReportPictureRequest r;
            r.item = item;
            r.layoutWidth = 454;
            r.layoutHeight = 340;
            r.widthPt = 454;
            r.heightPt = item.view == ReportView::Matrix ? 680 : 340;
            const ReportPicture p = source.Draw(data, scale, stats, r);
            QVERIFY2(!p.png.empty(), item.description.c_str());
            QCOMPARE(p.description, item.description);
            QImage image;
            QVERIFY(image.loadFromData(reinterpret_cast<const uchar*>(p.png.data()), int(p.png.size()), "PNG"));
            QVERIFY(!image.hasAlphaChannel());
            QVERIFY(p.widthPt <= 454.0 && p.heightPt <= r.heightPt);
            // At least 200 dots per inch at the printed size.
            QVERIFY2(image.width() / (p.widthPt / 72.0) >= 199.5, item.description.c_str());
            QVERIFY2(std::abs(image.width() / double(image.height()) - p.widthPt / p.heightPt) < 0.02,
                     item.description.c_str());
            QCOMPARE(p.svg.empty(), item.view == ReportView::Matrix);
        }
    }

    void ReportsIsOfferedInTheUtilMenu() {
        MemorySettings store;
        TfrmMain window(store);
        QVERIFY(window.utilItems[7]->isEnabled());
        QCOMPARE(window.utilItems[7]->text(), QString("Reports"));
        QVERIFY(window.dlgKonsult);
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::ReportDialogTest)
#include "report_dialog_tests.moc"
