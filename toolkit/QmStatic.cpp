#include "toolkit/QmStatic.h"

#include "framework/ErrorBox.h"
#include "toolkit/ImageRules.h"

namespace {
constexpr wchar_t kDefaultFace[] = L"宋体";
}

QmStatic::~QmStatic()
{
    ReleaseImages();
}

bool QmStatic::QmCreate(const QmStaticInitDef& def, CWnd* pParent, UINT nID)
{
    m_def = def;
    const std::wstring first =
        m_def.statesBmp.empty() ? std::wstring() : m_def.resourcePath + m_def.statesBmp[0];
    SetContent(first, m_def.text, m_def.colorText, m_def.nFontSize);
    for (size_t i = 1; i < m_def.statesBmp.size(); ++i)
        AppendImage(m_def.resourcePath + m_def.statesBmp[i]);

    RECT rect{0, 0, m_def.nWidth, m_def.nHeight};
    if (!m_stateImages.empty() && (m_def.nWidth == 0 || m_def.nHeight == 0))
        rect = RECT{0, 0, m_stateImages[0]->GetWidth(), m_stateImages[0]->GetHeight()};

    m_textWrapper.m_colorAlt = RGB(0, 0, 0);
    m_textWrapper.m_colorText = m_def.colorText;
    m_textWrapper.m_bFillBack = m_def.bTextTrans != 0;
    m_textWrapper.m_colorBack = m_def.colorBack;
    m_textWrapper.Refresh();
    m_textWrapper.SetFont(m_def.fontName, m_def.nFontSize);

    return Create(L"", WS_CHILD | WS_VISIBLE, rect,
                  pParent != nullptr ? pParent->GetHwnd() : nullptr, nID);
}

void QmStatic::SetContent(const std::wstring& path, const std::wstring& text, COLORREF color,
                          int nFontSize)
{
    ReleaseImages();
    AppendImage(path);
    m_textWrapper.m_pOwner = this;
    m_textWrapper.SetText(text, true);
    m_textWrapper.SetFont(kDefaultFace, nFontSize);
    m_textWrapper.m_colorText = color;
    m_textWrapper.Refresh();
}

void QmStatic::SetState(unsigned nState)
{
    if (nState >= m_stateImages.size()) {
        ShowErrorBox(L"Error: QmStatic设置的状态超过了图的数目.");
        return;
    }
    m_nState = nState;
    if (IsWindow())
        Invalidate(true);
}

void QmStatic::ReleaseImages()
{
    for (CImage* image : m_stateImages)
        ReleaseImage(image);
    m_stateImages.clear();
}

void QmStatic::AppendImage(const std::wstring& path)
{
    if (path.empty())
        return;
    if (CImage* image = AcquireImage(path))
        m_stateImages.push_back(image);
}

LRESULT QmStatic::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return CStatic::WndProc(msg, wParam, lParam);
    }
}

void QmStatic::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetHwnd(), &ps);
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (m_nState < m_stateImages.size() && width > 0 && height > 0) {
        SetStretchBltMode(dc, COLORONCOLOR);
        DrawImage(dc, *m_stateImages[m_nState], client);
    }
    m_textWrapper.Draw(client, dc);
    EndPaint(GetHwnd(), &ps);
}
