#include "toolkit/QmBkgndPic.h"

#include "framework/ErrorBox.h"
#include "toolkit/ImageRules.h"
#include "toolkit/QmDialog.h"

QmBkgndPic::~QmBkgndPic()
{
    ReleaseImage(m_pImage);
}

bool QmBkgndPic::QmCreate(const QmStaticInitDef& def, CWnd* parent)
{
    m_pParent = dynamic_cast<QmDialog*>(parent);
    if (m_pParent == nullptr) {
        ShowErrorBox(L"Error in QmBkgndPic::QmCreate: pParent不是QmDialog.");
        return false;
    }
    m_rect = RECT{0, 0, def.nWidth, def.nHeight};
    if (def.statesBmp.empty()) {
        ShowErrorBox(L"Error in QmBkgndPic::QmCreate: 无图片文件.");
        return false;
    }
    ReleaseImage(m_pImage);
    m_pImage = AcquireImage(def.resourcePath + def.statesBmp.front());
    if (m_pImage == nullptr) {
        ShowErrorBox(L"Error in QmBkgndPic::QmCreate: 图片文件载入失败.");
        return false;
    }
    if (def.nWidth == 0 || def.nHeight == 0)
        m_rect = RECT{0, 0, m_pImage->GetWidth(), m_pImage->GetHeight()};
    return true;
}

void QmBkgndPic::GetWindowRect(RECT* rect) const
{
    if (rect != nullptr)
        *rect = m_rect;
}

void QmBkgndPic::MoveWindow(const RECT& rect, BOOL repaint)
{
    m_rect = rect;
    if (m_pParent != nullptr && m_pParent->IsWindow())
        m_pParent->Invalidate(repaint != FALSE);
}

HWND QmBkgndPic::GetParent() const
{
    return m_pParent != nullptr ? m_pParent->GetHwnd() : nullptr;
}

void QmBkgndPic::Invalidate(BOOL erase)
{
    if (m_pParent != nullptr && m_pParent->IsWindow())
        m_pParent->Invalidate(erase != FALSE);
}

void QmBkgndPic::DrawImage(HDC dc, const RECT& rect) const
{
    if (m_pImage != nullptr)
        ::DrawImage(dc, *m_pImage, rect);
}
