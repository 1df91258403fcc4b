#include "SwfSoundWriter.h"

#include <algorithm>
#include <cstdlib>

#include "movie/AdpcmTables.h"

namespace swf {

namespace {

struct Predictor {
    int sample = 0;
    int index = 0;

    // Picks the code that brings the prediction nearest `target`, and follows it as a decoder would.
    std::uint32_t encode(int target, int bits)
    {
        const std::uint32_t sign = 1u << (bits - 1);
        int diff = target - sample;
        std::uint32_t code = diff < 0 ? sign : 0;
        diff = std::abs(diff);
        int step = movie::kAdpcmStepSizes[index];
        int delta = 0;
        for (std::uint32_t bit = sign >> 1; bit != 0; bit >>= 1) {
            if (diff >= step) {
                code |= bit;
                diff -= step;
                delta += step;
            }
            step >>= 1;
        }
        delta += step;
        sample = std::clamp(code & sign ? sample - delta : sample + delta, -32768, 32767);
        index = std::clamp(index + movie::kAdpcmIndexTables[bits - 2][code & (sign - 1)], 0, 88);
        return code;
    }
};

void writeInfo(BitWriter& out, const SoundInfo& info)
{
    out.ub(0, 2);
    out.ub(info.syncStop, 1);
    out.ub(info.noMultiple, 1);
    out.ub(!info.envelope.empty(), 1);
    out.ub(info.loops.has_value(), 1);
    out.ub(info.outPoint.has_value(), 1);
    out.ub(info.inPoint.has_value(), 1);
    if (info.inPoint)
        out.u32(*info.inPoint);
    if (info.outPoint)
        out.u32(*info.outPoint);
    if (info.loops)
        out.u16(*info.loops);
    if (!info.envelope.empty()) {
        out.u8(static_cast<std::uint8_t>(info.envelope.size()));
        for (const auto& point : info.envelope) {
            out.u32(point.position);
            out.u16(point.left);
            out.u16(point.right);
        }
    }
}

}

std::uint8_t SoundFormat::encode() const
{
    return static_cast<std::uint8_t>((static_cast<int>(codec) << 4) | (static_cast<int>(rate) << 2) |
                                     (sixteenBit ? 2 : 0) | (stereo ? 1 : 0));
}

Bytes defineSoundBody(std::uint16_t id, const SoundFormat& format, std::uint32_t sampleCount, const Bytes& data)
{
    BitWriter out;
    out.u16(id);
    out.u8(format.encode());
    out.u32(sampleCount);
    out.append(data);
    return out.take();
}

Bytes mp3SoundData(std::int16_t seekSamples, const Bytes& frames)
{
    BitWriter out;
    out.u16(static_cast<std::uint16_t>(seekSamples));
    out.append(frames);
    return out.take();
}

Bytes mp3StreamBlock(std::uint16_t sampleCount, std::int16_t seekSamples, const Bytes& frames)
{
    BitWriter out;
    out.u16(sampleCount);
    out.append(mp3SoundData(seekSamples, frames));
    return out.take();
}

Bytes streamHeadBody(const SoundFormat& format, std::uint16_t samplesPerBlock, std::int16_t latencySeek)
{
    BitWriter out;
    out.u8(format.encode() & 0x0F);
    out.u8(format.encode());
    out.u16(samplesPerBlock);
    if (format.codec == SoundCodec::Mp3)
        out.u16(static_cast<std::uint16_t>(latencySeek));
    return out.take();
}

Bytes startSoundBody(std::uint16_t id, const SoundInfo& info)
{
    BitWriter out;
    out.u16(id);
    writeInfo(out, info);
    return out.take();
}

Bytes startSound2Body(const std::string& className, const SoundInfo& info)
{
    BitWriter out;
    out.string(className);
    writeInfo(out, info);
    return out.take();
}

Bytes pcmBytes(const std::vector<std::int16_t>& samples, bool sixteenBit)
{
    BitWriter out;
    for (std::int16_t sample : samples) {
        if (sixteenBit)
            out.u16(static_cast<std::uint16_t>(sample));
        else
            out.u8(static_cast<std::uint8_t>((sample >> 8) + 128));
    }
    return out.take();
}

Bytes encodeAdpcm(const std::vector<std::int16_t>& samples, int channels, int bits)
{
    constexpr std::size_t kPacketFrames = 4096;
    BitWriter out;
    out.ub(static_cast<std::uint32_t>(bits - 2), 2);
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    Predictor predictors[2];
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (int c = 0; c < channels; ++c) {
            const int target = samples[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            Predictor& predictor = predictors[c];
            if (frame % kPacketFrames == 0) {
                predictor.sample = target;
                out.sb(target, 16);
                out.ub(static_cast<std::uint32_t>(predictor.index), 6);
            } else {
                out.ub(predictor.encode(target, bits), bits);
            }
        }
    }
    out.flush();
    return out.take();
}

}
