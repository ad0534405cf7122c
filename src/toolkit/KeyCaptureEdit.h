// A one-line field that gets every key first (Tab, Enter, Escape, Alt, F10), so a key press
// can be turned into a key text instead of moving the focus or opening a menu.
#pragma once
#include <functional>
#include "toolkit/Controls.h"
#include "toolkit/ShortCut.h"

class TMessageHook;

class TKeyCaptureEdit : public TEdit {
public:
  TKeyCaptureEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);

  // Key down and up with the modifiers held (system keys included); no character ever
  // reaches the field.
  std::function<void(TObject* Sender, WORD Key, TShiftState Shift)> OnKeyDown;
  std::function<void(TObject* Sender, WORD Key, TShiftState Shift)> OnKeyUp;
  // While set, Tab without a modifier leaves the field for the next control instead of being
  // recorded: the way out once a key is recorded.
  void SetTabMovesOn(bool On) { tabMovesOn_ = On; }

private:
  bool HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result);
  bool MovesOn(LPARAM DlgCodeMessage) const;
  TMessageHook* hook_ = nullptr;
  bool tabMovesOn_ = false;
};
