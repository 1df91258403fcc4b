#include "layout/LayoutPlan.h"

#include "framework/ErrorBox.h"
#include "layout/LayoutToken.h"

namespace {

bool IsSizeToken(const LayoutToken& token)
{
    return token.kind == TokenKind::Int || token.kind == TokenKind::Real
        || token.kind == TokenKind::Star;
}

// Strips "row(" / "col(" and the final ")"; sets the orientation.
bool ReadHeader(TokenList& tokens, int32_t& orientation)
{
    if (tokens.empty())
        return false;
    const TokenKind first = tokens.front().kind;
    if (first != TokenKind::Row && first != TokenKind::Col)
        return false;
    if (tokens.size() < 3) {
        ShowErrorBox(L"格式字符串token数小于3");
        return false;
    }
    if (tokens[1].kind != TokenKind::OpenParen || tokens.back().kind != TokenKind::CloseParen) {
        ShowErrorBox(L"格式字符串两端不是括号");
        return false;
    }
    orientation = first == TokenKind::Row ? 0 : 1;
    tokens.pop_front();
    tokens.pop_front();
    tokens.pop_back();
    return true;
}

// Reads one entry, unnamed "5" or named "Main(*)", and the comma after it.
bool ReadEntry(TokenList& tokens, double& size, std::wstring& name)
{
    if (IsSizeToken(tokens.front())) {
        size = tokens.front().Value();
        name.clear();
        tokens.pop_front();
    } else if (tokens.size() >= 4 && tokens[0].kind == TokenKind::Name
               && tokens[1].kind == TokenKind::OpenParen && IsSizeToken(tokens[2])
               && tokens[3].kind == TokenKind::CloseParen) {
        size = tokens[2].Value();
        name = tokens[0].text;
        tokens.erase(tokens.begin(), tokens.begin() + 4);
    } else {
        return false;
    }
    if (tokens.empty())
        return true;
    if (tokens.front().kind != TokenKind::Comma)
        return false;
    tokens.pop_front();
    return true;
}

} // namespace

bool ReadLayoutPlan(const std::wstring& text, LayoutPlan& plan)
{
    TokenList tokens;
    Tokenize(text, tokens);
    LayoutPlan read;
    if (!ReadHeader(tokens, read.orientation))
        return false;
    while (!tokens.empty()) {
        double size = 0.0;
        std::wstring name;
        if (!ReadEntry(tokens, size, name))
            return false;
        read.sizes.push_back(size);
        read.names.push_back(std::move(name));
    }
    read.count = static_cast<int32_t>(read.sizes.size());
    plan = std::move(read);
    return true;
}
