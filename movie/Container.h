#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "movie/Geometry.h"

namespace movie {

enum class LoadResult {
    Ok,
    NotAMovie,    // no movie signature, or the header cannot be read
    Unsupported,  // LZMA-compressed movies
    TooLarge,     // the declared size exceeds what we are willing to hold
    ReadFailed,   // the file could not be opened or read
};

const char* describe(LoadResult result);

// Largest uncompressed movie we accept; decompression never goes past it.
inline constexpr std::size_t kMaxMovieBytes = 256u << 20;

struct Container {
    int version = 0;
    Rect frameSize;
    double frameRate = 0;
    int frameCount = 0;
    // Everything after the 8-byte file header, uncompressed; tags start at tagOffset.
    std::vector<std::uint8_t> body;
    std::size_t tagOffset = 0;
};

LoadResult decodeContainer(std::span<const std::uint8_t> file, Container& out);

}
