#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace movie {

// Little-endian bytes and most-significant-first bit fields over a span.
// Reading past the end yields zeros and latches failed(): callers check once
// after a record instead of before every field.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
    // 8.8 and 16.16 fixed-point numbers.
    double fixed8();
    double fixed16();

    std::uint32_t ubits(int count);
    std::int32_t sbits(int count);
    double fbits(int count) { return sbits(count) / 65536.0; }
    void align() { bitCount_ = 0; }

    // A null-terminated string; stops at the end of data if unterminated.
    std::string string();
    std::span<const std::uint8_t> bytes(std::size_t count);
    void skip(std::size_t count);

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    bool failed() const { return failed_; }
    std::span<const std::uint8_t> rest() const { return data_.subspan(pos_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::uint8_t bitBuffer_ = 0;
    int bitCount_ = 0;
    bool failed_ = false;
};

}
