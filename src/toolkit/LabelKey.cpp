#include "toolkit/LabelKey.h"
#include <windows.h>
#include <string>
#include "toolkit/KeyState.h"
#include "toolkit/MessageHook.h"
#include "toolkit/WinControl.h"

namespace {
// The key of the letter after the first single "&"; 0 for none.
WPARAM MnemonicKey(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] != '&') return LOBYTE(VkKeyScanA(Caption[i + 1]));
    ++i;
  }
  return 0;
}

struct THookTarget {
  TWinControl* Label;
  std::function<void()> Action;
};

BOOL CALLBACK HookChild(HWND Child, LPARAM Target) {
  const auto& target = *reinterpret_cast<const THookTarget*>(Target);
  TWinControl* label = target.Label;
  std::function<void()> action = target.Action;
  label->Make<TMessageHook>("", Child, [label, action](UINT Msg, WPARAM wParam, LPARAM,
                                                       LRESULT& Result) {
    // AltGr arrives as Ctrl and Alt: it types a character, it names no label.
    if ((Msg != WM_SYSKEYDOWN && Msg != WM_SYSCHAR) || IsCtrlDown()) return false;
    const WPARAM key = MnemonicKey(label->Caption());
    const WPARAM pressed = Msg == WM_SYSKEYDOWN ? wParam : LOBYTE(VkKeyScanA(static_cast<char>(wParam)));
    if (!key || pressed != key) return false;
    // The key itself goes on to the system, which then knows Alt was not pressed alone and
    // enters no menu mode when it is let go; the character that follows is swallowed, as
    // unanswered it beeps.
    if (Msg == WM_SYSKEYDOWN) {
      action();
      return false;
    }
    Result = 0;
    return true;
  });
  return TRUE;
}
}  // namespace

void MakeLabelKey(TWinControl& Label, TWinControl& Area, std::function<void()> Action) {
  THookTarget target{&Label, std::move(Action)};
  EnumChildWindows(Area.Handle(), HookChild, reinterpret_cast<LPARAM>(&target));
  // Asked by the system's dialog keys, a label would move the focus on by their own rule.
  Label.Make<TMessageHook>("", Label.Handle(), [](UINT Msg, WPARAM, LPARAM, LRESULT& Result) {
    if (Msg != WM_GETDLGCODE) return false;
    Result = 0;
    return true;
  });
}
