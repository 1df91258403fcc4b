#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "movie/SoundFormat.h"

namespace movie {

// Interleaved 16-bit samples at their own rate.
struct Pcm {
    double rate = 44100;
    int channels = 1;
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// Turns MP3 frames into PCM; the host provides it (the core has no MP3 decoder of its own).
class Mp3Decoder {
public:
    virtual ~Mp3Decoder() = default;
    // `frames` holds whole frames, each with its header, all of one rate and channel count.
    // Appends interleaved samples; state carries over from one call to the next.
    virtual void decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& out) = 0;
};

using Mp3DecoderFactory = std::function<std::unique_ptr<Mp3Decoder>(int sampleRate, int channels)>;

// Longest sound we decode, in sample frames (about three minutes at 44.1 kHz).
inline constexpr std::size_t kMaxSoundFrames = std::size_t{1} << 23;

// SWF ADPCM: a 2-bit code size, then packets of up to 4096 samples per channel.
void decodeAdpcm(std::span<const std::uint8_t> data, int channels, std::size_t maxFrames,
                 std::vector<std::int16_t>& out);
// 8-bit unsigned or 16-bit little-endian samples.
void decodePcm(std::span<const std::uint8_t> data, const SoundFormat& format, std::size_t maxFrames,
               std::vector<std::int16_t>& out);

// Decodes one sound, or a stream block after block, keeping an MP3 decoder's state between calls.
class SoundDecoder {
public:
    SoundDecoder(const SoundFormat& format, Mp3DecoderFactory mp3Decoders);
    ~SoundDecoder();

    // Appends at most maxFrames sample frames to `out` and sets its rate and channels. The
    // layout is fixed by the first MP3 frame ever seen; MP3 frames in another layout are dropped.
    void decode(std::span<const std::uint8_t> data, std::size_t maxFrames, Pcm& out);

private:
    void decodeMp3(std::span<const std::uint8_t> data, std::size_t maxFrames, Pcm& out);

    SoundFormat format_;
    Mp3DecoderFactory mp3Decoders_;
    std::unique_ptr<Mp3Decoder> mp3_;
    double rate_ = 0;
    int channels_ = 0;
};

}
