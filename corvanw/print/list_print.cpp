#include "print/list_print.h"

#include <algorithm>
#include <cstdio>

#include "data/settings_access.h"
#include "graphs/statistics_pages.h"

namespace corvan {

namespace {

constexpr const char* kListOfPrefix = "List of ";
constexpr const char* kDataFromFile = " data from file ";
constexpr const char* kDataShort = " data. ";
constexpr const char* kPagePrefix = "Page ";
constexpr const char* kStartOfSeries = "Start of meas series no. ";
constexpr const char* kInsideSeries = "Meas series no. ";
constexpr const char* kSeriesDate = ". Date: ";
constexpr const char* kSeriesStartedDate = ". Started: Date : ";
constexpr const char* kSeriesTime = " Time: ";
constexpr const char* kIntervalPrefix = "Intv.: ";
constexpr const char* kIntervalSuffix = " minutes.";
// A series heading with its interval, an empty line, the column headers
// and one record.
constexpr int kSeriesBlockLines = 5;
// The page header and "Page n" stay apart by at least this much.
constexpr double kHeaderSeparation = 2.0;
constexpr double kMinimumPoints = 1.0;

bool ParseRecordNumber(const std::string& text, int& value) {
    bool ok = false;
    const int v = ParseWholeNumber(text, 0, &ok);
    if (ok) value = v;
    return ok;
}

std::string SeriesDateText(DateTime t) {
    const CivilTime c = t.ToCivil();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%s-%02d", c.day, MonthAbbreviation(c.month), ((c.year % 100) + 100) % 100);
    return buf;
}

std::string SeriesTimeText(DateTime t) { return FormatListTime(t.ToCivil()); }

class ListPager {
public:
    ListPager(PrintJob& job, const PageFrame& frame, const PrintFont& font, double lineHeight, std::string leftHeader,
              std::string secondHeader, const std::vector<ListColumn>& columns, const ListPrintColumns& fit)
        : job_(job),
          frame_(frame),
          font_(font),
          l_(lineHeight),
          left_(std::move(leftHeader)),
          second_(std::move(secondHeader)),
          columns_(columns),
          fit_(fit) {}

    // Starts a page with its header; the column headers follow unless a
    // series heading comes first (it brings its own).
    void NewPage(bool withColumnHeaders) {
        job_.pages.emplace_back();
        y_ = frame_.top;
        const int number = static_cast<int>(job_.pages.size());
        Add(frame_.left, left_, TextAlign::Left);
        Add(frame_.right, kPagePrefix + std::to_string(number), TextAlign::Right);
        y_ += l_;
        if (!second_.empty()) {
            Add(frame_.left, second_, TextAlign::Left);
            y_ += l_;
        }
        if (withColumnHeaders) ColumnHeaders();
    }

    int LinesLeft() const { return static_cast<int>((frame_.bottom - y_) / l_ + 1e-9); }
    bool Started() const { return !job_.pages.empty(); }

    void Line(const std::string& text) {
        Add(frame_.left, text, TextAlign::Left);
        y_ += l_;
    }

    void ColumnHeaders() {
        y_ += l_;
        for (std::size_t c = 0; c < columns_.size(); ++c)
            Add(frame_.left + fit_.ends[c], columns_[c].header, TextAlign::Right);
        y_ += l_;
    }

    void Record(const std::vector<std::string>& cells) {
        if (LinesLeft() < 1) NewPage(true);
        for (std::size_t c = 0; c < cells.size() && c < fit_.ends.size(); ++c) {
            if (cells[c].empty()) continue;
            // The blanks after an invalid value's "-" keep it under the
            // integer digits.
            const std::size_t b = cells[c].find_first_not_of(' ');
            if (b == std::string::npos) continue;
            Add(frame_.left + fit_.ends[c], cells[c].substr(b), TextAlign::Right);
        }
        y_ += l_;
    }

private:
    void Add(double x, std::string text, TextAlign align) {
        job_.pages.back().texts.push_back(PrintText{x, y_, std::move(text), font_, align});
    }

    PrintJob& job_;
    PageFrame frame_;
    PrintFont font_;
    double l_;
    std::string left_, second_;
    const std::vector<ListColumn>& columns_;
    const ListPrintColumns& fit_;
    double y_ = 0.0;
};

}  // namespace

RecordRange ResolveListRange(const DataSet& data, const PrintRangeChoice& choice) {
    const int count = data.recordCount;
    RecordRange r;
    switch (choice.kind) {
        case PrintRangeKind::All:
            r = RecordRange{0, count - 1};
            break;
        case PrintRangeKind::Selected:
            r = RecordRange{data.rangeFirst, data.rangeLast};
            break;
        case PrintRangeKind::Measurements: {
            int from = data.rangeFirst + 1;
            int to = data.rangeLast + 1;
            ParseRecordNumber(choice.from, from);
            ParseRecordNumber(choice.to, to);
            from = std::clamp(from, 1, std::max(count, 1));
            to = std::clamp(to, from, std::max(count, 1));
            r = RecordRange{from - 1, to - 1};
            break;
        }
    }
    r.first = std::max(r.first, 0);
    r.last = std::min(r.last, count - 1);
    return r;
}

ListPrintColumns FitListColumns(const std::vector<ListColumn>& columns, double pageWidth, const TextMeasure& measure) {
    ListPrintColumns fit;
    std::vector<double> widths(columns.size());
    double total = 0.0;
    double digit = 0.0;
    auto measureAt = [&](double points) {
        const PrintFont f{points, false};
        digit = measure.Width("0", f);
        total = 0.0;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            widths[c] = std::max(measure.Width(columns[c].header, f), columns[c].width * digit);
            total += widths[c];
        }
    };
    const std::size_t gaps = columns.size() > 1 ? columns.size() - 1 : 1;
    // A header as wide as its column would touch its neighbour's without a
    // gap of at least one digit between the columns.
    auto fits = [&] { return total + static_cast<double>(gaps) * digit <= pageWidth; };
    fit.points = kPrintFontPoints;
    measureAt(fit.points);
    while (!fits() && fit.points > kMinimumPoints) {
        fit.points -= 1.0;
        measureAt(fit.points);
    }
    fit.gap = std::clamp((pageWidth - total) / static_cast<double>(gaps), 0.0, kListMaximumGap);
    double x = 0.0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        x += widths[c];
        // Rounding of the shared gaps must not push the last column past
        // the page by a hair.
        if (fit.gap > 0.0) x = std::min(x, pageWidth);
        fit.ends.push_back(x);
        x += fit.gap;
    }
    return fit;
}

PrintJob LayoutListPrint(const DataSet& data, const std::string& fileName, const RecordRange& range,
                         const PageFrame& frame, const TextMeasure& measure) {
    PrintJob job{kListJobTitle, false, {}};
    const std::vector<ListColumn> columns = RebuildListColumns(data);
    const ListPrintColumns fit = FitListColumns(columns, frame.Width(), measure);
    const PrintFont font{fit.points, false};
    const double l = measure.LineHeight(font);

    const std::string typeName = InstrumentTypeName(data.header.instrumentType);
    const std::string refText = kRefNumberPrefix + std::to_string(data.header.referenceNumber);
    std::string left = kListOfPrefix + typeName + kDataFromFile + fileName + ".  " + refText;
    std::string second;
    const std::string widestPage = kPagePrefix + std::to_string(99999);
    if (measure.Width(left, font) + kHeaderSeparation + measure.Width(widestPage, font) > frame.Width()) {
        left = kListOfPrefix + typeName + kDataShort + refText;
        second = kFileNamePrefix + fileName;
    }
    ListPager pager(job, frame, font, l, left, second, columns, fit);
    if (range.last < range.first) {
        pager.NewPage(true);
        return job;
    }

    SeriesCursor cursor(data, range.first);
    std::vector<std::string> cells;
    for (int i = range.first; i <= range.last; ++i) {
        bool startsSeries = false;
        FormatListRow(data, columns, i, cursor, cells, startsSeries);
        if (i == range.first || startsSeries) {
            // The heading never stands at the foot of a page without the
            // first record of its series under it.
            if (!pager.Started() || pager.LinesLeft() < kSeriesBlockLines) pager.NewPage(false);
            const int n = cursor.Series();
            const DateTime start = cursor.Start();
            const std::string when = SeriesDateText(start) + kSeriesTime + SeriesTimeText(start);
            pager.Line(startsSeries ? kStartOfSeries + std::to_string(n) + kSeriesDate + when
                                    : kInsideSeries + std::to_string(n) + kSeriesStartedDate + when);
            const int interval =
                n >= 1 && n <= data.SeriesCount() ? data.series[static_cast<std::size_t>(n - 1)].interval : 0;
            pager.Line(kIntervalPrefix + IntervalMinutesText(interval) + kIntervalSuffix);
            pager.ColumnHeaders();
        }
        pager.Record(cells);
    }
    return job;
}

}  // namespace corvan
