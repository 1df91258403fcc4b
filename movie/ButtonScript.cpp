#include "movie/ButtonScript.h"

#include "movie/Actions.h"

namespace movie {

void runButtonScript(RunContext& context, Playhead& self, std::span<const std::uint8_t> bytecode)
{
    self.runActionList(context, parseActions(bytecode));
}

}
