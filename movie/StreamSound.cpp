#include "movie/StreamSound.h"

#include <algorithm>
#include <cmath>

#include "movie/ByteReader.h"

namespace movie {

namespace {

// One block never holds more than this many sample frames, whatever its header says.
constexpr std::size_t kMaxBlockFrames = std::size_t{1} << 17;

}

StreamSound::StreamSound(const Timeline& timeline, int startFrame, double frameRate,
                         const Mp3DecoderFactory& mp3Decoders)
    : timeline_(timeline), head_(timeline.streamHead.value_or(StreamHead{})),
      frame_(std::clamp(startFrame, 0, std::max(0, timeline.frameCount - 1))), frameRate_(frameRate),
      decoder_(head_.format, mp3Decoders)
{
}

void StreamSound::pull(Pcm& chunk)
{
    const Frame* frame = timeline_.frame(frame_);
    frame_ = frame_ + 1 >= timeline_.frameCount ? 0 : frame_ + 1;
    if (frame && !frame->streamBlock.empty()) {
        ByteReader reader(frame->streamBlock);
        if (head_.format.codec == SoundCodec::Mp3) {
            reader.u16();  // sample count and seek: the decoded frames speak for themselves
            reader.u16();
        }
        decoder_.decode(reader.rest(), kMaxBlockFrames, chunk);
    }
    if (chunk.samples.empty()) {
        chunk.rate = head_.format.rate;
        chunk.channels = head_.format.channels();
        const auto frames = std::min(kMaxBlockFrames, static_cast<std::size_t>(std::lround(chunk.rate / frameRate_)));
        chunk.samples.assign(frames * static_cast<std::size_t>(chunk.channels), 0);
    }
}

}
