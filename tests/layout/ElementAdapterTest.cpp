#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeElements.h"
#include "support/RectPrinting.h"
#include "layout/CellElement.h"
#include "layout/QmCell.h"
#include "support/ErrorBoxRecorder.h"

namespace {

// A shown top-level window away from the screen origin, so that screen and
// client coordinates differ.
class ParentWindow {
public:
    ParentWindow()
    {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"layout test", WS_POPUP | WS_VISIBLE, 100, 80, 400,
                                   300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~ParentWindow() { ::DestroyWindow(m_hWnd); }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

    CWnd* NewChild(RECT rect, bool visible = true) const
    {
        auto* child = new CWnd;
        const DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0);
        EXPECT_TRUE(child->CreateControl(L"STATIC", L"", style, rect, m_hWnd, 0));
        return child;
    }

    // The child's rectangle in this window's client coordinates.
    RECT ClientRectOf(const CWnd* child) const
    {
        RECT rect{};
        ::GetWindowRect(child->GetHwnd(), &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

private:
    HWND m_hWnd = nullptr;
};

// Showing and destroying a top-level window takes seconds under Wine: the tests share one.
const ParentWindow& SharedParent()
{
    static const ParentWindow parent;
    return parent;
}

RECT ScreenRect(HWND parent, RECT clientRect)
{
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&clientRect), 2);
    return clientRect;
}

} // namespace

TEST(ElementAdapters, WorkOnRealChildWindows)
{
    const ParentWindow& parent = SharedParent();
    ASSERT_NE(parent.Handle(), nullptr);
    std::unique_ptr<CWnd> child(parent.NewChild({10, 20, 40, 60}));

    RECT rect{};
    ASSERT_TRUE(GetElementRect(child.get(), rect));
    EXPECT_EQ(rect, ScreenRect(parent.Handle(), {10, 20, 40, 60}));

    MoveElement(child.get(), {50, 60, 75, 70});
    EXPECT_EQ(parent.ClientRectOf(child.get()), (RECT{50, 60, 75, 70}));

    EXPECT_TRUE(IsElementVisible(child.get()));
    ::ShowWindow(child->GetHwnd(), SW_HIDE);
    EXPECT_FALSE(IsElementVisible(child.get()));
}

TEST(ElementAdapters, WorkOnWindowlessElements)
{
    BareElement element;
    RECT rect{};
    ASSERT_TRUE(GetElementRect(&element, rect));
    EXPECT_EQ(rect, (RECT{1, 2, 3, 4}));
    MoveElement(&element, {-5, -6, 7, 8});
    EXPECT_EQ(element.rect, (RECT{-5, -6, 7, 8}));
    EXPECT_FALSE(IsElementVisible(&element));
    FakePicture picture;
    EXPECT_TRUE(IsElementVisible(&picture));
}

TEST(ElementAdapters, RejectOtherObjects)
{
    ErrorBoxRecorder boxes;
    NotAnElement other;
    RECT rect{9, 9, 9, 9};
    EXPECT_FALSE(GetElementRect(&other, rect));
    EXPECT_EQ(rect, (RECT{9, 9, 9, 9}));
    MoveElement(&other, rect);
    EXPECT_FALSE(IsElementVisible(&other));
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>(3, L"Error in SimulateWnd conversion."));
}

TEST(PlaceControls, MovesChildWindowsAnchoredToWindowsInClientCoordinates)
{
    const ParentWindow& parent = SharedParent();
    QmCell cell;
    CWnd* first = parent.NewChild({0, 0, 60, 30});
    CWnd* second = parent.NewChild({0, 0, 50, 20});
    CWnd* hidden = parent.NewChild({0, 0, 10, 10}, false);
    auto* picture = new FakePicture(16, 10);
    ASSERT_TRUE(cell.AddCellCtrl(first, L"name=a, pos=atLeft, mx=7"));
    ASSERT_TRUE(cell.AddCellCtrl(second, L"name=b, anchor=a, inside=false, pos=atRight, mx=3"));
    ASSERT_TRUE(cell.AddCellCtrl(hidden, L"pos=atRightBottom"));
    ASSERT_TRUE(cell.AddCellCtrl(picture, L"anchor=b, inside=false, pos=atBottom, my=1"));

    const RECT area{20, 100, 380, 140};
    cell.Layout(area);
    cell.PlaceControls(area);

    EXPECT_EQ(parent.ClientRectOf(first), (RECT{27, 105, 87, 135}));
    EXPECT_EQ(parent.ClientRectOf(second), (RECT{90, 105, 140, 125}));
    EXPECT_EQ(parent.ClientRectOf(hidden), (RECT{370, 130, 380, 140}));
    EXPECT_EQ(picture->rect, (RECT{90, 126, 106, 136}));
}

TEST(QmCellOwnership, DestroysAttachedChildWindows)
{
    const ParentWindow& parent = SharedParent();
    HWND hwnd = nullptr;
    {
        QmCell cell;
        CWnd* child = parent.NewChild({0, 0, 5, 5});
        hwnd = child->GetHwnd();
        ASSERT_TRUE(cell.AddCellCtrl(child, L""));
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}
