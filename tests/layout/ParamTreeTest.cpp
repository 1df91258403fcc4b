#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "layout/ParamTree.h"
#include "support/ErrorBoxRecorder.h"

TEST(ParseParamTree, ReadsKeyedValues)
{
    struct Case {
        std::wstring text;
        ParamTree expected;
    };
    const std::vector<Case> cases = {
        {L"", {}},
        {L"abc", {}},
        {L"=5", {}},
        {L" =5", {}},
        {L"a = 1", {{L"a", L"1"}}},
        {L"a=", {{L"a", L""}}},
        {L"a=  \t", {{L"a", L""}}},
        {L"a=,b=2", {{L"a", L""}, {L"b", L"2"}}},
        {L"a=1,,b=2", {{L"a", L"1"}, {L",b", L"2"}}},
        {L"size=(3,4), title='a, b', count=2",
         {{L"size", L"3,4"}, {L"title", L"a, b"}, {L"count", L"2"}}},
        {L"p=('x)', y), q=2", {{L"p", L"'x)', y"}, {L"q", L"2"}}},
        {L"t='it\\'s'", {{L"t", L"it\\'s"}}},
        {L"t=\"a'b\" , u=''", {{L"t", L"a'b"}, {L"u", L""}}},
        {L"n=(a=(b=1), c=\"(\")", {{L"n", L"a=(b=1), c=\"(\""}}},
        {L"k=1, k=2", {{L"k", L"2"}}},
        {L"\tkey word = some value ,x=y", {{L"key word", L"some value"}, {L"x", L"y"}}},
        {L"a=1, trailing text", {{L"a", L"1"}}},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<ParamTree> tree = ParseParamTree(c.text);
        ASSERT_TRUE(tree) << c.text;
        EXPECT_EQ(*tree, c.expected) << c.text;
    }
}

TEST(ParseParamTree, FailsSilentlyOnTopLevelMistakes)
{
    for (const std::wstring text : {L"a='x", L"a='x' y", L"a=(1) y", L"a='x\\'", L"b=2, a=\"x"})
        EXPECT_FALSE(ParseParamTree(text)) << text;
}

TEST(ParseParamTree, ReportsUnbalancedParenthesesAndQuotesInsideThem)
{
    ErrorBoxRecorder boxes;
    EXPECT_FALSE(ParseParamTree(L"a=(b=1"));
    EXPECT_FALSE(ParseParamTree(L"a=((b)"));
    EXPECT_FALSE(ParseParamTree(L"a=(b='x)"));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{
                                 L"a=(b=1 无对应括号", L"a=((b) 无对应括号", L"a=(b='x) 无对应引号"}));
}

TEST(ParseParamTree, NestedListsAreParsedWhenRead)
{
    const auto outer = ParseParamTree(L"size=(w=3, h=(d=4)), pair=(3,4)");
    ASSERT_TRUE(outer);
    std::wstring text;
    ASSERT_TRUE(GetParamString(*outer, L"size", text));
    const auto size = ParseParamTree(text);
    ASSERT_TRUE(size);
    int32_t w = 0;
    EXPECT_TRUE(GetParamInt(*size, L"w", w));
    EXPECT_EQ(w, 3);
    ASSERT_TRUE(GetParamString(*outer, L"pair", text));
    const auto pair = ParseParamTree(text);
    ASSERT_TRUE(pair);
    EXPECT_TRUE(pair->empty());
}

TEST(GetParam, ConvertsTheWholeValueOrLeavesTheOutValue)
{
    const auto tree = ParseParamTree(
        L"i= -42, blank=, trail='2 ', big=99999999999, neg=-99999999999, r=2.5e1, word=x, hex=0x10");
    ASSERT_TRUE(tree);

    int32_t n = 7;
    EXPECT_TRUE(GetParamInt(*tree, L"i", n));
    EXPECT_EQ(n, -42);
    EXPECT_TRUE(GetParamInt(*tree, L"blank", n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(GetParamInt(*tree, L"big", n));
    EXPECT_EQ(n, INT_MAX);
    EXPECT_TRUE(GetParamInt(*tree, L"neg", n));
    EXPECT_EQ(n, INT_MIN);
    n = 7;
    for (const std::wstring key : {L"trail", L"r", L"word", L"hex", L"missing"})
        EXPECT_FALSE(GetParamInt(*tree, key, n)) << key;
    EXPECT_EQ(n, 7);

    double d = 1.0;
    EXPECT_TRUE(GetParamReal(*tree, L"r", d));
    EXPECT_EQ(d, 25.0);
    d = 1.0;
    EXPECT_FALSE(GetParamReal(*tree, L"trail", d));
    EXPECT_FALSE(GetParamReal(*tree, L"word", d));
    EXPECT_EQ(d, 1.0);

    std::wstring s = L"untouched";
    EXPECT_FALSE(GetParamString(*tree, L"I", s));
    EXPECT_EQ(s, L"untouched");
    EXPECT_TRUE(GetParamString(*tree, L"trail", s));
    EXPECT_EQ(s, L"2 ");
}
