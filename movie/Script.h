#pragma once

#include <cstdint>
#include <span>

namespace movie {

struct RunContext;
class Playhead;

// Runs action bytecode (a DoAction body, a button's actions) on the timeline `self`,
// then the frame scripts its gotos reached. Every read is checked, jumps out of the
// body end it, and the work is bounded by RunContext::actionsLeft.
void runScript(RunContext& context, Playhead& self, std::span<const std::uint8_t> bytecode);

// Runs the frame scripts queued while display lists changed, and those they lead to.
void runQueuedScripts(RunContext& context);

}
