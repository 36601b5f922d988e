// The list painted into an image and measured: every value must end at its
// column's edge, however wide the font's glyphs really are.

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "data/list_format.h"
#include "data/measurement_files.h"
#include "data/series_range.h"
#include "ui/list_view.h"

using namespace corvan;

namespace {

bool Ink(const QImage& img, int x, int y) { return x >= 0 && x < img.width() && qGray(img.pixel(x, y)) < 160; }

}  // namespace

class ListViewTests : public QObject {
    Q_OBJECT

private:
    // Loads a sample, paints one screen and checks the ink at each edge.
    void CheckEdges(const QString& base, std::size_t expectedColumns, const QFont& font) {
        DataSet d;
        d.baseName = base.toStdString();
        LoadMeasurementFiles(d);
        QVERIFY(d.dataLoaded);
        QCOMPARE(SelectSeriesRange(d, RangeRequest{}), std::string());
        d.statisticsValid = true;
        TListView view(d);
        view.PaintBoxLst->setFont(font);
        view.resize(2400, 500);
        view.RebuildListColumns();
        QCOMPARE(view.Columns().size(), expectedColumns);

        QImage img(view.PaintBoxLst->size(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPalette pal = view.palette();
        pal.setColor(QPalette::Text, Qt::black);
        pal.setColor(QPalette::Mid, Qt::white);  // the frame is not a value
        view.setPalette(pal);
        {
            QPainter p(&img);
            view.PaintLines(p, img.rect());
        }
        const std::vector<int>& x = view.ColumnEdges();
        const QFontMetrics fm(view.PaintBoxLst->font());
        const int digit = fm.horizontalAdvance('0');
        const int lines = view.VisibleLines();
        QVERIFY(lines > 5);

        // Which columns have a value on screen that ends in a glyph (a dash
        // keeps blanks after it).
        std::vector<bool> endsInGlyph(x.size() - 1, false);
        SeriesCursor cursor(d, 0);
        std::vector<std::string> cells;
        bool starts = false;
        for (int i = 0; i < lines; ++i) {
            FormatListRow(d, view.Columns(), i, cursor, cells, starts);
            for (std::size_t j = 0; j < cells.size() && j < endsInGlyph.size(); ++j) {
                if (!cells[j].empty() && cells[j].back() != ' ') endsInGlyph[j] = true;
            }
        }
        const int left = 2;  // where column 0 starts on the paint box
        for (std::size_t j = 0; j + 1 < x.size(); ++j) {
            const int edge = left + x[j + 1];
            // The header section ends where its values end.
            const int section = view.HeaderList->sectionViewportPosition(static_cast<int>(j)) +
                                view.HeaderList->sectionSize(static_cast<int>(j));
            QCOMPARE(view.HeaderList->mapTo(&view, QPoint(section, 0)).x(),
                     view.PaintBoxLst->mapTo(&view, QPoint(edge, 0)).x());
            bool near = false;
            bool beyond = false;
            for (int y = 4; y < img.height() - 4; ++y) {
                for (int px = edge - digit; px < edge; ++px) near = near || Ink(img, px, y);
                for (int px = edge + 1; px <= edge + digit / 2; ++px) beyond = beyond || Ink(img, px, y);
            }
            QVERIFY2(!beyond, qPrintable(QString("column %1 runs past its edge %2").arg(j).arg(edge)));
            if (endsInGlyph[j]) QVERIFY2(near, qPrintable(QString("column %1 ends short of its edge").arg(j)));
        }
    }

private slots:
    void valuesEndAtTheirColumnEdges_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QFont>("font");
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        QFont odd = fixed;
        // A size whose glyph advance is far from a whole pixel.
        odd.setPointSizeF(9.3);
        QFont proportional("Sans");
        proportional.setPointSizeF(10.7);
        for (const auto& [name, cols] : {std::pair{"buoy3", 7}, std::pair{"oxy17", 16}}) {
            QTest::addRow("%s fixed", name) << QString(CORVAN_SAMPLES "/") + name << cols << fixed;
            QTest::addRow("%s odd size", name) << QString(CORVAN_SAMPLES "/") + name << cols << odd;
            QTest::addRow("%s proportional", name) << QString(CORVAN_SAMPLES "/") + name << cols << proportional;
        }
    }
    void valuesEndAtTheirColumnEdges() {
        QFETCH(QString, file);
        QFETCH(int, columns);
        QFETCH(QFont, font);
        CheckEdges(file, static_cast<std::size_t>(columns), font);
    }
};

QTEST_MAIN(ListViewTests)
#include "list_view_tests.moc"
