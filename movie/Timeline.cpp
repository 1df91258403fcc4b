#include "movie/Timeline.h"

#include <algorithm>

namespace movie {

const Frame* Timeline::frame(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= frames.size())
        return nullptr;
    return &frames[static_cast<std::size_t>(index)];
}

std::optional<int> Timeline::findLabel(const std::string& label) const
{
    const auto found = labels.find(lowerCase(label));
    if (found == labels.end())
        return std::nullopt;
    return found->second;
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

}
