#include "movie/Playhead.h"

#include <algorithm>

namespace movie {

InstanceToken& InstanceToken::operator=(InstanceToken&& other) noexcept
{
    if (this != &other) {
        if (counter_)
            --*counter_;
        counter_ = std::exchange(other.counter_, nullptr);
    }
    return *this;
}

InstanceToken::~InstanceToken()
{
    if (counter_)
        --*counter_;
}

Instance* Playhead::instanceAt(int depth)
{
    const auto found = displayList_.find(depth);
    return found == displayList_.end() ? nullptr : &found->second;
}

void Playhead::gotoFrame(RunContext& context, int frame, bool runActions)
{
    frame = std::clamp(frame, 0, std::max(0, timeline_.frameCount - 1));
    if (frame == current_)
        return;
    if (frame < current_) {
        rebuildTo(context, frame);
    } else {
        for (int f = current_ + 1; f <= frame; ++f)
            applyFrame(context, f, runActions && f == frame);
        current_ = frame;
    }
    if (runActions)
        this->runActions(context, frame, 0);
}

bool Playhead::step(RunContext& context)
{
    bool changed = false;
    for (auto& [depth, instance] : displayList_)
        if (instance.sprite)
            changed |= instance.sprite->step(context);
    if (!playing_ || timeline_.frameCount <= 1)
        return changed;
    const int next = current_ + 1 >= timeline_.frameCount ? 0 : current_ + 1;
    gotoFrame(context, next, true);
    return true;
}

void Playhead::applyFrame(RunContext& context, int frame, bool runActions)
{
    const Frame* commands = timeline_.frame(frame);
    if (!commands)
        return;
    for (const auto& command : commands->commands) {
        if (context.workLeft == 0)
            return;
        --context.workLeft;
        if (command.remove)
            displayList_.erase(command.depth);
        else
            place(context, command, frame, runActions);
    }
}

void Playhead::place(RunContext& context, const DisplayCommand& command, int frame, bool runActions)
{
    auto existing = displayList_.find(command.depth);
    const bool replaces = command.move && existing != displayList_.end();
    if (!replaces) {
        if (!command.characterId || existing != displayList_.end())
            return;
        if (context.liveInstances >= kMaxInstances)
            return;
        existing = displayList_.try_emplace(command.depth).first;
        existing->second.token = InstanceToken(context.liveInstances);
    }
    Instance& instance = existing->second;
    if (command.characterId && (!replaces || *command.characterId != instance.characterId)) {
        instance.characterId = *command.characterId;
        instance.placedFrame = frame;
        createSprite(context, instance, runActions);
    }
    if (command.matrix)
        instance.matrix = *command.matrix;
    if (command.colorTransform)
        instance.colorTransform = *command.colorTransform;
    if (command.ratio)
        instance.ratio = *command.ratio;
    if (command.name)
        instance.name = *command.name;
    if (command.clipDepth)
        instance.clipDepth = *command.clipDepth;
}

void Playhead::createSprite(RunContext& context, Instance& instance, bool runActions)
{
    instance.sprite.reset();
    const Character* character = context.movie.character(instance.characterId);
    const Timeline* timeline = nullptr;
    if (const auto* sprite = std::get_if<SpriteDefinition>(character))
        timeline = &sprite->timeline;
    else if (const auto* button = std::get_if<ButtonDefinition>(character))
        timeline = &button->state(ButtonState::Up);
    if (!timeline || nesting_ + 1 >= kMaxNesting)
        return;
    instance.sprite = std::make_unique<Playhead>(*timeline, nesting_ + 1);
    instance.sprite->gotoFrame(context, 0, runActions);
}

void Playhead::rebuildTo(RunContext& context, int frame)
{
    std::map<int, Instance> previous;
    previous.swap(displayList_);
    current_ = -1;
    for (int f = 0; f <= frame; ++f)
        applyFrame(context, f, false);
    current_ = frame;
    // Objects that stayed in place since they were put there keep their own timelines.
    for (auto& [depth, instance] : displayList_) {
        const auto old = previous.find(depth);
        if (old != previous.end() && old->second.characterId == instance.characterId &&
            old->second.placedFrame == instance.placedFrame)
            instance.sprite = std::move(old->second.sprite);
    }
}

void Playhead::runActions(RunContext& context, int frame, int chain)
{
    const Frame* commands = timeline_.frame(frame);
    if (!commands || commands->actions.empty())
        return;
    execute(context, commands->actions);
    if (current_ != frame && chain < kMaxActionChain)
        runActions(context, current_, chain + 1);
}

void Playhead::runActionList(RunContext& context, std::span<const Action> actions)
{
    const int before = current_;
    execute(context, actions);
    if (current_ != before)
        runActions(context, current_, 1);
}

void Playhead::execute(RunContext& context, std::span<const Action> actions)
{
    const int last = std::max(0, timeline_.frameCount - 1);
    for (const auto& action : actions) {
        switch (action.kind) {
        case ActionKind::Play: playing_ = true; break;
        case ActionKind::Stop: playing_ = false; break;
        case ActionKind::NextFrame:
            gotoFrame(context, std::min(current_ + 1, last), false);
            playing_ = false;
            break;
        case ActionKind::PreviousFrame:
            gotoFrame(context, std::max(current_ - 1, 0), false);
            playing_ = false;
            break;
        case ActionKind::GotoFrame: gotoFrame(context, action.frame, false); break;
        case ActionKind::GotoLabel:
            if (const auto target = timeline_.findLabel(action.label))
                gotoFrame(context, *target, false);
            break;
        case ActionKind::StopSounds: context.stopSoundsRequested = true; break;
        }
    }
}

}
