#include "toolkit/PictureSet.h"

#include "framework/ErrorBox.h"
#include "toolkit/ImageRules.h"

namespace {
// Loads one image of a set; a required image, or an optional one that is
// named, must load. Reports the name as written in the definition.
bool LoadOne(const std::wstring& resourcePath, const std::wstring& name, bool required,
             CImage*& image)
{
    image = nullptr;
    if (!required && name.empty())
        return true;
    image = AcquireImage(resourcePath + name);
    if (image != nullptr)
        return true;
    ShowErrorBox(L"Error! 无法载入文件" + name);
    return false;
}

void ReleaseSet(PictureSet& set)
{
    ReleaseImage(set.base);
    ReleaseImage(set.active);
    ReleaseImage(set.press);
    ReleaseImage(set.disable);
    set = PictureSet{};
}
}

void LoadPictureSets(const std::wstring& resourcePath, const std::vector<QmOneStateBmp>& statesBmp,
                     std::vector<PictureSet>& sets)
{
    for (const QmOneStateBmp& entry : statesBmp) {
        PictureSet set;
        const bool loaded = LoadOne(resourcePath, entry.fnBaseBmp, true, set.base) &&
                            LoadOne(resourcePath, entry.fnPressBmp, true, set.press) &&
                            LoadOne(resourcePath, entry.fnActiveBmp, false, set.active) &&
                            LoadOne(resourcePath, entry.fnDisableBmp, false, set.disable);
        if (!loaded) {
            ReleaseSet(set);
            return;
        }
        sets.push_back(set);
    }
}

void ReleasePictureSets(std::vector<PictureSet>& sets)
{
    for (PictureSet& set : sets)
        ReleaseSet(set);
    sets.clear();
}

const CImage* ImageForState(const std::vector<PictureSet>& sets, unsigned currentSet, bool checked,
                            ButtonLook look)
{
    if (sets.empty())
        return nullptr;
    const PictureSet& set = currentSet < sets.size() ? sets[currentSet] : sets[0];
    switch (look) {
    case ButtonLook::Hover:
        if (set.active != nullptr)
            return set.active;
        return checked ? set.press : set.base;
    case ButtonLook::Pressed:
        return set.press;
    case ButtonLook::Disabled:
        return set.disable != nullptr ? set.disable : set.base;
    case ButtonLook::Normal:
        break;
    }
    return set.base;
}
