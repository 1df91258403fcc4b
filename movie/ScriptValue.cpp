#include "movie/ScriptValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace movie {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> parseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    double value = 0;
    for (char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// Decimal numbers only: from_chars would also take "inf" and "nan", which scripts spell differently.
std::optional<double> parseNumber(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto hex = parseHex(text.substr(2));
        if (!hex)
            return std::nullopt;
        return negative ? -*hex : *hex;
    }
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    else if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

double stringToNumber(const std::string& text, int version)
{
    const std::string_view trimmed = trim(text);
    if (trimmed.empty())
        return version >= 7 ? kNaN : 0;
    if (const auto number = parseNumber(trimmed))
        return *number;
    return version <= 4 ? 0 : kNaN;
}

}

double toNumber(const Value& value, int version)
{
    if (std::holds_alternative<Undefined>(value) || std::holds_alternative<Null>(value))
        return version >= 7 ? kNaN : 0;
    if (const bool* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const double* number = std::get_if<double>(&value))
        return *number;
    if (const std::string* text = std::get_if<std::string>(&value))
        return stringToNumber(*text, version);
    return kNaN;
}

std::string numberToString(double number)
{
    if (std::isnan(number))
        return "NaN";
    if (std::isinf(number))
        return number > 0 ? "Infinity" : "-Infinity";
    if (number == 0)
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    // "1.5e-07" is written "1.5e-7".
    if (const auto e = text.find('e'); e != std::string::npos) {
        std::size_t digits = e + 2;
        while (digits + 1 < text.size() && text[digits] == '0')
            text.erase(digits, 1);
    }
    return text;
}

std::string toString(const Value& value, int version)
{
    if (std::holds_alternative<Undefined>(value))
        return version >= 7 ? "undefined" : "";
    if (std::holds_alternative<Null>(value))
        return "null";
    if (const bool* b = std::get_if<bool>(&value))
        return version <= 4 ? (*b ? "1" : "0") : (*b ? "true" : "false");
    if (const double* number = std::get_if<double>(&value))
        return numberToString(*number);
    if (const std::string* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* clip = std::get_if<ClipReference>(&value))
        return clip->path;
    return "[type Function]";
}

bool toBoolean(const Value& value, int version)
{
    if (const bool* b = std::get_if<bool>(&value))
        return *b;
    if (const double* number = std::get_if<double>(&value))
        return *number != 0 && !std::isnan(*number);
    if (const std::string* text = std::get_if<std::string>(&value)) {
        if (version >= 7)
            return !text->empty();
        const double number = stringToNumber(*text, version);
        return number != 0 && !std::isnan(number);
    }
    return std::holds_alternative<ClipReference>(value) || std::holds_alternative<FunctionPointer>(value);
}

Value booleanValue(bool value, int version)
{
    if (version <= 4)
        return value ? 1.0 : 0.0;
    return value;
}

std::int32_t toInt32(double number)
{
    if (!std::isfinite(number))
        return 0;
    const double wrapped = std::fmod(std::trunc(number), 4294967296.0);
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
    return static_cast<std::int32_t>(bits);
}

bool strictEquals(const Value& a, const Value& b)
{
    if (a.index() != b.index())
        return false;
    if (const double* x = std::get_if<double>(&a))
        return *x == std::get<double>(b);
    return a == b;
}

bool looseEquals(const Value& a, const Value& b, int version)
{
    const auto empty = [](const Value& v) {
        return std::holds_alternative<Undefined>(v) || std::holds_alternative<Null>(v);
    };
    if (empty(a) || empty(b))
        return empty(a) && empty(b);
    if (a.index() == b.index())
        return strictEquals(a, b);
    const auto scalar = [](const Value& v) {
        return std::holds_alternative<bool>(v) || std::holds_alternative<double>(v) ||
               std::holds_alternative<std::string>(v);
    };
    if (scalar(a) && scalar(b))
        return toNumber(a, version) == toNumber(b, version);
    // A clip compared with its path, as the platform printed clips.
    if (std::holds_alternative<ClipReference>(a) || std::holds_alternative<ClipReference>(b))
        return toString(a, version) == toString(b, version);
    return false;
}

const char* typeName(const Value& value)
{
    switch (value.index()) {
    case 0: return "undefined";
    case 1: return "null";
    case 2: return "boolean";
    case 3: return "number";
    case 4: return "string";
    case 5: return "movieclip";
    default: return "function";
    }
}

}
