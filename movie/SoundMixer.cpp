#include "movie/SoundMixer.h"

#include <algorithm>

namespace movie {

namespace {

// A stream chunk that yields nothing this many times in a row is taken as silence for the call.
constexpr int kMaxEmptyPulls = 4;

std::int32_t sampleAt(const Pcm& pcm, std::size_t frame, int channel)
{
    return pcm.samples[frame * static_cast<std::size_t>(pcm.channels) + static_cast<std::size_t>(channel % pcm.channels)];
}

}

SoundMixer::SoundMixer() = default;
SoundMixer::~SoundMixer() = default;

void SoundMixer::start(std::uint16_t id, std::shared_ptr<const Pcm> pcm, const SoundInfo& info)
{
    if (!pcm || pcm->frames() == 0 || (info.noMultiple && isPlaying(id)))
        return;
    const double frames = static_cast<double>(pcm->frames());
    const double toSource = pcm->rate / kOutputRate;
    Voice voice;
    voice.id = id;
    voice.begin = info.inPoint ? std::min(frames, *info.inPoint * toSource) : 0;
    voice.end = info.outPoint ? std::min(frames, *info.outPoint * toSource) : frames;
    voice.position = voice.begin;
    voice.loopsLeft = std::max<int>(1, info.loops);
    voice.pcm = std::move(pcm);
    if (voice.end <= voice.begin)
        return;
    if (voices_.size() >= kMaxVoices)
        voices_.erase(voices_.begin());
    voices_.push_back(std::move(voice));
}

void SoundMixer::stop(std::uint16_t id)
{
    std::erase_if(voices_, [id](const Voice& voice) { return voice.id == id; });
}

void SoundMixer::stopAll()
{
    voices_.clear();
}

bool SoundMixer::isPlaying(std::uint16_t id) const
{
    return std::any_of(voices_.begin(), voices_.end(), [id](const Voice& voice) { return voice.id == id; });
}

void SoundMixer::setStream(std::unique_ptr<StreamSource> stream)
{
    stream_ = std::move(stream);
    streamVoice_ = Voice{};
}

std::size_t SoundMixer::render(Voice& voice, std::int32_t* mix, std::size_t frames)
{
    const Pcm& pcm = *voice.pcm;
    const double step = pcm.rate / kOutputRate;
    const std::size_t last = pcm.frames() - 1;
    for (std::size_t i = 0; i < frames; ++i) {
        if (voice.position >= voice.end) {
            if (--voice.loopsLeft <= 0)
                return i;
            voice.position = voice.begin + (voice.position - voice.end);
            if (voice.position >= voice.end)
                voice.position = voice.begin;
        }
        const auto at = static_cast<std::size_t>(voice.position);
        const std::size_t next = std::min(at + 1, last);
        const double t = voice.position - static_cast<double>(at);
        for (int c = 0; c < 2; ++c) {
            const std::int32_t a = sampleAt(pcm, at, c);
            const std::int32_t b = sampleAt(pcm, next, c);
            mix[2 * i + static_cast<std::size_t>(c)] += a + static_cast<std::int32_t>((b - a) * t);
        }
        voice.position += step;
    }
    return frames;
}

void SoundMixer::renderStream(std::int32_t* mix, std::size_t frames)
{
    std::size_t done = 0;
    int emptyPulls = 0;
    while (done < frames && emptyPulls < kMaxEmptyPulls) {
        if (!streamVoice_.pcm || streamVoice_.position >= streamVoice_.end) {
            auto chunk = std::make_shared<Pcm>();
            stream_->pull(*chunk);
            const double carry = streamVoice_.pcm ? streamVoice_.position - streamVoice_.end : 0;
            streamVoice_ = Voice{};
            streamVoice_.end = static_cast<double>(chunk->frames());
            streamVoice_.position = std::min(carry, streamVoice_.end);
            streamVoice_.pcm = std::move(chunk);
            if (streamVoice_.end == 0) {
                ++emptyPulls;
                continue;
            }
            emptyPulls = 0;
        }
        done += render(streamVoice_, mix + 2 * done, frames - done);
    }
}

void SoundMixer::mix(std::int16_t* out, std::size_t frames)
{
    scratch_.assign(2 * frames, 0);
    for (auto& voice : voices_)
        voice.loopsLeft = render(voice, scratch_.data(), frames) < frames ? 0 : voice.loopsLeft;
    std::erase_if(voices_, [](const Voice& voice) { return voice.loopsLeft <= 0; });
    if (stream_)
        renderStream(scratch_.data(), frames);
    for (std::size_t i = 0; i < scratch_.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(scratch_[i], -32768, 32767));
}

}
