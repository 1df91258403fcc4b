#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "skin/ParseHtml.h"
#include "support/ErrorBoxRecorder.h"

TEST(ExtractBetween, FindsTextAndMovesPosition)
{
    struct Case {
        const wchar_t* open;
        const wchar_t* close;
        const wchar_t* text;
        size_t start;
        const wchar_t* result;
        size_t position;
    };
    const size_t none = std::wstring_view::npos;
    const Case cases[] = {
        {L"<", L">", L"ab<cd>ef", 0, L"cd", 6},
        {L"<", L">", L"ab<cd>ef<gh>", 6, L"gh", 12},
        {L"<", L">", L"ab<cd", 0, L"cd", none},
        {L"<", L">", L"abcd", 0, L"", none},
        {L"", L">", L"a<b>", 0, L"", 0},
        {L"<", L">", L"", 3, L"", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << c.text);
        size_t position = c.start;
        EXPECT_EQ(ExtractBetween(c.open, c.close, c.text, position), c.result);
        EXPECT_EQ(position, c.position);
    }
}

TEST(ParseHtml, ReadsTypesItemsAndKeys)
{
    CParseHtml root;
    root.ParseNode(L"<QmStaticInitDef><NAV_PIC_LOGO><resourcePath>skin\\</resourcePath>"
                   L"<statesBmp>logo.png</statesBmp></NAV_PIC_LOGO>"
                   L"</QmStaticInitDef>comment<B> 5 </B>tail");
    const CParseHtml* item = root.GetChild(L"QmStaticInitDef")->GetChild(L"NAV_PIC_LOGO");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetValue(L"resourcePath"), L"skin\\");
    EXPECT_EQ(item->GetValue(L"statesBmp"), L"logo.png");
    EXPECT_EQ(item->GetValue(L"statesbmp"), L"");
    EXPECT_EQ(root.GetValue(L"B"), L" 5 ");
    EXPECT_EQ(root.ChildCount(), 2u);
}

TEST(ParseHtml, StructuralEdgeCases)
{
    struct Case {
        const char* name;
        const wchar_t* text;
        size_t children;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {"empty content is not recorded", L"<A></A><B>1</B>", 1, L"A", L""},
        {"same name does not nest", L"<A><A>1</A></A>", 1, L"A", L"<A>1"},
        {"missing closing tag takes the rest", L"<A>1<B>2</B>", 1, L"A", L"1<B>2</B>"},
        {"empty name ends the level", L"<A>1</A><><B>2</B>", 1, L"B", L""},
        {"stray closing tag takes the rest", L"</x><A>1</A>", 1, L"/x", L"<A>1</A>"},
        {"cut in the middle of a tag", L"<A>1</A><B>2</", 2, L"B", L"2</"},
        {"unterminated name", L"<A>1</A><B", 1, L"A", L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CParseHtml root;
        root.ParseNode(c.text);
        EXPECT_EQ(root.ChildCount(), c.children);
        EXPECT_EQ(root.GetValue(c.key), c.value);
    }
    CParseHtml nested;
    nested.ParseNode(L"<A><A>1</A></A>");
    EXPECT_EQ(nested.GetChild(L"A")->GetValue(L"A"), L"1");
}

TEST(ParseHtml, DuplicateKeepsFirstAndReportsOnce)
{
    ErrorBoxRecorder boxes;
    CParseHtml root;
    root.ParseNode(L"<A><x>1</x></A><A><x>2</x><x>3</x></A>");
    EXPECT_EQ(root.GetChild(L"A")->GetValue(L"x"), L"1");
    // The discarded element's own duplicate is reported first.
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::wstring>{L"Error in duplicate item. x", L"Error in duplicate item. A"}));
}

TEST(ParseHtml, HostileNestingStaysBoundedAndFast)
{
    // 10 MB of distinct nested tags, and of unclosed tags of one name.
    std::wstring distinct;
    std::vector<std::wstring> names;
    for (int i = 0; distinct.size() < 5'000'000; ++i) {
        names.push_back(L"t" + std::to_wstring(i));
        distinct += L"<" + names.back() + L">";
    }
    distinct += L"x";
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        distinct += L"</" + *it + L">";
    std::wstring unclosed;
    while (unclosed.size() < 10'000'000)
        unclosed += L"<a>";
    const auto start = std::chrono::steady_clock::now();
    for (const std::wstring* text : {&distinct, &unclosed}) {
        CParseHtml root;
        root.ParseNode(*text);
        EXPECT_EQ(root.ChildCount(), 1u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}
