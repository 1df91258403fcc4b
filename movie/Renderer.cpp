#include "movie/Renderer.h"

#include <algorithm>

namespace movie {

namespace {

// Masks in force at once; deeper ones are ignored rather than costing a canvas each.
constexpr std::size_t kMaxMasks = 8;

}

void Renderer::draw(const Canvas& canvas, const Movie& movie, const Playhead& playhead, const Matrix& toDevice,
                    const ColorTransform& transform)
{
    // Each mask here: its clip depth; it covers the objects above it up to that depth.
    std::vector<int> clipDepths;
    shapes_.setBitmaps(&movie);
    auto pop = [&] {
        clipDepths.pop_back();
        masks_.pop_back();
        shapes_.setMask(masks_.empty() ? nullptr : masks_.back().data());
    };
    for (const auto& [depth, instance] : playhead.displayList()) {
        while (!clipDepths.empty() && depth > clipDepths.back())
            pop();
        const Matrix matrix = toDevice * instance.matrix;
        if (instance.clipDepth != 0) {
            if (instance.clipDepth <= depth || masks_.size() >= kMaxMasks)
                continue;
            std::vector<std::uint8_t> mask(static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height));
            drawMask(canvas, movie, instance, matrix, mask.data(), 0);
            if (!masks_.empty())
                for (std::size_t i = 0; i < mask.size(); ++i)
                    mask[i] = static_cast<std::uint8_t>((mask[i] * masks_.back()[i] + 127) / 255);
            masks_.push_back(std::move(mask));
            clipDepths.push_back(instance.clipDepth);
            shapes_.setMask(masks_.back().data());
            continue;
        }
        if (!instance.visible)
            continue;
        const ColorTransform colors = transform * instance.colorTransform;
        if (instance.sprite) {
            draw(canvas, movie, *instance.sprite, matrix, colors);
        } else if (const Shape* shape = movie.shape(instance.characterId, instance.ratio)) {
            shapes_.draw(canvas, *shape, matrix, colors);
        } else {
            text_.draw(shapes_, canvas, movie, instance.characterId, matrix, colors);
        }
    }
    while (!clipDepths.empty())
        pop();
}

void Renderer::drawMask(const Canvas& canvas, const Movie& movie, const Instance& instance, const Matrix& toDevice,
                        std::uint8_t* mask, int nesting)
{
    if (instance.sprite) {
        if (nesting >= kMaxNesting)
            return;
        for (const auto& [depth, child] : instance.sprite->displayList())
            if (child.clipDepth == 0)
                drawMask(canvas, movie, child, toDevice * child.matrix, mask, nesting + 1);
    } else if (const Shape* shape = movie.shape(instance.characterId, instance.ratio)) {
        shapes_.drawMask(canvas, mask, *shape, toDevice);
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
