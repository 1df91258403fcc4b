#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "FakeElements.h"
#include "layout/LayoutToken.h"
#include "layout/ParamTree.h"
#include "layout/QmCell.h"
#include "support/ErrorBoxRecorder.h"

namespace {

// Pieces that the readers react to, so random strings reach deep into them.
const std::vector<std::wstring> kPieces = {
    L"row", L"col", L"(", L")", L",", L"=", L"*", L" ", L"\t", L"'", L"\"", L"\\", L"-", L".",
    L"0", L"1", L"5", L"0.5", L"99999999999", L"name", L"anchor", L"pos", L"atLeft", L"fill",
    L"true", L"mx", L"Title", L"x", std::wstring(1, L'\0'), L"\x4E2D", L"\xD800", L"\xFFFF"};

std::wstring RandomText(std::mt19937& random, size_t maxPieces)
{
    std::uniform_int_distribution<size_t> count(0, maxPieces);
    std::uniform_int_distribution<size_t> piece(0, kPieces.size() - 1);
    std::wstring text;
    for (size_t n = count(random); n > 0; --n)
        text += kPieces[piece(random)];
    return text;
}

// Runs every reader of the layout engine over one text.
void Exercise(const std::wstring& text)
{
    TokenList tokens;
    Tokenize(text, tokens);
    std::wstring key, value;
    while (ReadKeyValue(tokens, key, value)) {
    }

    QmCell cell;
    ASSERT_TRUE(cell.Split(L"col(3)"));
    if (cell.Split(text)) {
        cell.Layout({0, 0, 640, 480});
        cell.Layout({50, 50, -50, -50});
    } else {
        ASSERT_EQ(cell.GetChildCount(), 1u);
    }
    ASSERT_TRUE(cell.AddCellCtrl(new FakePicture(10, 10), L"name=x"));
    auto* picture = new FakePicture(20, 20);
    if (!cell.AddCellCtrl(picture, text))
        delete picture;
    cell.PlaceControls(cell.GetRect());

    if (auto tree = ParseParamTree(text)) {
        int32_t n = 0;
        double d = 0;
        for (const auto& [k, v] : *tree) {
            GetParamInt(*tree, k, n);
            GetParamReal(*tree, k, d);
            ParseParamTree(v);
        }
    }
}

} // namespace

TEST(HostileInput, RandomStringsNeverCrashOrHang)
{
    ErrorBoxRecorder boxes;
    std::mt19937 random(20240611);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 30000; ++i) {
        Exercise(RandomText(random, 24));
        boxes.Clear();
    }
    for (int i = 0; i < 20; ++i)
        Exercise(RandomText(random, 20000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(HostileInput, ExtremeStringsAreHandledInLinearTime)
{
    ErrorBoxRecorder boxes;
    const size_t n = 200000;
    const std::vector<std::wstring> texts = {
        L"row(" + std::wstring(n, L'(') + L")",
        L"row(" + std::wstring(n, L'9') + L")",
        L"col(" + std::wstring(n, L'-') + L")",
        L"a=" + std::wstring(n, L'('),
        L"a=(" + std::wstring(n, L'\'') + L")",
        L"a='" + std::wstring(n, L'\\') + L"'",
        L"a=\"" + std::wstring(n, L'x'),
        std::wstring(n, L'='),
        std::wstring(n, L'\0'),
        std::wstring(n, L' '),
    };
    const auto start = std::chrono::steady_clock::now();
    for (const std::wstring& text : texts)
        Exercise(text);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    std::wstring repeated;
    for (size_t i = 0; i < 20000; ++i)
        repeated += L"A(1),";
    QmCell cell;
    ASSERT_TRUE(cell.Split(L"row(" + repeated + L"*)"));
    EXPECT_EQ(cell.GetChildCount(), 20001u);
    cell.Layout({0, 0, 10, 10});
    EXPECT_EQ(cell.GetChild(20000)->GetRect().top, 20000);
    EXPECT_EQ(cell.GetChild(20000)->GetRect().bottom, 10);
    EXPECT_EQ(cell.GetChild(19999)->GetRect().bottom, 20000);
}
