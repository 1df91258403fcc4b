#include "app/Mixer.h"

namespace {
constexpr DWORD kReadFailed = 0xFFFFFFFF;

// Mixer device 0, closed when the object goes.
class OpenMixer {
public:
    OpenMixer() { m_ok = mixerOpen(&m_mixer, 0, 0, 0, 0) == MMSYSERR_NOERROR; }
    ~OpenMixer()
    {
        if (m_ok)
            mixerClose(m_mixer);
    }
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;
    bool Ok() const { return m_ok; }
    HMIXER Get() const { return m_mixer; }

private:
    HMIXER m_mixer = nullptr;
    bool m_ok = false;
};

MIXERCONTROLDETAILS Details(const MIXERCONTROLW& control, DWORD* value)
{
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof(details);
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = value;
    return details;
}
}

bool CMixer::FindMuteControl(MIXERCONTROLW& control, HMIXER mixer)
{
    MIXERLINEW line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    auto* object = reinterpret_cast<HMIXEROBJ>(mixer);
    if (mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return false;
    MIXERLINECONTROLSW controls{};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(MIXERCONTROLW);
    controls.pamxctrl = &control;
    control.cbStruct = sizeof(control);
    return mixerGetLineControlsW(object, &controls,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
           MMSYSERR_NOERROR;
}

DWORD CMixer::GetControlValue(const MIXERCONTROLW& control, HMIXER mixer)
{
    DWORD value = kReadFailed;
    MIXERCONTROLDETAILS details = Details(control, &value);
    if (mixerGetControlDetailsW(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return kReadFailed;
    return value;
}

bool CMixer::SetControlValue(DWORD value, const MIXERCONTROLW& control, HMIXER mixer)
{
    MIXERCONTROLDETAILS details = Details(control, &value);
    return mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

namespace {
// Runs work with the open mixer and its speakers mute control; false without them.
template <class Work>
bool WithMuteControl(Work work)
{
    OpenMixer mixer;
    if (!mixer.Ok())
        return false;
    MIXERCONTROLW control{};
    if (!CMixer::FindMuteControl(control, mixer.Get()))
        return false;
    return work(control, mixer.Get());
}
}

bool CMixer::IsMuted() const
{
    // An unreadable value counts as not muted, so the next click mutes.
    return WithMuteControl([](const MIXERCONTROLW& control, HMIXER mixer) {
        const DWORD value = GetControlValue(control, mixer);
        return value != kReadFailed && value != 0;
    });
}

bool CMixer::SetMute(bool muted) const
{
    return WithMuteControl([muted](const MIXERCONTROLW& control, HMIXER mixer) {
        return SetControlValue(muted ? 1 : 0, control, mixer);
    });
}
