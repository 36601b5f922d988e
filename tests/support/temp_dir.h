#pragma once
// A fresh folder per test, removed afterwards, and small file helpers.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace corvan::testing {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("corvan-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Root() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A copy of a bundled sample's file set in `dir`, so that nothing a test
// does can touch the samples; returns its base name.
inline std::string CopySampleSet(const std::string& samples, const std::string& name, const TempDir& dir) {
    for (const char* ext : {".CVN", ".RF6", ".LN6"}) {
        const std::filesystem::path from = std::filesystem::path(samples) / (name + ext);
        if (std::filesystem::exists(from)) std::filesystem::copy_file(from, dir.Path(name + ext));
    }
    return dir.Path(name);
}

inline bool Exists(const std::string& fileName) { return std::filesystem::exists(fileName); }

}  // namespace corvan::testing
