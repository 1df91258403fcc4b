#include "DemoMovie.h"
#include "DemoTitle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "SwfBitmapWriter.h"
#include "Melody.h"
#include "SwfSoundWriter.h"

namespace demo {
namespace {

using swf::Color;
using swf::ColorTransform;
using swf::Fill;
using swf::Matrix;
using swf::Place;
using swf::ShapeBuilder;

constexpr std::int32_t kW = kStageWidth * 20;
constexpr std::int32_t kH = kStageHeight * 20;
constexpr double kPi = 3.14159265358979323846;

struct Palette {
    Color skyTop;
    Color skyBottom;
    std::array<Color, 4> accents;
};

// One palette per category: soft skies, bright toys.
const std::array<Palette, 14> kPalettes = {{
    {{255, 214, 214}, {255, 248, 230}, {{{242, 121, 139}, {255, 183, 77}, {102, 187, 106}, {66, 165, 245}}}},
    {{255, 227, 194}, {255, 250, 235}, {{{245, 162, 93}, {171, 119, 224}, {77, 182, 172}, {239, 83, 80}}}},
    {{255, 241, 184}, {255, 252, 240}, {{{232, 183, 48}, {236, 111, 158}, {66, 165, 245}, {124, 179, 66}}}},
    {{40, 53, 120}, {120, 140, 220}, {{{255, 224, 130}, {255, 255, 255}, {179, 157, 219}, {128, 203, 196}}}},
    {{224, 218, 255}, {250, 248, 255}, {{{143, 123, 224}, {255, 138, 101}, {77, 208, 225}, {255, 213, 79}}}},
    {{255, 224, 204}, {255, 249, 240}, {{{238, 139, 85}, {92, 107, 192}, {129, 199, 132}, {240, 98, 146}}}},
    {{215, 245, 208}, {245, 255, 240}, {{{102, 187, 106}, {255, 167, 38}, {41, 182, 246}, {239, 83, 80}}}},
    {{210, 240, 255}, {245, 252, 255}, {{{66, 165, 245}, {255, 112, 67}, {255, 202, 40}, {171, 71, 188}}}},
    {{207, 243, 234}, {245, 255, 252}, {{{38, 166, 154}, {255, 183, 77}, {126, 87, 194}, {236, 64, 122}}}},
    {{255, 230, 240}, {255, 250, 252}, {{{236, 111, 158}, {38, 198, 218}, {255, 202, 40}, {124, 179, 66}}}},
    {{255, 244, 204}, {255, 253, 245}, {{{240, 180, 41}, {229, 57, 53}, {30, 136, 229}, {67, 160, 71}}}},
    {{255, 220, 220}, {255, 250, 250}, {{{229, 115, 115}, {92, 107, 192}, {255, 202, 40}, {38, 166, 154}}}},
    {{221, 244, 200}, {250, 255, 245}, {{{124, 179, 66}, {255, 138, 101}, {66, 165, 245}, {255, 213, 79}}}},
    {{235, 221, 251}, {252, 248, 255}, {{{171, 119, 224}, {255, 183, 77}, {77, 182, 172}, {240, 98, 146}}}},
}};

Color Mix(Color a, Color b, double t)
{
    auto lerp = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), 255};
}

const Color kWhite{255, 255, 255};

// A rotation by `angle` radians and a uniform scale, then a move to (x, y) twips.
Matrix Pose(double x, double y, double scale = 1, double angle = 0)
{
    const double c = std::cos(angle) * scale;
    const double s = std::sin(angle) * scale;
    return {c, s, -s, c, static_cast<std::int32_t>(std::lround(x)), static_cast<std::int32_t>(std::lround(y))};
}

// Smooth start and end for tweens.
double Ease(double t)
{
    return t * t * (3 - 2 * t);
}

Fill VerticalGradient(Color top, Color bottom, std::int32_t y0, std::int32_t y1)
{
    const double s = (y1 - y0) / 32768.0;
    return Fill::linear(Matrix{0, s, -s, 0, kW / 2, (y0 + y1) / 2}, {{0, top}, {255, bottom}});
}

Fill Ball(Color color, std::int32_t radius)
{
    const double s = radius * 2 / 32768.0;
    return Fill::radial(Matrix::scale(s, s, -radius / 3, -radius / 3),
                        {{0, Mix(color, kWhite, 0.75)}, {110, color}, {255, Mix(color, Color{0, 0, 0}, 0.2)}});
}

ShapeBuilder Sky(const Palette& palette)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(VerticalGradient(palette.skyTop, palette.skyBottom, 0, kH)));
    shape.rectangle(0, 0, kW, kH);
    return shape;
}

ShapeBuilder Hills(Color color, std::int32_t top)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(VerticalGradient(Mix(color, kWhite, 0.25), color, top, kH)));
    shape.moveTo(0, kH).lineTo(0, top + 600);
    shape.curveTo(kW / 4, top - 500, kW / 2, top + 400);
    shape.curveTo(kW * 3 / 4, top + 1100, kW, top);
    shape.lineTo(kW, kH).lineTo(0, kH);
    return shape;
}

ShapeBuilder Disc(const Fill& fill, std::int32_t radius, int lineIndexWidth = 0, Color line = kWhite)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(fill));
    if (lineIndexWidth > 0)
        shape.line(shape.addLine(swf::LineStyle{static_cast<std::uint16_t>(lineIndexWidth), line}));
    shape.circle(0, 0, radius);
    return shape;
}

ShapeBuilder Star(Color color, std::int32_t outer)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Fill::solid(color)));
    for (int i = 0; i <= 10; ++i) {
        const double r = (i % 2 == 0) ? outer : outer * 0.45;
        const double a = -kPi / 2 + i * kPi / 5;
        const auto x = static_cast<std::int32_t>(std::lround(std::cos(a) * r));
        const auto y = static_cast<std::int32_t>(std::lround(std::sin(a) * r));
        if (i == 0)
            shape.moveTo(x, y);
        else
            shape.lineTo(x, y);
    }
    return shape;
}

ShapeBuilder Cloud()
{
    // Each puff in its own style group, so the overlaps stay filled.
    ShapeBuilder shape;
    const std::array<std::array<std::int32_t, 3>, 3> puffs = {{{-700, 100, 500}, {0, -200, 700}, {700, 100, 520}}};
    for (const auto& [x, y, r] : puffs) {
        shape.newStyles();
        shape.fill1(shape.addFill(Fill::solid(kWhite)));
        shape.circle(x, y, r);
    }
    return shape;
}

// The movie being written, with its character ids and timing.
class Scene {
public:
    Scene(int fps, int frames, const Palette& palette)
        : movie_(kStageWidth, kStageHeight, fps), frames_(frames), palette_(palette)
    {
        movie_.background(palette.skyBottom);
    }

    std::uint16_t define(const ShapeBuilder& shape)
    {
        movie_.defineShape(nextId_, shape, 3);
        return nextId_++;
    }

    std::uint16_t defineBitmap(const swf::Image& image)
    {
        movie_.tag(swf::kDefineBitsLossless2, swf::losslessBody(nextId_, image, 5, true));
        return nextId_++;
    }
    // An id for a definition the caller writes into movie() itself.
    std::uint16_t reserveId() { return nextId_++; }
    swf::Movie& movie() { return movie_; }

    std::uint16_t defineSprite(const swf::Timeline& timeline)
    {
        movie_.defineSprite(nextId_, timeline);
        return nextId_++;
    }

    // Places every actor on frame 0 and moves it on every later frame; `pose`
    // gives an actor's place record (without character) for a frame.
    using Pose = std::function<Place(int frame)>;
    void actor(std::uint16_t character, Pose pose)
    {
        actors_.push_back({character, static_cast<std::uint16_t>(actors_.size() + 1), std::move(pose)});
    }

    void streamSound(StreamSound sound) { sound_ = std::move(sound); }

    swf::Bytes finish(bool stopAtEnd, swf::Compression compression)
    {
        if (!sound_.blocks.empty())
            movie_.tag(swf::kSoundStreamHead2, sound_.head);
        for (int frame = 0; frame < frames_; ++frame) {
            if (static_cast<size_t>(frame) < sound_.blocks.size() && !sound_.blocks[static_cast<size_t>(frame)].empty())
                movie_.tag(swf::kSoundStreamBlock, sound_.blocks[static_cast<size_t>(frame)]);
            for (const Actor& actor : actors_) {
                Place place = actor.pose(frame);
                place.depth = actor.depth;
                if (frame == 0)
                    place.character = actor.character;
                else
                    place.move = true;
                movie_.place(place);
            }
            if (stopAtEnd && frame == frames_ - 1)
                movie_.actions(swf::Actions().stop());
            movie_.showFrame();
        }
        return movie_.finish(compression);
    }

    int frames() const { return frames_; }
    const Palette& palette() const { return palette_; }

private:
    struct Actor {
        std::uint16_t character;
        std::uint16_t depth;
        Pose pose;
    };

    swf::Movie movie_;
    StreamSound sound_;
    int frames_;
    const Palette& palette_;
    std::uint16_t nextId_ = 1;
    std::vector<Actor> actors_;
};

Place At(const Matrix& matrix)
{
    Place place;
    place.matrix = matrix;
    return place;
}

Place Still()
{
    return At(Matrix{});
}

// Balls bounce along a meadow and roll off one side to come in at the other.
void BouncingBalls(Scene& scene)
{
    const Palette& p = scene.palette();
    scene.actor(scene.define(Sky(p)), [](int) { return Still(); });
    const std::uint16_t cloud = scene.define(Cloud());
    scene.actor(cloud, [](int f) { return At(Pose(std::fmod(1500 + f * 12.0, kW + 3000) - 1500, 1500)); });
    scene.actor(scene.define(Hills(p.accents[2], kH - 1800)), [](int) { return Still(); });
    for (int i = 0; i < 3; ++i) {
        const std::int32_t radius = 700 - i * 120;
        const std::uint16_t ball = scene.define(Disc(Ball(p.accents[(i + 1) % 4], radius), radius, 30));
        scene.actor(ball, [i, radius](int f) {
            const double x = std::fmod(i * 3800.0 + f * (45.0 + i * 12), kW + 2 * radius) - radius;
            const double bounce = std::fabs(std::sin(f * (0.09 + i * 0.02) + i));
            const double y = kH - 1300 - radius - bounce * (3000 - i * 500);
            return At(Pose(x, y, 1, f * 0.06));
        });
    }
}

// The sky brightens from dusk, the sun climbs over the hills, clouds drift.
void Sunrise(Scene& scene)
{
    const Palette& p = scene.palette();
    const int n = scene.frames();
    scene.actor(scene.define(Sky(p)), [n](int f) {
        const double t = Ease(std::min(1.0, f / (n * 0.6)));
        Place place = Still();
        ColorTransform fade;
        fade.mulR = fade.mulG = static_cast<std::int16_t>(90 + 166 * t);
        fade.mulB = static_cast<std::int16_t>(140 + 116 * t);
        place.colorTransform = fade;
        return place;
    });
    const std::int32_t sunRadius = 1100;
    scene.actor(scene.define(Disc(Ball(Color{255, 193, 7}, sunRadius), sunRadius)), [n](int f) {
        const double t = Ease(std::min(1.0, f / (n * 0.7)));
        const double pulse = 1 + 0.04 * std::sin(f * 0.2);
        return At(Pose(kW * 0.62, kH + 1200 - t * (kH * 0.75), pulse));
    });
    const std::uint16_t cloud = scene.define(Cloud());
    for (int i = 0; i < 2; ++i)
        scene.actor(cloud, [i](int f) { return At(Pose(1200 + i * 5200 + f * (8.0 + i * 5), 1400 + i * 900, 1 - i * 0.2)); });
    scene.actor(scene.define(Hills(p.accents[2], kH - 2200)), [](int) { return Still(); });
}

ShapeBuilder Petals(Color petal, Color centre)
{
    ShapeBuilder shape;
    const int petalFill = shape.addFill(Ball(petal, 380));
    shape.fill1(petalFill);
    for (int i = 0; i < 6; ++i)
        shape.circle(static_cast<std::int32_t>(std::lround(std::cos(i * kPi / 3) * 480)),
                     static_cast<std::int32_t>(std::lround(std::sin(i * kPi / 3) * 480)), 360);
    shape.fill1(shape.addFill(Fill::solid(centre)));
    shape.circle(0, 0, 300);
    return shape;
}

// Flowers that spin inside their own sprite while they float across.
void SpinningFlowers(Scene& scene)
{
    const Palette& p = scene.palette();
    scene.actor(scene.define(Sky(p)), [](int) { return Still(); });
    scene.actor(scene.define(Hills(p.accents[2], kH - 1500)), [](int) { return Still(); });
    for (int i = 0; i < 4; ++i) {
        const std::uint16_t petals = scene.define(Petals(p.accents[static_cast<size_t>(i)], Color{255, 235, 59}));
        swf::Timeline spin;
        spin.placeObject(1, petals);
        for (int f = 0; f < 24; ++f) {
            Place turn;
            turn.depth = 1;
            turn.move = true;
            turn.matrix = Pose(0, 0, 1, f * kPi / 36);
            spin.place(turn).showFrame();
        }
        const std::uint16_t flower = scene.defineSprite(spin);
        scene.actor(flower, [i](int f) {
            const double x = std::fmod(i * 3000.0 + f * (30.0 + 8 * i), kW + 2400) - 1200;
            const double y = 2200 + i * 1100 + std::sin(f * 0.08 + i) * 500;
            return At(Pose(x, y, 0.8 + 0.15 * i));
        });
    }
}

// A night sky whose stars twinkle by their colour transforms.
void TwinklingStars(Scene& scene)
{
    const Palette& p = scene.palette();
    Palette night = p;
    night.skyTop = {25, 32, 90};
    night.skyBottom = Mix(p.skyTop, Color{60, 70, 160}, 0.6);
    scene.actor(scene.define(Sky(night)), [](int f) {
        Place place = Still();
        ColorTransform fade;
        fade.mulR = fade.mulG = fade.mulB = static_cast<std::int16_t>(std::min(256, 60 + f * 8));
        place.colorTransform = fade;
        return place;
    });
    scene.actor(scene.define(Disc(Ball(Color{255, 236, 150}, 900), 900)),
                [](int f) { return At(Pose(kW - 2000, 1800 + std::sin(f * 0.03) * 150)); });
    const std::uint16_t star = scene.define(Star(Color{255, 241, 118}, 380));
    for (int i = 0; i < 9; ++i) {
        const double x = 900 + (i * 2371) % (kW - 3600);
        const double y = 700 + (i * 1733) % (kH - 2600);
        scene.actor(star, [i, x, y](int f) {
            Place place = At(Pose(x, y, 0.6 + 0.25 * std::sin(f * 0.15 + i), f * 0.02 * (i % 2 ? 1 : -1)));
            ColorTransform glow;
            glow.mulA = static_cast<std::int16_t>(150 + 106 * std::sin(f * 0.2 + i * 1.7));
            place.colorTransform = glow;
            return place;
        });
    }
    scene.actor(scene.define(Hills(Color{46, 125, 50}, kH - 1300)), [](int) { return Still(); });
}

ShapeBuilder FishBody(Color color)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Ball(color, 900)));
    shape.line(shape.addLine(swf::LineStyle{30, Mix(color, Color{0, 0, 0}, 0.3)}));
    shape.moveTo(-900, 0).curveTo(0, -1100, 900, 0).curveTo(0, 1100, -900, 0);
    shape.fill1(shape.addFill(Fill::solid(kWhite))).line(0);
    shape.circle(480, -150, 150);
    shape.fill1(shape.addFill(Fill::solid(Color{40, 40, 60})));
    shape.circle(510, -150, 70);
    return shape;
}

ShapeBuilder FishTail(Color color)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Fill::solid(Mix(color, kWhite, 0.2))));
    shape.moveTo(0, 0).lineTo(-700, -450).curveTo(-550, 0, -700, 450).lineTo(0, 0);
    return shape;
}

// Fish with wagging tails swim through a blue sea, bubbles rise.
void SwimmingFish(Scene& scene)
{
    Palette sea = scene.palette();
    sea.skyTop = {129, 212, 250};
    sea.skyBottom = {2, 119, 189};
    scene.actor(scene.define(Sky(sea)), [](int) { return Still(); });
    const std::uint16_t bubble = scene.define(Disc(Fill::solid(Color{255, 255, 255, 90}), 160, 25));
    for (int i = 0; i < 4; ++i)
        scene.actor(bubble, [i](int f) {
            const double y = kH - std::fmod(f * (40.0 + i * 9) + i * 1900, kH + 400);
            return At(Pose(1500 + i * 2600 + std::sin(f * 0.2 + i) * 200, y, 0.7 + 0.2 * i));
        });
    for (int i = 0; i < 3; ++i) {
        const Color color = scene.palette().accents[(i + 1) % 4];
        const std::uint16_t body = scene.define(FishBody(color));
        const std::uint16_t tail = scene.define(FishTail(color));
        swf::Timeline wag;
        wag.placeObject(1, tail, Matrix::translate(-820, 0));
        wag.placeObject(2, body);
        for (int f = 0; f < 12; ++f) {
            Place turn;
            turn.depth = 1;
            turn.move = true;
            turn.matrix = Pose(-820, 0, 1, std::sin(f * kPi / 6) * 0.35);
            wag.place(turn).showFrame();
        }
        const std::uint16_t fish = scene.defineSprite(wag);
        const bool leftward = i == 1;
        scene.actor(fish, [i, leftward](int f) {
            double x = std::fmod(i * 4000.0 + f * (35.0 + 10 * i), kW + 3000) - 1500;
            if (leftward)
                x = kW - x;
            const double y = 2000 + i * 2000 + std::sin(f * 0.07 + i) * 400;
            Matrix m = Pose(x, y, 0.9 - 0.1 * i);
            if (leftward)
                m.a = -m.a;
            return At(m);
        });
    }
}

ShapeBuilder Balloon(Color color)
{
    ShapeBuilder shape;
    shape.line(shape.addLine(swf::LineStyle{20, Color{120, 120, 120}}));
    shape.moveTo(0, 950).curveTo(150, 1500, -50, 2100);
    shape.line(0).fill1(shape.addFill(Ball(color, 750)));
    shape.moveTo(0, 950).curveTo(-800, 500, -700, -150).curveTo(-600, -900, 0, -900);
    shape.curveTo(600, -900, 700, -150).curveTo(800, 500, 0, 950);
    return shape;
}

// A striped kite with its spars, see-through around it, drawn pixel by pixel.
swf::Image KitePicture(Color a, Color b)
{
    constexpr int size = 24;
    swf::Image image{size, size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int distance = std::abs(x - size / 2) + std::abs(y - size / 2);
            const bool spar = x == size / 2 || y == size / 3;
            Color c = spar ? Color{90, 60, 40} : (y / 3) % 2 ? a : b;
            c.a = distance < size / 2 ? 255 : distance == size / 2 ? 128 : 0;
            image.pixels.push_back(c);
        }
    }
    return image;
}

// A rectangle showing the picture, `scale` pixels a picture pixel, centred on the origin.
ShapeBuilder Picture(std::uint16_t bitmap, int size, double scale)
{
    const auto half = static_cast<std::int32_t>(size * scale * 10);
    ShapeBuilder shape;
    shape.fill1(shape.addFill(swf::bitmapFill(bitmap, swf::Matrix::scale(scale * 20, scale * 20, -half, -half), false, true)));
    shape.rectangle(-half, -half, half, half);
    return shape;
}

// Balloons rise into the sky and the movie comes to rest.
void RisingBalloons(Scene& scene)
{
    const Palette& p = scene.palette();
    const int n = scene.frames();
    scene.actor(scene.define(Sky(p)), [](int) { return Still(); });
    scene.actor(scene.define(Cloud()), [](int f) { return At(Pose(2500 + f * 6.0, 1600, 1.2)); });
    scene.actor(scene.define(Hills(p.accents[2], kH - 1400)), [](int) { return Still(); });
    const std::uint16_t kite = scene.define(Picture(scene.defineBitmap(KitePicture(p.accents[0], p.accents[3])), 24, 3));
    scene.actor(kite, [](int f) { return At(Pose(8500 + std::sin(f * 0.04) * 900, 2200 + std::cos(f * 0.05) * 400, 1, std::sin(f * 0.06) * 0.3)); });
    for (int i = 0; i < 5; ++i) {
        const std::uint16_t balloon = scene.define(Balloon(p.accents[i % 4]));
        scene.actor(balloon, [i, n](int f) {
            const double t = Ease(std::min(1.0, f / (n * (0.6 + 0.08 * i))));
            const double x = 1300 + i * 2100 + std::sin(f * 0.05 + i) * 350;
            const double y = kH + 1500 - t * (kH - 1200 + (i % 3) * 900);
            return At(Pose(x, y, 0.9, std::sin(f * 0.07 + i) * 0.12));
        });
    }
}

using SceneFunction = void (*)(Scene&);
constexpr std::array<SceneFunction, 6> kScenes = {BouncingBalls, Sunrise,      SpinningFlowers,
                                                  TwinklingStars, SwimmingFish, RisingBalloons};
// Scenes that come to rest on their last frame; the others loop.
constexpr std::array<bool, 6> kStops = {false, true, false, false, true, true};
constexpr std::array<int, 5> kFrameRates = {12, 15, 18, 20, 24};

}

swf::Bytes MakeDemoMovie(int programme, int category)
{
    const int kind = (programme + category) % static_cast<int>(kScenes.size());
    const int fps = kFrameRates[static_cast<size_t>(programme) % kFrameRates.size()];
    const int seconds = programme % 9 == 8 ? 45 : 5 + (programme * 7) % 16;
    Scene scene(fps, fps * seconds, kPalettes[static_cast<size_t>(category) % kPalettes.size()]);
    kScenes[static_cast<size_t>(kind)](scene);
    // The first programme sings and shows a title in Chinese from an embedded font.
    if (programme == 0) {
        scene.streamSound(MakeMelody(fps));
        const std::uint16_t fontId = scene.reserveId();
        const std::uint16_t textId = scene.reserveId();
        if (AddChineseTitle(scene.movie(), fontId, textId, U"\u5feb\u4e50\u52a8\u753b\u4e50\u56ed", 1500, 1100,
                            Color{80, 40, 120}))
            scene.actor(textId, [](int) { return At(Matrix::translate(kW / 2, 0)); });
    }
    const auto compression = programme % 2 == 0 ? swf::Compression::Zlib : swf::Compression::None;
    return scene.finish(kStops[static_cast<size_t>(kind)], compression);
}

}
