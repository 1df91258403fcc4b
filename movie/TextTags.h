#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>

#include "movie/Movie.h"

namespace movie {

// Adds fonts and texts to the dictionary; returns false for tags that are not about text.
bool readTextTag(std::uint16_t code, std::span<const std::uint8_t> body, int swfVersion,
                 std::unordered_map<std::uint16_t, Character>& dictionary);

}
