// The print commands end to end: the sample printed to PDF files, read back
// with pdftotext and pdfinfo.

#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "../graphs/modal_watcher.h"
#include "data/measurement_files.h"
#include "graphs/graph_settings.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "graphs/scale_settings.h"
#include "print/gui/TMarginDlg.h"
#include "print/gui/TPrtDialog.h"
#include "print/gui/print_page.h"
#include "print/gui/print_painter.h"
#include "ui/range_selection.h"

using namespace corvan;

namespace {

// Hands every print a PDF printer writing to the next file name.
class PdfChooser : public PrinterChooser {
public:
    explicit PdfChooser(const QString& dir) : dir_(dir) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    QPrinter* Choose(QWidget*, bool rangeChoices, PrintRangeChoice& r) override {
        ++calls;
        offeredRange = rangeChoices;
        r = range;
        static int printed = 0;
        file = dir_ + "/print" + QString::number(++printed) + ".pdf";
        printer.setOutputFileName(file);
        return &printer;
    }
    QPrinter printer{QPrinter::HighResolution};
    PrintRangeChoice range;
    QString file;
    int calls = 0;
    bool offeredRange = false;

private:
    QString dir_;
};

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PageCount(const QString& pdf) {
    const QRegularExpressionMatch m = QRegularExpression(R"(Pages:\s+(\d+))").match(Run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString PageSize(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+))").match(Run("pdfinfo", {pdf}));
    return m.hasMatch() ? QString::number(qRound(m.captured(1).toDouble())) + "x" +
                              QString::number(qRound(m.captured(2).toDouble()))
                        : QString();
}

// The page's text with every run of blanks as one space, as pdftotext
// cannot tell two spaces from one.
QString PageText(const QString& pdf, int page) {
    const QString text =
        Run("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    QStringList lines = text.split('\n');
    for (QString& l : lines) l = l.simplified();
    return lines.join('\n');
}

bool Shows(const QString& pageText, const QString& text) { return pageText.contains(text.simplified()); }

// Left edge of the first word on page 1, in millimetres from the sheet's edge.
double FirstWordLeftMm(const QString& pdf, const QString& word) {
    const QString html = Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    const QRegularExpressionMatch m =
        QRegularExpression("xMin=\"([\\d.]+)\"[^>]*>" + QRegularExpression::escape(word) + "<").match(html);
    return m.hasMatch() ? m.captured(1).toDouble() * 25.4 / 72.0 : -1.0;
}

}  // namespace

class PrintPdfTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void summaryPrintsOnePortraitPageInsideTheMargins();
    void matrixPrintsOneLandscapePage();
    void listPrintsTheChosenRecordsOnNumberedPages();
    void refusalsAndGraphPages();
    void printDialogRules();
    void printDialogPrintsToAPdfFile();
    void marginDialogShowsRaisesAndStores();
    void oxygenSetWithCompanionFileFitsThePage();
    void lineGraphPrintsOneLandscapePageWithItsHeader();
    void twoDiagramsPrintSideBySide();
    void progressiveVectorPrintsItsOwnLegend();
    void sectorDiagramsPrintAsCirclesOfOneRadius();

private:
    void LoadSample();
    QTemporaryDir dir_;
    DataSet data_;
    ScaleSettings scale_;
    Statistics stats_;
    PrintMargins margins_;
};

void PrintPdfTests::initTestCase() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
    QVERIFY(dir_.isValid());
    // CORVAN_KEEP_PDF=1 keeps the printed files to look at.
    if (qEnvironmentVariableIsSet("CORVAN_KEEP_PDF")) {
        dir_.setAutoRemove(false);
        qInfo("PDF files in %s", qPrintable(dir_.path()));
    }
    LoadSample();
}

void PrintPdfTests::LoadSample() {
    data_.baseName = std::string(CORVAN_SAMPLES) + "/buoy3";
    const LoadOutcome outcome = LoadMeasurementFiles(data_);
    QVERIFY(outcome.message.empty() && data_.dataLoaded);
    QCOMPARE(data_.SeriesCount(), 2);
    RangeSelection range(data_);
    range.Show();
    range.SelectSeries(1);
    range.Accept();
    ComputeStatistics(data_, scale_, stats_);
    QVERIFY(data_.statisticsValid);
}

void PrintPdfTests::summaryPrintsOnePortraitPageInsideTheMargins() {
    PdfChooser chooser(dir_.path());
    margins_ = PrintMargins{30.0, 10.0, 25.0, 10.0};
    QVERIFY(PrintPage(nullptr, PrintPageKind::Summary, data_, stats_, "buoy3.CVN", margins_, chooser));
    QCOMPARE(chooser.calls, 1);
    QVERIFY(!chooser.offeredRange);
    QCOMPARE(PageCount(chooser.file), 1);
    QCOMPARE(PageSize(chooser.file), QString("595x842"));
    const QString text = PageText(chooser.file, 1);
    for (const char* t :
         {"STATISTICAL SUMMARY", "File name: buoy3.CVN", "Series number: 1", "Ref. number: 4711",
          "Interval time: 10 Minutes", "Total", "East / west", "North / south", "Mean current speed (cm/s)",
          "Variance (cm/s)²", "Minimum  current velocity", "Significant min velocity"})
        QVERIFY2(Shows(text, QString::fromUtf8(t)), t);
    QVERIFY(!text.contains("Valid measurements"));
    const SummaryPageTexts values = SummaryTexts(data_, stats_, QLocale::system().decimalPoint().toStdString());
    QVERIFY(text.contains(QString::fromStdString(values.maxSpeed).trimmed()));
    QVERIFY(text.contains(QString::fromStdString(values.variance[2]).trimmed()));
    // The title starts at the left margin of the sheet.
    QVERIFY(qAbs(FirstWordLeftMm(chooser.file, "STATISTICAL") - 30.0) < 0.5);
}

void PrintPdfTests::matrixPrintsOneLandscapePage() {
    PdfChooser chooser(dir_.path());
    margins_ = PrintMargins{};
    QVERIFY(PrintPage(nullptr, PrintPageKind::Matrix, data_, stats_, "buoy3.CVN", margins_, chooser));
    QCOMPARE(PageCount(chooser.file), 1);
    QCOMPARE(PageSize(chooser.file), QString("842x595"));
    const QString text = PageText(chooser.file, 1);
    const TextGrid cells = MatrixCellTexts(data_, stats_);
    for (const QString t :
         {"CURRENT SPEED / DIRECTION MATRIX", "Current speed groups", "Total flow", "Sum%", "curr", "345"})
        QVERIFY2(Shows(text, t), qPrintable(t));
    // The sum row as one line of the page.
    QStringList sums;
    for (int c = 1; c <= 12; ++c) sums << QString::fromStdString(cells[26][static_cast<std::size_t>(c)]).trimmed();
    QVERIFY2(text.contains(QRegularExpression("Sum%\\s+" + sums.join("\\s+"))), qPrintable(sums.join(" ")));
}

void PrintPdfTests::listPrintsTheChosenRecordsOnNumberedPages() {
    PdfChooser chooser(dir_.path());
    margins_ = PrintMargins{};
    // The last records of series 1 and the first of series 2.
    chooser.range = PrintRangeChoice{PrintRangeKind::Measurements, "1720", "1740"};
    QVERIFY(PrintPage(nullptr, PrintPageKind::List, data_, stats_, "buoy3.CVN", margins_, chooser));
    QVERIFY(chooser.offeredRange);
    QCOMPARE(PageCount(chooser.file), 1);
    QCOMPARE(PageSize(chooser.file), QString("595x842"));
    const QString text = PageText(chooser.file, 1);
    QVERIFY(Shows(text, "List of Corvan data from file buoy3.CVN.  Ref. number: 4711"));
    QVERIFY(text.contains("Page 1"));
    QVERIFY(text.contains("Meas series no. 1. Started: Date : 04.Mar-24 Time: 12:00"));
    QVERIFY(text.contains("Start of meas series no. 2. Date: 16.Mar-24 Time: 15:00"));
    QVERIFY(text.contains("Intv.: 10 minutes."));
    QVERIFY(text.contains(QRegularExpression("Ser\\s+Meas\\s+Temp\\s+Curr\\s+Dir\\s+Date\\s+Time")));
    QVERIFY(text.contains(QRegularExpression("\\b1720\\b")));
    QVERIFY(text.contains(QRegularExpression("\\b1740\\b")));
    QVERIFY(!text.contains(QRegularExpression("\\b1741\\b")));

    // The whole file: as many pages as the layout planned, each numbered.
    chooser.range = PrintRangeChoice{PrintRangeKind::All, {}, {}};
    QVERIFY(PrintPage(nullptr, PrintPageKind::List, data_, stats_, "buoy3.CVN", margins_, chooser));
    const PrinterMetrics m = ReadPrinterMetrics(chooser.printer);
    const PrintJob planned =
        LayoutListPrint(data_, "buoy3.CVN", RecordRange{0, data_.recordCount - 1},
                        PrinterPageFrame(chooser.printer, m, margins_), QtTextMeasure(chooser.printer));
    const int pages = PageCount(chooser.file);
    QCOMPARE(pages, static_cast<int>(planned.pages.size()));
    QVERIFY(pages > 30);
    const QString last = PageText(chooser.file, pages);
    QVERIFY(last.contains("Page " + QString::number(pages)));
    QVERIFY(last.contains(QRegularExpression("\\b3024\\b")));
    QVERIFY(PageText(chooser.file, 2).contains(QRegularExpression("Ser\\s+Meas")));
}

void PrintPdfTests::refusalsAndGraphPages() {
    PdfChooser chooser(dir_.path());
    QString shown;
    {
        data_.statisticsValid = false;
        testing::ModalWatcher<QMessageBox> watcher([&](QMessageBox* box) {
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        QVERIFY(!PrintPage(nullptr, PrintPageKind::List, data_, stats_, "buoy3.CVN", margins_, chooser));
        QCOMPARE(shown, QString("Print error.|No data selected."));
        data_.statisticsValid = true;
    }
    const int first = data_.rangeFirst, last = data_.rangeLast;
    data_.rangeLast = data_.rangeFirst;
    {
        testing::ModalWatcher<QMessageBox> watcher([&](QMessageBox* box) {
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        QVERIFY(!PrintPage(nullptr, PrintPageKind::Summary, data_, stats_, "buoy3.CVN", margins_, chooser));
        QCOMPARE(shown, QString("Print error.|Only 1 measurement selected."));
    }
    QCOMPARE(chooser.calls, 0);
    // The list prints a single record.
    chooser.range = PrintRangeChoice{PrintRangeKind::Selected, {}, {}};
    QVERIFY(PrintPage(nullptr, PrintPageKind::List, data_, stats_, "buoy3.CVN", margins_, chooser));
    QCOMPARE(PageCount(chooser.file), 1);
    data_.rangeLast = last;
    data_.rangeFirst = first;
    // The graph pages are not printed here.
    QVERIFY(!PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins_, chooser));
    QCOMPARE(chooser.calls, 1);
}

void PrintPdfTests::printDialogRules() {
    TPrtDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Print"));
    dialog.Prepare(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.Sel->isEnabled() && dialog.Meas->isEnabled() && dialog.EditFrom->isEnabled() &&
            dialog.LabelTo->isEnabled());
    QVERIFY(dialog.Buttons->button(QDialogButtonBox::Ok)->hasFocus());
    QTest::keyClicks(dialog.EditFrom, "12");
    QVERIFY(dialog.Meas->isChecked());
    dialog.Sel->setChecked(true);
    QTest::mouseClick(dialog.Meas, Qt::LeftButton);
    QVERIFY(dialog.EditFrom->hasFocus());
    QTest::keyClicks(dialog.EditTo, "20");
    const PrintRangeChoice r = dialog.Range();
    QVERIFY(r.kind == PrintRangeKind::Measurements);
    QCOMPARE(QString::fromStdString(r.from + "-" + r.to), QString("12-20"));

    dialog.Prepare(false);
    QVERIFY(dialog.All->isChecked());
    QVERIFY(!dialog.Sel->isEnabled() && !dialog.Meas->isEnabled() && !dialog.EditFrom->isEnabled() &&
            !dialog.EditTo->isEnabled() && !dialog.LabelFrom->isEnabled());
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        QCOMPARE(dialog.LabelPrinterName->text(), QString("Not installed"));
}

void PrintPdfTests::printDialogPrintsToAPdfFile() {
    TPrtDialog dialog;
    dialog.Printer().setOutputFormat(QPrinter::PdfFormat);
    const QString file = dir_.path() + "/dialog.pdf";
    dialog.choosePdfFileName = [&](QWidget*) { return file; };
    {
        // The user picks "S&elected" for the list.
        testing::ModalWatcher<TPrtDialog> watcher([](TPrtDialog* d) {
            d->Sel->setChecked(true);
            d->Buttons->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(PrintPage(nullptr, PrintPageKind::List, data_, stats_, "buoy3.CVN", margins_, dialog));
        QCOMPARE(watcher.Seen(), 1);
    }
    QVERIFY(QFile::exists(file));
    // Series 1 from its first record.
    QVERIFY(PageText(file, 1).contains("Start of meas series no. 1. Date: 04.Mar-24 Time: 12:00"));
    QVERIFY(dialog.Sel->isChecked());

    // The choice stays for the next list; the matrix resets it to all.
    {
        testing::ModalWatcher<TPrtDialog> watcher([](TPrtDialog* d) {
            QVERIFY(d->All->isChecked());
            QVERIFY(!d->Sel->isEnabled());
            d->Buttons->button(QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(!PrintPage(nullptr, PrintPageKind::Matrix, data_, stats_, "buoy3.CVN", margins_, dialog));
        QCOMPARE(watcher.Seen(), 1);
    }
}

void PrintPdfTests::marginDialogShowsRaisesAndStores() {
    MemorySettings store;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // A printer that cannot print the outer 4.2 mm.
    printer.setPageMargins(QMarginsF(4.2, 4.2, 4.2, 4.2), QPageLayout::Millimeter);
    TMarginDlg dialog(store, printer);
    QCOMPARE(dialog.windowTitle(), QString("Set margins"));

    PrintMargins margins{2.0, 15.0, 10.0, 25.0};
    dialog.Prepare(margins, false);
    QVERIFY(qAbs(margins.left - 4.2) < 0.05);
    QCOMPARE(dialog.EditLeftM->text(), QString("0.4"));
    QCOMPARE(dialog.EditRightM->text(), QString("1.5"));
    QCOMPARE(dialog.LabelLeft->text(), QString("Left:"));
    QCOMPARE(dialog.LabelBottom->text(), QString("Bottom:"));
    QCOMPARE(dialog.EditTopM->property("Tag").toInt(), 3);
    QVERIFY(!dialog.PaintBoxPage->Landscape());

    // Spin buttons: up to the next half centimetre, down never past the border.
    dialog.EditTopM->stepBy(1);
    QCOMPARE(dialog.EditTopM->text(), QString("1.5"));
    dialog.EditLeftM->stepBy(-1);
    QCOMPARE(dialog.EditLeftM->text(), QString("0.4"));

    {
        testing::ModalWatcher<TMarginDlg> watcher([](TMarginDlg* d) {
            d->EditBottM->SetText("2,2");
            d->EditRightM->SetText("wide");
            d->Buttons->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(dialog.Execute(margins, true));
    }
    QCOMPARE(dialog.LabelLeft->text(), QString("Bottom:"));
    QCOMPARE(dialog.LabelTop->text(), QString("Left:"));
    QVERIFY(dialog.PaintBoxPage->Landscape());
    QVERIFY(qAbs(margins.bottom - 22.0) < 1e-9);
    QVERIFY(qAbs(margins.right - 15.0) < 1e-9);  // not a number: unchanged
    QCOMPARE(QString::fromStdString(store.ReadString("Margins", "Left", "")), QString("0.4"));
    QCOMPARE(QString::fromStdString(store.ReadString("Margins", "Right", "")), QString("1.5"));
    QCOMPARE(QString::fromStdString(store.ReadString("Margins", "Top", "")), QString("1.0"));
    QCOMPARE(QString::fromStdString(store.ReadString("Margins", "Bottom", "")), QString("2.2"));

    // Cancel keeps margins and store as they were.
    const PrintMargins before = margins;
    {
        testing::ModalWatcher<TMarginDlg> watcher([](TMarginDlg* d) {
            d->EditTopM->SetText("5.0");
            d->Buttons->button(QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(!PageSetup(dialog, PrintPageKind::Summary, margins));
    }
    QCOMPARE(margins.top, before.top);
    QCOMPARE(QString::fromStdString(store.ReadString("Margins", "Top", "")), QString("1.0"));
}

void PrintPdfTests::oxygenSetWithCompanionFileFitsThePage() {
    DataSet oxy;
    oxy.baseName = std::string(CORVAN_SAMPLES) + "/oxy17";
    QVERIFY(LoadMeasurementFiles(oxy).message.empty() && oxy.lFilePresent);
    RangeSelection range(oxy);
    range.Show();
    range.Accept();
    Statistics stats;
    ScaleSettings scale;
    ComputeStatistics(oxy, scale, stats);
    PdfChooser chooser(dir_.path());
    PrintMargins margins;
    chooser.range = PrintRangeChoice{PrintRangeKind::Measurements, "1", "3"};
    QVERIFY(PrintPage(nullptr, PrintPageKind::List, oxy, stats, "oxy17.CVN", margins, chooser));
    const QString list = PageText(chooser.file, 1);
    QVERIFY(list.contains(QRegularExpression("Ox %\\s+mg/l\\s+Curr\\s+Dir\\s+v\\.mg/l\\s+Date\\s+Time\\s+L-Temp")));
    QVERIFY(list.contains("L-v.mg/l"));
    // Sixteen columns at 12 points would not fit the portrait width.
    const PrinterMetrics m = ReadPrinterMetrics(chooser.printer);
    const PageFrame frame = PrinterPageFrame(chooser.printer, m, margins);
    const ListPrintColumns fit = FitListColumns(RebuildListColumns(oxy), frame.Width(), QtTextMeasure(chooser.printer));
    QVERIFY(fit.points < kPrintFontPoints);
    QVERIFY(fit.ends.back() <= frame.Width());
    // The shrunk headers stay a digit apart, however wide they are.
    const double digit = QtTextMeasure(chooser.printer).Width("0", PrintFont{fit.points, false});
    QVERIFY2(fit.gap >= digit, qPrintable(QString("gap %1 mm, digit %2 mm").arg(fit.gap).arg(digit)));

    QVERIFY(PrintPage(nullptr, PrintPageKind::Matrix, oxy, stats, "oxy17.CVN", margins, chooser));
    const QString matrix = PageText(chooser.file, 1);
    QVERIFY(Shows(matrix, "Tot. Ox. flux"));
    QVERIFY(Shows(matrix, QString::fromUtf8("g/m²")));
}

// The chart's colours in the printed page's picture.
int CountPixels(const QImage& img, const QRect& area, bool (*match)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += match(img.pixel(x, y)) ? 1 : 0;
    return n;
}

void PrintPdfTests::lineGraphPrintsOneLandscapePageWithItsHeader() {
    GraphSettings settings;
    TGraphPage page(data_, stats_, scale_, settings);
    page.resize(800, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
    page.Chart1->repaint();
    const std::string caption = page.Chart1->LeftCaption();
    const QFont screenFont = page.Chart1->font();
    const GraphPrintSource source = GraphPrintSourceOf(page, "CURRENT SPEED");

    PdfChooser chooser(dir_.path());
    PrintMargins margins;
    // Without a source the graph page still prints nothing.
    QVERIFY(!PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser));
    QCOMPARE(chooser.calls, 0);
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &source));
    QCOMPARE(chooser.calls, 1);
    QVERIFY(!chooser.offeredRange);
    QCOMPARE(PageCount(chooser.file), 1);
    QCOMPARE(PageSize(chooser.file), QString("842x595"));
    const QString text = PageText(chooser.file, 1);
    const InformationPanelTexts info = InformationTexts(data_, "buoy3.CVN");
    for (const std::string& t : {std::string("CURRENT SPEED"), info.fileName, info.seriesNumber, info.refNumber,
                                 info.intervalTime, info.measurementCount, info.displayedFromTo, caption})
        QVERIFY2(Shows(text, QString::fromStdString(t)), t.c_str());
    QVERIFY(!text.contains("(zoomed)"));
    // The header comes before the chart's caption.
    QVERIFY(text.indexOf(QString::fromStdString(info.displayedFromTo).simplified()) <
            text.indexOf(QString::fromStdString(caption)));
    // The printing leaves the screen chart as it was.
    QCOMPARE(page.Chart1->LeftCaption(), caption);
    QCOMPARE(page.Chart1->font(), screenFont);

    // The red speed line lies on the page below the header, across most of
    // its width.
    const QString png = dir_.path() + "/graph";
    Run("pdftoppm", {"-png", "-r", "50", "-singlefile", chooser.file, png});
    const QImage img(png + ".png");
    QVERIFY(!img.isNull());
    QVERIFY(img.width() > img.height());
    auto red = [](QRgb c) { return qRed(c) > 180 && qGreen(c) < 100 && qBlue(c) < 100; };
    const int third = img.width() / 3;
    for (int i = 0; i < 3; ++i)
        QVERIFY(CountPixels(img, QRect(i * third, img.height() / 4, third, img.height() * 3 / 4 - 1), red) > 0);
    QCOMPARE(CountPixels(img, QRect(0, 0, img.width(), img.height() / 8), red), 0);
    // Paper, not the screen's grey chart background.
    auto screenGrey = [](QRgb c) {
        return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) > 200 && qRed(c) < 250;
    };
    QVERIFY(CountPixels(img, img.rect(), screenGrey) < img.width() * img.height() / 20);

    // A zoomed chart says so after its caption.
    const AxisMapping& shownBottom = page.Chart1->BottomMapping();
    page.Chart1->ZoomTo(shownBottom.minimum, (shownBottom.minimum + shownBottom.maximum) / 2,
                        page.Chart1->Description().dataMinimum, page.Chart1->Description().dataMaximum);
    QVERIFY(page.Chart1->IsZoomed());
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &source));
    QVERIFY(Shows(PageText(chooser.file, 1), QString::fromStdString(caption + " (zoomed)")));
    QCOMPARE(page.Chart1->LeftCaption(), caption);

    // The progressive vector's legend page comes first, upright, in the same
    // file.
    GraphPrintSource vector =
        GraphPrintSourceOf(page, "PROGRESSIVE VECTOR", true, {"Neumann parameter: 0.42", "Rest speed: 3.1"});
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &vector));
    QCOMPARE(PageCount(chooser.file), 2);
    const QString sizes = Run("pdfinfo", {"-f", "1", "-l", "2", chooser.file});
    QVERIFY2(sizes.contains(QRegularExpression(R"(Page\s+1 size:\s+59[45]\S* x 84[12])")), qPrintable(sizes));
    QVERIFY2(sizes.contains(QRegularExpression(R"(Page\s+2 size:\s+84[12]\S* x 59[45])")), qPrintable(sizes));
    const QString legendPage = PageText(chooser.file, 1);
    QVERIFY(Shows(legendPage, "Neumann parameter: 0.42"));
    QVERIFY(Shows(legendPage, "Rest speed: 3.1"));
    QVERIFY(Shows(legendPage, QString::fromStdString(info.measurementCount)));
    const QString graphPage = PageText(chooser.file, 2);
    QVERIFY(Shows(graphPage, "PROGRESSIVE VECTOR"));
    QVERIFY(Shows(graphPage, QString::fromStdString(info.fileName + "   " + info.seriesNumber)));
    QVERIFY(!Shows(graphPage, QString::fromStdString(info.measurementCount)));
}

void PrintPdfTests::twoDiagramsPrintSideBySide() {
    GraphSettings settings;
    TGraphPage page(data_, stats_, scale_, settings);
    page.resize(800, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.ShowGraph(kGraphLine, 0, kLineSpeed, 2, false));
    GraphPageDescription two = page.Shown();
    two.chart1.leftCaption = "Left diagram";
    two.chart1HalfWidth = true;
    ChartDescription second = two.chart1;
    second.leftCaption = "Right diagram";
    second.line->points.clear();
    for (int i = 0; i < 10; ++i) second.line->points.push_back({static_cast<double>(i), static_cast<double>(i % 3)});
    SetDataRange(second, 3.0, 0.0);
    two.chart2 = second;
    page.ShowDescription(two);
    QVERIFY(page.Chart2->isVisible());
    const GraphPrintSource source = GraphPrintSourceOf(page, "SECTORS");
    PdfChooser chooser(dir_.path());
    PrintMargins margins;
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &source));
    const double sheetWidth = 297.0;
    const double left = FirstWordLeftMm(chooser.file, "Left");
    const double right = FirstWordLeftMm(chooser.file, "Right");
    QVERIFY(left > 0.0 && left < sheetWidth / 2);
    QVERIFY2(right > sheetWidth / 2 && right < sheetWidth, qPrintable(QString::number(right)));
}

void PrintPdfTests::progressiveVectorPrintsItsOwnLegend() {
    GraphSettings settings;
    TGraphPage page(data_, stats_, scale_, settings);
    page.resize(800, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.ShowGraph(kGraphVector, 0, kLineSpeed, 2, false, kVectorProgressive));
    page.Chart1->repaint();
    const GraphPrintSource source = GraphPrintSourceOf(page, "PROGRESSIVE VECTOR", true);
    const ProgressiveLegend& legend = page.Legend();
    QCOMPARE(source.legend.size(), legend.validPointsShown ? 5u : 4u);
    PdfChooser chooser(dir_.path());
    PrintMargins margins;
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &source));
    QCOMPARE(PageCount(chooser.file), 2);
    const QString legendPage = PageText(chooser.file, 1);
    for (const std::string& t : {legend.neumann, legend.restSpeed, legend.restDirection, legend.averageSpeed})
        QVERIFY2(Shows(legendPage, QString::fromStdString(t)), t.c_str());
    QVERIFY(Shows(PageText(chooser.file, 2), "PROGRESSIVE VECTOR"));
}

void PrintPdfTests::sectorDiagramsPrintAsCirclesOfOneRadius() {
    GraphSettings settings;
    TGraphPage page(data_, stats_, scale_, settings);
    page.resize(800, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.ShowGraph(kGraphVector, 0, kLineSpeed, 2, false, kVectorMaxMean));
    if (page.Chart2->isHidden()) QSKIP("the sample shows one sector diagram");
    page.Chart1->repaint();
    page.Chart2->repaint();
    const GraphPrintSource source = GraphPrintSourceOf(page, "SECTORS");
    PdfChooser chooser(dir_.path());
    PrintMargins margins;
    QVERIFY(PrintPage(nullptr, PrintPageKind::Graph, data_, stats_, "buoy3.CVN", margins, chooser, &source));
    const QString png = dir_.path() + "/sectors";
    Run("pdftoppm", {"-png", "-r", "50", "-singlefile", chooser.file, png});
    const QImage img(png + ".png");
    QVERIFY(!img.isNull());
    // The extent of the dark outline in each half, across and down.
    auto dark = [](QRgb c) { return qGray(c) < 80; };
    auto extent = [&](int x0, int x1, int y0) {
        int left = x1, right = x0, top = img.height(), bottom = 0;
        for (int y = y0; y < img.height(); ++y)
            for (int x = x0; x < x1; ++x)
                if (dark(img.pixel(x, y))) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        return QSize(right - left, bottom - top);
    };
    const int headerBottom = img.height() / 5;
    const QSize a = extent(0, img.width() / 2, headerBottom);
    const QSize b = extent(img.width() / 2, img.width(), headerBottom);
    QVERIFY(a.width() > img.width() / 8);
    QVERIFY2(std::abs(a.width() - b.width()) <= 3, qPrintable(QString("%1 %2").arg(a.width()).arg(b.width())));
}

QTEST_MAIN(PrintPdfTests)
#include "print_pdf_tests.moc"
