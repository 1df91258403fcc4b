#include "movie/Renderer.h"

#include <algorithm>

namespace movie {

void Renderer::draw(const Canvas& canvas, const Movie& movie, const Playhead& playhead, const Matrix& toDevice,
                    const ColorTransform& transform)
{
    for (const auto& [depth, instance] : playhead.displayList()) {
        // Masks are a later stage: a mask layer is not drawn, what it masks is drawn whole.
        if (instance.clipDepth != 0)
            continue;
        const Matrix matrix = toDevice * instance.matrix;
        const ColorTransform colors = transform * instance.colorTransform;
        if (instance.sprite) {
            draw(canvas, movie, *instance.sprite, matrix, colors);
        } else if (const Shape* shape = movie.shape(instance.characterId)) {
            shapes_.draw(canvas, *shape, matrix, colors);
        }
    }
}

Matrix showAll(const Rect& stage, int width, int height)
{
    const double stageWidth = static_cast<double>(stage.width()) / 20.0;
    const double stageHeight = static_cast<double>(stage.height()) / 20.0;
    if (stageWidth <= 0 || stageHeight <= 0 || width <= 0 || height <= 0)
        return Matrix::scale(0, 0);
    const double scale = std::min(width / stageWidth, height / stageHeight);
    const double left = (width - stageWidth * scale) / 2;
    const double top = (height - stageHeight * scale) / 2;
    return Matrix::translate(left, top) * Matrix::scale(scale / 20.0, scale / 20.0) *
           Matrix::translate(-stage.xMin, -stage.yMin);
}

void fillCanvas(const Canvas& canvas, std::uint32_t color)
{
    for (int y = 0; y < canvas.height; ++y)
        std::fill(canvas.row(y), canvas.row(y) + canvas.width, color);
}

}
