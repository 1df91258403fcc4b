#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "SwfSoundWriter.h"
#include "SwfWriter.h"
#include "app/AcmMp3Decoder.h"
#include "app/ShockwaveFlash.h"
#include "app/WaveOutput.h"
#include "movie/Mp3Frames.h"
#include "movie/SoundDecoder.h"
#include "support/ErrorBoxRecorder.h"
#include "support/MessagePump.h"
#include "support/TempFiles.h"

namespace {

std::vector<uint8_t> ReadFixture(const char* name)
{
    std::ifstream in(std::string(MOVIE_DATA_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(AcmMp3Decoder, TurnsTheFixtureIntoPcmOfItsLength)
{
    // 21 frames of 1152 samples: half a second of a 440 Hz tone, 44.1 kHz mono.
    const std::vector<uint8_t> mp3 = ReadFixture("tone-44k-mono.mp3");
    ASSERT_FALSE(mp3.empty());
    {
        auto decoder = CAcmMp3Decoder::Create(44100, 1);
        ASSERT_NE(decoder, nullptr) << "no MP3 codec in the audio compression manager";
        EXPECT_EQ(CAcmMp3Decoder::LiveStreams(), 1);
        std::vector<int16_t> pcm;
        // Two calls, split on a frame boundary, as stream blocks arrive.
        const size_t split = static_cast<size_t>(movie::findMp3Frames(mp3, 100)[5].bytes.data() - mp3.data());
        decoder->decode(std::span(mp3).first(split), pcm);
        decoder->decode(std::span(mp3).subspan(split), pcm);
        // The codec may hold back up to a frame for its own delay.
        EXPECT_LE(pcm.size(), 21u * 1152);
        EXPECT_GE(pcm.size(), 20u * 1152);
        // The tone is there: about 440 rising zero crossings a second in the middle part.
        int crossings = 0;
        double energy = 0;
        for (size_t i = 4410; i < 4410 + 11025 && i < pcm.size(); ++i) {
            crossings += pcm[i - 1] < 0 && pcm[i] >= 0;
            energy += double(pcm[i]) * pcm[i];
        }
        EXPECT_NEAR(crossings, 110, 3);
        EXPECT_GT(std::sqrt(energy / 11025), 5000);
    }
    EXPECT_EQ(CAcmMp3Decoder::LiveStreams(), 0);
}

TEST(AcmMp3Decoder, ServesTheCoreSoundDecoder)
{
    const std::vector<uint8_t> mp3 = ReadFixture("tone-44k-mono.mp3");
    const movie::SoundFormat format{movie::SoundCodec::Mp3, 44100, true, false};
    movie::Pcm pcm;
    movie::SoundDecoder(format, &CAcmMp3Decoder::Create).decode(mp3, 22050, pcm);
    EXPECT_EQ(pcm.frames(), 22050u);
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(CAcmMp3Decoder::LiveStreams(), 0);
}

// Eighty frames at 20 per second with an ADPCM stream block on each and an MP3 event sound.
std::wstring WriteSoundMovie(const TempDir& dir)
{
    swf::Movie movie(100, 100, 20);
    movie.background(swf::Color{0, 0, 255});
    const swf::SoundFormat mp3{swf::SoundCodec::Mp3, swf::SoundRate::k44, true, false};
    movie.tag(swf::kDefineSound, swf::defineSoundBody(1, mp3, 22050, swf::mp3SoundData(0, ReadFixture("tone-44k-mono.mp3"))));
    const swf::SoundFormat adpcm{swf::SoundCodec::Adpcm, swf::SoundRate::k22, true, false};
    movie.tag(swf::kSoundStreamHead2, swf::streamHeadBody(adpcm, 1102));
    movie.tag(swf::kStartSound, swf::startSoundBody(1, {}));
    std::vector<int16_t> wave(1102);
    for (size_t i = 0; i < wave.size(); ++i)
        wave[i] = static_cast<int16_t>(8000 * std::sin(i * 0.1));
    for (int frame = 0; frame < 80; ++frame)
        movie.tag(swf::kSoundStreamBlock, swf::encodeAdpcm(wave, 1, 4)).showFrame();
    const swf::Bytes bytes = movie.finish();
    const std::wstring path = dir.File(L"sound.swf");
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

TEST(SoundMovieControl, PlaysOnWithoutASoundDeviceAndLeavesNothingOpen)
{
    TempDir dir;
    const std::wstring path = WriteSoundMovie(dir);
    ErrorBoxRecorder boxes;
    {
        ASSERT_TRUE(CShockwaveFlash::RegisterWindowClass());
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0));
        CShockwaveFlash control;
        ASSERT_TRUE(control.Create(nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, parent.GetHwnd(), 1));
        for (int cycle = 0; cycle < 3; ++cycle) {
            control.LoadMovie(0, path);
            EXPECT_EQ(control.TotalFrames(), 80);
            PumpMessagesFor(300);
            // 20 frames per second, by the sound's clock or the wall clock.
            EXPECT_GE(control.CurrentFrame(), 3);
            EXPECT_LE(control.CurrentFrame(), 9);
        }
        control.StopPlay();
        const long paused = control.CurrentFrame();
        PumpMessagesFor(150);
        EXPECT_EQ(control.CurrentFrame(), paused);
        control.GotoFrame(40);
        control.Play();
        PumpMessagesFor(200);
        EXPECT_GT(control.CurrentFrame(), 40);
        EXPECT_LE(CWaveOutput::LiveDevices(), 1);
    }
    EXPECT_EQ(CWaveOutput::LiveDevices(), 0);
    EXPECT_EQ(CAcmMp3Decoder::LiveStreams(), 0);
    EXPECT_TRUE(boxes.Texts().empty());
}

}
