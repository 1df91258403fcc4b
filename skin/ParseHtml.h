#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>

// The text between the first `open` at or after `position` and the first
// `close` after it (the rest of the text when close is missing). position
// moves behind close, or becomes npos when open or close is missing; it
// stays unchanged when open, close or text is empty.
std::wstring_view ExtractBetween(std::wstring_view open, std::wstring_view close,
                                 std::wstring_view text, size_t& position);

// One element of the definition file's tag tree. A node's text is its
// content exactly as in the file; children are keyed by element name.
// All nodes of a tree share one copy of the text, so memory stays
// proportional to the file, and elements nested deeper than kMaxDepth keep
// their text without being split into children, so hostile nesting cannot
// exhaust the stack or take quadratic time.
class CParseHtml {
public:
    CParseHtml() = default;
    virtual ~CParseHtml() = default;
    CParseHtml(const CParseHtml&) = delete;
    CParseHtml& operator=(const CParseHtml&) = delete;

    static constexpr int kMaxDepth = 32;

    void ParseNode(std::wstring_view text);
    const CParseHtml* GetChild(const std::wstring& name) const;
    std::wstring GetValue(const std::wstring& key) const;

    std::wstring_view Text() const { return m_text; }
    size_t ChildCount() const { return m_children.size(); }

private:
    void Parse(std::shared_ptr<const std::wstring> storage, std::wstring_view text, int depth);
    void AddChild(const std::wstring& name, std::wstring_view content, int depth);

    std::shared_ptr<const std::wstring> m_storage;
    std::wstring_view m_text;
    std::map<std::wstring, std::unique_ptr<CParseHtml>> m_children;
};
