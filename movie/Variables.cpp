#include "movie/Variables.h"

namespace movie {

Variables::~Variables()
{
    if (total_)
        *total_ -= bytes_;
}

const Value* Variables::find(const std::string& name) const
{
    const auto found = values_.find(name);
    return found == values_.end() ? nullptr : &found->second;
}

bool Variables::set(std::size_t& total, std::size_t limit, const std::string& name, Value value)
{
    total_ = &total;
    const auto found = values_.find(name);
    const std::size_t old = found == values_.end() ? 0 : cost(name, found->second);
    const std::size_t added = cost(name, value);
    if (added > old && total + (added - old) > limit)
        return false;
    total = total - old + added;
    bytes_ = bytes_ - old + added;
    if (found == values_.end())
        values_.emplace(name, std::move(value));
    else
        found->second = std::move(value);
    return true;
}

bool Variables::remove(const std::string& name)
{
    const auto found = values_.find(name);
    if (found == values_.end())
        return false;
    const std::size_t old = cost(name, found->second);
    *total_ -= old;
    bytes_ -= old;
    values_.erase(found);
    return true;
}

std::size_t Variables::cost(const std::string& name, const Value& value)
{
    // Map node and value overhead, roughly.
    std::size_t bytes = 64 + name.size();
    if (const auto* text = std::get_if<std::string>(&value))
        bytes += text->size();
    else if (const auto* clip = std::get_if<ClipReference>(&value))
        bytes += clip->path.size();
    else if (const auto* function = std::get_if<FunctionPointer>(&value))
        for (const auto& parameter : (*function)->parameters)
            bytes += 32 + parameter.name.size();
    return bytes;
}

}
