#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "movie/Button.h"
#include "movie/Geometry.h"
#include "movie/Playhead.h"

namespace movie {

// Where a button sits in the display tree: depth and character at each level, from the root.
// Found again for every event, so a button that the timeline removed is simply not found.
struct ButtonPathStep {
    int depth = 0;
    std::uint16_t characterId = 0;

    bool operator==(const ButtonPathStep&) const = default;
};
using ButtonPath = std::vector<ButtonPathStep>;

// The topmost button whose hit area holds the device point, or an empty path.
ButtonPath findButton(const Movie& movie, const Playhead& root, const Matrix& toDevice, Point point);

// Follows the mouse over the buttons of one display tree: which button is hovered or
// pressed, the state it shows, and the actions its transitions run. Positions are device
// pixels; `toDevice` maps the stage into the window.
class ButtonTracker {
public:
    bool move(RunContext& context, Playhead& root, const Matrix& toDevice, Point point);
    bool leave(RunContext& context, Playhead& root, const Matrix& toDevice);
    bool press(RunContext& context, Playhead& root, const Matrix& toDevice);
    bool release(RunContext& context, Playhead& root, const Matrix& toDevice);
    // Follows frames that changed under a pointer that stayed still.
    bool refresh(RunContext& context, Playhead& root, const Matrix& toDevice);
    // Forgets the buttons (a new movie); the pointer position stays.
    void reset();

    bool overActiveButton() const { return phase_ == Phase::OverUp || phase_ == Phase::OverDown; }

private:
    enum class Phase { Idle, OverUp, OverDown, OutDown };
    struct Target {
        Playhead* parent = nullptr;
        Instance* instance = nullptr;
        const ButtonDefinition* button = nullptr;
    };

    bool update(RunContext& context, Playhead& root, const Matrix& toDevice);
    bool transition(RunContext& context, Playhead& root, Phase next, ButtonCondition condition);
    bool show(RunContext& context, Playhead& root);
    bool runActions(RunContext& context, Playhead& root, ButtonCondition condition);
    std::optional<Target> resolve(RunContext& context, Playhead& root) const;

    std::optional<Point> pointer_;
    bool mouseDown_ = false;
    // The hovered or pressed button; empty when there is none.
    ButtonPath active_;
    Phase phase_ = Phase::Idle;
};

}
