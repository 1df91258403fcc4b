#include "movie/SoundPlayer.h"

#include <algorithm>

#include "movie/Movie.h"
#include "movie/StreamSound.h"

namespace movie {

namespace {

// Decoded event sounds kept at once; past this the cache starts afresh.
constexpr std::size_t kSoundCacheBudget = std::size_t{128} << 20;

}

void SoundPlayer::reset(const Movie* movie, double frameRate)
{
    mixer_.stopAll();
    mixer_.setStream(nullptr);
    cache_.clear();
    cacheBytes_ = 0;
    movie_ = movie;
    frameRate_ = frameRate;
    paused_ = false;
}

void SoundPlayer::startSounds(const std::vector<SoundStart>& starts)
{
    for (const auto& start : starts) {
        if (!start.soundId)
            continue;
        if (start.info.syncStop)
            mixer_.stop(*start.soundId);
        else
            mixer_.start(*start.soundId, decoded(*start.soundId), start.info);
    }
}

bool SoundPlayer::hasStream() const
{
    return movie_ && movie_->timeline().streamHead.has_value();
}

void SoundPlayer::startStream(int frame)
{
    if (!hasStream())
        return;
    mixer_.setStream(std::make_unique<StreamSound>(movie_->timeline(), frame, frameRate_, mp3Decoders_));
    streamOrigin_ = mixed_;
}

void SoundPlayer::mix(std::int16_t* out, std::size_t frames)
{
    mixed_ += static_cast<std::int64_t>(frames);
    if (paused_) {
        std::fill(out, out + 2 * frames, std::int16_t{0});
        streamOrigin_ += static_cast<std::int64_t>(frames);
        return;
    }
    mixer_.mix(out, frames);
}

std::shared_ptr<const Pcm> SoundPlayer::decoded(std::uint16_t id)
{
    if (const auto found = cache_.find(id); found != cache_.end())
        return found->second;
    const SoundDefinition* sound = movie_ ? movie_->sound(id) : nullptr;
    if (!sound)
        return nullptr;
    auto data = sound->data;
    if (sound->format.codec == SoundCodec::Mp3)
        data = data.subspan(std::min<std::size_t>(2, data.size()));  // seek samples
    const std::size_t frames = sound->sampleCount > 0 ? sound->sampleCount : kMaxSoundFrames;
    auto pcm = std::make_shared<Pcm>();
    SoundDecoder(sound->format, mp3Decoders_).decode(data, frames, *pcm);
    const std::size_t bytes = pcm->samples.size() * sizeof(std::int16_t);
    if (cacheBytes_ + bytes > kSoundCacheBudget) {
        cache_.clear();
        cacheBytes_ = 0;
    }
    cacheBytes_ += bytes;
    cache_.emplace(id, pcm);
    return pcm;
}

}
