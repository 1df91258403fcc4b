#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

#include "movie/ButtonTracker.h"
#include "movie/Container.h"
#include "movie/DamageTracker.h"
#include "movie/Movie.h"
#include "movie/Playhead.h"
#include "movie/Renderer.h"
#include "movie/SoundPlayer.h"

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
    // The main timeline, for inspection; null without a movie.
    const Playhead* mainTimeline() const { return main_.get(); }

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
    // `audioFrames` counts the output frames the sound device has played of those mixAudio()
    // gave it; with it, a playing movie with stream sound follows the sound instead of nowMs.
    bool tick(std::int64_t nowMs, std::optional<std::int64_t> audioFrames = std::nullopt);
    // One frame step of every timeline, as a tick does; returns whether anything changed.
    bool step();
    bool needsRedraw() const { return dirty_; }

    // Draws the whole window: background, then the stage scaled to fit and centred.
    // `pixels` is 32-bit premultiplied BGRA, `strideBytes` apart per row.
    void render(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes);
    // As render(), for a buffer that still holds the last picture drawn into it: redraws only
    // the part that changed since, and returns it (empty when nothing changed).
    PixelRect renderUpdate(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes);

    // The mouse over the window, in the pixels render() draws; each returns whether a redraw is needed.
    // Buttons react as the pointer enters, presses, releases and leaves them.
    bool mouseMove(int x, int y);
    bool mouseDown();
    bool mouseUp();
    bool mouseLeave();
    // Whether the pointer is over a button that takes clicks.
    bool cursorIsHand() const { return main_ && buttons_.overActiveButton(); }
    // The window size mouse positions refer to until the next render().
    void setViewSize(int width, int height);

    // Draws characters the movie's fonts lack; null for none. Not owned: it must outlive the player.
    void setSystemFont(SystemFont* font);

    // Stage size in pixels (0 × 0 without a movie) and frames per second.
    int stageWidth() const;
    int stageHeight() const;
    double frameRate() const;
    // True once since a stop-all-sounds action ran (the player has already stopped them).
    bool takeStopSoundsRequest();

    // Fills `frames` interleaved stereo frames at kOutputRate with the movie's sounds.
    void mixAudio(std::int16_t* out, std::size_t frames) { sound_.mix(out, frames); }
    void setMp3Decoders(Mp3DecoderFactory factory) { sound_.setMp3Decoders(std::move(factory)); }
    const SoundPlayer& sound() const { return sound_; }

private:
    double effectiveFrameRate() const;
    std::uint32_t backgroundPixel() const;
    // Draws the stage, placed on the canvas by `stage`, into one rectangle of the canvas.
    void draw(const Canvas& canvas, const PixelRect& area, const Matrix& stage);

    struct BufferIdentity {
        std::uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
        std::ptrdiff_t strideBytes = 0;
        std::uint32_t background = 0;

        bool operator==(const BufferIdentity&) const = default;
    };
    void tickByStream(std::int64_t audioFrames);
    void playFrameSounds();
    void followStream(int previousFrame);
    void restartStream();
    Matrix toDevice() const;
    template <typename Event>
    bool mouseEvent(Event&& event);

    std::unique_ptr<Movie> movie_;
    std::unique_ptr<RunContext> context_;
    std::shared_ptr<Playhead> main_;
    Renderer renderer_;
    DamageTracker damage_;
    BufferIdentity lastBuffer_;
    ButtonTracker buttons_;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    std::int32_t backgroundOverride_ = -1;
    std::optional<std::int64_t> clockStart_;
    std::int64_t framesSinceStart_ = 0;
    bool dirty_ = true;
    SoundPlayer sound_;
    // Frames shown since the stream (re)started; the stream's clock says how many are due.
    std::int64_t streamFramesShown_ = 0;
    bool stopSoundsSeen_ = false;
};

}
