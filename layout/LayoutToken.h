#pragma once
#include <cstdint>
#include <deque>
#include <string>

// The in-memory values are fixed: other code stores and compares them.
enum class TokenKind : int32_t {
    Row = 0,
    Col = 1,
    OpenParen = 2,
    CloseParen = 3,
    Int = 4,
    Real = 5,
    Comma = 6,
    Star = 7,
    Space = 8,
    Equals = 9,
    Name = 10,
    Invalid = 12,
};

struct LayoutToken {
    std::wstring text;
    int32_t nValue = 0;
    double dValue = 0.0;
    TokenKind kind = TokenKind::Invalid;

    // The size a layout entry means: the number, -1 for "*", 0 for anything else.
    double Value() const;
};

// Readers consume a token list from the front.
using TokenList = std::deque<LayoutToken>;

// Cuts a layout or placement string into tokens; blanks only separate tokens.
// Numbers outside the 32-bit range saturate.
void Tokenize(const std::wstring& text, TokenList& tokens);

// Reads "key = value" (and one following comma) from the front of the list.
// On failure nothing is removed.
bool ReadKeyValue(TokenList& tokens, std::wstring& key, std::wstring& value);
