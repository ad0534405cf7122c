// The parts of the main window built from settings and folders: the external-program menu,
// the rule-file highlighter items and the character-properties page.
#include <algorithm>
#include <memory>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

TNotifyEvent AppListItemClick;
TNotifyEvent HighlighterItemClick;

namespace {

// The syntax menu's own items (built-in highlighters and separators) come first.
constexpr int FixedSyntaxItems = 10;
constexpr int HighlighterTagBase = 10;

TShortCut AppListShortCut(const std::string& KeyNumber) {
  const int n = StrToIntDef(KeyNumber, 0);
  if (n >= 1 && n <= 9) return ShortCut(uint16_t(VK_F1 + n - 1), {TShift::ssCtrl});
  if (n >= 10 && n <= 18)
    return ShortCut(uint16_t(VK_F1 + n - 10), {TShift::ssShift, TShift::ssCtrl});
  return scNone;
}

TMenuItem* MainMenuItem(const std::string& Name) {
  return frmMain ? frmMain->Find<TMenuItem>(Name) : nullptr;
}

void SetText(const std::string& Control, const std::string& Text) {
  if (TWinControl* c = frmMain->Find<TWinControl>(Control)) c->SetCaption(Text);
}

// One character's five fields: the character, decimal, hexadecimal, octal and binary.
void ShowCharacter(const std::string& Prefix, bool Present, unsigned char Code) {
  const char* const fields[] = {"Char", "Code", "Hex", "Octal", "Binary"};
  const std::string values[] = {
      std::string(1, static_cast<char>(Code)), std::to_string(Code), IntToHex(Code, 2),
      Code == 0 ? std::string("0") : IntToOct(Code),
      StrToBin(std::string(1, static_cast<char>(Code)))};
  for (int i = 0; i < 5; ++i) SetText(Prefix + fields[i], Present ? values[i] : std::string());
}

}  // namespace

void BuildAppListMenu() {
  TMenuItem* apps = MainMenuItem("mnuExtrasApps");
  if (!apps) return;
  apps->Clear();
  if (Settings.AppList.Count() == 0) {
    apps->SetEnabled(false);
    return;
  }
  for (int i = 0; i < Settings.AppList.Count(); ++i) {
    const std::string entry = Settings.AppList[i];
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(GetToken(entry, "\x01", 1));
    item->SetShortCut(AppListShortCut(GetToken(entry, "\x01", 5)));
    item->SetTag(i);
    item->SetImageIndex(GetFileIconIndex(ExpandEnvVars(GetToken(entry, "\x01", 2), false), true));
    item->SetVisible(true);
    item->OnClick = [](TObject* Sender) {
      if (AppListItemClick) AppListItemClick(Sender);
    };
    apps->Add(std::move(item));
  }
  apps->SetEnabled(true);
}

void LoadHighlighterList() {
  TMenuItem* syntax = MainMenuItem("mnuViewSyntax");
  if (!syntax) return;
  while (syntax->Count() > FixedSyntaxItems) syntax->Delete(FixedSyntaxItems);
  TStringList files;
  ListFiles(Settings.AppDir + "Highlighters\\", "*.hgl", files);
  TStringList names;
  for (int i = 0; i < files.Count(); ++i) names.Add(ExtractFileName(files[i]));
  names.Sort();
  // New items join the radio group of the built-in highlighters.
  const int group = syntax->Count() > 0 ? syntax->Items(0)->GroupIndex() : 0;
  for (int i = 0; i < names.Count(); ++i) {
    const std::string name = names[i];
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(EscapeCaption(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0)));
    item->SetRadioItem(true);
    item->SetGroupIndex(group);
    item->SetTag(HighlighterTagBase + i);
    item->SetImageIndex(-1);
    item->SetVisible(true);
    item->OnClick = [](TObject* Sender) {
      if (HighlighterItemClick) HighlighterItemClick(Sender);
    };
    syntax->Add(std::move(item));
  }
}

void UpdateCharProperties() {
  if (!frmMain || !frmMain->pcBottom || !frmMain->pcBottom->Visible()) return;
  TTabSheet* page = frmMain->pcBottom->ActivePage();
  TCodeEdit* editor = GetActiveEditor();
  if (!page || page->Name() != "tabCharProps" || !editor) return;
  // The caret beyond the end of its line stands at the line break.
  const TBufferCoord caret = editor->CaretXY();
  const int lineCount = editor->Lines().Count();
  const std::string line =
      caret.Line >= 1 && caret.Line <= lineCount ? editor->Lines()[caret.Line - 1] : "";
  const size_t x = std::min<size_t>(caret.Char > 0 ? caret.Char - 1 : 0, line.size());
  const bool lastLine = caret.Line >= lineCount;
  if (x < line.size())
    ShowCharacter("txtA", true, static_cast<unsigned char>(line[x]));
  else
    ShowCharacter("txtA", !lastLine, '\r');
  if (x > 0)
    ShowCharacter("txtB", true, static_cast<unsigned char>(line[x - 1]));
  else
    ShowCharacter("txtB", caret.Line > 1, '\n');
}
