#pragma once
// The range dialog's arithmetic: the series items, the proposal, the three
// spin values with their limits and how each one drags the others.

#include <string>

#include "data/data_set.h"

namespace corvan {

struct SpinValue {
    int value = 0;
    int minimum = 0;
    int maximum = 0;
    void Set(int v) { value = v < minimum ? minimum : (v > maximum ? maximum : v); }
    void SetLimits(int lo, int hi) {
        minimum = lo;
        maximum = hi;
        Set(value);
    }
};

// Item text of series s: fields separated by vertical tabs (right-aligned
// columns) and tabs (left-aligned), drawn by DrawTabbed.
std::string SeriesItemText(const DataSet& data, int s);

class RangeSelection {
public:
    explicit RangeSelection(DataSet& data) : data_(data) {}

    // What the dialog shows when it opens.
    void Show();
    // The user picked series s (1-based) in the combo box.
    void SelectSeries(int s);
    void FirstChanged(int value);
    void LastChanged(int value);
    void LastKeyPressed() { typing_ = true; }
    // Leaving SpinLast or clicking its arrows ends the typing.
    void LastTypingEnded();
    void CountChanged(int value);
    // Writes the range into the data set; when the spins hold a range the
    // series cannot give, returns why and writes nothing.
    std::string Accept();

    int Series() const { return series_; }
    const SpinValue& First() const { return first_; }
    const SpinValue& Last() const { return last_; }
    const SpinValue& Count() const { return count_; }
    bool Typing() const { return typing_; }

private:
    void ApplyLastRule();

    DataSet& data_;
    int series_ = 1;
    SpinValue first_{1, 1, 100};
    SpinValue last_{100, 1, 100};
    SpinValue count_{99, 0, 100};
    bool typing_ = false;
};

}  // namespace corvan
