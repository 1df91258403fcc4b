#include "movie/Mp3Frames.h"

namespace movie {

namespace {

constexpr int kBitratesV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitratesV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRatesV1[3] = {44100, 48000, 32000};

enum Version { kMpeg25 = 0, kMpeg2 = 2, kMpeg1 = 3 };

// A frame is believed when another starts right after it, or when it ends the data: a lone
// sync pattern inside other bytes rarely passes both tests.
bool followedByFrame(std::span<const std::uint8_t> data, std::size_t end)
{
    return data.size() - end < 4 || parseMp3Header(data.subspan(end)).has_value();
}

}

std::optional<Mp3FrameHeader> parseMp3Header(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (bytes[1] >> 3) & 3;
    const int layer = (bytes[1] >> 1) & 3;
    const int bitrateIndex = bytes[2] >> 4;
    const int rateIndex = (bytes[2] >> 2) & 3;
    const int padding = (bytes[2] >> 1) & 1;
    // Version 1 is reserved, layer 1 is layer III; free-format bitrates are not supported.
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    const bool mpeg1 = version == kMpeg1;
    const int divisor = version == kMpeg1 ? 1 : version == kMpeg2 ? 2 : 4;
    Mp3FrameHeader header;
    header.sampleRate = kRatesV1[rateIndex] / divisor;
    header.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
    header.samplesPerFrame = mpeg1 ? 1152 : 576;
    const int kbps = (mpeg1 ? kBitratesV1 : kBitratesV2)[bitrateIndex];
    const int slotFactor = mpeg1 ? 144 : 72;
    header.length = static_cast<std::size_t>(slotFactor * kbps * 1000 / header.sampleRate + padding);
    return header;
}

std::vector<Mp3Frame> findMp3Frames(std::span<const std::uint8_t> data, std::size_t maxFrames)
{
    std::vector<Mp3Frame> frames;
    std::size_t pos = 0;
    while (pos + 4 <= data.size() && frames.size() < maxFrames) {
        const auto header = parseMp3Header(data.subspan(pos));
        if (!header || header->length > data.size() - pos || !followedByFrame(data, pos + header->length)) {
            ++pos;
            continue;
        }
        frames.push_back({data.subspan(pos, header->length), *header});
        pos += header->length;
    }
    return frames;
}

}
