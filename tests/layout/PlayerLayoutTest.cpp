#include <gtest/gtest.h>

#include <array>
#include <string>

#include "FakeElements.h"
#include "support/RectPrinting.h"

namespace {

// The player window's layout and placement strings, with windowless stand-ins
// for its controls at the sizes their images would give them.
struct PlayerWindow {
    TestHost host;
    FakePicture* titleBackground = new FakePicture(1, 1);
    FakePicture* logo = new FakePicture(16, 16);
    FakePicture* title = new FakePicture(200, 20);
    FakePicture* leftBorder = new FakePicture(1, 1);
    FakePicture* rightBorder = new FakePicture(1, 1);
    FakePicture* bottomBorder = new FakePicture(1, 1);
    std::array<FakePicture*, 15> menu{};
    FakePicture* flash = new FakePicture(120, 30);
    FakePicture* list = new FakePicture(120, 30);
    FakePicture* mute = new FakePicture(24, 24);
    FakePicture* play = new FakePicture(24, 24);
    FakePicture* slider = new FakePicture(400, 30);
    FakePicture* link1 = new FakePicture(100, 40);
    FakePicture* link2 = new FakePicture(100, 40);
    FakePicture* tip = new FakePicture(300, 20);

    explicit PlayerWindow(RECT client) : host(client)
    {
        for (FakePicture*& button : menu)
            button = new FakePicture(48, 70);
        ApplyLayout();
        host.Relayout();
    }

    void Attach(QmCell* cell, CObject* control, const wchar_t* placement)
    {
        ASSERT_NE(cell, nullptr);
        ASSERT_TRUE(cell->AddCellCtrl(control, placement)) << placement;
    }

    void ApplyLayout()
    {
        static const wchar_t* const menuNames[15] = {
            L"xiaogushi", L"chengyu", L"tonghua", L"shenhua", L"zhongwenerge",
            L"zhongwentongyao", L"xuegushi", L"xuepinyin", L"baikechangshi", L"yizhiyouxi",
            L"shuxueyouxi", L"yuwenyouxi", L"youeryingyu", L"yingwenerge", L"mianzeshengming"};
        QmCell* cell = host.GetLayoutCell();
        ASSERT_TRUE(cell->Split(L"row(Title(21),Frame(*))"));
        QmCell* titleCell = cell->FindCell(L"Title");
        Attach(titleCell, titleBackground, L"inside=true,fill=true");
        Attach(titleCell, logo, L"name=logo, inside=true, fill=false, pos=atLeft, mx=5");
        Attach(titleCell, title, L"inside=false, fill=false, anchor=logo, pos=atRight, mx=2");
        QmCell* frame = cell->FindCell(L"Frame");
        ASSERT_TRUE(frame->Split(L"col(BorderLeft(5),Middle(*),BorderRight(5))"));
        Attach(frame->FindCell(L"BorderLeft"), leftBorder, L"inside=true,fill=true");
        Attach(frame->FindCell(L"BorderRight"), rightBorder, L"inside=true,fill=true");
        QmCell* middle = frame->FindCell(L"Middle");
        ASSERT_TRUE(middle->Split(L"row(Menu(80),Main(*),Footer(100),Tip(20),BorderBottom(5))"));
        QmCell* menuCell = middle->FindCell(L"Menu");
        ASSERT_TRUE(menuCell->Split(L"col(5,*,5)"));
        Attach(menuCell->GetChild(1), menu[0], L"name=xiaogushi,inside=true,pos=atLeft,mx=0");
        for (size_t i = 1; i < menu.size(); ++i) {
            const std::wstring placement = L"name=" + std::wstring(menuNames[i]) + L",anchor="
                + menuNames[i - 1] + L",inside=false,pos=atRight,mx=3";
            Attach(menuCell->GetChild(1), menu[i], placement.c_str());
        }
        QmCell* main = middle->FindCell(L"Main");
        ASSERT_TRUE(main->Split(L"col(5,*,260,5)"));
        Attach(main->GetChild(1), flash, L"inside=true,fill=true");
        Attach(main->GetChild(2), list, L"inside=true,fill=true, pos=atLeft, mx=5");
        QmCell* footer = middle->FindCell(L"Footer");
        ASSERT_TRUE(footer->Split(L"col(5,*,0.43,5)"));
        QmCell* f = footer->GetChild(1);
        ASSERT_TRUE(f->Split(L"row(0.5,0.5)"));
        QmCell* r = f->GetChild(0);
        ASSERT_TRUE(r->Split(L"col(30, 30, 0.7, *)"));
        Attach(r->GetChild(0), mute, L"name=mute,inside=true, pos=atLeftTop, my=15");
        Attach(r->GetChild(1), play, L"name=play, inside=true, pos=atLeftTop, my=15");
        Attach(r->GetChild(2), slider, L"name=slider,inside=true,fill=false, pos=atLeftTop, my=15");
        Attach(f->GetChild(1), link1, L"inside=true, fill=false,pos=atLeft");
        Attach(footer->GetChild(2), link2, L"inside=true, fill=false,pos=atRight, mx=10, my=15");
        Attach(middle->FindCell(L"Tip"), tip, L"inside=true,fill=false,pos=atLeftTop, mx=10");
        Attach(middle->FindCell(L"BorderBottom"), bottomBorder, L"inside=true,fill=true");
    }
};

struct Expected {
    const char* what;
    const FakePicture* control;
    RECT rect;
};

void ExpectRects(const std::vector<Expected>& expected)
{
    for (const Expected& e : expected)
        EXPECT_EQ(e.control->rect, e.rect) << e.what;
}

void ExpectMenuChain(const PlayerWindow& w)
{
    for (size_t i = 0; i < w.menu.size(); ++i) {
        const LONG left = 10 + 51 * static_cast<LONG>(i);
        EXPECT_EQ(w.menu[i]->rect, (RECT{left, 26, left + 48, 96})) << "menu button " << i;
    }
}

} // namespace

TEST(PlayerLayout, In800By600)
{
    PlayerWindow w({0, 0, 800, 600});
    QmCell* middle = w.host.root->FindCell(L"Middle");
    EXPECT_EQ(middle->GetRect(), (RECT{5, 21, 795, 600}));
    EXPECT_EQ(middle->FindCell(L"Main")->GetRect(), (RECT{5, 101, 795, 475}));
    EXPECT_EQ(middle->FindCell(L"Footer")->GetRect(), (RECT{5, 475, 795, 575}));
    EXPECT_EQ(middle->FindCell(L"Footer")->GetChild(1)->GetRect(), (RECT{10, 475, 451, 575}));
    ExpectRects({
        {"title background", w.titleBackground, {0, 0, 800, 21}},
        {"logo", w.logo, {5, 2, 21, 18}},
        {"title", w.title, {23, 2, 223, 22}},
        {"left border", w.leftBorder, {0, 21, 5, 600}},
        {"right border", w.rightBorder, {795, 21, 800, 600}},
        {"flash", w.flash, {10, 101, 530, 475}},
        {"list", w.list, {535, 101, 785, 475}},
        {"mute", w.mute, {10, 490, 34, 514}},
        {"play", w.play, {40, 490, 64, 514}},
        {"slider", w.slider, {70, 490, 470, 520}},
        {"link 1", w.link1, {10, 530, 110, 570}},
        {"link 2", w.link2, {680, 505, 780, 545}},
        {"tip", w.tip, {15, 575, 315, 595}},
        {"bottom border", w.bottomBorder, {5, 595, 795, 600}},
    });
    ExpectMenuChain(w);
}

TEST(PlayerLayout, In1280By1024)
{
    PlayerWindow w({0, 0, 1280, 1024});
    QmCell* footer = w.host.root->FindCell(L"Footer");
    EXPECT_EQ(footer->GetRect(), (RECT{5, 899, 1275, 999}));
    EXPECT_EQ(footer->GetChild(2)->GetRect(), (RECT{724, 899, 1270, 999}));
    EXPECT_EQ(footer->GetChild(1)->GetChild(0)->GetChild(2)->GetRect(), (RECT{70, 899, 569, 949}));
    EXPECT_EQ(footer->GetChild(1)->GetChild(0)->GetChild(3)->GetRect(), (RECT{569, 899, 724, 949}));
    ExpectRects({
        {"title background", w.titleBackground, {0, 0, 1280, 21}},
        {"logo", w.logo, {5, 2, 21, 18}},
        {"title", w.title, {23, 2, 223, 22}},
        {"left border", w.leftBorder, {0, 21, 5, 1024}},
        {"right border", w.rightBorder, {1275, 21, 1280, 1024}},
        {"flash", w.flash, {10, 101, 1010, 899}},
        {"list", w.list, {1015, 101, 1265, 899}},
        {"mute", w.mute, {10, 914, 34, 938}},
        {"play", w.play, {40, 914, 64, 938}},
        {"slider", w.slider, {70, 914, 470, 944}},
        {"link 1", w.link1, {10, 954, 110, 994}},
        {"link 2", w.link2, {1160, 929, 1260, 969}},
        {"tip", w.tip, {15, 999, 315, 1019}},
        {"bottom border", w.bottomBorder, {5, 1019, 1275, 1024}},
    });
    ExpectMenuChain(w);
}

TEST(PlayerLayout, ResizingRecomputesFromCurrentSizes)
{
    PlayerWindow w({0, 0, 800, 600});
    w.slider->rect = {0, 0, 300, 20};
    w.host.client = {0, 0, 1280, 1024};
    w.host.Relayout();
    EXPECT_EQ(w.slider->rect, (RECT{70, 914, 370, 934}));
    EXPECT_EQ(w.flash->rect, (RECT{10, 101, 1010, 899}));
    ExpectMenuChain(w);
}
