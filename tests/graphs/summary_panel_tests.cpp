// The summary page widget over a file written and read back by the core.

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "graphs/gui/summary_panel.h"
#include "graphs/statistics_pages.h"
#include "stats_test_data.h"
#include "support/temp_dir.h"

namespace corvan {

class SummaryPanelTest : public QObject {
    Q_OBJECT

    // Three valid speeds in two sectors and one record without speed, as a
    // file set on disk, loaded and given its whole series as the range.
    static void LoadKnownFile(const testing::TempDir& dir, DataSet& data) {
        DataSet out;
        testing::FillDataSet(out, {{10.0f, 5}, {20.0f, 10}, {5.0f, 100}, {-999.0f, 100}});
        out.baseName = dir.Path("known");
        WriteMeasurementFile(out);
        WriteReferenceFile(out, 1);
        data.baseName = out.baseName;
        LoadMeasurementFiles(data);
        QVERIFY(data.dataLoaded);
        data.currentSeries = 1;
        data.rangeFirst = data.SeriesFirst(1);
        data.rangeLast = data.SeriesLast(1);
        data.rangeCount = data.rangeLast - data.rangeFirst + 1;
        data.rangeInterval = static_cast<std::int16_t>(data.series[0].interval);
    }

private slots:
    void showsTheSummaryOfAKnownFile() {
        testing::TempDir dir;
        DataSet data;
        LoadKnownFile(dir, data);
        QCOMPARE(data.rangeCount, 4);
        ScaleSettings scale;
        Statistics stats;
        SummaryPanel panel(data, stats);
        panel.SetDecimalSeparator(".");
        panel.show();
        QCOMPARE(panel.EditTotMean->text(), QString());
        ComputeStatistics(data, scale, stats);
        panel.Refresh();
        QCOMPARE(panel.EditTotMean->text(), QString("    11.7"));
        QCOMPARE(panel.EditTotVar->text(), QString("    58.333"));
        QCOMPARE(panel.EditTotDev->text(), QString("      7.638"));
        QCOMPARE(panel.EditTotMeanDev->text(), QString("      0.655"));
        QCOMPARE(panel.EditMaxCurr->text(), QString("    20.0"));
        QCOMPARE(panel.EditMinCurr->text(), QString("      5.0"));
        QCOMPARE(panel.EditSignMaxCurr->text(), QString("    20.0"));
        QCOMPARE(panel.EditSignMinCurr->text(), QString("      5.0"));
        QCOMPARE(panel.edtValC->text(), QString("3"));
        QCOMPARE(panel.edtValD->text(), QString("4"));
        QCOMPARE(panel.edtValT->text(), QString("4"));
        QVERIFY(panel.lblVal1->isVisible());
        QCOMPARE(panel.lblVal1->text(), QString("Valid measurements"));
        QCOMPARE(panel.lblVal2->text(), QString("Velocity"));
        QVERIFY(panel.edtValT->isVisible());
        // North/south is the cosine component; its box stands under "North / south".
        QVERIFY(panel.EditNSmean->x() > panel.EditEWmean->x());
        QCOMPARE(panel.EditNSmean->text().trimmed(),
                 QString::fromStdString(SummaryTexts(data, stats, ".").mean[1]).trimmed());

        panel.SetDecimalSeparator(",");
        panel.Refresh();
        QCOMPARE(panel.EditTotMean->text(), QString("    11,7"));
    }

    void validRowHiddenWhenNothingIsMissing() {
        DataSet data;
        testing::FillDataSet(data, {{1, 10}, {2, 20}, {3, 30}});
        ScaleSettings scale;
        Statistics stats;
        ComputeStatistics(data, scale, stats);
        SummaryPanel panel(data, stats);
        panel.show();
        QVERIFY(!panel.lblVal1->isVisible());
        QVERIFY(!panel.edtValC->isVisible());
        QVERIFY(!panel.lblVal4->isVisible());
        data.records[2].direction = -1.0f;
        ComputeStatistics(data, scale, stats);
        panel.Refresh();
        QVERIFY(panel.lblVal1->isVisible());
        QCOMPARE(panel.edtValD->text(), QString("2"));
    }

    void captionsOfThePage() {
        DataSet data;
        Statistics stats;
        SummaryPanel panel(data, stats);
        QStringList texts;
        for (const QLabel* l : panel.findChildren<QLabel*>()) texts << l->text();
        for (const char* caption :
             {"Mean current speed (cm/s)", "Variance (cm/s)²", "Standard deviation (cm/s)", "Mean standard deviation",
              "Maximum current velocity", "Minimum  current velocity", "Significant max velocity",
              "Significant min velocity", "Total", "East / west", "North / south", "Dir", "Temp"})
            QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
    }
};

}  // namespace corvan

QTEST_MAIN(corvan::SummaryPanelTest)
#include "summary_panel_tests.moc"
