// Tooltips that show the hints of a form's controls while the mouse rests on them, and one
// shown on request for what the keyboard chose.
#pragma once
#include <string>
#include "toolkit/Form.h"

class THintWindow : public TComponent {
public:
  // Owner is the form whose controls get tooltips.
  explicit THintWindow(TComponent* Owner);
  ~THintWindow() override;
  THintWindow(const THintWindow&) = delete;
  THintWindow& operator=(const THintWindow&) = delete;

  // Takes the present hints of the form's controls; call it again after they change.
  // A control with an empty hint has no tooltip.
  void Update();
  // The tooltip text shown for a control; empty when it has none.
  std::string TipOf(const TWinControl& Control) const;

  // Shows Text at once below Area (screen coordinates), for what the keyboard chose, where
  // no mouse rests; it stays until HideTip.
  void ShowTip(const RECT& Area, const std::string& Text);
  void HideTip();
  // The text ShowTip shows now; empty while none shows.
  std::string ShownTip() const;

private:
  HWND tip_ = nullptr;
  bool tracking_ = false;  // the tool ShowTip uses is added
  bool shown_ = false;
};
