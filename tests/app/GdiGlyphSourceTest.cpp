#include <gtest/gtest.h>

#include <algorithm>

#include "app/GdiGlyphSource.h"

namespace {

struct Extent {
    double left = 1e9;
    double right = -1e9;
    double top = 1e9;
    double bottom = -1e9;
};

Extent ExtentOf(const movie::SystemGlyph& glyph)
{
    Extent e;
    for (const auto& s : glyph.path)
        for (const movie::Point& p : {s.from, s.to}) {
            e.left = std::min(e.left, p.x);
            e.right = std::max(e.right, p.x);
            e.top = std::min(e.top, p.y);
            e.bottom = std::max(e.bottom, p.y);
        }
    return e;
}

TEST(GdiGlyphSourceTest, ChineseAndLatinGlyphsHaveOutlinesAboveTheBaselineAndSensibleAdvances)
{
    GdiGlyphSource source;
    constexpr double kHeight = 100;
    struct Case {
        char32_t character;
        double minAdvance;
        double maxAdvance;
    };
    for (const Case& c : {Case{U'\u4E2D', 80, 120}, Case{U'A', 40, 90}}) {
        SCOPED_TRACE(static_cast<int>(c.character));
        movie::SystemGlyph glyph;
        ASSERT_TRUE(source.glyph(c.character, kHeight, glyph));
        ASSERT_GT(glyph.path.size(), 3u);
        EXPECT_GE(glyph.advance, c.minAdvance);
        EXPECT_LE(glyph.advance, c.maxAdvance);
        // Drawn downwards from the baseline's point of view: the ink sits mostly above y = 0.
        const Extent e = ExtentOf(glyph);
        EXPECT_LT(e.top, -kHeight * 0.5);
        EXPECT_LT(e.bottom, kHeight * 0.25);
        EXPECT_GT(e.right - e.left, kHeight * 0.3);
        EXPECT_LE(e.right, glyph.advance + 1);
    }
    const movie::SystemFontMetrics metrics = source.metrics(kHeight);
    EXPECT_GT(metrics.ascent, kHeight * 0.6);
    EXPECT_GT(metrics.descent, 0);
}

TEST(GdiGlyphSourceTest, ContoursAreClosed)
{
    GdiGlyphSource source;
    movie::SystemGlyph glyph;
    ASSERT_TRUE(source.glyph(U'O', 64, glyph));
    // Each segment starts where another ends: no gap for the fill to leak through.
    for (const auto& s : glyph.path) {
        const bool joined = std::any_of(glyph.path.begin(), glyph.path.end(), [&](const movie::PathSegment& o) {
            return o.to.x == s.from.x && o.to.y == s.from.y;
        });
        EXPECT_TRUE(joined);
    }
}

}
