#pragma once

#include "SwfWriter.h"

namespace demo {

// Stage of every demo movie, in pixels.
constexpr int kStageWidth = 550;
constexpr int kStageHeight = 400;

// The movie of the programme with running number `programme` (0-based over the
// whole catalogue) in category `category` (0-based). The same numbers always
// give the same bytes.
swf::Bytes MakeDemoMovie(int programme, int category);

}
