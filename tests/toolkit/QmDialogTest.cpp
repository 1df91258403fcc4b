#include <gtest/gtest.h>

#include <memory>

#include "skin/Definitions.h"
#include "support/ErrorBoxRecorder.h"
#include "support/RectPrinting.h"
#include "support/ImageFiles.h"
#include "support/TempFiles.h"
#include "support/TimerScript.h"
#include "toolkit/QmBkgndPic.h"
#include "toolkit/QmDialog.h"

namespace {
// An empty template without WS_VISIBLE: hidden windows come and go without
// waiting for the display.
constexpr UINT kEmptyTemplate = 1;

// A dialog that counts its skin releases and, when modeless, its own deletion.
class CountingDialog : public QmDialog {
public:
    CountingDialog(const QmDialogInitDef& def, int* deleted = nullptr)
        : QmDialog(def, kEmptyTemplate), m_deleted(deleted) {}
    ~CountingDialog() override
    {
        if (m_deleted != nullptr)
            ++*m_deleted;
    }
    int m_destroyCalls = 0;

protected:
    void OnDestroyDialog() override { ++m_destroyCalls; }

private:
    int* m_deleted;
};

QmDialogInitDef Record(int width, int height)
{
    QmDialogInitDef def;
    def.nWidth = width;
    def.nHeight = height;
    def.bTrans = 0;
    def.bCaption = 1;
    def.fCaptionWidth = 0.2;
    def.bResizeable = 1;
    def.nResizeBorderWidth = 5;
    def.nResizeCornerWidth = 7;
    return def;
}

RECT Rect(const CWnd& wnd)
{
    RECT r = wnd.GetWindowRect();
    MapWindowPoints(nullptr, wnd.GetParent(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Images of the frame buttons and background in a temporary skin folder that
// is also the definition directory.
class SkinnedDialog : public testing::Test {
protected:
    void SetUp() override
    {
        Solid(L"close.png", 16, 14, 0xFFFF0000u);
        Solid(L"max.png", 12, 10, 0xFF00FF00u);
        Solid(L"restore.png", 12, 10, 0xFF00FFFFu);
        Solid(L"min.png", 12, 12, 0xFF0000FFu);
        Solid(L"bk.png", 64, 48, 0xFF204080u);
        Solid(L"pic.png", 10, 10, 0xFFFFFF00u);
        ASSERT_TRUE(WriteUtf16(m_dir.File(L"resource.data"), L""));
        UnloadDefinitions();
        FindDefinition(L"none", L"none");
    }
    void TearDown() override { UnloadDefinitions(); }
    void Solid(const wchar_t* name, int w, int h, uint32_t argb)
    {
        ASSERT_TRUE(WritePng(m_dir.File(name), w, h, std::vector<uint32_t>(w * h, argb), true));
    }
    std::wstring File(const wchar_t* name) const { return m_dir.File(name); }
    QmDialogInitDef WithButtons(int width, int height) const
    {
        QmDialogInitDef def = Record(width, height);
        def.bCloseBtn = def.bMaxBtn = def.bMinBtn = 1;
        def.fnCloseBaseBmp = def.fnClosePressBmp = File(L"close.png");
        def.fnMaxBaseBmp = def.fnMaxPressBmp = File(L"max.png");
        def.fnRestoreBaseBmp = def.fnRestorePressBmp = File(L"restore.png");
        def.fnMinBaseBmp = def.fnMinPressBmp = File(L"min.png");
        return def;
    }

    TempDir m_dir;
    CurrentDirectoryScope m_scope{m_dir.Path()};
};
}

TEST_F(SkinnedDialog, HitTestZones)
{
    struct Case {
        const char* name;
        POINT point;
        LRESULT code;
        void (*adjust)(QmDialogInitDef&);
    };
    auto none = [](QmDialogInitDef&) {};
    const Case cases[] = {
        {"left edge", {3, 50}, HTLEFT, none},
        {"right edge", {197, 50}, HTRIGHT, none},
        {"top edge wins over caption", {100, 2}, HTTOP, none},
        {"bottom edge", {100, 98}, HTBOTTOM, none},
        {"top-left corner", {2, 2}, HTTOPLEFT, none},
        {"bottom-left corner", {2, 97}, HTBOTTOMLEFT, none},
        {"top-right corner", {197, 2}, HTTOPRIGHT, none},
        {"bottom-right corner", {197, 97}, HTBOTTOMRIGHT, none},
        {"caption strip is a fifth", {100, 19}, HTCAPTION, none},
        {"below the strip", {100, 20}, HTCLIENT, none},
        {"fraction 1.0 is the whole height", {100, 80}, HTCAPTION,
         [](QmDialogInitDef& d) { d.fCaptionWidth = 1.0; }},
        {"1.5 is one pixel", {100, 1}, HTCLIENT,
         [](QmDialogInitDef& d) { d.fCaptionWidth = 1.5; d.bResizeable = 0; }},
        {"no resize zones", {2, 2}, HTCAPTION, [](QmDialogInitDef& d) { d.bResizeable = 0; }},
        {"no caption", {100, 10}, HTCLIENT, [](QmDialogInitDef& d) { d.bCaption = 0; }},
        {"50 pixels", {100, 49}, HTCAPTION, [](QmDialogInitDef& d) { d.fCaptionWidth = 50; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QmDialogInitDef def = Record(200, 100);
        c.adjust(def);
        auto* dialog = new CountingDialog(def);
        ASSERT_TRUE(dialog->Create());
        EXPECT_EQ(dialog->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.point.x, c.point.y)), c.code);
        dialog->SetEmbedded();
        EXPECT_NE(dialog->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100, 10)), HTCAPTION);
        dialog->DestroyWindow();
    }
}

TEST_F(SkinnedDialog, InitialisationSizesStylesAndFrameButtons)
{
    QmDialogInitDef def = WithButtons(200, 100);
    def.bTrans = 1;
    auto* dialog = new CountingDialog(def);
    ASSERT_TRUE(dialog->Create());
    const RECT window = dialog->GetWindowRect();
    EXPECT_EQ(window.right - window.left, 200);
    EXPECT_EQ(window.bottom - window.top, 100);
    EXPECT_TRUE(dialog->GetExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(dialog->GetExStyle() & WS_EX_COMPOSITED);
    EXPECT_TRUE(dialog->GetStyle() & WS_MINIMIZEBOX);
    EXPECT_EQ(dialog->GetToolTip().GetToolCount(), 3);
    ASSERT_NE(dialog->GetMaxButton(), nullptr);
    EXPECT_EQ(dialog->GetMaxButton()->GetSetCount(), 2u);

    dialog->ShowWindow(SW_SHOWNA);
    dialog->UpdateWindow();
    EXPECT_FALSE(dialog->NeedsBackRedraw());
    dialog->Relayout();
    // Right to left from one corner width in; the others take the close button's height.
    EXPECT_EQ(Rect(*dialog->GetCloseButton()), (RECT{177, 0, 193, 14}));
    EXPECT_EQ(Rect(*dialog->GetMaxButton()), (RECT{165, 0, 177, 14}));
    EXPECT_EQ(Rect(*dialog->GetMinButton()), (RECT{153, 0, 165, 14}));
    dialog->DestroyWindow();
}

TEST_F(SkinnedDialog, SizeFallsBackToTheBackground)
{
    QmDialogInitDef def = Record(300, 0);
    def.fnBackgroundBmp = L"bk.png";
    auto* dialog = new CountingDialog(def);
    ASSERT_TRUE(dialog->Create());
    const RECT window = dialog->GetWindowRect();
    EXPECT_EQ(window.right - window.left, 64);
    EXPECT_EQ(window.bottom - window.top, 48);
    dialog->DestroyWindow();

    ErrorBoxRecorder boxes;
    def.fnBackgroundBmp = L"missing.png";
    auto* failed = new CountingDialog(def);
    ASSERT_TRUE(failed->Create());
    EXPECT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(failed->GetCloseButton(), nullptr);
    failed->DestroyWindow();
}

TEST_F(SkinnedDialog, PaintsBackgroundAndPicturesThroughTheBackBuffer)
{
    QmDialogInitDef def = Record(120, 80);
    def.fnBackgroundBmp = L"bk.png";
    auto* dialog = new CountingDialog(def);
    ASSERT_TRUE(dialog->Create());
    auto picture = std::make_unique<QmBkgndPic>();
    QmStaticInitDef pictureDef;
    pictureDef.resourcePath = m_dir.Path();
    pictureDef.statesBmp = {L"pic.png", L"ignored.png"};
    ASSERT_TRUE(picture->QmCreate(pictureDef, dialog));
    ASSERT_TRUE(dialog->GetLayoutCell()->AddCellCtrl(picture.get(), L"inside=true, fill=false, pos=atRight"));
    picture.release();
    dialog->ShowWindow(SW_SHOWNA);
    dialog->Relayout();
    dialog->Invalidate();
    dialog->UpdateWindow();
    CClientDC dc(dialog->GetHwnd());
    EXPECT_EQ(GetPixel(dc.Get(), 5, 5), RGB(0x20, 0x40, 0x80));
    EXPECT_EQ(GetPixel(dc.Get(), 115, 40), RGB(0xFF, 0xFF, 0x00));
    dialog->DestroyWindow();
}

TEST_F(SkinnedDialog, CloseCommandEndsModalLoopWithOneAndReleasesTheSkin)
{
    CountingDialog dialog(WithButtons(200, 100));
    TimerScript script({[&](HWND) {
        dialog.GetCloseButton()->SendMessage(BM_CLICK);
    }});
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(dialog.m_bModal);
    EXPECT_EQ(dialog.GetInitDef(), nullptr);
    EXPECT_EQ(dialog.GetCloseButton(), nullptr);
    EXPECT_EQ(dialog.m_destroyCalls, 2);
    EXPECT_FALSE(dialog.IsWindow());
}

TEST_F(SkinnedDialog, ModelessCloseDestroysAndDeletesTheObject)
{
    int deleted = 0;
    auto* dialog = new CountingDialog(WithButtons(200, 100), &deleted);
    ASSERT_TRUE(dialog->Create());
    HWND hwnd = dialog->GetHwnd();
    SendMessageW(hwnd, WM_COMMAND, QmDialog::kIdClose, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(deleted, 1);
}

TEST_F(SkinnedDialog, SizeMessagesAndRestack)
{
    auto* dialog = new CountingDialog(WithButtons(200, 100));
    ASSERT_TRUE(dialog->Create());
    dialog->ShowWindow(SW_SHOWNA);
    dialog->UpdateWindow();
    dialog->GetMaxButton()->SetState(1);
    dialog->SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_FALSE(dialog->NeedsBackRedraw());
    EXPECT_EQ(dialog->GetMaxButton()->GetState(), 1u);
    dialog->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    EXPECT_TRUE(dialog->NeedsBackRedraw());
    EXPECT_EQ(dialog->GetMaxButton()->GetState(), 0u);
    dialog->UpdateWindow();
    EXPECT_EQ(dialog->SendMessage(WM_QM_RESTACK, 0, 0), 0);
    EXPECT_FALSE(dialog->NeedsBackRedraw());
    EXPECT_EQ(dialog->SendMessage(WM_QM_RESTACK, 0, reinterpret_cast<LPARAM>(dialog->GetLayoutCell())), 0);
    EXPECT_TRUE(dialog->NeedsBackRedraw());
    dialog->DestroyWindow();
}

TEST(BkgndPic, CreationRulesAndWindowlessOperations)
{
    TempDir dir;
    ASSERT_TRUE(WritePng(dir.File(L"p.png"), 8, 6, std::vector<uint32_t>(48, 0xFF112233u), true));
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, L"", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    ErrorBoxRecorder boxes;
    QmStaticInitDef def;
    def.resourcePath = dir.Path();
    def.statesBmp = {L"p.png"};
    QmBkgndPic rejected;
    EXPECT_FALSE(rejected.QmCreate(def, &plain));
    EXPECT_EQ(rejected.GetParent(), nullptr);
    rejected.MoveWindow(RECT{1, 2, 3, 4});

    auto* host = new QmDialog(Record(100, 100), kEmptyTemplate);
    ASSERT_TRUE(host->Create());
    QmBkgndPic empty;
    def.statesBmp.clear();
    EXPECT_FALSE(empty.QmCreate(def, host));
    QmBkgndPic missing;
    def.statesBmp = {L"none.png"};
    EXPECT_FALSE(missing.QmCreate(def, host));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{
                                 L"Error in QmBkgndPic::QmCreate: pParent不是QmDialog.",
                                 L"Error in QmBkgndPic::QmCreate: 无图片文件.",
                                 L"Error in LoadImageFile " + dir.File(L"none.png"),
                                 L"Error in QmBkgndPic::QmCreate: 图片文件载入失败."}));
    EXPECT_FALSE(missing.HasImage());
    EXPECT_TRUE(missing.IsWindowVisible());

    struct Size {
        int width, height;
        RECT expected;
    };
    for (const Size& s : {Size{0, 30, RECT{0, 0, 8, 6}}, Size{40, 30, RECT{0, 0, 40, 30}}}) {
        QmBkgndPic picture;
        def.statesBmp = {L"p.png"};
        def.nWidth = s.width;
        def.nHeight = s.height;
        ASSERT_TRUE(picture.QmCreate(def, host));
        RECT rect{};
        picture.GetWindowRect(&rect);
        EXPECT_EQ(rect, s.expected);
        EXPECT_EQ(picture.GetParent(), host->GetHwnd());
        picture.ShowWindow(SW_HIDE);
        EXPECT_TRUE(picture.IsWindowVisible());
    }
    host->DestroyWindow();
}

TEST_F(SkinnedDialog, CaptionDoubleClickMaximisesOnlyWithAMaximiseButton)
{
    for (const bool withMax : {true, false}) {
        SCOPED_TRACE(withMax ? "with maximise button" : "without");
        QmDialogInitDef def = WithButtons(200, 100);
        def.bMaxBtn = withMax ? 1 : 0;
        auto* dialog = new CountingDialog(def);
        ASSERT_TRUE(dialog->Create());
        dialog->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 15));
        EXPECT_EQ(IsZoomed(dialog->GetHwnd()) != FALSE, withMax);
        if (withMax)
            EXPECT_EQ(dialog->GetMaxButton()->GetState(), 1u);
        dialog->SetEmbedded();
        dialog->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 15));
        EXPECT_EQ(IsZoomed(dialog->GetHwnd()) != FALSE, withMax);
        dialog->DestroyWindow();
    }
}

TEST_F(SkinnedDialog, CreateAndDestroyCyclesReleaseEveryHandle)
{
    const int before = LiveGdiWrappers();
    QmDialogInitDef def = WithButtons(200, 100);
    def.fnBackgroundBmp = L"bk.png";
    for (int i = 0; i < 30; ++i) {
        auto* dialog = new CountingDialog(def);
        ASSERT_TRUE(dialog->Create());
        auto* picture = new QmBkgndPic;
        QmStaticInitDef pictureDef;
        pictureDef.resourcePath = m_dir.Path();
        pictureDef.statesBmp = {L"pic.png"};
        picture->QmCreate(pictureDef, dialog);
        dialog->GetLayoutCell()->AddCellCtrl(picture, L"inside=true,fill=true");
        dialog->Relayout();
        dialog->DestroyWindow();
    }
    EXPECT_EQ(LiveGdiWrappers(), before);
}
