#include "skin/ParseHtml.h"

#include "framework/ErrorBox.h"

std::wstring_view ExtractBetween(std::wstring_view open, std::wstring_view close,
                                 std::wstring_view text, size_t& position)
{
    if (open.empty() || close.empty() || text.empty())
        return {};
    const size_t begin = text.find(open, position);
    if (begin == std::wstring_view::npos) {
        position = std::wstring_view::npos;
        return {};
    }
    const size_t contentStart = begin + open.size();
    const size_t end = text.find(close, contentStart);
    if (end == std::wstring_view::npos) {
        position = std::wstring_view::npos;
        return text.substr(contentStart);
    }
    position = end + close.size();
    return text.substr(contentStart, end - contentStart);
}

void CParseHtml::ParseNode(std::wstring_view text)
{
    auto storage = std::make_shared<const std::wstring>(text);
    const std::wstring_view view(*storage);
    Parse(std::move(storage), view, 0);
}

void CParseHtml::Parse(std::shared_ptr<const std::wstring> storage, std::wstring_view text,
                       int depth)
{
    m_storage = std::move(storage);
    m_text = text;
    m_children.clear();
    if (depth >= kMaxDepth)
        return;
    size_t namePosition = 0;
    size_t elementPosition = 0;
    while (elementPosition != std::wstring_view::npos) {
        size_t q = elementPosition;
        const std::wstring name(ExtractBetween(L"<", L">", text, namePosition));
        if (name.empty())
            break;
        const std::wstring_view content =
            ExtractBetween(L"<" + name + L">", L"</" + name + L">", text, q);
        if (!content.empty())
            AddChild(name, content, depth);
        elementPosition = q;
        namePosition = q;
    }
}

void CParseHtml::AddChild(const std::wstring& name, std::wstring_view content, int depth)
{
    auto child = std::make_unique<CParseHtml>();
    child->Parse(m_storage, content, depth + 1);
    auto [it, inserted] = m_children.try_emplace(name, nullptr);
    if (inserted) {
        it->second = std::move(child);
        return;
    }
    ShowErrorBox(L"Error in duplicate item. " + name);
}

const CParseHtml* CParseHtml::GetChild(const std::wstring& name) const
{
    auto it = m_children.find(name);
    return it == m_children.end() ? nullptr : it->second.get();
}

std::wstring CParseHtml::GetValue(const std::wstring& key) const
{
    const CParseHtml* child = GetChild(key);
    return child != nullptr ? std::wstring(child->Text()) : std::wstring();
}
