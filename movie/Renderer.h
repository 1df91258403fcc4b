#pragma once

#include "movie/Canvas.h"
#include "movie/Geometry.h"
#include "movie/Movie.h"
#include "movie/Playhead.h"
#include "movie/ShapeRenderer.h"

namespace movie {

// Draws a timeline's display list, sprites through their own, under the given transforms.
class Renderer {
public:
    void draw(const Canvas& canvas, const Movie& movie, const Playhead& playhead, const Matrix& toDevice,
              const ColorTransform& transform);

private:
    ShapeRenderer shapes_;
};

// Where the stage goes in a window of the given size: uniformly scaled to fit, centred.
Matrix showAll(const Rect& stage, int width, int height);

void fillCanvas(const Canvas& canvas, std::uint32_t color);

}
