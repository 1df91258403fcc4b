#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/FileStatus.h"
#include "framework/Gdi.h"
#include "framework/Image.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"

namespace {
bool Near(uint32_t actual, uint32_t expected)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > 2)
            return false;
    }
    return true;
}
}

TEST(Image, LoadsPngWithAlphaAndBlendsIt)
{
    TempDir dir;
    // Already premultiplied: red 100 at alpha 128, and a fully transparent pixel.
    ASSERT_TRUE(WritePng(dir.File(L"a.png"), 2, 1, {0x80640000u, 0x00000000u}, true));
    CImage image;
    ASSERT_TRUE(image.Load(dir.File(L"a.png")));
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetHeight(), 1);
    EXPECT_EQ(image.GetBPP(), 32);
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetTransparentColor(), -1);
    const auto* bits = static_cast<const uint8_t*>(image.GetBits());
    EXPECT_EQ(bits[2], 100);
    EXPECT_EQ(bits[3], 128);

    PixelCanvas canvas(4, 2, RGB(255, 255, 255));
    ASSERT_TRUE(image.Draw(canvas.Dc(), RECT{0, 0, 4, 2}));
    EXPECT_PRED2(Near, canvas.At(0, 0), 0xE37F7Fu);
    EXPECT_PRED2(Near, canvas.At(3, 1), 0xFFFFFFu);
}

TEST(Image, OpaqueImagesAreCopiedAndStretched)
{
    const std::string bmp = MakeBmp24(2, 1, {0xFF0000u, 0x0000FFu});
    CImage image;
    ASSERT_TRUE(image.LoadFromMemory(bmp.data(), bmp.size()));
    EXPECT_EQ(image.GetBPP(), 24);
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_GE(image.GetPitch(), 6);
    PixelCanvas canvas(4, 4, RGB(0, 255, 0));
    ASSERT_TRUE(image.Draw(canvas.Dc(), RECT{0, 0, 4, 4}, RECT{0, 0, 2, 1}));
    EXPECT_EQ(canvas.At(0, 3), 0xFF0000u);
    EXPECT_EQ(canvas.At(3, 0), 0x0000FFu);
}

TEST(Image, BadInputFailsQuietly)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"bad.png"), "\x89PNG\r\n\x1a\nnot really"));
    CImage image;
    EXPECT_FALSE(image.Load(dir.File(L"bad.png")));
    EXPECT_FALSE(image.Load(dir.File(L"missing.png")));
    EXPECT_FALSE(image.Load(L""));
    EXPECT_FALSE(image.LoadFromMemory("xyz", 3));
    EXPECT_TRUE(image.IsNull());
    PixelCanvas canvas(1, 1, RGB(1, 2, 3));
    EXPECT_FALSE(image.Draw(canvas.Dc(), RECT{0, 0, 1, 1}));
}

TEST(Gdi, WrappersReleaseEveryHandle)
{
    const int before = LiveGdiWrappers();
    HBITMAP kept = nullptr;
    const std::string bmp = MakeBmp24(3, 3, std::vector<uint32_t>(9, 0x123456u));
    for (int i = 0; i < 200; ++i) {
        CImage image;
        ASSERT_TRUE(image.LoadFromMemory(bmp.data(), bmp.size()));
        PixelCanvas canvas(3, 3, 0);
        image.Draw(canvas.Dc(), RECT{0, 0, 3, 3});
        CFont font(CreateFontW(14, 0, 0, 0, 200, 0, 0, 0, 134, 0, 0, 0, 0, L"宋体"));
        CBrush moved;
        moved = CBrush(CreateSolidBrush(RGB(1, 2, 3)));
        kept = image.GetHBITMAP();
        EXPECT_EQ(LiveGdiWrappers(), before + 3);
    }
    EXPECT_EQ(LiveGdiWrappers(), before);
    EXPECT_EQ(GetObjectType(kept), 0u);
}

TEST(FileStatus, ReportsExistenceAndSize)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File(L"f.swf"), "12345"));
    CFileStatus status;
    ASSERT_TRUE(GetFileStatus(dir.File(L"f.swf"), status));
    EXPECT_EQ(status.size, 5u);
    EXPECT_FALSE(GetFileStatus(dir.File(L"none.swf"), status));
    EXPECT_FALSE(GetFileStatus(L"", status));
}
