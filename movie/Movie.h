#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <variant>

#include "movie/Bitmap.h"
#include "movie/BitmapDecoder.h"
#include "movie/Button.h"
#include "movie/Container.h"
#include "movie/MorphShape.h"
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

struct MorphShapeDefinition {
    std::span<const std::uint8_t> tag;
    int version = 1;
};

struct SpriteDefinition {
    Timeline timeline;
};

using Character = std::variant<ShapeDefinition, SpriteDefinition, MorphShapeDefinition, BitmapDefinition,
                               SoundDefinition, ButtonDefinition, Font, TextDefinition, EditTextDefinition>;

class Movie : public BitmapSource {
public:
    // Parses a whole file; on failure `out` stays empty.
    static LoadResult load(std::span<const std::uint8_t> file, std::unique_ptr<Movie>& out);

    int version() const { return container_.version; }
    const Rect& frameSize() const { return container_.frameSize; }
    double frameRate() const { return container_.frameRate; }
    const Timeline& timeline() const { return timeline_; }
    std::optional<Rgba> background() const { return background_; }

    const Character* character(std::uint16_t id) const;
    const SoundDefinition* sound(std::uint16_t id) const { return std::get_if<SoundDefinition>(character(id)); }
    // Decodes on first use; the result stays valid until trimShapeCache().
    // A morph shape is given at `ratio` (0 = its start, 65535 = its end).
    const Shape* shape(std::uint16_t id, std::uint16_t ratio = 0) const;
    // Drops decoded shapes once they take more than the cache budget.
    void trimShapeCache() const;
    // Decodes on first use; the result stays valid until trimBitmapCache().
    const Bitmap* bitmap(std::uint16_t id) const override;
    // Drops decoded bitmaps once they take more than the cache budget.
    void trimBitmapCache() const;

private:
    Movie() = default;
    void readTags();
    const Shape* cache(std::uint64_t key, Shape shape) const;
    const MorphShape* morph(std::uint16_t id, const MorphShapeDefinition& definition) const;

    Container container_;
    Timeline timeline_;
    std::optional<Rgba> background_;
    std::unordered_map<std::uint16_t, Character> dictionary_;
    // Keyed by character id, and for morph shapes by id and ratio as well.
    mutable std::unordered_map<std::uint64_t, std::unique_ptr<Shape>> shapeCache_;
    mutable std::unordered_map<std::uint16_t, std::unique_ptr<MorphShape>> morphCache_;
    mutable std::size_t shapeCacheBytes_ = 0;
    std::span<const std::uint8_t> jpegTables_;
    // Bitmaps that failed to decode stay here as null, so they are not tried again every frame.
    mutable std::unordered_map<std::uint16_t, std::unique_ptr<Bitmap>> bitmapCache_;
    mutable std::size_t bitmapCacheBytes_ = 0;
};

}
