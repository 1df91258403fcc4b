#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace movie {

class Playhead;

// A movie clip as scripts see it: an absolute dot path, looked up again on each use
// so a value kept in a variable never outlives the clip it names.
struct ClipReference {
    std::string path;
    bool operator==(const ClipReference&) const = default;
};

struct ScriptFunction {
    struct Parameter {
        std::string name;
        std::uint8_t reg = 0;  // 0: passed as a local variable
    };
    std::span<const std::uint8_t> body;
    std::vector<Parameter> parameters;
    int registerCount = 0;
    std::uint16_t flags = 0;
    bool preloads = false;  // a DefineFunction2 function
    std::weak_ptr<Playhead> home;
    // The constant pool in force where the function was defined.
    std::shared_ptr<const std::vector<std::string>> constants;
};

struct Undefined {
    bool operator==(const Undefined&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};

using FunctionPointer = std::shared_ptr<const ScriptFunction>;
using Value = std::variant<Undefined, Null, bool, double, std::string, ClipReference, FunctionPointer>;

// Conversions depend on the movie's version: version 4 had no booleans and no
// undefined, version 7 made undefined and empty strings NaN.
double toNumber(const Value& value, int version);
std::string toString(const Value& value, int version);
bool toBoolean(const Value& value, int version);
std::string numberToString(double number);
// Version 4 movies get 1 and 0 where later ones get true and false.
Value booleanValue(bool value, int version);
std::int32_t toInt32(double number);

// The abstract (==) and strict (===) equality of ActionScript 2.
bool looseEquals(const Value& a, const Value& b, int version);
bool strictEquals(const Value& a, const Value& b);
const char* typeName(const Value& value);

}
