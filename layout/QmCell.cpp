#include "layout/QmCell.h"

#include <utility>

#include "layout/LayoutPlan.h"
#include "layout/Saturate.h"

namespace {

// Below 1 a size is a fraction of the whole extent; the fraction part of pixels is dropped.
int64_t ToPixels(double size, int64_t extent)
{
    if (size < 1.0)
        size *= static_cast<double>(extent);
    return TruncateToInt32(size);
}

} // namespace

QmCell::QmCell(LayoutHost* host) : m_pDialog(host) {}

QmCell::QmCell(QmCell* parent, std::wstring name)
    : m_name(std::move(name)), m_pDialog(parent->m_pDialog), m_pParent(parent)
{
}

QmCell::~QmCell()
{
    DisposeAttachments();
    m_children.clear();
}

bool QmCell::Split(const std::wstring& layout)
{
    LayoutPlan plan;
    if (!ReadLayoutPlan(layout, plan))
        return false;
    m_nOrientation = plan.orientation;
    for (size_t i = 0; i < plan.sizes.size(); ++i) {
        m_children.push_back(std::unique_ptr<QmCell>(new QmCell(this, std::move(plan.names[i]))));
        m_sizes.push_back(plan.sizes[i]);
    }
    return true;
}

QmCell* QmCell::FindCell(const std::wstring& name) const
{
    if (name.empty())
        return nullptr;
    for (const auto& child : m_children) {
        if (child->m_name == name)
            return child.get();
        if (QmCell* found = child->FindCell(name))
            return found;
    }
    return nullptr;
}

// Leading entries go from the near end, trailing ones from the far end, and
// the elastic entry gets what is left, inverted when the others overrun.
// Nothing is clamped.
void QmCell::Layout(const RECT& rect)
{
    m_rect = rect;
    const size_t count = m_children.size();
    if (count == 0)
        return;
    const bool col = m_nOrientation == 1;
    const int64_t extent = col ? int64_t{rect.right} - rect.left : int64_t{rect.bottom} - rect.top;
    int64_t front = col ? rect.left : rect.top;
    int64_t back = col ? rect.right : rect.bottom;
    auto span = [&](int64_t from, int64_t to) {
        return col ? RECT{SaturateToInt32(from), rect.top, SaturateToInt32(to), rect.bottom}
                   : RECT{rect.left, SaturateToInt32(from), rect.right, SaturateToInt32(to)};
    };

    size_t elastic = 0;
    while (elastic < count && m_sizes[elastic] >= 0.0)
        ++elastic;
    for (size_t i = 0; i < elastic; ++i) {
        const int64_t pixels = ToPixels(m_sizes[i], extent);
        LayoutChild(i, span(front, front + pixels));
        front += pixels;
    }
    if (elastic == count)
        return;
    for (size_t i = count - 1; i > elastic; --i) {
        const int64_t pixels = ToPixels(m_sizes[i], extent);
        LayoutChild(i, span(back - pixels, back));
        back -= pixels;
    }
    LayoutChild(elastic, span(front, back));
}

void QmCell::LayoutChild(size_t index, const RECT& rect)
{
    m_children[index]->Layout(rect);
}

void QmCell::Paint(HDC dc) const
{
    for (const Attachment& attachment : m_controls) {
        const auto* picture = dynamic_cast<const CellPicture*>(attachment.object);
        if (!picture || !picture->HasImage())
            continue;
        RECT rect{};
        picture->GetWindowRect(&rect);
        if (rect.right <= rect.left || rect.bottom <= rect.top)
            continue;
        ::SetStretchBltMode(dc, COLORONCOLOR);
        picture->DrawImage(dc, rect);
    }
    for (const auto& child : m_children)
        child->Paint(dc);
}

void QmCell::SwapFirstTwo()
{
    if (m_children.size() < 2)
        return;
    std::swap(m_children[0], m_children[1]);
    std::swap(m_sizes[0], m_sizes[1]);
}
