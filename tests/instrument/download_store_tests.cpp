#include <gtest/gtest.h>

#include <memory>

#include "instrument/download_store.h"

namespace corvan {
namespace {

std::unique_ptr<DataSet> Downloaded(int n, std::vector<int> firsts) {
    auto d = std::make_unique<DataSet>();
    d->header.count = static_cast<std::int16_t>(n);
    d->seriesCount = static_cast<int>(firsts.size());
    for (std::size_t s = 0; s < firsts.size(); ++s) {
        d->series[s].first = firsts[s];
        d->series[s].interval = static_cast<std::int16_t>(600 * (s + 1));
    }
    d->statisticsValid = true;
    return d;
}

TEST(DownloadStore, TheFirstSeriesBecomesTheRangeWithItsInterval) {
    auto d = Downloaded(300, {0, 120});
    d->currentSeries = 2;
    SelectFirstSeriesRange(*d);
    EXPECT_EQ(d->currentSeries, 1);
    EXPECT_EQ(d->rangeFirst, 0);
    EXPECT_EQ(d->rangeLast, 119);
    EXPECT_EQ(d->rangeCount, 120);
    EXPECT_EQ(d->rangeInterval, 600);
    EXPECT_EQ(d->recordCount, 300);
    EXPECT_TRUE(d->statisticsValid);
}

TEST(DownloadStore, AnEmptyFirstSeriesLeavesNoRangeToShow) {
    // Two series starting at the same record: the first holds nothing, the
    // same request every other chooser of a range refuses.
    auto d = Downloaded(300, {0, 0});
    SelectFirstSeriesRange(*d);
    EXPECT_EQ(d->rangeCount, 0);
    EXPECT_FALSE(d->statisticsValid);
    auto none = Downloaded(0, {});
    SelectFirstSeriesRange(*none);
    EXPECT_EQ(none->rangeCount, 0);
    EXPECT_FALSE(none->statisticsValid);
}

}  // namespace
}  // namespace corvan
