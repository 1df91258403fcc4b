#pragma once

#include <cstdint>
#include <string>

namespace movie {

// How scripts count characters: bytes (version 5 and older), pairs of bytes for the
// lead bytes of a double-byte code page (their MB functions), or UTF-8 (version 6 on).
enum class TextEncoding { Bytes, DoubleByte, Utf8 };

std::size_t characterCount(const std::string& text, TextEncoding encoding);
// `count` characters from the 0-based `index`; a negative count means to the end.
std::string extractCharacters(const std::string& text, double index, double count, TextEncoding encoding);
std::uint32_t firstCharacterCode(const std::string& text, TextEncoding encoding);
std::string characterFromCode(std::int32_t code, TextEncoding encoding);

}
