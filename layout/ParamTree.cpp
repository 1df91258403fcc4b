#include "layout/ParamTree.h"

#include <cwchar>

#include "framework/ErrorBox.h"
#include "layout/Saturate.h"

namespace {

constexpr size_t npos = std::wstring::npos;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsQuote(wchar_t c)
{
    return c == L'\'' || c == L'"';
}

std::wstring Trim(const std::wstring& text, size_t begin, size_t end)
{
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

size_t SkipBlanks(const std::wstring& text, size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

// The quote at `open` closes at the next same quote not preceded by a backslash.
size_t FindClosingQuote(const std::wstring& text, size_t open)
{
    const wchar_t quote = text[open];
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == quote && text[i - 1] != L'\\')
            return i;
    }
    return npos;
}

// Returns the position of the ")" matching the "(" at `open`, or npos after
// showing why there is none.
size_t FindClosingParen(const std::wstring& text, size_t open)
{
    size_t depth = 1;
    for (size_t i = open + 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (IsQuote(c)) {
            i = FindClosingQuote(text, i);
            if (i == npos) {
                ShowErrorBox(text + L" 无对应引号");
                return npos;
            }
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')' && --depth == 0) {
            return i;
        }
    }
    ShowErrorBox(text + L" 无对应括号");
    return npos;
}

enum class ValueEnd { Checked, Unchecked, Failed };

// Reads the value at `pos`, leaving `pos` where the separator check starts.
ValueEnd ReadValue(const std::wstring& text, size_t& pos, std::wstring& value)
{
    pos = SkipBlanks(text, pos);
    if (pos >= text.size()) {
        value.clear();
        return ValueEnd::Unchecked;
    }
    const wchar_t first = text[pos];
    if (IsQuote(first)) {
        const size_t close = FindClosingQuote(text, pos);
        if (close == npos)
            return ValueEnd::Failed;
        value = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return ValueEnd::Checked;
    }
    if (first == L'(') {
        const size_t close = FindClosingParen(text, pos);
        if (close == npos)
            return ValueEnd::Failed;
        value = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return ValueEnd::Checked;
    }
    if (first == L',') {
        value.clear();
        ++pos;
        return ValueEnd::Unchecked;
    }
    size_t end = text.find(L',', pos);
    if (end == npos)
        end = text.size();
    value = Trim(text, pos, end);
    pos = end;
    return ValueEnd::Checked;
}

} // namespace

std::unique_ptr<ParamTree> ParseParamTree(const std::wstring& text)
{
    auto tree = std::make_unique<ParamTree>();
    size_t pos = 0;
    for (;;) {
        const size_t equals = text.find(L'=', pos);
        if (equals == npos || equals == pos)
            return tree;
        std::wstring key = Trim(text, pos, equals);
        if (key.empty())
            return tree;
        pos = equals + 1;
        std::wstring value;
        const ValueEnd end = ReadValue(text, pos, value);
        if (end == ValueEnd::Failed)
            return nullptr;
        if (end == ValueEnd::Checked) {
            pos = SkipBlanks(text, pos);
            if (pos < text.size() && text[pos] != L',')
                return nullptr;
            ++pos;
        }
        (*tree)[std::move(key)] = std::move(value);
    }
}

bool GetParamString(const ParamTree& tree, const std::wstring& key, std::wstring& out)
{
    const auto it = tree.find(key);
    if (it == tree.end())
        return false;
    out = it->second;
    return true;
}

bool GetParamInt(const ParamTree& tree, const std::wstring& key, int32_t& out)
{
    const auto it = tree.find(key);
    if (it == tree.end())
        return false;
    const std::wstring& text = it->second;
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size())
        return false;
    out = SaturateToInt32(value);
    return true;
}

bool GetParamReal(const ParamTree& tree, const std::wstring& key, double& out)
{
    const auto it = tree.find(key);
    if (it == tree.end())
        return false;
    const std::wstring& text = it->second;
    wchar_t* end = nullptr;
    const double value = std::wcstod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return false;
    out = value;
    return true;
}
