#pragma once
#include <memory>
#include <string>

#include "app/ShockwaveFlash.h"

// Holds the movie control and whether a movie was opened. The control window
// object is created with the holder and handed to a layout cell, which owns it
// from then on.
class CFlashPlayer {
public:
    CFlashPlayer() : m_ownedControl(std::make_unique<CShockwaveFlash>()), m_pControl(m_ownedControl.get()) {}

    // Checks that the file can be read, then loads it into the control, paused.
    bool OpenMovie(const std::wstring& path);

    CShockwaveFlash& Control() const { return *m_pControl; }
    // Gives the control object to its new owner (a layout cell).
    CShockwaveFlash* ReleaseControl() { return m_ownedControl.release(); }

    bool bLoaded = false;

private:
    std::unique_ptr<CShockwaveFlash> m_ownedControl;
    CShockwaveFlash* m_pControl;
};
