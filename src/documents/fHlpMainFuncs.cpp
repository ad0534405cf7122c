#include "documents/fHlpMainFuncs.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdint>
#include "documents/MainWindowParts.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

namespace {

constexpr int OemCharset = 255;

// The page control has no properties for these, so its tab-control styles are set directly.
void ApplyTabSettings(TPageControl* Pages) {
  if (!Pages || !Pages->HandleAllocated()) return;
  HWND wnd = Pages->Handle();
  LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  LONG_PTR wanted = style & ~static_cast<LONG_PTR>(TCS_BOTTOM | TCS_MULTILINE);
  if (Settings.Editor.TabPosition == 1) wanted |= TCS_BOTTOM;
  if (Settings.Editor.TabMultiLine) wanted |= TCS_MULTILINE;
  if (wanted == style) return;
  SetWindowLongPtrA(wnd, GWL_STYLE, wanted);
  // The pages' area depends on where the tabs are: lay them out again.
  RECT r;
  GetClientRect(wnd, &r);
  SendMessageA(wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
  Pages->Invalidate();
}

void SetOption(TCodeEditorOptions& Options, TCodeEditorOption Option, bool On) {
  if (On)
    Options.Include(Option);
  else
    Options.Exclude(Option);
}

void SetEditorFonts(TCustomCodeEdit& Editor, bool Oem) {
  const TEditorSettings& s = Settings.Editor;
  TFont font;
  font.Assign(Editor.Font());
  font.SetCharset(Oem ? OemCharset : s.AnsiFontCharset);
  font.SetName(Oem ? s.AsciiFontName : s.AnsiFontName);
  font.SetSize(Oem ? s.AsciiFontSize : s.AnsiFontSize);
  Editor.SetFont(font);
  TFont gutterFont;
  gutterFont.Assign(Editor.Gutter().Font());
  gutterFont.SetCharset(font.Charset());
  gutterFont.SetName(font.Name());
  gutterFont.SetSize(font.Size());
  Editor.Gutter().SetFont(gutterFont);
}

// "END" or a number, 1 when the value is neither.
int SwitchValue(const std::string& Name, int EndValue) {
  const std::string value = UpperCase(GetCmdSwitchValue(Name, false));
  if (value == "END") return EndValue;
  return StrToIntDef(value, 1);
}

}  // namespace

bool CanWriteDocument(const TCustomCodeEdit* Editor) { return Editor && !Editor->ReadOnly(); }

void ApplySettings(TCustomCodeEdit* Editor) {
  THourglass hourglass;
  ApplyTabSettings(frmMain ? frmMain->pcEdit : nullptr);
  if (!Editor) return;
  const TEditorSettings& s = Settings.Editor;
  Editor->SetWordWrap(s.WordWrap);
  TCodeEditorOptions options = Editor->Options();
  using O = TCodeEditorOption;
  SetOption(options, O::eoShowSpecialChars, s.ShowSpecialChars);
  SetOption(options, O::eoTabsToSpaces, s.TabsToSpaces);
  SetOption(options, O::eoSmartTabs, s.SmartTabs);
  SetOption(options, O::eoAutoIndent, s.AutoIndent);
  SetOption(options, O::eoTabIndent, s.TabIndent);
  SetOption(options, O::eoScrollPastEol, s.ScrollPastEOL);
  SetOption(options, O::eoScrollPastEof, s.ScrollPastEOF);
  SetOption(options, O::eoTrimTrailingSpaces, s.TrimTrailingSpaces);
  SetOption(options, O::eoAltSetsColumnMode, s.SelectBlockWithAlt);
  SetOption(options, O::eoEnhanceHomeKey, s.EnhanceHomeEndKey);
  SetOption(options, O::eoEnhanceEndKey, s.EnhanceHomeEndKey);
  Editor->SetOptions(options);
  Editor->Gutter().SetVisible(s.ShowGutter);
  Editor->Gutter().SetShowLineNumbers(s.ShowLineNumbers);
  Editor->SetRightEdge(s.RightEdge);
  Editor->SetExtraLineSpacing(s.ExtraLineSpacing);
  Editor->SetTabWidth(s.TabWidth);
  SetEditorFonts(*Editor, s.UseAsciiFont);
  Editor->SetActiveLineColor(s.ActiveLineMark ? s.ActiveLineColor : clNone);
  ApplyEditorHotKeys(Editor);
  Editor->Invalidate();
}

void ApplyEditorFont(bool Oem, TCustomCodeEdit* Editor) {
  if (!Editor) return;
  SetEditorFonts(*Editor, Oem);
  if (!Oem || !frmMain) return;
  // The special-character glyphs of the ANSI font mean nothing in the OEM font: switch them off.
  if (TMenuItem* item = frmMain->Find<TMenuItem>("mnuViewSpecialChars")) {
    item->SetChecked(true);
    item->Click();
  }
}

TfraEdit* GetSheetFrame(TTabSheet* Sheet) {
  return Sheet ? dynamic_cast<TfraEdit*>(Sheet->FindComponent("fraEdit")) : nullptr;
}

void ParseCommandLineSwitches() {
  Settings.ParamML = HasCmdSwitch("ML", false);
  Settings.ParamLock = HasCmdSwitch("LOCK", false);
  Settings.ParamNoSplash = HasCmdSwitch("NOSPLASH", false);
}

void ApplyCommandLineSwitches(TfraEdit* Frame) {
  if (!Frame || !Frame->seEdit) return;
  TCodeEdit& editor = *Frame->seEdit;
  if (HasCmdSwitch("POS", false)) {
    const int length = static_cast<int>(std::min<int64_t>(editor.TextLength(), INT32_MAX));
    int pos = SwitchValue("POS", length);
    if (pos > length)
      pos = length;
    else if (pos < -length)
      pos = 0;
    else if (pos < 0)
      pos += length;
    editor.SetSelStart(pos);
    editor.EnsureCursorPosVisible();
  }
  if (HasCmdSwitch("LN", false)) {
    // An empty document still has its first line to go to.
    const int count = std::max(editor.Lines().Count(), 1);
    int line = SwitchValue("LN", count);
    if (line > count)
      line = count;
    else if (line == 0 || line < 1 - count)
      line = 1;
    else if (line < 0)
      line += count;
    const int lineLength = line <= editor.Lines().Count()
                               ? static_cast<int>(editor.Lines()[line - 1].size())
                               : 0;
    editor.SetCaretXY({lineLength + 1, line});
    editor.EnsureCursorPosVisible();
  }
  if (Settings.ParamLock) editor.SetReadOnly(true);
  UpdateCaption();
}
