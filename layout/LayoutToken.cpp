#include "layout/LayoutToken.h"

#include <cmath>
#include <cwchar>

#include "layout/Saturate.h"

namespace {

enum class LexState { Name, Number, Delimiter };

bool IsDelimiter(wchar_t c)
{
    return c == L' ' || c == L'(' || c == L')' || c == L'*' || c == L',' || c == L'=';
}

bool IsNumberChar(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || c == L'.' || c == L'-';
}

LayoutToken NumberToken(std::wstring text)
{
    // Only digits, '.' and '-' reach here, so the buffer holds no NUL.
    const double value = std::wcstod(text.c_str(), nullptr);
    const double whole = std::trunc(value);
    LayoutToken token{std::move(text)};
    if (std::fabs(value - whole) > 0.000001) {
        token.kind = TokenKind::Real;
        token.dValue = value;
    } else {
        token.kind = TokenKind::Int;
        token.nValue = TruncateToInt32(whole);
    }
    return token;
}

TokenKind DelimiterKind(const std::wstring& text)
{
    if (text.size() != 1)
        return TokenKind::Invalid;
    switch (text[0]) {
    case L'(': return TokenKind::OpenParen;
    case L')': return TokenKind::CloseParen;
    case L',': return TokenKind::Comma;
    case L'*': return TokenKind::Star;
    case L'=': return TokenKind::Equals;
    case L' ': return TokenKind::Space;
    default: return TokenKind::Invalid;
    }
}

void Emit(std::wstring& buffer, LexState state, TokenList& tokens)
{
    if (buffer.empty())
        return;
    switch (state) {
    case LexState::Number:
        tokens.push_back(NumberToken(std::move(buffer)));
        break;
    case LexState::Delimiter: {
        const TokenKind kind = DelimiterKind(buffer);
        if (kind != TokenKind::Space && kind != TokenKind::Invalid)
            tokens.push_back(LayoutToken{std::move(buffer), 0, 0.0, kind});
        break;
    }
    case LexState::Name: {
        TokenKind kind = TokenKind::Name;
        if (buffer == L"row")
            kind = TokenKind::Row;
        else if (buffer == L"col")
            kind = TokenKind::Col;
        tokens.push_back(LayoutToken{std::move(buffer), 0, 0.0, kind});
        break;
    }
    }
    buffer.clear();
}

} // namespace

double LayoutToken::Value() const
{
    switch (kind) {
    case TokenKind::Int: return nValue;
    case TokenKind::Real: return dValue;
    case TokenKind::Star: return -1.0;
    default: return 0.0;
    }
}

void Tokenize(const std::wstring& text, TokenList& tokens)
{
    tokens.clear();
    std::wstring buffer;
    LexState state = LexState::Name;
    for (wchar_t c : text) {
        if (IsDelimiter(c)) {
            Emit(buffer, state, tokens);
            state = LexState::Delimiter;
        } else if (IsNumberChar(c)) {
            if (state == LexState::Delimiter) {
                Emit(buffer, state, tokens);
                state = LexState::Number;
            }
        } else if (state != LexState::Name) {
            Emit(buffer, state, tokens);
            state = LexState::Name;
        }
        buffer.push_back(c);
    }
    Emit(buffer, state, tokens);
}

bool ReadKeyValue(TokenList& tokens, std::wstring& key, std::wstring& value)
{
    if (tokens.size() <= 2)
        return false;
    if (tokens[0].kind != TokenKind::Name || tokens[0].text.empty())
        return false;
    if (tokens[1].kind != TokenKind::Equals || tokens[2].text.empty())
        return false;
    key = tokens[0].text;
    value = tokens[2].text;
    tokens.erase(tokens.begin(), tokens.begin() + 3);
    if (!tokens.empty() && tokens.front().kind == TokenKind::Comma)
        tokens.pop_front();
    return true;
}
