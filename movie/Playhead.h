#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "movie/Geometry.h"
#include "movie/Movie.h"
#include "movie/Variables.h"

namespace movie {

class Playhead;

inline constexpr std::size_t kWorkPerOperation = 1u << 21;
// Script actions one operation may execute, all timelines together.
inline constexpr std::size_t kActionsPerOperation = 100000;

// Frame scripts wait here until the display lists of the step are built.
struct QueuedScripts {
    std::weak_ptr<Playhead> timeline;
    int frame = 0;
    int chain = 0;
};

// Shared by every timeline of one player while frames change.
struct RunContext {
    const Movie& movie;
    // Bounds the instance tree however sprites place each other.
    int liveInstances = 0;
    bool stopSoundsRequested = false;
    // Event sounds of the frames reached since the player last took them.
    std::vector<SoundStart> startedSounds;
    // Display commands one operation may still apply; a hostile file cannot stall a tick.
    std::size_t workLeft = 0;
    std::size_t actionsLeft = kActionsPerOperation;
    std::deque<QueuedScripts> scriptQueue;
    bool runningScripts = false;
    // How many gotos led to the scripts running now.
    int chain = 0;
    std::size_t variableBytes = 0;
    std::unordered_set<const std::uint8_t*> initScriptsRun;
};

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
    bool visible = true;
    // Once a script moved or recoloured it, the timeline no longer does.
    bool scripted = false;
    // Shared so that a script keeps its own clip alive while a goto removes it.
    std::shared_ptr<Playhead> sprite;
    InstanceToken token;
};

inline constexpr int kMaxNesting = 32;
inline constexpr int kMaxInstances = 20000;
inline constexpr int kMaxActionChain = 8;
inline constexpr std::size_t kMaxQueuedScripts = 1u << 16;
inline constexpr std::size_t kMaxQueuedSounds = 256;

// The state of one timeline (the movie's or a sprite instance's): current frame,
// playing flag and display list by depth.
class Playhead : public std::enable_shared_from_this<Playhead> {
public:
    Playhead(const Timeline& timeline, int nesting, std::weak_ptr<Playhead> parent = {})
        : timeline_(timeline), nesting_(nesting), parent_(std::move(parent))
    {
    }

    int currentFrame() const { return current_ < 0 ? 0 : current_; }
    int frameCount() const { return timeline_.frameCount; }
    bool playing() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }
    const std::map<int, Instance>& displayList() const { return displayList_; }
    const Timeline& timeline() const { return timeline_; }
    std::shared_ptr<Playhead> parent() const { return parent_.lock(); }
    Variables& variables() { return variables_; }
    const Variables& variables() const { return variables_; }
    // The entry of `child` in this display list, or null once it was removed.
    Instance* instanceOf(const Playhead& child);
    // A sprite instance by name; unnamed ones answer to "instance<depth>".
    std::shared_ptr<Playhead> child(const std::string& name, bool caseSensitive) const;
    // The instance name under the parent; empty for the main timeline.
    std::string name() const;
    Instance* instanceAt(int depth);
    int nesting() const { return nesting_; }

    // Shows `frame` (clamped), rebuilding the display list from the start when going back.
    // With runActions, the frame's actions run once it is reached.
    void gotoFrame(RunContext& context, int frame, bool runActions);
    // One tick: sprites inside step first, then this timeline advances if playing,
    // looping at its end. Returns whether any frame changed.
    bool step(RunContext& context);
    // Runs the scripts of `frame` if this timeline still shows it.
    void runFrameScripts(RunContext& context, int frame);

private:
    void applyFrame(RunContext& context, int frame, bool runActions);
    void place(RunContext& context, const DisplayCommand& command, int frame, bool runActions);
    void createSprite(RunContext& context, Instance& instance, bool runActions);
    void rebuildTo(RunContext& context, int frame);
    void queueScripts(RunContext& context, int frame);
    void queueSounds(RunContext& context, int frame);

    const Timeline& timeline_;
    int nesting_;
    std::weak_ptr<Playhead> parent_;
    Variables variables_;
    int current_ = -1;
    bool playing_ = true;
    std::map<int, Instance> displayList_;
};

}
