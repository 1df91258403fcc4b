#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "movie/Geometry.h"
#include "movie/Timeline.h"

namespace movie {

enum class ButtonState { Up, Over, Down, HitTest };

// Mouse transitions a button's action list may run on, as the file's condition bits.
enum ButtonCondition : std::uint16_t {
    kIdleToOverUp = 1u << 0,
    kOverUpToIdle = 1u << 1,
    kOverUpToOverDown = 1u << 2,
    kOverDownToOverUp = 1u << 3,
    kOverDownToOutDown = 1u << 4,
    kOutDownToOverDown = 1u << 5,
    kOutDownToIdle = 1u << 6,
    kIdleToOverDown = 1u << 7,
    kOverDownToIdle = 1u << 8,
};

struct ButtonAction {
    std::uint16_t conditions = 0;
    std::span<const std::uint8_t> bytecode;
};

// Each state is a one-frame timeline placing that state's characters, so a button
// instance shows a state the way a sprite instance shows its frame.
struct ButtonDefinition {
    std::array<Timeline, 4> states;
    std::vector<ButtonAction> actions;
    bool trackAsMenu = false;

    const Timeline& state(ButtonState s) const { return states[static_cast<std::size_t>(s)]; }
};

// Reads a DefineButton (version 1) or DefineButton2 body after the button id.
// Each display command taken counts against `commandsLeft`; damaged records end the list.
ButtonDefinition parseButton(std::span<const std::uint8_t> body, int version, std::size_t& commandsLeft);

// DefineButtonCxform: one colour transform for every character of the button.
void applyButtonColorTransform(ButtonDefinition& button, const ColorTransform& transform);

}
