#pragma once
// An open Tarsen instrument file: its configuration records, found in the
// first 50 KB, and the stream of records behind them, read through one large
// buffer so that neither time nor memory grows per record.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "configuration.h"
#include "converter_ui.h"
#include "record_format.h"

namespace tarsen {

inline constexpr const char* kUnableToOpenFileMessage = "Unable to open file.\r\r";
inline constexpr const char* kFileTypeNotSupportedMessage = "File type not supported.\r\r";
inline constexpr const char* kInvalidFileMessage = "Invalid file.\r\r";

// The extension text the path contains (".orl", ".prf", ".cpr", ".wpr"
// compared in lower case, in that order), or empty for a file of no
// accepted type.
std::string AcceptedExtension(const std::string& path);

class TarsenFile {
public:
    TarsenFile() = default;
    TarsenFile(const TarsenFile&) = delete;
    TarsenFile& operator=(const TarsenFile&) = delete;
    ~TarsenFile() { Close(); }

    // Opens the file and reads its configuration. On failure the reason has
    // been shown and the file is closed. A file without configuration
    // records is not refused.
    bool ReadConfiguration(const std::string& pathUtf8, ConverterUi& ui);
    void Close();

    bool IsOpen() const { return file_ != nullptr; }
    std::FILE* Handle() const { return file_; }
    const std::string& Path() const { return path_; }
    const std::string& InputExtension() const { return extension_; }
    std::int64_t Length() const { return length_; }

    CKxConf& KxConf() { return conf_; }
    const CConfig& Config() const { return config_; }
    // The beams and cells the record stream starts with.
    std::int64_t StreamBeams() const { return beams_; }
    std::int64_t StreamCells() const { return cells_; }
    bool Configured() const { return conf_.userFound; }
    bool MisplacedConfiguration() const { return misplaced_; }

private:
    void ScanConfiguration(const std::uint8_t* buffer, std::size_t size);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string extension_;
    std::int64_t length_ = 0;
    CKxConf conf_;
    CConfig config_;
    std::int64_t beams_ = 3;
    std::int64_t cells_ = 1;
    bool misplaced_ = false;
};

enum class StreamEnd { kEndOfFile, kReadError, kStopped };

// One intact data record as the stream hands it on; the bytes live in the
// stream's buffer until the next record.
struct DataRecord {
    std::uint8_t id = 0;
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    std::int64_t position = 0;
    // The stream's beams and cells after this record was checked.
    std::int64_t beams = 0;
    std::int64_t cells = 0;
};

class RecordStream {
public:
    // Room for the longest record a size word can describe behind a
    // megabyte of look-ahead.
    static constexpr std::size_t kBufferSize = (1u << 20) + 2 * 65536;

    RecordStream(std::FILE* file, std::int64_t length, RecordValidator validator, bool verifyChecksums = true)
        : file_(file), length_(length), validator_(validator), verify_(verifyChecksums), buffer_(kBufferSize) {}

    // Reads from the start of the file. onRecord(const DataRecord&) returns
    // false to stop; onProgress(int percent) is called when the share of the
    // file read changes.
    template <typename OnRecord, typename OnProgress>
    StreamEnd Run(OnRecord&& onRecord, OnProgress&& onProgress);

    // errno of the failure that ended the stream with kReadError; 0 when the
    // system gave no cause.
    int ReadErrorCode() const { return error_; }
    std::int64_t ChecksumErrors() const { return checksumErrors_; }
    // How far into the file the stream got.
    std::int64_t Position() const { return bufferOffset_ + static_cast<std::int64_t>(pos_); }
    const RecordValidator& Validator() const { return validator_; }

private:
    bool Fill(std::size_t need);
    bool Start();

    std::FILE* file_;
    std::int64_t length_;
    RecordValidator validator_;
    bool verify_;
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::int64_t bufferOffset_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    int error_ = 0;
    std::int64_t checksumErrors_ = 0;
};

template <typename OnRecord, typename OnProgress>
StreamEnd RecordStream::Run(OnRecord&& onRecord, OnProgress&& onProgress) {
    if (!Start()) return StreamEnd::kReadError;
    int shownPercent = -1;
    for (;;) {
        const std::int64_t p = bufferOffset_ + static_cast<std::int64_t>(pos_);
        const int percent = length_ > 0 ? static_cast<int>(p * 100 / length_) : 0;
        if (percent != shownPercent) {
            shownPercent = percent;
            onProgress(percent);
        }
        if (!Fill(4)) return failed_ ? StreamEnd::kReadError : StreamEnd::kEndOfFile;
        const std::uint8_t* at = buffer_.data() + pos_;
        if (at[0] != kSync) {
            const void* next = std::memchr(at + 1, kSync, end_ - pos_ - 1);
            pos_ = next ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - buffer_.data()) : end_;
            continue;
        }
        const std::uint8_t id = at[1];
        const auto sizeWord = static_cast<std::uint16_t>(at[2] | (at[3] << 8));
        const RecordCheck check = validator_.Check(id, sizeWord);
        if (!check.valid) {
            ++pos_;
            continue;
        }
        const auto length = static_cast<std::size_t>(check.length);
        if (!Fill(length)) {
            if (failed_) return StreamEnd::kReadError;
            // Whatever starts here runs past the end of the file: a record
            // cut short, or a stray sync byte with a wild size word. Only
            // the first may end the stream, or records behind a stray byte
            // near the end would be lost.
            ++pos_;
            continue;
        }
        at = buffer_.data() + pos_;
        if (verify_ && !ChecksumMatches(at, length)) {
            ++checksumErrors_;
            ++pos_;
            continue;
        }
        if (IsDataRecord(id)) {
            DataRecord record{id,
                              at,
                              length,
                              bufferOffset_ + static_cast<std::int64_t>(pos_),
                              validator_.Beams(),
                              validator_.Cells()};
            if (!onRecord(static_cast<const DataRecord&>(record))) {
                pos_ += length;
                return StreamEnd::kStopped;
            }
        }
        pos_ += length;
    }
}

}  // namespace tarsen
