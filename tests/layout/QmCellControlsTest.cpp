#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeElements.h"
#include "support/RectPrinting.h"
#include "layout/QmCell.h"
#include "support/ErrorBoxRecorder.h"

namespace {

const std::wstring kNotAControl = L"Error in QmCell::AddCellCtrl: 控件不是CWnd或QmBkgndPic.";
const std::wstring kBadPlacement = L"Error in QmCell::AddCellCtrl: 布局参数字符串分析错误.";

} // namespace

TEST(AddCellCtrl, AcceptsOnlyWindowsAndPictures)
{
    ErrorBoxRecorder boxes;
    QmCell cell;
    NotAnElement other;
    BareElement bare;
    EXPECT_FALSE(cell.AddCellCtrl(&other, L""));
    EXPECT_FALSE(cell.AddCellCtrl(&bare, L""));
    EXPECT_FALSE(cell.AddCellCtrl(nullptr, L""));
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>(3, kNotAControl));
    EXPECT_EQ(cell.GetControlCount(), 0u);
}

TEST(AddCellCtrl, AFailingPlacementLeavesTheCellUnchanged)
{
    ErrorBoxRecorder boxes;
    QmCell cell;
    auto* kept = new FakePicture(10, 10);
    ASSERT_TRUE(cell.AddCellCtrl(kept, L"name=a, pos=atRight, mx=3"));
    FakePicture refused(5, 5);
    EXPECT_FALSE(cell.AddCellCtrl(&refused, L"name=b, pos=left"));
    EXPECT_FALSE(cell.AddCellCtrl(kept, L"name=c, inside=yes"));
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>(2, kBadPlacement));
    ASSERT_EQ(cell.GetControlCount(), 1u);
    EXPECT_EQ(cell.GetControl(0), kept);
    EXPECT_EQ(cell.GetPlacement(0).name, L"a");
    EXPECT_EQ(cell.GetPlacement(0).pos, atRight);
    EXPECT_EQ(cell.GetPlacement(0).mx, 3);
}

TEST(AddCellCtrl, ReattachingAnObjectSwapsItsPlacementInPlace)
{
    QmCell cell;
    auto* first = new FakePicture(10, 10);
    auto* second = new FakePicture(10, 10);
    ASSERT_TRUE(cell.AddCellCtrl(first, L"name=one, pos=atRight"));
    ASSERT_TRUE(cell.AddCellCtrl(second, L"anchor=one"));
    ASSERT_TRUE(cell.AddCellCtrl(first, L"name=again, fill=true"));
    ASSERT_EQ(cell.GetControlCount(), 2u);
    EXPECT_EQ(cell.GetControl(0), first);
    EXPECT_EQ(cell.GetPlacement(0).name, L"again");
    EXPECT_EQ(cell.GetPlacement(0).pos, atLeftTop);
    EXPECT_TRUE(cell.GetPlacement(0).fill);
    EXPECT_EQ(cell.GetPlacement(1).anchor, first);
}

TEST(AddCellCtrl, FindsAnchorsAmongEarlierAttachmentsOfTheSameCellOnly)
{
    QmCell root;
    ASSERT_TRUE(root.Split(L"col(A(100), B(100))"));
    QmCell* a = root.GetChild(0);
    QmCell* b = root.GetChild(1);
    auto* inA = new FakePicture(10, 10);
    auto* inB = new FakePicture(10, 10);
    auto* early = new FakePicture(10, 10);
    auto* late = new FakePicture(10, 10);
    ASSERT_TRUE(a->AddCellCtrl(inA, L"name=logo"));
    ASSERT_TRUE(b->AddCellCtrl(early, L"name=first, anchor=later"));
    ASSERT_TRUE(b->AddCellCtrl(inB, L"anchor=logo, inside=false, pos=atRight"));
    ASSERT_TRUE(b->AddCellCtrl(late, L"name=later, anchor=first"));
    EXPECT_EQ(b->GetPlacement(0).anchor, nullptr);
    EXPECT_EQ(b->GetPlacement(1).anchor, nullptr);
    EXPECT_EQ(b->GetPlacement(2).anchor, early);

    root.Layout({0, 0, 200, 50});
    root.PlaceControls(root.GetRect());
    // Not found: placed against its own cell, outside to the right of it.
    EXPECT_EQ(inB->rect, (RECT{200, 0, 210, 10}));
}

TEST(PlaceControls, MovesChainedAnchorsInOrderWithinOnePass)
{
    QmCell cell;
    auto* a = new FakePicture(60, 30);
    auto* b = new FakePicture(60, 30);
    auto* c = new FakePicture(20, 10);
    ASSERT_TRUE(cell.AddCellCtrl(a, L"name=a,inside=true,pos=atLeft,mx=0"));
    ASSERT_TRUE(cell.AddCellCtrl(b, L"name=b,anchor=a,inside=false,pos=atRight,mx=3"));
    ASSERT_TRUE(cell.AddCellCtrl(c, L"anchor=b,inside=false,pos=atBottom,my=2"));
    for (const RECT& r : {RECT{0, 0, 800, 40}, RECT{100, 200, 300, 300}}) {
        cell.Layout(r);
        cell.PlaceControls(r);
        const LONG y = (r.top + r.bottom - 30) / 2;
        EXPECT_EQ(a->rect, (RECT{r.left, y, r.left + 60, y + 30}));
        EXPECT_EQ(b->rect, (RECT{r.left + 63, y, r.left + 123, y + 30}));
        EXPECT_EQ(c->rect, (RECT{r.left + 63, y + 32, r.left + 83, y + 42}));
    }
}

TEST(PlaceControls, KeepsSizesPlacesDescendantsAndLeavesUndefinedPositionsAlone)
{
    QmCell root;
    ASSERT_TRUE(root.Split(L"row(Top(20), Rest(*))"));
    auto* stays = new FakePicture(8, 8);
    stays->rect = {1, 1, 9, 9};
    auto* top = new FakePicture(8, 4);
    auto* rest = new FakePicture(8, 4);
    ASSERT_TRUE(root.AddCellCtrl(stays, L"pos=atCenter,inside=false"));
    ASSERT_TRUE(root.FindCell(L"Top")->AddCellCtrl(top, L"pos=atRightBottom"));
    ASSERT_TRUE(root.FindCell(L"Rest")->AddCellCtrl(rest, L"pos=atRightBottom"));
    root.Layout({0, 0, 100, 100});
    root.PlaceControls(root.GetRect());
    EXPECT_EQ(stays->moves, 0);
    EXPECT_EQ(stays->rect, (RECT{1, 1, 9, 9}));
    EXPECT_EQ(top->rect, (RECT{92, 16, 100, 20}));
    EXPECT_EQ(rest->rect, (RECT{92, 96, 100, 100}));
}

TEST(RestackControls, ChainsVisibleNonFillingControlsFromTheTop)
{
    TestHost host({0, 0, 200, 100});
    QmCell* cell = host.GetLayoutCell();
    auto* background = new FakePicture(1, 1);
    auto* first = new FakePicture(40, 10);
    auto* hidden = new FakePicture(40, 10);
    auto* second = new FakePicture(30, 10);
    hidden->visible = false;
    ASSERT_TRUE(cell->AddCellCtrl(background, L"fill=true"));
    ASSERT_TRUE(cell->AddCellCtrl(first, L"pos=atRight, mtop=5, mbottom=2, mleft=4, name=x"));
    ASSERT_TRUE(cell->AddCellCtrl(hidden, L"pos=atRight"));
    ASSERT_TRUE(cell->AddCellCtrl(second, L"pos=atLeft, mbottom=3, mleft=7"));

    cell->RestackControls();

    EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"redraw back", L"relayout", L"invalidate"}));
    EXPECT_EQ(cell->GetPlacement(1).anchor, nullptr);
    EXPECT_EQ(cell->GetPlacement(1).pos, atTop);
    EXPECT_TRUE(cell->GetPlacement(1).inside);
    EXPECT_EQ(cell->GetPlacement(1).name, L"x");
    EXPECT_EQ(cell->GetPlacement(2).pos, atRight);
    EXPECT_EQ(cell->GetPlacement(3).anchor, first);
    EXPECT_EQ(cell->GetPlacement(3).pos, atBottom);
    EXPECT_FALSE(cell->GetPlacement(3).inside);
    EXPECT_EQ(background->rect, (RECT{0, 0, 200, 100}));
    EXPECT_EQ(first->rect, (RECT{80, 5, 120, 15}));
    EXPECT_EQ(second->rect, (RECT{87, 18, 117, 28}));
}

TEST(RestackControls, WithoutVisibleControlsOnlyRelayoutsTheHost)
{
    TestHost host({0, 0, 50, 50});
    QmCell* cell = host.GetLayoutCell();
    cell->RestackControls();
    EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"redraw back", L"relayout", L"invalidate"}));
    QmCell orphan;
    orphan.RestackControls();
}

TEST(QmCellOwnership, DeletesAttachmentsThenChildrenButReleasesDialogs)
{
    std::vector<std::wstring> log;
    {
        TestHost host;
        QmCell* cell = host.GetLayoutCell();
        ASSERT_TRUE(cell->Split(L"row(Inner(*))"));
        auto* dialog = new FakeDialog(&log);
        ASSERT_TRUE(cell->FindCell(L"Inner")->AddCellCtrl(new FakePicture(1, 1, &log, L"inner"), L""));
        ASSERT_TRUE(cell->AddCellCtrl(new FakePicture(1, 1, &log, L"outer"), L""));
        ASSERT_TRUE(cell->AddCellCtrl(dialog, L"fill=true"));
        EXPECT_TRUE(dialog->embedded);
        ASSERT_TRUE(cell->AddCellCtrl(new FakePicture(1, 1, &log, L"last"), L""));
        log.push_back(L"end of scope");
        host.root.reset();
        delete dialog;
    }
    EXPECT_EQ(log, (std::vector<std::wstring>{L"end of scope", L"delete outer", L"release dialog",
                                              L"delete last", L"delete inner", L"delete dialog"}));
}

TEST(QmCellPaint, DrawsPicturesWithImagesAndAreasPreOrder)
{
    std::vector<std::wstring> log;
    QmCell root;
    ASSERT_TRUE(root.Split(L"row(A(*))"));
    auto* drawn = new FakePicture(0, 0, &log, L"root");
    auto* noImage = new FakePicture(0, 0, &log, L"no image");
    auto* flat = new FakePicture(0, 0, &log, L"flat");
    auto* child = new FakePicture(0, 0, &log, L"child");
    auto* later = new FakePicture(0, 0, &log, L"later");
    drawn->rect = {0, 0, 5, 5};
    noImage->rect = {0, 0, 5, 5};
    flat->rect = {0, 0, 5, 0};
    child->rect = {1, 1, 2, 2};
    later->rect = {3, 3, 4, 9};
    drawn->hasImage = flat->hasImage = child->hasImage = later->hasImage = true;
    ASSERT_TRUE(root.GetChild(0)->AddCellCtrl(child, L""));
    ASSERT_TRUE(root.AddCellCtrl(drawn, L""));
    ASSERT_TRUE(root.AddCellCtrl(noImage, L""));
    ASSERT_TRUE(root.AddCellCtrl(flat, L""));
    ASSERT_TRUE(root.AddCellCtrl(later, L""));

    HDC dc = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    ::SetStretchBltMode(dc, HALFTONE);
    root.Paint(dc);
    ::DeleteDC(dc);

    EXPECT_EQ(log, (std::vector<std::wstring>{L"draw root", L"draw later", L"draw child"}));
    EXPECT_EQ(drawn->drawnAt, std::vector<RECT>{drawn->rect});
    EXPECT_EQ(drawn->stretchModeWhenDrawn, COLORONCOLOR);
}
