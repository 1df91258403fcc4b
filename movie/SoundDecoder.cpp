#include "movie/SoundDecoder.h"

#include <algorithm>

#include "movie/ByteReader.h"
#include "movie/Mp3Frames.h"

namespace movie {

namespace {

constexpr int kStepSizes[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Index changes by code magnitude, for 2 to 5 bits per code.
constexpr int kIndex2[2] = {-1, 2};
constexpr int kIndex3[4] = {-1, -1, 2, 4};
constexpr int kIndex4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kIndex5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* kIndexTables[4] = {kIndex2, kIndex3, kIndex4, kIndex5};

constexpr int kPacketFrames = 4096;

struct AdpcmChannel {
    int sample = 0;
    int index = 0;

    void apply(unsigned code, int bits)
    {
        int step = kStepSizes[index];
        int delta = 0;
        for (unsigned bit = 1u << (bits - 2); bit != 0; bit >>= 1) {
            if (code & bit)
                delta += step;
            step >>= 1;
        }
        delta += step;
        const unsigned sign = 1u << (bits - 1);
        sample = std::clamp(code & sign ? sample - delta : sample + delta, -32768, 32767);
        index = std::clamp(index + kIndexTables[bits - 2][code & (sign - 1)], 0, 88);
    }
};


}

void decodeAdpcm(std::span<const std::uint8_t> data, int channels, std::size_t maxFrames,
                 std::vector<std::int16_t>& out)
{
    channels = std::clamp(channels, 1, 2);
    ByteReader reader(data);
    const int bits = static_cast<int>(reader.ubits(2)) + 2;
    std::size_t left = maxFrames;
    AdpcmChannel state[2];
    while (left > 0) {
        for (int c = 0; c < channels; ++c) {
            state[c].sample = reader.sbits(16);
            state[c].index = static_cast<int>(reader.ubits(6));
        }
        if (reader.failed())
            return;
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<std::int16_t>(state[c].sample));
        --left;
        for (int i = 1; i < kPacketFrames && left > 0; ++i, --left) {
            unsigned codes[2] = {};
            for (int c = 0; c < channels; ++c)
                codes[c] = reader.ubits(bits);
            if (reader.failed())
                return;
            for (int c = 0; c < channels; ++c) {
                state[c].apply(codes[c], bits);
                out.push_back(static_cast<std::int16_t>(state[c].sample));
            }
        }
    }
}

void decodePcm(std::span<const std::uint8_t> data, const SoundFormat& format, std::size_t maxFrames,
               std::vector<std::int16_t>& out)
{
    const std::size_t bytesPerSample = format.sixteenBit ? 2 : 1;
    const std::size_t frames =
        std::min(maxFrames, data.size() / (bytesPerSample * static_cast<std::size_t>(format.channels())));
    const std::size_t samples = frames * static_cast<std::size_t>(format.channels());
    out.reserve(out.size() + samples);
    for (std::size_t i = 0; i < samples; ++i) {
        if (format.sixteenBit)
            out.push_back(static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
        else
            out.push_back(static_cast<std::int16_t>((data[i] - 128) * 256));
    }
}

SoundDecoder::SoundDecoder(const SoundFormat& format, Mp3DecoderFactory mp3Decoders)
    : format_(format), mp3Decoders_(std::move(mp3Decoders))
{
    if (format_.codec != SoundCodec::Mp3) {
        rate_ = format_.rate;
        channels_ = format_.channels();
    }
}

SoundDecoder::~SoundDecoder() = default;

void SoundDecoder::decode(std::span<const std::uint8_t> data, std::size_t maxFrames, Pcm& out)
{
    maxFrames = std::min(maxFrames, kMaxSoundFrames);
    switch (format_.codec) {
    case SoundCodec::PcmNative:
    case SoundCodec::PcmLittle: decodePcm(data, format_, maxFrames, out.samples); break;
    case SoundCodec::Adpcm: decodeAdpcm(data, channels_, maxFrames, out.samples); break;
    case SoundCodec::Mp3: decodeMp3(data, maxFrames, out); break;
    case SoundCodec::Other: break;
    }
    if (channels_ > 0) {
        out.rate = rate_;
        out.channels = channels_;
    }
}

void SoundDecoder::decodeMp3(std::span<const std::uint8_t> data, std::size_t maxFrames, Pcm& out)
{
    const auto frames = findMp3Frames(data, maxFrames / 576 + 1);
    if (frames.empty())
        return;
    if (channels_ == 0) {
        rate_ = frames.front().header.sampleRate;
        channels_ = frames.front().header.channels;
        if (mp3Decoders_)
            mp3_ = mp3Decoders_(frames.front().header.sampleRate, channels_);
    }
    std::vector<std::uint8_t> bytes;
    std::size_t expected = 0;
    for (const auto& frame : frames) {
        if (frame.header.sampleRate != static_cast<int>(rate_) || frame.header.channels != channels_)
            continue;
        bytes.insert(bytes.end(), frame.bytes.begin(), frame.bytes.end());
        expected += static_cast<std::size_t>(frame.header.samplesPerFrame);
    }
    const std::size_t start = out.samples.size();
    const std::size_t limit = std::min(maxFrames, expected) * static_cast<std::size_t>(channels_);
    if (mp3_)
        mp3_->decode(bytes, out.samples);
    else
        out.samples.resize(start + limit, 0);
    // A decoder may lag or run over by a frame; never keep more than the frames hold.
    const std::size_t kept = std::min(out.samples.size() - start, limit);
    out.samples.resize(start + kept - kept % static_cast<std::size_t>(channels_));
}

}
