// Drawing a 200-character Chinese label into a 300-pixel-wide rectangle,
// once as plain text (wrapped by measuring) and once with markup (one
// output and one measurement per character).
#include <windows.h>

#include <string>

#include "framework/Gdi.h"
#include "support/BenchTimer.h"
#include "toolkit/TextWrapper.h"

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 600;
constexpr size_t kChars = 200;

const std::wstring kSentence = L"小白兔爱吃萝卜和青菜，它每天早上都去河边的草地上玩耍。";

std::wstring PlainLabel()
{
    std::wstring text;
    while (text.size() < kChars)
        text += kSentence;
    text.resize(kChars);
    return text;
}

// The same 200 characters, in blocks of 20: the first ten red (every other
// block also large), switched off by a caret before the eleventh.
std::wstring MarkedUpLabel(const std::wstring& plain)
{
    std::wstring text;
    for (size_t block = 0; block < plain.size(); block += 20) {
        text += block % 40 == 0 ? L"^C^R" : L"^R";
        text += plain.substr(block, 10);
        text += L'^';
        text += plain.substr(block + 10, 10);
    }
    return text;
}
}

int main()
{
    CDibSection pixels;
    if (!pixels.Create(kWidth, kHeight))
        return 1;
    CMemDC dc(nullptr);
    CSelectObject keepBitmap(dc.Get(), pixels.Get());
    const RECT rect{0, 0, kWidth, kHeight};

    QmTextWrapper wrapper;
    if (!wrapper.SetFont(L"宋体", 14))
        return 1;
    wrapper.m_nAlign = 4;

    const std::wstring plain = PlainLabel();
    wrapper.m_strText = plain;
    PrintBenchResult("Draw, 200 Chinese characters, plain, 300 px wide",
                     MeasureMicros([&] { wrapper.Draw(rect, dc.Get()); }, 20, 300));

    wrapper.m_strText = MarkedUpLabel(plain);
    PrintBenchResult("Draw, 200 Chinese characters, marked up, 300 px wide",
                     MeasureMicros([&] { wrapper.Draw(rect, dc.Get()); }, 20, 300));
    return 0;
}
