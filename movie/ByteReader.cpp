#include "movie/ByteReader.h"

namespace movie {

std::uint8_t ByteReader::u8()
{
    bitCount_ = 0;
    if (pos_ >= data_.size()) {
        failed_ = true;
        return 0;
    }
    return data_[pos_++];
}

std::uint16_t ByteReader::u16()
{
    const std::uint16_t lo = u8();
    return static_cast<std::uint16_t>(lo | (u8() << 8));
}

std::uint32_t ByteReader::u32()
{
    const std::uint32_t lo = u16();
    return lo | (static_cast<std::uint32_t>(u16()) << 16);
}

double ByteReader::fixed8()
{
    return static_cast<std::int16_t>(u16()) / 256.0;
}

double ByteReader::fixed16()
{
    return static_cast<std::int32_t>(u32()) / 65536.0;
}

std::uint32_t ByteReader::ubits(int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        if (bitCount_ == 0) {
            if (pos_ >= data_.size()) {
                failed_ = true;
                return 0;
            }
            bitBuffer_ = data_[pos_++];
            bitCount_ = 8;
        }
        --bitCount_;
        value = (value << 1) | ((bitBuffer_ >> bitCount_) & 1u);
    }
    return value;
}

std::int32_t ByteReader::sbits(int count)
{
    if (count <= 0)
        return 0;
    const std::uint32_t raw = ubits(count);
    if (count >= 32)
        return static_cast<std::int32_t>(raw);
    const std::uint32_t sign = 1u << (count - 1);
    return static_cast<std::int32_t>((raw ^ sign) - sign);
}

std::string ByteReader::string()
{
    bitCount_ = 0;
    std::string text;
    while (pos_ < data_.size()) {
        const char c = static_cast<char>(data_[pos_++]);
        if (c == '\0')
            return text;
        text.push_back(c);
    }
    failed_ = true;
    return text;
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count)
{
    bitCount_ = 0;
    if (count > remaining()) {
        failed_ = true;
        count = remaining();
    }
    auto result = data_.subspan(pos_, count);
    pos_ += count;
    return result;
}

void ByteReader::skip(std::size_t count)
{
    bytes(count);
}

}
