// The significant maximum and minimum against the insertion list they are
// defined by, on inputs that make the list work hardest.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphs/statistics.h"

namespace corvan {
namespace {

int ValidCount(const std::vector<float>& speeds) {
    return static_cast<int>(std::count_if(speeds.begin(), speeds.end(), [](float v) { return v > -999.0f; }));
}

float ListMaximum(const std::vector<float>& speeds, int validCount) {
    const std::size_t k = static_cast<std::size_t>(validCount / 3);
    if (k == 0) return 0.0f;
    std::vector<float> list;  // descending
    for (float v : speeds) {
        const float last = list.size() < k ? -1e30f : list.back();
        if (!(v > last)) continue;
        std::size_t pos = 0;
        while (pos < list.size() && !(list[pos] < v)) ++pos;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), v);
        if (list.size() > k) list.pop_back();
    }
    double sum = 0.0;
    for (float x : list) sum += x;
    return static_cast<float>(sum / static_cast<double>(k));
}

float ListMinimum(const std::vector<float>& speeds, int validCount) {
    const std::size_t k = static_cast<std::size_t>(validCount / 3);
    if (k == 0) return 0.0f;
    std::vector<float> list;  // ascending
    for (float v : speeds) {
        if (!(v > -999.0f)) continue;
        const float last = list.size() < k ? 1e30f : list.back();
        if (!(v < last)) continue;
        std::size_t pos = 0;
        while (pos < list.size() && !(list[pos] > v)) ++pos;  // after equal ones
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), v);
        if (list.size() > k) list.pop_back();
    }
    double sum = 0.0;
    for (float x : list) sum += x;
    return static_cast<float>(sum / static_cast<double>(k));
}

void ExpectSameAsList(const std::vector<float>& speeds, const char* what) {
    const int valid = ValidCount(speeds);
    EXPECT_EQ(SignificantMaximum(speeds.data(), speeds.size(), valid), ListMaximum(speeds, valid)) << what;
    EXPECT_EQ(SignificantMinimum(speeds.data(), speeds.size(), valid), ListMinimum(speeds, valid)) << what;
}

TEST(SignificantSpeeds, MatchTheInsertionListOnRandomInput) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> speed(0.0f, 250.0f);
    std::uniform_int_distribution<int> pick(0, 9);
    for (int n : {3, 5, 7, 100, 3001, 10000}) {
        std::vector<float> v;
        for (int i = 0; i < n; ++i) {
            const int p = pick(rng);
            if (p == 0) {
                v.push_back(-999.0f);
            } else if (p == 1) {
                v.push_back(static_cast<float>(pick(rng)));  // many ties
            } else {
                v.push_back(speed(rng));
            }
        }
        ExpectSameAsList(v, "random");
    }
}

TEST(SignificantSpeeds, MatchTheInsertionListOnSortedAndFlatInput) {
    std::vector<float> up;
    for (int i = 0; i < 6000; ++i) up.push_back(0.01f * static_cast<float>(i));
    ExpectSameAsList(up, "ascending");
    std::vector<float> down(up.rbegin(), up.rend());
    ExpectSameAsList(down, "descending");
    ExpectSameAsList(std::vector<float>(901, 12.5f), "flat");
    std::vector<float> withInvalidHead(2000, -999.0f);
    withInvalidHead.insert(withInvalidHead.end(), up.begin(), up.begin() + 3000);
    ExpectSameAsList(withInvalidHead, "invalid first");
}

TEST(SignificantSpeeds, SmallCountsAndTheWorkedExample) {
    const std::vector<float> six = {1, 2, 3, 4, 5, 6};
    EXPECT_FLOAT_EQ(SignificantMaximum(six.data(), six.size(), 6), 5.5f);
    EXPECT_FLOAT_EQ(SignificantMinimum(six.data(), six.size(), 6), 1.5f);
    const std::vector<float> two = {1, 2};
    EXPECT_EQ(SignificantMaximum(two.data(), two.size(), 2), 0.0f);
    EXPECT_EQ(SignificantMinimum(two.data(), two.size(), 2), 0.0f);
    // Five valid speeds and an invalid one: K = 1.
    const std::vector<float> five = {-999.0f, 4, 9, 1, 7, 3};
    EXPECT_EQ(SignificantMaximum(five.data(), five.size(), 5), 9.0f);
    EXPECT_EQ(SignificantMinimum(five.data(), five.size(), 5), 1.0f);
    // A count above the valid speeds lets invalid ones into the maximum list
    // only, as the lists would.
    const std::vector<float> sparse = {-999.0f, 5.0f, -1e31f, -999.0f};
    EXPECT_EQ(SignificantMaximum(sparse.data(), sparse.size(), 9), ListMaximum(sparse, 9));
    EXPECT_EQ(SignificantMinimum(sparse.data(), sparse.size(), 9), ListMinimum(sparse, 9));
    EXPECT_FLOAT_EQ(SignificantMinimum(sparse.data(), sparse.size(), 9), 5.0f / 3.0f);
}

}  // namespace
}  // namespace corvan
