#include "movie/Player.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

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
    main_ = std::make_unique<Playhead>(movie_->timeline(), 0);
    context_->workLeft = kWorkPerOperation;
    main_->gotoFrame(*context_, 0, true);
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
    main_.reset();
    context_.reset();
    movie_.reset();
    clockStart_.reset();
    framesSinceStart_ = 0;
    dirty_ = true;
}

void Player::play()
{
    if (main_)
        main_->setPlaying(true);
}

void Player::pause()
{
    if (main_)
        main_->setPlaying(false);
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
    dirty_ = true;
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

bool Player::tick(std::int64_t nowMs)
{
    if (!movie_)
        return dirty_;
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

bool Player::step()
{
    if (!main_)
        return false;
    context_->workLeft = kWorkPerOperation;
    const bool changed = main_->step(*context_);
    dirty_ = dirty_ || changed;
    return changed;
}

void Player::render(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideBytes)
{
    if (!pixels || width <= 0 || height <= 0)
        return;
    const Canvas canvas{pixels, width, height, strideBytes};
    std::uint32_t background = kNoMovieBackground;
    if (backgroundOverride_ >= 0)
        background = 0xFF000000u | static_cast<std::uint32_t>(backgroundOverride_);
    else if (movie_ && movie_->background())
        background = premultiply(*movie_->background());
    fillCanvas(canvas, background);
    dirty_ = false;
    if (!movie_)
        return;
    movie_->trimShapeCache();
    renderer_.draw(canvas, *movie_, *main_, showAll(movie_->frameSize(), width, height), ColorTransform{});
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
    if (!context_)
        return false;
    return std::exchange(context_->stopSoundsRequested, false);
}

}
