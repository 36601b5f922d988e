#pragma once
// The program's side of the instrument's download dialogue, as a machine fed
// one received byte at a time. It never touches a link: every call returns
// the byte to send (if any), so the desktop, the command line and the tests
// drive it alike. The records it decodes stay inside it until the caller
// stores them, so an abandoned download leaves nothing behind.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "instrument/download_blocks.h"

namespace corvan {

inline constexpr std::uint8_t kStartRequest = 0x31;  // "1"
inline constexpr std::uint8_t kEnq = 0x05;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kEsc = 0x1B;
inline constexpr std::uint8_t kCountMarker = 0x21;  // "!"

// Rejections of one block before the download is abandoned.
inline constexpr int kMaxBlockRetries = 3;

enum class LinkReply : std::uint8_t { None, Ack, Nak, Esc };

std::uint8_t ReplyByte(LinkReply reply);

enum class DownloadPhase : std::uint8_t {
    WaitingForStart = 0,
    CountBlock = 1,
    HeaderBlock = 2,
    DataBlocks = 3,
    Done = 4,
};

enum class DownloadEnd : std::uint8_t {
    Running,
    Completed,
    // A block failed its checksum once more than allowed.
    Abandoned,
    // The instrument announced more records than a file can hold.
    CountRefused,
    Cancelled,
};

// What a finished download holds, ready to become the data set.
struct DownloadedSeries {
    std::int32_t referenceNumber = 0;
    std::uint8_t instrumentType = 0;
    std::uint8_t sensorKind = 0;
    float sensorCoefficient = 1.0f;
    int count = 0;
    std::array<SeriesHeader, kMaxSeries> series{};
    int seriesCount = 0;
    // kMaxRecords entries, allocated once; the first `count` are the download.
    std::vector<MeasurementRecord> records;
};

class DownloadProtocol {
public:
    DownloadProtocol();

    // Resets everything and becomes active; the caller sends kStartRequest.
    void Start();
    // One received byte; returns what to send. When the last data block is
    // accepted, Phase() is Done and the returned Ack is the final one, which
    // the caller sends after storing the result.
    LinkReply Feed(std::uint8_t byte);
    // The user gave up; the caller sends the returned Esc.
    LinkReply Cancel();

    bool Active() const { return active_; }
    DownloadPhase Phase() const { return phase_; }
    DownloadEnd End() const { return end_; }
    int Received() const { return received_; }
    int Total() const { return total_; }
    int Retries() const { return retries_; }
    // Why the download ended when it did not complete; empty otherwise.
    const std::string& FailureText() const { return failure_; }
    const DownloadedSeries& Result() const { return result_; }

private:
    LinkReply Accept();
    LinkReply Reject();
    LinkReply Abandon(DownloadEnd end, std::string text);
    LinkReply CountBlockByte(std::uint8_t byte);
    LinkReply HeaderBlockByte(std::uint8_t byte);
    LinkReply DataBlockByte(std::uint8_t byte);
    std::span<const std::uint8_t, kBlockSize> Block() const {
        return std::span<const std::uint8_t, kBlockSize>(block_);
    }

    bool active_ = false;
    DownloadPhase phase_ = DownloadPhase::WaitingForStart;
    DownloadEnd end_ = DownloadEnd::Running;
    std::uint8_t checksum_ = 0;
    int retries_ = 0;
    std::int32_t position_ = 0;
    int received_ = 0;
    int total_ = 0;
    std::array<std::uint8_t, kBlockSize> block_{};
    RecordDecoder decoder_;
    DownloadedSeries result_;
    std::string failure_;
};

// "64 of 1000": the progress line of the dialog and the command line.
std::string ProgressText(int received, int total);

}  // namespace corvan
