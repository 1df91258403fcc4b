#pragma once

#include <cstdint>

namespace movie {

// dst[i] = src[i] weighted by coverage (0..255), over dst[i]; premultiplied pixels.
// `coverage` holds one value per pixel, or is null for `constant` everywhere.
void blendRow(std::uint32_t* dst, const std::uint32_t* src, const std::uint8_t* coverage, std::uint8_t constant,
              int count);
// The same with one colour for the whole row.
void blendRowSolid(std::uint32_t* dst, std::uint32_t color, const std::uint8_t* coverage, std::uint8_t constant,
                   int count);

}
