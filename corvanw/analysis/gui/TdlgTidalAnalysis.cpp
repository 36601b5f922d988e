#include "analysis/gui/TdlgTidalAnalysis.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "analysis/tidal_charts.h"
#include "analysis/tidal_residual.h"
#include "analysis/tidal_tables.h"
#include "data/data_set.h"
#include "data/deployment_site.h"
#include "data/file_error.h"
#include "graphs/chart_layout.h"
#include "graphs/gui/chart_painter.h"
#include "print/gui/printer_chooser.h"

namespace corvan {
namespace {

constexpr const char* kResidualTitle = "Residual current, the tide taken away";

TidalOptions OptionsFor(std::optional<double> latitude) {
    TidalOptions options;
    if (latitude) options.latitude = *latitude;
    return options;
}

void FillGrid(QTableWidget& grid, const TextTable& table) {
    grid.clear();
    grid.setColumnCount(static_cast<int>(table.headers.size()));
    grid.setRowCount(static_cast<int>(table.rows.size()));
    QStringList headers;
    for (const std::string& h : table.headers) headers << QString::fromStdString(h);
    grid.setHorizontalHeaderLabels(headers);
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const auto& row = table.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(row[static_cast<std::size_t>(c)]));
            item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignRight | Qt::AlignVCenter));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid.setItem(r, c, item);
        }
    }
    grid.resizeColumnsToContents();
}

// A table on paper: the columns as wide as their widest text, numbers to
// the right; rows that do not fit go on to the next page.
void PrintTable(QPainter& p, QPrinter& printer, const QRectF& area, const std::vector<std::string>& heading,
                const TextTable& table) {
    // A table wider than the paper is printed in a smaller type.
    {
        const QFontMetricsF probe(p.font());
        double total = 0;
        for (std::size_t c = 0; c < table.headers.size(); ++c) {
            double w = probe.horizontalAdvance(QString::fromStdString(table.headers[c]));
            for (const auto& row : table.rows)
                if (c < row.size()) w = std::max(w, probe.horizontalAdvance(QString::fromStdString(row[c])));
            total += w + probe.horizontalAdvance("MM");
        }
        if (total > area.width()) {
            QFont smaller = p.font();
            smaller.setPointSizeF(smaller.pointSizeF() * area.width() / total * 0.98);
            p.setFont(smaller);
        }
    }
    const QFontMetricsF fm(p.font());
    const double line = fm.height() * 1.2;
    std::vector<double> widths(table.headers.size(), 0.0);
    auto measure = [&](const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], fm.horizontalAdvance(QString::fromStdString(cells[c])));
    };
    measure(table.headers);
    for (const auto& row : table.rows) measure(row);
    const double gap = fm.horizontalAdvance("MM");
    double y = area.top();
    auto text = [&](const std::string& s) {
        p.drawText(QPointF(area.left(), y + fm.ascent()), QString::fromStdString(s));
        y += line;
    };
    auto row = [&](const std::vector<std::string>& cells) {
        double x = area.left();
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QString t = QString::fromStdString(cells[c]);
            const double w = fm.horizontalAdvance(t);
            p.drawText(QPointF(c == 0 ? x : x + widths[c] - w, y + fm.ascent()), t);
            x += widths[c] + gap;
        }
        y += line;
    };
    for (const std::string& h : heading) text(h);
    y += line / 2;
    row(table.headers);
    for (const auto& cells : table.rows) {
        if (y + line > area.bottom()) {
            printer.newPage();
            y = area.top();
            row(table.headers);
        }
        row(cells);
    }
}

// An ellipse is only an ellipse on equal axes: the longer side of the plot
// gets the wider range, so a centimetre per second is as long both ways.
void PaintEqualAxesChart(QPainter& p, const QRectF& cell, ChartDescription chart) {
    const QFontMetricsF fm(p.font(), p.device());
    ChartMetrics m;
    m.width = cell.width();
    m.height = cell.height();
    m.fontHeight = std::ceil(fm.height());
    m.fontAscent = std::ceil(fm.ascent());
    m.textWidth = [&fm](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); };
    const ChartLayout layout = LayOutChart(chart, m);
    if (layout.drawable && layout.plot.Height() > 0 && layout.plot.Width() > 0) {
        const double ratio = layout.plot.Width() / layout.plot.Height();
        if (ratio > 1) {
            chart.bottom.minimum *= ratio;
            chart.bottom.maximum *= ratio;
        } else {
            chart.left.minimum /= ratio;
            chart.left.maximum /= ratio;
        }
    }
    PaintChart(p, cell, chart);
}

// Up to four ellipses, two to a row.
void PaintEllipses(QPainter& p, const QRectF& area, const std::vector<ChartDescription>& charts) {
    if (charts.empty()) return;
    const int columns = charts.size() > 1 ? 2 : 1;
    const int rows =
        static_cast<int>((charts.size() + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns));
    const double w = area.width() / columns;
    const double h = area.height() / rows;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const int r = static_cast<int>(i) / columns;
        const int c = static_cast<int>(i) % columns;
        PaintEqualAxesChart(p, QRectF(area.left() + c * w, area.top() + r * h, w, h), charts[i]);
    }
}

}  // namespace

void TTidalChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (paint) paint(p, QRectF(rect()), false);
}

TdlgTidalAnalysis::TdlgTidalAnalysis(QWidget* parent)
    : QDialog(parent), decimalSeparator_(QLocale::system().decimalPoint().toStdString()) {
    setObjectName("dlgTidalAnalysis");
    setWindowTitle(kTidalAnalysisCaption);
    resize(900, 600);
    auto* layout = new QVBoxLayout(this);
    LabelSummary = new QLabel;
    LabelSummary->setObjectName("LabelSummary");
    LabelSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelSummary->setWordWrap(true);
    layout->addWidget(LabelSummary);
    // Made before the pages so the dialog opens ready for another latitude.
    auto* latitudeRow = new QHBoxLayout;
    auto* latitudeLabel = new QLabel("Latitude (°N):", this);
    EditLatitude = new QLineEdit(this);
    EditLatitude->setObjectName("EditLatitude");
    EditLatitude->setMaximumWidth(120);
    latitudeLabel->setBuddy(EditLatitude);
    AnalyseBtn = new QPushButton("&Analyse", this);
    AnalyseBtn->setObjectName("AnalyseBtn");
    // Enter in the latitude analyses again rather than opening the save.
    AnalyseBtn->setDefault(true);
    latitudeRow->addWidget(latitudeLabel);
    latitudeRow->addWidget(EditLatitude);
    latitudeRow->addWidget(AnalyseBtn);
    latitudeRow->addStretch();
    layout->addLayout(latitudeRow);
    Pages = new QTabWidget;
    Pages->setObjectName("Pages");
    auto grid = [](const char* name) {
        auto* g = new QTableWidget;
        g->setObjectName(name);
        g->verticalHeader()->hide();
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
        return g;
    };
    GridConstituents = grid("GridConstituents");
    GridTemperature = grid("GridTemperature");
    ChartEllipses = new TTidalChartView;
    ChartEllipses->setObjectName("ChartEllipses");
    ChartResidual = new TTidalChartView;
    ChartResidual->setObjectName("ChartResidual");
    ChartResidualVector = new TTidalChartView;
    ChartResidualVector->setObjectName("ChartResidualVector");
    layout->addWidget(Pages, 1);

    auto* buttons = new QHBoxLayout;
    SaveBtn = new QPushButton("&Save residual...");
    SaveBtn->setObjectName("SaveBtn");
    CopyBtn = new QPushButton("&Copy");
    CopyBtn->setObjectName("CopyBtn");
    PrintBtn = new QPushButton("&Print...");
    PrintBtn->setObjectName("PrintBtn");
    CloseBtn = new QPushButton("Close");
    CloseBtn->setObjectName("CloseBtn");
    buttons->addWidget(SaveBtn);
    buttons->addStretch();
    buttons->addWidget(CopyBtn);
    buttons->addWidget(PrintBtn);
    buttons->addWidget(CloseBtn);
    layout->addLayout(buttons);
    connect(AnalyseBtn, &QPushButton::clicked, this, &TdlgTidalAnalysis::AnalyseBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TdlgTidalAnalysis::SaveBtnClick);
    connect(CopyBtn, &QPushButton::clicked, this, &TdlgTidalAnalysis::CopyPage);
    connect(PrintBtn, &QPushButton::clicked, this, &TdlgTidalAnalysis::PrintBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TdlgTidalAnalysis::~TdlgTidalAnalysis() = default;

bool TdlgTidalAnalysis::Analyse(const DataSet& data, const ScaleSettings& scale, const GraphSettings& settings,
                                std::optional<double> latitude) {
    data_ = &data;
    scale_ = scale;
    settings_ = settings;
    EditLatitude->setText(latitude ? QString::fromStdString(SiteNumberText(*latitude)) : QString());
    analysis_ = AnalyseTide(TidalInputFromRange(data), OptionsFor(latitude));
    detided_.reset();
    if (!analysis_.error.empty()) return false;
    ShowAnalysis();
    return true;
}

void TdlgTidalAnalysis::AnalyseBtnClick() {
    if (!data_) return;
    bool ok = false;
    const std::optional<double> latitude = ParseSiteNumber(EditLatitude->text().toStdString(), ok);
    if (!ok || (latitude && !(std::fabs(*latitude) <= 90.0))) {
        QMessageBox::critical(this, kTidalAnalysisCaption, kTidalLatitudeMessage);
        return;
    }
    // What is on show stays until the new analysis has succeeded.
    TidalAnalysis fresh = AnalyseTide(TidalInputFromRange(*data_), OptionsFor(latitude));
    if (!fresh.error.empty()) {
        QMessageBox::critical(this, kTidalAnalysisCaption, QString::fromStdString(fresh.error));
        return;
    }
    QWidget* page = Pages->currentWidget();
    analysis_ = std::move(fresh);
    ShowAnalysis();
    // Another latitude is looked at on the page the user was reading.
    if (page && Pages->indexOf(page) >= 0) Pages->setCurrentWidget(page);
}

void TdlgTidalAnalysis::ShowAnalysis() {
    detided_.reset();
    if (analysis_.hasCurrent) {
        detided_ = std::make_unique<DataSet>();
        FillDetidedDataSet(*data_, analysis_, *detided_);
        ComputeStatistics(*detided_, scale_, detidedStats_);
        detidedStats_.progressive = ComputeProgressiveFigures(*detided_);
    }
    FillTables();
    PrepareCharts();
}

std::string TdlgTidalAnalysis::Title() const {
    if (!data_) return {};
    const std::string file = std::filesystem::path(MeasurementFileName(data_->baseName)).filename().string();
    return file + ", series " + std::to_string(data_->currentSeries) + ", measurements " +
           std::to_string(data_->rangeFirst + 1) + " - " + std::to_string(data_->rangeLast + 1);
}

void TdlgTidalAnalysis::FillTables() {
    std::string summary = Title();
    for (const std::string& line : TidalSummaryLines(analysis_, decimalSeparator_)) summary += "\n" + line;
    LabelSummary->setText(QString::fromStdString(summary));
    Pages->clear();
    if (analysis_.hasCurrent) {
        FillGrid(*GridConstituents, ConstituentTable(analysis_, decimalSeparator_));
        Pages->addTab(GridConstituents, "Constituents");
    }
    if (analysis_.hasTemperature) {
        FillGrid(*GridTemperature, TemperatureTable(analysis_, decimalSeparator_));
        Pages->addTab(GridTemperature, "Temperature");
    }
    SaveBtn->setEnabled(analysis_.hasCurrent);
}

std::string TdlgTidalAnalysis::SaveResidualTo(const std::string& baseName) {
    if (!data_ || !analysis_.hasCurrent) return "no current was analysed";
    try {
        return WriteDetidedFiles(*data_, analysis_, baseName);
    } catch (const FileError& e) {
        return e.what();
    }
}

void TdlgTidalAnalysis::SaveBtnClick() {
    QString chosen;
    if (chooseResidualName) {
        chosen = chooseResidualName();
    } else {
        const QString proposal = QString::fromStdString(data_ ? data_->baseName + "_detided.CVN" : std::string());
        chosen = QFileDialog::getSaveFileName(this, "Save residual current", proposal, "Measurement Files (*.CVN)");
    }
    if (chosen.isEmpty()) return;
    const std::string base = StripExtension(chosen.toStdString());
    const std::string why = SaveResidualTo(base);
    if (!why.empty()) QMessageBox::critical(this, kTidalAnalysisCaption, QString::fromStdString(why));
}

void TdlgTidalAnalysis::CopyPage() {
    QWidget* page = Pages->currentWidget();
    if (page == GridConstituents) {
        QApplication::clipboard()->setText(
            QString::fromStdString(TableAsText(ConstituentTable(analysis_, decimalSeparator_))));
    } else if (page == GridTemperature) {
        QApplication::clipboard()->setText(
            QString::fromStdString(TableAsText(TemperatureTable(analysis_, decimalSeparator_))));
    } else if (auto* chart = qobject_cast<TTidalChartView*>(page); chart && chart->paint) {
        QImage image(QSize(900, 600), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        chart->paint(p, QRectF(0, 0, 900, 600), true);
        p.end();
        QApplication::clipboard()->setImage(image);
    }
}

void TdlgTidalAnalysis::PrintPage(QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer)) return;
    const QRectF area = printer.pageLayout()
                            .paintRectPixels(printer.resolution())
                            .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    QFont font = p.font();
    font.setPointSizeF(9);
    p.setFont(font);
    std::vector<std::string> heading = {std::string(kTidalAnalysisCaption) + ": " + Title()};
    for (const std::string& line : TidalSummaryLines(analysis_, decimalSeparator_)) heading.push_back(line);
    QWidget* page = Pages->currentWidget();
    if (page == GridTemperature) {
        PrintTable(p, printer, area, heading, TemperatureTable(analysis_, decimalSeparator_));
    } else if (auto* chart = qobject_cast<TTidalChartView*>(page); chart && chart->paint) {
        const QFontMetricsF fm(p.font());
        double y = area.top();
        for (const std::string& h : heading) {
            p.drawText(QPointF(area.left(), y + fm.ascent()), QString::fromStdString(h));
            y += fm.height() * 1.2;
        }
        // Charts are laid out in pixels of a 96 dpi screen; the printer's
        // resolution only makes them sharper.
        const double k = printer.resolution() / 96.0;
        const QRectF rect(area.left(), y + fm.height(), area.width(), area.bottom() - y - fm.height());
        p.save();
        p.scale(k, k);
        chart->paint(p, QRectF(rect.left() / k, rect.top() / k, rect.width() / k, rect.height() / k), true);
        p.restore();
    } else {
        PrintTable(p, printer, area, heading, ConstituentTable(analysis_, decimalSeparator_));
    }
    p.end();
}

void TdlgTidalAnalysis::PrintBtnClick() {
    if (!printerChooser) return;
    PrintRangeChoice range{};
    QPrinter* printer = printerChooser->Choose(this, false, range);
    if (printer) PrintPage(*printer);
}

void TdlgTidalAnalysis::PrepareCharts() {
    for (TTidalChartView* view : {ChartEllipses, ChartResidual, ChartResidualVector}) view->paint = nullptr;
    if (!analysis_.hasCurrent || !detided_) return;
    const std::vector<const CurrentConstituent*> main = MainConstituents(analysis_, 4);
    const std::string sep = decimalSeparator_;
    ChartEllipses->paint = [main, sep](QPainter& p, const QRectF& r, bool paper) {
        p.setFont(ChartFont());
        std::vector<ChartDescription> charts;
        for (const CurrentConstituent* c : main) charts.push_back(EllipseChart(*c, sep, paper));
        PaintEllipses(p, r, charts);
    };
    Pages->addTab(ChartEllipses, "Ellipses");

    // The detided current through the graph page's own descriptions: the
    // speed above the direction, and its progressive vector.
    auto describe = [this](GraphRequest request, bool paper) {
        return DescribeGraphPage(*detided_, detidedStats_, scale_, settings_, request,
                                 paper ? ChartTarget::Paper : ChartTarget::Screen);
    };
    ChartResidual->paint = [describe](QPainter& p, const QRectF& r, bool paper) {
        p.setFont(ChartFont());
        GraphRequest speed;
        speed.kind = kGraphLine;
        speed.lineKind = kLineSpeed;
        GraphRequest direction = speed;
        direction.lineKind = kLineDirection;
        const double half = r.height() / 2;
        PaintGraphPage(p, QRectF(r.left(), r.top(), r.width(), half), describe(speed, paper));
        PaintGraphPage(p, QRectF(r.left(), r.top() + half, r.width(), half), describe(direction, paper));
    };
    Pages->addTab(ChartResidual, "Residual current");
    ChartResidualVector->paint = [this, describe](QPainter& p, const QRectF& r, bool paper) {
        p.setFont(ChartFont());
        GraphRequest vector;
        vector.kind = kGraphVector;
        vector.vectorKind = kVectorProgressive;
        const GraphPageDescription page = describe(vector, paper);
        GraphHeader header;
        header.title = kResidualTitle;
        header.info = InformationTexts(
            *detided_, std::filesystem::path(MeasurementFileName(detided_->baseName)).filename().string());
        header.legendShown = true;
        header.legend = page.legend;
        PaintGraphFigure(p, r, page, &header);
    };
    Pages->addTab(ChartResidualVector, "Residual progressive vector");
}

void RunTidalAnalysis(QWidget* parent, const DataSet& data, const ScaleSettings& scale, const GraphSettings& settings,
                      std::optional<double> latitude, TdlgTidalAnalysis& dialog) {
    if (!data.dataLoaded || !data.statisticsValid) {
        QMessageBox::critical(parent, kTidalAnalysisCaption, "No data loaded");
        return;
    }
    if (!dialog.Analyse(data, scale, settings, latitude)) {
        QMessageBox::critical(parent, kTidalAnalysisCaption, QString::fromStdString(dialog.Error()));
        return;
    }
    dialog.exec();
}

}  // namespace corvan
