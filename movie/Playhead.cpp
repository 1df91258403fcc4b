#include "movie/Playhead.h"

#include <algorithm>

#include "movie/Script.h"

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
    // Queued first so that a timeline's scripts run before those of the clips it places.
    if (runActions)
        queueScripts(context, frame);
    if (frame < current_) {
        rebuildTo(context, frame);
    } else {
        for (int f = current_ + 1; f <= frame; ++f)
            applyFrame(context, f, runActions && f == frame);
        current_ = frame;
    }
    if (runActions)
        queueSounds(context, frame);
}

void Playhead::queueSounds(RunContext& context, int frame)
{
    const Frame* commands = timeline_.frame(frame);
    if (!commands)
        return;
    for (const auto& sound : commands->sounds) {
        if (context.startedSounds.size() >= kMaxQueuedSounds)
            return;
        context.startedSounds.push_back(sound);
    }
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
        instance.visible = true;
        instance.scripted = false;
        createSprite(context, instance, runActions);
    }
    if (command.matrix && !instance.scripted)
        instance.matrix = *command.matrix;
    if (command.colorTransform && !instance.scripted)
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
    instance.sprite = std::make_shared<Playhead>(*timeline, nesting_ + 1, weak_from_this());
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
        if (old == previous.end() || old->second.characterId != instance.characterId ||
            old->second.placedFrame != instance.placedFrame)
            continue;
        instance.sprite = std::move(old->second.sprite);
        instance.visible = old->second.visible;
        if (old->second.scripted) {
            instance.scripted = true;
            instance.matrix = old->second.matrix;
            instance.colorTransform = old->second.colorTransform;
        }
    }
}

void Playhead::queueScripts(RunContext& context, int frame)
{
    const Frame* commands = timeline_.frame(frame);
    if (!commands || (commands->scripts.empty() && commands->initScripts.empty()))
        return;
    const int chain = context.runningScripts ? context.chain + 1 : 0;
    if (chain > kMaxActionChain || context.scriptQueue.size() >= kMaxQueuedScripts)
        return;
    context.scriptQueue.push_back({weak_from_this(), frame, chain});
}

void Playhead::runFrameScripts(RunContext& context, int frame)
{
    const Frame* commands = timeline_.frame(frame);
    if (!commands || current_ != frame)
        return;
    for (const auto& bytecode : commands->initScripts)
        if (context.initScriptsRun.insert(bytecode.data()).second)
            runScript(context, *this, bytecode);
    for (const auto& bytecode : commands->scripts) {
        if (current_ != frame)
            break;
        runScript(context, *this, bytecode);
    }
}

Instance* Playhead::instanceOf(const Playhead& child)
{
    for (auto& [depth, instance] : displayList_)
        if (instance.sprite.get() == &child)
            return &instance;
    return nullptr;
}

namespace {

// Unnamed clips answer to a name made from their depth.
std::string nameOf(int depth, const Instance& instance)
{
    return instance.name.empty() ? "instance" + std::to_string(depth) : instance.name;
}

}

std::shared_ptr<Playhead> Playhead::child(const std::string& name, bool caseSensitive) const
{
    const std::string wanted = caseSensitive ? name : lowerCase(name);
    for (auto& [depth, instance] : displayList_) {
        if (!instance.sprite)
            continue;
        const std::string own = nameOf(depth, instance);
        if ((caseSensitive ? own : lowerCase(own)) == wanted)
            return instance.sprite;
    }
    return nullptr;
}

std::string Playhead::name() const
{
    const auto parent = parent_.lock();
    if (!parent)
        return {};
    for (const auto& [depth, instance] : parent->displayList_)
        if (instance.sprite.get() == this)
            return nameOf(depth, instance);
    return {};
}

}
