#include "movie/SoundFormat.h"

#include "movie/ByteReader.h"

namespace movie {

namespace {

constexpr double kRates[4] = {5512.5, 11025, 22050, 44100};

SoundCodec codecOf(unsigned code)
{
    switch (code) {
    case 0: return SoundCodec::PcmNative;
    case 1: return SoundCodec::Adpcm;
    case 2: return SoundCodec::Mp3;
    case 3: return SoundCodec::PcmLittle;
    default: return SoundCodec::Other;
    }
}

SoundInfo readSoundInfo(ByteReader& reader)
{
    SoundInfo info;
    const std::uint8_t flags = reader.u8();
    info.syncStop = flags & 0x20;
    info.noMultiple = flags & 0x10;
    if (flags & 0x01)
        info.inPoint = reader.u32();
    if (flags & 0x02)
        info.outPoint = reader.u32();
    if (flags & 0x04)
        info.loops = reader.u16();
    if (flags & 0x08) {
        // Envelopes are read past but not applied.
        const std::uint8_t points = reader.u8();
        reader.skip(static_cast<std::size_t>(points) * 8);
    }
    return info;
}

}

SoundFormat soundFormat(std::uint8_t bits)
{
    SoundFormat format;
    format.codec = codecOf(bits >> 4);
    format.rate = kRates[(bits >> 2) & 3];
    format.sixteenBit = bits & 0x02;
    format.stereo = bits & 0x01;
    return format;
}

std::optional<StreamHead> readStreamHead(std::span<const std::uint8_t> body)
{
    ByteReader reader(body);
    reader.u8();  // the playback format is only a hint
    StreamHead head;
    head.format = soundFormat(reader.u8());
    head.samplesPerBlock = reader.u16();
    if (reader.failed())
        return std::nullopt;
    return head;
}

std::optional<std::pair<std::uint16_t, SoundDefinition>> readDefineSound(std::span<const std::uint8_t> body)
{
    ByteReader reader(body);
    const std::uint16_t id = reader.u16();
    SoundDefinition sound;
    sound.format = soundFormat(reader.u8());
    sound.sampleCount = reader.u32();
    if (reader.failed())
        return std::nullopt;
    sound.data = reader.rest();
    return std::pair{id, sound};
}

std::optional<SoundStart> readStartSound(std::span<const std::uint8_t> body, bool byClassName)
{
    ByteReader reader(body);
    SoundStart start;
    if (byClassName)
        reader.string();
    else
        start.soundId = reader.u16();
    start.info = readSoundInfo(reader);
    if (reader.failed())
        return std::nullopt;
    return start;
}

}
