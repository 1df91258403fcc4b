#include "movie/Script.h"

#include "movie/ClipProperties.h"
#include "movie/Playhead.h"
#include "movie/ScriptMachine.h"

namespace movie {

namespace {

constexpr std::size_t kFrameScriptRegisters = 4;

}

void runScript(RunContext& context, Playhead& self, std::span<const std::uint8_t> bytecode)
{
    {
        Activation activation{sharedOf(self)};
        activation.registers.resize(kFrameScriptRegisters);
        ScriptMachine(context).run(activation, bytecode, 0);
    }
    runQueuedScripts(context);
}

void runQueuedScripts(RunContext& context)
{
    if (context.runningScripts)
        return;
    context.runningScripts = true;
    while (!context.scriptQueue.empty()) {
        const QueuedScripts next = context.scriptQueue.front();
        context.scriptQueue.pop_front();
        if (const auto timeline = next.timeline.lock()) {
            context.chain = next.chain;
            timeline->runFrameScripts(context, next.frame);
        }
    }
    context.runningScripts = false;
    context.chain = 0;
}

}
