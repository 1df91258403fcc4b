#include "movie/ButtonTracker.h"

#include "movie/Script.h"
#include "movie/HitTest.h"

namespace movie {

namespace {

// Display commands one hit test may look at, however sprites in hit areas nest.
constexpr int kHitTestWork = 100000;

class ButtonFinder {
public:
    ButtonFinder(const Movie& movie, Point point) : movie_(movie), point_(point) {}

    bool search(const Playhead& timeline, const Matrix& toDevice, ButtonPath& path)
    {
        if (path.size() >= static_cast<std::size_t>(kMaxNesting))
            return false;
        const auto& list = timeline.displayList();
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            const Instance& instance = it->second;
            if (!instance.sprite || instance.clipDepth != 0)
                continue;
            const Matrix matrix = toDevice * instance.matrix;
            path.push_back({it->first, instance.characterId});
            const auto* button = std::get_if<ButtonDefinition>(movie_.character(instance.characterId));
            if (button ? inHitArea(button->state(ButtonState::HitTest), matrix, 0)
                       : search(*instance.sprite, matrix, path))
                return true;
            path.pop_back();
        }
        return false;
    }

private:
    // Hit areas are static: the first frame of what the hit state places.
    bool inHitArea(const Timeline& timeline, const Matrix& toDevice, int nesting)
    {
        const Frame* frame = timeline.frame(0);
        if (!frame || nesting >= kMaxNesting)
            return false;
        for (const auto& command : frame->commands) {
            if (work_-- <= 0)
                return false;
            if (command.remove || !command.characterId)
                continue;
            const Matrix matrix = toDevice * command.matrix.value_or(Matrix{});
            const Character* character = movie_.character(*command.characterId);
            if (const Shape* shape = movie_.shape(*command.characterId)) {
                if (shapeContains(*shape, matrix, point_))
                    return true;
            } else if (const auto* sprite = std::get_if<SpriteDefinition>(character)) {
                if (inHitArea(sprite->timeline, matrix, nesting + 1))
                    return true;
            }
        }
        return false;
    }

    const Movie& movie_;
    Point point_;
    int work_ = kHitTestWork;
};

ButtonState shownState(bool over, bool down)
{
    return down ? ButtonState::Down : over ? ButtonState::Over : ButtonState::Up;
}

}

ButtonPath findButton(const Movie& movie, const Playhead& root, const Matrix& toDevice, Point point)
{
    ButtonPath path;
    ButtonFinder(movie, point).search(root, toDevice, path);
    return path;
}

bool ButtonTracker::move(RunContext& context, Playhead& root, const Matrix& toDevice, Point point)
{
    pointer_ = point;
    return update(context, root, toDevice);
}

bool ButtonTracker::leave(RunContext& context, Playhead& root, const Matrix& toDevice)
{
    pointer_.reset();
    return update(context, root, toDevice);
}

bool ButtonTracker::press(RunContext& context, Playhead& root, const Matrix& toDevice)
{
    bool changed = update(context, root, toDevice);
    mouseDown_ = true;
    if (phase_ == Phase::OverUp)
        changed |= transition(context, root, Phase::OverDown, kOverUpToOverDown);
    return changed;
}

bool ButtonTracker::release(RunContext& context, Playhead& root, const Matrix& toDevice)
{
    mouseDown_ = false;
    bool changed = false;
    if (phase_ == Phase::OverDown) {
        changed = transition(context, root, Phase::OverUp, kOverDownToOverUp);
    } else if (phase_ == Phase::OutDown) {
        changed = transition(context, root, Phase::Idle, kOutDownToIdle);
        active_.clear();
    }
    // Another button may be under the pointer now, or the actions moved this one away.
    return update(context, root, toDevice) || changed;
}

bool ButtonTracker::refresh(RunContext& context, Playhead& root, const Matrix& toDevice)
{
    if (!pointer_ && active_.empty())
        return false;
    return update(context, root, toDevice);
}

void ButtonTracker::reset()
{
    mouseDown_ = false;
    active_.clear();
    phase_ = Phase::Idle;
}

bool ButtonTracker::update(RunContext& context, Playhead& root, const Matrix& toDevice)
{
    if (!active_.empty() && !resolve(context, root)) {
        active_.clear();
        phase_ = Phase::Idle;
    }
    const ButtonPath hit = pointer_ ? findButton(context.movie, root, toDevice, *pointer_) : ButtonPath{};
    const bool inside = !active_.empty() && hit == active_;
    if (phase_ == Phase::OverDown && !inside)
        return transition(context, root, Phase::OutDown, kOverDownToOutDown);
    if (phase_ == Phase::OutDown && inside)
        return transition(context, root, Phase::OverDown, kOutDownToOverDown);
    // A press that began outside every button leaves the buttons alone until it ends.
    if (phase_ == Phase::OverDown || phase_ == Phase::OutDown || mouseDown_ || inside)
        return show(context, root);
    bool changed = false;
    if (!active_.empty()) {
        changed = transition(context, root, Phase::Idle, kOverUpToIdle);
        active_.clear();
    }
    if (!hit.empty()) {
        active_ = hit;
        changed |= transition(context, root, Phase::OverUp, kIdleToOverUp);
    }
    return changed;
}

bool ButtonTracker::transition(RunContext& context, Playhead& root, Phase next, ButtonCondition condition)
{
    phase_ = next;
    const bool shown = show(context, root);
    return runActions(context, root, condition) || shown;
}

// Puts the state of the current phase on the button, unless it already shows it.
bool ButtonTracker::show(RunContext& context, Playhead& root)
{
    const auto target = resolve(context, root);
    if (!target)
        return false;
    // Dragged out while pressed, a button shows its over state.
    const ButtonState state = shownState(phase_ != Phase::Idle, phase_ == Phase::OverDown);
    const Timeline& timeline = target->button->state(state);
    std::shared_ptr<Playhead>& content = target->instance->sprite;
    if (&content->timeline() == &timeline)
        return false;
    content = std::make_shared<Playhead>(timeline, target->parent->nesting() + 1, target->parent->weak_from_this());
    content->gotoFrame(context, 0, true);
    return true;
}

bool ButtonTracker::runActions(RunContext& context, Playhead& root, ButtonCondition condition)
{
    const auto target = resolve(context, root);
    if (!target)
        return false;
    bool ran = false;
    for (const auto& action : target->button->actions) {
        if (!(action.conditions & condition))
            continue;
        // Each list may change the frame; the holder stays, but look it up afresh anyway.
        const auto holder = resolve(context, root);
        if (!holder)
            break;
        runScript(context, *holder->parent, action.bytecode);
        ran = true;
    }
    return ran;
}

std::optional<ButtonTracker::Target> ButtonTracker::resolve(RunContext& context, Playhead& root) const
{
    Playhead* parent = &root;
    for (std::size_t i = 0; i < active_.size(); ++i) {
        Instance* instance = parent->instanceAt(active_[i].depth);
        if (!instance || instance->characterId != active_[i].characterId || !instance->sprite)
            return std::nullopt;
        if (i + 1 == active_.size()) {
            const auto* button = std::get_if<ButtonDefinition>(context.movie.character(instance->characterId));
            if (!button)
                return std::nullopt;
            return Target{parent, instance, button};
        }
        parent = instance->sprite.get();
    }
    return std::nullopt;
}

}
