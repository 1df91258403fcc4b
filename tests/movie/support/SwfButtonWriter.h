#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "SwfWriter.h"

// Button tags for test movies.
namespace swf {

enum ButtonTag : std::uint16_t {
    kDefineButton = 7,
    kDefineButtonCxform = 23,
    kDefineButton2 = 34,
};

enum ButtonStates : std::uint8_t {
    kUp = 1,
    kOver = 2,
    kDown = 4,
    kHitTest = 8,
};

// Transition bits of a DefineButton2 action list.
enum ButtonEvents : std::uint16_t {
    kRollOver = 1u << 0,      // idle to over-up
    kRollOut = 1u << 1,       // over-up to idle
    kPress = 1u << 2,         // over-up to over-down
    kRelease = 1u << 3,       // over-down to over-up
    kDragOut = 1u << 4,       // over-down to out-down
    kDragOver = 1u << 5,      // out-down to over-down
    kReleaseOutside = 1u << 6,  // out-down to idle
};

struct ButtonRecord {
    std::uint8_t states = kUp;
    std::uint16_t character = 0;
    std::uint16_t depth = 1;
    Matrix matrix;
    // DefineButton2 only, like the extras below.
    ColorTransform colorTransform;
    // A whole FILTERLIST, count first.
    std::optional<Bytes> filters;
    std::optional<std::uint8_t> blendMode;
};

class ButtonBuilder {
public:
    ButtonBuilder& add(const ButtonRecord& record);
    ButtonBuilder& on(std::uint16_t events, const Actions& actions);
    ButtonBuilder& trackAsMenu(bool menu);

    // DefineButton: records without colour transforms; the first action list runs on release.
    Bytes encode1(std::uint16_t id) const;
    Bytes encode2(std::uint16_t id) const;

private:
    struct EventActions {
        std::uint16_t events = 0;
        Bytes actions;
    };

    void writeRecords(BitWriter& out, int version) const;

    std::vector<ButtonRecord> records_;
    std::vector<EventActions> actions_;
    bool trackAsMenu_ = false;
};

// A filter list holding one blur and one colour-matrix filter.
Bytes sampleFilterList();
// The DefineButtonCxform body.
Bytes buttonColorTransform(std::uint16_t id, const ColorTransform& transform);

}
