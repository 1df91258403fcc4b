#include <gtest/gtest.h>

#include <memory>

#include "skin/GraphMap.h"
#include "skin/ImageFile.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"

namespace {
struct PixelBytes {
    int blue, green, red, alpha;
};

PixelBytes FirstPixel(const CImage& image)
{
    const auto* p = static_cast<const uint8_t*>(image.GetBits());
    return {p[0], p[1], p[2], image.GetBPP() == 32 ? p[3] : 255};
}
}

TEST(LoadImageFile, PremultipliesOnlyThirtyTwoBitImagesNamedPng)
{
    struct Case {
        const wchar_t* name;
        bool alpha;
        int expectedRed;
    };
    // The same pixel (red 200 at alpha 128, or opaque red 200) under different names.
    const Case cases[] = {
        {L"btn.png", true, 100},
        {L"BTN.PNG", true, 200},
        {L"btnpng", true, 100},
        {L"x.bmp", true, 200},
        {L"rgb.png", false, 200},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_TRUE(WritePng(dir.File(c.name), 1, 1, {c.alpha ? 0x80C80000u : 0xFFC80000u}, c.alpha));
        std::unique_ptr<CImage> image(LoadImageFile(dir.File(c.name)));
        ASSERT_NE(image, nullptr);
        const PixelBytes pixel = FirstPixel(*image);
        EXPECT_EQ(pixel.red, c.expectedRed);
        EXPECT_EQ(pixel.alpha, c.alpha ? 128 : 255);
    }
}

TEST(LoadImageFile, TransparentPixelBecomesZero)
{
    TempDir dir;
    ASSERT_TRUE(WritePng(dir.File(L"t.png"), 1, 1, {0x00FFFFFFu}, true));
    std::unique_ptr<CImage> image(LoadImageFile(dir.File(L"t.png")));
    ASSERT_NE(image, nullptr);
    const PixelBytes pixel = FirstPixel(*image);
    EXPECT_EQ(pixel.red + pixel.green + pixel.blue + pixel.alpha, 0);
}

TEST(LoadImageFile, FailuresReportThePathExceptWhenEmpty)
{
    TempDir dir;
    ErrorBoxRecorder boxes;
    EXPECT_EQ(LoadImageFile(dir.File(L"missing.png")), nullptr);
    EXPECT_EQ(LoadImageFile(L""), nullptr);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::wstring>{L"Error in LoadImageFile " + dir.File(L"missing.png")});
}

TEST(GraphMap, StartsEmptyAndOwnsWhatItHolds)
{
    EXPECT_EQ(theGraphMap->FindImage(L"skin\\logo.png"), nullptr);
    CImage outside;
    EXPECT_FALSE(theGraphMap->OwnsImage(&outside));
    EXPECT_FALSE(theGraphMap->OwnsImage(nullptr));

    CGraphMap map;
    auto image = std::make_unique<CImage>();
    CImage* raw = image.get();
    EXPECT_TRUE(map.AddImage(L"a.png", std::move(image)));
    EXPECT_FALSE(map.AddImage(L"a.png", std::make_unique<CImage>()));
    EXPECT_EQ(map.FindImage(L"a.png"), raw);
    EXPECT_EQ(map.FindImage(L"A.png"), nullptr);
    EXPECT_TRUE(map.OwnsImage(raw));
}
