#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "toolkit/TextWrapper.h"

namespace {
constexpr int kCanvasWidth = 640;
constexpr int kCanvasHeight = 400;
constexpr COLORREF kPaper = RGB(200, 200, 200);
constexpr COLORREF kInk = RGB(0, 0, 255);
constexpr uint32_t kInkPixel = 0x0000FF;

SIZE Measure(const CFont& font, const std::wstring& text)
{
    CMemDC dc(nullptr);
    CSelectObject select(dc.Get(), font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

TEXTMETRICW Metrics(const CFont& font)
{
    CMemDC dc(nullptr);
    CSelectObject select(dc.Get(), font.Get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics;
}

LOGFONTW Describe(const CFont& font)
{
    LOGFONTW logFont{};
    GetObjectW(font.Get(), sizeof(logFont), &logFont);
    return logFont;
}

// Text drawn in the ink colour on an opaque background of the same colour
// shows each TextOutW call as a solid box of its measured extent, so line
// positions and widths can be read back exactly whatever the glyphs.
class WrapperDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wrapper.SetFont(L"宋体", 19));
        m_wrapper.m_colorText = kInk;
        m_wrapper.m_colorBack = kInk;
        m_wrapper.m_nAlign = 4;
    }

    // Bounding boxes of the bands of rows holding ink, top to bottom.
    std::vector<RECT> InkBoxes(uint32_t ink = kInkPixel) const
    {
        std::vector<RECT> boxes;
        bool inBand = false;
        for (int y = 0; y < kCanvasHeight; ++y) {
            int left = kCanvasWidth;
            int right = -1;
            for (int x = 0; x < kCanvasWidth; ++x) {
                if (m_canvas.At(x, y) == ink) {
                    left = std::min(left, x);
                    right = x;
                }
            }
            if (right < 0) {
                inBand = false;
                continue;
            }
            if (!inBand)
                boxes.push_back(RECT{left, y, right + 1, y + 1});
            RECT& box = boxes.back();
            box.left = std::min<LONG>(box.left, left);
            box.right = std::max<LONG>(box.right, right + 1);
            box.bottom = y + 1;
            inBand = true;
        }
        return boxes;
    }

    // The boxes that lines of text (in the normal font) make at a common left edge.
    std::vector<RECT> ExpectedLines(POINT origin, const std::vector<std::wstring>& lines) const
    {
        const int height = Metrics(*m_wrapper.m_pFont).tmHeight;
        std::vector<RECT> boxes;
        for (size_t k = 0; k < lines.size(); ++k) {
            const int top = origin.y + static_cast<int>(k) * LineHeight();
            boxes.push_back(RECT{origin.x, top, origin.x + Width(lines[k]), top + height});
        }
        return boxes;
    }

    int Width(const std::wstring& text) const { return Measure(*m_wrapper.m_pFont, text).cx; }
    int LineHeight() const { return Metrics(*m_wrapper.m_pFont).tmHeight * 13 / 10; }

    PixelCanvas m_canvas{kCanvasWidth, kCanvasHeight, kPaper};
    QmTextWrapper m_wrapper;
};

void ExpectBoxes(const std::vector<RECT>& actual, const std::vector<RECT>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "line " << i);
        EXPECT_EQ(actual[i].left, expected[i].left);
        EXPECT_EQ(actual[i].top, expected[i].top);
        EXPECT_EQ(actual[i].right, expected[i].right);
        EXPECT_EQ(actual[i].bottom, expected[i].bottom);
    }
}
}

TEST(CreateTextFont, LightGb2312FontOfTheGivenHeight)
{
    std::unique_ptr<CFont> font = CreateTextFont(14, L"宋体");
    ASSERT_NE(font, nullptr);
    const LOGFONTW logFont = Describe(*font);
    EXPECT_EQ(logFont.lfHeight, 14);
    EXPECT_EQ(logFont.lfWeight, 200);
    EXPECT_EQ(logFont.lfCharSet, 134);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_STREQ(logFont.lfFaceName, L"宋体");
}

TEST(CreateTextFont, CutsLongFaceNamesToWholeCharacters)
{
    const std::wstring longName(40, L'x');
    std::unique_ptr<CFont> font = CreateTextFont(14, longName);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(std::wstring(Describe(*font).lfFaceName), longName.substr(0, 31));

    // A surrogate pair across the limit is left out whole, not cut in half.
    const std::wstring pairAtLimit = std::wstring(30, L'y') + L"\xD840\xDC00" + L"zz";
    font = CreateTextFont(14, pairAtLimit);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(std::wstring(Describe(*font).lfFaceName), std::wstring(30, L'y'));

    EXPECT_EQ(std::wstring(Describe(*CreateTextFont(14, std::wstring(31, L'w'))).lfFaceName),
              std::wstring(31, L'w'));
}

TEST(TextWrapper, DefaultsAndFontPairs)
{
    const int liveBefore = LiveGdiWrappers();
    {
        QmTextWrapper wrapper;
        EXPECT_TRUE(wrapper.m_bFillBack);
        EXPECT_EQ(wrapper.m_colorBack, RGB(255, 255, 255));
        EXPECT_EQ(wrapper.m_nAlign, 8);
        EXPECT_DOUBLE_EQ(wrapper.m_fLineSpacing, 1.3);
        EXPECT_EQ(wrapper.m_pFont, nullptr);

        wrapper.SetText(L"text", false);
        ASSERT_NE(wrapper.m_pFont, nullptr);
        EXPECT_EQ(wrapper.m_nFontSize, 12);
        EXPECT_EQ(Describe(*wrapper.m_pFontLarge).lfHeight, 13);

        EXPECT_TRUE(wrapper.SetFont(L"仿宋", 14));
        EXPECT_EQ(wrapper.m_nFontSize, 14);
        EXPECT_EQ(Describe(*wrapper.m_pFont).lfHeight, 14);
        EXPECT_EQ(Describe(*wrapper.m_pFontLarge).lfHeight, 15);
        EXPECT_STREQ(Describe(*wrapper.m_pFontLarge).lfFaceName, L"仿宋");

        wrapper.SetText(L"other", false);
        EXPECT_EQ(wrapper.m_nFontSize, 14) << "a wrapper with a font keeps it";
        EXPECT_EQ(wrapper.m_strText, L"other");
    }
    EXPECT_EQ(LiveGdiWrappers(), liveBefore);
}

TEST(TextWrapper, MarkupTable)
{
    struct Case {
        std::wstring marked;
        std::wstring plain;
        std::string large;
        std::string red;
    };
    const Case cases[] = {
        {L"plain", L"plain", "00000", "00000"},
        {L"^Rhot^ cold", L"hot cold", "00000000", "11100000"},
        {L"a^^b", L"a^b", "000", "000"},
        {L"^C12", L"12", "11", "00"},
        {L"^C^Rab^xc", L"abxc", "1100", "1100"},
        {L"^Ra^^b", L"a^b", "000", "111"},
        {L"ab^", L"ab", "00", "00"},
        {L"^", L"", "", ""},
        {L"^^^", L"^", "0", "0"},
        {L"^C\r^Rz", L"\rz", "11", "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << std::string(c.marked.begin(), c.marked.end()));
        const TextMarkup markup = ParseTextMarkup(c.marked);
        EXPECT_EQ(markup.text, c.plain);
        std::string large;
        std::string red;
        for (bool flag : markup.large)
            large += flag ? '1' : '0';
        for (bool flag : markup.red)
            red += flag ? '1' : '0';
        EXPECT_EQ(large, c.large);
        EXPECT_EQ(red, c.red);
    }
}

TEST_F(WrapperDrawing, CarriageReturnsStartLinesOneLinePitchApart)
{
    const TEXTMETRICW metrics = Metrics(*m_wrapper.m_pFont);
    ASSERT_GE(metrics.tmHeight * 13 % 10, 5) << "pick a height where rounding would differ";

    m_wrapper.m_strText = L"abc\rdef";
    m_wrapper.Draw(RECT{20, 30, 620, 380}, m_canvas.Dc());
    ExpectBoxes(InkBoxes(), ExpectedLines({20, 30}, {L"abc", L"def"}));
}

TEST_F(WrapperDrawing, LineSpacingFactorSetsThePitch)
{
    m_wrapper.m_fLineSpacing = 2.5;
    m_wrapper.m_strText = L"ab\rcd";
    m_wrapper.Draw(RECT{0, 0, 600, 400}, m_canvas.Dc());
    const std::vector<RECT> boxes = InkBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].top, Metrics(*m_wrapper.m_pFont).tmHeight * 5 / 2);
}

TEST_F(WrapperDrawing, WrapsCharactersAtTheFullWidth)
{
    struct Case {
        std::wstring text;
        std::wstring fits;
        std::vector<std::wstring> lines;
    };
    // A line may grow until it is wider than the rectangle before the next
    // character arrives; the last character of the text is never moved, and
    // a surrogate pair is one character.
    const Case cases[] = {
        {L"0123456789", L"0123", {L"0123", L"4567", L"89"}},
        {L"01234", L"0123", {L"01234"}},
        {L"0123456\r789", L"012", {L"012", L"3456", L"789"}},
        {L"abcd", L"", {L"a", L"b", L"cd"}},
        {L"ab\xD840\xDC00", L"", {L"a", L"b\xD840\xDC00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << std::string(c.text.begin(), c.text.end()));
        PatBlt(m_canvas.Dc(), 0, 0, kCanvasWidth, kCanvasHeight, WHITENESS);
        m_wrapper.m_strText = c.text;
        const int width = c.fits.empty() ? 1 : Width(c.fits);
        m_wrapper.Draw(RECT{10, 5, 10 + width, 300}, m_canvas.Dc());
        ExpectBoxes(InkBoxes(), ExpectedLines({10, 5}, c.lines));
    }
}

TEST_F(WrapperDrawing, PositionCodesPlaceTheUnwrappedExtent)
{
    const RECT rect{40, 30, 341, 231};
    const int w = 301;
    const int h = 201;
    const int dx = 7;
    const int dy = 5;
    m_wrapper.m_strText = L"Ab\rxyz!";
    const int tw = Width(L"xyz!");
    const int th = Measure(*m_wrapper.m_pFont, L"Ab").cy + Measure(*m_wrapper.m_pFont, L"xyz!").cy;
    const int midX = w / 2 - tw / 2 + dx;
    const int midY = h / 2 - th / 2 + dy;
    // Codes outside the table put the text at the corner, offsets ignored.
    const POINT expected[] = {
        {dx, midY}, {w - tw - dx, midY}, {midX, dy}, {midX, h - th - dy},
        {dx, dy}, {dx, h - th - dy}, {w - tw - dx, dy}, {w - tw - dx, h - th - dy},
        {midX, midY}, {0, 0},
    };
    m_wrapper.m_nOffsetX = dx;
    m_wrapper.m_nOffsetY = dy;
    for (int code = 0; code < 10; ++code) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        PatBlt(m_canvas.Dc(), 0, 0, kCanvasWidth, kCanvasHeight, WHITENESS);
        m_wrapper.m_nAlign = code;
        m_wrapper.Draw(rect, m_canvas.Dc());
        const POINT origin{rect.left + expected[code].x, rect.top + expected[code].y};
        ExpectBoxes(InkBoxes(), ExpectedLines(origin, {L"Ab", L"xyz!"}));
    }
}

TEST_F(WrapperDrawing, CentringAWrappedTextUsesItsUnwrappedWidth)
{
    m_wrapper.m_nAlign = 8;
    m_wrapper.m_strText = L"0123456789";
    const int width = Width(L"0123");
    const RECT rect{200, 100, 200 + width, 300};
    m_wrapper.Draw(rect, m_canvas.Dc());
    const int tw = Width(m_wrapper.m_strText);
    const int th = Measure(*m_wrapper.m_pFont, m_wrapper.m_strText).cy;
    const POINT origin{rect.left + width / 2 - tw / 2, rect.top + 200 / 2 - th / 2};
    ASSERT_LT(origin.x, rect.left);
    ExpectBoxes(InkBoxes(), ExpectedLines(origin, {L"0123", L"4567", L"89"}));
}

TEST_F(WrapperDrawing, EmptyTextOrNoFontLeavesTheContextAlone)
{
    HDC dc = m_canvas.Dc();
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);

    m_wrapper.m_strText.clear();
    m_wrapper.Draw(RECT{0, 0, 600, 400}, dc);
    QmTextWrapper noFont;
    noFont.m_strText = L"text";
    noFont.Draw(RECT{0, 0, 600, 400}, dc);

    EXPECT_TRUE(InkBoxes().empty());
    EXPECT_EQ(m_canvas.At(5, 5), 0xC8C8C8u);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);

    m_wrapper.m_strText = L"x^Cy";
    m_wrapper.Draw(RECT{0, 0, 600, 400}, dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore) << "the previous font is put back";
}

TEST_F(WrapperDrawing, LargeCharactersAreRaisedByATenthOfTheSize)
{
    ASSERT_TRUE(m_wrapper.SetFont(L"宋体", 30));
    m_wrapper.m_strText = L"^C12";
    m_wrapper.Draw(RECT{20, 20, 620, 380}, m_canvas.Dc());
    const CFont& large = *m_wrapper.m_pFontLarge;
    const int top = 20 - 3;
    ExpectBoxes(InkBoxes(), {RECT{20, top, 20 + Measure(large, L"1").cx + Measure(large, L"2").cx,
                                  top + Metrics(large).tmHeight}});
}

TEST_F(WrapperDrawing, MarkedUpTextWrapsWhenTheWidestCharacterWouldNotFit)
{
    const int maxCharWidth = Metrics(*m_wrapper.m_pFont).tmMaxCharWidth;
    const int a = Width(L"a");
    const int x = 10;
    const int y = 8;
    m_wrapper.m_strText = L"^Raaaaa\ra";
    m_wrapper.m_colorText = RGB(255, 0, 0);
    m_wrapper.m_colorBack = RGB(255, 0, 0);
    m_wrapper.Draw(RECT{x, y, x + a + maxCharWidth, 380}, m_canvas.Dc());

    std::vector<RECT> expected;
    for (int pair : {2, 2, 1, 1}) {
        const int top = y + static_cast<int>(expected.size()) * LineHeight();
        expected.push_back(RECT{x, top, x + pair * a, top + Metrics(*m_wrapper.m_pFont).tmHeight});
    }
    ExpectBoxes(InkBoxes(0xFF0000u), expected);
}

TEST_F(WrapperDrawing, ANarrowRectangleStillEnds)
{
    m_wrapper.m_strText = L"^Cabc";
    m_wrapper.Draw(RECT{10, 0, 11, 380}, m_canvas.Dc());
    const std::vector<RECT> boxes = InkBoxes();
    ASSERT_EQ(boxes.size(), 3u) << "one character per line";
    EXPECT_LT(boxes[0].bottom, boxes[1].top);
}

TEST(TextWrapperColour, RedCharactersAreDrawnRed)
{
    PixelCanvas canvas(400, 80, RGB(255, 255, 255));
    QmTextWrapper wrapper;
    ASSERT_TRUE(wrapper.SetFont(L"宋体", 40));
    wrapper.m_nAlign = 4;
    wrapper.m_bFillBack = false;
    wrapper.m_colorText = RGB(0, 0, 0);
    wrapper.m_strText = L"^RHHH^ HHH";
    wrapper.Draw(RECT{0, 0, 400, 80}, canvas.Dc());

    const int redEnd = Measure(*wrapper.m_pFont, L"HHH").cx;
    int red = 0;
    int black = 0;
    int redInBlackPart = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 400; ++x) {
            const uint32_t p = canvas.At(x, y);
            const bool isRed = p == 0xFF0000u;
            if (x < redEnd)
                red += isRed;
            else
                redInBlackPart += ((p >> 16) & 0xFF) > ((p >> 8) & 0xFF) + 32;
            black += p == 0;
        }
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(black, 20) << "the characters after the blank are in the text colour";
    EXPECT_EQ(redInBlackPart, 0);
}

TEST(TextWrapperColour, AlternateColourOnlyWhenEnabledAndOn)
{
    QmTextWrapper wrapper;
    ASSERT_TRUE(wrapper.SetFont(L"宋体", 20));
    wrapper.m_colorText = RGB(0, 0, 255);
    wrapper.m_colorBack = RGB(0, 0, 255);
    wrapper.m_colorAlt = RGB(0, 255, 0);
    wrapper.m_strText = L"x";
    wrapper.m_nAlign = 4;
    for (int enabled = 0; enabled < 2; ++enabled) {
        for (int on = 0; on < 2; ++on) {
            PixelCanvas canvas(40, 40, RGB(255, 255, 255));
            wrapper.m_bAltEnabled = enabled != 0;
            wrapper.m_bAltOn = on != 0;
            wrapper.Draw(RECT{0, 0, 40, 40}, canvas.Dc());
            bool green = false;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x)
                    green = green || canvas.At(x, y) == 0x00FF00u;
            EXPECT_EQ(green, enabled && on) << enabled << on;
        }
    }
}

TEST(TextWrapperRefresh, RepaintsOwnerAndForTransparentTextItsParent)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE,
                                RECT{0, 0, 200, 100}, nullptr, 0));
    CStatic owner;
    ASSERT_TRUE(owner.Create(L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 30},
                             parent.GetHwnd(), 1));
    QmTextWrapper wrapper;
    wrapper.m_pOwner = &owner;
    wrapper.m_strText = L"x";
    RECT update{};
    auto pending = [&](const CWnd& wnd) { return GetUpdateRect(wnd.GetHwnd(), &update, FALSE) != 0; };
    auto validate = [&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        ValidateRect(parent.GetHwnd(), nullptr);
        if (owner.IsWindow())
            ValidateRect(owner.GetHwnd(), nullptr);
    };

    validate();
    wrapper.Refresh();
    EXPECT_TRUE(pending(owner));
    EXPECT_FALSE(pending(parent));

    validate();
    wrapper.m_bFillBack = false;
    wrapper.Refresh();
    EXPECT_TRUE(pending(owner));
    EXPECT_TRUE(pending(parent));

    validate();
    wrapper.m_bFillBack = true;
    wrapper.m_strText.clear();
    wrapper.Refresh();
    EXPECT_FALSE(pending(owner)) << "no text, nothing to repaint in the owner";

    owner.DestroyWindow();
    validate();
    wrapper.m_strText = L"x";
    wrapper.Refresh();
    EXPECT_FALSE(pending(parent)) << "a destroyed owner makes Refresh do nothing";
}
