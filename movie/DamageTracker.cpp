#include "movie/DamageTracker.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {

// Beyond this many drawn leaves the comparison costs more than it saves.
constexpr std::size_t kMaxLeaves = 4096;
// Anti-aliased edges and hairlines reach a little past the exact extent.
constexpr double kMarginPixels = 2;

std::uint64_t extendPath(std::uint64_t path, int depth)
{
    // FNV-1a over the depths from the root, so each leaf has a stable key.
    return (path ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(depth))) * 1099511628211ull;
}

bool sameMatrix(const Matrix& a, const Matrix& b)
{
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

bool sameColors(const ColorTransform& a, const ColorTransform& b)
{
    return a.mulR == b.mulR && a.mulG == b.mulG && a.mulB == b.mulB && a.mulA == b.mulA && a.addR == b.addR &&
           a.addG == b.addG && a.addB == b.addB && a.addA == b.addA;
}

// How far strokes may reach past the edges: half the widest line, lengthened by miters and square caps.
double strokeReach(const Shape& shape)
{
    double reach = 0;
    for (const auto& layer : shape.layers)
        for (const auto& line : layer.lines)
            reach = std::max(reach, line.width / 2.0 * std::max(line.miterLimit, 1.5));
    return reach;
}

// The box of `b` grown by `reach` on every side, in device pixels.
std::optional<PixelRect> deviceBox(const Rect& b, double reach, const Matrix& matrix)
{
    const Point corners[] = {{b.xMin - reach, b.yMin - reach}, {b.xMax + reach, b.yMin - reach},
                             {b.xMin - reach, b.yMax + reach}, {b.xMax + reach, b.yMax + reach}};
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const Point& corner : corners) {
        const Point p = matrix.apply(corner);
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    constexpr double limit = 1 << 28;
    if (!(x0 > -limit && y0 > -limit && x1 < limit && y1 < limit))
        return std::nullopt;
    return PixelRect{static_cast<int>(std::floor(x0 - kMarginPixels)), static_cast<int>(std::floor(y0 - kMarginPixels)),
                     static_cast<int>(std::ceil(x1 + kMarginPixels)), static_cast<int>(std::ceil(y1 + kMarginPixels))};
}

std::optional<PixelRect> deviceBox(const Shape& shape, const Matrix& matrix)
{
    return deviceBox(shape.edgeExtent(), strokeReach(shape), matrix);
}

// Where glyphs can reach from their pen positions, whatever bounds the file states: from
// one and a half heights above the baseline to half a height below, a height to either side.
std::optional<PixelRect> deviceBox(const TextDefinition& text, const Matrix& matrix)
{
    std::optional<PixelRect> box;
    for (const auto& run : text.runs) {
        std::int64_t right = run.x;
        for (const auto& glyph : run.glyphs)
            right += std::max(glyph.advance, 0);
        const std::int64_t h = run.height;
        const auto clamp = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -(1 << 28), 1 << 28));
        };
        const Rect reach{clamp(run.x - h), clamp(right + h), clamp(run.y - h * 3 / 2), clamp(run.y + h / 2)};
        const auto part = deviceBox(reach, 0, matrix * text.matrix);
        if (!part)
            return std::nullopt;
        if (!box)
            box = *part;
        else
            box->include(*part);
    }
    return box ? box : PixelRect{};
}

}

void PixelRect::include(const PixelRect& other)
{
    if (other.empty())
        return;
    if (empty()) {
        *this = other;
        return;
    }
    x0 = std::min(x0, other.x0);
    y0 = std::min(y0, other.y0);
    x1 = std::max(x1, other.x1);
    y1 = std::max(y1, other.y1);
}

PixelRect PixelRect::clippedTo(int width, int height) const
{
    const PixelRect clipped{std::max(x0, 0), std::max(y0, 0), std::min(x1, width), std::min(y1, height)};
    return clipped.empty() ? PixelRect{} : clipped;
}

bool DamageTracker::Leaf::sameDrawing(const Leaf& other) const
{
    return characterId == other.characterId && ratio == other.ratio && clipDepth == other.clipDepth &&
           sameMatrix(matrix, other.matrix) && sameColors(colors, other.colors);
}

void DamageTracker::collect(const Movie& movie, const Playhead& root, const Matrix& toDevice, int width, int height)
{
    if (width != width_ || height != height_)
        known_ = false;
    width_ = width;
    height_ = height;
    current_.clear();
    overflow_ = false;
    walk(movie, root, toDevice, ColorTransform{}, 14695981039346656037ull, 0);
}

void DamageTracker::walk(const Movie& movie, const Playhead& playhead, const Matrix& toDevice,
                         const ColorTransform& colors, std::uint64_t path, int nesting)
{
    for (const auto& [depth, instance] : playhead.displayList()) {
        // Hidden clips draw nothing; hidden masks still mask, as the renderer has it.
        if (!instance.visible && instance.clipDepth == 0)
            continue;
        const std::uint64_t key = extendPath(path, depth);
        const Matrix matrix = toDevice * instance.matrix;
        const ColorTransform combined = colors * instance.colorTransform;
        // A sprite is a leaf of its own too, so swapping it for another character shows.
        Leaf leaf{instance.characterId, instance.ratio, instance.clipDepth, matrix, combined, std::nullopt};
        if (instance.sprite) {
            if (nesting + 1 < kMaxNesting)
                walk(movie, *instance.sprite, matrix, combined, key, nesting + 1);
            leaf.box = PixelRect{};
        } else if (const Shape* shape = movie.shape(instance.characterId, instance.ratio)) {
            leaf.box = deviceBox(*shape, matrix);
        } else if (const auto* text = std::get_if<TextDefinition>(movie.character(instance.characterId))) {
            leaf.box = deviceBox(*text, matrix);
        }
        // A mask that comes, goes or changes hides or shows what it covers anywhere on the canvas.
        if (instance.clipDepth != 0)
            leaf.box.reset();
        add(key, leaf);
    }
}

void DamageTracker::add(std::uint64_t key, Leaf leaf)
{
    if (current_.size() >= kMaxLeaves) {
        overflow_ = true;
        return;
    }
    const auto [slot, added] = current_.try_emplace(key, leaf);
    if (!added)
        overflow_ = true;  // two leaves share a key: compare nothing, redraw everything
}

void DamageTracker::damage(PixelRect& area, const Leaf& leaf) const
{
    area.include(leaf.box ? *leaf.box : PixelRect{0, 0, width_, height_});
}

PixelRect DamageTracker::damage() const
{
    const PixelRect whole{0, 0, width_, height_};
    if (!known_ || overflow_)
        return whole.clippedTo(width_, height_);
    PixelRect area;
    for (const auto& [key, leaf] : current_) {
        const auto old = committed_.find(key);
        if (old == committed_.end()) {
            damage(area, leaf);
        } else if (!leaf.sameDrawing(old->second)) {
            damage(area, leaf);
            damage(area, old->second);
        }
    }
    for (const auto& [key, leaf] : committed_)
        if (!current_.contains(key))
            damage(area, leaf);
    return area.clippedTo(width_, height_);
}

void DamageTracker::commit()
{
    committed_.swap(current_);
    current_.clear();
    known_ = !overflow_;
}

}
