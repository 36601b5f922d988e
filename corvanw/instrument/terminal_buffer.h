#pragma once
// The instrument terminal without its window: the received lines, the
// characters typed ahead, the follow flag, the printer echo, and where the
// painted lines and the input box go.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// The byte a key sends: backspace as DEL (0x7F), a-z upper-cased, anything
// else as it is (Enter is a carriage return).
std::uint8_t KeyByte(std::uint8_t key);

class TerminalBuffer {
public:
    static constexpr int kMaxLines = 101;
    // Width of the left margin on the printed page, in spaces.
    static constexpr int kPrintMargin = 10;

    TerminalBuffer();

    // One received byte. Returns true when it ended a line: the view then
    // scrolls to the end and schedules a repaint.
    bool Receive(std::uint8_t byte);
    // After the tick's last byte: true when text arrived since the last
    // carriage return, so the view scrolls to the end and repaints at once.
    bool EndOfTick();

    const std::deque<std::string>& Lines() const { return lines_; }
    int LineCount() const { return static_cast<int>(lines_.size()); }

    bool Follow() const { return follow_; }
    void SetFollow(bool follow) { follow_ = follow; }

    // Pasted text waits here and goes out one character per tick.
    void TypeAhead(std::string_view text) { typeAhead_.append(text); }
    std::optional<std::uint8_t> NextTypeAhead();
    const std::string& PendingTypeAhead() const { return typeAhead_; }

    // The "&Print" button: while on, received lines are collected for the
    // printer, each starting with the margin.
    bool Echo() const { return echo_; }
    void SetEcho(bool on);
    // Completed printed lines since the last call.
    std::vector<std::string> TakePrintedLines();

private:
    std::deque<std::string> lines_;
    std::string typeAhead_;
    bool follow_ = false;
    bool arrivedSinceReturn_ = false;
    bool echo_ = false;
    std::string printLine_;
    std::vector<std::string> printed_;
};

// Where the terminal's lines are painted in a box of the given height.
struct TerminalLayout {
    int visibleRows = 0;
    bool scrollEnabled = false;
    int scrollMaximum = 0;
    int largeChange = 1;
    int position = 0;
    int firstLine = 0;
    int linesDrawn = 0;
    // The input box sits at the end of the last drawn line, and only when
    // that is the newest line.
    int editRow = 0;
    bool editVisible = false;
};

TerminalLayout LayoutTerminal(int lineCount, int boxHeight, int lineHeight, int margin, bool follow,
                              int scrollPosition);

}  // namespace corvan
