#pragma once
#include <functional>
#include <string>

// Every error box of the toolkit goes through ShowErrorBox: a modal message
// box with one OK button. Tests install a sink that records the text instead.
using ErrorBoxSink = std::function<void(const std::wstring& text)>;

void ShowErrorBox(const std::wstring& text);

// Installs a sink (an empty one restores the real box); returns the previous sink.
ErrorBoxSink SetErrorBoxSink(ErrorBoxSink sink);
