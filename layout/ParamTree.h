#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

// Keyed parameter lists such as «size=(3,4), title='a, b', count=2».
// A nested list is kept as the text between its outer parentheses and is
// parsed on its own when it is read.
using ParamTree = std::map<std::wstring, std::wstring>;

// Returns null when the text is malformed; the two parenthesis failures also
// show an error box.
std::unique_ptr<ParamTree> ParseParamTree(const std::wstring& text);

// Each getter writes its out value only when it returns true.
bool GetParamString(const ParamTree& tree, const std::wstring& key, std::wstring& out);
bool GetParamInt(const ParamTree& tree, const std::wstring& key, int32_t& out);
bool GetParamReal(const ParamTree& tree, const std::wstring& key, double& out);
