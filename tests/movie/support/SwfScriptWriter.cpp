#include "SwfScriptWriter.h"

#include <bit>
#include <stdexcept>

namespace swf {

namespace {

void appendU16(Bytes& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendU32(Bytes& out, std::uint32_t value)
{
    appendU16(out, static_cast<std::uint16_t>(value));
    appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendString(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

}

Bytecode& Bytecode::op(std::uint8_t code, const Bytes& payload)
{
    bytes_.push_back(code);
    if (code >= 0x80) {
        appendU16(bytes_, static_cast<std::uint16_t>(payload.size()));
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    }
    return *this;
}

Bytecode& Bytecode::raw(const Bytes& bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytecode& Bytecode::pushTyped(std::uint8_t type, const Bytes& data)
{
    Bytes payload{type};
    payload.insert(payload.end(), data.begin(), data.end());
    return op(kActionPush, payload);
}

Bytecode& Bytecode::push(const std::string& text)
{
    Bytes data;
    appendString(data, text);
    return pushTyped(0, data);
}

Bytecode& Bytecode::push(double number)
{
    // Doubles are stored high word first.
    const auto bits = std::bit_cast<std::uint64_t>(number);
    Bytes data;
    appendU32(data, static_cast<std::uint32_t>(bits >> 32));
    appendU32(data, static_cast<std::uint32_t>(bits));
    return pushTyped(6, data);
}

Bytecode& Bytecode::push(int number)
{
    Bytes data;
    appendU32(data, static_cast<std::uint32_t>(number));
    return pushTyped(7, data);
}

Bytecode& Bytecode::pushFloat(float number)
{
    Bytes data;
    appendU32(data, std::bit_cast<std::uint32_t>(number));
    return pushTyped(1, data);
}

Bytecode& Bytecode::pushBool(bool value) { return pushTyped(5, {static_cast<std::uint8_t>(value)}); }
Bytecode& Bytecode::pushNull() { return pushTyped(2, {}); }
Bytecode& Bytecode::pushUndefined() { return pushTyped(3, {}); }
Bytecode& Bytecode::pushRegister(std::uint8_t index) { return pushTyped(4, {index}); }

Bytecode& Bytecode::pushConstant(std::uint16_t index)
{
    if (index < 256)
        return pushTyped(8, {static_cast<std::uint8_t>(index)});
    Bytes data;
    appendU16(data, index);
    return pushTyped(9, data);
}

Bytecode& Bytecode::constants(const std::vector<std::string>& pool)
{
    Bytes payload;
    appendU16(payload, static_cast<std::uint16_t>(pool.size()));
    for (const auto& text : pool)
        appendString(payload, text);
    return op(0x88, payload);
}

Bytecode& Bytecode::storeRegister(std::uint8_t index) { return op(kActionStoreRegister, {index}); }

Bytecode& Bytecode::set(const std::string& name, const Bytecode& value)
{
    push(name).append(value);
    return op(kActionSetVariable);
}

Bytecode& Bytecode::get(const std::string& name)
{
    return push(name).op(kActionGetVariable);
}

Bytecode& Bytecode::callMethod(const std::string& objectVariable, const std::string& member, const std::string& method,
                               int args)
{
    push(args).get(objectVariable);
    if (!member.empty())
        push(member).op(kActionGetMember);
    return push(method).op(kActionCallMethod);
}

Bytecode& Bytecode::setTarget(const std::string& target)
{
    Bytes payload;
    appendString(payload, target);
    return op(kActionSetTarget, payload);
}

Bytecode& Bytecode::gotoFrame(std::uint16_t frame)
{
    Bytes payload;
    appendU16(payload, frame);
    return op(kActionGotoFrame, payload);
}

Bytecode& Bytecode::gotoFrame2(bool play, std::uint16_t bias)
{
    Bytes payload{static_cast<std::uint8_t>((play ? 1 : 0) | (bias ? 2 : 0))};
    if (bias)
        appendU16(payload, bias);
    return op(kActionGotoFrame2, payload);
}

Bytecode& Bytecode::append(const Bytecode& other)
{
    const std::size_t base = bytes_.size();
    for (const auto& [name, at] : other.labels_)
        labels_[name] = base + at;
    for (const auto& fixup : other.fixups_)
        fixups_.push_back({base + fixup.at, fixup.label});
    bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
    return *this;
}

Bytecode& Bytecode::label(const std::string& name)
{
    labels_[name] = bytes_.size();
    return *this;
}

Bytecode& Bytecode::jumpOp(std::uint8_t code, const std::string& label)
{
    op(code, {0, 0});
    fixups_.push_back({bytes_.size() - 2, label});
    return *this;
}

Bytecode& Bytecode::jump(const std::string& label) { return jumpOp(0x99, label); }
Bytecode& Bytecode::jumpIf(const std::string& label) { return jumpOp(0x9D, label); }

Bytecode& Bytecode::jumpBy(std::int16_t offset)
{
    Bytes payload;
    appendU16(payload, static_cast<std::uint16_t>(offset));
    return op(0x99, payload);
}

Bytecode& Bytecode::defineFunction2(const std::string& name, const std::vector<std::string>& parameters,
                                    const Bytecode& body)
{
    Bytes payload;
    appendString(payload, name);
    appendU16(payload, static_cast<std::uint16_t>(parameters.size()));
    payload.push_back(static_cast<std::uint8_t>(parameters.size() + 1));
    appendU16(payload, 0);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        payload.push_back(static_cast<std::uint8_t>(i + 1));
        appendString(payload, parameters[i]);
    }
    const Bytes code = body.encode(false);
    appendU16(payload, static_cast<std::uint16_t>(code.size()));
    op(0x8E, payload);
    bytes_.insert(bytes_.end(), code.begin(), code.end());
    return *this;
}

Bytecode& Bytecode::defineFunction(const std::string& name, const std::vector<std::string>& parameters,
                                   const Bytecode& body)
{
    Bytes payload;
    appendString(payload, name);
    appendU16(payload, static_cast<std::uint16_t>(parameters.size()));
    for (const auto& parameter : parameters)
        appendString(payload, parameter);
    const Bytes code = body.encode(false);
    appendU16(payload, static_cast<std::uint16_t>(code.size()));
    op(0x9B, payload);
    bytes_.insert(bytes_.end(), code.begin(), code.end());
    return *this;
}

Bytes Bytecode::encode(bool withEnd) const
{
    Bytes out = bytes_;
    for (const auto& fixup : fixups_) {
        const auto target = labels_.find(fixup.label);
        if (target == labels_.end())
            throw std::logic_error("no label " + fixup.label);
        const auto offset = static_cast<std::int64_t>(target->second) - static_cast<std::int64_t>(fixup.at + 2);
        out[fixup.at] = static_cast<std::uint8_t>(offset);
        out[fixup.at + 1] = static_cast<std::uint8_t>(offset >> 8);
    }
    if (withEnd)
        out.push_back(0);
    return out;
}

Timeline& script(Timeline& timeline, const Bytecode& code)
{
    return timeline.tag(kDoAction, code.encode());
}

}
