#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "movie/ClipProperties.h"
#include "movie/ScriptValue.h"

namespace movie {

struct RunContext;
class Playhead;

// One body being run: a frame script or a function call.
struct Activation {
    std::shared_ptr<Playhead> self;
    // Set by tellTarget; null means self. A lost target makes timeline actions do nothing.
    std::shared_ptr<Playhead> target;
    bool targetLost = false;
    Value thisValue;
    bool inFunction = false;
    std::unordered_map<std::string, Value> locals;
    std::vector<Value> registers;
    std::shared_ptr<const std::vector<std::string>> constants;
    std::size_t stackBase = 0;
};

class ScriptMachine {
public:
    explicit ScriptMachine(RunContext& context);

    // Runs `code` to its end, a Return (whose value it gives) or the action budget.
    Value run(Activation& activation, std::span<const std::uint8_t> code, int depth);

private:
    enum class Flow { Next, End, Return };
    struct Cursor {
        std::span<const std::uint8_t> code;
        std::size_t pc = 0;
        int depth = 0;
        Value returned;
    };

    Flow execute(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload, Cursor& cursor);
    Flow executeStackOp(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload);
    Flow executeArithmetic(std::uint8_t op);
    Flow executeStringOp(std::uint8_t op);
    Flow executeTimelineOp(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload);
    Flow executeVariableOp(Activation& a, std::uint8_t op);
    Flow executeCallOp(Activation& a, std::uint8_t op, Cursor& cursor);
    Flow executeIgnoredOp(std::uint8_t op);
    Flow jump(std::span<const std::uint8_t> payload, Cursor& cursor, bool conditional);
    Flow defineFunction(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload, Cursor& cursor);

    void push(Value value);
    Value pop();
    std::vector<Value> popArguments();
    Value makeString(std::string text);
    void charge(std::size_t units);
    std::string key(const std::string& name) const;

    std::shared_ptr<Playhead> scope(const Activation& a) const;
    std::shared_ptr<Playhead> controlTarget(const Activation& a) const;
    std::shared_ptr<Playhead> resolvePath(const Activation& a, std::string_view path);
    std::shared_ptr<Playhead> resolveClip(const Activation& a, const Value& value);
    void setTarget(Activation& a, const Value& target);
    Value clipValue(const std::shared_ptr<Playhead>& clip) const;

    Value getVariable(Activation& a, const std::string& name);
    void setVariable(Activation& a, const std::string& name, Value value);
    Value getMember(Playhead& clip, const std::string& name);
    void setMember(Playhead& clip, const std::string& name, Value value);
    void storeVariable(Playhead& clip, const std::string& name, Value value);

    void gotoFrame(Playhead& clip, const Value& frame, std::optional<bool> play, int bias = 0);
    bool callTimelineMethod(Playhead* clip, const std::string& name, const std::vector<Value>& args);
    Value callFunction(const FunctionPointer& function, Value thisValue, std::vector<Value> args, int depth);
    Value callFrame(Activation& a, const Value& frame, int depth);

    RunContext& context_;
    int version_;
    std::vector<Value> stack_;
    std::size_t stackBase_ = 0;
};

}
