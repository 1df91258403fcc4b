#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Sound output through waveOut: 44.1 kHz 16-bit stereo in a short queue of
// buffers. No callback: the owner calls Pump() often (every timer tick) to
// refill the buffers the device has finished with.
class CWaveOutput {
public:
    // Fills `frames` interleaved stereo frames.
    using Source = std::function<void(int16_t* samples, size_t frames)>;

    static constexpr int kRate = 44100;
    static constexpr size_t kBuffers = 4;
    static constexpr size_t kBufferFrames = kRate / 20;  // 50 ms

    CWaveOutput() = default;
    ~CWaveOutput();
    CWaveOutput(const CWaveOutput&) = delete;
    CWaveOutput& operator=(const CWaveOutput&) = delete;

    // False when there is no sound device; everything else then does nothing.
    bool Open();
    void Close();
    bool IsOpen() const { return m_device != nullptr; }

    void Pump(const Source& source);
    // Drops what is queued, at once.
    void Reset();
    // Frames given to the device and not yet played.
    int64_t QueuedFrames() const;

    // Devices open in this process, for leak checks.
    static int LiveDevices();

private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<int16_t> samples = std::vector<int16_t>(2 * kBufferFrames);
        bool prepared = false;
    };

    void Release(Buffer& buffer);

    HWAVEOUT m_device = nullptr;
    std::array<Buffer, kBuffers> m_buffers;
    int64_t m_written = 0;
};
