#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "layout/LayoutToken.h"

namespace {

using K = TokenKind;

std::vector<K> Kinds(const TokenList& tokens)
{
    std::vector<K> kinds;
    for (const LayoutToken& t : tokens)
        kinds.push_back(t.kind);
    return kinds;
}

std::vector<std::wstring> Texts(const TokenList& tokens)
{
    std::vector<std::wstring> texts;
    for (const LayoutToken& t : tokens)
        texts.push_back(t.text);
    return texts;
}

TokenList Lex(const std::wstring& text)
{
    TokenList tokens;
    Tokenize(text, tokens);
    return tokens;
}

} // namespace

TEST(TokenKind, KeepsItsInMemoryValues)
{
    EXPECT_EQ(static_cast<int>(K::Row), 0);
    EXPECT_EQ(static_cast<int>(K::Real), 5);
    EXPECT_EQ(static_cast<int>(K::Name), 10);
    EXPECT_EQ(static_cast<int>(K::Invalid), 12);
}

TEST(Tokenize, CutsTextIntoTypedTokens)
{
    struct Case {
        std::wstring text;
        std::vector<K> kinds;
        std::vector<std::wstring> texts;
    };
    const std::vector<Case> cases = {
        {L"name=logo, inside=true",
         {K::Name, K::Equals, K::Name, K::Comma, K::Name, K::Equals, K::Name},
         {L"name", L"=", L"logo", L",", L"inside", L"=", L"true"}},
        {L"col(30, 30, 0.7, *)",
         {K::Col, K::OpenParen, K::Int, K::Comma, K::Int, K::Comma, K::Real, K::Comma, K::Star,
          K::CloseParen},
         {L"col", L"(", L"30", L",", L"30", L",", L"0.7", L",", L"*", L")"}},
        {L"row(Title2(21))", {K::Row, K::OpenParen, K::Name, K::OpenParen, K::Int, K::CloseParen, K::CloseParen},
         {L"row", L"(", L"Title2", L"(", L"21", L")", L")"}},
        {L"a\tb", {K::Name}, {L"a\tb"}},
        {L"a-b", {K::Name}, {L"a-b"}},
        {L"+5", {K::Name}, {L"+5"}},
        {L"(5e3", {K::OpenParen, K::Int, K::Name}, {L"(", L"5", L"e3"}},
        // The lexer starts in the name state: a leading number is part of a name.
        {L"5e3", {K::Name}, {L"5e3"}},
        {L"=5px", {K::Equals, K::Int, K::Name}, {L"=", L"5", L"px"}},
        {L"rows(5)", {K::Name, K::OpenParen, K::Int, K::CloseParen}, {L"rows", L"(", L"5", L")"}},
        {L"Row col", {K::Name, K::Col}, {L"Row", L"col"}},
        {L"((", {K::OpenParen, K::OpenParen}, {L"(", L"("}},
        {L"   ", {}, {}},
        {L"", {}, {}},
    };
    for (const Case& c : cases) {
        const TokenList tokens = Lex(c.text);
        EXPECT_EQ(Kinds(tokens), c.kinds) << c.text;
        EXPECT_EQ(Texts(tokens), c.texts) << c.text;
    }
}

TEST(Tokenize, NumbersAreIntUnlessTheyHaveAFractionalPart)
{
    struct Case {
        std::wstring number;
        K kind;
        int32_t intValue;
        double realValue;
    };
    const std::vector<Case> cases = {
        {L"-1", K::Int, -1, 0},           {L"3.", K::Int, 3, 0},
        {L"2.0000001", K::Int, 2, 0},     {L"-0", K::Int, 0, 0},
        {L"-", K::Int, 0, 0},             {L".", K::Int, 0, 0},
        {L"0.5", K::Real, 0, 0.5},        {L"-0.5", K::Real, 0, -0.5},
        {L"1.2.3", K::Real, 0, 1.2},      {L"10.7", K::Real, 0, 10.7},
        {L"5-3", K::Int, 5, 0},
        {L"99999999999", K::Int, INT_MAX, 0},
        {L"-99999999999", K::Int, INT_MIN, 0},
        {std::wstring(400, L'9'), K::Int, INT_MAX, 0},
        {L"-" + std::wstring(400, L'9'), K::Int, INT_MIN, 0},
    };
    for (const Case& c : cases) {
        const TokenList tokens = Lex(L"=" + c.number);
        ASSERT_EQ(tokens.size(), 2u) << c.number;
        const LayoutToken& t = tokens[1];
        EXPECT_EQ(t.text, c.number);
        EXPECT_EQ(t.kind, c.kind) << c.number;
        if (c.kind == K::Int)
            EXPECT_EQ(t.nValue, c.intValue) << c.number;
        else
            EXPECT_DOUBLE_EQ(t.dValue, c.realValue) << c.number;
    }
}

TEST(Tokenize, ClearsTheListFirst)
{
    TokenList tokens = Lex(L"a b c");
    Tokenize(L"x", tokens);
    EXPECT_EQ(Texts(tokens), std::vector<std::wstring>{L"x"});
}

TEST(LayoutToken, ValueGivesTheSizeAnEntryMeans)
{
    const TokenList tokens = Lex(L"(7,0.25,*,name");
    EXPECT_EQ(tokens[1].Value(), 7.0);
    EXPECT_EQ(tokens[3].Value(), 0.25);
    EXPECT_EQ(tokens[5].Value(), -1.0);
    EXPECT_EQ(tokens[7].Value(), 0.0);
    EXPECT_EQ(tokens[0].Value(), 0.0);
}

TEST(ReadKeyValue, ReadsOnePairAndOneFollowingComma)
{
    TokenList tokens = Lex(L"x = 5 y = 6");
    std::wstring key, value;
    ASSERT_TRUE(ReadKeyValue(tokens, key, value));
    EXPECT_EQ(key, L"x");
    EXPECT_EQ(value, L"5");
    EXPECT_EQ(Texts(tokens), (std::vector<std::wstring>{L"y", L"=", L"6"}));

    tokens = Lex(L"my=-1, , b=2");
    ASSERT_TRUE(ReadKeyValue(tokens, key, value));
    EXPECT_EQ(value, L"-1");
    EXPECT_EQ(Texts(tokens), (std::vector<std::wstring>{L",", L"b", L"=", L"2"}));
}

TEST(ReadKeyValue, FailsWithoutRemovingAnything)
{
    for (const std::wstring text : {L"", L"a=", L"a 5", L"(=5", L"=a=b", L"row=1"}) {
        TokenList tokens = Lex(text);
        const size_t before = tokens.size();
        std::wstring key = L"k", value = L"v";
        EXPECT_FALSE(ReadKeyValue(tokens, key, value)) << text;
        EXPECT_EQ(tokens.size(), before) << text;
        EXPECT_EQ(key, L"k");
    }
}
