#include "app/AcmMp3Decoder.h"

#include <algorithm>

#include "movie/Mp3Frames.h"

namespace {
int g_liveStreams = 0;

// Frames are converted a group at a time, into a buffer their output always fits.
constexpr size_t kFramesPerPass = 32;
constexpr size_t kOutputPerFrame = 1152 * 2 * sizeof(int16_t);

// A conversion header prepared on a stream for as long as it exists.
class PreparedHeader {
public:
    PreparedHeader(HACMSTREAM stream, BYTE* source, DWORD sourceBytes, BYTE* target, DWORD targetBytes)
        : m_stream(stream)
    {
        m_header.cbStruct = sizeof(m_header);
        m_header.pbSrc = source;
        m_header.cbSrcLength = sourceBytes;
        m_header.pbDst = target;
        m_header.cbDstLength = targetBytes;
        m_ok = acmStreamPrepareHeader(m_stream, &m_header, 0) == MMSYSERR_NOERROR;
    }
    ~PreparedHeader()
    {
        if (m_ok)
            acmStreamUnprepareHeader(m_stream, &m_header, 0);
    }
    PreparedHeader(const PreparedHeader&) = delete;
    PreparedHeader& operator=(const PreparedHeader&) = delete;

    bool Ok() const { return m_ok; }
    ACMSTREAMHEADER& Get() { return m_header; }

private:
    HACMSTREAM m_stream;
    ACMSTREAMHEADER m_header{};
    bool m_ok = false;
};
}

CAcmMp3Decoder::~CAcmMp3Decoder()
{
    acmStreamClose(m_stream, 0);
    --g_liveStreams;
}

int CAcmMp3Decoder::LiveStreams()
{
    return g_liveStreams;
}

std::unique_ptr<movie::Mp3Decoder> CAcmMp3Decoder::Create(int sampleRate, int channels)
{
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = static_cast<WORD>(channels);
    source.wfx.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    source.wfx.nAvgBytesPerSec = 128000 / 8;
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    source.nBlockSize = static_cast<WORD>(144 * 128000 / sampleRate);
    source.nFramesPerBlock = 1;
    WAVEFORMATEX target{};
    target.wFormatTag = WAVE_FORMAT_PCM;
    target.nChannels = static_cast<WORD>(channels);
    target.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    target.wBitsPerSample = 16;
    target.nBlockAlign = static_cast<WORD>(2 * channels);
    target.nAvgBytesPerSec = target.nSamplesPerSec * target.nBlockAlign;
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, &source.wfx, &target, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
        MMSYSERR_NOERROR)
        return nullptr;
    ++g_liveStreams;
    return std::unique_ptr<movie::Mp3Decoder>(new CAcmMp3Decoder(stream));
}

void CAcmMp3Decoder::decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& out)
{
    const auto found = movie::findMp3Frames(frames, frames.size());
    // Room for a pass and for what the codec may still hold from the one before.
    std::vector<BYTE> target((kFramesPerPass + 2) * kOutputPerFrame);
    for (size_t first = 0; first < found.size(); first += kFramesPerPass) {
        const size_t last = std::min(found.size(), first + kFramesPerPass) - 1;
        const BYTE* begin = found[first].bytes.data();
        const BYTE* end = found[last].bytes.data() + found[last].bytes.size();
        std::vector<BYTE> source(begin, end);
        PreparedHeader header(m_stream, source.data(), static_cast<DWORD>(source.size()), target.data(),
                              static_cast<DWORD>(target.size()));
        if (!header.Ok() || acmStreamConvert(m_stream, &header.Get(), 0) != MMSYSERR_NOERROR)
            return;
        const auto* samples = reinterpret_cast<const int16_t*>(target.data());
        out.insert(out.end(), samples, samples + header.Get().cbDstLengthUsed / sizeof(int16_t));
    }
}
