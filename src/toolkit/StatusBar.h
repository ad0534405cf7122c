// The status line at the bottom of a form, divided into panels with texts.
#pragma once
#include <string>
#include <vector>
#include "toolkit/WinControl.h"

class TStatusBar : public TWinControl {
public:
  // Aligned to the bottom of Parent.
  TStatusBar(TComponent* Owner, TWinControl* Parent);

  // A panel Width pixels wide; -1 takes the rest of the bar. Returns its index.
  int AddPanel(int Width);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  // Texts of panels that do not exist are empty and cannot be set. A panel of fixed width
  // grows to show the whole of a text set.
  std::string PanelText(int Index) const;
  void SetPanelText(int Index, const std::string& Text);
  int PanelWidth(int Index) const;
  void SetPanelWidth(int Index, int Width);
  // Paints changed panels now rather than when the message queue gets to it.
  void Update();

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  struct Panel {
    int width;
    std::string text;
  };
  void ApplyParts();
  int FittingWidth(const std::string& Text) const;

  std::vector<Panel> panels_;
  bool measured_ = false;
};
