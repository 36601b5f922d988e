#include "print/print_layout.h"

#include <algorithm>
#include <array>

namespace corvan {

namespace {

// The second column of the header block starts past the widest first-column
// label a data set can produce.
constexpr const char* kHeaderColumnProbe = "Number of measurements in data set: 9999999999 ";

constexpr double kSummaryPaddingX = 2.0;
constexpr double kSummaryPaddingY = 1.0;
constexpr int kSummarySpeedField = 7;
constexpr int kSummarySpreadField = 10;

// The matrix rows get a little air above and below the text.
constexpr double kMatrixRowPadding = 0.3;

std::string TrimLeft(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b);
}

void AddText(PrintedPage& page, double x, double y, std::string text, PrintFont font, TextAlign align) {
    page.texts.push_back(PrintText{x, y, std::move(text), font, align});
}

}  // namespace

PrintHeader MakePrintHeader(const std::string& title, const DataSet& data, const std::string& fileName) {
    return PrintHeader{title, InformationTexts(data, fileName)};
}

double LayoutHeaderBlock(const PrintHeader& h, const PageFrame& frame, const TextMeasure& measure, PrintedPage& page) {
    const PrintFont normal;
    const PrintFont bold{kPrintFontPoints, true};
    const double l = measure.LineHeight(normal);
    const double x = frame.left;
    const double y = frame.top;
    AddText(page, x, y, h.title, bold, TextAlign::Left);
    AddText(page, x, y + 1.5 * l, h.info.fileName, normal, TextAlign::Left);
    AddText(page, x, y + 2.5 * l, h.info.seriesNumber, normal, TextAlign::Left);
    AddText(page, x, y + 3.5 * l, h.info.measurementCount, normal, TextAlign::Left);
    AddText(page, x, y + 4.5 * l, h.info.displayedFromTo, normal, TextAlign::Left);
    const double column = measure.Width(kHeaderColumnProbe, normal);
    const bool fileNameReaches = measure.Width(h.info.fileName + "  ", normal) > column;
    const double first = fileNameReaches ? 2.5 : 1.5;
    AddText(page, x + column, y + first * l, h.info.refNumber, normal, TextAlign::Left);
    AddText(page, x + column, y + (first + 1.0) * l, h.info.intervalTime, normal, TextAlign::Left);
    return y + 6.5 * l;
}

PrintJob LayoutSummaryPrint(const PrintHeader& header, const SummaryPageTexts& t, const PageFrame& frame,
                            const TextMeasure& measure) {
    PrintJob job{kSummaryJobTitle, false, {PrintedPage{}}};
    PrintedPage& page = job.pages.front();
    const double top = LayoutHeaderBlock(header, frame, measure, page);

    const PrintFont font;
    const double l = measure.LineHeight(font);
    const double digit = measure.Width("0", font);
    struct Row {
        const char* caption;
        std::array<std::string, 3> values;  // Total, East / west, North / south
        int field;
    };
    // The statistics order their components total, north/south, east/west.
    auto three = [](const std::array<std::string, 3>& v) {
        return std::array<std::string, 3>{TrimLeft(v[0]), TrimLeft(v[2]), TrimLeft(v[1])};
    };
    auto one = [](const std::string& v) { return std::array<std::string, 3>{TrimLeft(v), {}, {}}; };
    const std::array<Row, 8> rows = {{
        {kSummaryRowMean, three(t.mean), kSummarySpeedField},
        {kSummaryRowVariance, three(t.variance), kSummarySpreadField},
        {kSummaryRowStdDev, three(t.stdDev), kSummarySpreadField},
        {kSummaryRowRelStdDev, three(t.relStdDev), kSummarySpreadField},
        {kSummaryRowMaxSpeed, one(t.maxSpeed), kSummarySpeedField},
        {kSummaryRowMinSpeed, one(t.minSpeed), kSummarySpeedField},
        {kSummaryRowSignificantMax, one(t.significantMax), kSummarySpeedField},
        {kSummaryRowSignificantMin, one(t.significantMin), kSummarySpeedField},
    }};
    const std::array<const char*, 3> headers = {kSummaryColumnTotal, kSummaryColumnEastWest, kSummaryColumnNorthSouth};

    double captionWidth = 0.0;
    for (const Row& r : rows) captionWidth = std::max(captionWidth, measure.Width(r.caption, font));
    double fieldWidth = kSummarySpreadField * digit;
    for (const char* hText : headers) fieldWidth = std::max(fieldWidth, measure.Width(hText, font));
    for (const Row& r : rows)
        for (const std::string& v : r.values) fieldWidth = std::max(fieldWidth, measure.Width(v, font));

    std::array<double, 5> x{};
    x[0] = frame.left;
    x[1] = x[0] + captionWidth + 2 * kSummaryPaddingX;
    for (std::size_t c = 2; c < x.size(); ++c) x[c] = x[c - 1] + fieldWidth + 2 * kSummaryPaddingX;
    const double rowHeight = l + 2 * kSummaryPaddingY;
    const int rowCount = static_cast<int>(rows.size()) + 1;

    for (std::size_t c = 0; c < headers.size(); ++c)
        AddText(page, (x[c + 1] + x[c + 2]) / 2, top + kSummaryPaddingY, headers[c], font, TextAlign::Centre);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double y = top + static_cast<double>(r + 1) * rowHeight + kSummaryPaddingY;
        AddText(page, x[0] + kSummaryPaddingX, y, rows[r].caption, font, TextAlign::Left);
        for (std::size_t c = 0; c < 3; ++c) {
            if (rows[r].values[c].empty()) continue;
            // Each value ends where a field of its digit count, centred in
            // the column, ends, so the decimal points line up.
            const double centre = (x[c + 1] + x[c + 2]) / 2;
            const double end = centre + rows[r].field * digit / 2;
            AddText(page, end, y, rows[r].values[c], font, TextAlign::Right);
        }
    }
    const double bottom = top + rowCount * rowHeight;
    for (int r = 0; r <= rowCount; ++r) {
        const double y = top + r * rowHeight;
        page.lines.push_back(PrintLine{x.front(), y, x.back(), y});
    }
    for (double xc : x) page.lines.push_back(PrintLine{xc, top, xc, bottom});
    return job;
}

namespace {

struct MatrixGeometry {
    std::vector<double> x;  // column edges, size columns + 1
    double rowHeight = 0.0;
    double digit = 0.0;
};

struct CaptionSpan {
    std::size_t first, last, source;
};

std::vector<CaptionSpan> MatrixSpans(std::size_t columns) {
    std::vector<CaptionSpan> spans = {{1, 13, 1}, {14, 15, 15}, {16, 16, 16}};
    if (columns > 18) spans.push_back({17, 18, 18});
    return spans;
}

MatrixGeometry MeasureMatrix(const TextGrid& cells, double left, const TextMeasure& measure, const PrintFont& font) {
    MatrixGeometry g;
    const std::size_t columns = cells.empty() ? 0 : cells[0].size();
    g.digit = measure.Width("0", font);
    std::vector<double> width(columns, 0.0);
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (std::size_t c = 0; c < columns && c < cells[r].size(); ++c)
            width[c] = std::max(width[c], measure.Width(cells[r][c], font) + g.digit);
    for (const CaptionSpan& s : MatrixSpans(columns)) {
        double w = 0.0;
        for (std::size_t c = s.first; c <= s.last; ++c) w += width[c];
        const double need = measure.Width(cells[0][s.source], font) + 2 * g.digit;
        if (need > w) width[s.last] += need - w;
    }
    g.x.resize(columns + 1);
    g.x[0] = left;
    for (std::size_t c = 0; c < columns; ++c) g.x[c + 1] = g.x[c] + width[c];
    g.rowHeight = measure.LineHeight(font) + 2 * kMatrixRowPadding;
    return g;
}

}  // namespace

PrintJob LayoutMatrixPrint(const PrintHeader& header, const TextGrid& cells, const PageFrame& frame,
                           const TextMeasure& measure) {
    PrintJob job{kMatrixJobTitle, true, {PrintedPage{}}};
    PrintedPage& page = job.pages.front();
    const double top = LayoutHeaderBlock(header, frame, measure, page);
    if (cells.empty()) return job;
    const std::size_t columns = cells[0].size();
    const double rows = static_cast<double>(cells.size());

    // Shrinks until the grid fits below the header, and across the page too:
    // a grid wider than the page would lose its flux columns.
    PrintFont font;
    MatrixGeometry g = MeasureMatrix(cells, frame.left, measure, font);
    while (font.points - 1.0 >= kMatrixMinimumPoints &&
           (top + rows * g.rowHeight > frame.bottom || g.x.back() > frame.right)) {
        font.points -= 1.0;
        g = MeasureMatrix(cells, frame.left, measure, font);
    }
    // The columns share out what the page has left, so the grid reads
    // across the whole sheet rather than huddling at its left.
    const double used = g.x.back() - g.x.front();
    if (used > 0.0 && g.x.back() < frame.right) {
        const double stretch = (frame.right - g.x.front()) / used;
        for (double& x : g.x) x = g.x.front() + (x - g.x.front()) * stretch;
    }

    const double textInset = kMatrixRowPadding;
    const double blank = g.digit / 2;
    for (const CaptionSpan& s : MatrixSpans(columns)) {
        const std::string& text = cells[0][s.source];
        if (text.empty()) continue;
        AddText(page, (g.x[s.first] + g.x[s.last + 1]) / 2, top + textInset, text, font, TextAlign::Centre);
    }
    for (std::size_t r = 1; r < cells.size(); ++r) {
        const double y = top + static_cast<double>(r) * g.rowHeight + textInset;
        for (std::size_t c = 0; c < columns && c < cells[r].size(); ++c) {
            const std::string text = TrimLeft(cells[r][c]);
            if (text.empty()) continue;
            AddText(page, g.x[c + 1] - blank, y, text, font, TextAlign::Right);
        }
    }

    // Rules: a frame, the caption groups, the end of the captions, the sum
    // row, and the column groups (sectors | classes | sum | flow | max | flux).
    const double bottom = top + rows * g.rowHeight;
    const double captionEnd = top + kMatrixFixedRows * g.rowHeight;
    const double sumTop = top + kMatrixSumRow * g.rowHeight;
    const double left = g.x.front();
    const double right = g.x.back();
    for (double y : {top, captionEnd, sumTop, bottom}) page.lines.push_back(PrintLine{left, y, right, y});
    page.lines.push_back(PrintLine{g.x[1], top + g.rowHeight, right, top + g.rowHeight});
    // The caption groups of row 0 span columns 1..13, 14..15, 16 and 17..18.
    std::vector<std::size_t> edges = {0, 1, 14, 16, columns};
    if (columns > 18) edges.insert(edges.end() - 1, 17);
    for (std::size_t e : edges) page.lines.push_back(PrintLine{g.x[e], top, g.x[e], bottom});
    page.lines.push_back(PrintLine{g.x[kMatrixSumColumn], top + g.rowHeight, g.x[kMatrixSumColumn], bottom});
    return job;
}

GraphPrintLayout LayoutGraphPrint(const PrintHeader& header, bool progressiveVector, const PageFrame& frame,
                                  const TextMeasure& measure) {
    GraphPrintLayout out{PrintJob{kGraphJobTitle, true, {PrintedPage{}}}, frame};
    PrintedPage& page = out.job.pages.front();
    if (!progressiveVector) {
        out.chart.top = LayoutHeaderBlock(header, frame, measure, page);
        return out;
    }
    const PrintFont normal;
    const double l = measure.LineHeight(normal);
    AddText(page, frame.left, frame.top, header.title, PrintFont{kPrintFontPoints, true}, TextAlign::Left);
    AddText(page, frame.left, frame.top + 1.5 * l, header.info.fileName + "   " + header.info.seriesNumber, normal,
            TextAlign::Left);
    out.chart.top = frame.top + 3.0 * l;
    return out;
}

PrintJob LayoutVectorLegendPrint(const PrintHeader& header, const std::vector<std::string>& legend,
                                 const PageFrame& frame, const TextMeasure& measure) {
    PrintJob job{kVectorLegendJobTitle, false, {PrintedPage{}}};
    PrintedPage& page = job.pages.front();
    LayoutHeaderBlock(header, frame, measure, page);
    const PrintFont normal;
    const double l = measure.LineHeight(normal);
    double y = frame.top + 5.5 * l;
    for (const std::string& line : legend) {
        AddText(page, frame.left, y, line, normal, TextAlign::Left);
        y += l;
    }
    return job;
}

}  // namespace corvan
