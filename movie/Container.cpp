#include "movie/Container.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "movie/ByteReader.h"
#include "movie/Records.h"

namespace movie {

const char* describe(LoadResult result)
{
    switch (result) {
    case LoadResult::Ok: return "ok";
    case LoadResult::NotAMovie: return "not a movie";
    case LoadResult::Unsupported: return "unsupported compression";
    case LoadResult::TooLarge: return "movie too large";
    case LoadResult::ReadFailed: return "cannot read file";
    }
    return "unknown";
}

namespace {

constexpr std::size_t kFileHeaderBytes = 8;

// Inflates at most `limit` bytes; a damaged stream keeps what came out before the damage.
std::vector<std::uint8_t> inflateBounded(std::span<const std::uint8_t> input, std::size_t limit)
{
    std::vector<std::uint8_t> output;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return output;
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(input.size(), UINT32_MAX));
    std::size_t chunk = std::min<std::size_t>(limit, 1u << 16);
    while (output.size() < limit) {
        const std::size_t start = output.size();
        chunk = std::min(chunk * 2, limit - start);
        output.resize(start + chunk);
        stream.next_out = output.data() + start;
        stream.avail_out = static_cast<uInt>(chunk);
        const int rc = inflate(&stream, Z_NO_FLUSH);
        output.resize(start + chunk - stream.avail_out);
        if (rc != Z_OK)
            break;
        if (stream.avail_out != 0 && stream.avail_in == 0)
            break;
    }
    inflateEnd(&stream);
    return output;
}

}

LoadResult decodeContainer(std::span<const std::uint8_t> file, Container& out)
{
    out = Container{};
    if (file.size() < kFileHeaderBytes)
        return LoadResult::NotAMovie;
    const bool plain = std::memcmp(file.data(), "FWS", 3) == 0;
    const bool zlib = std::memcmp(file.data(), "CWS", 3) == 0;
    if (std::memcmp(file.data(), "ZWS", 3) == 0)
        return LoadResult::Unsupported;
    if (!plain && !zlib)
        return LoadResult::NotAMovie;

    ByteReader header(file.first(kFileHeaderBytes));
    header.skip(3);
    out.version = header.u8();
    const std::uint32_t declared = header.u32();
    if (declared < kFileHeaderBytes)
        return LoadResult::NotAMovie;
    const std::size_t bodySize = declared - kFileHeaderBytes;
    if (bodySize > kMaxMovieBytes)
        return LoadResult::TooLarge;

    const auto rest = file.subspan(kFileHeaderBytes);
    if (zlib) {
        out.body = inflateBounded(rest, bodySize);
    } else {
        const auto used = rest.first(std::min(rest.size(), bodySize));
        out.body.assign(used.begin(), used.end());
    }

    ByteReader reader(out.body);
    out.frameSize = readRect(reader);
    out.frameRate = reader.u16() / 256.0;
    out.frameCount = reader.u16();
    if (reader.failed())
        return LoadResult::NotAMovie;
    out.tagOffset = reader.position();
    return LoadResult::Ok;
}

}
