#include "skin/Codepage936.h"

#include <clocale>
#include <cstdlib>
#include <vector>


namespace {
constexpr unsigned kCodePage = 936;

wchar_t ConvertWithRuntime(unsigned char first, unsigned char second)
{
    const char bytes[2] = {static_cast<char>(first), static_cast<char>(second)};
    wchar_t ch = 0;
    const int used = std::mbtowc(&ch, bytes, first >= 0x80 ? 2 : 1);
    return used < 0 ? 0 : ch;
}

// Index: a single byte b at b; a pair (lead, trail) at 128 + (lead - 0x80) * 256 + trail.
const std::vector<wchar_t>& Table()
{
    static const std::vector<wchar_t> table = [] {
        EnsureLocale936();
        std::vector<wchar_t> t(128 + 128 * 256);
        for (unsigned b = 0; b < 128; ++b)
            t[b] = ConvertWithRuntime(static_cast<unsigned char>(b), 0);
        for (unsigned lead = 0x80; lead < 0x100; ++lead)
            for (unsigned trail = 0; trail < 0x100; ++trail)
                t[128 + (lead - 0x80) * 256 + trail] = ConvertWithRuntime(
                    static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        return t;
    }();
    return table;
}
}

void EnsureLocale936()
{
    if (___lc_codepage_func() != kCodePage)
        std::setlocale(LC_ALL, ".936");
}

wchar_t Convert936(unsigned char first, unsigned char second)
{
    const auto& table = Table();
    if (first < 0x80)
        return table[first];
    return table[128 + (first - 0x80) * 256u + second];
}
