#pragma once

#include "SwfWriter.h"

namespace movie::bench {

// A 550 × 400 stage with 200 overlapping gradient discs, opaque or with translucent outer stops.
swf::Bytes gradientMovie(bool translucent);
// The 200 gradient circles of gradientMovie, one frame, still open for more tags.
swf::Movie gradientScene(bool translucent);
// A small figure crossing the gradient scene over 60 frames.
swf::Bytes walkingFigureMovie();
// A 550 × 400 stage: a full-stage JPEG backdrop, then large JPEG-with-alpha and lossless
// pictures, scaled, rotated and moving over 24 frames.
swf::Bytes bitmapMovie();
// About 20 MB: each of 1,000 frames brings a new shape of some 3,200 curves and replaces the last.
const swf::Bytes& largeMovie();

}
