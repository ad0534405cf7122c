#include "toolkit/ShortCut.h"
#include <windows.h>
#include "rtl/SysUtils.h"

TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
  if (Key > 0xFF) return scNone;
  TShortCut r = Key;
  if (Shift.Contains(TShift::ssShift)) r |= scShift;
  if (Shift.Contains(TShift::ssCtrl)) r |= scCtrl;
  if (Shift.Contains(TShift::ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift) {
  Key = ShortCut & ~(scShift | scCtrl | scAlt);
  Shift = {};
  if (ShortCut & scShift) Shift.Include(TShift::ssShift);
  if (ShortCut & scCtrl) Shift.Include(TShift::ssCtrl);
  if (ShortCut & scAlt) Shift.Include(TShift::ssAlt);
}

namespace {
std::string KeyName(uint16_t Key) {
  switch (Key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_ESCAPE: return "Esc";
    case VK_RETURN: return "Enter";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
  }
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return std::string(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F24) return "F" + std::to_string(Key - VK_F1 + 1);
  // Punctuation and the rest: the keyboard layout's own name for the key.
  wchar_t name[64] = {};
  UINT scan = MapVirtualKeyA(Key, MAPVK_VK_TO_VSC);
  if (scan != 0 && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0)
    return WideToAnsi(name);
  return "";
}
}  // namespace

std::string ShortCutToText(TShortCut ShortCut) {
  std::string name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return "";
  std::string r;
  if (ShortCut & scShift) r += "Shift+";
  if (ShortCut & scCtrl) r += "Ctrl+";
  if (ShortCut & scAlt) r += "Alt+";
  return r + name;
}
