#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "movie/Geometry.h"
#include "movie/SoundFormat.h"

namespace movie {

// One PlaceObject or RemoveObject, in the order the frame gives them.
struct DisplayCommand {
    bool remove = false;
    bool move = false;
    std::uint16_t depth = 0;
    std::optional<std::uint16_t> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<std::uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<std::uint16_t> clipDepth;
};

struct Frame {
    std::vector<DisplayCommand> commands;
    // Bytecode inside the movie's own bytes; init scripts run once, before the others.
    std::vector<std::span<const std::uint8_t>> initScripts;
    std::vector<std::span<const std::uint8_t>> scripts;
    std::vector<SoundStart> sounds;
    std::span<const std::uint8_t> streamBlock;
};

struct Timeline {
    int frameCount = 0;
    // May hold fewer frames than frameCount: the missing ones change nothing.
    std::vector<Frame> frames;
    std::unordered_map<std::string, int> labels;  // keyed in lower case
    std::optional<StreamHead> streamHead;

    const Frame* frame(int index) const;
    std::optional<int> findLabel(const std::string& label) const;
};

std::string lowerCase(std::string text);

}
