#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A layout string read into its parts, e.g. "col(BorderLeft(5),Middle(*),BorderRight(5))".
// A size of 1 or more is pixels, from 0 to below 1 a fraction of the whole
// cell, and the first negative size ("*") marks the elastic entry.
struct LayoutPlan {
    int32_t orientation = 0; // 0 row (top to bottom), 1 col (left to right)
    int32_t count = 0;
    std::vector<double> sizes;
    std::vector<std::wstring> names;
};

// Only the two header errors show an error box; other malformations fail silently.
bool ReadLayoutPlan(const std::wstring& text, LayoutPlan& plan);
