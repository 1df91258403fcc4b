#include <gtest/gtest.h>

#include <map>

#include "movie/SystemFont.h"
#include "movie/Text.h"
#include "support/MovieTestSupport.h"
#include "support/SwfTextWriter.h"

namespace movie::test {
namespace {

// A block glyph half an EM wide and three quarters of one tall, standing on the baseline.
swf::Glyph block(std::uint16_t code, double unit = 1)
{
    swf::Glyph glyph;
    const auto at = [unit](int v) { return static_cast<std::int32_t>(v * unit); };
    glyph.outline.rectangle(0, at(-768), at(512), 0);
    glyph.code = code;
    glyph.advance = static_cast<std::int16_t>(at(640));
    return glyph;
}

// Two overlapping squares drawn the same way round, as strokes of CJK glyphs often are.
swf::Glyph overlapping(std::uint16_t code)
{
    swf::Glyph glyph;
    glyph.outline.rectangle(0, -768, 512, -256).rectangle(256, -512, 768, 0);
    glyph.code = code;
    glyph.advance = 900;
    return glyph;
}

constexpr swf::FontLayout kLayout{800, 224, 0};

swf::Bytes fontTag(int version, const std::vector<swf::Glyph>& glyphs, std::uint16_t id = 1)
{
    swf::FontOptions options;
    options.layout = kLayout;
    if (version == 3)
        options.layout = swf::FontLayout{800 * 20, 224 * 20, 0};
    return swf::defineFont2(id, glyphs, options, version);
}

std::uint16_t fontCode(int version) { return version == 1 ? swf::kDefineFont : version == 2 ? swf::kDefineFont2 : swf::kDefineFont3; }

swf::TextRecord record(std::uint16_t height, swf::Color color, std::int16_t x, std::int16_t y,
                       std::vector<std::pair<std::uint32_t, std::int32_t>> glyphs)
{
    swf::TextRecord r;
    r.font = 1;
    r.height = height;
    r.color = color;
    r.x = x;
    r.y = y;
    r.glyphs = std::move(glyphs);
    return r;
}

swf::Bytes textMovie(const swf::Bytes& font, std::uint16_t fontTagCode, const std::vector<swf::TextRecord>& records,
                     bool withAlpha = false, const swf::Matrix& textMatrix = {}, const swf::Matrix& placement = {})
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.tag(fontTagCode, font);
    movie.tag(withAlpha ? swf::kDefineText2 : swf::kDefineText,
              swf::defineText(2, {0, px(100), 0, px(100)}, textMatrix, records, withAlpha));
    movie.placeObject(1, 2, placement).showFrame();
    return movie.finish();
}

// Whether the pixels inside [x0, x1) × [y0, y1) have `color` and the ring just outside does not.
void expectBlock(const Image& image, int x0, int y0, int x1, int y1, swf::Color color)
{
    for (int y = y0 + 1; y < y1 - 1; y += 2)
        for (int x = x0 + 1; x < x1 - 1; x += 2)
            ASSERT_TRUE(near(image.at(x, y), color)) << x << "," << y << " " << image.at(x, y);
    for (int x = x0 + 1; x < x1 - 1; x += 2) {
        EXPECT_TRUE(near(image.at(x, y0 - 2), kWhite)) << x << " above " << image.at(x, y0 - 2);
        EXPECT_TRUE(near(image.at(x, y1 + 1), kWhite)) << x << " below " << image.at(x, y1 + 1);
    }
    EXPECT_TRUE(near(image.at(x0 - 2, (y0 + y1) / 2), kWhite));
    EXPECT_TRUE(near(image.at(x1 + 1, (y0 + y1) / 2), kWhite));
}

TEST(TextTest, GlyphsAreDrawnAtThePenInTheirHeightForEveryFontVersion)
{
    // DefineFont3 stores twentieths of a font unit; the same glyph must come out the same size.
    for (int version = 1; version <= 3; ++version) {
        SCOPED_TRACE(version);
        const std::vector<swf::Glyph> glyphs{block('A', version == 3 ? 20 : 1)};
        const swf::Bytes font = version == 1 ? swf::defineFont(1, glyphs) : fontTag(version, glyphs);
        // 1024 font units at a height of 20 px: the block is 10 px wide and 15 px tall.
        const Image image = renderMovie(textMovie(font, fontCode(version), {record(px(20), kRed, px(20), px(50), {{0, 0}})}),
                                        100, 100);
        expectBlock(image, 20, 35, 30, 50, kRed);
    }
}

TEST(TextTest, AdvancesMoveThePenAndLaterRecordsContinueFromIt)
{
    swf::TextRecord second;
    second.color = kBlue;
    second.glyphs = {{0, 0}};
    const Image image = renderMovie(
        textMovie(fontTag(2, {block('A')}), swf::kDefineFont2, {record(px(20), kRed, px(10), px(50), {{0, px(30)}, {0, px(25)}}), second}),
        100, 100);
    expectBlock(image, 10, 35, 20, 50, kRed);
    expectBlock(image, 40, 35, 50, 50, kRed);
    expectBlock(image, 65, 35, 75, 50, kBlue);
}

TEST(TextTest, TextMatrixThenPlacementMatrix)
{
    const Image image = renderMovie(textMovie(fontTag(2, {block('A')}), swf::kDefineFont2,
                                              {record(px(10), kRed, 0, 0, {{0, 0}})}, false,
                                              swf::Matrix::translate(px(10), px(20)), swf::Matrix::scale(2, 2)),
                                    100, 100);
    // Glyph 5 × 7.5 px at (10, 20) before the placement doubles everything.
    expectBlock(image, 20, 25, 30, 40, kRed);
}

TEST(TextTest, Text2ColourAlphaAndTheColourTransform)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.tag(swf::kDefineFont2, fontTag(2, {block('A')}));
    movie.tag(swf::kDefineText2, swf::defineText(2, {0, px(100), 0, px(100)}, {},
                                                 {record(px(40), {0, 0, 255, 128}, px(10), px(60), {{0, 0}})}, true));
    swf::Place place;
    place.character = 2;
    place.depth = 1;
    place.colorTransform = swf::ColorTransform{256, 256, 256, 256, 0, 255, 0, 0};
    movie.place(place).showFrame();
    const Image image = renderMovie(movie.finish(), 100, 100);
    // Half-transparent blue turned cyan, over white.
    EXPECT_TRUE(near(image.at(15, 45), {127, 255, 255}, 3)) << image.at(15, 45);
}

TEST(TextTest, OverlappingContoursOfOneGlyphStayFilled)
{
    const Image image = renderMovie(
        textMovie(fontTag(2, {overlapping('A')}), swf::kDefineFont2, {record(px(40), kRed, px(10), px(60), {{0, 0}})}),
        100, 100);
    // The overlap of the two squares: (10 + 15 .. 10 + 20, 60 - 20 .. 60 - 10).
    EXPECT_TRUE(near(image.at(27, 45), kRed)) << image.at(27, 45);
    EXPECT_TRUE(near(image.at(35, 55), kRed));
    EXPECT_TRUE(near(image.at(35, 33), kWhite));
}

TEST(TextTest, HostileGlyphsAndFontsAreSkipped)
{
    swf::TextRecord notAFont = record(px(20), kRed, px(60), px(90), {{0, 0}});
    notAFont.font = 2;  // the text itself
    swf::TextRecord missing = record(px(20), kRed, px(60), px(30), {{0, 0}});
    missing.font = 7;
    const auto tall = record(65535, kRed, px(200), px(90), {{0, 0}});
    const auto far = record(px(20), kRed, px(200), px(90), {{0, 1 << 30}, {0, 1 << 30}, {0, 1 << 30}});
    swf::TextRecord afterFar;
    afterFar.glyphs = {{0, 0}};
    const Image image = renderMovie(textMovie(fontTag(2, {block('A')}), swf::kDefineFont2,
                                              {record(px(20), kRed, px(10), px(50), {{5, px(20)}, {1000, px(20)}, {0, 0}}),
                                               notAFont, missing, tall, far, afterFar}),
                                    100, 100);
    // Indices past the glyph count draw nothing but still advance the pen.
    expectBlock(image, 50, 35, 60, 50, kRed);
    EXPECT_TRUE(near(image.at(65, 80), kWhite));
    EXPECT_TRUE(near(image.at(65, 25), kWhite));
}

TEST(TextTest, FontTablesPointingOutsideTheTagAreHarmless)
{
    const std::vector<swf::Glyph> glyphs{block('A'), block('B')};
    swf::Bytes font = fontTag(2, glyphs);
    // Offsets start after id, flags, language, name length, "Test" and the glyph count.
    const std::size_t offsets = 2 + 1 + 1 + 1 + 4 + 2;
    const std::vector<std::pair<std::size_t, std::uint8_t>> damages = {
        {offsets + 1, 0xFF},      // first glyph far past the end
        {offsets + 2, 0x01},      // second glyph before the first
        {offsets + 5, 0xFF},      // code table past the end
        {offsets - 1, 0xFF},      // more glyphs claimed than there are offsets
    };
    for (const auto& [at, value] : damages) {
        SCOPED_TRACE(at);
        swf::Bytes damaged = font;
        damaged[at] = value;
        renderMovie(textMovie(damaged, swf::kDefineFont2, {record(px(20), kRed, px(10), px(50), {{0, 0}, {1, 0}})}), 100, 100);
    }
}

swf::EditText field(std::optional<swf::Align> align, const std::string& text)
{
    swf::EditText f;
    f.bounds = {px(10), px(90), px(10), px(90)};
    f.font = 1;
    f.height = px(20);
    f.color = kRed;
    f.align = align;
    f.text = text;
    return f;
}

Image renderField(const swf::EditText& f, const swf::Bytes& font, SystemFont* system = nullptr, int version = 8)
{
    swf::Movie movie(100, 100, 12, version);
    movie.background(kWhite);
    movie.tag(swf::kDefineFont2, font);
    movie.tag(swf::kDefineEditText, swf::defineEditText(2, f));
    movie.placeObject(1, 2).showFrame();
    Player player;
    player.setSystemFont(system);
    EXPECT_EQ(player.load(movie.finish()), LoadResult::Ok);
    return render(player, 100, 100);
}

TEST(TextTest, EditTextAlignsItsLinesWithinTheBoundsAndMargins)
{
    // Field 10..90 px, two pixels of gutter; the glyph 10 px wide, with a 12.5 px advance that
    // counts as its width. Ascent 800/1024 of 20 px puts the baseline at 10 + 2 + 15.6.
    struct Case {
        std::optional<swf::Align> align;
        std::uint16_t leftMargin;
        int left;
    };
    const Case cases[] = {
        {std::nullopt, 0, 12},
        {swf::Align::Left, px(5), 17},
        {swf::Align::Right, 0, 76},
        {swf::Align::Center, 0, 44},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        swf::EditText f = field(c.align, "A");
        f.leftMargin = c.leftMargin;
        const Image image = renderField(f, fontTag(2, {block('A')}));
        EXPECT_TRUE(near(image.at(c.left + 1, 22), kRed)) << image.at(c.left + 1, 22);
        EXPECT_TRUE(near(image.at(c.left + 8, 22), kRed)) << image.at(c.left + 8, 22);
        EXPECT_TRUE(near(image.at(c.left - 2, 22), kWhite));
        EXPECT_TRUE(near(image.at(c.left + 11, 22), kWhite));
    }
}

TEST(TextTest, EditTextWrapsWordsAndBreaksLinesWhenMultiline)
{
    // Each line is 20 px apart (ascent + descent of the layout); five glyphs fit on a line.
    struct Case {
        const char* text;
        bool wordWrap;
        bool multiline;
        std::vector<std::pair<int, int>> ink;
        std::vector<std::pair<int, int>> blank;
    };
    const Case cases[] = {
        {"AAA AAA", true, false, {{13, 22}, {13, 42}, {40, 42}}, {{62, 22}}},
        {"AAA AAA", false, false, {{13, 22}, {63, 22}}, {{13, 42}}},
        {"A\rA", false, true, {{13, 22}, {13, 42}}, {{26, 22}}},
        {"A\rA", false, false, {{13, 22}, {38, 22}}, {{13, 42}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(c.wordWrap ? " wrap" : "") + (c.multiline ? " multiline" : ""));
        swf::EditText f = field(swf::Align::Left, c.text);
        f.wordWrap = c.wordWrap;
        f.multiline = c.multiline;
        const Image image = renderField(f, fontTag(2, {block('A'), block(' ')}));
        for (const auto& [x, y] : c.ink)
            EXPECT_TRUE(near(image.at(x, y), kRed)) << x << "," << y << " " << image.at(x, y);
        for (const auto& [x, y] : c.blank)
            EXPECT_TRUE(near(image.at(x, y), kWhite)) << x << "," << y << " " << image.at(x, y);
    }
}

// Draws every character as a square of half the EM, an EM apart, and counts what was asked.
class FakeSystemFont : public SystemFont {
public:
    bool glyph(char32_t character, double height, SystemGlyph& out) override
    {
        ++requests[character];
        if (character == U'?')
            return false;
        const double s = height / 2;
        const Point corners[] = {{0, -s}, {s, -s}, {s, 0}, {0, 0}};
        for (int i = 0; i < 4; ++i)
            out.path.push_back({corners[i], {}, corners[(i + 1) % 4], false});
        out.advance = height;
        return true;
    }
    SystemFontMetrics metrics(double height) override { return {height, height / 4}; }

    std::map<char32_t, int> requests;
};

TEST(TextTest, EditTextTakesMissingCharactersFromTheSystemFont)
{
    FakeSystemFont system;
    swf::EditText f = field(swf::Align::Left, "A\xE4\xB8\xAD?\xE4\xB8\xAD");
    const swf::Bytes font = fontTag(2, {block('A')});
    const Image image = renderField(f, font, &system);
    // The embedded "A" (12.5 px advance), then 中 from the system font (10 px square, 20 px advance);
    // "?" it cannot draw takes no room. The font's own ascent still sets the baseline.
    EXPECT_TRUE(near(image.at(13, 22), kRed));
    EXPECT_TRUE(near(image.at(26, 24), kRed)) << image.at(26, 24);
    EXPECT_TRUE(near(image.at(46, 24), kRed)) << image.at(46, 24);
    EXPECT_TRUE(near(image.at(40, 24), kWhite)) << image.at(40, 24);
    EXPECT_EQ(system.requests.count(U'A'), 0u);
    EXPECT_EQ(system.requests[U'中'], 1);

    // Without a system font the same field draws only what the movie has.
    const Image plain = renderField(f, font);
    EXPECT_TRUE(near(plain.at(13, 22), kRed));
    EXPECT_TRUE(near(plain.at(26, 24), kWhite));
}

TEST(TextTest, EditTextWithoutAnyFontUsesTheSystemFontAndDrawsItsBorder)
{
    FakeSystemFont system;
    swf::EditText f = field(swf::Align::Left, "<p>A&amp;</p>");
    f.font.reset();
    f.html = true;
    f.border = true;
    f.color.reset();
    const Image image = renderField(f, fontTag(2, {}), &system);
    // Default height 12 px: squares of 6 px from x 12, baseline 10 + 2 + 12.
    EXPECT_TRUE(near(image.at(14, 21), kBlack)) << image.at(14, 21);
    EXPECT_TRUE(near(image.at(26, 21), kBlack)) << image.at(26, 21);
    EXPECT_TRUE(near(image.at(10, 50), kBlack)) << image.at(10, 50);
    EXPECT_TRUE(near(image.at(50, 50), kWhite));
    EXPECT_TRUE(near(image.at(5, 50), kWhite));
    EXPECT_EQ(system.requests.count(U'<'), 0u);
    EXPECT_EQ(system.requests.count(U'&'), 1u);
}

TEST(TextTest, HtmlIsReducedToPlainText)
{
    const std::pair<std::u32string, std::u32string> cases[] = {
        {U"<p align=\"left\"><font face=\"x\">Hi</font></p>", U"Hi"},
        {U"a<br>b<BR/>c", U"a\nb\nc"},
        {U"<p>one</p><p>two</p>", U"one\ntwo"},
        {U"&lt;&gt;&amp;&quot;&apos;&#65;&#x4E2D;", U"<>&\"'A中"},
        {U"&bogus; & &#xFFFFFFFFF;", U"&bogus; & &#xFFFFFFFFF;"},
        {U"cut <b", U"cut "},
    };
    for (const auto& [html, plain] : cases)
        EXPECT_EQ(stripHtml(html), plain);
}

TEST(TextTest, TextIsUtf8FromVersion6AndBytesBefore)
{
    EXPECT_EQ(decodeText("a\xE4\xB8\xAD", 6), U"a中");
    EXPECT_EQ(decodeText("a\xE4\xB8\xAD", 5), std::u32string({U'a', 0xE4, 0xB8, 0xAD}));
    // Broken sequences keep their bytes rather than vanish or swallow what follows.
    EXPECT_EQ(decodeText("\xE4\xB8x\xFF", 8), std::u32string({0xE4, 0xB8, U'x', 0xFF}));
}

TEST(TextTest, DefineFontInfoGivesAFirstVersionFontItsCodes)
{
    const std::vector<swf::Glyph> glyphs{block('B'), block(0x4E2D)};
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        swf::Movie movie(100, 100);
        movie.background(kWhite);
        movie.tag(swf::kDefineFont, swf::defineFont(1, glyphs));
        movie.tag(swf::kDefineFontInfo, swf::defineFontInfo(1, "Old", glyphs, wide));
        swf::EditText f = field(swf::Align::Left, wide ? "\xE4\xB8\xAD" : "B");
        movie.tag(swf::kDefineEditText, swf::defineEditText(2, f));
        movie.placeObject(1, 2).showFrame();
        const Image image = renderMovie(movie.finish(), 100, 100);
        // No layout: the baseline comes from the default ascent of 0.9 EM.
        EXPECT_TRUE(near(image.at(15, 25), kRed)) << image.at(15, 25);
    }
}

}
}
