#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "movie/ScriptValue.h"

namespace movie {

// The variables of one timeline. Their bytes count against a total shared by the
// whole movie, given back when the timeline goes.
class Variables {
public:
    Variables() = default;
    Variables(const Variables&) = delete;
    Variables& operator=(const Variables&) = delete;
    ~Variables();

    const Value* find(const std::string& name) const;
    // False (and nothing stored) when the movie's total would pass `limit`.
    bool set(std::size_t& total, std::size_t limit, const std::string& name, Value value);
    bool remove(const std::string& name);

private:
    static std::size_t cost(const std::string& name, const Value& value);

    std::unordered_map<std::string, Value> values_;
    std::size_t* total_ = nullptr;
    std::size_t bytes_ = 0;
};

}
