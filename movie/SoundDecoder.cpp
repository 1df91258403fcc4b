#include "movie/SoundDecoder.h"

#include <algorithm>

#include "movie/AdpcmTables.h"
#include "movie/ByteReader.h"
#include "movie/Mp3Frames.h"

namespace movie {

namespace {

constexpr int kPacketFrames = 4096;

struct AdpcmChannel {
    int sample = 0;
    int index = 0;

    void apply(unsigned code, int bits)
    {
        int step = kAdpcmStepSizes[index];
        int delta = 0;
        for (unsigned bit = 1u << (bits - 2); bit != 0; bit >>= 1) {
            if (code & bit)
                delta += step;
            step >>= 1;
        }
        delta += step;
        const unsigned sign = 1u << (bits - 1);
        sample = std::clamp(code & sign ? sample - delta : sample + delta, -32768, 32767);
        index = std::clamp(index + kAdpcmIndexTables[bits - 2][code & (sign - 1)], 0, 88);
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
