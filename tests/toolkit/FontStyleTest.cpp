// Controls that show their form's font in a style of their own.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace {
LOGFONTA ShownFont(const TWinControl& Control) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}
}  // namespace

TEST(FontStyle, AStyledControlKeepsItsStyleInEveryFontItsFormGivesIt) {
  TForm form(nullptr, {"Schrift", 300, 200});
  auto* label = form.Make<TLabel>("lblTitle", &form, 8, 8, 200, 16);
  auto* field = form.Make<TEdit>("txtHotKeyAct", &form, 8, 30, 200, 21, ES_READONLY);
  auto* plain = form.Make<TEdit>("txtHotKeyDef", &form, 8, 60, 200, 21, ES_READONLY);
  field->SetFontStyle({TFontStyle::fsBold});  // before the form's font is set
  label->SetFontStyle({TFontStyle::fsUnderline, TFontStyle::fsItalic});
  for (const char* face : {"Tahoma", "Arial"}) {
    form.Font().SetName(face);
    form.Font().SetSize(12);
    SCOPED_TRACE(face);
    EXPECT_EQ(std::string(ShownFont(*field).lfFaceName), face);
    EXPECT_EQ(ShownFont(*field).lfHeight, ShownFont(*plain).lfHeight);
    EXPECT_EQ(ShownFont(*field).lfWeight, FW_BOLD);
    EXPECT_LT(ShownFont(*plain).lfWeight, FW_BOLD);
    EXPECT_TRUE(ShownFont(*label).lfUnderline && ShownFont(*label).lfItalic);
    EXPECT_LT(ShownFont(*label).lfWeight, FW_BOLD);
  }
  // Styles taken away again leave the form's font as it is.
  field->SetFontStyle({});
  EXPECT_LT(ShownFont(*field).lfWeight, FW_BOLD);
  EXPECT_EQ(std::string(ShownFont(*field).lfFaceName), "Arial");
}

namespace {
class TPaintCountingLabel : public TLabel {
public:
  using TLabel::TLabel;
  int paints = 0;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override {
    if (Msg == WM_PAINT) ++paints;
    return TLabel::WndProc(Msg, wParam, lParam);
  }
};
}  // namespace

// A hidden form only takes the font; a shown one repaints its controls in it at once.
TEST(FontStyle, AShownFormRepaintsItsControlsInANewFont) {
  TForm form(nullptr, {"Schrift", 300, 200});
  TPaintCountingLabel label(nullptr, &form, 8, 8, 200, 16);
  label.SetCaption("Beispiel");
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown);
    ShowWindow(form.Handle(), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    UpdateWindow(form.Handle());
    label.paints = 0;
    form.Font().SetName(shown ? "Arial" : "Tahoma");
    UpdateWindow(form.Handle());
    EXPECT_EQ(std::string(ShownFont(label).lfFaceName), shown ? "Arial" : "Tahoma");
    EXPECT_EQ(label.paints > 0, shown);
  }
}
