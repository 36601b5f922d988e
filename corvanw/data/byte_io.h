#pragma once
// Little-endian reading and writing of packed records. Every on-disk and
// on-wire record goes through these so the byte order never depends on the
// host and no buffer is ever reinterpreted as a struct.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace corvan {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(std::span<const std::uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return size_ - pos_; }
    void Seek(std::size_t pos) { pos_ = pos <= size_ ? pos : size_; }
    void Skip(std::size_t n) { Seek(pos_ + n); }

    // Reads past the end yield zero bytes; callers check Remaining() first
    // where a short record matters.
    std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::int8_t I8() { return static_cast<std::int8_t>(U8()); }
    std::uint16_t U16() {
        std::uint16_t lo = U8();
        std::uint16_t hi = U8();
        return static_cast<std::uint16_t>(lo | (hi << 8));
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32() {
        std::uint32_t lo = U16();
        std::uint32_t hi = U16();
        return lo | (hi << 16);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }
    double F64() {
        std::uint64_t lo = U32();
        std::uint64_t hi = U32();
        return std::bit_cast<double>(lo | (hi << 32));
    }
    void Bytes(void* out, std::size_t n) {
        auto* o = static_cast<std::uint8_t*>(out);
        for (std::size_t i = 0; i < n; ++i) o[i] = U8();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Writes into a caller-owned buffer of fixed size (no allocation), or appends
// to a vector.
class ByteWriter {
public:
    ByteWriter(std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteWriter(std::vector<std::uint8_t>& out) : vec_(&out) {}

    std::size_t Position() const { return vec_ ? vec_->size() : pos_; }

    void U8(std::uint8_t v) {
        if (vec_) {
            vec_->push_back(v);
        } else if (pos_ < size_) {
            data_[pos_++] = v;
        }
    }
    void I8(std::int8_t v) { U8(static_cast<std::uint8_t>(v)); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v & 0xFF));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void F64(double v) {
        auto u = std::bit_cast<std::uint64_t>(v);
        U32(static_cast<std::uint32_t>(u & 0xFFFFFFFFu));
        U32(static_cast<std::uint32_t>(u >> 32));
    }
    void Bytes(const void* in, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(in);
        for (std::size_t i = 0; i < n; ++i) U8(p[i]);
    }
    void Zeros(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) U8(0);
    }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    std::vector<std::uint8_t>* vec_ = nullptr;
};

}  // namespace corvan
