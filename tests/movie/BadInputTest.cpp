#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "support/MovieTestSupport.h"
#include "support/SwfTextWriter.h"

namespace movie::test {
namespace {

using swf::ShapeBuilder;

// Loads, plays a few frames and draws each; whatever the input, this must not crash.
void exercise(const swf::Bytes& file)
{
    Player player;
    if (player.load(file) != LoadResult::Ok) {
        EXPECT_EQ(player.totalFrames(), 0);
        return;
    }
    Image image(64, 48);
    for (int i = 0; i < 4; ++i) {
        player.render(image.data(), image.width(), image.height(), image.stride());
        player.step();
    }
    player.gotoFrame(0);
    player.render(image.data(), image.width(), image.height(), image.stride());
}

swf::Bytes richMovie(swf::Compression compression)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    ShapeBuilder shape;
    const int gradient = shape.addFill(swf::Fill::radial(swf::Matrix::scale(0.05, 0.05), {{0, kRed}, {255, kBlue}}));
    swf::LineStyle line;
    line.width = 40;
    line.join = swf::Join::Miter;
    shape.fill1(gradient).line(shape.addLine(line)).circle(px(50), px(50), px(30));
    shape.newStyles();
    shape.fill0(shape.addFill(swf::Fill::solid(kGreen))).rectangle(px(10), px(10), px(30), px(30));
    movie.defineShape(1, shape, 4);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame().remove(1).showFrame();
    movie.defineSprite(2, sprite);
    movie.label("start").placeObject(1, 2).showFrame();
    swf::Place recolour;
    recolour.depth = 1;
    recolour.move = true;
    recolour.colorTransform = swf::ColorTransform{};
    recolour.name = "clip";
    movie.place(recolour, 3).actions(swf::Actions().gotoLabel("start").play()).showFrame();
    movie.remove(1).showFrame();
    return movie.finish(compression);
}

TEST(BadInputTest, TruncatedAnywhere)
{
    for (auto compression : {swf::Compression::None, swf::Compression::Zlib}) {
        const swf::Bytes file = richMovie(compression);
        for (std::size_t size = 0; size < file.size(); ++size) {
            SCOPED_TRACE(size);
            exercise(swf::Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
        }
    }
}

TEST(BadInputTest, FontsAndTextsTruncatedAnywhere)
{
    const swf::Bytes file = swf::textSampler();
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        exercise(swf::Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

TEST(BadInputTest, ATagRunningPastTheEndEndsTheMovieButKeepsWhatCameBefore)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(100), px(100), kRed));
    movie.placeObject(1, 1).showFrame();
    movie.tag(swf::kDefineSprite, swf::Bytes(10, 0), true);
    swf::Bytes file = movie.finish();
    // Make the last tag claim almost 4 GB.
    const std::size_t lengthAt = file.size() - 2 - 10 - 4;
    for (int i = 0; i < 4; ++i)
        file[lengthAt + static_cast<std::size_t>(i)] = 0xFF;
    Player player;
    ASSERT_EQ(player.load(file), LoadResult::Ok);
    EXPECT_TRUE(near(render(player, 10, 10).at(5, 5), kRed));
}

TEST(BadInputTest, ShapeRecordsWithHugeValuesAreHarmless)
{
    ShapeBuilder shape;
    swf::LineStyle line;
    line.width = 65535;
    shape.fill1(shape.addFill(swf::Fill::solid(kRed))).line(shape.addLine(line));
    shape.moveTo(-(1 << 29), -(1 << 29)).lineTo(1 << 29, -(1 << 29)).curveTo(1 << 29, 1 << 29, -(1 << 29), 1 << 29);
    shape.lineTo(-(1 << 29), -(1 << 29));
    swf::Movie movie(100, 100);
    movie.defineShape(1, shape);
    swf::Place place;
    place.character = 1;
    place.matrix = swf::Matrix{30000, 0, 0, 30000, 0, 0};
    movie.place(place).showFrame();
    exercise(movie.finish());
}

swf::Bytes zlibMovieDeclaring(std::uint32_t declaredSize, std::size_t zeroBytes)
{
    swf::Bytes file = {'C', 'W', 'S', 8};
    for (int i = 0; i < 4; ++i)
        file.push_back(static_cast<std::uint8_t>(declaredSize >> (8 * i)));
    z_stream stream{};
    deflateInit(&stream, Z_BEST_SPEED);
    const swf::Bytes chunk(1 << 20, 0);
    swf::Bytes out(1 << 16);
    for (std::size_t done = 0; done < zeroBytes; done += chunk.size()) {
        stream.next_in = const_cast<Bytef*>(chunk.data());
        stream.avail_in = static_cast<uInt>(chunk.size());
        const int flush = done + chunk.size() >= zeroBytes ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            file.insert(file.end(), out.begin(), out.end() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return file;
}

TEST(BadInputTest, ACompressedBombIsRefusedOrCutAtItsDeclaredSize)
{
    Player player;
    EXPECT_EQ(player.load(zlibMovieDeclaring(0xFFFFFFFFu, 64u << 20)), LoadResult::TooLarge);
    EXPECT_EQ(player.totalFrames(), 0);
    // Declares 4 MB but inflates to 64 MB of zeros: only the declared size is ever produced.
    EXPECT_EQ(player.load(zlibMovieDeclaring(4u << 20, 64u << 20)), LoadResult::Ok);
}

TEST(BadInputTest, SpritesNestedTenThousandDeep)
{
    constexpr int depth = 10000;
    // Each sprite places the one before it.
    swf::Movie chain(100, 100);
    chain.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(50), px(50), kRed));
    for (int id = 2; id <= depth; ++id) {
        swf::Timeline sprite;
        sprite.placeObject(1, static_cast<std::uint16_t>(id - 1)).showFrame().showFrame();
        chain.defineSprite(static_cast<std::uint16_t>(id), sprite);
    }
    chain.placeObject(1, depth).showFrame();
    exercise(chain.finish());

    // Sprite definitions inside sprite definitions, one tag within the other: each level
    // is a header before the inner tag and the same closing tags after it.
    const swf::Bytes core = swf::encodeTag(swf::kDefineSprite, swf::spriteBody(1, swf::Timeline().placeObject(1, 1).showFrame()));
    const swf::Bytes closing = [] {
        swf::Timeline after;
        after.placeObject(1, 1).showFrame().tag(swf::kEnd, {});
        return after.tags();
    }();
    const swf::Bytes spriteHeader = {1, 0, 1, 0};
    std::vector<swf::Bytes> openings;
    std::size_t innerSize = core.size();
    for (int level = 1; level < depth; ++level) {
        swf::BitWriter opening;
        opening.u16(static_cast<std::uint16_t>((swf::kDefineSprite << 6) | 0x3F));
        opening.u32(static_cast<std::uint32_t>(spriteHeader.size() + innerSize + closing.size()));
        opening.append(spriteHeader);
        openings.push_back(opening.take());
        innerSize += openings.back().size() + closing.size();
    }
    swf::Bytes nestedBody = spriteHeader;
    for (auto level = openings.rbegin(); level != openings.rend(); ++level)
        nestedBody.insert(nestedBody.end(), level->begin(), level->end());
    nestedBody.insert(nestedBody.end(), core.begin(), core.end());
    for (int level = 0; level < depth; ++level)
        nestedBody.insert(nestedBody.end(), closing.begin(), closing.end());
    swf::Movie nested(100, 100);
    nested.tag(swf::kDefineSprite, nestedBody).placeObject(1, 1).showFrame();
    exercise(nested.finish());
}

TEST(BadInputTest, SpritesPlacingThemselvesStayBounded)
{
    swf::Movie movie(100, 100);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).placeObject(2, 1).placeObject(3, 1).showFrame().showFrame();
    movie.defineSprite(1, sprite);
    movie.placeObject(1, 1).showFrame();
    exercise(movie.finish());
}

TEST(BadInputTest, RegressionCorpusReplays)
{
    const std::filesystem::path corpus = MOVIE_CORPUS_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const swf::Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        exercise(file);
        ++files;
    }
    EXPECT_GT(files, 0);
}

}
}
