#include <algorithm>
#include <map>
#include "SettingsTestFixture.h"
#include "dialogs/formPgSetup.h"
#include "dialogs/formSettings.h"
#include "documents/fLanguage.h"
#include "support/StoreMessages.h"
#include "support/WhenShown.h"
#include "support/WindowText.h"
#include "support/WideClipboard.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/EditListView.h"
#include "toolkit/KeyState.h"
#include "toolkit/PageControl.h"
#include "toolkit/UpDown.h"

namespace {
using testsupport::QueueAnswer;
using testsupport::QueueFormAnswer;

class SettingsDialogTest : public SettingsSandbox {
protected:
  SettingsDialogTest() { SetTextLookup(ToolkitText); }
  ~SettingsDialogTest() override { SetTextLookup(nullptr); }
  static int PressOk(TfrmSettings& Form) {
    QueueFormAnswer([&](TForm&) {
      Form.Ctl<TButton>("btnOk")->Click();
      return Form.ModalResult();
    });
    return Form.ShowModal();
  }
  static TFieldEdit& Field(TfrmSettings& Form, const char* Name) { return *Form.Ctl<TFieldEdit>(Name); }
  static void Select(TListView& List, int Index) { List.Items(Index)->SetSelected(true); }
  // Types Name into the list's open in-place edit and ends it with Enter.
  static void EndRenameInPlace(TListView& List, const wchar_t* Name) {
    const HWND edit = reinterpret_cast<HWND>(SendMessageA(List.Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit) << List.Name();
    SetWindowTextW(edit, Name);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  }
  // The controls a settings key stands behind: check boxes and up-downs.
  static bool IsBoundCheckBox(TComponent* C) {
    return dynamic_cast<TCheckBox*>(C) && !dynamic_cast<TRadioButton*>(C) &&
           C->Name().rfind("chkIntegrate", 0) != 0;
  }
};
}  // namespace

TEST(SettingsListTexts, ColumnsConvertBothWays) {
  struct Case {
    const char* stored;
    const char* shown;
  } syntax[] = {{":NONE:", "Keine"}, {":URI:", "Standard (nur URIs hervorheben)"},
                {":VBS:", "VBS (VBScript)"}, {"perl", "perl"}, {"", ""}, {":none:", ":none:"}};
  for (const auto& c : syntax) {
    EXPECT_EQ(SyntaxDisplayName(c.stored), c.shown);
    EXPECT_EQ(SyntaxIdentifier(c.shown), c.stored);
  }
  struct Key {
    const char* stored;
    const char* shown;
    int back;
  } keys[] = {{"0", "", 0},    {"1", "Ctrl + F1", 1},          {"9", "Ctrl + F9", 9},
              {"10", "Shift + Ctrl + F1", 10}, {"18", "Shift + Ctrl + F9", 18},
              {"19", "", 0},   {"-1", "", 0},  {"x", "", 0},   {"", "", 0}};
  for (const auto& k : keys) {
    EXPECT_EQ(AppShortcutText(k.stored), k.shown) << k.stored;
    EXPECT_EQ(AppShortcutNumber(k.shown), k.back) << k.stored;
  }
  EXPECT_EQ(AppShortcutNumber("Ctrl + Fx"), 0);
  for (const char* style : {"0", "1", "2"}) EXPECT_EQ(AppStyleNumber(AppStyleText(style)), std::stoi(style));
  EXPECT_EQ(AppStyleText("7"), "Normal");
}

TEST(SettingsListTexts, TemplateNamesAreLowerCaseLettersAndDigits) {
  struct Case {
    const char* typed;
    const char* name;
    bool valid;
  } cases[] = {{"Brief", "brief", true}, {"A1b2", "a1b2", true}, {"\xC4rger\xDF", "\xE4rger\xDF", true},
               {"mit-strich", "mit-strich", false}, {"zwei worte", "zwei worte", false},
               {"", "", false}, {"x.y", "x.y", false}};
  for (const auto& c : cases) {
    bool valid = !c.valid;
    EXPECT_EQ(ValidTemplateName(c.typed, valid), c.name);
    EXPECT_EQ(valid, c.valid) << c.typed;
  }
}

TEST(SettingsUpDown, PositionStaysInItsRange) {
  TForm form(nullptr, {"", 200, 100});
  auto* edit = form.Make<TEdit>("txt", &form, 0, 0, 40, 20);
  auto* ud = form.Make<TUpDown>("ud", &form, edit, 10, 999, 3);
  struct Case {
    const char* typed;
    int position;
  } cases[] = {{"10", 10}, {"9", 10}, {"999", 999}, {"1000", 999}, {"", 10}, {"0", 10},
               {"12345678901234", 999}, {"55", 55}};
  for (const auto& c : cases) {
    edit->SetText(c.typed);
    EXPECT_EQ(ud->Position(), c.position) << c.typed;
  }
  ud->SetPosition(5);
  EXPECT_EQ(edit->Text(), "10");
}

TEST_F(SettingsDialogTest, EveryControlSurvivesOkAndTheSettingsFile) {
  dir.Write("Highlighters\\zeta.hgl", "");
  dir.Write("Highlighters\\Alpha.hgl", "");
  std::map<std::string, bool> checks;
  std::map<std::string, int> numbers;
  const char* texts[] = {"txtBackupExt", "txtSpCharUserDef", "txtAnsiFontName", "txtAsciiFontName",
                         "txtBrackACStart", "txtBrackACClose"};
  {
    TfrmSettings form(nullptr);
    auto* syntax = form.Ctl<TComboBox>("cmbFilterSyntax");
    ASSERT_EQ(syntax->Count(), 10);
    EXPECT_EQ(syntax->Items(8), "Alpha");
    EXPECT_EQ(syntax->Items(9), "zeta");
    for (int i = 0; i < form.ComponentCount(); ++i) {
      TComponent* c = form.Components(i);
      if (IsBoundCheckBox(c)) {
        auto* box = static_cast<TCheckBox*>(c);
        box->SetChecked(!box->Checked());
        checks[c->Name()] = box->Checked();
      } else if (auto* ud = dynamic_cast<TUpDown*>(c)) {
        ud->SetPosition(ud->Max());  // exactly at the limit
        numbers[c->Name()] = ud->Max();
      }
    }
    ASSERT_EQ(checks.size(), 54u);
    ASSERT_EQ(numbers.size(), 6u);
    for (const char* t : texts) Field(form, t).SetText(std::string("v") + t);
    Field(form, "txtAnsiFontSize").SetText("13");
    Field(form, "txtAsciiFontSize").SetText("1");
    form.Ctl<TRadioButton>("rbSpCharUserDef")->SetChecked(true);
    form.Ctl<TRadioButton>("rbSpCharLangDefault")->SetChecked(false);
    form.Ctl<TColorSwatch>("shpActiveLineColor")->SetColor(0x123456);
    form.Ctl<TColorSwatch>("shpBackgroundColor")->SetColor(0x654321);
    form.Ctl<TComboBox>("cmbSnipsExpand")->SetItemIndex(2);
    form.Ctl<TComboBox>("cmbTabPosition")->SetItemIndex(1);

    form.tbAppAddClick();
    Field(form, "txtAppName").SetFocus();  // the user moves on: the name typed in place ends
    Field(form, "txtAppName").SetText("Rechner");
    Field(form, "txtAppPath").SetText("C:\\Pro gram\\calc.exe");
    form.Ctl<TComboBox>("cmbAppStyle")->SetItemIndex(2);
    form.cmbAppStyleChange();
    form.Ctl<TComboBox>("cmbShortcut")->SetItemIndex(14);
    form.cmbShortcutChange();

    Select(*form.lvFilters, 0);
    syntax->SetItemIndex(0);
    form.cmbFilterSyntaxChange();
    form.tbFilterAddClick();  // saved without a syntax
    Field(form, "txtFilterName").SetFocus();
    Field(form, "txtFilterName").SetText("Leer");
    form.FilterFieldExit(0, Field(form, "txtFilterName"));
    form.tbFilterAddClick();
    Field(form, "txtFilterName").SetFocus();
    Field(form, "txtFilterName").SetText("Regeln");  // still unconfirmed when OK is pressed
    Field(form, "txtFilterFilter").SetText("*.r");
    syntax->SetItemIndex(9);
    form.cmbFilterSyntaxChange();
    EXPECT_EQ(PressOk(form), mrOk);
  }
  EXPECT_TRUE(Settings.Editor.ReplaceHtmlNamedCharsUnicode);  // held in memory only
  ASSERT_TRUE(SaveSettings());
  Settings.General = TGeneralSettings();
  Settings.Editor = TEditorSettings();
  Settings.AppList.Clear();
  Settings.FileTypes.Clear();
  LoadSettings();
  Settings.AppDir = dir.Path();

  EXPECT_EQ(Settings.AppList.Strings(Settings.AppList.Count() - 1),
            "Rechner\x01" "C:\\Pro gram\\calc.exe\x01\"%1\"\x01" "2\x01" "14");
  int n = Settings.FileTypes.Count();
  ASSERT_GE(n, 3);
  EXPECT_EQ(Settings.FileTypes.Strings(0).substr(Settings.FileTypes.Strings(0).rfind('|')), "|:NONE:");
  EXPECT_EQ(Settings.FileTypes.Strings(n - 2), "Leer|||");
  EXPECT_EQ(Settings.FileTypes.Strings(n - 1), "Regeln|*.r||zeta");
  EXPECT_EQ(Settings.Editor.AnsiFontSize, 13);
  EXPECT_EQ(Settings.Editor.AsciiFontSize, 1);

  TfrmSettings again(nullptr);
  checks.erase("chkReplaceHtmlNamedCharsUnicode");
  for (const auto& [name, checked] : checks) EXPECT_EQ(again.Ctl<TCheckBox>(name)->Checked(), checked) << name;
  for (const auto& [name, value] : numbers) EXPECT_EQ(again.Ctl<TUpDown>(name)->Position(), value) << name;
  for (const char* t : texts) EXPECT_EQ(Field(again, t).Text(), std::string("v") + t);
  EXPECT_EQ(Field(again, "txtAnsiFontSize").Text(), "13");
  EXPECT_TRUE(again.Ctl<TRadioButton>("rbSpCharUserDef")->Checked());
  EXPECT_EQ(again.Ctl<TColorSwatch>("shpActiveLineColor")->Color(), 0x123456);
  EXPECT_EQ(again.Ctl<TColorSwatch>("shpBackgroundColor")->Color(), 0x654321);
  EXPECT_EQ(again.Ctl<TComboBox>("cmbSnipsExpand")->ItemIndex(), 2);
  EXPECT_EQ(again.Ctl<TComboBox>("cmbTabPosition")->ItemIndex(), 1);
  TListItem* app = again.lvApps->Items(again.lvApps->Count() - 1);
  EXPECT_EQ(app->SubItem(2), "Minimiert");
  EXPECT_EQ(app->SubItem(3), "Shift + Ctrl + F5");
  EXPECT_EQ(again.lvFilters->Items(0)->SubItem(2), "Keine");
  Select(*again.lvFilters, again.lvFilters->Count() - 1);
  EXPECT_EQ(again.Ctl<TComboBox>("cmbFilterSyntax")->Text(), "zeta");
}

TEST_F(SettingsDialogTest, RefusedOkWritesNothing) {
  Settings.AppList.Add("Eins\x01" "a.exe\x01\x01" "0\x01" "5");
  Settings.AppList.Add("Ohne\x01" "b.exe\x01\x01" "0\x01" "0");
  Settings.AppList.Add("Ohne auch\x01" "c.exe\x01\x01" "0\x01" "0");
  Settings.AppList.Add("Zwei\x01" "d.exe\x01\x01" "0\x01" "5");
  bool splash = Settings.General.ShowSplashScreen;
  {
    TfrmSettings form(nullptr);
    form.Ctl<TCheckBox>("chkShowSplashScreen")->SetChecked(!splash);
    QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) {
      EXPECT_NE(q.text.find("\"Ctrl + F5\""), std::string::npos) << q.text;
      EXPECT_EQ(q.caption, "Shortcutbelegung");
    });
    EXPECT_FALSE(form.btnOkClick());
    EXPECT_EQ(form.ModalResult(), mrNone);
    EXPECT_EQ(Settings.General.ShowSplashScreen, splash);

    // Two programs without a shortcut are fine; a font size must be a positive whole number.
    Select(*form.lvApps, 3);
    form.Ctl<TComboBox>("cmbShortcut")->SetItemIndex(0);
    form.cmbShortcutChange();
    for (const char* bad : {"0", "abc", "", "-3", "12.5"}) {
      Field(form, "txtAsciiFontSize").SetText(bad);
      QueueAnswer(IDOK);
      EXPECT_FALSE(form.btnOkClick()) << bad;
      EXPECT_EQ(Settings.General.ShowSplashScreen, splash);
    }
    Field(form, "txtAsciiFontSize").SetText("10");

    // Fields that name a file or program refuse what the code page cannot hold, on leaving them
    // and on OK, and the row keeps its old value.
    Select(*form.lvApps, 0);
    Select(*form.lvFilters, 0);
    for (const char* name : {"txtAppPath", "txtFilterFilter", "txtFilterDefault", "txtBackupExt",
                             "txtSpCharUserDef"}) {
      SCOPED_TRACE(name);
      TFieldEdit& field = Field(form, name);
      const std::string before = field.Text();
      SendMessageW(field.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u03A9mega.exe"));
      QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) {
        EXPECT_EQ(q.caption, "Ungeeigneter Name");
        EXPECT_EQ(q.text.substr(q.text.find("\r\n")), "\r\n?mega.exe");
      });
      EXPECT_FALSE(form.btnOkClick());
      EXPECT_EQ(Settings.General.ShowSplashScreen, splash);
      field.SetText(before);
    }
    QueueAnswer(ModalAnswer{.result = IDOK});
    SendMessageW(Field(form, "txtAppPath").Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u03A9.exe"));
    EXPECT_FALSE(form.AppFieldExit(1, Field(form, "txtAppPath")));
    EXPECT_EQ(form.lvApps->Items(0)->SubItem(0), "a.exe");
    Field(form, "txtAppPath").SetText("a.exe");
    EXPECT_TRUE(form.btnOkClick());
  }
  EXPECT_EQ(Settings.General.ShowSplashScreen, !splash);
  EXPECT_EQ(Settings.AppList.Strings(0), "Eins\x01" "a.exe\x01\x01" "0\x01" "5");
  EXPECT_EQ(Settings.AppList.Strings(3), "Zwei\x01" "d.exe\x01\x01" "0\x01" "0");
}

TEST_F(SettingsDialogTest, CancelKeepsSettingsAndUndoesTemplateEditsButNotTheClearedList) {
  TemplatesDoc->CreatePath("Templates\\brief\\Before", "Sehr geehrte");
  TemplatesDoc->SaveToFile(dir.File("Templates.dat"), 2, true);
  Settings.OpenMRU.Add("C:\\a.txt");
  bool wrap = Settings.Editor.WordWrap;
  QueueFormAnswer([&](TForm& f) {
    auto& form = static_cast<TfrmSettings&>(f);
    form.Ctl<TCheckBox>("chkWordWrap")->SetChecked(!wrap);
    EXPECT_EQ(Field(form, "txtTemplateBefore").Text(), "Sehr geehrte");
    Field(form, "txtTemplateBefore").SetText("Liebe");
    form.TemplateFieldExit("Before", Field(form, "txtTemplateBefore"));
    QueueAnswer(IDOK);
    form.btnReOpenListClearClick();
    form.pcSettings->SetActivePageIndex(4);
    return mrCancel;
  });
  EXPECT_EQ(ShowSettingsDialog(), mrCancel);
  EXPECT_EQ(Settings.Editor.WordWrap, wrap);
  EXPECT_EQ(Settings.OpenMRU.Count(), 0);
  EXPECT_EQ(Settings.General.DlgPageIndex, 4);  // kept whatever the result
  EXPECT_EQ(TemplatesDoc->ReadString("Templates\\brief\\Before", ""), "Sehr geehrte");
}

// A zero the store holds as "&#0;" ends no field: it shows as its sign, and OK writes it back.
// The sign typed or pasted is a character the code page lacks, also beside a zero held.
TEST_F(SettingsDialogTest, AZeroInATemplateSurvivesOkAndTheSignTypedIsNoZero) {
  const std::string store = dir.File("Templates.dat");
  dir.Write("Templates.dat", "<?xml version=\"1.0\"?><Templates><brief MenuText=\"B&#0;r\">"
                             "<Before>Hal&#0;lo </Before><Select>&#0;</Select><After>x</After>"
                             "</brief></Templates>");
  TemplatesDoc.reset();
  LoadTemplatesDoc(store);
  QueueFormAnswer([](TForm& f) {
    auto& form = static_cast<TfrmSettings&>(f);
    EXPECT_EQ(Field(form, "txtTemplateBefore").WideCaption(), L"Hal\x2400lo ");
    EXPECT_EQ(Field(form, "txtTemplateMenu").WideCaption(), L"B\x2400r");
    const HWND menu = Field(form, "txtTemplateMenu").Handle();
    SendMessageW(menu, EM_SETSEL, 3, 3);
    testsupport::PutOnClipboard(menu, L"\x2400\x2400");
    SendMessageW(menu, WM_PASTE, 0, 0);
    const HWND after = Field(form, "txtTemplateAfter").Handle();
    SendMessageW(after, EM_SETSEL, 0, 0);
    SendMessageW(after, WM_CHAR, 0x2400, 1);
    form.Ctl<TButton>("btnOk")->Click();
    return form.ModalResult();
  });
  EXPECT_EQ(ShowSettingsDialog(), mrOk);
  TXmlDoc saved;
  ASSERT_TRUE(saved.LoadFromFile(store)) << dir.Read("Templates.dat");
  EXPECT_EQ(saved.ReadString("Templates\\brief\\Before", ""), std::string("Hal\0lo ", 7));
  EXPECT_EQ(saved.ReadString("Templates\\brief\\Select", ""), std::string(1, '\0'));
  EXPECT_EQ(saved.ReadString("Templates\\brief\\After", ""), "?x");
  TXmlNode* brief = saved.FindNode("Templates\\brief");
  ASSERT_NE(brief, nullptr);
  EXPECT_EQ(TXmlAttrib::GetValue(brief->Attribs().Find("MenuText")), std::string("B\0r??", 5));
}

// The user's path with a damaged store: the program starts, Einstellungen > OK saves the
// templates. The damaged file is kept aside as it was and the new one is well-formed.
TEST_F(SettingsDialogTest, OkAfterADamagedTemplateStoreWritesANewOneAndKeepsTheOld) {
  const std::string damaged =
      "<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <brief>\r\n    <Before>Hallo</Before>"
      "\x13\x07<\x01\x02\x03>\x04\x05";
  dir.Write("Templates.dat", damaged);
  TemplatesDoc.reset();
  QueueAnswer(IDOK);  // the store was set aside
  LoadTemplatesDoc(dir.File("Templates.dat"));
  QueueFormAnswer([](TForm& f) {
    auto& form = static_cast<TfrmSettings&>(f);
    EXPECT_EQ(form.Ctl<TComboBox>("cmbTemplates")->Count(), 0);
    form.Ctl<TButton>("btnOk")->Click();
    return form.ModalResult();
  });
  EXPECT_EQ(ShowSettingsDialog(), mrOk);
  EXPECT_EQ(dir.Read("Templates.dat.bak"), damaged);
  const std::string written = dir.Read("Templates.dat");
  EXPECT_TRUE(IsWellFormedXml(written)) << written;
}

// The user's path with a store another program (a backup or sync tool) holds while the program
// starts: the program says so and starts without templates, and Einstellungen > OK after the
// other program let go says that the store was not saved and leaves it as it was. Cancel
// reads it again; from then on OK saves it.
TEST_F(SettingsDialogTest, OkAfterATemplateStoreHeldAtTheStartLeavesItAsItWas) {
  const std::string store = dir.File("Templates.dat");
  TemplatesDoc->CreatePath("Templates\\brief\\Before", "Sehr geehrte");
  ASSERT_TRUE(TemplatesDoc->SaveToFile(store, 0, true));
  const std::string stored = dir.Read("Templates.dat");
  TemplatesDoc.reset();
  {
    testsupport::HeldFile held(store);
    testsupport::ExpectStoreUnreadable(store);
    LoadTemplatesDoc(store);
  }
  auto pressOk = [](int Templates) {
    QueueFormAnswer([Templates](TForm& f) {
      auto& form = static_cast<TfrmSettings&>(f);
      EXPECT_EQ(form.cmbTemplates->Count(), Templates);
      form.Ctl<TButton>("btnOk")->Click();
      return form.ModalResult();
    });
  };
  pressOk(0);
  testsupport::ExpectStoreNotSaved(store);
  EXPECT_EQ(ShowSettingsDialog(), mrOk);
  EXPECT_EQ(dir.Read("Templates.dat"), stored);

  QueueFormAnswer([](TForm&) { return static_cast<int>(mrCancel); });
  EXPECT_EQ(ShowSettingsDialog(), mrCancel);
  pressOk(1);
  EXPECT_EQ(ShowSettingsDialog(), mrOk);
  EXPECT_NE(dir.Read("Templates.dat"), stored) << "written by OK, with its indent";
  TXmlDoc saved;
  ASSERT_TRUE(saved.LoadFromFile(store));
  EXPECT_EQ(saved.ReadString("Templates\\brief\\Before", ""), "Sehr geehrte");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(SettingsDialogTest, TemplatesAreCreatedRenamedAndDeleted) {
  TemplatesDoc->CreatePath("Templates\\brief\\Before", "");
  TfrmSettings form(nullptr);
  // Invalid, then an existing name (asked again with it as preset), then confirmed unchanged.
  QueueAnswer(ModalAnswer{.result = IDOK, .value = "Neu-1"});
  QueueAnswer(IDOK);  // the invalid-characters warning
  QueueAnswer(ModalAnswer{.result = IDOK, .value = "BRIEF"});
  QueueAnswer(ModalAnswer{.result = IDOK, .value = "brief"},
              [](const ModalQuestion& q) { EXPECT_EQ(q.value, "brief"); });
  form.tbTemplateNewClick();
  EXPECT_EQ(form.cmbTemplates->Count(), 1);

  QueueAnswer(ModalAnswer{.result = IDOK, .value = "Angebot2"});
  form.tbTemplateNewClick();
  ASSERT_EQ(form.cmbTemplates->Count(), 2);
  EXPECT_EQ(form.cmbTemplates->Text(), "angebot2");
  Field(form, "txtTemplateMenu").SetText("Angebot");
  Field(form, "txtTemplateSelect").SetText("Preis");
  ASSERT_TRUE(form.btnOkClick());  // the fields were never left: OK keeps them
  EXPECT_EQ(TemplatesDoc->ReadAttrib("Templates\\angebot2", "MenuText", ""), "Angebot");
  EXPECT_EQ(TemplatesDoc->ReadString("Templates\\angebot2\\Select", ""), "Preis");

  QueueAnswer(ModalAnswer{.result = IDOK, .value = "brief"});
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) { EXPECT_EQ(q.caption, "Vorlage umbenennen"); });
  QueueAnswer(ModalAnswer{.result = IDOK, .value = "Offerte"});
  form.tbTemplateRenameClick();
  EXPECT_EQ(form.cmbTemplates->Text(), "offerte");
  EXPECT_EQ(TemplatesDoc->ReadString("Templates\\offerte\\Select", ""), "Preis");

  QueueAnswer(IDNO);
  form.tbTemplateDeleteClick();
  EXPECT_EQ(form.cmbTemplates->Count(), 2);
  QueueAnswer(IDYES);
  form.tbTemplateDeleteClick();
  EXPECT_EQ(form.cmbTemplates->Count(), 1);
  EXPECT_EQ(form.cmbTemplates->Text(), "brief");
}

TEST_F(SettingsDialogTest, FileTypeRowsAreRenamedMovedSortedAndRemoved) {
  Settings.FileTypes.Clear();
  for (const char* row : {"Beta|*.b||:NONE:", "alpha|*.a||", "Gamma|*.g|g|:CSS:"}) Settings.FileTypes.Add(row);
  TfrmSettings form(nullptr);
  TEditListView& list = *form.lvFilters;
  Select(list, 0);
  Field(form, "txtFilterFilter").SetText("*.b|*.bb");
  form.FilterFieldExit(1, Field(form, "txtFilterFilter"));
  EXPECT_EQ(list.Items(0)->SubItem(0), "*.b*.bb");

  std::string typed = "AL|PHA";  // typed in the list itself: the bar goes, then the name is taken
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) { EXPECT_EQ(q.caption, "Eintrag umbenennen"); });
  EXPECT_FALSE(list.OnEdited(list.Items(0), typed));
  EXPECT_EQ(list.Items(0)->Caption(), "Beta");
  typed = "BETA";
  EXPECT_TRUE(list.OnEdited(list.Items(0), typed));  // only the case differs

  form.MoveFilter(-1);  // already first
  EXPECT_EQ(list.Items(0)->Caption(), "BETA");
  form.MoveFilter(1);
  EXPECT_EQ(list.Items(1)->Caption(), "BETA");
  EXPECT_EQ(list.Items(1)->SubItem(2), "Keine");
  EXPECT_TRUE(list.Items(1)->Selected());
  list.OnKeyDown(VK_DOWN);  // without Ctrl: only the selection moves, not handled here
  EXPECT_EQ(list.Items(1)->Caption(), "BETA");
  SetKeyStateOverride([](int Key) { return Key == VK_CONTROL; });
  list.OnKeyDown(VK_DOWN);
  list.OnKeyDown(VK_DOWN);  // already last
  SetKeyStateOverride(nullptr);
  EXPECT_EQ(list.Items(2)->Caption(), "BETA");
  form.tbFilterSortClick();
  EXPECT_EQ(list.Items(0)->Caption(), "alpha");
  EXPECT_EQ(list.Items(2)->Caption(), "Gamma");
  EXPECT_EQ(list.Items(2)->SubItem(2), "CSS (Cascading Stylesheet)");

  Select(list, 2);
  QueueAnswer(IDNO);
  form.tbFilterRemoveClick();
  EXPECT_EQ(list.Count(), 3);
  QueueAnswer(IDYES);
  form.tbFilterRemoveClick();
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(Field(form, "txtFilterName").Enabled());
}

TEST_F(SettingsDialogTest, PagesHelpAndDependentControls) {
  std::vector<std::string> started;
  SetProgramStartOverride([&](const std::string& Program, const std::string& Params) {
    started.push_back(Program + " " + Params);
    return started.size() < 3;
  });
  for (int stored : {-1, 7}) {
    Settings.General.DlgPageIndex = stored;
    TfrmSettings form(nullptr);
    EXPECT_EQ(form.pcSettings->ActivePageIndex(), 0) << stored;
  }
  Settings.General.DlgPageIndex = 6;
  TfrmSettings form(nullptr);
  EXPECT_EQ(form.pcSettings->ActivePage()->Caption(), "Programme");
  form.Perform(WM_HELP, 0, 0);  // F1
  form.pcSettings->SetActivePageIndex(4);
  form.btnHelpClick();
  form.pcSettings->SetActivePageIndex(0);
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) { EXPECT_EQ(q.caption, "Windows HTML-Hilfe nicht gefunden"); });
  form.btnHelpClick();
  ASSERT_EQ(started.size(), 3u);
  EXPECT_EQ(started[0], "hh.exe " + dir.Path() + "Tarvoline.chm::/misc.html#extapps");
  EXPECT_EQ(started[1], "hh.exe " + dir.Path() + "Tarvoline.chm::/templates.html#texttemplates");
  EXPECT_EQ(started[2], "hh.exe " + dir.Path() + "Tarvoline.chm::/index.html");

  auto* backup = form.Ctl<TCheckBox>("chkBackup");
  for (bool on : {false, true}) {
    backup->SetChecked(on);
    form.UpdateEnabling();
    EXPECT_EQ(form.Ctl<TEdit>("txtBackupExt")->Enabled(), on);
    EXPECT_EQ(form.Ctl<TCheckBox>("chkBackupReplaceExt")->Enabled(), on);
  }
  for (auto [typed, kept] : {std::pair{"..bak", "bak"}, {"bak", "bak"}, {"...", ""}, {"a.b", "a.b"}}) {
    form.Ctl<TEdit>("txtBackupExt")->SetText(typed);
    form.txtBackupExtExit();
    EXPECT_EQ(form.Ctl<TEdit>("txtBackupExt")->Text(), kept);
  }
  // OK takes what the field holds as leaving it would: the field is not left for OK.
  form.Ctl<TEdit>("txtBackupExt")->SetText("..alt");
  ASSERT_TRUE(form.btnOkClick());
  EXPECT_EQ(Settings.General.BackupExt, "alt");
}

TEST_F(SettingsDialogTest, ColourAndFontDialogsFillTheirControls) {
  TfrmSettings form(nullptr);
  QueueAnswer(ModalAnswer{.result = IDOK, .numbers = {0x00AA00}});
  form.SelectColor(*form.Ctl<TColorSwatch>("shpBackgroundColor"));
  EXPECT_EQ(form.Ctl<TColorSwatch>("shpBackgroundColor")->Color(), 0x00AA00);
  EXPECT_EQ(Settings.CustomColors.Count(), 16);
  QueueAnswer(IDCANCEL);
  form.SelectColor(*form.Ctl<TColorSwatch>("shpBackgroundColor"));
  EXPECT_EQ(form.Ctl<TColorSwatch>("shpBackgroundColor")->Color(), 0x00AA00);

  QueueAnswer(ModalAnswer{.result = IDOK, .value = "Courier New", .numbers = {11, 238, 0, 0}});
  form.SelectFont(true);
  EXPECT_EQ(form.Ctl<TEdit>("txtAnsiFontName")->Text(), "Courier New");
  EXPECT_EQ(form.Ctl<TEdit>("txtAnsiFontSize")->Text(), "11");
  ASSERT_TRUE(form.btnOkClick());
  EXPECT_EQ(Settings.Editor.AnsiFontCharset, 238);
}

TEST_F(SettingsDialogTest, ProgramRowsAreEditedInTheFieldsAndTheList) {
  Settings.AppList.Clear();
  Settings.AppList.Add("Rechner\x01" "calc.exe\x01\x01" "1\x01" "x");
  Settings.AppList.Add("Notiz\x01" "n.exe\x01\x01" "9\x01" "18");
  TfrmSettings form(nullptr);
  TEditListView& list = *form.lvApps;
  EXPECT_EQ(list.Items(0)->SubItem(2), "Maximiert");
  EXPECT_EQ(list.Items(0)->SubItem(3), "");  // not a number: no shortcut
  EXPECT_EQ(list.Items(1)->SubItem(2), "Normal");
  EXPECT_FALSE(Field(form, "txtAppPath").Enabled());
  Select(list, 1);
  EXPECT_TRUE(Field(form, "txtAppPath").Enabled());
  EXPECT_EQ(form.Ctl<TComboBox>("cmbShortcut")->ItemIndex(), 18);
  EXPECT_EQ(form.Ctl<TComboBox>("cmbAppStyle")->ItemIndex(), 0);

  QueueAnswer(ModalAnswer{.result = IDOK, .value = "C:\\Tools\\n2.exe", .files = {"C:\\Tools\\n2.exe"}},
              [](const ModalQuestion& q) { EXPECT_NE(q.filter.find("|*.exe|"), std::string::npos); });
  form.btnAppPathSelClick();
  EXPECT_EQ(list.Items(1)->SubItem(0), "C:\\Tools\\n2.exe");
  std::string typed = "rechner";
  QueueAnswer(ModalAnswer{.result = IDOK});
  EXPECT_FALSE(list.OnEdited(list.Items(1), typed));
  Field(form, "txtAppName").SetText("Notizen");
  EXPECT_TRUE(form.AppFieldExit(0, Field(form, "txtAppName")));
  EXPECT_EQ(list.Items(1)->Caption(), "Notizen");

  QueueAnswer(IDYES);
  form.tbAppRemoveClick();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(Field(form, "txtAppName").Text(), "");
  ASSERT_TRUE(form.btnOkClick());
  EXPECT_EQ(Settings.AppList.Count(), 1);
  EXPECT_EQ(Settings.AppList.Strings(0), "Rechner\x01" "calc.exe\x01\x01" "1\x01" "0");
}

// A name typed in place and the name field below the list are one value: OK keeps the one the
// user changed last.
TEST_F(SettingsDialogTest, ANameTypedInPlaceOrInTheNameFieldIsKeptByOk) {
  struct Case {
    bool apps;
    const wchar_t* inPlace;
    const char* typedAfter;  // into the name field, after the rename in place
    const char* stored;
  } cases[] = {{true, L"Prog1", nullptr, "Prog1\x01\x01\"%1\"\x01" "0\x01" "0"},
               {false, L"Quell|text", nullptr, "Quelltext|||"},
               {false, L"Zwischen", "Zuletzt", "Zuletzt|||"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Settings.AppList.Clear();
    Settings.FileTypes.Clear();
    TfrmSettings form(nullptr);
    form.Show();
    form.pcSettings->SetActivePageIndex(c.apps ? 6 : 5);
    c.apps ? form.tbAppAddClick() : form.tbFilterAddClick();  // opens the new row's name in place
    EndRenameInPlace(c.apps ? *form.lvApps : *form.lvFilters, c.inPlace);
    if (c.typedAfter) Field(form, "txtFilterName").SetText(c.typedAfter);
    EXPECT_EQ(PressOk(form), mrOk);
    const TStringList& stored = c.apps ? Settings.AppList : Settings.FileTypes;
    ASSERT_EQ(stored.Count(), 1);
    EXPECT_EQ(stored.Strings(0), c.stored);
  }
}

// A program path the code page cannot hold, then the dialog closed: Abbrechen and Escape say
// nothing, OK says it once and leaves the dialog open. Run in the dialog's own loop and taken
// down as the program does it.
TEST_F(SettingsDialogTest, ARefusedPathIsToldOnceByOkAndNeverByAbbrechenOrEscape) {
  Settings.AppList.Add("Eins\x01" "a.exe\x01\x01" "0\x01" "0");
  Settings.General.DlgPageIndex = 6;
  const std::string refused =
      "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht kennt (hier als \"?\" "
      "gezeigt). Tarvoline \xF6" "ffnet, durchsucht, startet oder speichert unter ihnen nichts:\r\n?.exe";
  // After "Meldung" the message box shows as in the program, taking the focus, and the
  // gestures after it come once it is closed.
  const std::vector<std::vector<std::string>> closings = {
      {"Abbrechen"}, {"Escape"}, {"OK", "Abbrechen"}, {"Enter", "Escape"}, {"OK", "Meldung", "Abbrechen"}};
  for (const auto& gestures : closings) {
    SCOPED_TRACE(gestures.front() + " " + gestures.back());
    const bool ok = gestures.front() == "OK" || gestures.front() == "Enter";
    const auto shownBox = std::find(gestures.begin(), gestures.end(), "Meldung");
    const size_t before = testsupport::AskedQuestions().size();
    QueueFormAnswer([&](TForm& f) {
      auto& form = static_cast<TfrmSettings&>(f);
      auto post = [&form](const std::string& Gesture) {
        if (Gesture == "Escape" || Gesture == "Enter")
          PostMessageW(GetFocus(), WM_KEYDOWN, Gesture == "Escape" ? VK_ESCAPE : VK_RETURN, 1);
        else
          PostMessageW(form.Ctl<TButton>(Gesture == "OK" ? "btnOk" : "btnCancel")->Handle(), BM_CLICK, 0, 0);
      };
      if (shownBox != gestures.end()) testsupport::QueueRealDialog();
      else if (ok) QueueAnswer(IDOK);
      testsupport::TWhenShown box([](HWND Wnd) { return testsupport::WindowText(Wnd) == "Ungeeigneter Name"; },
                                  [&](HWND Wnd) {
                                    PostMessageW(Wnd, WM_COMMAND, IDOK, 0);
                                    std::for_each(shownBox + 1, gestures.end(), post);
                                  });
      testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == form.Handle(); }, [&](HWND) {
        Select(*form.lvApps, 0);
        TFieldEdit& path = Field(form, "txtAppPath");
        path.SetFocus();
        SendMessageW(path.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u03A9.exe"));
        std::for_each(gestures.begin(), shownBox, post);
      });
      return form.RunModalLoop();
    });
    EXPECT_EQ(ShowSettingsDialog(), mrCancel);
    std::vector<std::string> boxes;
    const auto& asked = testsupport::AskedQuestions();
    for (size_t i = before + 1; i < asked.size(); ++i) boxes.push_back(asked[i].caption + ": " + asked[i].text);
    EXPECT_EQ(boxes, ok ? std::vector<std::string>{"Ungeeigneter Name: " + refused} : std::vector<std::string>{});
    EXPECT_EQ(Settings.AppList.Strings(0), "Eins\x01" "a.exe\x01\x01" "0\x01" "0");
  }
}

// F2 opens the selected row's name in place, as in every Windows list; typed there and ended
// with Enter in the dialog's own loop, the name is what OK keeps.
TEST_F(SettingsDialogTest, F2RenamesTheSelectedRowInPlaceAndOkKeepsTheName) {
  Settings.AppList.Clear();
  Settings.AppList.Add("Eins\x01" "a.exe\x01\x01" "0\x01" "0");
  Settings.FileTypes.Clear();
  Settings.FileTypes.Add("Text|*.txt||");
  for (int page : {6, 5}) {
    SCOPED_TRACE(page);
    Settings.General.DlgPageIndex = page;
    QueueFormAnswer([page](TForm& f) {
      auto& form = static_cast<TfrmSettings&>(f);
      TEditListView& list = page == 6 ? *form.lvApps : *form.lvFilters;
      testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == form.Handle(); }, [&](HWND) {
        auto press = [](WORD Key) {
          PostMessageW(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyW(Key, 0) << 16));
          Application().ProcessMessages();
        };
        Select(list, 0);
        list.SetFocus();
        press(VK_F2);
        const HWND edit = reinterpret_cast<HWND>(SendMessageW(list.Handle(), LVM_GETEDITCONTROL, 0, 0));
        EXPECT_EQ(GetFocus(), edit) << "F2 opened no edit in place";
        SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
        for (wchar_t c : std::wstring(L"Zwei")) PostMessageW(GetFocus(), WM_CHAR, c, 1);
        press(VK_RETURN);
        EXPECT_EQ(form.ModalResult(), mrNone) << "Enter ends the edit in place, not the dialog";
        PostMessageW(form.Ctl<TButton>("btnOk")->Handle(), BM_CLICK, 0, 0);
      });
      return form.RunModalLoop();
    });
    EXPECT_EQ(ShowSettingsDialog(), mrOk);
  }
  EXPECT_EQ(Settings.AppList.Strings(0), "Zwei\x01" "a.exe\x01\x01" "0\x01" "0");
  EXPECT_EQ(Settings.FileTypes.Strings(0), "Zwei|*.txt||");
}

// Abbrechen while a name typed in place is taken by another row: the dialog closes without a
// word and keeps nothing.
TEST_F(SettingsDialogTest, AbbrechenDuringARenameInPlaceChecksNothing) {
  Settings.AppList.Clear();
  Settings.AppList.Add("Eins\x01" "a.exe\x01\x01" "0\x01" "0");
  Settings.AppList.Add("Zwei\x01" "b.exe\x01\x01" "0\x01" "0");
  Settings.General.DlgPageIndex = 6;
  const size_t before = testsupport::AskedQuestions().size();
  QueueFormAnswer([](TForm& f) {
    auto& form = static_cast<TfrmSettings&>(f);
    testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == form.Handle(); }, [&](HWND) {
      Select(*form.lvApps, 0);
      form.lvApps->EditCaption(form.lvApps->Items(0));
      SetWindowTextW(GetFocus(), L"zwei");
      PostMessageW(form.Ctl<TButton>("btnCancel")->Handle(), BM_CLICK, 0, 0);
    });
    return form.RunModalLoop();
  });
  EXPECT_EQ(ShowSettingsDialog(), mrCancel);
  EXPECT_EQ(testsupport::AskedQuestions().size(), before + 1) << "only the dialog itself";
  EXPECT_EQ(Settings.AppList.Strings(0), "Eins\x01" "a.exe\x01\x01" "0\x01" "0");
}

// A field left for OK or Abbrechen, the button pressed and the mouse let go beside it, then
// another row or template picked: the text typed stays with the row it was typed for.
TEST_F(SettingsDialogTest, AClickNotFinishedOnOkOrAbbrechenLosesNoTypedText) {
  struct Case {
    int page;
    const char* field;
    const char* button;
    const char* kept;  // the first row as stored, or the first template's menu text
  } cases[] = {{6, "txtAppPath", "btnOk", "Eins\x01" "neu\x01\x01" "0\x01" "0"},
               {6, "txtAppName", "btnCancel", "neu\x01" "a.exe\x01\x01" "0\x01" "0"},
               {5, "txtFilterDefault", "btnOk", "Text|*.txt|neu|"},
               {5, "txtFilterName", "btnCancel", "neu|*.txt||"},
               {4, "txtTemplateMenu", "btnCancel", "neu"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.button);
    Settings.AppList.Clear();
    Settings.AppList.Add("Eins\x01" "a.exe\x01\x01" "0\x01" "0");
    Settings.AppList.Add("Zwei\x01" "b.exe\x01\x01" "0\x01" "0");
    Settings.FileTypes.Clear();
    Settings.FileTypes.Add("Text|*.txt||");
    Settings.FileTypes.Add("Web|*.htm||");
    TemplatesDoc = std::make_unique<TXmlDoc>();
    for (const char* name : {"brief", "gruss"}) TemplatesDoc->CreatePath(std::string("Templates\\") + name + "\\Before", "");
    TfrmSettings form(nullptr);
    form.Show();
    form.pcSettings->SetActivePageIndex(c.page);
    if (c.page == 6) Select(*form.lvApps, 0);
    if (c.page == 5) Select(*form.lvFilters, 0);
    TFieldEdit& field = Field(form, c.field);
    field.SetFocus();
    field.SetText("neu");
    const HWND button = form.Ctl<TButton>(c.button)->Handle();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(GetFocus(), button);
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
    ASSERT_EQ(form.ModalResult(), mrNone);
    if (c.page == 6) Select(*form.lvApps, 1);
    if (c.page == 5) Select(*form.lvFilters, 1);
    if (c.page == 4) {
      form.cmbTemplates->SetItemIndex(1);
      form.cmbTemplatesClick();
    }
    EXPECT_EQ(PressOk(form), mrOk);
    EXPECT_EQ(c.page == 6   ? Settings.AppList.Strings(0)
              : c.page == 5 ? Settings.FileTypes.Strings(0)
                            : TemplatesDoc->ReadAttrib("Templates\\brief", "MenuText", ""),
              c.kept);
  }
}
