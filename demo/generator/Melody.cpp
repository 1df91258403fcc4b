#include "Melody.h"

#include <lame/lame.h>

#include <cmath>
#include <memory>

#include "SwfSoundWriter.h"
#include "movie/Mp3Frames.h"

namespace demo {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

// A children's tune: frequencies in Hz, each note a beat long.
constexpr double kNotes[] = {261.63, 261.63, 392.00, 392.00, 440.00, 440.00, 392.00, 0,
                             349.23, 349.23, 329.63, 329.63, 293.66, 293.66, 261.63, 0};
constexpr double kBeatSeconds = 0.3;

std::vector<short> Synthesise()
{
    const auto beat = static_cast<size_t>(kBeatSeconds * kRate);
    std::vector<short> samples;
    for (double frequency : kNotes) {
        for (size_t i = 0; i < beat; ++i) {
            const double t = static_cast<double>(i) / kRate;
            // A soft attack and a decay, so notes do not click into each other.
            const double envelope = std::min(1.0, t * 200) * std::exp(-3.0 * t);
            const double tone = std::sin(2 * kPi * frequency * t) + 0.3 * std::sin(4 * kPi * frequency * t);
            samples.push_back(static_cast<short>(frequency > 0 ? 9000 * envelope * tone : 0));
        }
    }
    return samples;
}

swf::Bytes EncodeMp3(std::vector<short> samples)
{
    const std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), &lame_close);
    lame_set_in_samplerate(lame.get(), kRate);
    lame_set_out_samplerate(lame.get(), kRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), 32);
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return {};
    swf::Bytes mp3(samples.size() * 5 / 4 + 7200);
    const int written = lame_encode_buffer(lame.get(), samples.data(), samples.data(), static_cast<int>(samples.size()),
                                           mp3.data(), static_cast<int>(mp3.size()));
    if (written < 0)
        return {};
    const int flushed = lame_encode_flush(lame.get(), mp3.data() + written, static_cast<int>(mp3.size()) - written);
    mp3.resize(static_cast<size_t>(written + std::max(flushed, 0)));
    return mp3;
}

}

StreamSound MakeMelody(int fps)
{
    const swf::Bytes mp3 = EncodeMp3(Synthesise());
    const auto frames = movie::findMp3Frames(mp3, mp3.size());
    StreamSound sound;
    const swf::SoundFormat format{swf::SoundCodec::Mp3, swf::SoundRate::k22, true, false};
    sound.head = swf::streamHeadBody(format, static_cast<std::uint16_t>(kRate / fps));
    // Each movie frame carries the MP3 frames that start before its end.
    size_t next = 0;
    long long samplesSoFar = 0;
    for (int frame = 0; next < frames.size(); ++frame) {
        const long long frameEnd = static_cast<long long>(frame + 1) * kRate / fps;
        swf::Bytes data;
        int count = 0;
        for (; next < frames.size() && samplesSoFar < frameEnd; ++next) {
            data.insert(data.end(), frames[next].bytes.begin(), frames[next].bytes.end());
            samplesSoFar += frames[next].header.samplesPerFrame;
            count += frames[next].header.samplesPerFrame;
        }
        sound.blocks.push_back(data.empty() ? swf::Bytes{} : swf::mp3StreamBlock(static_cast<std::uint16_t>(count), 0, data));
    }
    return sound;
}

}
