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
// and a running sum along each row gives the pixel's coverage.
class Rasterizer {
public:
    // Starts a band covering rows [top, top + height) and columns [0, width).
    void reset(int width, int top, int height);
    void add(const Outline& outline);

    // Calls sink(y, x, count, coverage) for each row of the band with coverage
    // (0..255), trimmed to the columns that have some; leaves the cells clear.
    template <typename Sink>
    void sweep(FillRule rule, Sink&& sink);

private:
    void addClipped(float x0, float y0, float x1, float y1);
    void accumulate(float x0, float y0, float x1, float y1);
    int rowCoverage(FillRule rule, int row);

    int width_ = 0;
    int top_ = 0;
    int height_ = 0;
    int stride_ = 0;
    int minRow_ = 0;
    int maxRow_ = -1;
    int minCol_ = 0;
    int maxCol_ = -1;
    std::vector<float> cells_;
    std::vector<std::uint8_t> coverage_;
};

template <typename Sink>
void Rasterizer::sweep(FillRule rule, Sink&& sink)
{
    for (int row = minRow_; row <= maxRow_; ++row) {
        const int last = rowCoverage(rule, row);
        int first = minCol_;
        while (first < last && coverage_[static_cast<std::size_t>(first)] == 0)
            ++first;
        if (first < last)
            sink(top_ + row, first, last - first, coverage_.data() + first);
    }
    minRow_ = 0;
    maxRow_ = -1;
    minCol_ = 0;
    maxCol_ = -1;
}

}
