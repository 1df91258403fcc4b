#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "SwfWriter.h"

// A small assembler for action bytecode: pushes, variables, calls and jumps to labels.
namespace swf {

enum ActionCode : std::uint8_t {
    kActionNextFrame = 0x04,
    kActionPlay = 0x06,
    kActionStop = 0x07,
    kActionAdd = 0x0A,
    kActionSubtract = 0x0B,
    kActionDivide = 0x0D,
    kActionEquals = 0x0E,
    kActionLess = 0x0F,
    kActionNot = 0x12,
    kActionStringLength = 0x14,
    kActionStringExtract = 0x15,
    kActionPop = 0x17,
    kActionGetVariable = 0x1C,
    kActionSetVariable = 0x1D,
    kActionStringAdd = 0x21,
    kActionGetProperty = 0x22,
    kActionSetProperty = 0x23,
    kActionDefineLocal = 0x3C,
    kActionCallFunction = 0x3D,
    kActionReturn = 0x3E,
    kActionModulo = 0x3F,
    kActionNewObject = 0x40,
    kActionAdd2 = 0x47,
    kActionLess2 = 0x48,
    kActionEquals2 = 0x49,
    kActionToNumber = 0x4A,
    kActionToString = 0x4B,
    kActionPushDuplicate = 0x4C,
    kActionStackSwap = 0x4D,
    kActionGetMember = 0x4E,
    kActionSetMember = 0x4F,
    kActionIncrement = 0x50,
    kActionCallMethod = 0x52,
    kActionStrictEquals = 0x66,
    kActionGreater = 0x67,
    kActionGotoFrame = 0x81,
    kActionStoreRegister = 0x87,
    kActionSetTarget = 0x8B,
    kActionGotoLabel = 0x8C,
    kActionPush = 0x96,
    kActionGotoFrame2 = 0x9F,
};

class Bytecode {
public:
    Bytecode& op(std::uint8_t code, const Bytes& payload = {});
    // Bytes as they are, for broken bytecode.
    Bytecode& raw(const Bytes& bytes);

    Bytecode& push(const std::string& text);
    Bytecode& push(const char* text) { return push(std::string(text)); }
    Bytecode& push(double number);
    Bytecode& push(int number);
    Bytecode& pushFloat(float number);
    Bytecode& pushBool(bool value);
    Bytecode& pushNull();
    Bytecode& pushUndefined();
    Bytecode& pushRegister(std::uint8_t index);
    Bytecode& pushConstant(std::uint16_t index);
    Bytecode& constants(const std::vector<std::string>& pool);
    Bytecode& storeRegister(std::uint8_t index);

    // name = value, with the value built by `value`.
    Bytecode& set(const std::string& name, const Bytecode& value);
    Bytecode& get(const std::string& name);
    // object.method(args...) with the arguments already pushed in reverse order.
    Bytecode& callMethod(const std::string& objectVariable, const std::string& member, const std::string& method, int args);
    Bytecode& setTarget(const std::string& target);
    Bytecode& gotoFrame(std::uint16_t frame);
    Bytecode& gotoFrame2(bool play, std::uint16_t bias = 0);
    Bytecode& append(const Bytecode& other);

    // Jumps are resolved to labels when encoded; a label may come before or after its jump.
    Bytecode& label(const std::string& name);
    Bytecode& jump(const std::string& label);
    Bytecode& jumpIf(const std::string& label);
    Bytecode& jumpBy(std::int16_t offset);

    // DefineFunction2 with every parameter in a register from 1 on.
    Bytecode& defineFunction2(const std::string& name, const std::vector<std::string>& parameters, const Bytecode& body);
    Bytecode& defineFunction(const std::string& name, const std::vector<std::string>& parameters, const Bytecode& body);

    // The DoAction body, with the end marker unless `withEnd` is false.
    Bytes encode(bool withEnd = true) const;

private:
    struct Fixup {
        std::size_t at = 0;
        std::string label;
    };
    Bytecode& pushTyped(std::uint8_t type, const Bytes& data);
    Bytecode& jumpOp(std::uint8_t code, const std::string& label);

    Bytes bytes_;
    std::map<std::string, std::size_t> labels_;
    std::vector<Fixup> fixups_;
};

// A DoAction tag for a timeline.
Timeline& script(Timeline& timeline, const Bytecode& code);

}
