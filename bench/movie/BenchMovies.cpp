#include "BenchMovies.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "SwfBitmapWriter.h"

namespace movie::bench {

swf::Bytes gradientMovie(bool translucent)
{
    return gradientScene(translucent).finish();
}

swf::Movie gradientScene(bool translucent)
{
    std::mt19937 random(7);
    auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    swf::Movie movie(550, 400);
    movie.background({255, 255, 255});
    for (int i = 0; i < 200; ++i) {
        const int x = uniform(0, 550) * 20;
        const int y = uniform(0, 400) * 20;
        const int radius = uniform(20, 60) * 20;
        const double scale = radius / 16384.0;
        const std::vector<swf::GradientStop> stops = {
            {0, {static_cast<std::uint8_t>(uniform(0, 255)), 80, 200, 255}},
            {255, {20, static_cast<std::uint8_t>(uniform(0, 255)), 40,
             static_cast<std::uint8_t>(translucent ? uniform(128, 255) : 255)}}};
        const auto fill = i % 2 ? swf::Fill::radial(swf::Matrix::scale(scale, scale, x, y), stops)
                                : swf::Fill::linear(swf::Matrix::scale(scale, scale, x, y), stops, swf::Spread::Reflect);
        swf::ShapeBuilder shape;
        shape.fill1(shape.addFill(fill)).circle(x, y, radius);
        const auto id = static_cast<std::uint16_t>(i + 1);
        movie.defineShape(id, shape);
        movie.placeObject(id, id);
    }
    movie.showFrame();
    return movie;
}

swf::Bytes walkingFigureMovie()
{
    swf::Movie movie = gradientScene(false);
    swf::ShapeBuilder figure;
    figure.fill1(figure.addFill(swf::Fill::solid({250, 200, 40}))).circle(0, 0, 600);
    movie.defineShape(1000, figure);
    for (int frame = 0; frame < 60; ++frame) {
        swf::Place step;
        step.depth = 500;
        step.move = frame > 0;
        if (frame == 0)
            step.character = 1000;
        step.matrix = swf::Matrix::translate(1000 + frame * 150, 4000);
        movie.place(step).showFrame();
    }
    return movie.finish();
}

namespace {

swf::Image photo(int width, int height, int seed)
{
    swf::Image image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back({static_cast<std::uint8_t>(128 + 127 * std::sin(x * 0.03 + seed)),
                                    static_cast<std::uint8_t>(128 + 127 * std::cos(y * 0.05 - seed)),
                                    static_cast<std::uint8_t>((x * y + seed * 40) & 0xFF),
                                    static_cast<std::uint8_t>(std::min(255, 40 + (x + y) % 300))});
    return image;
}

swf::ShapeBuilder pictureRectangle(std::uint16_t bitmap, int width, int height, bool repeat, bool smooth)
{
    swf::ShapeBuilder shape;
    shape.fill1(shape.addFill(swf::bitmapFill(bitmap, swf::Matrix::scale(20, 20), repeat, smooth)));
    shape.rectangle(0, 0, width * 20, height * 20);
    return shape;
}

}

swf::Bytes bitmapMovie()
{
    swf::Movie movie(550, 400, 24);
    movie.tag(swf::kDefineBitsJpeg2, swf::jpegBody(1, swf::encodeJpeg(photo(550, 400, 1), 80)));
    const swf::Image sprite = photo(300, 200, 2);
    movie.tag(swf::kDefineBitsJpeg3, swf::jpeg3Body(2, swf::encodeJpeg(sprite, 80), sprite));
    movie.tag(swf::kDefineBitsLossless2, swf::losslessBody(3, photo(256, 256, 3), 5, true));
    movie.tag(swf::kDefineBitsLossless, swf::losslessBody(4, photo(200, 150, 4), 5, false));
    movie.defineShape(11, pictureRectangle(1, 550, 400, false, true));
    movie.defineShape(12, pictureRectangle(2, 300, 200, false, true));
    movie.defineShape(13, pictureRectangle(3, 256, 256, false, false));
    movie.defineShape(14, pictureRectangle(4, 400, 300, true, true));
    for (int frame = 0; frame < 24; ++frame) {
        const double angle = frame * 0.05;
        for (std::uint16_t i = 0; i < 4; ++i) {
            const double scale = 0.8 + 0.1 * i + 0.01 * frame;
            const swf::Matrix matrix{scale * std::cos(angle * i), scale * std::sin(angle * i), -scale * std::sin(angle * i),
                                     scale * std::cos(angle * i), (i * 1500 + frame * 40) % 6000, (i * 900) % 3000};
            swf::Place place;
            place.depth = static_cast<std::uint16_t>(i + 1);
            place.matrix = i == 0 ? swf::Matrix{} : matrix;
            if (frame == 0)
                place.character = static_cast<std::uint16_t>(11 + i);
            else
                place.move = true;
            movie.place(place);
        }
        movie.showFrame();
    }
    return movie.finish();
}

const swf::Bytes& largeMovie()
{
    static const swf::Bytes bytes = [] {
        std::mt19937 random(11);
        auto delta = [&] { return std::uniform_int_distribution<int>(-2000, 2000)(random); };
        swf::Movie movie(550, 400, 24);
        for (int frame = 0; frame < 1000; ++frame) {
            swf::ShapeBuilder shape;
            swf::LineStyle line;
            line.color = {0, 0, 0};
            shape.fill1(shape.addFill(swf::Fill::solid({200, 100, static_cast<std::uint8_t>(frame)})));
            shape.line(shape.addLine(line)).moveTo(5500, 4000);
            std::int32_t x = 5500;
            std::int32_t y = 4000;
            for (int i = 0; i < 3200; ++i) {
                const std::int32_t cx = std::clamp(x + delta(), 0, 11000);
                const std::int32_t cy = std::clamp(y + delta(), 0, 8000);
                x = std::clamp(cx + delta(), 0, 11000);
                y = std::clamp(cy + delta(), 0, 8000);
                shape.curveTo(cx, cy, x, y);
            }
            shape.lineTo(5500, 4000);
            const auto id = static_cast<std::uint16_t>(frame + 1);
            movie.defineShape(id, shape);
            if (frame > 0)
                movie.remove(1);
            movie.placeObject(1, id);
            movie.showFrame();
        }
        return movie.finish();
    }();
    return bytes;
}

}
