// The options dialog's lists: text templates, file types and external programs.
#include <algorithm>
#include "commands/Templates.h"
#include "dialogs/formSettings.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/EditListView.h"
#include "toolkit/KeyState.h"
#include "toolkit/PageControl.h"

namespace {
struct TSyntaxName {
  const char* Identifier;
  const char* Key;
  const char* German;
};
const TSyntaxName kSyntaxNames[] = {
    {":NONE:", "FilterSyntaxNone", "Keine"},
    {":URI:", "FilterSyntaxDefault", "Standard (nur URIs hervorheben)"},
    {":WebMixed:", "FilterSyntaxWeb", "Web-Seiten (gemischt)"},
    {":HTML:", "FilterSyntaxHTML", "HTML (Hypertext Markup Language)"},
    {":PHP:", "FilterSyntaxPHP", "PHP (HTML Preprocessor)"},
    {":CSS:", "FilterSyntaxCSS", "CSS (Cascading Stylesheet)"},
    {":JS:", "FilterSyntaxJS", "JS (JavaScript)"},
    {":VBS:", "FilterSyntaxVBS", "VBS (VBScript)"}};

std::string T(const std::string& Name, const std::string& German) {
  return GetLangText("Settings|" + Name, German);
}
std::string DisplayOf(const TSyntaxName& S) { return T(S.Key, S.German); }

std::vector<std::string> Fields(const std::string& Text, char Separator, size_t Count) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t end = Text.find(Separator, start);
    out.push_back(Text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  out.resize(std::max(out.size(), Count));
  return out;
}

std::string WithoutBars(const std::string& Text) {
  std::string out;
  for (char c : Text)
    if (c != '|') out += c;
  return out;
}

const std::string kTemplateChars = "abcdefghijklmnopqrstuvwxyz\xE4\xF6\xFC\xDF" "0123456789";
}  // namespace

std::string SyntaxDisplayName(const std::string& Identifier) {
  for (const auto& s : kSyntaxNames)
    if (Identifier == s.Identifier) return DisplayOf(s);
  return Identifier;
}

std::string SyntaxIdentifier(const std::string& DisplayName) {
  for (const auto& s : kSyntaxNames)
    if (DisplayName == DisplayOf(s)) return s.Identifier;
  return DisplayName;
}

std::string AppStyleText(const std::string& StyleField) {
  if (StyleField == "1") return T("AppStyleMax", "Maximiert");
  if (StyleField == "2") return T("AppStyleMin", "Minimiert");
  return T("AppStyleNorm", "Normal");
}

std::string AppShortcutText(const std::string& ShortcutField) {
  int n = StrToIntDef(ShortcutField, -1);
  if (n >= 1 && n <= 9) return "Ctrl + F" + std::to_string(n);
  if (n >= 10 && n <= 18) return "Shift + Ctrl + F" + std::to_string(n - 9);
  return "";
}

int AppStyleNumber(const std::string& StyleText) {
  if (StyleText == T("AppStyleMax", "Maximiert")) return 1;
  if (StyleText == T("AppStyleMin", "Minimiert")) return 2;
  return 0;
}

int AppShortcutNumber(const std::string& ShortcutText) {
  if (ShortcutText.empty()) return 0;
  unsigned char last = ShortcutText.back();
  int digit = last >= '0' && last <= '9' ? last - '0' : 0;
  if (digit == 0) return 0;
  return (ShortcutText.rfind("Shift + Ctrl + F", 0) == 0 ? 9 : 0) + digit;
}

std::string ValidTemplateName(const std::string& Answer, bool& Valid) {
  std::string name = AnsiLowerCase(Answer);
  Valid = !name.empty() && name.find_first_not_of(kTemplateChars) == std::string::npos;
  return name;
}

// ---- Page building -------------------------------------------------------------------------

void TfrmSettings::BuildTemplatesPage(TTabSheet* Page) {
  Make<TLabel>("lblTemplates", Page, 8, 11, 60, 16)->SetCaption(T("lblTemplates", "Vorlage:"));
  cmbTemplates = Make<TComboBox>("cmbTemplates", Page, 70, 8, 250, 200);
  cmbTemplates->OnClick = [this](TObject*) { cmbTemplatesClick(); };
  const std::tuple<const char*, const char*, void (TfrmSettings::*)()> buttons[] = {
      {"tbTemplateNew", "Neu...", &TfrmSettings::tbTemplateNewClick},
      {"tbTemplateRename", "Umbenennen...", &TfrmSettings::tbTemplateRenameClick},
      {"tbTemplateDelete", "L\xF6schen", &TfrmSettings::tbTemplateDeleteClick}};
  int x = 330;
  for (const auto& [name, caption, handler] : buttons) {
    auto* b = Make<TButton>(name, Page, x, 7, 90, 23);
    b->SetCaption(T(name, caption));
    b->OnClick = [this, handler](TObject*) { (this->*handler)(); };
    x += 96;
  }
  Make<TLabel>("lblTemplateMenu", Page, 8, 43, 60, 16)->SetCaption(T("lblTemplateMenu", "Men\xFCtext:"));
  auto* menu = Make<TFieldEdit>("txtTemplateMenu", Page, 70, 40, 350, 20);
  SendMessageA(menu->Handle(), EM_LIMITTEXT, 64, 0);
  menu->OnExit = [this, menu](TObject*) { TemplateFieldExit("MenuText", *menu); };
  const std::pair<const char*, const char*> memos[] = {
      {"Before", "Vor dem Cursor:"}, {"Select", "Als Auswahl:"}, {"After", "Nach dem Cursor:"}};
  int y = 68;
  for (const auto& [field, caption] : memos) {
    std::string name = std::string("txtTemplate") + field;
    Make<TLabel>("lblTemplate" + std::string(field), Page, 8, y, 200, 16)
        ->SetCaption(T("lblTemplate" + std::string(field), caption));
    auto* memo = Make<TFieldEdit>(name, Page, 8, y + 17, 612, 80,
                                  ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL);
    std::string f = field;
    memo->OnExit = [this, memo, f](TObject*) { TemplateFieldExit(f, *memo); };
    y += 100;
  }
}

void TfrmSettings::BuildFilterPage(TTabSheet* Page) {
  lvFilters = Make<TEditListView>("lvFilters", Page, 8, 8, 612, 230);
  lvFilters->AddColumn(T("lvFiltersName", "Name"), 175);
  lvFilters->AddColumn(T("lvFiltersFilter", "Filter"), 230);
  lvFilters->AddColumn(T("lvFiltersDefault", "Standard"), 75);
  lvFilters->AddColumn(T("lvFiltersSyntax", "Syntax"), 125);
  lvFilters->OnSelectItem = [this](TObject*, TListItem*, bool) { lvFiltersSelect(); };
  lvFilters->OnEdited = [this](TListItem* Row, std::string& Text) {
    Text = WithoutBars(Text);
    return RenameRow(*lvFilters, *Row, Text, FocusOn("btnCancel"));
  };
  lvFilters->OnKeyDown = [this](WORD Key) {
    if (IsCtrlDown() && (Key == VK_UP || Key == VK_DOWN)) MoveFilter(Key == VK_UP ? -1 : 1);
  };
  const std::pair<const char*, const char*> fields[] = {
      {"FilterName", "Name:"}, {"FilterFilter", "Filter:"}, {"FilterDefault", "Standard:"}};
  int y = 248;
  for (int i = 0; i < 3; ++i) {
    std::string name = fields[i].first;
    Make<TLabel>("lbl" + name, Page, 8, y + 3, 70, 16)->SetCaption(T("lbl" + name, fields[i].second));
    auto* edit = Make<TFieldEdit>("txt" + name, Page, 80, y, 300, 20);
    edit->OnExit = WhenLeft([this, edit, i](bool Quiet) { FilterFieldExit(i, *edit, Quiet); });
    y += 25;
  }
  Make<TLabel>("lblFilterSyntax", Page, 8, y + 3, 70, 16)->SetCaption(T("lblFilterSyntax", "Syntax:"));
  auto* syntax = Make<TComboBox>("cmbFilterSyntax", Page, 80, y, 300, 200);
  syntax->OnClick = [this](TObject*) { cmbFilterSyntaxChange(); };
  const std::tuple<const char*, const char*, std::function<void()>> buttons[] = {
      {"tbFilterAdd", "Neu", [this] { tbFilterAddClick(); }},
      {"tbFilterRemove", "Entfernen", [this] { tbFilterRemoveClick(); }},
      {"tbFilterUp", "Nach oben", [this] { MoveFilter(-1); }},
      {"tbFilterDown", "Nach unten", [this] { MoveFilter(1); }},
      {"tbFilterSort", "Sortieren", [this] { tbFilterSortClick(); }}};
  y = 248;
  for (const auto& [name, caption, handler] : buttons) {
    auto* b = Make<TButton>(name, Page, 400, y, 100, 22);
    b->SetCaption(T(name, caption));
    b->OnClick = [handler](TObject*) { handler(); };
    y += 24;
  }
}

void TfrmSettings::BuildAppsPage(TTabSheet* Page) {
  lvApps = Make<TEditListView>("lvApps", Page, 8, 8, 612, 210);
  lvApps->AddColumn(T("lvAppsName", "Name"), 150);
  lvApps->AddColumn(T("lvAppsPath", "Dateiname"), 240);
  lvApps->AddColumn(T("lvAppsArgs", "Argumente"), 65);
  lvApps->AddColumn(T("lvAppsStyle", "Fenster"), 60);
  lvApps->AddColumn(T("lvAppsShortcut", "Shortcut"), 92);
  lvApps->OnSelectItem = [this](TObject*, TListItem*, bool) { lvAppsSelect(); };
  lvApps->OnEdited = [this](TListItem* Row, std::string& Text) {
    return RenameRow(*lvApps, *Row, Text, FocusOn("btnCancel"));
  };
  const std::pair<const char*, const char*> fields[] = {
      {"AppName", "Name:"}, {"AppPath", "Dateiname:"}, {"AppArgs", "Argumente:"}};
  int y = 226;
  for (int i = 0; i < 3; ++i) {
    std::string name = fields[i].first;
    Make<TLabel>("lbl" + name, Page, 8, y + 3, 70, 16)->SetCaption(T("lbl" + name, fields[i].second));
    auto* edit = Make<TFieldEdit>("txt" + name, Page, 80, y, 300, 20);
    edit->OnExit = WhenLeft([this, edit, i](bool Quiet) { AppFieldExit(i, *edit, Quiet); });
    y += 25;
  }
  auto* pick = Make<TButton>("btnAppPathSel", Page, 384, 251, 24, 20);
  pick->SetCaption("...");
  pick->OnClick = [this](TObject*) { btnAppPathSelClick(); };
  Make<TLabel>("lblAppStyle", Page, 8, y + 3, 70, 16)->SetCaption(T("lblAppStyle", "Fenster:"));
  auto* style = Make<TComboBox>("cmbAppStyle", Page, 80, y, 140, 100);
  for (const char* s : {"0", "1", "2"}) style->AddItem(AppStyleText(s));
  style->OnClick = [this](TObject*) { cmbAppStyleChange(); };
  y += 25;
  Make<TLabel>("lblShortcut", Page, 8, y + 3, 70, 16)->SetCaption(T("lblShortcut", "Shortcut:"));
  auto* keys = Make<TComboBox>("cmbShortcut", Page, 80, y, 140, 300);
  keys->AddItem(T("cmbShortcutNone", "(keiner)"));
  for (int i = 1; i <= 18; ++i) keys->AddItem(AppShortcutText(std::to_string(i)));
  keys->OnClick = [this](TObject*) { cmbShortcutChange(); };
  y = 226;
  for (const auto& [name, caption, add] : {std::tuple{"tbAppAdd", "Neu", true},
                                           std::tuple{"tbAppRemove", "Entfernen", false}}) {
    auto* b = Make<TButton>(name, Page, 420, y, 100, 22);
    b->SetCaption(T(name, caption));
    b->OnClick = [this, add = add](TObject*) { add ? tbAppAddClick() : tbAppRemoveClick(); };
    y += 24;
  }
}

// ---- Loading and storing the lists ---------------------------------------------------------

void TfrmSettings::LoadLists() {
  for (int i = 0; i < Settings.AppList.Count(); ++i) {
    auto f = Fields(Settings.AppList.Strings(i), '\x01', 5);
    TListItem* row = lvApps->AddItem(f[0]);
    row->AddSubItem(f[1]);
    row->AddSubItem(f[2]);
    row->AddSubItem(AppStyleText(f[3]));
    row->AddSubItem(AppShortcutText(f[4]));
  }
  auto* syntax = Ctl<TComboBox>("cmbFilterSyntax");
  for (const auto& s : kSyntaxNames) syntax->AddItem(DisplayOf(s));
  TStringList rules;
  ListFiles(Settings.AppDir + "Highlighters\\", "*.hgl", rules);
  std::vector<std::string> names;
  for (int i = 0; i < rules.Count(); ++i) {
    std::string name = ExtractFileName(rules.Strings(i));
    names.push_back(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  for (const auto& n : names) syntax->AddItem(n);
  for (int i = 0; i < Settings.FileTypes.Count(); ++i) {
    auto f = Fields(Settings.FileTypes.Strings(i), '|', 4);
    TListItem* row = lvFilters->AddItem(f[0]);
    row->AddSubItem(f[1]);
    row->AddSubItem(f[2]);
    row->AddSubItem(SyntaxDisplayName(f[3]));
  }
}

void TfrmSettings::StoreLists() {
  Settings.AppList.Clear();
  for (int i = 0; i < lvApps->Count(); ++i) {
    TListItem* r = lvApps->Items(i);
    Settings.AppList.Add(r->Caption() + '\x01' + r->SubItem(0) + '\x01' + r->SubItem(1) + '\x01' +
                         std::to_string(AppStyleNumber(r->SubItem(2))) + '\x01' +
                         std::to_string(AppShortcutNumber(r->SubItem(3))));
  }
  Settings.FileTypes.Clear();
  for (int i = 0; i < lvFilters->Count(); ++i) {
    TListItem* r = lvFilters->Items(i);
    Settings.FileTypes.Add(r->Caption() + '|' + r->SubItem(0) + '|' + r->SubItem(1) + '|' +
                           SyntaxIdentifier(r->SubItem(2)));
  }
}

// ---- File types and programs ---------------------------------------------------------------

bool TfrmSettings::RenameRow(TEditListView& List, TListItem& Row, const std::string& Name, bool Quiet) {
  bool taken = false;
  if (!AnsiSameText(Name, Row.Caption()))
    for (int i = 0; i < List.Count(); ++i) taken = taken || AnsiSameText(List.Items(i)->Caption(), Name);
  const bool apps = &List == lvApps;
  auto* field = Ctl<TEdit>(apps ? "txtAppName" : "txtFilterName");
  if (!taken) {
    Row.SetCaption(Name);
    // The name field shows the same value: OK takes it from there.
    if (&Row == List.Selected() && field->Text() != Name) field->SetText(Name);
    return true;
  }
  if (Quiet) return false;
  MsgBox(GetLangText(apps ? "Settings|MsgAppExistsText" : "Settings|MsgFilterExistsText",
                     "Ein Eintrag mit dem Namen \"%s1%\" existiert bereits.%w%Bitte geben Sie einen "
                     "anderen Namen an.",
                     LangParams({Name})),
         T(apps ? "MsgAppRenameTitle" : "MsgFilterRenameTitle", "Eintrag umbenennen"),
         MB_OK | MB_ICONWARNING);
  field->SetText(Row.Caption());
  field->SetFocus();
  SendMessageA(field->Handle(), EM_SETSEL, 0, -1);
  return false;
}

void TfrmSettings::SetFilterFields(bool Enabled) {
  for (const char* n : {"txtFilterName", "txtFilterFilter", "txtFilterDefault", "cmbFilterSyntax",
                        "tbFilterRemove"})
    Ctl<TWinControl>(n)->SetEnabled(Enabled);
}

void TfrmSettings::lvFiltersSelect() {
  TListItem* row = lvFilters->Selected();
  auto* syntax = Ctl<TComboBox>("cmbFilterSyntax");
  SetFilterFields(row != nullptr);
  Ctl<TEdit>("txtFilterName")->SetText(row ? row->Caption() : "");
  Ctl<TEdit>("txtFilterFilter")->SetText(row ? row->SubItem(0) : "");
  Ctl<TEdit>("txtFilterDefault")->SetText(row ? row->SubItem(1) : "");
  int index = -1;
  if (row) {
    index = 0;
    for (int i = 0; i < syntax->Count(); ++i)
      if (syntax->Items(i) == row->SubItem(2)) {
        index = i;
        break;
      }
  }
  syntax->SetItemIndex(index);
}

bool TfrmSettings::FilterFieldExit(int Column, TFieldEdit& Edit, bool Quiet) {
  // The masks and the default extension name files.
  if (Column > 0 && !NameFieldAccepted(Edit, Quiet)) return false;
  std::string text = WithoutBars(Edit.Text());
  if (text != Edit.Text()) Edit.SetText(text);
  TListItem* row = lvFilters->Selected();
  if (!row) return true;
  if (Column == 0) return RenameRow(*lvFilters, *row, text, Quiet);
  row->SetSubItem(Column - 1, text);
  return true;
}

void TfrmSettings::cmbFilterSyntaxChange() {
  if (TListItem* row = lvFilters->Selected()) row->SetSubItem(2, Ctl<TComboBox>("cmbFilterSyntax")->Text());
}

void TfrmSettings::tbFilterAddClick() {
  TListItem* row = lvFilters->AddItem(T("DefValNewFilter", "Neuer Filter"));
  for (int i = 0; i < 3; ++i) row->AddSubItem("");
  row->SetSelected(true);
  lvFiltersSelect();
  lvFilters->EditCaption(row);
}

void TfrmSettings::tbFilterRemoveClick() {
  TListItem* row = lvFilters->Selected();
  if (!row) return;
  if (MsgBox(GetLangText("Settings|MsgFilterDeleteText", "Soll der Eintrag \"%s1%\" gel\xF6scht werden?",
                         LangParams({row->Caption()})),
             T("MsgFilterDeleteTitle", "Eintrag l\xF6schen"),
             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  lvFilters->Delete(row->Index());
  lvFiltersSelect();
}

void TfrmSettings::MoveFilter(int Delta) {
  TListItem* row = lvFilters->Selected();
  if (!row) return;
  TListItem* other = lvFilters->Items(row->Index() + Delta);
  if (!other) return;
  std::string caption = row->Caption();
  row->SetCaption(other->Caption());
  other->SetCaption(caption);
  for (int i = 0; i < 3; ++i) {
    std::string sub = row->SubItem(i);
    row->SetSubItem(i, other->SubItem(i));
    other->SetSubItem(i, sub);
  }
  row->SetSelected(false);
  other->SetSelected(true);
  lvFiltersSelect();
}

void TfrmSettings::tbFilterSortClick() {
  lvFilters->SetSorted(true);
  lvFilters->SetSorted(false);
}

void TfrmSettings::SetAppFields(bool Enabled) {
  for (const char* n : {"txtAppName", "txtAppPath", "txtAppArgs", "btnAppPathSel", "cmbAppStyle",
                        "cmbShortcut", "tbAppRemove"})
    Ctl<TWinControl>(n)->SetEnabled(Enabled);
}

void TfrmSettings::lvAppsSelect() {
  TListItem* row = lvApps->Selected();
  SetAppFields(row != nullptr);
  Ctl<TEdit>("txtAppName")->SetText(row ? row->Caption() : "");
  Ctl<TEdit>("txtAppPath")->SetText(row ? row->SubItem(0) : "");
  Ctl<TEdit>("txtAppArgs")->SetText(row ? row->SubItem(1) : "");
  auto* style = Ctl<TComboBox>("cmbAppStyle");
  int index = -1;
  if (row)
    for (int i = 0; i < style->Count(); ++i)
      if (style->Items(i) == row->SubItem(2)) index = i;
  style->SetItemIndex(index);
  Ctl<TComboBox>("cmbShortcut")->SetItemIndex(row ? AppShortcutNumber(row->SubItem(3)) : -1);
}

bool TfrmSettings::AppFieldExit(int Column, TFieldEdit& Edit, bool Quiet) {
  // The path names the program that Tools starts.
  if (Column == 1 && !NameFieldAccepted(Edit, Quiet)) return false;
  TListItem* row = lvApps->Selected();
  if (!row) return true;
  if (Column == 0) return RenameRow(*lvApps, *row, Edit.Text(), Quiet);
  row->SetSubItem(Column - 1, Edit.Text());
  return true;
}

bool TfrmSettings::NameFieldAccepted(TEdit& Edit, bool Quiet) {
  std::string text;
  if (Quiet) return Edit.ExactCaption(text);
  return ReadNameField(Edit, text) || RefuseField(Edit);
}

bool TfrmSettings::RefuseField(TEdit& Edit) {
  Edit.SetFocus();
  SendMessageA(Edit.Handle(), EM_SETSEL, 0, -1);
  return false;
}

bool TfrmSettings::CommitFields() {
  // A field left for OK took its text quietly where it could: what is refused is said here, once.
  const char* filters[] = {"txtFilterName", "txtFilterFilter", "txtFilterDefault"};
  const char* apps[] = {"txtAppName", "txtAppPath", "txtAppArgs"};
  for (int i = 0; i < 3; ++i)
    if (!FilterFieldExit(i, *Ctl<TFieldEdit>(filters[i])) || !AppFieldExit(i, *Ctl<TFieldEdit>(apps[i])))
      return false;
  TemplateFieldExit("MenuText", *Ctl<TFieldEdit>("txtTemplateMenu"));
  for (const char* f : {"Before", "Select", "After"})
    TemplateFieldExit(f, *Ctl<TFieldEdit>(std::string("txtTemplate") + f));
  txtBackupExtExit();
  return true;
}

void TfrmSettings::cmbAppStyleChange() {
  if (TListItem* row = lvApps->Selected()) row->SetSubItem(2, Ctl<TComboBox>("cmbAppStyle")->Text());
}

void TfrmSettings::cmbShortcutChange() {
  auto* keys = Ctl<TComboBox>("cmbShortcut");
  if (TListItem* row = lvApps->Selected()) row->SetSubItem(3, keys->ItemIndex() <= 0 ? "" : keys->Text());
}

void TfrmSettings::tbAppAddClick() {
  TListItem* row = lvApps->AddItem(T("DefValNewApp", "Neues Programm"));
  row->AddSubItem("");
  row->AddSubItem("\"%1\"");
  row->AddSubItem(AppStyleText("0"));
  row->AddSubItem("");
  row->SetSelected(true);
  lvAppsSelect();
  lvApps->EditCaption(row);
}

void TfrmSettings::tbAppRemoveClick() {
  TListItem* row = lvApps->Selected();
  if (!row) return;
  if (MsgBox(GetLangText("Settings|MsgAppDeleteText", "Soll der Eintrag \"%s1%\" gel\xF6scht werden?",
                         LangParams({row->Caption()})),
             T("MsgAppDeleteTitle", "Eintrag l\xF6schen"),
             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  lvApps->Delete(row->Index());
  lvAppsSelect();
}

void TfrmSettings::btnAppPathSelClick() {
  TFileDialogArgs args;
  args.title = T("DlgAppPathSelTitle", "Programmdatei ausw\xE4hlen");
  args.filter = GetLangText("General|FilterExe", "Programmdateien (*.exe)") + "|*.exe|" +
                GetLangText("General|FilterAll", "Alle Dateien (*.*)") + "|*.*";
  auto files = ExecuteOpenDialog(args);
  if (files.empty()) return;
  Ctl<TEdit>("txtAppPath")->SetText(files.front());
  if (TListItem* row = lvApps->Selected()) row->SetSubItem(0, files.front());
}

// ---- Text templates ------------------------------------------------------------------------

TXmlNode* TfrmSettings::TemplatesNode() const {
  if (!TemplatesDoc) return nullptr;
  if (TXmlNode* node = TemplatesDoc->FindNode("Templates")) return node;
  return TemplatesDoc->CreatePath("Templates", "");
}

TXmlNode* TfrmSettings::SelectedTemplate() const {
  TXmlNode* all = TemplatesNode();
  int index = cmbTemplates->ItemIndex();
  return all && index >= 0 ? all->Nodes().Find(cmbTemplates->Items(index)) : nullptr;
}

void TfrmSettings::FillTemplateList() {
  cmbTemplates->Clear();
  if (TXmlNode* all = TemplatesNode())
    for (int i = 0; i < all->Nodes().Count(); ++i) cmbTemplates->AddItem(all->Nodes().Items(i)->Name);
  for (const char* n : {"txtTemplateMenu", "txtTemplateBefore", "txtTemplateSelect", "txtTemplateAfter"})
    Ctl<TFieldEdit>(n)->SetStoredText("");
  UpdateTemplateControls();
}

void TfrmSettings::UpdateTemplateControls() {
  bool selected = cmbTemplates->ItemIndex() >= 0;
  Ctl<TEdit>("txtTemplateMenu")->SetEnabled(selected);
  for (const char* n : {"txtTemplateBefore", "txtTemplateSelect", "txtTemplateAfter"})
    Ctl<TEdit>(n)->SetEnabled(selected);
  for (const char* n : {"tbTemplateDelete", "tbTemplateRename"}) Ctl<TButton>(n)->SetEnabled(selected);
}

void TfrmSettings::cmbTemplatesClick() {
  TXmlNode* node = SelectedTemplate();
  TXmlAttrib* menu = node ? node->Attribs().Find("MenuText") : nullptr;
  Ctl<TFieldEdit>("txtTemplateMenu")->SetStoredText(TXmlAttrib::GetValue(menu));
  for (const char* f : {"Before", "Select", "After"})
    Ctl<TFieldEdit>(std::string("txtTemplate") + f)
        ->SetStoredText(node ? TXmlNode::GetValue(node->Nodes().Find(f)) : "");
  UpdateTemplateControls();
}

void TfrmSettings::TemplateFieldExit(const std::string& Field, TFieldEdit& Edit) {
  TXmlNode* node = SelectedTemplate();
  if (!node) return;
  if (Field == "MenuText") {
    if (TXmlAttrib* a = node->Attribs().Find("MenuText"))
      a->Value = Edit.StoredText();
    else
      node->Attribs().Add(std::make_unique<TXmlAttrib>("MenuText", Edit.StoredText()));
    return;
  }
  TXmlNode* child = node->Nodes().Find(Field);
  if (!child) {
    auto made = std::make_unique<TXmlNode>(node);
    made->Name = Field;
    child = node->Nodes().Add(std::move(made));
  }
  child->Value = Edit.StoredText();
}

void TfrmSettings::SelectTemplate(const std::string& Name) {
  FillTemplateList();
  for (int i = 0; i < cmbTemplates->Count(); ++i)
    if (cmbTemplates->Items(i) == Name) cmbTemplates->SetItemIndex(i);
  cmbTemplatesClick();
  Ctl<TEdit>("txtTemplateMenu")->SetFocus();
}

std::string TfrmSettings::AskTemplateName(const std::string& Title, const std::string& Prompt,
                                          const std::string& Preset, bool Rename) {
  std::string preset = Preset;
  TXmlNode* all = TemplatesNode();
  for (;;) {
    std::string answer = preset;
    if (!InputQuery(Title, Prompt, answer)) return "";
    bool valid = false;
    std::string name = ValidTemplateName(answer, valid);
    if (name == preset) return "";
    if (!valid) {
      MsgBox(GetLangText("Settings|MsgTemplateInvalidCharsText",
                         "Die Vorlage \"%s1%\" enth\xE4lt ung\xFCltige Zeichen.%w%Bitte geben Sie nur "
                         "Buchstaben oder Zahlen ein.",
                         LangParams({name})),
             Rename ? T("MsgTemplateRenameTitle", "Vorlage umbenennen")
                    : T("MsgTemplateNewTitle", "Vorlage erstellen"),
             MB_OK | MB_ICONWARNING);
      continue;
    }
    if (!all->Nodes().Find(name)) return name;
    if (Rename)
      MsgBox(GetLangText("Settings|MsgTemplateExistsText",
                         "Die Vorlage \"%s1%\" existiert bereits.%w%Bitte geben Sie einen anderen "
                         "Namen an.",
                         LangParams({name})),
             T("MsgTemplateRenameTitle", "Vorlage umbenennen"), MB_OK | MB_ICONWARNING);
    else
      preset = name;  // asking again with it: confirming the same name ends the command
  }
}

void TfrmSettings::tbTemplateNewClick() {
  TXmlNode* all = TemplatesNode();
  if (!all) return;
  std::string name = AskTemplateName(T("InpNewTemplateTitle", "Neue Vorlage erstellen"),
                                     T("InpNewTemplateText", "Geben Sie einen eindeutigen Namen f\xFCr die neue Vorlage ein:"),
                                     "", false);
  if (name.empty()) return;
  auto node = std::make_unique<TXmlNode>(all);
  node->Name = name;
  node->Attribs().Add(std::make_unique<TXmlAttrib>("MenuText", ""));
  for (const char* f : {"Before", "Select", "After"}) {
    auto child = std::make_unique<TXmlNode>(node.get());
    child->Name = f;
    node->Nodes().Add(std::move(child));
  }
  all->Nodes().Add(std::move(node));
  SelectTemplate(name);
}

void TfrmSettings::tbTemplateRenameClick() {
  TXmlNode* node = SelectedTemplate();
  if (!node) return;
  std::string name = AskTemplateName(T("InpRenameTemplateTitle", "Vorlage umbenennen"),
                                     T("InpRenameTemplateText", "Geben Sie einen eindeutigen Namen f\xFCr die Vorlage ein:"),
                                     node->Name, true);
  if (name.empty()) return;
  node->Name = name;
  SelectTemplate(name);
}

void TfrmSettings::tbTemplateDeleteClick() {
  TXmlNode* node = SelectedTemplate();
  if (!node) return;
  std::string name = node->Name;
  if (MsgBox(GetLangText("Settings|MsgTemplateDeleteText", "M\xF6" "chten Sie die Vorlage \"%s1%\" l\xF6schen?",
                         LangParams({name})),
             T("MsgTemplateDeleteTitle", "Vorlage l\xF6schen"),
             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
    return;
  TemplatesNode()->Nodes().Remove(node);
  if (TemplatesNode()->Nodes().Find(name))
    MsgBox(GetLangText("Settings|MsgTemplateDelErrText", "Die Vorlage \"%s1%\" konnte nicht gel\xF6scht werden.",
                       LangParams({name})),
           T("MsgTemplateDeleteTitle", "Vorlage l\xF6schen"), MB_OK | MB_ICONERROR);
  FillTemplateList();
  if (cmbTemplates->Count() > 0) SelectTemplate(cmbTemplates->Items(0));
}
