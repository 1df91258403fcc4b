#include "TextEncoding.h"

#include <iconv.h>

#include <memory>

namespace demo {

std::string ToUtf8(const std::u16string& text)
{
    std::string out;
    for (char16_t unit : text) {
        const auto c = static_cast<unsigned>(unit);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::optional<std::string> ToCodePage936(const std::u16string& text)
{
    const iconv_t handle = iconv_open("CP936", "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    const std::unique_ptr<void, int (*)(iconv_t)> closer(handle, iconv_close);
    std::string in = ToUtf8(text);
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}
