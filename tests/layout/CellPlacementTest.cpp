#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "FakeElements.h"
#include "support/RectPrinting.h"
#include "layout/CellPlacement.h"

namespace {

CellPlacement Read(const std::wstring& text, CObject* box = nullptr)
{
    CellPlacement placement;
    const AnchorLookup lookup = [box](const std::wstring& name) {
        return name == L"box" ? box : nullptr;
    };
    EXPECT_TRUE(ReadPlacement(text, lookup, placement)) << text;
    return placement;
}

struct PlacementCase {
    std::wstring text;
    RECT reference;
    SIZE size;
    RECT expected;
};

void ExpectPlacements(const std::vector<PlacementCase>& cases)
{
    for (const PlacementCase& c : cases) {
        const CellPlacement placement = Read(c.text);
        RECT control{500, 500, 500 + c.size.cx, 500 + c.size.cy};
        ASSERT_TRUE(ComputePlacement(c.reference, placement, control)) << c.text;
        EXPECT_EQ(control, c.expected) << c.text << " in " << c.reference;
    }
}

} // namespace

TEST(ReadPlacement, StartsFromTheDefaultsAndAppliesPairsInOrder)
{
    const CellPlacement empty = Read(L"");
    EXPECT_EQ(empty.anchor, nullptr);
    EXPECT_TRUE(empty.inside);
    EXPECT_FALSE(empty.fill);
    EXPECT_FALSE(empty.ratio);
    EXPECT_EQ(empty.pos, atLeftTop);
    EXPECT_EQ(empty.mx + empty.my + empty.mleft + empty.mright + empty.mtop + empty.mbottom, 0);
    EXPECT_EQ(empty.name, L"");

    const CellPlacement p = Read(L"name=play fill=1 inside=FALSE, ratio=TRUE,pos=atLeft, pos=atCenter,"
                                 L"mx=-12,my=5-3,mleft=-,mright=99999999999,mtop=-99999999999,mbottom=007");
    EXPECT_EQ(p.name, L"play");
    EXPECT_TRUE(p.fill);
    EXPECT_FALSE(p.inside);
    EXPECT_TRUE(p.ratio);
    EXPECT_EQ(p.pos, atCenter);
    EXPECT_EQ(p.mx, -12);
    EXPECT_EQ(p.my, 5);
    EXPECT_EQ(p.mleft, 0);
    EXPECT_EQ(p.mright, INT_MAX);
    EXPECT_EQ(p.mtop, INT_MIN);
    EXPECT_EQ(p.mbottom, 7);
}

TEST(ReadPlacement, ResolvesAnchorsWhileReading)
{
    FakePicture box;
    EXPECT_EQ(Read(L"anchor=box", &box).anchor, &box);
    EXPECT_EQ(Read(L"anchor=box, anchor=default", &box).anchor, nullptr);
    EXPECT_EQ(Read(L"anchor=box, anchor=nobody", &box).anchor, nullptr);
}

TEST(ReadPlacement, RejectsUnknownKeysValuesAndBrokenPairs)
{
    for (const std::wstring text :
         {L"mx=1.5", L"pos=left", L"colour=red", L"inside=yes", L"fill=True", L"name", L"mx=",
          L"mx=+5", L"my=a1", L"name=x y", L"name=x,,pos=atTop", L"=5", L"pos=atTop=1", L"ratio=2"}) {
        CellPlacement placement;
        EXPECT_FALSE(ReadPlacement(text, [](const std::wstring&) { return nullptr; }, placement))
            << text;
    }
}

TEST(ComputePlacement, FillsOrKeepsSizeAtTheNinePositionsInside)
{
    const RECT ref{100, 200, 300, 400};
    const std::wstring margins = L",mleft=1,mright=2,mtop=3,mbottom=4";
    ExpectPlacements({
        {L"pos=atLeft" + margins, ref, {20, 10}, {101, 295, 121, 305}},
        {L"pos=atRight" + margins, ref, {20, 10}, {278, 295, 298, 305}},
        {L"pos=atTop" + margins, ref, {20, 10}, {190, 203, 210, 213}},
        {L"pos=atBottom" + margins, ref, {20, 10}, {190, 386, 210, 396}},
        {L"pos=atLeftTop" + margins, ref, {20, 10}, {101, 203, 121, 213}},
        {L"pos=atLeftBottom" + margins, ref, {20, 10}, {101, 386, 121, 396}},
        {L"pos=atRightTop" + margins, ref, {20, 10}, {278, 203, 298, 213}},
        {L"pos=atRightBottom" + margins, ref, {20, 10}, {278, 386, 298, 396}},
        {L"pos=atCenter" + margins, ref, {20, 10}, {190, 295, 210, 305}},
        {L"inside=true,fill=true", {0, 21, 800, 600}, {10, 10}, {0, 21, 800, 600}},
        {L"inside=true,fill=true, mx=5", {0, 21, 800, 600}, {10, 10}, {5, 21, 795, 600}},
        {L"fill=true,pos=atRight" + margins, ref, {10, 10}, {101, 203, 298, 396}},
        {L"name=a,inside=true,pos=atLeft,mx=0", {0, 0, 800, 40}, {60, 30}, {0, 5, 60, 35}},
        {L"pos=atRightBottom, mx=10, my=15", {0, 0, 300, 100}, {40, 20}, {250, 65, 290, 85}},
        // Each side without its own margin falls back to mx or my.
        {L"pos=atRightBottom,mx=7,my=8,mleft=1", {0, 0, 100, 100}, {10, 10}, {83, 82, 93, 92}},
        {L"pos=atLeftTop,mx=7,my=8,mleft=1", {0, 0, 100, 100}, {10, 10}, {1, 8, 11, 18}},
        // Halves truncate toward zero.
        {L"pos=atCenter", {-11, -11, 0, 0}, {2, 2}, {-6, -6, -4, -4}},
        {L"pos=atCenter", {0, 0, 11, 11}, {2, 2}, {4, 4, 6, 6}},
        // Margins beyond the 32-bit range saturate, and so do the results.
        {L"fill=true,mx=99999999999", {0, 0, 10, 10}, {1, 1}, {INT_MAX, 0, -2147483637, 10}},
        {L"pos=atLeftTop,my=-99999999999", {0, 0, 10, 10}, {4, 4}, {0, INT_MIN, 4, INT_MIN + 4}},
    });
}

TEST(ComputePlacement, PlacesAroundTheReference)
{
    const RECT ref{100, 200, 300, 400};
    const std::wstring margins = L",inside=false,mleft=1,mright=2,mtop=3,mbottom=4";
    ExpectPlacements({
        {L"pos=atLeft" + margins, ref, {20, 10}, {79, 203, 99, 213}},
        {L"pos=atRight" + margins, ref, {20, 10}, {302, 203, 322, 213}},
        {L"pos=atTop" + margins, ref, {20, 10}, {101, 187, 121, 197}},
        {L"pos=atBottom" + margins, ref, {20, 10}, {101, 404, 121, 414}},
        {L"pos=atLeftTop" + margins, ref, {20, 10}, {79, 187, 99, 197}},
        {L"pos=atLeftBottom" + margins, ref, {20, 10}, {79, 404, 99, 414}},
        {L"pos=atRightTop" + margins, ref, {20, 10}, {302, 187, 322, 197}},
        {L"pos=atRightBottom" + margins, ref, {20, 10}, {302, 404, 322, 414}},
    });

    const CellPlacement centred = Read(L"pos=atCenter,inside=false");
    RECT control{7, 8, 9, 10};
    EXPECT_FALSE(ComputePlacement(ref, centred, control));
    EXPECT_EQ(control, (RECT{7, 8, 9, 10}));
}

TEST(ComputePlacement, ScalesWithFillAndRatio)
{
    ExpectPlacements({
        {L"fill=true,ratio=true,pos=atLeft", {0, 0, 500, 100}, {50, 20}, {0, 0, 250, 100}},
        {L"fill=true,inside=false,pos=atTop,mx=4", {0, 0, 200, 50}, {100, 10}, {4, -20, 196, 0}},
        {L"fill=true,ratio=true,pos=atTop,mx=10", {0, 0, 200, 100}, {50, 20}, {10, 0, 190, 80}},
        {L"fill=true,inside=false,pos=atRight,my=5", {0, 0, 100, 60}, {30, 20}, {100, 5, 190, 55}},
        {L"fill=true,ratio=true,pos=atLeft", {0, 0, 100, 10}, {3, 9}, {0, 0, 3, 10}},
        {L"fill=true,ratio=true,pos=atCenter", {0, 0, 100, 100}, {10, 20}, {45, 40, 55, 60}},
        {L"fill=true,inside=false,pos=atLeftTop", {50, 50, 100, 100}, {10, 20}, {40, 30, 50, 50}},
        // No aspect ratio without height or width: the other side is kept.
        {L"fill=true,ratio=true,pos=atLeft", {0, 0, 100, 50}, {10, 0}, {0, 0, 10, 50}},
        {L"fill=true,ratio=true,pos=atBottom", {0, 0, 100, 50}, {0, 10}, {0, 40, 100, 50}},
        {L"fill=true,ratio=true,pos=atLeft", {0, 0, 10, 2000000000}, {2000000000, 1},
         {0, 0, INT_MAX, 2000000000}},
    });
}

TEST(ComputePlacement, UsesTheAnchorsCurrentRectangleInsteadOfTheCell)
{
    FakePicture box;
    box.rect = {10, 10, 110, 60};
    const RECT cell{0, 0, 500, 500};
    struct Case {
        std::wstring text;
        RECT expected;
    };
    for (const Case& c : std::vector<Case>{
             {L"anchor=box,inside=false,pos=atRightBottom,my=-1,mx=-12", {98, 59, 114, 69}},
             {L"anchor=box,inside=false,pos=atRightTop,my=-1", {110, 1, 126, 11}},
             {L"anchor=box,pos=atCenter", {52, 30, 68, 40}},
             {L"anchor=box,anchor=default,pos=atCenter", {242, 245, 258, 255}},
         }) {
        RECT control{0, 0, 16, 10};
        ASSERT_TRUE(ComputePlacement(cell, Read(c.text, &box), control));
        EXPECT_EQ(control, c.expected) << c.text;
    }
}
