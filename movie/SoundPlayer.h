#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "movie/SoundDecoder.h"
#include "movie/SoundMixer.h"

namespace movie {

class Movie;

// The sounds of one movie: its event sounds, decoded on first use, and the main timeline's
// stream. Counts the output frames it mixed, so the player can follow the stream's clock.
class SoundPlayer {
public:
    void setMp3Decoders(Mp3DecoderFactory factory) { mp3Decoders_ = std::move(factory); }

    // Stops every sound and forgets those of the previous movie.
    void reset(const Movie* movie, double frameRate);
    void startSounds(const std::vector<SoundStart>& starts);
    void stopEventSounds() { mixer_.stopAll(); }

    bool hasStream() const;
    // The stream from the block of `frame` on; it is heard from the next frame mixed.
    void startStream(int frame);
    void stopStream() { mixer_.setStream(nullptr); }
    bool streaming() const { return mixer_.hasStream(); }

    // A paused player mixes silence and its stream waits where it was.
    void setPaused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }
    void mix(std::int16_t* out, std::size_t frames);

    // Output frames mixed so far, and the count at which the stream began playing.
    std::int64_t mixedFrames() const { return mixed_; }
    std::int64_t streamOrigin() const { return streamOrigin_; }
    const SoundMixer& mixer() const { return mixer_; }

private:
    std::shared_ptr<const Pcm> decoded(std::uint16_t id);

    const Movie* movie_ = nullptr;
    double frameRate_ = 12;
    Mp3DecoderFactory mp3Decoders_;
    SoundMixer mixer_;
    std::unordered_map<std::uint16_t, std::shared_ptr<const Pcm>> cache_;
    std::size_t cacheBytes_ = 0;
    bool paused_ = false;
    std::int64_t mixed_ = 0;
    std::int64_t streamOrigin_ = 0;
};

}
