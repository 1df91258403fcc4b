#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "movie/Geometry.h"
#include "movie/Movie.h"
#include "movie/Playhead.h"

namespace movie {

// A rectangle of canvas pixels, [x0, x1) × [y0, y1).
struct PixelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool empty() const { return x1 <= x0 || y1 <= y0; }
    std::int64_t area() const { return empty() ? 0 : std::int64_t{x1 - x0} * (y1 - y0); }
    void include(const PixelRect& other);
    PixelRect clippedTo(int width, int height) const;
};

// Finds the part of the picture that changed between two renders of a display tree,
// by comparing what each depth draws, where and how.
class DamageTracker {
public:
    // Lists what the tree would draw now; damage() compares it with the last committed list.
    void collect(const Movie& movie, const Playhead& root, const Matrix& toDevice, int width, int height);
    PixelRect damage() const;
    // The collected list becomes the picture on the canvas.
    void commit();
    // The canvas no longer shows the committed list; the next damage is the whole canvas.
    void forget() { known_ = false; }

private:
    struct Leaf {
        std::uint16_t characterId = 0;
        std::uint16_t ratio = 0;
        std::uint16_t clipDepth = 0;
        Matrix matrix;
        ColorTransform colors;
        // Nothing when the character's extent is unknown: any change redraws everything.
        std::optional<PixelRect> box;

        bool sameDrawing(const Leaf& other) const;
    };

    void walk(const Movie& movie, const Playhead& playhead, const Matrix& toDevice, const ColorTransform& colors,
              std::uint64_t path, int nesting);
    void add(std::uint64_t key, Leaf leaf);
    void damage(PixelRect& area, const Leaf& leaf) const;

    std::unordered_map<std::uint64_t, Leaf> current_;
    std::unordered_map<std::uint64_t, Leaf> committed_;
    int width_ = 0;
    int height_ = 0;
    bool known_ = false;
    bool overflow_ = false;
};

}
