// Extra handling of one window's messages, for system controls whose toolkit class does not
// offer an event (keys in an edit field, its colour, a page being resized).
#pragma once
#include <windows.h>
#include <functional>
#include <vector>
#include "toolkit/Component.h"
#include "toolkit/ShortCut.h"

class TMessageHook : public TComponent {
public:
  // Return true when the message is handled; Result is then the window's answer and the
  // control never sees the message.
  using THandler = std::function<bool(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)>;

  // Hooks Wnd (nothing for none) until this object or the window goes.
  TMessageHook(TComponent* Owner, HWND Wnd, THandler Handler);
  ~TMessageHook() override;

private:
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT_PTR Id,
                               DWORD_PTR Self);
  HWND wnd_;
  THandler handler_;
};

// Key events of a window: Key set to 0 swallows the key.
using TControlKeyDown = std::function<void(WORD& Key, TShiftState Shift)>;
using TControlKeyPress = std::function<void(char& Key)>;
// Hooks the key messages of Wnd; either event may be empty. Owner frees the hook.
TMessageHook* HookKeys(TComponent* Owner, HWND Wnd, TControlKeyDown OnKeyDown,
                       TControlKeyPress OnKeyPress);
// The modifier keys held now (through the keyboard seam).
TShiftState KeyboardShiftState();
// Keys a dialog takes for itself (Enter for its default button, Escape for Cancel, Tab and the
// arrows for the focus) reach Wnd and its key events instead, for a field that gives them a
// meaning of its own. Owner frees the hook.
TMessageHook* TakeDialogKeys(TComponent* Owner, HWND Wnd, std::vector<WORD> Keys);

// The background of one edit field in a colour of its own, answered to the colour question
// its parent window gets; without a colour the parent answers as before.
class TEditBackground : public TMessageHook {
public:
  TEditBackground(TComponent* Owner, HWND Edit);
  ~TEditBackground() override;
  // CLR_INVALID for the normal colour; the field is repainted.
  void SetColor(COLORREF Color);
  COLORREF Color() const { return color_; }

private:
  HWND edit_;
  COLORREF color_ = CLR_INVALID;
  HBRUSH brush_ = nullptr;
};
