#pragma once
#include <array>

#include "framework/Image.h"
#include "skin/InitDefs.h"

// The image slots of a skinned dialog. Slot 0 holds the background; the
// others are reserved and stay empty.
class QmDlgImages {
public:
    static constexpr int kSlots = 10;

    // Loads the background from the definition directory; true when the
    // record names none. The background is drawn as decoded, never premultiplied.
    bool LoadFromDef(const QmDialogInitDef& def);

    CImage& Background() { return m_images[0]; }
    const CImage& Background() const { return m_images[0]; }
    const CImage& Slot(int index) const { return m_images.at(static_cast<size_t>(index)); }

private:
    std::array<CImage, kSlots> m_images;
};
