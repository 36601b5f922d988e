#include "tarsen_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "platform_file.h"

namespace tarsen {

namespace {

// The configuration records stand at the start of a file; nothing beyond
// this is searched for them.
constexpr std::size_t kConfigurationScanSize = 51200;

constexpr const char* kAcceptedExtensions[] = {".orl", ".prf", ".cpr", ".wpr"};

constexpr std::size_t kUsualHardwareOffset = 0;
constexpr std::size_t kUsualHeadOffset = 48;
constexpr std::size_t kUsualUserOffset = 272;

bool IsConfigurationRecord(const std::uint8_t* at, std::size_t available, std::uint8_t id, std::uint16_t sizeWord) {
    const std::size_t length = 2u * sizeWord;
    if (available < length) return false;
    if (at[0] != kSync || at[1] != id) return false;
    if (static_cast<std::uint16_t>(at[2] | (at[3] << 8)) != sizeWord) return false;
    return ChecksumMatches(at, length);
}

}  // namespace

std::string AcceptedExtension(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* ext : kAcceptedExtensions) {
        if (lower.find(ext) != std::string::npos) return ext;
    }
    return {};
}

void TarsenFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool TarsenFile::ReadConfiguration(const std::string& pathUtf8, ConverterUi& ui) {
    Close();
    path_ = pathUtf8;
    conf_ = CKxConf();
    misplaced_ = false;
    file_ = OpenFile(pathUtf8, "rb");
    if (!file_) {
        ui.ShowMessage(MessageKind::kError, kUnableToOpenFileMessage + pathUtf8);
        return false;
    }
    extension_ = AcceptedExtension(pathUtf8);
    if (extension_.empty()) {
        ui.ShowMessage(MessageKind::kError, kFileTypeNotSupportedMessage + pathUtf8);
        Close();
        return false;
    }
    length_ = FileLength(file_);
    if (length_ <= 0) {
        ui.ShowMessage(MessageKind::kError, kInvalidFileMessage + pathUtf8);
        Close();
        return false;
    }

    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(length_, kConfigurationScanSize)));
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file_);
    ScanConfiguration(buffer.data(), got);

    DecideInstrumentType(conf_);
    beams_ = 3;
    cells_ = 1;
    if (conf_.headFound) beams_ = conf_.HeadBeams();
    if (conf_.userFound) {
        beams_ = conf_.UserWord(kUserBeams);
        cells_ = conf_.UserWord(kUserCells);
        config_ = ComputeConfig(conf_);
    } else {
        config_ = InitialConfig(conf_, static_cast<int>(beams_), static_cast<int>(cells_));
    }
    return true;
}

void TarsenFile::ScanConfiguration(const std::uint8_t* buffer, std::size_t size) {
    auto decideWhenBoth = [this] {
        if (conf_.headFound && conf_.hardwareFound) DecideInstrumentType(conf_);
    };
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (buffer[i] != kSync) continue;
        const std::uint8_t* at = buffer + i;
        const std::size_t available = size - i;
        const std::uint8_t kind = buffer[i + 1];
        if (kind == kIdUserConfiguration && !conf_.userFound &&
            IsConfigurationRecord(at, available, kIdUserConfiguration, kUserConfigurationSize / 2)) {
            std::copy_n(at, kUserConfigurationSize, conf_.user.begin());
            conf_.userFound = true;
            if (i != kUsualUserOffset) misplaced_ = true;
        } else if (kind == kIdHeadConfiguration && !conf_.headFound &&
                   IsConfigurationRecord(at, available, kIdHeadConfiguration, kHeadConfigurationSize / 2)) {
            std::copy_n(at, kHeadConfigurationSize, conf_.head.begin());
            conf_.headFound = true;
            if (i != kUsualHeadOffset) misplaced_ = true;
            decideWhenBoth();
        } else if (kind == kIdHardwareConfiguration && !conf_.hardwareFound &&
                   IsConfigurationRecord(at, available, kIdHardwareConfiguration, kHardwareConfigurationSize / 2)) {
            std::copy_n(at, kHardwareConfigurationSize, conf_.hardware.begin());
            conf_.hardwareFound = true;
            if (i != kUsualHardwareOffset) misplaced_ = true;
            decideWhenBoth();
        }
        if (conf_.userFound && conf_.headFound && conf_.hardwareFound) break;
    }
}

bool RecordStream::Start() {
    pos_ = 0;
    end_ = 0;
    bufferOffset_ = 0;
    eof_ = false;
    failed_ = false;
    error_ = 0;
    if (!SeekFile(file_, 0)) {
        failed_ = true;
        error_ = errno;
        return false;
    }
    return true;
}

bool RecordStream::Fill(std::size_t need) {
    if (end_ - pos_ >= need) return true;
    if (eof_ || failed_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        bufferOffset_ += static_cast<std::int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < need) {
        errno = 0;
        const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        end_ += n;
        if (n == 0) {
            if (std::ferror(file_)) {
                failed_ = true;
                error_ = errno;
            }
            eof_ = true;
            return false;
        }
    }
    return true;
}

}  // namespace tarsen
