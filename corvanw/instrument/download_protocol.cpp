#include "instrument/download_protocol.h"

#include <algorithm>

namespace corvan {

namespace {
constexpr const char* kProgressSeparator = " of ";
constexpr const char* kAbandonedText = "Download abandoned: a block failed its checksum four times.";
constexpr const char* kCountRefusedText = "Download abandoned: the instrument reports ";
constexpr const char* kCountRefusedTail = " measurements; a file holds at most 32767.";
constexpr const char* kCancelledText = "Download cancelled.";
}  // namespace

std::uint8_t ReplyByte(LinkReply reply) {
    switch (reply) {
        case LinkReply::Ack:
            return kAck;
        case LinkReply::Nak:
            return kNak;
        case LinkReply::Esc:
            return kEsc;
        case LinkReply::None:
            break;
    }
    return 0;
}

std::string ProgressText(int received, int total) {
    return std::to_string(received) + kProgressSeparator + std::to_string(total);
}

DownloadProtocol::DownloadProtocol() { result_.records.resize(kMaxRecords); }

void DownloadProtocol::Start() {
    active_ = true;
    phase_ = DownloadPhase::WaitingForStart;
    end_ = DownloadEnd::Running;
    checksum_ = 0;
    retries_ = 0;
    position_ = 0;
    received_ = 0;
    total_ = 0;
    failure_.clear();
    auto records = std::move(result_.records);
    result_ = DownloadedSeries{};
    result_.records = std::move(records);
}

LinkReply DownloadProtocol::Accept() {
    checksum_ = 0;
    position_ = -1;
    retries_ = 0;
    return LinkReply::Ack;
}

LinkReply DownloadProtocol::Reject() {
    if (retries_ >= kMaxBlockRetries) return Abandon(DownloadEnd::Abandoned, kAbandonedText);
    ++retries_;
    position_ = -1;
    checksum_ = 0;
    return LinkReply::Nak;
}

LinkReply DownloadProtocol::Abandon(DownloadEnd end, std::string text) {
    active_ = false;
    end_ = end;
    failure_ = std::move(text);
    return LinkReply::Esc;
}

LinkReply DownloadProtocol::Cancel() {
    if (end_ != DownloadEnd::Running) return LinkReply::None;
    return Abandon(DownloadEnd::Cancelled, kCancelledText);
}

LinkReply DownloadProtocol::Feed(std::uint8_t byte) {
    if (!active_) return LinkReply::None;
    checksum_ = static_cast<std::uint8_t>(checksum_ + byte);
    ++position_;
    switch (phase_) {
        case DownloadPhase::WaitingForStart:
            if (byte != kEnq) {
                position_ = 0;  // garbage before the start signal can go on for ever
                return LinkReply::None;
            }
            phase_ = DownloadPhase::CountBlock;
            Accept();
            position_ = -2;
            return LinkReply::Ack;
        case DownloadPhase::CountBlock:
            return CountBlockByte(byte);
        case DownloadPhase::HeaderBlock:
            return HeaderBlockByte(byte);
        case DownloadPhase::DataBlocks:
            return DataBlockByte(byte);
        case DownloadPhase::Done:
            break;
    }
    return LinkReply::None;
}

LinkReply DownloadProtocol::CountBlockByte(std::uint8_t byte) {
    switch (position_) {
        case -1:
            if (byte == kCountMarker) {
                checksum_ = 0;
            } else {
                position_ = -2;
            }
            return LinkReply::None;
        case 0:
            total_ = byte * 256;
            return LinkReply::None;
        case 1:
            total_ += byte;
            return LinkReply::None;
        case 2:
            if (checksum_ != 0) return Reject();
            if (total_ > kMaxRecords) {
                return Abandon(DownloadEnd::CountRefused,
                               kCountRefusedText + std::to_string(total_) + kCountRefusedTail);
            }
            phase_ = DownloadPhase::HeaderBlock;
            return Accept();
        default:
            return LinkReply::None;
    }
}

LinkReply DownloadProtocol::HeaderBlockByte(std::uint8_t byte) {
    if (position_ < static_cast<std::int32_t>(kBlockSize)) {
        block_[static_cast<std::size_t>(position_)] = byte;
        return LinkReply::None;
    }
    if (checksum_ != 0) return Reject();
    const HeaderBlock h = ParseHeaderBlock(Block(), total_);
    result_.referenceNumber = h.referenceNumber;
    result_.instrumentType = h.instrumentType;
    result_.sensorKind = h.sensorKind;
    result_.sensorCoefficient = h.sensorCoefficient;
    result_.count = total_;
    result_.series = h.series;
    result_.seriesCount = h.seriesCount;
    // Types whose blocks carry nothing readable leave their records as zeros.
    std::fill_n(result_.records.begin(), total_, MeasurementRecord{});
    decoder_ = RecordDecoder{h.instrumentType, h.sensorKind, h.sensorCoefficient};
    received_ = 0;
    phase_ = DownloadPhase::DataBlocks;
    return Accept();
}

LinkReply DownloadProtocol::DataBlockByte(std::uint8_t byte) {
    if (position_ < static_cast<std::int32_t>(kBlockSize)) {
        block_[static_cast<std::size_t>(position_)] = byte;
        return LinkReply::None;
    }
    if (checksum_ != 0) return Reject();
    received_ = decoder_.DecodeBlock(Block(), received_, total_, result_.records.data());
    if (received_ >= total_) {
        phase_ = DownloadPhase::Done;
        active_ = false;
        end_ = DownloadEnd::Completed;
        if (result_.instrumentType == 3) {
            FillType3Gaps(std::span<MeasurementRecord>(result_.records.data(), static_cast<std::size_t>(total_)),
                          result_.series, result_.seriesCount);
        }
    }
    return Accept();
}

}  // namespace corvan
