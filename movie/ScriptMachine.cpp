#include "movie/ScriptMachine.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <random>

#include "movie/ByteReader.h"
#include "movie/Playhead.h"
#include "movie/ScriptStrings.h"

namespace movie {

namespace {

constexpr std::size_t kMaxStack = 4096;
constexpr int kMaxCallDepth = 32;
constexpr std::size_t kMaxStringBytes = 64u << 10;
constexpr std::size_t kMaxVariableBytes = 16u << 20;
constexpr std::size_t kMaxArguments = 256;
// Bytes read or built that cost as much as one action.
constexpr std::size_t kBytesPerAction = 64;
constexpr int kScriptRegisters = 4;

enum Op : std::uint8_t {
    kEnd = 0x00,
    kNextFrame = 0x04,
    kPreviousFrame = 0x05,
    kPlay = 0x06,
    kStop = 0x07,
    kStopSounds = 0x09,
    kAdd = 0x0A,
    kSubtract = 0x0B,
    kMultiply = 0x0C,
    kDivide = 0x0D,
    kEquals = 0x0E,
    kLess = 0x0F,
    kAnd = 0x10,
    kOr = 0x11,
    kNot = 0x12,
    kStringEquals = 0x13,
    kStringLength = 0x14,
    kStringExtract = 0x15,
    kPop = 0x17,
    kToInteger = 0x18,
    kGetVariable = 0x1C,
    kSetVariable = 0x1D,
    kSetTarget2 = 0x20,
    kStringAdd = 0x21,
    kGetProperty = 0x22,
    kSetProperty = 0x23,
    kCloneSprite = 0x24,
    kRemoveSprite = 0x25,
    kTrace = 0x26,
    kStartDrag = 0x27,
    kStringLess = 0x29,
    kThrow = 0x2A,
    kCastOp = 0x2B,
    kImplementsOp = 0x2C,
    kRandomNumber = 0x30,
    kMBStringLength = 0x31,
    kCharToAscii = 0x32,
    kAsciiToChar = 0x33,
    kGetTime = 0x34,
    kMBStringExtract = 0x35,
    kMBCharToAscii = 0x36,
    kMBAsciiToChar = 0x37,
    kDelete = 0x3A,
    kDelete2 = 0x3B,
    kDefineLocal = 0x3C,
    kCallFunction = 0x3D,
    kReturn = 0x3E,
    kModulo = 0x3F,
    kNewObject = 0x40,
    kDefineLocal2 = 0x41,
    kInitArray = 0x42,
    kInitObject = 0x43,
    kTypeOf = 0x44,
    kTargetPath = 0x45,
    kEnumerate = 0x46,
    kAdd2 = 0x47,
    kLess2 = 0x48,
    kEquals2 = 0x49,
    kToNumber = 0x4A,
    kToString = 0x4B,
    kPushDuplicate = 0x4C,
    kStackSwap = 0x4D,
    kGetMember = 0x4E,
    kSetMember = 0x4F,
    kIncrement = 0x50,
    kDecrement = 0x51,
    kCallMethod = 0x52,
    kNewMethod = 0x53,
    kInstanceOf = 0x54,
    kEnumerate2 = 0x55,
    kBitAnd = 0x60,
    kBitOr = 0x61,
    kBitXor = 0x62,
    kBitLShift = 0x63,
    kBitRShift = 0x64,
    kBitURShift = 0x65,
    kStrictEquals = 0x66,
    kGreater = 0x67,
    kStringGreater = 0x68,
    kExtends = 0x69,
    kGotoFrame = 0x81,
    kGetUrl = 0x83,
    kStoreRegister = 0x87,
    kConstantPool = 0x88,
    kWaitForFrame = 0x8A,
    kSetTarget = 0x8B,
    kGotoLabel = 0x8C,
    kWaitForFrame2 = 0x8D,
    kDefineFunction2 = 0x8E,
    kWith = 0x94,
    kPush = 0x96,
    kJump = 0x99,
    kGetUrl2 = 0x9A,
    kDefineFunction = 0x9B,
    kIf = 0x9D,
    kCall = 0x9E,
    kGotoFrame2 = 0x9F,
};

// DefineFunction2 flags: registers preloaded in this order, from register 1.
enum : std::uint16_t {
    kPreloadThis = 0x0001,
    kPreloadArguments = 0x0004,
    kPreloadSuper = 0x0010,
    kPreloadRoot = 0x0040,
    kPreloadParent = 0x0080,
    kPreloadGlobal = 0x0100,
};

double elapsedMilliseconds()
{
    static const auto origin = std::chrono::steady_clock::now();
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin).count());
}

std::minstd_rand& randomEngine()
{
    static std::minstd_rand engine(std::random_device{}());
    return engine;
}

bool isString(const Value& v)
{
    return std::holds_alternative<std::string>(v);
}

int frameIndex(double number)
{
    return static_cast<int>(std::clamp(number, -1e9, 1e9));
}

}

ScriptMachine::ScriptMachine(RunContext& context) : context_(context), version_(context.movie.version()) {}

Value ScriptMachine::run(Activation& a, std::span<const std::uint8_t> code, int depth)
{
    const std::size_t outerBase = stackBase_;
    stackBase_ = a.stackBase = stack_.size();
    Cursor cursor{code, 0, depth, Undefined{}};
    while (cursor.pc < code.size() && context_.actionsLeft > 0) {
        --context_.actionsLeft;
        const std::uint8_t op = code[cursor.pc++];
        if (op == kEnd)
            break;
        std::span<const std::uint8_t> payload;
        if (op >= 0x80) {
            if (code.size() - cursor.pc < 2)
                break;
            const std::size_t length = code[cursor.pc] | (code[cursor.pc + 1] << 8);
            cursor.pc += 2;
            if (length > code.size() - cursor.pc)
                break;
            payload = code.subspan(cursor.pc, length);
            cursor.pc += length;
            charge(length / kBytesPerAction);
        }
        if (execute(a, op, payload, cursor) != Flow::Next)
            break;
    }
    stack_.resize(std::min(stack_.size(), a.stackBase));
    stackBase_ = outerBase;
    return cursor.returned;
}

ScriptMachine::Flow ScriptMachine::execute(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload,
                                           Cursor& cursor)
{
    switch (op) {
    case kJump: return jump(payload, cursor, false);
    case kIf: return jump(payload, cursor, true);
    case kDefineFunction:
    case kDefineFunction2: return defineFunction(a, op, payload, cursor);
    case kReturn:
        cursor.returned = pop();
        return Flow::Return;
    case kThrow:
        pop();
        return Flow::End;
    case kCallFunction:
    case kCallMethod:
    case kCall: return executeCallOp(a, op, cursor);
    default: break;
    }
    if (executeStackOp(a, op, payload) == Flow::Next)
        return Flow::Next;
    if (executeArithmetic(op) == Flow::Next)
        return Flow::Next;
    if (executeStringOp(op) == Flow::Next)
        return Flow::Next;
    if (executeTimelineOp(a, op, payload) == Flow::Next)
        return Flow::Next;
    if (executeVariableOp(a, op) == Flow::Next)
        return Flow::Next;
    executeIgnoredOp(op);
    return Flow::Next;
}

// Each executeXxx returns Flow::End for an opcode outside its group.
ScriptMachine::Flow ScriptMachine::executeStackOp(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload)
{
    switch (op) {
    case kPush: {
        ByteReader reader(payload);
        while (!reader.atEnd()) {
            const std::uint8_t type = reader.u8();
            Value value;
            switch (type) {
            case 0: value = reader.string(); break;
            case 1: value = static_cast<double>(std::bit_cast<float>(reader.u32())); break;
            case 2: value = Null{}; break;
            case 3: value = Undefined{}; break;
            case 4: {
                const std::uint8_t index = reader.u8();
                if (index < a.registers.size())
                    value = a.registers[index];
                break;
            }
            case 5: value = booleanValue(reader.u8() != 0, version_); break;
            case 6: {
                const std::uint64_t high = reader.u32();
                value = std::bit_cast<double>((high << 32) | reader.u32());
                break;
            }
            case 7: value = static_cast<double>(static_cast<std::int32_t>(reader.u32())); break;
            case 8:
            case 9: {
                const std::size_t index = type == 8 ? reader.u8() : reader.u16();
                if (a.constants && index < a.constants->size())
                    value = (*a.constants)[index];
                break;
            }
            default: return Flow::Next;
            }
            if (reader.failed())
                return Flow::Next;
            push(std::move(value));
        }
        return Flow::Next;
    }
    case kPop: pop(); return Flow::Next;
    case kPushDuplicate: {
        Value top = pop();
        push(top);
        push(std::move(top));
        return Flow::Next;
    }
    case kStackSwap: {
        Value first = pop();
        Value second = pop();
        push(std::move(first));
        push(std::move(second));
        return Flow::Next;
    }
    case kStoreRegister: {
        ByteReader reader(payload);
        const std::uint8_t index = reader.u8();
        if (!reader.failed() && index < a.registers.size())
            a.registers[index] = stack_.size() > stackBase_ ? stack_.back() : Value{};
        return Flow::Next;
    }
    case kConstantPool: {
        ByteReader reader(payload);
        auto constants = std::make_shared<std::vector<std::string>>();
        for (std::uint16_t count = reader.u16(); count > 0 && !reader.atEnd(); --count)
            constants->push_back(reader.string());
        a.constants = std::move(constants);
        return Flow::Next;
    }
    default: return Flow::End;
    }
}

ScriptMachine::Flow ScriptMachine::executeArithmetic(std::uint8_t op)
{
    switch (op) {
    case kNot: push(booleanValue(!toBoolean(pop(), version_), version_)); return Flow::Next;
    case kToInteger: {
        const double number = toNumber(pop(), version_);
        push(std::isfinite(number) ? std::trunc(number) : (std::isnan(number) ? 0.0 : number));
        return Flow::Next;
    }
    case kToNumber: push(toNumber(pop(), version_)); return Flow::Next;
    case kIncrement: push(toNumber(pop(), version_) + 1); return Flow::Next;
    case kDecrement: push(toNumber(pop(), version_) - 1); return Flow::Next;
    default: break;
    }
    const std::uint8_t binary[] = {kAdd,     kSubtract,  kMultiply,   kDivide,       kEquals,        kLess,
                                   kAnd,     kOr,        kModulo,     kAdd2,         kLess2,         kEquals2,
                                   kBitAnd,  kBitOr,     kBitXor,     kBitLShift,    kBitRShift,     kBitURShift,
                                   kGreater, kStrictEquals};
    if (std::find(std::begin(binary), std::end(binary), op) == std::end(binary))
        return Flow::End;
    const Value b = pop();
    const Value a = pop();
    const auto number = [this](const Value& v) { return toNumber(v, version_); };
    const auto boolean = [this](bool v) { return booleanValue(v, version_); };
    // Less2 and Greater: strings compare as strings, NaN makes the answer undefined.
    const auto less = [&](const Value& x, const Value& y) -> Value {
        if (isString(x) && isString(y))
            return std::get<std::string>(x) < std::get<std::string>(y);
        const double nx = number(x);
        const double ny = number(y);
        if (std::isnan(nx) || std::isnan(ny))
            return Undefined{};
        return nx < ny;
    };
    switch (op) {
    case kAdd: push(number(a) + number(b)); break;
    case kSubtract: push(number(a) - number(b)); break;
    case kMultiply: push(number(a) * number(b)); break;
    case kDivide: push(number(a) / number(b)); break;
    case kModulo: push(std::fmod(number(a), number(b))); break;
    case kEquals: push(boolean(number(a) == number(b))); break;
    case kLess: push(boolean(number(a) < number(b))); break;
    case kAnd: push(boolean(toBoolean(a, version_) && toBoolean(b, version_))); break;
    case kOr: push(boolean(toBoolean(a, version_) || toBoolean(b, version_))); break;
    case kAdd2:
        if (isString(a) || isString(b) || std::holds_alternative<ClipReference>(a) ||
            std::holds_alternative<ClipReference>(b))
            push(makeString(toString(a, version_) + toString(b, version_)));
        else
            push(number(a) + number(b));
        break;
    case kLess2: push(less(a, b)); break;
    case kGreater: push(less(b, a)); break;
    case kEquals2: push(looseEquals(a, b, version_)); break;
    case kStrictEquals: push(strictEquals(a, b)); break;
    case kBitAnd: push(static_cast<double>(toInt32(number(a)) & toInt32(number(b)))); break;
    case kBitOr: push(static_cast<double>(toInt32(number(a)) | toInt32(number(b)))); break;
    case kBitXor: push(static_cast<double>(toInt32(number(a)) ^ toInt32(number(b)))); break;
    case kBitLShift:
        push(static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(toInt32(number(a)))
                                                           << (toInt32(number(b)) & 31))));
        break;
    case kBitRShift: push(static_cast<double>(toInt32(number(a)) >> (toInt32(number(b)) & 31))); break;
    case kBitURShift:
        push(static_cast<double>(static_cast<std::uint32_t>(toInt32(number(a))) >> (toInt32(number(b)) & 31)));
        break;
    default: break;
    }
    return Flow::Next;
}

ScriptMachine::Flow ScriptMachine::executeStringOp(std::uint8_t op)
{
    const TextEncoding plain = version_ >= 6 ? TextEncoding::Utf8 : TextEncoding::Bytes;
    const TextEncoding wide = version_ >= 6 ? TextEncoding::Utf8 : TextEncoding::DoubleByte;
    switch (op) {
    case kStringAdd:
    case kStringEquals:
    case kStringLess:
    case kStringGreater: {
        const std::string b = toString(pop(), version_);
        const std::string a = toString(pop(), version_);
        if (op == kStringAdd)
            push(makeString(a + b));
        else
            push(booleanValue(op == kStringEquals ? a == b : (op == kStringLess ? a < b : b < a), version_));
        return Flow::Next;
    }
    case kStringLength:
    case kMBStringLength:
        push(static_cast<double>(characterCount(toString(pop(), version_), op == kStringLength ? plain : wide)));
        return Flow::Next;
    case kStringExtract:
    case kMBStringExtract: {
        const double count = toNumber(pop(), version_);
        const double index = toNumber(pop(), version_);
        const std::string text = toString(pop(), version_);
        push(makeString(extractCharacters(text, index - 1, count, op == kStringExtract ? plain : wide)));
        return Flow::Next;
    }
    case kCharToAscii:
    case kMBCharToAscii:
        push(static_cast<double>(firstCharacterCode(toString(pop(), version_), op == kCharToAscii ? plain : wide)));
        return Flow::Next;
    case kAsciiToChar:
    case kMBAsciiToChar:
        push(characterFromCode(toInt32(toNumber(pop(), version_)), op == kAsciiToChar ? plain : wide));
        return Flow::Next;
    case kToString: push(makeString(toString(pop(), version_))); return Flow::Next;
    case kTypeOf: push(std::string(typeName(pop()))); return Flow::Next;
    default: return Flow::End;
    }
}

ScriptMachine::Flow ScriptMachine::executeTimelineOp(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload)
{
    ByteReader reader(payload);
    switch (op) {
    case kStopSounds: context_.stopSoundsRequested = true; return Flow::Next;
    case kSetTarget: setTarget(a, reader.string()); return Flow::Next;
    case kSetTarget2: setTarget(a, pop()); return Flow::Next;
    case kPlay:
    case kStop:
    case kNextFrame:
    case kPreviousFrame:
    case kGotoFrame:
    case kGotoLabel:
    case kGotoFrame2: break;
    default: return Flow::End;
    }
    Value frame = op == kGotoFrame2 ? pop() : Value{};
    const auto clip = controlTarget(a);
    if (!clip)
        return Flow::Next;
    switch (op) {
    case kPlay: clip->setPlaying(true); break;
    case kStop: clip->setPlaying(false); break;
    case kNextFrame: callTimelineMethod(clip.get(), "nextframe", {}); break;
    case kPreviousFrame: callTimelineMethod(clip.get(), "prevframe", {}); break;
    case kGotoFrame: {
        const std::uint16_t index = reader.u16();
        if (!reader.failed())
            gotoFrame(*clip, static_cast<double>(index + 1), std::nullopt);
        break;
    }
    case kGotoLabel: {
        std::string label = reader.string();
        if (!reader.failed())
            gotoFrame(*clip, makeString(std::move(label)), std::nullopt);
        break;
    }
    case kGotoFrame2: {
        const std::uint8_t flags = reader.u8();
        const int bias = (flags & 0x02) ? reader.u16() : 0;
        if (!reader.failed())
            gotoFrame(*clip, frame, (flags & 0x01) != 0, bias);
        break;
    }
    default: break;
    }
    return Flow::Next;
}

ScriptMachine::Flow ScriptMachine::executeVariableOp(Activation& a, std::uint8_t op)
{
    switch (op) {
    case kGetVariable: push(getVariable(a, toString(pop(), version_))); return Flow::Next;
    case kSetVariable: {
        Value value = pop();
        setVariable(a, toString(pop(), version_), std::move(value));
        return Flow::Next;
    }
    case kDefineLocal:
    case kDefineLocal2: {
        Value value = op == kDefineLocal ? pop() : Value{};
        const std::string name = toString(pop(), version_);
        if (a.inFunction) {
            if (op == kDefineLocal)
                a.locals[key(name)] = std::move(value);
            else
                a.locals.try_emplace(key(name));
        } else if (const auto clip = scope(a); clip && (op == kDefineLocal || !clip->variables().find(key(name)))) {
            storeVariable(*clip, name, std::move(value));
        }
        return Flow::Next;
    }
    case kDelete2:
    case kDelete: {
        const std::string name = toString(pop(), version_);
        const auto clip = op == kDelete ? resolveClip(a, pop()) : scope(a);
        bool removed = op == kDelete2 && a.inFunction && a.locals.erase(key(name)) > 0;
        if (!removed && clip)
            removed = clip->variables().remove(key(name));
        push(booleanValue(removed, version_));
        return Flow::Next;
    }
    case kGetMember: {
        const std::string name = toString(pop(), version_);
        const Value object = pop();
        if (const auto clip = resolveClip(a, object))
            push(getMember(*clip, name));
        else if (isString(object) && name == "length")
            push(static_cast<double>(characterCount(std::get<std::string>(object),
                                                    version_ >= 6 ? TextEncoding::Utf8 : TextEncoding::Bytes)));
        else
            push(Undefined{});
        return Flow::Next;
    }
    case kSetMember: {
        Value value = pop();
        const std::string name = toString(pop(), version_);
        if (const auto clip = resolveClip(a, pop()))
            setMember(*clip, name, std::move(value));
        return Flow::Next;
    }
    case kGetProperty:
    case kSetProperty: {
        Value value = op == kSetProperty ? pop() : Value{};
        const auto property = propertyByIndex(toNumber(pop(), version_));
        const auto clip = resolveClip(a, pop());
        if (op == kGetProperty)
            push(clip && property ? getProperty(*clip, *property, version_) : Value{});
        else if (clip && property)
            setProperty(*clip, *property, value, version_);
        return Flow::Next;
    }
    case kTargetPath: {
        const Value value = pop();
        const auto clip = std::holds_alternative<ClipReference>(value) ? resolveClip(a, value) : nullptr;
        push(clip ? Value(dotPath(*clip)) : Value{});
        return Flow::Next;
    }
    default: return Flow::End;
    }
}

ScriptMachine::Flow ScriptMachine::executeCallOp(Activation& a, std::uint8_t op, Cursor& cursor)
{
    if (op == kCall) {
        callFrame(a, pop(), cursor.depth);
        return Flow::Next;
    }
    const Value nameValue = pop();
    const std::string name = toString(nameValue, version_);
    const Value object = op == kCallMethod ? pop() : Value{};
    const std::vector<Value> args = popArguments();
    const Value thisValue = a.inFunction ? a.thisValue : clipValue(scope(a));
    Value result;
    if (op == kCallFunction) {
        const Value function = getVariable(a, name);
        if (const auto* pointer = std::get_if<FunctionPointer>(&function))
            result = callFunction(*pointer, thisValue, args, cursor.depth);
        else
            callTimelineMethod(controlTarget(a).get(), name, args);
    } else if (std::holds_alternative<Undefined>(nameValue) || name.empty()) {
        if (const auto* pointer = std::get_if<FunctionPointer>(&object))
            result = callFunction(*pointer, thisValue, args, cursor.depth);
    } else if (const auto clip = resolveClip(a, object)) {
        const Value member = getMember(*clip, name);
        if (const auto* pointer = std::get_if<FunctionPointer>(&member))
            result = callFunction(*pointer, clipValue(clip), args, cursor.depth);
        else
            callTimelineMethod(clip.get(), name, args);
    }
    push(std::move(result));
    return Flow::Next;
}

ScriptMachine::Flow ScriptMachine::executeIgnoredOp(std::uint8_t op)
{
    // What these would take from the stack goes; what they would give back is undefined.
    switch (op) {
    case kTrace:
    case kRemoveSprite:
    case kWaitForFrame2:
    case kWith: pop(); break;
    case kGetUrl2:
    case kExtends: pop(); pop(); break;
    case kCloneSprite: pop(); pop(); pop(); break;
    case kStartDrag: {
        pop();
        pop();
        if (toBoolean(pop(), version_))
            for (int i = 0; i < 4; ++i)
                pop();
        break;
    }
    case kInstanceOf:
    case kCastOp:
        pop();
        pop();
        push(op == kInstanceOf ? Value(booleanValue(false, version_)) : Value{});
        break;
    case kImplementsOp:
        pop();
        popArguments();
        break;
    case kNewObject:
        pop();
        popArguments();
        push(Undefined{});
        break;
    case kNewMethod:
        pop();
        pop();
        popArguments();
        push(Undefined{});
        break;
    case kInitArray:
        popArguments();
        push(Undefined{});
        break;
    case kInitObject: {
        const double pairs = toNumber(pop(), version_);
        const std::size_t count = pairs > 0 ? static_cast<std::size_t>(std::min(pairs, 1e6)) : 0;
        for (std::size_t i = 0; i < count * 2 && stack_.size() > stackBase_; ++i)
            pop();
        push(Undefined{});
        break;
    }
    case kEnumerate:
    case kEnumerate2:
        pop();
        push(Null{});
        break;
    case kRandomNumber: {
        const double limit = toNumber(pop(), version_);
        const auto range = limit >= 1 ? static_cast<std::uint32_t>(std::min(limit, 2147483647.0)) : 1u;
        push(static_cast<double>(randomEngine()() % range));
        break;
    }
    case kGetTime: push(elapsedMilliseconds()); break;
    default: break;
    }
    return Flow::Next;
}

ScriptMachine::Flow ScriptMachine::jump(std::span<const std::uint8_t> payload, Cursor& cursor, bool conditional)
{
    ByteReader reader(payload);
    const std::int16_t offset = reader.s16();
    if (reader.failed())
        return Flow::End;
    if (conditional && !toBoolean(pop(), version_))
        return Flow::Next;
    const auto target = static_cast<std::int64_t>(cursor.pc) + offset;
    if (target < 0 || target > static_cast<std::int64_t>(cursor.code.size()))
        return Flow::End;
    cursor.pc = static_cast<std::size_t>(target);
    return Flow::Next;
}

ScriptMachine::Flow ScriptMachine::defineFunction(Activation& a, std::uint8_t op, std::span<const std::uint8_t> payload,
                                                  Cursor& cursor)
{
    ByteReader reader(payload);
    auto function = std::make_shared<ScriptFunction>();
    const std::string name = reader.string();
    const std::uint16_t count = reader.u16();
    function->preloads = op == kDefineFunction2;
    if (function->preloads) {
        function->registerCount = reader.u8();
        function->flags = reader.u16();
    }
    for (std::uint16_t i = 0; i < count && !reader.failed(); ++i) {
        ScriptFunction::Parameter parameter;
        if (function->preloads)
            parameter.reg = reader.u8();
        parameter.name = reader.string();
        function->parameters.push_back(std::move(parameter));
    }
    const std::uint16_t size = reader.u16();
    if (reader.failed() || size > cursor.code.size() - cursor.pc)
        return Flow::End;
    function->body = cursor.code.subspan(cursor.pc, size);
    cursor.pc += size;
    function->home = scope(a);
    function->constants = a.constants;
    if (name.empty())
        push(FunctionPointer(std::move(function)));
    else if (a.inFunction)
        a.locals[key(name)] = FunctionPointer(std::move(function));
    else if (const auto clip = scope(a))
        storeVariable(*clip, name, FunctionPointer(std::move(function)));
    return Flow::Next;
}

void ScriptMachine::push(Value value)
{
    if (stack_.size() < kMaxStack)
        stack_.push_back(std::move(value));
}

Value ScriptMachine::pop()
{
    if (stack_.size() <= stackBase_)
        return Undefined{};
    Value value = std::move(stack_.back());
    stack_.pop_back();
    return value;
}

std::vector<Value> ScriptMachine::popArguments()
{
    const double requested = toNumber(pop(), version_);
    const std::size_t available = stack_.size() - stackBase_;
    const std::size_t count = requested > 0 ? std::min(available, static_cast<std::size_t>(std::min(requested, 1e6))) : 0;
    std::vector<Value> args;
    for (std::size_t i = 0; i < count; ++i) {
        Value value = pop();
        if (args.size() < kMaxArguments)
            args.push_back(std::move(value));
    }
    return args;
}

Value ScriptMachine::makeString(std::string text)
{
    if (text.size() > kMaxStringBytes)
        text.resize(kMaxStringBytes);
    charge(text.size() / kBytesPerAction);
    return text;
}

void ScriptMachine::charge(std::size_t units)
{
    context_.actionsLeft -= std::min(units, context_.actionsLeft);
}

std::string ScriptMachine::key(const std::string& name) const
{
    // Names became case-sensitive with version 7.
    return version_ >= 7 ? name : lowerCase(name);
}

std::shared_ptr<Playhead> ScriptMachine::scope(const Activation& a) const
{
    return a.target ? a.target : a.self;
}

std::shared_ptr<Playhead> ScriptMachine::controlTarget(const Activation& a) const
{
    return a.targetLost ? nullptr : scope(a);
}

std::shared_ptr<Playhead> ScriptMachine::resolvePath(const Activation& a, std::string_view path)
{
    std::shared_ptr<Playhead> current = scope(a);
    if (!current)
        return nullptr;
    if (!path.empty() && path.front() == '/') {
        current = rootOf(*current);
        path.remove_prefix(1);
    }
    bool first = true;
    while (!path.empty() && current) {
        std::size_t end = 0;
        if (path.starts_with(".."))
            end = 2;
        else
            while (end < path.size() && path[end] != '/' && path[end] != '.')
                ++end;
        const std::string token(path.substr(0, end));
        path.remove_prefix(std::min(end + 1, path.size()));
        const std::string lower = lowerCase(token);
        if (token.empty() || lower == "this") {
        } else if (lower == "_root" || lower == "_level0") {
            current = rootOf(*current);
        } else if (lower == "_parent" || token == "..") {
            current = current->parent();
        } else if (auto child = current->child(token, version_ >= 7)) {
            current = std::move(child);
        } else if (const Value* held = first ? current->variables().find(key(token)) : nullptr;
                   held && std::holds_alternative<ClipReference>(*held)) {
            // A variable holding a clip, as in `var c = _root.clip; c._x`.
            current = resolvePath(Activation{rootOf(*current)}, std::get<ClipReference>(*held).path);
        } else {
            return nullptr;
        }
        first = false;
    }
    return current;
}

std::shared_ptr<Playhead> ScriptMachine::resolveClip(const Activation& a, const Value& value)
{
    if (const auto* clip = std::get_if<ClipReference>(&value))
        return resolvePath(Activation{scope(a) ? rootOf(*scope(a)) : nullptr}, clip->path);
    if (std::holds_alternative<Undefined>(value) || std::holds_alternative<Null>(value))
        return nullptr;
    return resolvePath(a, toString(value, version_));
}

void ScriptMachine::setTarget(Activation& a, const Value& target)
{
    a.target.reset();
    a.targetLost = false;
    const std::string path = std::holds_alternative<ClipReference>(target) ? std::get<ClipReference>(target).path
                                                                           : toString(target, version_);
    if (path.empty())
        return;
    // Targets are relative to the timeline running the script, not to the last target.
    a.target = std::holds_alternative<ClipReference>(target) ? resolveClip(a, target) : resolvePath(a, path);
    a.targetLost = !a.target;
}

Value ScriptMachine::clipValue(const std::shared_ptr<Playhead>& clip) const
{
    if (!clip)
        return Undefined{};
    return ClipReference{dotPath(*clip)};
}

Value ScriptMachine::getVariable(Activation& a, const std::string& name)
{
    // "clip:count", "/clip/inner:count", "_root.clip.count"
    std::size_t split = name.rfind(':');
    if (split == std::string::npos)
        split = name.rfind('.');
    if (split != std::string::npos) {
        const auto clip = resolvePath(a, std::string_view(name).substr(0, split));
        return clip ? getMember(*clip, name.substr(split + 1)) : Value{};
    }
    if (name.find('/') != std::string::npos)
        return clipValue(resolvePath(a, name));
    if (a.inFunction)
        if (const auto local = a.locals.find(key(name)); local != a.locals.end())
            return local->second;
    const std::string lower = lowerCase(name);
    if (lower == "this")
        return a.inFunction ? a.thisValue : clipValue(scope(a));
    if (lower == "_root" || lower == "_level0" || lower == "_parent")
        return clipValue(resolvePath(a, lower));
    const auto clip = scope(a);
    return clip ? getMember(*clip, name) : Value{};
}

void ScriptMachine::setVariable(Activation& a, const std::string& name, Value value)
{
    std::size_t split = name.rfind(':');
    if (split == std::string::npos)
        split = name.rfind('.');
    if (split != std::string::npos) {
        if (const auto clip = resolvePath(a, std::string_view(name).substr(0, split)))
            setMember(*clip, name.substr(split + 1), std::move(value));
        return;
    }
    if (a.inFunction)
        if (const auto local = a.locals.find(key(name)); local != a.locals.end()) {
            local->second = std::move(value);
            return;
        }
    if (const auto clip = scope(a))
        setMember(*clip, name, std::move(value));
}

Value ScriptMachine::getMember(Playhead& clip, const std::string& name)
{
    if (const auto property = propertyByName(name))
        return getProperty(clip, *property, version_);
    if (const Value* value = clip.variables().find(key(name)))
        return *value;
    if (const auto child = clip.child(name, version_ >= 7))
        return clipValue(child);
    return Undefined{};
}

void ScriptMachine::setMember(Playhead& clip, const std::string& name, Value value)
{
    if (const auto property = propertyByName(name))
        setProperty(clip, *property, value, version_);
    else
        storeVariable(clip, name, std::move(value));
}

void ScriptMachine::storeVariable(Playhead& clip, const std::string& name, Value value)
{
    clip.variables().set(context_.variableBytes, kMaxVariableBytes, key(name), std::move(value));
}

void ScriptMachine::gotoFrame(Playhead& clip, const Value& frame, std::optional<bool> play, int bias)
{
    // A string is a label first; "3" names frame 3 when no label has that name.
    std::optional<int> index;
    if (isString(frame))
        index = clip.timeline().findLabel(std::get<std::string>(frame));
    const double number = toNumber(frame, version_);
    if (!index && !std::isnan(number))
        index = frameIndex(number) - 1 + bias;
    if (!index)
        return;
    clip.gotoFrame(context_, *index, true);
    if (play)
        clip.setPlaying(*play);
}

bool ScriptMachine::callTimelineMethod(Playhead* clip, const std::string& name, const std::vector<Value>& args)
{
    if (!clip)
        return false;
    const std::string method = lowerCase(name);
    const Value frame = args.empty() ? Value{} : args.front();
    const int last = std::max(0, clip->frameCount() - 1);
    if (method == "play")
        clip->setPlaying(true);
    else if (method == "stop")
        clip->setPlaying(false);
    else if (method == "gotoandplay" || method == "gotoandstop")
        gotoFrame(*clip, frame, method == "gotoandplay");
    else if (method == "nextframe" || method == "prevframe") {
        const int step = method == "nextframe" ? 1 : -1;
        clip->gotoFrame(context_, std::clamp(clip->currentFrame() + step, 0, last), true);
        clip->setPlaying(false);
    } else
        return false;
    return true;
}

Value ScriptMachine::callFunction(const FunctionPointer& function, Value thisValue, std::vector<Value> args, int depth)
{
    auto home = function->home.lock();
    if (!home || depth >= kMaxCallDepth)
        return Undefined{};
    Activation call{home};
    call.inFunction = true;
    call.thisValue = std::move(thisValue);
    call.constants = function->constants;
    call.registers.resize(function->preloads ? static_cast<std::size_t>(function->registerCount) : kScriptRegisters);
    std::size_t next = 1;
    const auto preload = [&](std::uint16_t flag, Value value) {
        if ((function->flags & flag) && next < call.registers.size())
            call.registers[next++] = std::move(value);
    };
    preload(kPreloadThis, call.thisValue);
    preload(kPreloadArguments, Undefined{});
    preload(kPreloadSuper, Undefined{});
    preload(kPreloadRoot, clipValue(rootOf(*home)));
    preload(kPreloadParent, clipValue(home->parent()));
    preload(kPreloadGlobal, Undefined{});
    for (std::size_t i = 0; i < function->parameters.size(); ++i) {
        const auto& parameter = function->parameters[i];
        Value arg = i < args.size() ? std::move(args[i]) : Value{};
        if (parameter.reg != 0 && parameter.reg < call.registers.size())
            call.registers[parameter.reg] = std::move(arg);
        else
            call.locals[key(parameter.name)] = std::move(arg);
    }
    return run(call, function->body, depth + 1);
}

Value ScriptMachine::callFrame(Activation& a, const Value& frame, int depth)
{
    const auto clip = controlTarget(a);
    if (!clip || depth >= kMaxCallDepth)
        return Undefined{};
    std::optional<int> index = clip->timeline().findLabel(toString(frame, version_));
    const double number = toNumber(frame, version_);
    if (!index && !std::isnan(number))
        index = frameIndex(number) - 1;
    const Frame* target = index ? clip->timeline().frame(*index) : nullptr;
    if (!target)
        return Undefined{};
    for (const auto& bytecode : target->scripts) {
        Activation call{clip};
        call.registers.resize(kScriptRegisters);
        run(call, bytecode, depth + 1);
    }
    return Undefined{};
}

}
