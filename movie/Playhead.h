#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "movie/Geometry.h"
#include "movie/Movie.h"

namespace movie {

// Shared by every timeline of one player while frames change.
struct RunContext {
    const Movie& movie;
    // Bounds the instance tree however sprites place each other.
    int liveInstances = 0;
    bool stopSoundsRequested = false;
    // Display commands one operation may still apply; a hostile file cannot stall a tick.
    std::size_t workLeft = 0;
};

inline constexpr std::size_t kWorkPerOperation = 1u << 21;

class Playhead;

// Counts an instance against RunContext::liveInstances for as long as it exists.
class InstanceToken {
public:
    InstanceToken() = default;
    explicit InstanceToken(int& counter) : counter_(&counter) { ++*counter_; }
    InstanceToken(InstanceToken&& other) noexcept : counter_(std::exchange(other.counter_, nullptr)) {}
    InstanceToken& operator=(InstanceToken&& other) noexcept;
    ~InstanceToken();

private:
    int* counter_ = nullptr;
};

struct Instance {
    std::uint16_t characterId = 0;
    int placedFrame = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    std::uint16_t ratio = 0;
    std::string name;
    std::uint16_t clipDepth = 0;
    std::unique_ptr<Playhead> sprite;
    InstanceToken token;
};

inline constexpr int kMaxNesting = 32;
inline constexpr int kMaxInstances = 20000;
inline constexpr int kMaxActionChain = 8;

// The state of one timeline (the movie's or a sprite instance's): current frame,
// playing flag and display list by depth.
class Playhead {
public:
    Playhead(const Timeline& timeline, int nesting) : timeline_(timeline), nesting_(nesting) {}

    int currentFrame() const { return current_ < 0 ? 0 : current_; }
    int frameCount() const { return timeline_.frameCount; }
    bool playing() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }
    const std::map<int, Instance>& displayList() const { return displayList_; }
    Instance* instanceAt(int depth);
    const Timeline& timeline() const { return timeline_; }
    int nesting() const { return nesting_; }

    // Shows `frame` (clamped), rebuilding the display list from the start when going back.
    // With runActions, the frame's actions run once it is reached.
    void gotoFrame(RunContext& context, int frame, bool runActions);
    // One tick: sprites inside step first, then this timeline advances if playing,
    // looping at its end. Returns whether any frame changed.
    bool step(RunContext& context);
    // Runs actions from outside the frames (a button's), then those of the frame they lead to.
    void runActionList(RunContext& context, std::span<const Action> actions);

private:
    void applyFrame(RunContext& context, int frame, bool runActions);
    void place(RunContext& context, const DisplayCommand& command, int frame, bool runActions);
    void createSprite(RunContext& context, Instance& instance, bool runActions);
    void rebuildTo(RunContext& context, int frame);
    void runActions(RunContext& context, int frame, int chain);
    void execute(RunContext& context, std::span<const Action> actions);

    const Timeline& timeline_;
    int nesting_;
    int current_ = -1;
    bool playing_ = true;
    std::map<int, Instance> displayList_;
};

}
