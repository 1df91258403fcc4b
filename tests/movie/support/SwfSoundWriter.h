#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SwfWriter.h"

// Sound tags and an ADPCM encoder, for fixtures and generated content.
namespace swf {

enum SoundTagCode : std::uint16_t {
    kDefineSound = 14,
    kStartSound = 15,
    kSoundStreamHead = 18,
    kSoundStreamBlock = 19,
    kSoundStreamHead2 = 45,
    kStartSound2 = 89,
};

enum class SoundCodec : std::uint8_t { PcmNative = 0, Adpcm = 1, Mp3 = 2, PcmLittle = 3, Nellymoser = 6 };
// The rate field: 5.5, 11, 22 or 44 kHz.
enum class SoundRate : std::uint8_t { k5 = 0, k11 = 1, k22 = 2, k44 = 3 };

struct SoundFormat {
    SoundCodec codec = SoundCodec::PcmLittle;
    SoundRate rate = SoundRate::k44;
    bool sixteenBit = true;
    bool stereo = false;

    std::uint8_t encode() const;
};

struct SoundInfo {
    bool syncStop = false;
    bool noMultiple = false;
    std::optional<std::uint32_t> inPoint;
    std::optional<std::uint32_t> outPoint;
    std::optional<std::uint16_t> loops;
    // Envelope points: position in 44.1 kHz samples, left and right levels.
    struct Point {
        std::uint32_t position = 0;
        std::uint16_t left = 32768;
        std::uint16_t right = 32768;
    };
    std::vector<Point> envelope;
};

Bytes defineSoundBody(std::uint16_t id, const SoundFormat& format, std::uint32_t sampleCount, const Bytes& data);
// The first argument of a DefineSound MP3 body or stream block, before the frames.
Bytes mp3SoundData(std::int16_t seekSamples, const Bytes& frames);
Bytes mp3StreamBlock(std::uint16_t sampleCount, std::int16_t seekSamples, const Bytes& frames);
Bytes streamHeadBody(const SoundFormat& format, std::uint16_t samplesPerBlock, std::int16_t latencySeek = 0);
Bytes startSoundBody(std::uint16_t id, const SoundInfo& info);
Bytes startSound2Body(const std::string& className, const SoundInfo& info);

// 16-bit samples as 8-bit unsigned or 16-bit little-endian bytes.
Bytes pcmBytes(const std::vector<std::int16_t>& samples, bool sixteenBit);
// SWF ADPCM with `bits` (2 to 5) per code, interleaved samples of `channels` channels.
Bytes encodeAdpcm(const std::vector<std::int16_t>& samples, int channels, int bits);

}
