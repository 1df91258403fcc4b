#pragma once
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include <memory>

#include "movie/SoundDecoder.h"

// MP3 frames to PCM through the system's audio compression manager.
class CAcmMp3Decoder : public movie::Mp3Decoder {
public:
    ~CAcmMp3Decoder() override;
    CAcmMp3Decoder(const CAcmMp3Decoder&) = delete;
    CAcmMp3Decoder& operator=(const CAcmMp3Decoder&) = delete;

    // Null when the system has no MP3 codec for this layout.
    static std::unique_ptr<movie::Mp3Decoder> Create(int sampleRate, int channels);

    void decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& out) override;

    // Conversion streams open in this process, for leak checks.
    static int LiveStreams();

private:
    explicit CAcmMp3Decoder(HACMSTREAM stream) : m_stream(stream) {}

    HACMSTREAM m_stream = nullptr;
};
