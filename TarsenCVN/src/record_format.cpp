#include "record_format.h"

namespace tarsen {

std::uint16_t RecordChecksum(const std::uint8_t* record, std::size_t words) {
    // Low and high bytes summed apart: the carries of the low bytes land in
    // the high byte exactly as word-wise addition modulo 65536 puts them.
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    for (std::size_t i = 0; i < words; ++i) {
        low += record[2 * i];
        high += record[2 * i + 1];
    }
    return static_cast<std::uint16_t>(kChecksumSeed + low + (high << 8));
}

bool ChecksumMatches(const std::uint8_t* record, std::size_t length) {
    const std::size_t words = length / 2;
    if (words == 0) return false;
    const auto last = static_cast<std::uint16_t>(record[2 * (words - 1)] | (record[2 * (words - 1) + 1] << 8));
    return RecordChecksum(record, words - 1) == last;
}

std::int64_t RecordSize(int id, std::int64_t b, std::int64_t c) {
    std::int64_t size = 0;
    switch (id) {
        case 0:
            size = 512;
            break;
        case 1:
        case 128:
            size = 3 * b + 32;
            break;
        case 2:
            size = 32;
            break;
        case 3:
            size = 6148;
            break;
        case 4:
            size = 224;
            break;
        case 5:
        case 253:
            size = 48;
            break;
        case 6:
            size = 36;
            break;
        case 7:
            size = b * c + 10;
            break;
        case 8:
            size = 16;
            break;
        case 9:
            size = 20;
            break;
        case 16:
            size = 4 * b + 12;
            break;
        case 17:
            size = 28;
            break;
        case 18:
        case 80:
            size = 42;
            break;
        case 32:
        case 36:
            size = 3 * b * c + 120;
            break;
        case 33:
        case 40:
            size = 3 * b * c + 32;
            break;
        case 34:
            size = 6 * c + 32;
            break;
        case 35:
            size = 3 * c + 32;
            break;
        case 37:
            size = 6 * c + 120;
            break;
        case 38:
            size = 3 * c + 120;
            break;
        case 42:
            size = 4 * b * c + 56;
            break;
        case 48:
        case 54:
            size = 24;
            break;
        case 49:
            size = 60;
            break;
        case 53:
            size = 206;
            break;
        case 64:
            size = 3 * b * c + 30;
            break;
        case 65:
            size = b * c + 34;
            break;
        case 66:
            size = c + 34;
            break;
        case 81:
            size = 4 * b * c + 6;
            break;
        default:
            return 0;
    }
    if (size > 0 && size % 2 != 0) ++size;
    return size;
}

std::int64_t BeamsFromLength(int id, std::int64_t length) {
    switch (id) {
        case 1:
        case 128:
            return (length - 32) / 3;
        case 8:
        case 35:
        case 38:
            return 1;
        case 9:
        case 34:
        case 37:
        case 64:
            return 2;
        case 16:
            return (length - 12) / 4;
        case 33:
        case 36:
        case 40:
        case 42:
            return 3;
        default:
            return 0;
    }
}

std::int64_t CellsFromLength(int id, std::int64_t length, std::int64_t b) {
    // A stream that has learnt no beams yet cannot divide by them.
    auto per = [](std::int64_t num, std::int64_t den) { return den == 0 ? 0 : num / den; };
    switch (id) {
        case 32:
        case 36:
        case 37:
        case 38:
            return per(length - 120, 3 * b);
        case 33:
        case 34:
        case 35:
        case 40:
            return per(length - 32, 3 * b);
        case 42:
            return per(length - 56, 4 * b);
        case 64:
            return per(length - 30, 3 * b);
        case 65:
            return per(length - 34, b);
        case 66:
            return length - 34;
        default:
            return 1;
    }
}

bool RecordValidator::MatchesConfigured(std::uint8_t id, std::int64_t length) const {
    return length == RecordSize(id, beams_, cells_);
}

RecordCheck RecordValidator::Check(std::uint8_t id, std::uint16_t sizeWord) {
    std::int64_t length = 2 * static_cast<std::int64_t>(sizeWord);
    if (id == 8 || id == 9 || id == 16 || id == 54 || id == 81) length = RecordSize(id, beams_, 1);
    // Shorter than sync, id and size word, or negative after a stream learnt
    // nonsense beams: no record at all.
    if (length < 4 || id >= 129) return {false, length};

    bool valid = false;
    switch (id) {
        case 0:
            valid = length == 512;
            break;
        case 1:
        case 128:
            if (configured_) {
                valid = MatchesConfigured(id, length);
            } else {
                valid = true;
                beams_ = BeamsFromLength(id, length);
            }
            break;
        case 2:
            valid = length == 16 || length == 32;
            break;
        case 4:
            valid = length == 224;
            break;
        case 5:
            valid = length == 48;
            break;
        case 6:
            valid = length == 36;
            break;
        case 7:
        case 65:
        case 66:
            valid = true;
            break;
        case 8:
        case 9:
        case 16:
        case 81:
            valid = true;
            if (!configured_) beams_ = BeamsFromLength(id, length);
            break;
        case 17:
            valid = length == 28;
            break;
        case 18:
        case 80:
            valid = length == 42;
            break;
        case 32:
            if (configured_) {
                valid = MatchesConfigured(id, length);
            } else {
                valid = true;
                beams_ = 3;
                cells_ = CellsFromLength(id, length, beams_);
            }
            break;
        case 33:
        case 34:
        case 35:
        case 36:
        case 37:
        case 38:
        case 40:
        case 42:
        case 64:
            if (configured_) {
                valid = MatchesConfigured(id, length);
            } else {
                valid = true;
                beams_ = BeamsFromLength(id, length);
                cells_ = CellsFromLength(id, length, beams_);
            }
            break;
        case 48:
        case 54:
            valid = length == 24;
            break;
        case 49:
            valid = length == 60;
            break;
        default:
            valid = false;
            break;
    }
    return {valid, length};
}

bool IsDataRecord(std::uint8_t id) {
    return id == kIdVelocity || id == kIdProfilerVelocity || id == kIdProfile || id == kIdHrProfile ||
           id == kIdWaveProfile;
}

int DecodeBcd(std::uint8_t byte) {
    if (byte >= 0x99) return 99;
    return (byte >> 4) * 10 + (byte & 0x0F);
}

int BcdYear(std::uint8_t byte) {
    const int v = DecodeBcd(byte);
    return v < 90 ? 2000 + v : 1900 + v;
}

corvan::DateTime RecordTime(const std::uint8_t* record) {
    corvan::CivilTime c;
    c.minute = DecodeBcd(record[4]);
    c.second = DecodeBcd(record[5]);
    c.day = DecodeBcd(record[6]);
    c.hour = DecodeBcd(record[7]);
    c.year = BcdYear(record[8]);
    c.month = DecodeBcd(record[9]);
    const auto t = corvan::DateTime::FromCivil(c);
    return t ? *t : corvan::DateTime();
}

std::size_t VelocityBlockOffset(std::uint8_t id) {
    switch (id) {
        case kIdVelocity:
        case kIdProfile:
            return 30;
        case kIdWaveProfile:
            return 54;
        case kIdProfilerVelocity:
        case kIdHrProfile:
            return 118;
        default:
            return 0;
    }
}

std::size_t MinimumDataRecordSize(std::uint8_t id) {
    switch (id) {
        case kIdVelocity:
        case kIdProfile:
            return 32;
        case kIdWaveProfile:
            return 56;
        case kIdProfilerVelocity:
        case kIdHrProfile:
            return 120;
        default:
            return 0;
    }
}

}  // namespace tarsen
