#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>

#include "movie/Mp3Frames.h"
#include "movie/SoundDecoder.h"
#include "movie/SoundMixer.h"
#include "support/MovieTestSupport.h"
#include "support/SwfSoundWriter.h"

namespace movie::test {
namespace {

using Samples = std::vector<std::int16_t>;

swf::Bytes dataFile(const std::string& name)
{
    return readFile(std::filesystem::path(MOVIE_DATA_DIR) / name);
}

Samples sine(std::size_t frames, int channels, double period)
{
    Samples samples;
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(static_cast<std::int16_t>(std::lround((c ? 9000 : 20000) * std::sin(i * 6.2832 / period))));
    return samples;
}

Samples decodeAll(const SoundFormat& format, const swf::Bytes& data, std::size_t maxFrames = kMaxSoundFrames,
                  const Mp3DecoderFactory& mp3 = {})
{
    Pcm pcm;
    SoundDecoder(format, mp3).decode(data, maxFrames, pcm);
    return pcm.samples;
}

SoundFormat format(SoundCodec codec, bool sixteenBit, bool stereo, double rate = 44100)
{
    return {codec, rate, sixteenBit, stereo};
}

// Left and right output samples of one mixed frame.
std::pair<int, int> at(const Samples& stereo, std::size_t frame)
{
    return {stereo[2 * frame], stereo[2 * frame + 1]};
}

Samples mix(Player& player, std::size_t frames)
{
    Samples out(2 * frames);
    player.mixAudio(out.data(), frames);
    return out;
}

TEST(SoundTest, AdpcmBlocksDecodeToValuesWorkedOutByHand)
{
    struct Case {
        const char* name;
        int bits;
        int channels;
        // Per channel: initial sample and step index.
        std::vector<std::pair<int, int>> heads;
        std::vector<unsigned> codes;
        Samples expected;
    };
    const Case cases[] = {
        // Step 7: 0111 adds 7 + 3 + 1 = 11, index +8 (step 16); 1111 takes 16 + 8 + 4 + 2 = 30,
        // index +8 (step 34); 0000 adds only the last shift, 34 >> 3 = 4.
        {"4-bit mono", 4, 1, {{0, 0}}, {0x7, 0xF, 0x0}, {0, 11, -19, -15}},
        // Left step 19: 01 adds 19 + 9. Right step 7: 11 takes 7 + 3.
        {"2-bit stereo", 2, 2, {{100, 10}, {-100, 0}}, {1, 3}, {100, -100, 128, -110}},
        // Step 3024 (index 63): 01111 adds 3024 + 1512 + 756 + 378 + 189 and clamps, index 79
        // (step 13899); 11111 takes 13899 + 6949 + 3474 + 1737 + 868; the index clamps at 88
        // (step 32767) and the next 11111 clamps the sample below.
        {"5-bit clamps", 5, 1, {{32000, 63}}, {0x0F, 0x1F, 0x1F}, {32000, 32767, 5840, -32768}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::BitWriter data;
        data.ub(static_cast<std::uint32_t>(c.bits - 2), 2);
        for (const auto& [sample, index] : c.heads) {
            data.sb(sample, 16);
            data.ub(static_cast<std::uint32_t>(index), 6);
        }
        for (unsigned code : c.codes)
            data.ub(code, c.bits);
        data.flush();
        const std::size_t frames = c.expected.size() / static_cast<std::size_t>(c.channels);
        EXPECT_EQ(decodeAll(format(SoundCodec::Adpcm, true, c.channels == 2), data.bytes(), frames), c.expected);
    }
}

TEST(SoundTest, AdpcmFollowsAnEncodedWaveAcrossPackets)
{
    constexpr std::size_t frames = 9000;  // three packets, the last one short
    for (int bits = 2; bits <= 5; ++bits) {
        SCOPED_TRACE(bits);
        const Samples wave = sine(frames, 2, 180);
        const Samples decoded =
            decodeAll(format(SoundCodec::Adpcm, true, true), swf::encodeAdpcm(wave, 2, bits), frames);
        ASSERT_EQ(decoded.size(), wave.size());
        // Each packet restarts from an exact sample.
        for (std::size_t frame : {0u, 4096u, 8192u})
            EXPECT_EQ(at(decoded, frame), at(wave, frame));
        double worst = 0;
        for (std::size_t i = 0; i < wave.size(); ++i)
            worst = std::max(worst, std::abs(double(decoded[i]) - wave[i]));
        const double bound[] = {12000, 8000, 4500, 2500};
        EXPECT_LT(worst, bound[bits - 2]);
    }
}

TEST(SoundTest, PcmFormatsDecodeToSixteenBit)
{
    const Samples wave = {0, 256, -256, 32767, -32768, 1024};
    const swf::Bytes eight = swf::pcmBytes(wave, false);
    EXPECT_EQ(decodeAll(format(SoundCodec::PcmLittle, false, false), eight), (Samples{0, 256, -256, 32512, -32768, 1024}));
    for (auto codec : {SoundCodec::PcmLittle, SoundCodec::PcmNative}) {
        EXPECT_EQ(decodeAll(format(codec, true, false), swf::pcmBytes(wave, true)), wave);
        // A stereo sound drops the half frame at the end, and stops at the declared count.
        swf::Bytes odd = swf::pcmBytes(wave, true);
        odd.pop_back();
        EXPECT_EQ(decodeAll(format(codec, true, true), odd), (Samples{0, 256, -256, 32767}));
        EXPECT_EQ(decodeAll(format(codec, true, false), swf::pcmBytes(wave, true), 2), (Samples{0, 256}));
    }
}

TEST(SoundTest, Mp3HeadersGiveRateChannelsAndLength)
{
    struct Case {
        std::array<std::uint8_t, 4> bytes;
        int rate;
        int channels;
        int samples;
        std::size_t length;
    };
    const Case valid[] = {
        {{0xFF, 0xFB, 0x90, 0x00}, 44100, 2, 1152, 417},  // MPEG 1, 128 kbit/s
        {{0xFF, 0xFB, 0x92, 0xC0}, 44100, 1, 1152, 418},  // padded, mono
        {{0xFF, 0xF3, 0x80, 0x40}, 22050, 2, 576, 208},   // MPEG 2, 64 kbit/s
        {{0xFF, 0xE3, 0x20, 0xC0}, 11025, 1, 576, 104},   // MPEG 2.5, 16 kbit/s
    };
    for (const auto& c : valid) {
        const auto header = parseMp3Header(c.bytes);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->sampleRate, c.rate);
        EXPECT_EQ(header->channels, c.channels);
        EXPECT_EQ(header->samplesPerFrame, c.samples);
        EXPECT_EQ(header->length, c.length);
    }
    const std::array<std::uint8_t, 4> invalid[] = {
        {0xFF, 0xFD, 0x90, 0x00},  // layer II
        {0xFF, 0xEB, 0x90, 0x00},  // reserved version
        {0xFF, 0xFB, 0xF0, 0x00},  // bad bitrate
        {0xFF, 0xFB, 0x00, 0x00},  // free format
        {0xFF, 0xFB, 0x9C, 0x00},  // reserved rate
        {0xFE, 0xFB, 0x90, 0x00},  // no sync
    };
    for (const auto& bytes : invalid)
        EXPECT_FALSE(parseMp3Header(bytes));
}

TEST(SoundTest, Mp3FixtureFramesAreFoundEvenAfterGarbage)
{
    // Half a second of a 440 Hz tone from the encoder: 44.1 kHz mono at 64 kbit/s, no tag frame.
    const swf::Bytes mp3 = dataFile("tone-44k-mono.mp3");
    ASSERT_FALSE(mp3.empty());
    const auto frames = findMp3Frames(mp3, 1000);
    ASSERT_EQ(frames.size(), 21u);
    std::size_t bytes = 0;
    for (const auto& frame : frames) {
        EXPECT_EQ(frame.header.sampleRate, 44100);
        EXPECT_EQ(frame.header.channels, 1);
        bytes += frame.bytes.size();
    }
    EXPECT_EQ(bytes, mp3.size());

    swf::Bytes noisy = {0xFF, 0xFF, 0x00, 0xFF, 0xFB, 0x12, 0x34, 0xFF};
    noisy.insert(noisy.end(), mp3.begin(), mp3.end());
    noisy.insert(noisy.end(), mp3.begin(), mp3.begin() + 100);  // a cut frame at the end
    const auto resynced = findMp3Frames(noisy, 1000);
    ASSERT_EQ(resynced.size(), 21u);
    EXPECT_EQ(resynced.front().bytes.data(), noisy.data() + 8);

    // Without a decoder the frames play as silence of their length, cut at the declared count.
    const Samples silent = decodeAll(format(SoundCodec::Mp3, true, false), mp3);
    EXPECT_EQ(silent.size(), 21u * 1152);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](auto s) { return s == 0; }));
    EXPECT_EQ(decodeAll(format(SoundCodec::Mp3, true, false), mp3, 22050).size(), 22050u);
}

// Answers every call with one sample value per frame and remembers what it was given.
class FakeMp3Decoder : public Mp3Decoder {
public:
    explicit FakeMp3Decoder(std::vector<std::size_t>& calls) : calls_(calls) {}
    void decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& out) override
    {
        calls_.push_back(frames.size());
        for (const auto& frame : findMp3Frames(frames, 1000))
            out.insert(out.end(), static_cast<std::size_t>(frame.header.samplesPerFrame * frame.header.channels), 777);
    }

private:
    std::vector<std::size_t>& calls_;
};

TEST(SoundTest, Mp3GoesThroughTheHostsDecoderWithWholeFrames)
{
    const swf::Bytes mp3 = dataFile("tone-44k-mono.mp3");
    std::vector<std::size_t> calls;
    int created = 0;
    const Mp3DecoderFactory factory = [&](int rate, int channels) {
        EXPECT_EQ(rate, 44100);
        EXPECT_EQ(channels, 1);
        ++created;
        return std::make_unique<FakeMp3Decoder>(calls);
    };
    Pcm pcm;
    SoundDecoder decoder(format(SoundCodec::Mp3, true, true, 22050), factory);
    decoder.decode(swf::Bytes(mp3.begin(), mp3.begin() + 1000), kMaxSoundFrames, pcm);
    decoder.decode(mp3, kMaxSoundFrames, pcm);
    EXPECT_EQ(created, 1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], mp3.size());
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.samples.size(), (4u + 21u) * 1152);
    EXPECT_EQ(pcm.samples.back(), 777);
}

std::shared_ptr<const Pcm> constantSound(std::size_t frames, std::int16_t value, double rate = 44100)
{
    auto pcm = std::make_shared<Pcm>();
    pcm->rate = rate;
    pcm->samples.assign(frames, value);
    return pcm;
}

std::size_t loudFrames(const Samples& stereo)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        count += stereo[i] != 0;
    return count;
}

TEST(SoundTest, MixerResamplesLoopsAndHonoursNoMultiple)
{
    SoundMixer mixer;
    Samples out(2 * 1000);
    SoundInfo twice;
    twice.loops = 2;
    // 100 frames at 11.025 kHz last 400 output frames; twice, 800.
    mixer.start(1, constantSound(100, 1000, 11025), twice);
    mixer.mix(out.data(), 1000);
    EXPECT_EQ(loudFrames(out), 800u);
    EXPECT_EQ(at(out, 0), std::pair(1000, 1000));
    EXPECT_EQ(mixer.voiceCount(), 0u);

    SoundInfo single;
    single.noMultiple = true;
    mixer.start(2, constantSound(1000, 1000), {});
    mixer.start(2, constantSound(1000, 1000), single);
    mixer.mix(out.data(), 1);
    EXPECT_EQ(at(out, 0).first, 1000);
    mixer.start(2, constantSound(1000, 1000), {});
    mixer.mix(out.data(), 1);
    EXPECT_EQ(at(out, 0).first, 2000);
    mixer.stop(2);
    mixer.mix(out.data(), 1);
    EXPECT_EQ(at(out, 0).first, 0);

    SoundInfo cut;
    cut.inPoint = 10;
    cut.outPoint = 30;
    mixer.start(3, constantSound(1000, 30000), cut);
    mixer.start(4, constantSound(1000, 30000), cut);
    mixer.mix(out.data(), 1000);
    EXPECT_EQ(loudFrames(out), 20u);
    EXPECT_EQ(at(out, 0).first, 32767);  // clipped, not wrapped

    for (int i = 0; i < 100; ++i)
        mixer.start(static_cast<std::uint16_t>(i), constantSound(10, 1), {});
    EXPECT_EQ(mixer.voiceCount(), kMaxVoices);
}

// At 10 frames per second each frame lasts 4410 output frames.
constexpr std::size_t kFrameLength = 4410;

swf::Bytes pcmBlock(std::int16_t value)
{
    return swf::pcmBytes(Samples(kFrameLength, value), true);
}

// Four frames of stream sound at 44.1 kHz: 1000, 2000, nothing, 4000.
swf::Bytes streamMovie(int frames = 4)
{
    swf::Movie movie(20, 20, 10);
    movie.tag(swf::kSoundStreamHead2, swf::streamHeadBody({}, kFrameLength));
    for (int frame = 0; frame < frames; ++frame) {
        if (frame != 2)
            movie.tag(swf::kSoundStreamBlock, pcmBlock(static_cast<std::int16_t>(1000 * (frame + 1))));
        movie.showFrame();
    }
    return movie.finish();
}

std::vector<int> frameLevels(const Samples& stereo)
{
    std::vector<int> levels;
    for (std::size_t frame = 0; 2 * frame < stereo.size(); frame += kFrameLength)
        levels.push_back(stereo[2 * frame]);
    return levels;
}

TEST(SoundTest, StreamPlaysBlockAfterBlockWithSilenceWhereAFrameHasNone)
{
    Player player;
    ASSERT_EQ(player.load(streamMovie()), LoadResult::Ok);
    const Samples out = mix(player, 5 * kFrameLength);
    EXPECT_EQ(frameLevels(out), (std::vector<int>{1000, 2000, 0, 4000, 1000}));
    EXPECT_EQ(at(out, kFrameLength - 1).first, 1000);
}

TEST(SoundTest, StreamClockLeadsTheFrames)
{
    Player player;
    ASSERT_EQ(player.load(streamMovie(40)), LoadResult::Ok);
    mix(player, 20 * kFrameLength);
    // The wall clock says nothing is due, the sound says three frames and a half have been heard.
    player.tick(0, 0);
    player.tick(0, static_cast<std::int64_t>(kFrameLength * 7 / 2));
    EXPECT_EQ(player.currentFrame(), 3);
    // The sound holds back while the wall clock races ahead.
    player.tick(5000, static_cast<std::int64_t>(kFrameLength * 7 / 2));
    EXPECT_EQ(player.currentFrame(), 3);
    // Far ahead: at most a second of frames per tick, the rest on later ticks.
    player.tick(5010, static_cast<std::int64_t>(kFrameLength * 30));
    EXPECT_EQ(player.currentFrame(), 13);
    player.tick(5020, static_cast<std::int64_t>(kFrameLength * 30));
    EXPECT_EQ(player.currentFrame(), 23);
    player.tick(5030, static_cast<std::int64_t>(kFrameLength * 30));
    EXPECT_EQ(player.currentFrame(), 30);
    // Without a sound position the wall clock drives the frames again.
    player.tick(5030);
    player.tick(5130);
    EXPECT_EQ(player.currentFrame(), 31);
}

TEST(SoundTest, PauseHoldsTheStreamAndGotoRestartsItAtTheNewFrame)
{
    Player player;
    ASSERT_EQ(player.load(streamMovie()), LoadResult::Ok);
    mix(player, kFrameLength / 2);
    player.pause();
    EXPECT_EQ(loudFrames(mix(player, kFrameLength)), 0u);
    player.play();
    EXPECT_EQ(frameLevels(mix(player, kFrameLength)), (std::vector<int>{1000}));
    // A frame and a half of the stream was heard; the paused time does not count.
    player.tick(0, player.sound().mixedFrames());
    EXPECT_EQ(player.currentFrame(), 1);

    player.gotoFrame(3);
    EXPECT_EQ(frameLevels(mix(player, 2 * kFrameLength)), (std::vector<int>{4000, 1000}));
    player.pause();
    player.gotoFrame(1);
    EXPECT_FALSE(player.sound().streaming());
    player.play();
    EXPECT_EQ(frameLevels(mix(player, kFrameLength)), (std::vector<int>{2000}));
}

TEST(SoundTest, StreamFollowsJumpsAndStopsWithTheTimeline)
{
    swf::Movie movie(20, 20, 10);
    movie.tag(swf::kSoundStreamHead, swf::streamHeadBody({}, kFrameLength));
    movie.tag(swf::kSoundStreamBlock, pcmBlock(1000)).showFrame();
    movie.tag(swf::kSoundStreamBlock, pcmBlock(2000)).actions(swf::Actions().gotoFrame(3)).showFrame();
    movie.tag(swf::kSoundStreamBlock, pcmBlock(3000)).showFrame();
    movie.tag(swf::kSoundStreamBlock, pcmBlock(4000)).showFrame();
    movie.tag(swf::kSoundStreamBlock, pcmBlock(5000)).actions(swf::Actions().stop()).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    player.step();
    EXPECT_EQ(player.currentFrame(), 3);
    EXPECT_EQ(frameLevels(mix(player, kFrameLength)), (std::vector<int>{4000}));
    player.step();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.sound().streaming());
    EXPECT_EQ(loudFrames(mix(player, kFrameLength)), 0u);

    // A movie that stops on its first frame is silent until it is played.
    swf::Movie menu(20, 20, 10);
    menu.tag(swf::kSoundStreamHead, swf::streamHeadBody({}, kFrameLength));
    menu.tag(swf::kSoundStreamBlock, pcmBlock(1000)).actions(swf::Actions().stop()).showFrame().showFrame();
    ASSERT_EQ(player.load(menu.finish()), LoadResult::Ok);
    EXPECT_FALSE(player.sound().streaming());
    player.play();
    EXPECT_EQ(frameLevels(mix(player, kFrameLength)), (std::vector<int>{1000}));
}

TEST(SoundTest, FrameEventsStartStopAndAreClearedByLoad)
{
    const swf::SoundFormat format{swf::SoundCodec::PcmLittle, swf::SoundRate::k44, true, false};
    swf::SoundInfo stop;
    stop.syncStop = true;
    swf::SoundInfo looped;
    looped.loops = 3;
    looped.envelope = {{0, 0, 0}, {1000, 32768, 32768}};
    swf::Movie movie(20, 20, 10);
    movie.tag(swf::kDefineSound, swf::defineSoundBody(5, format, 44100, swf::pcmBytes(Samples(44100, 500), true)));
    movie.tag(swf::kStartSound, swf::startSoundBody(5, looped)).showFrame();
    movie.tag(swf::kStartSound, swf::startSoundBody(5, {})).showFrame();
    movie.tag(swf::kStartSound, swf::startSoundBody(5, stop)).showFrame();
    movie.tag(swf::kStartSound2, swf::startSound2Body("Chime", {})).showFrame();
    movie.tag(swf::kStartSound, swf::startSoundBody(5, {})).actions(swf::Actions().raw(0x09)).showFrame();
    movie.tag(swf::kStartSound, swf::startSoundBody(5, {})).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    EXPECT_EQ(at(mix(player, 1), 0).first, 500);
    player.step();
    EXPECT_EQ(at(mix(player, 1), 0).first, 1000);
    player.step();
    EXPECT_EQ(player.sound().mixer().voiceCount(), 0u);
    player.step();
    EXPECT_EQ(player.sound().mixer().voiceCount(), 0u);
    // A frame that stops all sounds may start its own afterwards.
    player.step();
    EXPECT_TRUE(player.takeStopSoundsRequest());
    EXPECT_FALSE(player.takeStopSoundsRequest());
    EXPECT_EQ(player.sound().mixer().voiceCount(), 1u);
    player.step();
    EXPECT_EQ(player.sound().mixer().voiceCount(), 2u);
    // Going to a frame shows it but starts none of its sounds.
    player.gotoFrame(1);
    EXPECT_EQ(player.sound().mixer().voiceCount(), 2u);

    ASSERT_EQ(player.load(streamMovie()), LoadResult::Ok);
    EXPECT_EQ(player.sound().mixer().voiceCount(), 0u);
    EXPECT_EQ(frameLevels(mix(player, kFrameLength)), (std::vector<int>{1000}));
}

}
}
