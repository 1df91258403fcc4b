#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace movie {

enum class SoundCodec : std::uint8_t {
    PcmNative = 0,  // read as little-endian: the files we meet were written on little-endian machines
    Adpcm = 1,
    Mp3 = 2,
    PcmLittle = 3,
    Other = 255,  // Nellymoser, Speex and anything unknown: played as silence
};

struct SoundFormat {
    SoundCodec codec = SoundCodec::Other;
    double rate = 5512.5;
    bool sixteenBit = false;
    bool stereo = false;

    int channels() const { return stereo ? 2 : 1; }
};

// The format byte shared by the sound tags: codec(4) rate(2) size(1) type(1).
SoundFormat soundFormat(std::uint8_t bits);

struct StreamHead {
    SoundFormat format;
    std::uint16_t samplesPerBlock = 0;
};

struct SoundDefinition {
    SoundFormat format;
    std::uint32_t sampleCount = 0;
    // The sound data as the tag holds it; for MP3 it starts with the 16-bit seek samples.
    std::span<const std::uint8_t> data;
};

struct SoundInfo {
    bool syncStop = false;
    bool noMultiple = false;
    // In and out points count 44.1 kHz samples.
    std::optional<std::uint32_t> inPoint;
    std::optional<std::uint32_t> outPoint;
    std::uint16_t loops = 1;
};

// A StartSound on a frame. StartSound2 names its sound by class, which we cannot resolve yet:
// those arrive without a character id and play nothing.
struct SoundStart {
    std::optional<std::uint16_t> soundId;
    SoundInfo info;
};

std::optional<StreamHead> readStreamHead(std::span<const std::uint8_t> body);
std::optional<std::pair<std::uint16_t, SoundDefinition>> readDefineSound(std::span<const std::uint8_t> body);
std::optional<SoundStart> readStartSound(std::span<const std::uint8_t> body, bool byClassName);

}
