// The document frame's keyboard and mouse events: insert hot keys and text templates,
// closing brackets, entities for typed characters, the colour preview and the triple click.
#include <windows.h>
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/fMain.h"
#include "rtl/DateTimeFormat.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/KeyState.h"
#include "toolkit/Timer.h"

namespace {

enum class TInsertDate { None, Dated };

struct TInsertKey {
  const char* Name;
  const char* Prefix;
  const char* Suffix;
  TInsertDate Date;
};

// Compared in this order; the template key is handled apart.
constexpr TInsertKey kInsertKeys[] = {
    {"frmMain_frameEdit_BR", "<br>", "", TInsertDate::None},
    {"frmMain_frameEdit_BRCRLF", "<br>\r\n", "", TInsertDate::None},
    {"frmMain_frameEdit_P", "<p>", "</p>", TInsertDate::None},
    {"frmMain_frameEdit_PLUS", "[+] ", "", TInsertDate::None},
    {"frmMain_frameEdit_MUL", "[*] ", "", TInsertDate::None},
    {"frmMain_frameEdit_SUB", "[-] ", "", TInsertDate::None},
    {"frmMain_frameEdit_PLUSDATE", "[+] ", "", TInsertDate::Dated},
    {"frmMain_frameEdit_MULDATE", "[*] ", "", TInsertDate::Dated},
    {"frmMain_frameEdit_SUBDATE", "[-] ", "", TInsertDate::Dated},
    {"frmMain_frameEdit_NBSP", "&nbsp;", "", TInsertDate::None},
    {"frmMain_frameEdit_AMP", "&amp;", "", TInsertDate::None},
    {"frmMain_frameEdit_GT", "&gt;", "", TInsertDate::None},
    {"frmMain_frameEdit_LT", "&lt;", "", TInsertDate::None},
    {"frmMain_frameEdit_B", "<b>", "</b>", TInsertDate::None},
    {"frmMain_frameEdit_I", "<i>", "</i>", TInsertDate::None},
    {"frmMain_frameEdit_U", "<u>", "</u>", TInsertDate::None},
};
constexpr const char* kTemplateKey = "frmMain_frameEdit_TEMPLATE";

const std::string kSelection(1, '\0');  // InsertText's stand-in for the current selection

std::string Today() {
  return FormatDateTime("yyyy\"-\"mm\"-\"dd", ReadClock().Local,
                        GetLocaleFormatSettings(LOCALE_USER_DEFAULT));
}

bool Matches(TShortCut Pressed, const char* Name) {
  const TShortCut key = GetHotKey(Name);
  return key != scNone && key == Pressed;
}

// The entity a typed character becomes: the table's named or numeric one, else the numeric
// entity of its Unicode code point; empty when the code page does not define the character.
std::string EntityOf(unsigned char Code, bool Numeric) {
  const TSpecialCharRec& rec = SpecialCharsTable[Code];
  const std::string& chosen = Numeric ? rec.Number : rec.Name;
  if (!chosen.empty()) return chosen;
  if (!rec.Number.empty()) return rec.Number;
  const char c = static_cast<char>(Code);
  WCHAR wide = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &c, 1, &wide, 1) != 1) return {};
  return "&#" + IntToStr(wide) + ";";
}

}  // namespace

void TfraEdit::seEditKeyDown(TObject* /*Sender*/, WORD& Key, TShiftState Shift) {
  const TShortCut pressed = ShortCut(Key, Shift);
  if (pressed != scNone && RunInsertHotKey(pressed)) {
    Key = 0;
    // The character the keyboard made of this key (Shift+Enter, Ctrl+Space) is not typed.
    MSG typed;
    if (seEdit->HandleAllocated())
      PeekMessageA(&typed, seEdit->Handle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    return;
  }
  // Pressing Ctrl over a colour code shows its preview without moving the mouse.
  TBufferCoord pos;
  if (!pnlColor->Visible() && IsCtrlDown() && seEdit->GetPositionOfMouse(pos))
    PreviewColorAt(pos, lastMouse_.x, lastMouse_.y);
}

bool TfraEdit::RunInsertHotKey(TShortCut Key) {
  for (const TInsertKey& entry : kInsertKeys) {
    if (!Matches(Key, entry.Name)) continue;
    std::string prefix = entry.Prefix;
    if (entry.Date == TInsertDate::Dated) prefix += Today() + ": ";
    InsertText(prefix, kSelection, entry.Suffix);
    return true;
  }
  if (!Matches(Key, kTemplateKey)) return false;
  if (FrameCommands.OnTemplateKey) FrameCommands.OnTemplateKey(*this);
  return true;
}

void TfraEdit::seEditKeyPress(TObject* /*Sender*/, char& Key) {
  const unsigned char code = static_cast<unsigned char>(Key);
  if (Settings.Editor.BracketsAuto && Key != '\0') {
    const size_t at = Settings.Editor.BracketsAutoStart.find(Key);
    if (at != std::string::npos && at < Settings.Editor.BracketsAutoClose.size())
      InsertText("", kSelection, std::string(1, Settings.Editor.BracketsAutoClose[at]));
  }
  if (DocInfo.ReplaceHtmlNamedChars && code >= 128) {
    const std::string entity = EntityOf(code, Settings.Editor.ReplaceHtmlNamedCharsUnicode);
    if (!entity.empty()) {
      InsertText(entity, kSelection, "");
      Key = '\0';
    }
  }
  if (Key != '\0' && seEdit->Font().Charset() == OEM_CHARSET) Key = AnsiToOem(std::string(1, Key))[0];
}

void TfraEdit::seEditKeyUp(TObject* /*Sender*/, WORD& /*Key*/, TShiftState /*Shift*/) {
  if (!IsCtrlDown()) pnlColor->SetVisible(false);
}

// ---- Colour preview -----------------------------------------------------------------------

void TfraEdit::seEditMouseMove(TObject* /*Sender*/, TShiftState /*Shift*/, int X, int Y) {
  lastMouse_ = {X, Y};
  if (!IsCtrlDown()) {
    pnlColor->SetVisible(false);
    return;
  }
  PreviewColorAt(seEdit->DisplayToBufferPos(seEdit->PixelsToRowColumn(X, Y)), X, Y);
}

void TfraEdit::PreviewColorAt(const TBufferCoord& Pos, int X, int Y) {
  TColor color = 0;
  if (HtmlColorToColor(AnsiUpperCase(seEdit->GetWordAtRowCol(Pos)), color))
    ShowColorPreview(color, X, Y);
  else
    pnlColor->SetVisible(false);
}

void TfraEdit::ShowColorPreview(TColor Color, int X, int Y) {
  if (shpColor->Color() != Color) shpColor->SetColor(Color);
  lblColorWebSave->SetCaption(IsWebSafeColor(Color)
                                  ? GetLangText("Main|EditColorWebSave", "Websicher")
                                  : GetLangText("Main|EditColorNotWebSave", "Nicht websicher"));
  pnlColor->SetBounds(seEdit->Left() + X - pnlColor->Width() / 2 + 1, seEdit->Top() + Y + 10,
                      pnlColor->Width(), pnlColor->Height());
  pnlColor->SetVisible(true);
  BringWindowToTop(pnlColor->Handle());
}

// ---- Triple click -------------------------------------------------------------------------

void TfraEdit::seEditDblClick(TObject* /*Sender*/) {
  dblClickTick_ = TickCount();
  dblClickCaret_ = seEdit->CaretXY();
  tripleClickDeadline_.reset();
}

void TfraEdit::seEditMouseUp(TObject* /*Sender*/, TMouseButton /*Button*/, TShiftState /*Shift*/,
                             int /*X*/, int /*Y*/) {
  if (!dblClickTick_) return;
  tripleClickDeadline_ = TickCount() + GetDoubleClickTime();
  dblClickTick_.reset();
}

void TfraEdit::seEditClick(TObject* /*Sender*/) {
  // Compared as a difference, so the deadline holds across the clock's wrap-around.
  if (tripleClickDeadline_ && static_cast<int32_t>(*tripleClickDeadline_ - TickCount()) >= 0 &&
      seEdit->CaretY() == dblClickCaret_.Line)
    tmrTripleClick->SetEnabled(true);
  dblClickTick_.reset();
  tripleClickDeadline_.reset();
}

void TfraEdit::tmrTripleClickTimer(TObject* /*Sender*/) {
  tmrTripleClick->SetEnabled(false);
  seEdit->CommandProcessor(ecLineStart, '\0', nullptr);
  seEdit->CommandProcessor(ecSelLineEnd, '\0', nullptr);
}
