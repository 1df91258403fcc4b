#include "toolkit/DlgImages.h"

#include "framework/ErrorBox.h"
#include "skin/Definitions.h"

bool QmDlgImages::LoadFromDef(const QmDialogInitDef& def)
{
    if (def.fnBackgroundBmp.empty())
        return true;
    const std::wstring path = ResourceDir() + def.fnBackgroundBmp;
    if (m_images[0].Load(path))
        return true;
    ShowErrorBox(L"Error in QmDlgImages::LoadFromDef: 图片文件无法载入. " + path);
    return false;
}
