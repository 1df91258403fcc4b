#include <gtest/gtest.h>

#include <optional>

#include "support/MovieTestSupport.h"
#include "support/SwfBitmapWriter.h"

namespace movie::test {
namespace {

struct Tag {
    std::uint16_t code = 0;
    swf::Bytes body;
};

struct Scene {
    std::vector<Tag> tags;
    swf::Fill fill;
    int width = 40;  // stage and filled rectangle, in pixels
    int height = 40;
    int version = 8;
    swf::Color background = kBlack;
    std::optional<swf::ColorTransform> colors;
    std::optional<swf::Fill> underlay;  // drawn full-stage below the bitmap
};

swf::Bytes build(const Scene& scene)
{
    swf::Movie movie(scene.width, scene.height, 12, scene.version);
    movie.background(scene.background);
    for (const auto& tag : scene.tags)
        movie.tag(tag.code, tag.body);
    if (scene.underlay) {
        swf::ShapeBuilder under;
        under.fill1(under.addFill(*scene.underlay)).rectangle(0, 0, px(scene.width), px(scene.height));
        movie.defineShape(101, under).placeObject(1, 101);
    }
    swf::ShapeBuilder shape;
    shape.fill1(shape.addFill(scene.fill)).rectangle(0, 0, px(scene.width), px(scene.height));
    movie.defineShape(100, shape);
    swf::Place place;
    place.depth = 2;
    place.character = 100;
    place.colorTransform = scene.colors;
    movie.place(place).showFrame();
    return movie.finish();
}

Image draw(const Scene& scene) { return renderMovie(build(scene), scene.width, scene.height); }

swf::Image solidImage(int width, int height, swf::Color color)
{
    return {width, height, std::vector<swf::Color>(static_cast<std::size_t>(width * height), color)};
}

// `pixelsPerTexel` device pixels a bitmap pixel, bitmap corner at (x, y) pixels.
swf::Matrix placed(double pixelsPerTexel, double x = 0, double y = 0)
{
    return swf::Matrix::scale(20 * pixelsPerTexel, 20 * pixelsPerTexel, px(x), px(y));
}

constexpr swf::Color kHalfWhite{255, 255, 255, 128};
constexpr swf::Color kYellow{255, 255, 0};

TEST(BitmapTest, LosslessFormatsKeepTheirColours)
{
    struct Case {
        const char* name;
        std::uint16_t code;
        int format;
        bool alpha;
    };
    const Case cases[] = {
        {"paletted", swf::kDefineBitsLossless, 3, false},   {"15-bit", swf::kDefineBitsLossless, 4, false},
        {"24-bit", swf::kDefineBitsLossless, 5, false},     {"paletted alpha", swf::kDefineBitsLossless2, 3, true},
        {"32-bit alpha", swf::kDefineBitsLossless2, 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const swf::Color last = c.alpha ? kHalfWhite : kYellow;
        const swf::Image image{2, 2, {kRed, kGreen, kBlue, last}};
        const swf::Bytes body = c.format == 3 ? swf::palettedBody(1, 2, 2, image.pixels, {0, 1, 2, 3}, c.alpha)
                                              : swf::losslessBody(1, image, c.format, c.alpha);
        const Image out = draw({{{c.code, body}}, swf::bitmapFill(1, placed(20), false, false)});
        EXPECT_TRUE(near(out.at(10, 10), kRed)) << out.at(10, 10);
        EXPECT_TRUE(near(out.at(30, 10), kGreen)) << out.at(30, 10);
        EXPECT_TRUE(near(out.at(10, 30), kBlue)) << out.at(10, 30);
        // Half-transparent white over black.
        const swf::Color expected = c.alpha ? swf::Color{128, 128, 128} : kYellow;
        EXPECT_TRUE(near(out.at(30, 30), expected)) << out.at(30, 30);
    }
}

TEST(BitmapTest, PaletteIndicesPastTheTableDrawNothing)
{
    const swf::Bytes body = swf::palettedBody(1, 2, 2, {kRed, kGreen}, {0, 1, 2, 255}, false);
    const Image out = draw({{{swf::kDefineBitsLossless, body}}, swf::bitmapFill(1, placed(20), false, false),
                            40, 40, 8, kWhite});
    EXPECT_TRUE(near(out.at(10, 10), kRed));
    EXPECT_TRUE(near(out.at(30, 10), kGreen));
    EXPECT_TRUE(near(out.at(10, 30), kWhite)) << out.at(10, 30);
    EXPECT_TRUE(near(out.at(30, 30), kWhite)) << out.at(30, 30);
}

TEST(BitmapTest, JpegTagVariantsDecode)
{
    constexpr swf::Color kBrick{200, 60, 30};
    const swf::Image image = solidImage(16, 16, kBrick);
    const swf::Bytes jpeg = swf::encodeJpeg(image);
    const swf::SplitJpeg split = swf::splitJpeg(jpeg);
    swf::Bytes strayHeader = jpeg;
    strayHeader.insert(strayHeader.begin(), {0xFF, 0xD9, 0xFF, 0xD8});
    struct Case {
        const char* name;
        std::vector<Tag> tags;
    };
    const Case cases[] = {
        {"JPEG2", {{swf::kDefineBitsJpeg2, swf::jpegBody(1, jpeg)}}},
        {"JPEG2 with the old stray end-start header", {{swf::kDefineBitsJpeg2, swf::jpegBody(1, strayHeader)}}},
        {"tables and image apart",
         {{swf::kJpegTables, split.tables}, {swf::kDefineBits, swf::jpegBody(1, split.image)}}},
        {"JPEG3", {{swf::kDefineBitsJpeg3, swf::jpeg3Body(1, jpeg, image)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Image out = draw({c.tags, swf::bitmapFill(1, placed(2), false, true)});
        EXPECT_TRUE(near(out.at(16, 16), kBrick, 6)) << out.at(16, 16);
    }
}

TEST(BitmapTest, JpegAlphaPlaneBlendsOverWhatIsBelow)
{
    swf::Image image = solidImage(16, 16, kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            image.at(x, y).a = 64;
    Scene scene{{{swf::kDefineBitsJpeg3, swf::jpeg3Body(1, swf::encodeJpeg(image), image)}},
                swf::bitmapFill(1, placed(5), false, false), 80, 40};
    scene.underlay = swf::Fill::linear(swf::Matrix::scale(80.0 * 20 / 32768, 1, px(40), 0), {{0, kBlack}, {255, kWhite}});
    const Image out = draw(scene);
    Scene plain = scene;
    plain.fill = swf::Fill::solid({0, 0, 0, 0});
    const Image below = draw(plain);

    EXPECT_TRUE(near(out.at(20, 20), kRed, 6)) << out.at(20, 20);
    for (int x : {45, 60, 75}) {
        SCOPED_TRACE(x);
        const Pixel under = below.at(x, 20);
        ASSERT_GT(under.g, 60);  // the gradient really is there
        const Pixel p = out.at(x, 20);
        EXPECT_NEAR(p.r, 255 * 64 / 255 + under.r * 191 / 255, 6);
        EXPECT_NEAR(p.g, under.g * 191 / 255, 6);
        EXPECT_NEAR(p.b, under.b * 191 / 255, 6);
    }
}

TEST(BitmapTest, ClippedFillsStretchTheEdgesWhileRepeatingFillsTile)
{
    // Red and blue bitmap pixels, 10 device pixels each, starting at x = 20.
    const swf::Bytes body = swf::losslessBody(1, {2, 1, {kRed, kBlue}}, 5, false);
    struct Case {
        bool repeat;
        int x;
        swf::Color expected;
    };
    const Case cases[] = {
        {false, 5, kRed}, {false, 25, kRed}, {false, 35, kBlue}, {false, 55, kBlue}, {false, 75, kBlue},
        {true, 5, kRed},   {true, 15, kBlue},  {true, 35, kBlue},  {true, 45, kRed},   {true, 55, kBlue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "repeat " << c.repeat << " x " << c.x);
        const Image out = draw({{{swf::kDefineBitsLossless, body}}, swf::bitmapFill(1, placed(10, 20, 0), c.repeat, false),
                                80, 20});
        EXPECT_TRUE(near(out.at(c.x, 10), c.expected)) << out.at(c.x, 10);
        EXPECT_TRUE(near(out.at(c.x, 0), c.expected)) << "rows beyond the bitmap too";
    }
}

TEST(BitmapTest, SmoothingBlendsNeighboursOnlyWhereTheFileAsksForIt)
{
    const swf::Bytes body = swf::losslessBody(1, {2, 1, {kRed, kBlue}}, 5, false);
    struct Case {
        int version;
        bool smooth;
        bool blended;
    };
    // Files before version 8 cannot ask for unsmoothed fills.
    const Case cases[] = {{8, true, true}, {8, false, false}, {7, true, true}, {7, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " smooth " << c.smooth);
        const Image out = draw({{{swf::kDefineBitsLossless, body}}, swf::bitmapFill(1, placed(10), false, c.smooth),
                                20, 10, c.version});
        // Either side of the edge between the two pixels.
        const Pixel left = out.at(9, 5);
        const Pixel right = out.at(10, 5);
        if (c.blended) {
            EXPECT_NEAR(left.r, 140, 4) << left;
            EXPECT_NEAR(left.b, 115, 4) << left;
            EXPECT_NEAR(right.r, 115, 4) << right;
            EXPECT_NEAR(right.b, 140, 4) << right;
        } else {
            EXPECT_TRUE(near(left, kRed)) << left;
            EXPECT_TRUE(near(right, kBlue)) << right;
        }
        // Clipped fills hold the edge colours towards the outside.
        EXPECT_TRUE(near(out.at(2, 5), kRed)) << out.at(2, 5);
        EXPECT_TRUE(near(out.at(17, 5), kBlue)) << out.at(17, 5);
    }
}

TEST(BitmapTest, ColourTransformAppliesToBitmapPixels)
{
    const swf::Image image{2, 1, {{200, 40, 0, 255}, {0, 0, 255, 128}}};
    Scene scene{{{swf::kDefineBitsLossless2, swf::losslessBody(1, image, 5, true)}},
                swf::bitmapFill(1, placed(10), false, false), 20, 10};
    scene.colors = swf::ColorTransform{128, 256, 256, 256, 0, 100, 0, 0};
    const Image out = draw(scene);
    EXPECT_TRUE(near(out.at(5, 5), {100, 140, 0})) << out.at(5, 5);
    // (0, 100, 255) at half alpha over black.
    EXPECT_TRUE(near(out.at(15, 5), {0, 50, 128})) << out.at(15, 5);

    scene.colors = swf::ColorTransform{256, 256, 256, 0, 0, 0, 0, 0};
    const Image hidden = draw(scene);
    EXPECT_TRUE(near(hidden.at(5, 5), kBlack)) << hidden.at(5, 5);
}

TEST(BitmapTest, FillsNamingNoBitmapDrawNothing)
{
    const swf::Bytes body = swf::losslessBody(1, solidImage(2, 2, kRed), 5, false);
    for (std::uint16_t id : {2, 100}) {
        SCOPED_TRACE(id);
        // Id 100 names a shape, not a bitmap.
        Scene scene{{{swf::kDefineBitsLossless, body}}, swf::bitmapFill(id, placed(20), true, true), 40, 40, 8, kWhite};
        scene.underlay = swf::Fill::solid({0, 0, 0, 0});
        const Image out = draw(scene);
        EXPECT_TRUE(near(out.at(20, 20), kWhite)) << out.at(20, 20);
    }
}

}
}
