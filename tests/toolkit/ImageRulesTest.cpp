#include <gtest/gtest.h>

#include <memory>

#include "skin/Definitions.h"
#include "skin/GraphMap.h"
#include "support/ErrorBoxRecorder.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"
#include "toolkit/DlgImages.h"
#include "toolkit/ImageRules.h"
#include "toolkit/PictureSet.h"

namespace {
// One-pixel PNG images of known colours in a temporary skin folder.
class SkinImages : public testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& [name, colour] : {std::pair{L"base.png", 0xFF0000FFu},
                                          std::pair{L"active.png", 0xFF00FF00u},
                                          std::pair{L"press.png", 0xFFFF0000u},
                                          std::pair{L"disable.png", 0xFF808080u}})
            ASSERT_TRUE(WritePng(m_dir.File(name), 1, 1, {colour}, true));
    }
    std::wstring Prefix() const { return m_dir.Path(); }
    static uint32_t Colour(const CImage* image)
    {
        const auto* p = static_cast<const uint8_t*>(image->GetBits());
        return (p[2] << 16) | (p[1] << 8) | p[0];
    }

    TempDir m_dir;
};

QmOneStateBmp Entry(const wchar_t* base, const wchar_t* active, const wchar_t* press,
                    const wchar_t* disable)
{
    return QmOneStateBmp{base, active, press, disable};
}
}

TEST_F(SkinImages, SharedImagesComeFromTheMapAndAreNeverDeleted)
{
    auto shared = std::make_unique<CImage>();
    CImage* raw = shared.get();
    const std::wstring path = Prefix() + L"shared-only-in-map.png";
    ASSERT_TRUE(theGraphMap->AddImage(path, std::move(shared)));
    EXPECT_EQ(AcquireImage(path), raw);
    ReleaseImage(raw);
    EXPECT_EQ(theGraphMap->FindImage(path), raw);

    CImage* own = AcquireImage(Prefix() + L"base.png");
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(theGraphMap->OwnsImage(own));
    ReleaseImage(own);
    ReleaseImage(nullptr);
}

TEST_F(SkinImages, PictureSetLoadingRules)
{
    struct Case {
        const char* name;
        std::vector<QmOneStateBmp> entries;
        size_t sets;
        std::vector<std::wstring> messages;
    };
    const std::wstring missing = L"Error in LoadImageFile " + Prefix() + L"nope.png";
    const std::vector<Case> cases = {
        {"base and press only", {Entry(L"base.png", L"", L"press.png", L"")}, 1, {}},
        {"press is required", {Entry(L"base.png", L"", L"", L"")}, 0,
         {L"Error in LoadImageFile " + Prefix(), L"Error! 无法载入文件"}},
        {"second of three fails", {Entry(L"base.png", L"", L"press.png", L""),
                                   Entry(L"base.png", L"nope.png", L"press.png", L""),
                                   Entry(L"base.png", L"", L"press.png", L"")},
         1, {missing, L"Error! 无法载入文件nope.png"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ErrorBoxRecorder boxes;
        std::vector<PictureSet> sets;
        LoadPictureSets(Prefix(), c.entries, sets);
        EXPECT_EQ(sets.size(), c.sets);
        EXPECT_EQ(boxes.Texts(), c.messages);
        ReleasePictureSets(sets);
    }
}

TEST_F(SkinImages, ImageForEachDrawState)
{
    std::vector<PictureSet> full;
    std::vector<PictureSet> minimal;
    LoadPictureSets(Prefix(), {Entry(L"base.png", L"active.png", L"press.png", L"disable.png")}, full);
    LoadPictureSets(Prefix(), {Entry(L"base.png", L"", L"press.png", L"")}, minimal);
    ASSERT_EQ(full.size(), 1u);
    ASSERT_EQ(minimal.size(), 1u);
    struct Case {
        const std::vector<PictureSet>* sets;
        unsigned current;
        bool checked;
        ButtonLook look;
        uint32_t colour;
    };
    const Case cases[] = {
        {&full, 0, false, ButtonLook::Normal, 0x0000FF},
        {&full, 0, false, ButtonLook::Hover, 0x00FF00},
        {&full, 0, true, ButtonLook::Hover, 0x00FF00},
        {&full, 0, false, ButtonLook::Pressed, 0xFF0000},
        {&full, 0, false, ButtonLook::Disabled, 0x808080},
        {&full, 7, false, ButtonLook::Pressed, 0xFF0000},
        {&minimal, 0, false, ButtonLook::Hover, 0x0000FF},
        {&minimal, 0, true, ButtonLook::Hover, 0xFF0000},
        {&minimal, 0, false, ButtonLook::Disabled, 0x0000FF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Colour(ImageForState(*c.sets, c.current, c.checked, c.look)), c.colour);
    EXPECT_EQ(ImageForState({}, 0, false, ButtonLook::Normal), nullptr);
    ReleasePictureSets(full);
    ReleasePictureSets(minimal);
}

TEST_F(SkinImages, DialogBackgroundLoadsFromTheDefinitionDirectoryUnpremultiplied)
{
    ASSERT_TRUE(WritePng(m_dir.File(L"bk.png"), 1, 1, {0x80C80000u}, true));
    ASSERT_TRUE(WriteUtf16(m_dir.File(L"resource.data"), L""));
    CurrentDirectoryScope scope(m_dir.Path());
    UnloadDefinitions();
    FindDefinition(L"any", L"QmDialogInitDef");
    ASSERT_EQ(ResourceDir(), m_dir.Path());

    QmDialogInitDef def;
    QmDlgImages images;
    EXPECT_TRUE(images.LoadFromDef(def));
    EXPECT_TRUE(images.Background().IsNull());
    def.fnBackgroundBmp = L"bk.png";
    ASSERT_TRUE(images.LoadFromDef(def));
    EXPECT_EQ(static_cast<const uint8_t*>(images.Background().GetBits())[2], 200);
    EXPECT_TRUE(images.Slot(9).IsNull());

    ErrorBoxRecorder boxes;
    def.fnBackgroundBmp = L"none.png";
    EXPECT_FALSE(images.LoadFromDef(def));
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{
                                 L"Error in QmDlgImages::LoadFromDef: 图片文件无法载入. " +
                                 m_dir.Path() + L"none.png"});
    UnloadDefinitions();
}
