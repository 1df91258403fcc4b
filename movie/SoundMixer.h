#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "movie/SoundDecoder.h"
#include "movie/SoundFormat.h"

namespace movie {

// Output of the mixer: interleaved 16-bit stereo.
inline constexpr int kOutputRate = 44100;
inline constexpr std::size_t kMaxVoices = 32;

// Supplies the stream sound chunk after chunk; it never runs dry.
class StreamSource {
public:
    virtual ~StreamSource() = default;
    virtual void pull(Pcm& chunk) = 0;
};

// Mixes event sounds and one stream, resampling each to the output rate.
class SoundMixer {
public:
    SoundMixer();
    ~SoundMixer();

    // Starts an event sound; with noMultiple nothing happens while one with that id plays.
    // When every voice is busy the oldest one gives way.
    void start(std::uint16_t id, std::shared_ptr<const Pcm> pcm, const SoundInfo& info);
    void stop(std::uint16_t id);
    void stopAll();
    bool isPlaying(std::uint16_t id) const;
    std::size_t voiceCount() const { return voices_.size(); }

    void setStream(std::unique_ptr<StreamSource> stream);
    bool hasStream() const { return stream_ != nullptr; }

    // Writes `frames` stereo frames (not added to what `out` held).
    void mix(std::int16_t* out, std::size_t frames);

private:
    struct Voice {
        std::uint16_t id = 0;
        std::shared_ptr<const Pcm> pcm;
        double position = 0;
        double begin = 0;
        double end = 0;
        int loopsLeft = 1;
    };

    // Adds up to `frames` frames of the voice; returns how many it had.
    static std::size_t render(Voice& voice, std::int32_t* mix, std::size_t frames);
    void renderStream(std::int32_t* mix, std::size_t frames);

    std::vector<Voice> voices_;
    std::unique_ptr<StreamSource> stream_;
    Voice streamVoice_;
    std::vector<std::int32_t> scratch_;
};

}
