#pragma once

#include <array>

// The programmes of the bundled demo catalogue, category by category. The
// generator writes the list files and movies from it; the tests read it back.
namespace demo {

constexpr int kMaxProgrammes = 6;

struct DemoCategory {
    const char16_t* code;
    // Programme names in list order; the rest of the array stays null.
    std::array<const char16_t*, kMaxProgrammes> programmes;
};

inline constexpr std::array<DemoCategory, 14> kDemoCatalogue = {{
    {u"01", {u"小兔子乖乖", u"小熊过生日", u"月亮船", u"小蝌蚪找妈妈"}},
    {u"02", {u"守株待兔", u"亡羊补牢", u"画蛇添足", u"拔苗助长", u"井底之蛙"}},
    {u"03", {u"丑小鸭", u"小红帽", u"三只小猪", u"拇指姑娘"}},
    {u"04", {u"女娲补天", u"后羿射日", u"嫦娥奔月"}},
    {u"05", {u"小星星", u"两只老虎", u"拔萝卜", u"找朋友", u"数鸭子"}},
    {u"06", {u"小老鼠上灯台", u"摇啊摇", u"排排坐"}},
    {u"07", {u"孔融让梨", u"司马光砸缸", u"曹冲称象", u"乌鸦喝水"}},
    {u"08", {u"单韵母", u"声母歌", u"整体认读音节", u"拼音字母表"}},
    {u"09", {u"四季的变化", u"彩虹从哪里来", u"小种子发芽", u"会变的月亮", u"海底世界", u"恐龙时代"}},
    {u"10", {u"找不同", u"图形配对", u"颜色连连看"}},
    {u"11", {u"数一数", u"比大小", u"认识形状", u"十以内加法"}},
    {u"12", {u"识字卡片", u"看图说话", u"猜字谜"}},
    {u"13", {u"认识颜色", u"数字一到十", u"动物朋友", u"水果乐园"}},
    {u"14", {u"字母歌", u"一闪一闪小星星", u"伦敦桥", u"公交车的轮子"}},
}};

}
