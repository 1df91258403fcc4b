#pragma once

#include "movie/ByteReader.h"
#include "movie/Geometry.h"

namespace movie {

// The small records shared by many tags. Each leaves the reader byte-aligned.
Rect readRect(ByteReader& reader);
Matrix readMatrix(ByteReader& reader);
ColorTransform readColorTransform(ByteReader& reader, bool withAlpha);
Rgba readRgb(ByteReader& reader);
Rgba readRgba(ByteReader& reader);

}
