#include "skin/ImageFile.h"

#include <cstdint>
#include <memory>

#include "framework/ErrorBox.h"

namespace {
bool EndsInLowerCasePng(const std::wstring& path)
{
    return path.size() >= 5 && path.compare(path.size() - 3, 3, L"png") == 0;
}
}

void PremultiplyAlpha(CImage& image)
{
    if (image.GetBPP() != 32 || image.GetBits() == nullptr)
        return;
    auto* bits = static_cast<uint8_t*>(image.GetBits());
    for (int y = 0; y < image.GetHeight(); ++y) {
        uint8_t* pixel = bits + static_cast<ptrdiff_t>(y) * image.GetPitch();
        for (int x = 0; x < image.GetWidth(); ++x, pixel += 4) {
            const unsigned alpha = pixel[3];
            for (int c = 0; c < 3; ++c)
                pixel[c] = static_cast<uint8_t>(pixel[c] * alpha / 255);
        }
    }
}

CImage* LoadImageFile(const std::wstring& path)
{
    auto image = std::make_unique<CImage>();
    if (!image->Load(path)) {
        if (!path.empty())
            ShowErrorBox(L"Error in LoadImageFile " + path);
        return nullptr;
    }
    if (EndsInLowerCasePng(path) && image->GetBPP() == 32)
        PremultiplyAlpha(*image);
    return image.release();
}
