#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace movie {

struct Mp3FrameHeader {
    int sampleRate = 0;
    int channels = 0;
    int samplesPerFrame = 0;
    std::size_t length = 0;  // the whole frame, header included
};

// A layer III frame header (MPEG 1, 2 or 2.5) at the start of `bytes`.
std::optional<Mp3FrameHeader> parseMp3Header(std::span<const std::uint8_t> bytes);

struct Mp3Frame {
    std::span<const std::uint8_t> bytes;
    Mp3FrameHeader header;
};

// The complete frames in `data`, skipping bytes that do not start one; at most maxFrames.
std::vector<Mp3Frame> findMp3Frames(std::span<const std::uint8_t> data, std::size_t maxFrames);

}
