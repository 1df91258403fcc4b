#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Image.h"
#include "skin/InitDefs.h"
#include "toolkit/TextWrapper.h"

// The skin's label: one of several state images stretched over the whole
// window, with the wrapper's text drawn on top.
class QmStatic : public CStatic {
public:
    QmStatic() = default;
    ~QmStatic() override;

    // Loads the images of the definition, sets up the text and creates the
    // window at the definition's size (the first image's when a size is 0).
    bool QmCreate(const QmStaticInitDef& def, CWnd* pParent, UINT nID);
    // Replaces all state images by the one of path (none when it is empty or
    // cannot be loaded) and sets the text, its colour and its font size.
    void SetContent(const std::wstring& path, const std::wstring& text, COLORREF color,
                    int nFontSize);
    void SetState(unsigned nState);
    void ReleaseImages();

    unsigned GetState() const { return m_nState; }
    size_t GetImageCount() const { return m_stateImages.size(); }
    const CImage* GetImage(size_t index) const { return m_stateImages[index]; }
    const QmStaticInitDef& GetDef() const { return m_def; }

    QmTextWrapper m_textWrapper;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void AppendImage(const std::wstring& path);
    void Paint();

    QmStaticInitDef m_def;
    std::vector<CImage*> m_stateImages;
    unsigned m_nState = 0;
};
