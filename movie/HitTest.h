#pragma once

#include "movie/Geometry.h"
#include "movie/Shape.h"

namespace movie {

// Whether the device point lies in the filled area of the shape drawn with `toDevice`.
// Curves are flattened and each fill is taken even-odd, as drawing does; strokes do not count.
bool shapeContains(const Shape& shape, const Matrix& toDevice, Point point);

}
