#include "movie/Player.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include "movie/Script.h"

namespace movie {

namespace {

// Beyond this many late frames the clock starts afresh instead of racing to catch up.
constexpr std::int64_t kMaxCatchUpFrames = 2;
constexpr double kDefaultFrameRate = 12;
constexpr double kMaxFrameRate = 120;
constexpr std::uint32_t kNoMovieBackground = 0xFFFFFFFFu;

}

Player::Player() = default;
Player::~Player() = default;

LoadResult Player::load(std::span<const std::uint8_t> file)
{
    unload();
    std::unique_ptr<Movie> movie;
    const LoadResult result = Movie::load(file, movie);
    if (result != LoadResult::Ok)
        return result;
    movie_ = std::move(movie);
    context_ = std::make_unique<RunContext>(RunContext{*movie_});
    main_ = std::make_shared<Playhead>(movie_->timeline(), 0);
    context_->workLeft = kWorkPerOperation;
    sound_.reset(movie_.get(), effectiveFrameRate());
    main_->gotoFrame(*context_, 0, true);
    runQueuedScripts(*context_);
    playFrameSounds();
    if (main_->playing())
        restartStream();
    return LoadResult::Ok;
}

LoadResult Player::loadFile(const std::filesystem::path& path)
{
    unload();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return LoadResult::ReadFailed;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return LoadResult::ReadFailed;
    if (static_cast<std::uint64_t>(size) > kMaxMovieBytes)
        return LoadResult::TooLarge;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return LoadResult::ReadFailed;
    return load(bytes);
}

void Player::unload()
{
    sound_.reset(nullptr, kDefaultFrameRate);
    buttons_.reset();
    main_.reset();
    context_.reset();
    movie_.reset();
    clockStart_.reset();
    framesSinceStart_ = 0;
    dirty_ = true;
    damage_.forget();
}

void Player::play()
{
    if (!main_)
        return;
    main_->setPlaying(true);
    sound_.setPaused(false);
    if (!sound_.streaming())
        restartStream();
}

void Player::pause()
{
    if (!main_)
        return;
    main_->setPlaying(false);
    sound_.setPaused(true);
}

bool Player::isPlaying() const
{
    return main_ && main_->playing();
}

void Player::gotoFrame(int frame)
{
    if (!main_)
        return;
    context_->workLeft = kWorkPerOperation;
    main_->gotoFrame(*context_, frame, false);
    buttons_.refresh(*context_, *main_, toDevice());
    dirty_ = true;
    if (main_->playing() && !sound_.paused())
        restartStream();
    else
        sound_.stopStream();
}

int Player::currentFrame() const
{
    return main_ ? main_->currentFrame() : 0;
}

int Player::totalFrames() const
{
    return main_ ? main_->frameCount() : 0;
}

void Player::setBackgroundColor(std::int32_t color)
{
    const std::int32_t value = color < 0 ? -1 : (color & 0xFFFFFF);
    if (value != backgroundOverride_)
        dirty_ = true;
    backgroundOverride_ = value;
}

double Player::effectiveFrameRate() const
{
    const double rate = movie_ ? movie_->frameRate() : 0;
    return rate > 0 ? std::min(rate, kMaxFrameRate) : kDefaultFrameRate;
}

bool Player::tick(std::int64_t nowMs, std::optional<std::int64_t> audioFrames)
{
    if (!movie_)
        return dirty_;
    if (audioFrames && sound_.streaming() && main_->playing()) {
        tickByStream(*audioFrames);
        // Should the sound go away, the wall clock takes over from here.
        clockStart_ = nowMs;
        framesSinceStart_ = 0;
        return dirty_;
    }
    if (!clockStart_ || nowMs < *clockStart_) {
        clockStart_ = nowMs;
        framesSinceStart_ = 0;
        return dirty_;
    }
    // Frame times are counted from one origin, so late ticks never add up to drift.
    const auto due = static_cast<std::int64_t>(static_cast<double>(nowMs - *clockStart_) * effectiveFrameRate() / 1000.0);
    if (due - framesSinceStart_ > kMaxCatchUpFrames)
        framesSinceStart_ = due - kMaxCatchUpFrames;
    while (framesSinceStart_ < due) {
        ++framesSinceStart_;
        step();
    }
    return dirty_;
}

void Player::tickByStream(std::int64_t audioFrames)
{
    const double framesPerSample = effectiveFrameRate() / kOutputRate;
    // Late frames are stepped through without drawing, a bounded number per tick.
    const auto maxSteps = static_cast<int>(std::max(kMaxCatchUpFrames, static_cast<std::int64_t>(effectiveFrameRate())));
    for (int i = 0; i < maxSteps && sound_.streaming() && main_->playing(); ++i) {
        const std::int64_t heard = audioFrames - sound_.streamOrigin();
        const auto due = heard > 0 ? static_cast<std::int64_t>(static_cast<double>(heard) * framesPerSample) : 0;
        if (streamFramesShown_ >= due)
            break;
        ++streamFramesShown_;
        step();
    }
}

bool Player::step()
{
    if (!main_)
        return false;
    context_->workLeft = kWorkPerOperation;
    context_->actionsLeft = kActionsPerOperation;
    const int previousFrame = main_->currentFrame();
    bool changed = main_->step(*context_);
    runQueuedScripts(*context_);
    if (changed)
        changed |= buttons_.refresh(*context_, *main_, toDevice());
    dirty_ = dirty_ || changed;
    playFrameSounds();
    followStream(previousFrame);
    return changed;
}

void Player::playFrameSounds()
{
    if (std::exchange(context_->stopSoundsRequested, false)) {
        sound_.stopEventSounds();
        stopSoundsSeen_ = true;
    }
    sound_.startSounds(context_->startedSounds);
    context_->startedSounds.clear();
}

void Player::followStream(int previousFrame)
{
    if (!sound_.hasStream() || sound_.paused())
        return;
    if (!main_->playing()) {
        sound_.stopStream();
        return;
    }
    const int expected = previousFrame + 1 >= main_->frameCount() ? 0 : previousFrame + 1;
    if (!sound_.streaming() || main_->currentFrame() != expected)
        restartStream();
}

void Player::restartStream()
{
    sound_.startStream(main_->currentFrame());
    streamFramesShown_ = 0;
}

void Player::render(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes)
{
    damage_.forget();
    renderUpdate(pixels, width, height, strideBytes);
}

PixelRect Player::renderUpdate(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes)
{
    if (!pixels || width <= 0 || height <= 0)
        return {};
    const BufferIdentity buffer{pixels, width, height, strideBytes, backgroundPixel()};
    if (buffer != lastBuffer_)
        damage_.forget();
    lastBuffer_ = buffer;
    setViewSize(width, height);
    dirty_ = false;
    const Canvas canvas{pixels, width, height, strideBytes};
    if (!movie_) {
        fillCanvas(canvas, buffer.background);
        damage_.forget();
        return {0, 0, width, height};
    }
    movie_->trimShapeCache();
    movie_->trimBitmapCache();
    const Matrix stage = toDevice();
    damage_.collect(*movie_, *main_, stage, width, height);
    const PixelRect area = damage_.damage();
    if (!area.empty())
        draw(canvas, area, stage);
    damage_.commit();
    return area;
}

void Player::draw(const Canvas& canvas, const PixelRect& area, const Matrix& stage)
{
    std::uint8_t* origin = reinterpret_cast<std::uint8_t*>(canvas.pixels) + area.y0 * canvas.strideBytes;
    const Canvas part{reinterpret_cast<std::uint32_t*>(origin) + area.x0, area.x1 - area.x0, area.y1 - area.y0,
                      canvas.strideBytes};
    fillCanvas(part, lastBuffer_.background);
    renderer_.draw(part, *movie_, *main_, Matrix::translate(-area.x0, -area.y0) * stage, ColorTransform{});
}

std::uint32_t Player::backgroundPixel() const
{
    if (backgroundOverride_ >= 0)
        return 0xFF000000u | static_cast<std::uint32_t>(backgroundOverride_);
    if (movie_ && movie_->background())
        return premultiply(*movie_->background());
    return kNoMovieBackground;
}

void Player::setViewSize(int width, int height)
{
    viewWidth_ = width;
    viewHeight_ = height;
}

Matrix Player::toDevice() const
{
    if (viewWidth_ <= 0 || viewHeight_ <= 0)
        return showAll(movie_->frameSize(), stageWidth(), stageHeight());
    return showAll(movie_->frameSize(), viewWidth_, viewHeight_);
}

template <typename Event>
bool Player::mouseEvent(Event&& event)
{
    if (!main_)
        return false;
    context_->workLeft = kWorkPerOperation;
    context_->actionsLeft = kActionsPerOperation;
    const bool changed = event(*context_, *main_, toDevice());
    playFrameSounds();
    dirty_ = dirty_ || changed;
    return changed;
}

bool Player::mouseMove(int x, int y)
{
    // The pointer stands for the centre of its pixel.
    const Point point{x + 0.5, y + 0.5};
    return mouseEvent([&](RunContext& context, Playhead& root, const Matrix& toDevice) {
        return buttons_.move(context, root, toDevice, point);
    });
}

bool Player::mouseDown()
{
    return mouseEvent([&](RunContext& context, Playhead& root, const Matrix& toDevice) {
        return buttons_.press(context, root, toDevice);
    });
}

bool Player::mouseUp()
{
    return mouseEvent([&](RunContext& context, Playhead& root, const Matrix& toDevice) {
        return buttons_.release(context, root, toDevice);
    });
}

bool Player::mouseLeave()
{
    return mouseEvent([&](RunContext& context, Playhead& root, const Matrix& toDevice) {
        return buttons_.leave(context, root, toDevice);
    });
}

void Player::setSystemFont(SystemFont* font)
{
    renderer_.setSystemFont(font);
    dirty_ = true;
}

int Player::stageWidth() const
{
    return movie_ ? static_cast<int>(std::clamp<std::int64_t>(movie_->frameSize().width() / 20, 0, 1 << 16)) : 0;
}

int Player::stageHeight() const
{
    return movie_ ? static_cast<int>(std::clamp<std::int64_t>(movie_->frameSize().height() / 20, 0, 1 << 16)) : 0;
}

double Player::frameRate() const
{
    return movie_ ? movie_->frameRate() : 0;
}

bool Player::takeStopSoundsRequest()
{
    return std::exchange(stopSoundsSeen_, false);
}

}
