#include "instrument/terminal_buffer.h"

#include <algorithm>

namespace corvan {

namespace {
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kDelete = 0x7F;
}  // namespace

std::uint8_t KeyByte(std::uint8_t key) {
    if (key == kBackspace) return kDelete;
    if (key >= 'a' && key <= 'z') return static_cast<std::uint8_t>(key - 'a' + 'A');
    return key;
}

TerminalBuffer::TerminalBuffer() { lines_.emplace_back(); }

bool TerminalBuffer::Receive(std::uint8_t byte) {
    follow_ = true;
    if (echo_) {
        if (byte == kCarriageReturn) {
            printed_.push_back(std::string(kPrintMargin, ' ') + printLine_);
            printLine_.clear();
        } else if (byte >= 32) {
            printLine_ += static_cast<char>(byte);
        }
    }
    if (byte == kBackspace) {
        if (!lines_.back().empty()) lines_.back().pop_back();
        arrivedSinceReturn_ = true;
        return false;
    }
    if (byte == kCarriageReturn) {
        if (static_cast<int>(lines_.size()) >= kMaxLines) lines_.pop_front();
        lines_.emplace_back();
        arrivedSinceReturn_ = false;
        return true;
    }
    if (byte >= 32) {
        lines_.back() += static_cast<char>(byte);
        arrivedSinceReturn_ = true;
    }
    return false;
}

bool TerminalBuffer::EndOfTick() {
    const bool pending = arrivedSinceReturn_;
    arrivedSinceReturn_ = false;
    return pending;
}

std::optional<std::uint8_t> TerminalBuffer::NextTypeAhead() {
    if (typeAhead_.empty()) return std::nullopt;
    const auto c = static_cast<std::uint8_t>(typeAhead_.front());
    typeAhead_.erase(typeAhead_.begin());
    return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

void TerminalBuffer::SetEcho(bool on) {
    if (on == echo_) return;
    echo_ = on;
    if (!on && !printLine_.empty()) {
        printed_.push_back(std::string(kPrintMargin, ' ') + printLine_);
    }
    printLine_.clear();
}

std::vector<std::string> TerminalBuffer::TakePrintedLines() {
    std::vector<std::string> out;
    out.swap(printed_);
    return out;
}

TerminalLayout LayoutTerminal(int lineCount, int boxHeight, int lineHeight, int margin, bool follow,
                              int scrollPosition) {
    TerminalLayout l;
    l.visibleRows = lineHeight > 0 ? std::max(0, (boxHeight - 2 * margin) / lineHeight) : 0;
    const int v = l.visibleRows;
    if (v < lineCount) {
        l.scrollEnabled = true;
        l.largeChange = std::max(1, v - 1);
        l.scrollMaximum = lineCount - v + 1;
        l.position = follow ? l.scrollMaximum : std::clamp(scrollPosition, 0, l.scrollMaximum);
        l.firstLine = l.position;
    }
    l.linesDrawn = std::max(0, std::min(lineCount - l.firstLine, v));
    const int lastDrawn = l.firstLine + l.linesDrawn - 1;
    l.editVisible = l.linesDrawn > 0 && lastDrawn == lineCount - 1;
    l.editRow = std::max(0, l.linesDrawn - 1);
    return l;
}

}  // namespace corvan
