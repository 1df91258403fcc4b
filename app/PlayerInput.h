#pragma once
#include <windows.h>

#include <initializer_list>

// Esc and Enter key presses (judged by the low byte of the key code), which
// the player's dialogs swallow.
bool IsEscOrEnterKey(const MSG& msg);

// Sets the hand cursor when the control under the cursor has one of the ids.
bool SetHandCursorOver(WPARAM cursorWindow, std::initializer_list<int> ids);
