#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <variant>

#include "movie/Container.h"
#include "movie/Font.h"
#include "movie/Shape.h"
#include "movie/Text.h"
#include "movie/Timeline.h"

namespace movie {

// Shapes are decoded when first drawn, from the tag bytes kept in the movie.
struct ShapeDefinition {
    std::span<const std::uint8_t> tag;
    int version = 1;
};

struct SpriteDefinition {
    Timeline timeline;
};

using Character = std::variant<ShapeDefinition, SpriteDefinition, Font, TextDefinition, EditTextDefinition>;

class Movie {
public:
    // Parses a whole file; on failure `out` stays empty.
    static LoadResult load(std::span<const std::uint8_t> file, std::unique_ptr<Movie>& out);

    int version() const { return container_.version; }
    const Rect& frameSize() const { return container_.frameSize; }
    double frameRate() const { return container_.frameRate; }
    const Timeline& timeline() const { return timeline_; }
    std::optional<Rgba> background() const { return background_; }

    const Character* character(std::uint16_t id) const;
    // Decodes on first use; the result stays valid until trimShapeCache().
    const Shape* shape(std::uint16_t id) const;
    // Drops decoded shapes once they take more than the cache budget.
    void trimShapeCache() const;

private:
    Movie() = default;
    void readTags();

    Container container_;
    Timeline timeline_;
    std::optional<Rgba> background_;
    std::unordered_map<std::uint16_t, Character> dictionary_;
    mutable std::unordered_map<std::uint16_t, std::unique_ptr<Shape>> shapeCache_;
    mutable std::size_t shapeCacheBytes_ = 0;
};

}
