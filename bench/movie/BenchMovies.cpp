#include "BenchMovies.h"

#include <algorithm>
#include <random>

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
