#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "movie/ScriptValue.h"

namespace movie {

class Playhead;

// The numbered properties of GetProperty and SetProperty, also reached by name ("_x").
enum class ClipProperty {
    X = 0,
    Y = 1,
    XScale = 2,
    YScale = 3,
    CurrentFrame = 4,
    TotalFrames = 5,
    Alpha = 6,
    Visible = 7,
    Width = 8,
    Height = 9,
    Rotation = 10,
    Target = 11,
    FramesLoaded = 12,
    Name = 13,
    Last = 21,
};

std::optional<ClipProperty> propertyByIndex(double index);
std::optional<ClipProperty> propertyByName(std::string_view name);

Value getProperty(Playhead& clip, ClipProperty property, int version);
// Geometry and colour set here stop following the timeline (Instance::scripted).
void setProperty(Playhead& clip, ClipProperty property, const Value& value, int version);

// "_level0.a.b" and "/a/b": how scripts print and target a clip.
std::string dotPath(const Playhead& clip);
std::string slashPath(const Playhead& clip);
std::shared_ptr<Playhead> rootOf(Playhead& clip);
// The clip as a shared pointer that keeps it alive while a script uses it.
std::shared_ptr<Playhead> sharedOf(Playhead& clip);

}
