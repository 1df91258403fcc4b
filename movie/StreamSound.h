#pragma once

#include "movie/SoundDecoder.h"
#include "movie/SoundMixer.h"
#include "movie/Timeline.h"

namespace movie {

// The stream sound of a timeline from a given frame on: each frame's block in turn, a frame's
// length of silence where a frame has none, wrapping at the timeline's end as the frames do.
class StreamSound : public StreamSource {
public:
    StreamSound(const Timeline& timeline, int startFrame, double frameRate, const Mp3DecoderFactory& mp3Decoders);

    void pull(Pcm& chunk) override;

private:
    const Timeline& timeline_;
    StreamHead head_;
    int frame_;
    double frameRate_;
    SoundDecoder decoder_;
};

}
