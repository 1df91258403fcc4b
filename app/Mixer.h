#pragma once
#include <windows.h>
#include <mmsystem.h>

// Reads and switches the mute control of the speakers line of the first
// mixer device. Holds no state: each call opens the mixer and closes it again.
class CMixer {
public:
    CMixer() = default;
    virtual ~CMixer() = default;

    // True when the speakers are muted; false when they are not, or when the
    // mute control is missing or cannot be read.
    bool IsMuted() const;
    // True when the mute control was switched.
    bool SetMute(bool muted) const;

    static bool FindMuteControl(MIXERCONTROLW& control, HMIXER mixer);
    // The control's value, or 0xFFFFFFFF when it cannot be read.
    static DWORD GetControlValue(const MIXERCONTROLW& control, HMIXER mixer);
    static bool SetControlValue(DWORD value, const MIXERCONTROLW& control, HMIXER mixer);
};
