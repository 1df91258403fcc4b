#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace movie {

enum class ActionKind { Play, Stop, NextFrame, PreviousFrame, GotoFrame, GotoLabel, StopSounds };

struct Action {
    ActionKind kind = ActionKind::Stop;
    int frame = 0;
    std::string label;
};

// Keeps the timeline actions of a DoAction body; everything else is skipped.
std::vector<Action> parseActions(std::span<const std::uint8_t> body);

}
