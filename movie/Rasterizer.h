#pragma once

#include <cstdint>
#include <vector>

#include "movie/Geometry.h"

namespace movie {

struct Line {
    float x0 = 0;
    float y0 = 0;
    float x1 = 0;
    float y1 = 0;
};

enum class FillRule { EvenOdd, NonZero };

// A closed outline as device-space lines in no particular order, with its bounds.
class Outline {
public:
    void addLine(Point a, Point b);
    // Flattens to within a quarter pixel, unless the curve cannot touch the clip.
    void addQuad(Point a, Point control, Point b, double clipWidth, double clipHeight);
    void append(const Outline& other);
    // Appends the lines of `other` reversed.
    void addReversed(const Outline& other);

    const std::vector<Line>& lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }
    float top() const { return top_; }
    float bottom() const { return bottom_; }
    float left() const { return left_; }
    float right() const { return right_; }
    void clear();

private:
    std::vector<Line> lines_;
    float top_ = 1e30f;
    float bottom_ = -1e30f;
    float left_ = 1e30f;
    float right_ = -1e30f;
};

// Exact-area anti-aliasing: each line adds its signed area to a band of cells,
// and a running sum along each row gives the pixel's coverage. Only the cells
// lines touched are visited; between them the coverage is constant.
class Rasterizer {
public:
    // Starts a band covering rows [top, top + height) and columns [0, width).
    void reset(int width, int top, int height);
    void add(const Outline& outline);

    // For each run of a row with some coverage (0..255) calls
    // sink(y, x, count, coverage, constant): `coverage` holds one value per pixel,
    // or is null when the whole run has `constant`. Leaves the cells clear.
    template <typename Sink>
    void sweep(FillRule rule, Sink&& sink);

private:
    struct Touched {
        int first = 0;
        int last = 0;
    };

    void addClipped(float x0, float y0, float x1, float y1);
    void accumulate(float x0, float y0, float x1, float y1);
    // Merges a row's touched ranges into sorted, disjoint ones.
    std::vector<Touched>& mergedRow(int row);
    static std::uint8_t level(FillRule rule, float sum);

    int width_ = 0;
    int top_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<float> cells_;
    std::vector<std::vector<Touched>> touched_;
    std::vector<std::uint8_t> coverage_;
};

inline std::uint8_t Rasterizer::level(FillRule rule, float sum)
{
    float value = sum < 0 ? -sum : sum;
    // Rounding leaves sums a hair above one inside a shape; only real overlaps fold.
    if (rule == FillRule::EvenOdd && value > 1.001f) {
        value -= 2.0f * static_cast<float>(static_cast<int>(value * 0.5f));
        if (value > 1.0f)
            value = 2.0f - value;
    }
    return static_cast<std::uint8_t>((value < 1.0f ? value : 1.0f) * 255.0f + 0.5f);
}

template <typename Sink>
void Rasterizer::sweep(FillRule rule, Sink&& sink)
{
    for (int row = 0; row < height_; ++row) {
        auto& ranges = mergedRow(row);
        if (ranges.empty())
            continue;
        float* cells = cells_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_);
        const int y = top_ + row;
        float sum = 0;
        int x = ranges.front().first;
        for (const auto& range : ranges) {
            const std::uint8_t between = level(rule, sum);
            const int gapEnd = std::min(range.first, width_);
            if (between != 0 && x < gapEnd)
                sink(y, x, gapEnd - x, static_cast<const std::uint8_t*>(nullptr), between);
            for (int col = range.first; col <= range.last; ++col) {
                sum += cells[col];
                cells[col] = 0;
                coverage_[static_cast<std::size_t>(col)] = level(rule, sum);
            }
            const int end = std::min(range.last + 1, width_);
            if (range.first < end)
                sink(y, range.first, end - range.first, coverage_.data() + range.first, 0);
            x = range.last + 1;
        }
        ranges.clear();
    }
}

}
