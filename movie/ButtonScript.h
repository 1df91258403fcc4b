#pragma once

#include <cstdint>
#include <span>

#include "movie/Playhead.h"

namespace movie {

// Runs a button's action bytecode on the timeline that holds the button.
void runButtonScript(RunContext& context, Playhead& self, std::span<const std::uint8_t> bytecode);

}
