// Framing, sizes and plausibility of records, and the BCD time stamp.

#include <gtest/gtest.h>

#include <vector>

#include "record_format.h"

namespace tarsen {
namespace {

TEST(RecordChecksum, SumsSignedWordsModuloFrom0xB58C) {
    // 0xB58C + 0x00A5 + 0x0100 = 0xB731.
    const std::uint8_t record[] = {0xA5, 0x00, 0x00, 0x01, 0x31, 0xB7};
    EXPECT_EQ(RecordChecksum(record, 2), 0xB731);
    EXPECT_TRUE(ChecksumMatches(record, sizeof record));
    // Negative words wrap: 0xB58C + 0xFFFF + 0x8000 = 0x3588B -> 0x358B.
    const std::uint8_t wrapping[] = {0xFF, 0xFF, 0x00, 0x80};
    EXPECT_EQ(RecordChecksum(wrapping, 2), 0x358B);
    const std::uint8_t broken[] = {0xA5, 0x00, 0x00, 0x01, 0x32, 0xB7};
    EXPECT_FALSE(ChecksumMatches(broken, sizeof broken));
}

TEST(RecordSize, FollowsTheTableAndRoundsOddLengthsUp) {
    EXPECT_EQ(RecordSize(0, 3, 20), 512);
    EXPECT_EQ(RecordSize(1, 3, 20), 41 + 1);
    EXPECT_EQ(RecordSize(33, 3, 20), 3 * 3 * 20 + 32);
    EXPECT_EQ(RecordSize(32, 3, 1), 130);  // 129 rounded up
    EXPECT_EQ(RecordSize(36, 4, 128), 3 * 4 * 128 + 120);
    EXPECT_EQ(RecordSize(42, 3, 5), 4 * 15 + 56);
    EXPECT_EQ(RecordSize(7, 3, 5), 26);   // 25 rounded up
    EXPECT_EQ(RecordSize(66, 1, 7), 42);  // 41 rounded up
    EXPECT_EQ(RecordSize(81, 2, 3), 30);
    EXPECT_EQ(RecordSize(253, 3, 20), 48);
    EXPECT_EQ(RecordSize(99, 3, 20), 0);
    EXPECT_EQ(RecordSize(3, 3, 20), 6148);
}

TEST(RecordSize, BeamsAndCellsFromLength) {
    EXPECT_EQ(BeamsFromLength(1, 3 * 3 + 32), 3);
    EXPECT_EQ(BeamsFromLength(16, 4 * 2 + 12), 2);
    EXPECT_EQ(BeamsFromLength(33, 1832), 3);
    EXPECT_EQ(BeamsFromLength(81, 100), 0);
    EXPECT_EQ(CellsFromLength(33, 1832, 3), 200);
    EXPECT_EQ(CellsFromLength(32, 3 * 3 * 40 + 120, 3), 40);
    EXPECT_EQ(CellsFromLength(42, 4 * 3 * 24 + 56, 3), 24);
    EXPECT_EQ(CellsFromLength(66, 50, 1), 16);
    EXPECT_EQ(CellsFromLength(1, 41, 3), 1);
    EXPECT_EQ(CellsFromLength(33, 200, 0), 0);  // no beams learnt: no division by zero
}

TEST(RecordValidator, ConfiguredStreamAcceptsOnlyTheConfiguredLengths) {
    RecordValidator v(3, 20, true);
    EXPECT_TRUE(v.Check(33, (3 * 3 * 20 + 32) / 2).valid);
    EXPECT_FALSE(v.Check(33, (3 * 3 * 20 + 32) / 2 + 1).valid);
    EXPECT_TRUE(v.Check(36, (3 * 3 * 20 + 120) / 2).valid);
    EXPECT_TRUE(v.Check(42, (4 * 3 * 20 + 56) / 2).valid);
    EXPECT_TRUE(v.Check(1, 42 / 2).valid);
    EXPECT_FALSE(v.Check(1, 44 / 2).valid);
    // Without side effects once configured.
    v.Check(33, 916);
    EXPECT_EQ(v.Beams(), 3);
    EXPECT_EQ(v.Cells(), 20);
}

TEST(RecordValidator, FixedAndFreeLengths) {
    RecordValidator v(3, 20, true);
    EXPECT_TRUE(v.Check(0, 256).valid);
    EXPECT_FALSE(v.Check(0, 255).valid);
    EXPECT_TRUE(v.Check(2, 8).valid);
    EXPECT_TRUE(v.Check(2, 16).valid);
    EXPECT_FALSE(v.Check(2, 12).valid);
    EXPECT_TRUE(v.Check(4, 112).valid);
    EXPECT_TRUE(v.Check(5, 24).valid);
    EXPECT_TRUE(v.Check(7, 1234).valid);
    EXPECT_TRUE(v.Check(65, 3).valid);
    EXPECT_TRUE(v.Check(49, 30).valid);
    EXPECT_FALSE(v.Check(49, 31).valid);
    // Size word ignored: the length follows from the id.
    const RecordCheck sixteen = v.Check(16, 9999);
    EXPECT_TRUE(sixteen.valid);
    EXPECT_EQ(sixteen.length, 4 * 3 + 12);
    EXPECT_EQ(v.Check(54, 0).length, 24);
    // Never plausible.
    EXPECT_FALSE(v.Check(3, 6148 / 2).valid);
    EXPECT_FALSE(v.Check(53, 103).valid);
    EXPECT_FALSE(v.Check(129, 24).valid);
    EXPECT_FALSE(v.Check(253, 24).valid);
    EXPECT_FALSE(v.Check(7, 0).valid);
    EXPECT_FALSE(v.Check(7, 1).valid);
}

TEST(RecordValidator, UnconfiguredStreamLearnsItsGeometry) {
    RecordValidator v(3, 1, false);
    EXPECT_TRUE(v.Check(33, 1832 / 2).valid);
    EXPECT_EQ(v.Beams(), 3);
    EXPECT_EQ(v.Cells(), 200);
    EXPECT_TRUE(v.Check(32, (3 * 3 * 10 + 120) / 2).valid);
    EXPECT_EQ(v.Beams(), 3);
    EXPECT_EQ(v.Cells(), 10);
    EXPECT_TRUE(v.Check(1, (3 * 4 + 32) / 2).valid);
    EXPECT_EQ(v.Beams(), 4);
    EXPECT_EQ(v.Cells(), 10);
    EXPECT_TRUE(v.Check(9, 0).valid);
    EXPECT_EQ(v.Beams(), 2);
    EXPECT_TRUE(v.Check(35, (3 * 12 + 32) / 2).valid);
    EXPECT_EQ(v.Beams(), 1);
    EXPECT_EQ(v.Cells(), 12);
    // A stream that learnt nonsense refuses lengths it cannot frame.
    EXPECT_FALSE(v.Check(1, 1).valid);
    EXPECT_TRUE(v.Check(1, 8).valid);  // 16 bytes: (16 - 32) / 3 beams
    EXPECT_LT(v.Beams(), 0);
    EXPECT_FALSE(v.Check(16, 0).valid);
}

TEST(Bcd, DecodesDigitsAndCapsAt99) {
    EXPECT_EQ(DecodeBcd(0x00), 0);
    EXPECT_EQ(DecodeBcd(0x59), 59);
    EXPECT_EQ(DecodeBcd(0x98), 98);
    EXPECT_EQ(DecodeBcd(0x99), 99);
    EXPECT_EQ(DecodeBcd(0xA0), 99);
    EXPECT_EQ(DecodeBcd(0xFF), 99);
    EXPECT_EQ(BcdYear(0x89), 2089);
    EXPECT_EQ(BcdYear(0x90), 1990);
    EXPECT_EQ(BcdYear(0x24), 2024);
}

TEST(Bcd, RecordTimeAndTheZeroTimeOfImpossibleDates) {
    std::vector<std::uint8_t> r(32, 0);
    // minute, second, day, hour, year, month
    const std::uint8_t stamp[] = {0x45, 0x30, 0x29, 0x23, 0x24, 0x02};
    std::copy(std::begin(stamp), std::end(stamp), r.begin() + 4);
    const corvan::CivilTime c = RecordTime(r.data()).ToCivil();
    EXPECT_EQ(c.year, 2024);
    EXPECT_EQ(c.month, 2);
    EXPECT_EQ(c.day, 29);
    EXPECT_EQ(c.hour, 23);
    EXPECT_EQ(c.minute, 45);
    EXPECT_EQ(c.second, 30);

    r[4 + 5] = 0x13;  // month 13
    EXPECT_EQ(RecordTime(r.data()), corvan::DateTime());
    r[4 + 5] = 0x02;
    r[4 + 4] = 0x23;  // 29 February 2023
    EXPECT_EQ(RecordTime(r.data()), corvan::DateTime());
    r[4 + 4] = 0x24;
    r[4 + 3] = 0x24;  // hour 24
    EXPECT_EQ(RecordTime(r.data()), corvan::DateTime());
}

}  // namespace
}  // namespace tarsen
