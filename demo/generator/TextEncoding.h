#pragma once

#include <optional>
#include <string>

namespace demo {

// UTF-8 bytes of a UTF-16 text (file names on the build host).
std::string ToUtf8(const std::u16string& text);

// Code page 936 bytes of a UTF-16 text, or nothing when a character has no
// code in that page or the host cannot convert.
std::optional<std::string> ToCodePage936(const std::u16string& text);

}
