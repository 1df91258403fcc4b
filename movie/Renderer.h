#pragma once

#include <cstdint>
#include <vector>

#include "movie/Canvas.h"
#include "movie/Geometry.h"
#include "movie/Movie.h"
#include "movie/Playhead.h"
#include "movie/ShapeRenderer.h"
#include "movie/TextRenderer.h"

namespace movie {

// Draws a timeline's display list, sprites through their own, under the given transforms.
class Renderer {
public:
    void draw(const Canvas& canvas, const Movie& movie, const Playhead& playhead, const Matrix& toDevice,
              const ColorTransform& transform);
    void setSystemFont(SystemFont* font) { text_.setSystemFont(font); }

private:
    void drawMask(const Canvas& canvas, const Movie& movie, const Instance& instance, const Matrix& toDevice,
                  std::uint8_t* mask, int nesting);

    ShapeRenderer shapes_;
    TextRenderer text_;
    // Masks in force, innermost last; each already includes the ones before it.
    std::vector<std::vector<std::uint8_t>> masks_;
};

// Where the stage goes in a window of the given size: uniformly scaled to fit, centred.
Matrix showAll(const Rect& stage, int width, int height);

void fillCanvas(const Canvas& canvas, std::uint32_t color);

}
