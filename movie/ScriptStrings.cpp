#include "movie/ScriptStrings.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {

std::size_t characterLength(const std::string& text, std::size_t at, TextEncoding encoding)
{
    const auto lead = static_cast<std::uint8_t>(text[at]);
    std::size_t length = 1;
    if (encoding == TextEncoding::DoubleByte && lead >= 0x81)
        length = 2;
    else if (encoding == TextEncoding::Utf8)
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - at);
}

}

std::size_t characterCount(const std::string& text, TextEncoding encoding)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += characterLength(text, at, encoding))
        ++count;
    return count;
}

std::string extractCharacters(const std::string& text, double index, double count, TextEncoding encoding)
{
    if (std::isnan(index) || std::isnan(count))
        return {};
    const auto first = static_cast<std::size_t>(std::clamp(index, 0.0, static_cast<double>(text.size())));
    const auto wanted = count < 0 ? text.size() : static_cast<std::size_t>(std::min(count, static_cast<double>(text.size())));
    std::size_t at = 0;
    for (std::size_t skipped = 0; skipped < first && at < text.size(); ++skipped)
        at += characterLength(text, at, encoding);
    std::size_t end = at;
    for (std::size_t taken = 0; taken < wanted && end < text.size(); ++taken)
        end += characterLength(text, end, encoding);
    return text.substr(at, end - at);
}

std::uint32_t firstCharacterCode(const std::string& text, TextEncoding encoding)
{
    if (text.empty())
        return 0;
    const std::size_t length = characterLength(text, 0, encoding);
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[i])); };
    if (encoding == TextEncoding::DoubleByte)
        return length == 2 ? (byte(0) << 8) | byte(1) : byte(0);
    if (encoding == TextEncoding::Bytes || length == 1)
        return byte(0);
    std::uint32_t code = byte(0) & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i)
        code = (code << 6) | (byte(i) & 0x3F);
    return code;
}

std::string characterFromCode(std::int32_t code, TextEncoding encoding)
{
    if (code <= 0)
        return {};
    const auto value = static_cast<std::uint32_t>(code);
    std::string text;
    if (encoding == TextEncoding::Bytes || value < 0x80 ||
        (encoding == TextEncoding::DoubleByte && value < 0x100)) {
        text.push_back(static_cast<char>(value & 0xFF));
    } else if (encoding == TextEncoding::DoubleByte) {
        text.push_back(static_cast<char>((value >> 8) & 0xFF));
        text.push_back(static_cast<char>(value & 0xFF));
    } else if (value < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (value >> 6)));
        text.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (value >> 12)));
        text.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x110000) {
        text.push_back(static_cast<char>(0xF0 | (value >> 18)));
        text.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
    return text;
}

}
