#include <gtest/gtest.h>

#include <cmath>

#include "download_stream.h"
#include "instrument/download_protocol.h"

namespace corvan {
namespace {

using test::Append;
using test::Block;
using test::Bytes;

struct Fed {
    std::vector<LinkReply> replies;
};

// Feeds bytes one at a time and keeps every reply that is not None.
Fed Feed(DownloadProtocol& p, const Bytes& bytes) {
    Fed f;
    for (std::uint8_t b : bytes) {
        const LinkReply r = p.Feed(b);
        if (r != LinkReply::None) f.replies.push_back(r);
    }
    return f;
}

using R = LinkReply;

class ProtocolTest : public ::testing::Test {
protected:
    void SetUp() override { p.Start(); }
    // Start signal, count and header of a one-series download of n records.
    void Prelude(int n, int type = 0) {
        ASSERT_EQ(Feed(p, {0x05}).replies, std::vector<R>{R::Ack});
        ASSERT_EQ(Feed(p, test::CountBlock(n)).replies, std::vector<R>{R::Ack});
        ASSERT_EQ(Feed(p, test::WithChecksum(test::HeaderBlock(type, {{}}))).replies, std::vector<R>{R::Ack});
        ASSERT_EQ(p.Phase(), DownloadPhase::DataBlocks);
    }
    DownloadProtocol p;
};

TEST_F(ProtocolTest, GarbageBeforeTheStartAndBeforeTheCountMarkerIsIgnored) {
    EXPECT_TRUE(Feed(p, {0x00, 0x21, 0xFF, 0x06, 0x15, 0x31}).replies.empty());
    EXPECT_EQ(p.Phase(), DownloadPhase::WaitingForStart);
    EXPECT_EQ(Feed(p, {0x05}).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Phase(), DownloadPhase::CountBlock);
    // Stray bytes, a second ENQ included, while waiting for "!".
    EXPECT_TRUE(Feed(p, {0x05, 0x00, 0x7E, 0x20}).replies.empty());
    EXPECT_EQ(Feed(p, test::CountBlock(1000)).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Total(), 1000);
    EXPECT_EQ(p.Phase(), DownloadPhase::HeaderBlock);
}

TEST_F(ProtocolTest, CountChecksumIncludesTheChecksumByteButNotTheMarker) {
    Feed(p, {0x05});
    EXPECT_EQ(Feed(p, {0x21, 0x01, 0x00, 0xFF}).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Total(), 256);

    DownloadProtocol q;
    q.Start();
    Feed(q, {0x05});
    EXPECT_EQ(Feed(q, {0x21, 0x01, 0x00, 0xFE}).replies, std::vector<R>{R::Nak});
    EXPECT_EQ(q.Phase(), DownloadPhase::CountBlock);
    // The resent block comes without its marker.
    EXPECT_EQ(Feed(q, {0x01, 0x00, 0xFF}).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(q.Total(), 256);
}

TEST_F(ProtocolTest, OneBlockHoldsSixtyFourRecordsAndTheRestOfALastBlockIsIgnored) {
    Prelude(100);
    Block first{};
    for (std::size_t k = 0; k < 64; ++k) test::PutCurrentRecord(first, 4 * k, 100, 0, 0);
    EXPECT_EQ(Feed(p, test::WithChecksum(first)).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Received(), 64);
    EXPECT_EQ(ProgressText(p.Received(), p.Total()), "64 of 100");

    Block second{};
    second.fill(0xEE);
    for (std::size_t k = 0; k < 36; ++k) test::PutCurrentRecord(second, 4 * k, 200, 0, 0);
    EXPECT_EQ(Feed(p, test::WithChecksum(second)).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Phase(), DownloadPhase::Done);
    EXPECT_FALSE(p.Active());
    EXPECT_EQ(p.End(), DownloadEnd::Completed);
    EXPECT_EQ(p.Received(), 100);
    const auto& rec = p.Result().records;
    EXPECT_FLOAT_EQ(rec[63].speed, 20.0f);
    EXPECT_FLOAT_EQ(rec[64].speed, 40.0f);
    EXPECT_FLOAT_EQ(rec[99].speed, 40.0f);
    EXPECT_FLOAT_EQ(rec[100].speed, 0.0f);
    // Whatever comes after the end goes elsewhere.
    EXPECT_TRUE(Feed(p, {0x05, 0x21, 0x00}).replies.empty());
}

TEST_F(ProtocolTest, SixtyFourRecordsEndWithTheFirstBlock) {
    Prelude(64);
    EXPECT_EQ(Feed(p, test::WithChecksum(Block{})).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.Phase(), DownloadPhase::Done);
}

TEST_F(ProtocolTest, TemperatureLoggerBlocksHoldOneHundredTwentyEightRecords) {
    Prelude(129, 4);
    Block b{};
    b[0] = 0x88;  // raw 0x1388 = 5000: 0 deg C
    b[1] = 0x13;
    Feed(p, test::WithChecksum(b));
    EXPECT_EQ(p.Received(), 128);
    EXPECT_EQ(p.Phase(), DownloadPhase::DataBlocks);
    Feed(p, test::WithChecksum(Block{}));
    EXPECT_EQ(p.Received(), 129);
    EXPECT_EQ(p.Phase(), DownloadPhase::Done);
    EXPECT_FLOAT_EQ(p.Result().records[0].temperature, 0.0f);
    EXPECT_FLOAT_EQ(p.Result().records[128].temperature, -5.0f);
}

TEST_F(ProtocolTest, AnEmptyDownloadCompletesWithTheFirstDataBlock) {
    Prelude(0);
    EXPECT_EQ(Feed(p, test::WithChecksum(Block{})).replies, std::vector<R>{R::Ack});
    EXPECT_EQ(p.End(), DownloadEnd::Completed);
    EXPECT_EQ(p.Result().count, 0);
}

TEST_F(ProtocolTest, TypesWithoutReadableRecordsCompleteOnTheFirstDataBlock) {
    Prelude(500, 9);
    Block b{};
    b.fill(0x42);
    Feed(p, test::WithChecksum(b));
    EXPECT_EQ(p.End(), DownloadEnd::Completed);
    EXPECT_EQ(p.Received(), 500);
    EXPECT_FLOAT_EQ(p.Result().records[0].speed, 0.0f);
}

TEST_F(ProtocolTest, ABlockIsRejectedThreeTimesAndAbandonedAtTheFourth) {
    Prelude(64);
    const Bytes bad = test::WithChecksum(Block{}, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Feed(p, bad).replies, std::vector<R>{R::Nak}) << i;
    EXPECT_EQ(Feed(p, bad).replies, std::vector<R>{R::Esc});
    EXPECT_FALSE(p.Active());
    EXPECT_EQ(p.End(), DownloadEnd::Abandoned);
    EXPECT_FALSE(p.FailureText().empty());
    EXPECT_TRUE(Feed(p, test::WithChecksum(Block{})).replies.empty());
}

TEST_F(ProtocolTest, EveryAcceptedBlockStartsItsRejectionsAfresh) {
    Feed(p, {0x05});
    Bytes stream;
    Append(stream, test::CountBlock(64, 1));
    for (int i = 0; i < 2; ++i) Append(stream, {0x00, 0x40, 0xBF});  // sums to 0xFF
    Append(stream, test::CountBlockResent(64));
    const Block header = test::HeaderBlock(0, {{}});
    for (int i = 0; i < 3; ++i) Append(stream, test::WithChecksum(header, 7));
    Append(stream, test::WithChecksum(header));
    for (int i = 0; i < 3; ++i) Append(stream, test::WithChecksum(Block{}, 1));
    Append(stream, test::WithChecksum(Block{}));
    const Fed f = Feed(p, stream);
    const std::vector<R> expected{R::Nak, R::Nak, R::Nak, R::Ack, R::Nak, R::Nak,
                                  R::Nak, R::Ack, R::Nak, R::Nak, R::Nak, R::Ack};
    EXPECT_EQ(f.replies, expected);
    EXPECT_EQ(p.End(), DownloadEnd::Completed);
}

TEST_F(ProtocolTest, ACountBeyondWhatAFileHoldsIsRefused) {
    for (int n : {32768, 40000, 65535}) {
        DownloadProtocol q;
        q.Start();
        Feed(q, {0x05});
        EXPECT_EQ(Feed(q, test::CountBlock(n)).replies, std::vector<R>{R::Esc}) << n;
        EXPECT_EQ(q.End(), DownloadEnd::CountRefused);
        EXPECT_NE(q.FailureText().find(std::to_string(n)), std::string::npos);
        EXPECT_FALSE(q.Active());
    }
    Feed(p, {0x05});
    EXPECT_EQ(Feed(p, test::CountBlock(32767)).replies, std::vector<R>{R::Ack});
}

TEST_F(ProtocolTest, CancelEndsTheDownloadWithEsc) {
    Feed(p, {0x05});
    EXPECT_EQ(p.Cancel(), R::Esc);
    EXPECT_EQ(p.End(), DownloadEnd::Cancelled);
    EXPECT_TRUE(Feed(p, test::CountBlock(5)).replies.empty());
    EXPECT_EQ(p.Cancel(), R::None);
}

TEST_F(ProtocolTest, StartForgetsThePreviousDownload) {
    Prelude(64);
    Feed(p, test::WithChecksum(Block{}, 1));
    p.Start();
    EXPECT_EQ(p.Retries(), 0);
    EXPECT_EQ(p.Phase(), DownloadPhase::WaitingForStart);
    EXPECT_EQ(p.End(), DownloadEnd::Running);
    EXPECT_EQ(p.Total(), 0);
}

TEST_F(ProtocolTest, HeaderFieldsReachTheResult) {
    Feed(p, {0x05});
    Feed(p, test::CountBlock(300));
    test::SeriesEntry a;
    a.first = 0;
    test::SeriesEntry b;
    b.first = 200;
    b.intervalMinutes = 30;
    b.minute = 0x75;
    Feed(p, test::WithChecksum(test::HeaderBlock(3, {a, b}, 2, 0xBEEF)));
    const DownloadedSeries& r = p.Result();
    EXPECT_EQ(r.referenceNumber, 0xBEEF);
    EXPECT_EQ(r.instrumentType, 3);
    EXPECT_EQ(r.sensorKind, 2);
    EXPECT_EQ(r.seriesCount, 2);
    EXPECT_EQ(r.series[1].first, 200);
    EXPECT_EQ(r.series[1].interval, 1800);
    EXPECT_EQ(r.series[1].minute, 0);
    EXPECT_FLOAT_EQ(r.sensorCoefficient, 1.0f);
    EXPECT_EQ(r.count, 300);
}

}  // namespace
}  // namespace corvan
