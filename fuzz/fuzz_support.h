#pragma once
// What the fuzz targets share: a scratch folder of their own that every run
// starts empty (the readers under test take file names, not bytes), and a
// reader that takes bytes off the front of the input.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace corvan::fuzz {

class Scratch {
public:
    Scratch() {
        // Memory-backed when there is one: a run writes several small files.
        std::error_code ec;
        std::filesystem::path root =
            std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
        folder_ = root / ("corvan-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_, ec);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    // Empties the folder: conversions leave backups that would change the
    // next run's outcome.
    void Clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
            std::filesystem::remove_all(entry.path(), ec);
        }
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t U16() {
        const std::uint16_t lo = U8();
        return static_cast<std::uint16_t>(lo | (U8() << 8));
    }
    // Up to n bytes; fewer when the input runs out.
    std::vector<std::uint8_t> Take(std::size_t n) {
        n = std::min(n, Left());
        std::vector<std::uint8_t> out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }
    // Fills an object's bytes; what the input lacks stays zero.
    void Fill(void* object, std::size_t n) {
        std::memset(object, 0, n);
        const std::size_t got = std::min(n, Left());
        std::memcpy(object, data_ + pos_, got);
        pos_ += got;
    }
    std::size_t Left() const { return size_ - pos_; }
    const std::uint8_t* Rest() const { return data_ + pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace corvan::fuzz
