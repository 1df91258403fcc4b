#include "movie/TextTags.h"

#include "movie/ByteReader.h"

namespace movie {

namespace {

enum TextTagCode : std::uint16_t {
    kDefineFont = 10,
    kDefineText = 11,
    kDefineFontInfo = 13,
    kDefineText2 = 33,
    kDefineEditText = 37,
    kDefineFont2 = 48,
    kDefineFontInfo2 = 62,
    kDefineFont3 = 75,
};

}

bool readTextTag(std::uint16_t code, std::span<const std::uint8_t> body, int swfVersion,
                 std::unordered_map<std::uint16_t, Character>& dictionary)
{
    ByteReader reader(body);
    const std::uint16_t id = reader.u16();
    const bool valid = !reader.failed();
    switch (code) {
    case kDefineFont:
    case kDefineFont2:
    case kDefineFont3:
        if (valid)
            dictionary.try_emplace(id, Font::parse(reader.rest(), code == kDefineFont ? 1 : code == kDefineFont2 ? 2 : 3));
        return true;
    case kDefineFontInfo:
    case kDefineFontInfo2:
        if (const auto found = dictionary.find(id); valid && found != dictionary.end())
            if (auto* font = std::get_if<Font>(&found->second))
                font->applyInfo(reader.rest(), code == kDefineFontInfo2);
        return true;
    case kDefineText:
    case kDefineText2:
        if (valid)
            dictionary.try_emplace(id, parseText(reader.rest(), code == kDefineText2));
        return true;
    case kDefineEditText:
        if (valid)
            dictionary.try_emplace(id, parseEditText(reader.rest(), swfVersion));
        return true;
    default:
        return false;
    }
}

}
