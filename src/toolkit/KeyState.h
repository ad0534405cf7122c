// "Is this key held?" in one place, so tests can hold keys without a keyboard.
#pragma once
#include <functional>

bool IsKeyDown(int VirtualKey);
inline bool IsCtrlDown() { return IsKeyDown(0x11 /* VK_CONTROL */); }
inline bool IsShiftDown() { return IsKeyDown(0x10 /* VK_SHIFT */); }
inline bool IsAltDown() { return IsKeyDown(0x12 /* VK_MENU */); }
// Replaces the keyboard for tests; an empty function gives the real keyboard back.
void SetKeyStateOverride(std::function<bool(int VirtualKey)> Override);
