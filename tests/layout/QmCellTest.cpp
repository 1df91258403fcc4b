#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "layout/QmCell.h"
#include "support/ErrorBoxRecorder.h"
#include "support/RectPrinting.h"

namespace {

std::vector<RECT> ChildRects(const QmCell& cell)
{
    std::vector<RECT> rects;
    for (size_t i = 0; i < cell.GetChildCount(); ++i)
        rects.push_back(cell.GetChild(i)->GetRect());
    return rects;
}

} // namespace

TEST(QmCellLayout, DividesTheCellByPixelsFractionsAndTheElasticEntry)
{
    struct Case {
        std::wstring layout;
        RECT rect;
        std::vector<RECT> children;
    };
    const std::vector<Case> cases = {
        {L"row(Title(21),Frame(*))", {0, 0, 800, 600}, {{0, 0, 800, 21}, {0, 21, 800, 600}}},
        {L"col(5,*,0.43,5)", {0, 0, 1000, 40},
         {{0, 0, 5, 40}, {5, 0, 565, 40}, {565, 0, 995, 40}, {995, 0, 1000, 40}}},
        // Fractions are of the whole cell; the uncovered last row belongs to nobody.
        {L"row(0.5,0.5)", {0, 0, 100, 101}, {{0, 0, 100, 50}, {0, 50, 100, 100}}},
        {L"col(30, 30, 0.7, *)", {0, 0, 600, 10},
         {{0, 0, 30, 10}, {30, 0, 60, 10}, {60, 0, 480, 10}, {480, 0, 600, 10}}},
        {L"row(*)", {3, 4, 50, 60}, {{3, 4, 50, 60}}},
        {L"row(10.7, 0, 1)", {0, 0, 5, 100}, {{0, 0, 5, 10}, {0, 10, 5, 10}, {0, 10, 5, 11}}},
        // Entries that do not fit run beyond the cell; nothing is clamped.
        {L"col(60, 60)", {10, 0, 100, 5}, {{10, 0, 70, 5}, {70, 0, 130, 5}}},
        // Overrun around the elastic entry inverts it.
        {L"col(100,*,100)", {0, 0, 150, 20}, {{0, 0, 100, 20}, {100, 0, 50, 20}, {50, 0, 150, 20}}},
        // A later negative entry is a negative fraction: inverted, moving the cursor outward.
        {L"row(10,*,*,5)", {0, 0, 10, 100}, {{0, 0, 10, 10}, {0, 10, 10, 195}, {0, 195, 10, 95}, {0, 95, 10, 100}}},
        // Empty and inverted cells pass the same arithmetic down.
        {L"col(0.5,*)", {0, 0, 0, 0}, {{0, 0, 0, 0}, {0, 0, 0, 0}}},
        {L"col(0.5,*,4)", {100, 0, 60, 8}, {{100, 0, 80, 8}, {80, 0, 56, 8}, {56, 0, 60, 8}}},
        // Sizes beyond the 32-bit range saturate.
        {L"row(99999999999, 99999999999)", {0, 0, 1, 1},
         {{0, 0, 1, INT_MAX}, {0, INT_MAX, 1, INT_MAX}}},
    };
    for (const Case& c : cases) {
        QmCell cell;
        ASSERT_TRUE(cell.Split(c.layout)) << c.layout;
        cell.Layout(c.rect);
        EXPECT_EQ(cell.GetRect(), c.rect);
        EXPECT_EQ(ChildRects(cell), c.children) << c.layout;
    }
}

TEST(QmCellLayout, LaysOutGrandchildrenInTheirParentsRectangle)
{
    QmCell root;
    ASSERT_TRUE(root.Split(L"row(Top(20), Body(*))"));
    ASSERT_TRUE(root.FindCell(L"Body")->Split(L"col(Left(0.25), *, Right(30))"));
    root.Layout({0, 0, 200, 100});
    EXPECT_EQ(root.FindCell(L"Left")->GetRect(), (RECT{0, 20, 50, 100}));
    EXPECT_EQ(root.FindCell(L"Right")->GetRect(), (RECT{170, 20, 200, 100}));
    root.Layout({0, 0, 400, 50});
    EXPECT_EQ(root.FindCell(L"Body")->GetChild(1)->GetRect(), (RECT{100, 20, 370, 50}));
}

TEST(QmCellSplit, RejectsMalformedStringsAndLeavesTheCellAlone)
{
    struct Case {
        std::wstring layout;
        std::vector<std::wstring> boxes;
    };
    const std::vector<Case> cases = {
        {L"rows(5)", {}},
        {L"5,5", {}},
        {L"", {}},
        {L"row(5 6)", {}},
        {L"row(A(B),5)", {}},
        {L"row(A 5)", {}},
        {L"row(,5)", {}},
        {L"row(5,,6)", {}},
        {L"row(A(5)", {}},
        {L"row 5", {L"格式字符串token数小于3"}},
        {L"row", {L"格式字符串token数小于3"}},
        {L"row(5", {L"格式字符串两端不是括号"}},
        {L"row 5 )", {L"格式字符串两端不是括号"}},
    };
    for (const Case& c : cases) {
        ErrorBoxRecorder boxes;
        QmCell cell;
        ASSERT_TRUE(cell.Split(L"col(7)"));
        EXPECT_FALSE(cell.Split(c.layout)) << c.layout;
        EXPECT_EQ(boxes.Texts(), c.boxes) << c.layout;
        EXPECT_EQ(cell.GetOrientation(), 1);
        EXPECT_EQ(cell.GetChildCount(), 1u);
    }
}

TEST(QmCellSplit, BuildsNamedChildrenThatKnowTheirParentAndHost)
{
    QmCell cell;
    EXPECT_TRUE(cell.Split(L"row()"));
    EXPECT_EQ(cell.GetChildCount(), 0u);
    EXPECT_TRUE(cell.Split(L"row(5,)"));
    EXPECT_TRUE(cell.Split(L"col(A(1),B(*),0.5)"));
    EXPECT_EQ(cell.GetOrientation(), 1);
    ASSERT_EQ(cell.GetChildCount(), 4u);
    EXPECT_EQ(cell.GetChild(0)->GetName(), L"");
    EXPECT_EQ(cell.GetChild(1)->GetName(), L"A");
    EXPECT_EQ(cell.GetSize(0), 5.0);
    EXPECT_EQ(cell.GetSize(2), -1.0);
    EXPECT_EQ(cell.GetSize(3), 0.5);
    EXPECT_EQ(cell.GetChild(2)->GetParent(), &cell);
    EXPECT_EQ(cell.GetChild(2)->GetRect(), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(cell.GetChild(4), nullptr);
}

TEST(QmCellFindCell, SearchesDescendantsDepthFirstInOrder)
{
    QmCell root;
    ASSERT_TRUE(root.Split(L"col(A(1),B(*),X(2))"));
    ASSERT_TRUE(root.GetChild(0)->Split(L"row(X(1),Y(2))"));
    ASSERT_TRUE(root.GetChild(0)->GetChild(1)->Split(L"row(Z(1))"));
    EXPECT_EQ(root.FindCell(L"B"), root.GetChild(1));
    EXPECT_EQ(root.FindCell(L"X"), root.GetChild(0)->GetChild(0));
    EXPECT_EQ(root.FindCell(L"Z"), root.GetChild(0)->GetChild(1)->GetChild(0));
    EXPECT_EQ(root.FindCell(L""), nullptr);
    EXPECT_EQ(root.FindCell(L"b"), nullptr);
    EXPECT_EQ(root.GetChild(0)->FindCell(L"A"), nullptr);
}

TEST(QmCellSwapFirstTwo, ExchangesCellsAndSizes)
{
    QmCell one;
    ASSERT_TRUE(one.Split(L"row(A(5))"));
    one.SwapFirstTwo();
    EXPECT_EQ(one.GetChild(0)->GetName(), L"A");

    QmCell cell;
    ASSERT_TRUE(cell.Split(L"row(A(5),B(*),C(7))"));
    cell.SwapFirstTwo();
    EXPECT_EQ(cell.GetChild(0)->GetName(), L"B");
    EXPECT_EQ(cell.GetSize(0), -1.0);
    EXPECT_EQ(cell.GetChild(1)->GetName(), L"A");
    cell.Layout({0, 0, 10, 100});
    EXPECT_EQ(cell.FindCell(L"A")->GetRect(), (RECT{0, 88, 10, 93}));
    EXPECT_EQ(cell.FindCell(L"B")->GetRect(), (RECT{0, 0, 10, 88}));
}
