#include "app/WaveOutput.h"

namespace {
int g_liveDevices = 0;
}

CWaveOutput::~CWaveOutput()
{
    Close();
}

int CWaveOutput::LiveDevices()
{
    return g_liveDevices;
}

bool CWaveOutput::Open()
{
    if (m_device)
        return true;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = kRate * 4;
    if (waveOutOpen(&m_device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        m_device = nullptr;
        return false;
    }
    ++g_liveDevices;
    m_written = 0;
    return true;
}

void CWaveOutput::Release(Buffer& buffer)
{
    if (buffer.prepared)
        waveOutUnprepareHeader(m_device, &buffer.header, sizeof(buffer.header));
    buffer.prepared = false;
}

void CWaveOutput::Close()
{
    if (!m_device)
        return;
    waveOutReset(m_device);
    for (auto& buffer : m_buffers)
        Release(buffer);
    waveOutClose(m_device);
    m_device = nullptr;
    --g_liveDevices;
}

void CWaveOutput::Reset()
{
    if (!m_device)
        return;
    // The device hands every buffer back marked done and starts counting from zero again.
    waveOutReset(m_device);
    m_written = 0;
}

void CWaveOutput::Pump(const Source& source)
{
    if (!m_device)
        return;
    for (auto& buffer : m_buffers) {
        if (buffer.prepared && !(buffer.header.dwFlags & WHDR_DONE))
            continue;
        Release(buffer);
        source(buffer.samples.data(), kBufferFrames);
        buffer.header = WAVEHDR{};
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = static_cast<DWORD>(buffer.samples.size() * sizeof(int16_t));
        if (waveOutPrepareHeader(m_device, &buffer.header, sizeof(buffer.header)) != MMSYSERR_NOERROR)
            continue;
        buffer.prepared = true;
        if (waveOutWrite(m_device, &buffer.header, sizeof(buffer.header)) != MMSYSERR_NOERROR) {
            Release(buffer);
            continue;
        }
        m_written += static_cast<int64_t>(kBufferFrames);
    }
}

int64_t CWaveOutput::QueuedFrames() const
{
    if (!m_device)
        return 0;
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(m_device, &time, sizeof(time)) != MMSYSERR_NOERROR)
        return 0;
    int64_t played = 0;
    if (time.wType == TIME_SAMPLES)
        played = time.u.sample;
    else if (time.wType == TIME_BYTES)
        played = time.u.cb / 4;
    else
        return 0;
    return played >= m_written ? 0 : m_written - played;
}
