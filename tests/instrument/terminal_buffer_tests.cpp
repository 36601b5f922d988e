#include <gtest/gtest.h>

#include "instrument/terminal_buffer.h"

namespace corvan {
namespace {

void Receive(TerminalBuffer& t, const std::string& text) {
    for (char c : text) t.Receive(static_cast<std::uint8_t>(c));
}

TEST(TerminalBufferTest, StartsWithOneEmptyLine) {
    TerminalBuffer t;
    ASSERT_EQ(t.LineCount(), 1);
    EXPECT_EQ(t.Lines().back(), "");
    EXPECT_FALSE(t.Follow());
}

TEST(TerminalBufferTest, KeepsTheNewestHundredAndOneLines) {
    TerminalBuffer t;
    for (int i = 0; i < 101; ++i) Receive(t, "L" + std::to_string(i) + "\r");
    ASSERT_EQ(t.LineCount(), 101);
    EXPECT_EQ(t.Lines().front(), "L1");
    EXPECT_EQ(t.Lines()[99], "L100");
    EXPECT_EQ(t.Lines().back(), "");
    Receive(t, "\r");
    EXPECT_EQ(t.LineCount(), 101);
    EXPECT_EQ(t.Lines().front(), "L2");
}

TEST(TerminalBufferTest, ControlBytesBackspaceAndLineEnds) {
    TerminalBuffer t;
    EXPECT_FALSE(t.Receive(8));
    EXPECT_EQ(t.Lines().back(), "");
    EXPECT_TRUE(t.Follow());
    Receive(t,
            "AB\n\x01\x1b"
            "C");
    EXPECT_EQ(t.Lines().back(), "ABC");
    t.Receive(8);
    EXPECT_EQ(t.Lines().back(), "AB");
    EXPECT_TRUE(t.Receive(13));
    EXPECT_EQ(t.LineCount(), 2);
    // A backspace never reaches back into the previous line.
    t.Receive(8);
    EXPECT_EQ(t.Lines().front(), "AB");
    t.Receive(0xE9);
    EXPECT_EQ(t.Lines().back(), "\xE9");
}

TEST(TerminalBufferTest, EndOfTickReportsTextAfterTheLastLineEnd) {
    TerminalBuffer t;
    EXPECT_FALSE(t.EndOfTick());
    Receive(t, "OK\r");
    EXPECT_FALSE(t.EndOfTick());
    Receive(t, ">");
    EXPECT_TRUE(t.EndOfTick());
    EXPECT_FALSE(t.EndOfTick());
}

TEST(TerminalBufferTest, KeysAndPastedTextGoOutUpperCased) {
    EXPECT_EQ(KeyByte(8), 0x7F);
    EXPECT_EQ(KeyByte('a'), 'A');
    EXPECT_EQ(KeyByte('z'), 'Z');
    EXPECT_EQ(KeyByte('1'), '1');
    EXPECT_EQ(KeyByte(13), 13);
    EXPECT_EQ(KeyByte(0xE9), 0xE9);

    TerminalBuffer t;
    t.TypeAhead("abc");
    EXPECT_EQ(t.NextTypeAhead(), std::optional<std::uint8_t>(0x41));
    EXPECT_EQ(t.NextTypeAhead(), std::optional<std::uint8_t>(0x42));
    EXPECT_EQ(t.NextTypeAhead(), std::optional<std::uint8_t>(0x43));
    EXPECT_FALSE(t.NextTypeAhead().has_value());
}

TEST(TerminalBufferTest, EchoPrintsReceivedLinesWithAMarginWhileOn) {
    TerminalBuffer t;
    Receive(t, "before\r");
    t.SetEcho(true);
    Receive(t, "one\n\rtw");
    t.SetEcho(false);
    Receive(t, "after\r");
    const auto printed = t.TakePrintedLines();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], "          one");
    EXPECT_EQ(printed[1], "          tw");
    EXPECT_TRUE(t.TakePrintedLines().empty());
}

TEST(TerminalLayoutTest, FewLinesStartAtTheTopWithoutAScrollBar) {
    const TerminalLayout l = LayoutTerminal(3, 2 * 2 + 10 * 13, 13, 2, true, 0);
    EXPECT_EQ(l.visibleRows, 10);
    EXPECT_FALSE(l.scrollEnabled);
    EXPECT_EQ(l.firstLine, 0);
    EXPECT_EQ(l.linesDrawn, 3);
    EXPECT_TRUE(l.editVisible);
    EXPECT_EQ(l.editRow, 2);
}

TEST(TerminalLayoutTest, FollowingShowsTheNewestLinesAndLeavesTheBottomRowEmpty) {
    const TerminalLayout l = LayoutTerminal(50, 4 + 10 * 13 + 5, 13, 2, true, 0);
    EXPECT_TRUE(l.scrollEnabled);
    EXPECT_EQ(l.largeChange, 9);
    EXPECT_EQ(l.scrollMaximum, 41);
    EXPECT_EQ(l.position, 41);
    EXPECT_EQ(l.firstLine, 41);
    EXPECT_EQ(l.linesDrawn, 9);
    EXPECT_TRUE(l.editVisible);
    EXPECT_EQ(l.editRow, 8);
}

TEST(TerminalLayoutTest, ScrolledBackHidesTheInputBox) {
    const TerminalLayout l = LayoutTerminal(50, 4 + 10 * 13, 13, 2, false, 5);
    EXPECT_EQ(l.firstLine, 5);
    EXPECT_EQ(l.linesDrawn, 10);
    EXPECT_FALSE(l.editVisible);
    // A position past the end is held at the maximum.
    EXPECT_EQ(LayoutTerminal(50, 4 + 10 * 13, 13, 2, false, 99).position, 41);
}

}  // namespace
}  // namespace corvan
