#pragma once
// Tab-separated text in owner-drawn lists: a tab draws the text before it
// left-aligned at the current stop and moves on; a vertical tab moves on
// first and draws right-aligned so the text ends at that stop.

#include <QPainter>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

namespace corvan {

class TTabList {
public:
    static constexpr int kTabCount = 100;

    void SetTab(int index, int position) {
        if (index >= 0 && index < kTabCount)
            tabs_[static_cast<std::size_t>(index)] = static_cast<std::int16_t>(position);
    }
    int Tab(int index) const { return (index >= 0 && index < kTabCount) ? tabs_[static_cast<std::size_t>(index)] : 0; }

    // Fills the rectangle with the painter's brush and draws the text at its top.
    void DrawTabbed(QPainter& painter, const QRect& rect, const QString& text) const;

private:
    std::array<std::int16_t, kTabCount> tabs_{};
};

}  // namespace corvan
