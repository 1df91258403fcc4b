#include "movie/Movie.h"

#include <algorithm>

#include "movie/ByteReader.h"
#include "movie/Records.h"
#include "movie/TextTags.h"

namespace movie {

namespace {

enum TagCode : std::uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kDefineShape = 2,
    kPlaceObject = 4,
    kRemoveObject = 5,
    kDefineBits = 6,
    kDefineButton = 7,
    kJpegTables = 8,
    kSetBackgroundColor = 9,
    kDoAction = 12,
    kDefineSound = 14,
    kStartSound = 15,
    kSoundStreamHead = 18,
    kSoundStreamBlock = 19,
    kDefineBitsLossless = 20,
    kDefineBitsJpeg2 = 21,
    kDefineShape2 = 22,
    kDefineButtonCxform = 23,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kDefineButton2 = 34,
    kDefineShape3 = 32,
    kDefineBitsJpeg3 = 35,
    kDefineBitsLossless2 = 36,
    kDefineSprite = 39,
    kFrameLabel = 43,
    kSoundStreamHead2 = 45,
    kDefineMorphShape = 46,
    kDoInitAction = 59,
    kPlaceObject3 = 70,
    kDefineShape4 = 83,
    kDefineMorphShape2 = 84,
    kStartSound2 = 89,
};

constexpr std::size_t kShapeCacheBudget = 64u << 20;
// Decoded bitmaps past the budget are dropped between frames; past the ceiling, one frame
// decodes no more of them.
constexpr std::size_t kBitmapCacheBudget = 256u << 20;
constexpr std::size_t kBitmapCacheCeiling = 768u << 20;
constexpr int kMaxFrames = 65535;

// What all the timelines of one movie may hold together, whatever the file says.
struct TimelineBudget {
    std::size_t frames = 1u << 20;
    std::size_t commands = 1u << 20;
    std::size_t actions = 1u << 20;
    std::size_t soundStarts = 1u << 16;
};

struct Tag {
    std::uint16_t code = 0;
    std::span<const std::uint8_t> body;
};

// Walks tag headers; stops at End or at a tag whose length runs past the data.
class TagWalker {
public:
    explicit TagWalker(std::span<const std::uint8_t> data) : reader_(data) {}

    bool next(Tag& tag)
    {
        if (reader_.remaining() < 2)
            return false;
        const std::uint16_t header = reader_.u16();
        std::size_t length = header & 0x3F;
        if (length == 0x3F)
            length = reader_.u32();
        if (reader_.failed() || length > reader_.remaining())
            return false;
        tag.code = static_cast<std::uint16_t>(header >> 6);
        tag.body = reader_.bytes(length);
        return tag.code != kEnd;
    }

private:
    ByteReader reader_;
};

DisplayCommand readPlaceObject(std::span<const std::uint8_t> body)
{
    ByteReader reader(body);
    DisplayCommand command;
    command.characterId = reader.u16();
    command.depth = reader.u16();
    command.matrix = readMatrix(reader);
    if (!reader.atEnd())
        command.colorTransform = readColorTransform(reader, false);
    return command;
}

DisplayCommand readPlaceObject2(std::span<const std::uint8_t> body, bool version3)
{
    ByteReader reader(body);
    DisplayCommand command;
    const std::uint8_t flags = reader.u8();
    const std::uint8_t flags3 = version3 ? reader.u8() : 0;
    command.depth = reader.u16();
    command.move = flags & 0x01;
    const bool hasCharacter = flags & 0x02;
    const bool hasClassName = (flags3 & 0x08) || ((flags3 & 0x10) && hasCharacter);
    if (hasClassName)
        reader.string();
    if (hasCharacter)
        command.characterId = reader.u16();
    if (flags & 0x04)
        command.matrix = readMatrix(reader);
    if (flags & 0x08)
        command.colorTransform = readColorTransform(reader, true);
    if (flags & 0x10)
        command.ratio = reader.u16();
    if (flags & 0x20)
        command.name = reader.string();
    if (flags & 0x40)
        command.clipDepth = reader.u16();
    // Clip actions, filters and blend modes follow; they have no effect yet.
    return command;
}

class TimelineReader {
public:
    TimelineReader(Timeline& timeline, TimelineBudget& budget) : timeline_(timeline), budget_(budget) {}

    // Returns false for tags that do not belong to a timeline.
    bool read(const Tag& tag)
    {
        switch (tag.code) {
        case kShowFrame:
            ++frameIndex_;
            return true;
        case kPlaceObject:
            addCommand(tag, readPlaceObject(tag.body));
            return true;
        case kPlaceObject2:
        case kPlaceObject3:
            addCommand(tag, readPlaceObject2(tag.body, tag.code == kPlaceObject3));
            return true;
        case kRemoveObject:
        case kRemoveObject2: {
            ByteReader reader(tag.body);
            if (tag.code == kRemoveObject)
                reader.u16();
            DisplayCommand command;
            command.remove = true;
            command.depth = reader.u16();
            addCommand(tag, command);
            return true;
        }
        case kDoAction:
            addScript(tag.body, &Frame::scripts);
            return true;
        case kDoInitAction:
            if (tag.body.size() > 2)
                addScript(tag.body.subspan(2), &Frame::initScripts);
            return true;
        case kSoundStreamHead:
        case kSoundStreamHead2:
            if (!timeline_.streamHead)
                timeline_.streamHead = readStreamHead(tag.body);
            return true;
        case kSoundStreamBlock:
            if (Frame* frame = current(); frame && frame->streamBlock.empty())
                frame->streamBlock = tag.body;
            return true;
        case kStartSound:
        case kStartSound2:
            addSoundStart(readStartSound(tag.body, tag.code == kStartSound2));
            return true;
        case kFrameLabel:
            if (current()) {
                ByteReader reader(tag.body);
                timeline_.labels.try_emplace(lowerCase(reader.string()), frameIndex_);
            }
            return true;
        default:
            return false;
        }
    }

private:
    Frame* current()
    {
        if (frameIndex_ >= timeline_.frameCount)
            return nullptr;
        const auto wanted = static_cast<std::size_t>(frameIndex_) + 1;
        if (timeline_.frames.size() < wanted) {
            const std::size_t added = wanted - timeline_.frames.size();
            if (added > budget_.frames)
                return nullptr;
            budget_.frames -= added;
            timeline_.frames.resize(wanted);
        }
        return &timeline_.frames[static_cast<std::size_t>(frameIndex_)];
    }

    void addCommand(const Tag& tag, DisplayCommand command)
    {
        if (tag.body.size() < 2 || budget_.commands == 0)
            return;
        if (Frame* frame = current()) {
            --budget_.commands;
            frame->commands.push_back(std::move(command));
        }
    }

    void addScript(std::span<const std::uint8_t> bytecode, std::vector<std::span<const std::uint8_t>> Frame::*list)
    {
        if (bytecode.empty() || budget_.actions == 0)
            return;
        if (Frame* frame = current()) {
            --budget_.actions;
            (frame->*list).push_back(bytecode);
        }
    }

    void addSoundStart(std::optional<SoundStart> start)
    {
        if (!start || budget_.soundStarts == 0)
            return;
        if (Frame* frame = current()) {
            --budget_.soundStarts;
            frame->sounds.push_back(*start);
        }
    }

    Timeline& timeline_;
    TimelineBudget& budget_;
    int frameIndex_ = 0;
};

}

LoadResult Movie::load(std::span<const std::uint8_t> file, std::unique_ptr<Movie>& out)
{
    out.reset();
    std::unique_ptr<Movie> movie(new Movie);
    const LoadResult result = decodeContainer(file, movie->container_);
    if (result != LoadResult::Ok)
        return result;
    movie->readTags();
    out = std::move(movie);
    return LoadResult::Ok;
}

void Movie::readTags()
{
    timeline_.frameCount = std::clamp(container_.frameCount, 1, kMaxFrames);
    TimelineBudget budget;
    TimelineReader main(timeline_, budget);
    TagWalker walker(std::span(container_.body).subspan(container_.tagOffset));
    Tag tag;
    while (walker.next(tag)) {
        if (main.read(tag))
            continue;
        if (readTextTag(tag.code, tag.body, version(), dictionary_))
            continue;
        ByteReader reader(tag.body);
        switch (tag.code) {
        case kSetBackgroundColor:
            if (!background_ && tag.body.size() >= 3)
                background_ = readRgb(reader);
            break;
        case kDefineShape:
        case kDefineShape2:
        case kDefineShape3:
        case kDefineShape4: {
            const std::uint16_t id = reader.u16();
            const int version = tag.code == kDefineShape    ? 1
                                : tag.code == kDefineShape2 ? 2
                                : tag.code == kDefineShape3 ? 3
                                                            : 4;
            if (!reader.failed())
                dictionary_.try_emplace(id, ShapeDefinition{reader.rest(), version});
            break;
        }
        case kDefineMorphShape:
        case kDefineMorphShape2: {
            const std::uint16_t id = reader.u16();
            if (!reader.failed())
                dictionary_.try_emplace(id, MorphShapeDefinition{reader.rest(), tag.code == kDefineMorphShape ? 1 : 2});
            break;
        }
        case kJpegTables:
            if (jpegTables_.empty())
                jpegTables_ = tag.body;
            break;
        case kDefineBits:
        case kDefineBitsJpeg2:
        case kDefineBitsJpeg3:
        case kDefineBitsLossless:
        case kDefineBitsLossless2: {
            const std::uint16_t id = reader.u16();
            const BitmapKind kind = tag.code == kDefineBits          ? BitmapKind::Jpeg
                                    : tag.code == kDefineBitsJpeg2   ? BitmapKind::Jpeg2
                                    : tag.code == kDefineBitsJpeg3   ? BitmapKind::Jpeg3
                                    : tag.code == kDefineBitsLossless ? BitmapKind::Lossless
                                                                      : BitmapKind::Lossless2;
            if (!reader.failed())
                dictionary_.try_emplace(id, BitmapDefinition{reader.rest(), kind});
            break;
        }
        case kDefineSound:
            if (auto sound = readDefineSound(tag.body))
                dictionary_.try_emplace(sound->first, sound->second);
            break;
        case kDefineSprite: {
            const std::uint16_t id = reader.u16();
            SpriteDefinition sprite;
            sprite.timeline.frameCount = std::clamp<int>(reader.u16(), 1, kMaxFrames);
            if (reader.failed())
                break;
            // Only timeline tags count inside a sprite, so sprites never nest while parsing.
            TimelineReader spriteReader(sprite.timeline, budget);
            TagWalker inner(reader.rest());
            Tag innerTag;
            while (inner.next(innerTag))
                spriteReader.read(innerTag);
            dictionary_.try_emplace(id, std::move(sprite));
            break;
        }
        case kDefineButton:
        case kDefineButton2: {
            const std::uint16_t id = reader.u16();
            if (!reader.failed() && !dictionary_.contains(id))
                dictionary_.emplace(id, parseButton(reader.rest(), tag.code == kDefineButton2 ? 2 : 1, budget.commands));
            break;
        }
        case kDefineButtonCxform: {
            const std::uint16_t id = reader.u16();
            const ColorTransform transform = readColorTransform(reader, false);
            auto found = dictionary_.find(id);
            if (!reader.failed() && found != dictionary_.end())
                if (auto* button = std::get_if<ButtonDefinition>(&found->second))
                    applyButtonColorTransform(*button, transform);
            break;
        }
        default:
            break;
        }
    }
}

const Character* Movie::character(std::uint16_t id) const
{
    const auto found = dictionary_.find(id);
    return found == dictionary_.end() ? nullptr : &found->second;
}

const Shape* Movie::shape(std::uint16_t id, std::uint16_t ratio) const
{
    const Character* found = character(id);
    if (const auto* definition = std::get_if<MorphShapeDefinition>(found)) {
        const std::uint64_t key = (std::uint64_t{1} << 32) | (std::uint64_t{id} << 16) | ratio;
        if (const auto cached = shapeCache_.find(key); cached != shapeCache_.end())
            return cached->second.get();
        return cache(key, interpolate(*morph(id, *definition), ratio));
    }
    if (const auto cached = shapeCache_.find(id); cached != shapeCache_.end())
        return cached->second.get();
    const auto* definition = std::get_if<ShapeDefinition>(found);
    if (!definition)
        return nullptr;
    return cache(id, parseShape(definition->tag, definition->version));
}

const Shape* Movie::cache(std::uint64_t key, Shape shape) const
{
    auto stored = std::make_unique<Shape>(std::move(shape));
    // Files before version 8 cannot turn smoothing off; their bitmap fills are all smoothed.
    if (version() < 8)
        for (auto& layer : stored->layers)
            for (auto& fill : layer.fills)
                fill.smooth = true;
    shapeCacheBytes_ += stored->memoryBytes();
    return shapeCache_.insert_or_assign(key, std::move(stored)).first->second.get();
}

const MorphShape* Movie::morph(std::uint16_t id, const MorphShapeDefinition& definition) const
{
    auto& parsed = morphCache_[id];
    if (!parsed) {
        parsed = std::make_unique<MorphShape>(parseMorphShape(definition.tag, definition.version));
        shapeCacheBytes_ += (parsed->startEdges.size() + parsed->endEdges.size()) * sizeof(Edge);
    }
    return parsed.get();
}

void Movie::trimShapeCache() const
{
    if (shapeCacheBytes_ <= kShapeCacheBudget)
        return;
    shapeCache_.clear();
    morphCache_.clear();
    shapeCacheBytes_ = 0;
}

const Bitmap* Movie::bitmap(std::uint16_t id) const
{
    if (const auto cached = bitmapCache_.find(id); cached != bitmapCache_.end())
        return cached->second.get();
    const auto* definition = std::get_if<BitmapDefinition>(character(id));
    if (!definition || bitmapCacheBytes_ > kBitmapCacheCeiling)
        return nullptr;
    std::unique_ptr<Bitmap> decoded;
    if (auto bitmap = decodeBitmap(*definition, jpegTables_)) {
        decoded = std::make_unique<Bitmap>(std::move(*bitmap));
        bitmapCacheBytes_ += decoded->memoryBytes();
    }
    return bitmapCache_.emplace(id, std::move(decoded)).first->second.get();
}

void Movie::trimBitmapCache() const
{
    if (bitmapCacheBytes_ <= kBitmapCacheBudget)
        return;
    bitmapCache_.clear();
    bitmapCacheBytes_ = 0;
}

}
