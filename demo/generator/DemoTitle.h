#pragma once

#include <cstdint>
#include <string>

#include "SwfWriter.h"

namespace demo {

// Adds a title drawn from glyphs of the installed WenQuanYi font, embedded as a
// DefineFont3, centred at `baseline` twips. Adds nothing when the font file is missing.
// Returns the text's character id, or 0.
std::uint16_t AddChineseTitle(swf::Movie& movie, std::uint16_t fontId, std::uint16_t textId, const std::u32string& title,
                              std::int32_t baseline, std::uint16_t height, swf::Color color);

}
