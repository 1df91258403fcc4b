#include "toolkit/ImageRules.h"

#include "skin/GraphMap.h"
#include "skin/ImageFile.h"

CImage* AcquireImage(const std::wstring& path)
{
    if (CImage* shared = theGraphMap->FindImage(path))
        return shared;
    return LoadImageFile(path);
}

void ReleaseImage(CImage* image)
{
    if (image == nullptr || theGraphMap->OwnsImage(image))
        return;
    delete image;
}

bool DrawImage(HDC dc, const CImage& image, const RECT& dst, const RECT& src)
{
    return image.Draw(dc, dst, src);
}

bool DrawImage(HDC dc, const CImage& image, const RECT& dst)
{
    return image.Draw(dc, dst);
}
