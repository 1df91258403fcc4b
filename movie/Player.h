#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

#include "movie/Container.h"
#include "movie/Movie.h"
#include "movie/Playhead.h"
#include "movie/Renderer.h"

namespace movie {

// Plays one movie. The host supplies the time and the pixels: it calls tick()
// from a timer with a monotonic clock in milliseconds, and render() when tick()
// (or anything else) says the picture changed.
class Player {
public:
    Player();
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Replaces the current movie, shows frame 0 and starts playing.
    // On failure the player is left empty (totalFrames() == 0).
    LoadResult load(std::span<const std::uint8_t> file);
    LoadResult loadFile(const std::filesystem::path& path);
    void unload();
    bool hasMovie() const { return movie_ != nullptr; }

    void play();
    // Pauses the main timeline at the current frame (the control's Stop and StopPlay).
    void pause();
    bool isPlaying() const;
    // Shows frame n (0-based, clamped); playing or paused stays as it was.
    void gotoFrame(int frame);
    int currentFrame() const;
    int totalFrames() const;

    // 0xRRGGBB, or -1 for the movie's own background colour.
    void setBackgroundColor(std::int32_t color);
    std::int32_t backgroundColor() const { return backgroundOverride_; }

    // Advances as many frames as the clock says are due; returns whether a redraw is needed.
    bool tick(std::int64_t nowMs);
    // One frame step of every timeline, as a tick does; returns whether anything changed.
    bool step();
    bool needsRedraw() const { return dirty_; }

    // Draws the whole window: background, then the stage scaled to fit and centred.
    // `pixels` is 32-bit premultiplied BGRA, `strideBytes` apart per row.
    void render(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes);

    // Draws characters the movie's fonts lack; null for none. Not owned: it must outlive the player.
    void setSystemFont(SystemFont* font);

    // Stage size in pixels (0 × 0 without a movie) and frames per second.
    int stageWidth() const;
    int stageHeight() const;
    double frameRate() const;
    // True once since a stop-all-sounds action ran; for the host's sound output.
    bool takeStopSoundsRequest();

private:
    double effectiveFrameRate() const;

    std::unique_ptr<Movie> movie_;
    std::unique_ptr<RunContext> context_;
    std::unique_ptr<Playhead> main_;
    Renderer renderer_;
    std::int32_t backgroundOverride_ = -1;
    std::optional<std::int64_t> clockStart_;
    std::int64_t framesSinceStart_ = 0;
    bool dirty_ = true;
};

}
