#include "movie/ClipProperties.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "movie/Playhead.h"

namespace movie {

namespace {

// Far beyond any stage, small enough to keep the rasteriser's arithmetic sane.
constexpr double kMaxTwips = 1 << 28;
constexpr double kMaxScale = 1 << 16;

constexpr std::string_view kNames[] = {
    "_x",     "_y",        "_xscale",      "_yscale", "_currentframe", "_totalframes", "_alpha",
    "_visible", "_width",  "_height",      "_rotation", "_target",     "_framesloaded", "_name",
    "_droptarget", "_url", "_highquality", "_focusrect", "_soundbuftime", "_quality", "_xmouse",
    "_ymouse",
};

// A matrix as scale and rotation of each axis, so either can change and the skew stays.
struct Decomposed {
    double xScale = 1;
    double yScale = 1;
    double xRotation = 0;
    double yRotation = 0;

    explicit Decomposed(const Matrix& m)
        : xScale(std::hypot(m.a, m.b)), yScale(std::hypot(m.c, m.d)), xRotation(std::atan2(m.b, m.a)),
          yRotation(std::atan2(-m.c, m.d))
    {
    }

    void applyTo(Matrix& m) const
    {
        m.a = xScale * std::cos(xRotation);
        m.b = xScale * std::sin(xRotation);
        m.c = -yScale * std::sin(yRotation);
        m.d = yScale * std::cos(yRotation);
    }
};

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

Instance* ownInstance(Playhead& clip)
{
    const auto parent = clip.parent();
    return parent ? parent->instanceOf(clip) : nullptr;
}

Value geometry(const Instance* instance, ClipProperty property)
{
    if (!instance)
        return property == ClipProperty::XScale || property == ClipProperty::YScale ? 100.0 : 0.0;
    const Matrix& m = instance->matrix;
    switch (property) {
    case ClipProperty::X: return m.tx / 20;
    case ClipProperty::Y: return m.ty / 20;
    case ClipProperty::XScale: return Decomposed(m).xScale * 100;
    case ClipProperty::YScale: return Decomposed(m).yScale * 100;
    case ClipProperty::Rotation: return degrees(Decomposed(m).xRotation);
    default: return Undefined{};
    }
}

void setGeometry(Instance& instance, ClipProperty property, double value)
{
    Matrix& m = instance.matrix;
    Decomposed parts(m);
    switch (property) {
    case ClipProperty::X: m.tx = std::clamp(value * 20, -kMaxTwips, kMaxTwips); return;
    case ClipProperty::Y: m.ty = std::clamp(value * 20, -kMaxTwips, kMaxTwips); return;
    case ClipProperty::XScale: parts.xScale = std::clamp(value / 100, -kMaxScale, kMaxScale); break;
    case ClipProperty::YScale: parts.yScale = std::clamp(value / 100, -kMaxScale, kMaxScale); break;
    case ClipProperty::Rotation: {
        const double turn = std::fmod(value, 360) * std::numbers::pi / 180 - parts.xRotation;
        parts.xRotation += turn;
        parts.yRotation += turn;
        break;
    }
    default: return;
    }
    parts.applyTo(m);
}

}

std::optional<ClipProperty> propertyByIndex(double index)
{
    if (!(index >= 0 && index <= static_cast<double>(ClipProperty::Last)))
        return std::nullopt;
    return static_cast<ClipProperty>(static_cast<int>(index));
}

std::optional<ClipProperty> propertyByName(std::string_view name)
{
    if (name.empty() || name.front() != '_')
        return std::nullopt;
    const std::string lower = lowerCase(std::string(name));
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (kNames[i] == lower)
            return static_cast<ClipProperty>(i);
    return std::nullopt;
}

Value getProperty(Playhead& clip, ClipProperty property, int version)
{
    const Instance* instance = ownInstance(clip);
    switch (property) {
    case ClipProperty::X:
    case ClipProperty::Y:
    case ClipProperty::XScale:
    case ClipProperty::YScale:
    case ClipProperty::Rotation: return geometry(instance, property);
    case ClipProperty::CurrentFrame: return static_cast<double>(clip.currentFrame() + 1);
    case ClipProperty::TotalFrames:
    case ClipProperty::FramesLoaded: return static_cast<double>(clip.frameCount());
    case ClipProperty::Alpha: return instance ? instance->colorTransform.mulA * 100.0 / 256 : 100.0;
    case ClipProperty::Visible: return booleanValue(!instance || instance->visible, version);
    case ClipProperty::Target: return slashPath(clip);
    case ClipProperty::Name: return clip.name();
    default: return Undefined{};
    }
}

void setProperty(Playhead& clip, ClipProperty property, const Value& value, int version)
{
    Instance* instance = ownInstance(clip);
    if (!instance)
        return;
    switch (property) {
    case ClipProperty::Visible: instance->visible = toBoolean(value, version); return;
    case ClipProperty::Name: instance->name = toString(value, version); return;
    default: break;
    }
    const double number = toNumber(value, version);
    if (!std::isfinite(number))
        return;
    if (property == ClipProperty::Alpha) {
        instance->colorTransform.mulA = static_cast<std::int32_t>(std::clamp(number, -1e5, 1e5) * 256 / 100);
        instance->scripted = true;
    } else if (!std::holds_alternative<Undefined>(geometry(instance, property))) {
        setGeometry(*instance, property, number);
        instance->scripted = true;
    }
}

std::string dotPath(const Playhead& clip)
{
    std::vector<std::string> parts;
    const Playhead* current = &clip;
    std::shared_ptr<Playhead> holder;
    while (auto parent = current->parent()) {
        parts.push_back(current->name());
        holder = std::move(parent);
        current = holder.get();
    }
    std::string path = "_level0";
    for (auto part = parts.rbegin(); part != parts.rend(); ++part)
        path += "." + *part;
    return path;
}

std::string slashPath(const Playhead& clip)
{
    std::string path;
    const Playhead* current = &clip;
    std::shared_ptr<Playhead> holder;
    while (auto parent = current->parent()) {
        path = "/" + current->name() + path;
        holder = std::move(parent);
        current = holder.get();
    }
    return path.empty() ? "/" : path;
}

std::shared_ptr<Playhead> sharedOf(Playhead& clip)
{
    if (auto owned = clip.weak_from_this().lock())
        return owned;
    // A timeline nobody shares (a main timeline held alone) lives longer than any script on it.
    return std::shared_ptr<Playhead>(std::shared_ptr<Playhead>(), &clip);
}

std::shared_ptr<Playhead> rootOf(Playhead& clip)
{
    std::shared_ptr<Playhead> current = sharedOf(clip);
    while (auto parent = current->parent())
        current = std::move(parent);
    return current;
}

}
