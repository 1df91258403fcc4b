#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "SwfWriter.h"
#include "movie/Player.h"

namespace movie::test {

struct Pixel {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 0;

    friend std::ostream& operator<<(std::ostream& out, const Pixel& p)
    {
        return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
    }
};

// A rendered window, read back as plain (premultiplied) channels.
class Image {
public:
    Image(int width, int height) : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

    std::uint32_t* data() { return pixels_.data(); }
    int width() const { return width_; }
    int height() const { return height_; }
    std::ptrdiff_t stride() const { return static_cast<std::ptrdiff_t>(width_) * 4; }

    Pixel at(int x, int y) const
    {
        const std::uint32_t p = pixels_[static_cast<std::size_t>(y * width_ + x)];
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF),
                static_cast<int>(p >> 24)};
    }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

inline Image render(Player& player, int width, int height)
{
    Image image(width, height);
    player.render(image.data(), width, height, image.stride());
    return image;
}

// Loads a movie (which must succeed) and renders its first frame.
inline Image renderMovie(const swf::Bytes& file, int width, int height)
{
    Player player;
    if (player.load(file) != LoadResult::Ok)
        std::abort();
    return render(player, width, height);
}

inline bool near(const Pixel& p, swf::Color c, int tolerance = 2)
{
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance && std::abs(p.a - c.a) <= tolerance;
}

// The whole file; empty when it cannot be read.
inline swf::Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return swf::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file of a folder of movies, by file name.
inline std::vector<std::pair<std::string, swf::Bytes>> moviesIn(const std::filesystem::path& folder)
{
    std::vector<std::pair<std::string, swf::Bytes>> movies;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            movies.emplace_back(entry.path().filename().string(), readFile(entry.path()));
    return movies;
}

inline constexpr swf::Color kWhite{255, 255, 255};
inline constexpr swf::Color kRed{255, 0, 0};
inline constexpr swf::Color kGreen{0, 255, 0};
inline constexpr swf::Color kBlue{0, 0, 255};
inline constexpr swf::Color kBlack{0, 0, 0};

// Pixels to twips.
constexpr std::int32_t px(double pixels) { return static_cast<std::int32_t>(pixels * 20); }

}
