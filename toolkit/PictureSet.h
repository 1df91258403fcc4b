#pragma once
#include <string>
#include <vector>

#include "framework/Image.h"
#include "skin/InitDefs.h"

// The images of one meaning of a button (play, pause ...). base and press are
// always present in a loaded set; active and disable may be null.
struct PictureSet {
    CImage* base = nullptr;
    CImage* active = nullptr;
    CImage* press = nullptr;
    CImage* disable = nullptr;
};

enum class ButtonLook { Normal, Hover, Pressed, Disabled };

// Appends one set per entry; stops at the first entry that cannot be loaded
// (after a message naming the file as written in the definition).
void LoadPictureSets(const std::wstring& resourcePath, const std::vector<QmOneStateBmp>& statesBmp,
                     std::vector<PictureSet>& sets);

// Gives every image of every set back by the image rules and empties the list.
void ReleasePictureSets(std::vector<PictureSet>& sets);

// The image to draw for a state: from the current set, or set 0 when the
// index is out of range; null when there is no set.
const CImage* ImageForState(const std::vector<PictureSet>& sets, unsigned currentSet, bool checked,
                            ButtonLook look);
