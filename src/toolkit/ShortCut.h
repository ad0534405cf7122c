// Modifier-key sets and shortcut values (key code plus 8192 Shift, 16384 Ctrl, 32768 Alt).
#pragma once
#include <cstdint>
#include <string>
#include "rtl/Set.h"

enum class TShift { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShift>;

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// Only Shift, Ctrl and Alt of the state count; a key code above 255 gives 0 (no shortcut).
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift);
// "Shift+Ctrl+Z", "Alt+BkSp", "F1"; empty for 0.
std::string ShortCutToText(TShortCut ShortCut);
