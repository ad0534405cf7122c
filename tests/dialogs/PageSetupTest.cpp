#include <gtest/gtest.h>
#include <richedit.h>
#include "dialogs/formPgSetup.h"
#include "documents/fHlpMain.h"
#include "support/LayoutCheck.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/KeyState.h"
#include "support/WideClipboard.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageHook.h"
#include "toolkit/ToolBar.h"

namespace {
class PageSetupTest : public ::testing::Test {
protected:
  PageSetupTest() {
    Settings = TSettings();
    Settings.SettingsFile = dir.File("Tarvoline.ini");
    LoadSettings();  // the defaults
  }
  ~PageSetupTest() override { Settings = TSettings(); }
  TNumberEdit& Field(TfrmPgSetup& F, const char* Name) {
    return *static_cast<TNumberEdit*>(F.FindComponent(Name));
  }
  testsupport::TempFolder dir;
};

struct THeld {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};

// A key as the keyboard sends it to the focused control, the modifiers' own presses first,
// handled by the loop before the next key.
void Press(WORD Key, THeld Held = {}) {
  SetKeyStateOverride([Held](int K) {
    return (K == VK_SHIFT && Held.Shift) || (K == VK_CONTROL && Held.Ctrl) ||
           (K == VK_MENU && Held.Alt);
  });
  const UINT down = Held.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const LPARAM alt = Held.Alt ? 1 << 29 : 0;
  auto post = [&](WORD K) {
    PostMessageA(GetFocus(), down, K, 1 | (MapVirtualKeyA(K, 0) << 16) | alt);
  };
  if (Held.Shift) post(VK_SHIFT);
  if (Held.Ctrl) post(VK_CONTROL);
  if (Held.Alt) post(VK_MENU);
  post(Key);
  // Alt let go after a key is a plain key-up: the system enters menu mode only when it saw
  // Alt pressed alone.
  if (Held.Alt) PostMessageA(GetFocus(), WM_KEYUP, VK_MENU, 1 | (MapVirtualKeyA(VK_MENU, 0) << 16) | 0xC0000000);
  Application().ProcessMessages();
  SetKeyStateOverride(nullptr);
}

// Tab (Shift+Tab) until Field has the focus; false when it never does.
bool TabTo(const TWinControl& Field, bool Backwards = false) {
  for (int i = 0; i < 30 && GetFocus() != Field.Handle(); ++i)
    Press(VK_TAB, {.Shift = Backwards});
  return GetFocus() == Field.Handle();
}
}  // namespace

// These expectations use the decimal comma of the German locale the tests run in.
TEST_F(PageSetupTest, NumberFieldsAreNormalisedWhenLeft) {
  struct Case {
    const char* typed;
    const char* shown;
  } cases[] = {{"12.5", "12,5"}, {" 12,5 ", "12,5"}, {"abc", "0"}, {"1x2", "12"},
               {"", "0"},        {"1.2.3", "0"},      {"007", "7"},  {"-3", "3"}};
  for (const auto& c : cases) {
    double value = -1;
    EXPECT_EQ(NormaliseNumberText(c.typed, value), c.shown) << c.typed;
  }
  TfrmPgSetup form(nullptr);
  TNumberEdit& top = Field(form, "txtTop");
  top.SetText("12.5");
  form.txtFloatFieldExit(top);
  EXPECT_EQ(top.Text(), "12,5");
}

TEST_F(PageSetupTest, UnitSwitchConvertsEveryFieldAndBack) {
  Settings.Printer.MarginUnit = 0;
  Settings.Printer.MarginLeft = 25;
  TfrmPgSetup form(nullptr);
  EXPECT_EQ(form.CurrentUnit(), 0);
  TNumberEdit& left = Field(form, "txtLeft");
  TNumberEdit& gutter = Field(form, "txtGutter");
  EXPECT_EQ(left.Text(), "25");
  gutter.SetText("12.5");  // switched before the field was left
  form.cmbUnit->SetItemIndex(1);
  form.cmbUnitClick();
  EXPECT_EQ(left.Text(), "2,5");
  EXPECT_EQ(gutter.Text(), "1,25");
  form.cmbUnitClick();  // the same unit again changes nothing
  EXPECT_EQ(left.Text(), "2,5");
  form.cmbUnit->SetItemIndex(0);
  form.cmbUnitClick();
  EXPECT_EQ(left.Text(), "25");
  EXPECT_EQ(gutter.Text(), "12,5");
}

TEST_F(PageSetupTest, OkStoresEveryControlAndTheFileKeepsIt) {
  {
    TfrmPgSetup form(nullptr);
    form.chkHighlight->SetChecked(false);
    form.chkMirror->SetChecked(true);
    Field(form, "txtTop").SetText("2.25");
    Field(form, "txtRightIndent").SetText("0,4");
    form.header.rtfCenter->SetText("Seite $PAGENUM$");
    form.header.rtfCenter->Font().SetName("Courier New");
    form.header.rtfCenter->Font().SetStyle({TFontStyle::fsItalic});
    form.footer.chkUse->SetChecked(true);
    form.footer.chkBorder->SetChecked(true);
    form.footer.shpBackColor->SetColor(0x00FF00);
    form.footer.chkBackColor->SetChecked(true);
    testsupport::QueueFormAnswer([&](TForm&) {
      form.btnOkClick();
      return form.ModalResult();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
  }
  ASSERT_TRUE(SaveSettings());
  Settings.Printer = TPrinterSettings();
  LoadSettings();
  const TPrinterSettings& p = Settings.Printer;
  EXPECT_FALSE(p.Highlight);
  EXPECT_TRUE(p.Mirror);
  EXPECT_DOUBLE_EQ(p.MarginTop, 2.25);
  EXPECT_DOUBLE_EQ(p.MarginRightIndent, 0.4);
  EXPECT_EQ(p.HeaderCenterText, "Seite $PAGENUM$");
  EXPECT_EQ(p.HeaderCenterFont.Name, "Courier New");
  EXPECT_TRUE(p.HeaderCenterFont.StyleItalic);
  EXPECT_FALSE(p.HeaderCenterFont.StyleBold);
  EXPECT_TRUE(p.UseFooter);
  EXPECT_TRUE(p.FooterBorder);
  EXPECT_TRUE(p.FooterUseBackColor);
  EXPECT_EQ(p.FooterBackColor, 0x00FF00);
  // A second dialog shows what was stored.
  TfrmPgSetup again(nullptr);
  EXPECT_EQ(Field(again, "txtTop").Text(), "2,25");
  EXPECT_EQ(again.header.rtfCenter->Text(), "Seite $PAGENUM$");
  EXPECT_TRUE(again.footer.chkBackColor->Checked());
  EXPECT_EQ(again.footer.rtfLeft->BackColor(), RGB(0, 255, 0));
}

// A pasted character the code page lacks reads as "?" in every field, never as its look-alike.
TEST_F(PageSetupTest, HeaderAndFooterFieldsReadPastedTextAsEveryFieldDoes) {
  struct Case {
    const wchar_t* pasted;
    const char* read;
  } cases[] = {{L"\u03A9mega", "?mega"}, {L"\u00E4\u20AC\u0416", "\xE4\x80?"}};
  TfrmPgSetup form(nullptr);
  form.footer.chkUse->SetChecked(true);
  form.UseClick(form.footer);
  TNumberEdit& plain = Field(form, "txtTop");
  auto paste = [](TWinControl& Into, const std::wstring& Text) {
    Into.SetCaption("");
    testsupport::PutOnClipboard(Into.Handle(), Text);
    SendMessageW(Into.Handle(), WM_PASTE, 0, 0);
  };
  for (const Case& c : cases) {
    paste(plain, c.pasted);
    EXPECT_EQ(plain.Text(), c.read);
    for (TRichField* f : {form.header.rtfLeft, form.header.rtfCenter, form.header.rtfRight,
                          form.footer.rtfLeft, form.footer.rtfCenter, form.footer.rtfRight}) {
      SCOPED_TRACE(f->Name());
      paste(*f, c.pasted);
      EXPECT_EQ(f->Text(), c.read);
    }
  }
  form.btnOkClick();
  EXPECT_EQ(Settings.Printer.HeaderLeftText, "\xE4\x80?");
  EXPECT_EQ(Settings.Printer.FooterRightText, "\xE4\x80?");
}

TEST_F(PageSetupTest, CancelAndEscapeKeepTheSettings) {
  const double top = Settings.Printer.MarginTop;
  TfrmPgSetup form(nullptr);
  Field(form, "txtTop").SetText("9");
  form.chkWrap->SetChecked(!Settings.Printer.Wrap);
  form.FormKeyDown(VK_ESCAPE);
  EXPECT_EQ(form.ModalResult(), mrCancel);
  EXPECT_DOUBLE_EQ(Settings.Printer.MarginTop, top);
  form.btnPreviewClick();  // "Übernehmen" stores without a preview to refresh
  EXPECT_DOUBLE_EQ(Settings.Printer.MarginTop, 9);
}

TEST_F(PageSetupTest, CheckBoxRulesEnableTheirControls) {
  Settings.Printer.LineNumbers = false;
  Settings.Printer.UseFooter = false;
  TfrmPgSetup form(nullptr);
  EXPECT_FALSE(form.chkLineNumbersInMargin->Enabled());
  form.chkLineNumbers->SetChecked(true);
  form.chkLineNumbersClick();
  EXPECT_TRUE(form.chkLineNumbersInMargin->Enabled());
  EXPECT_FALSE(form.footer.rtfRight->Enabled());
  EXPECT_FALSE(form.footer.shpBackColor->Enabled());
  EXPECT_TRUE(form.header.rtfRight->Enabled());
  form.footer.chkUse->SetChecked(true);
  form.UseClick(form.footer);
  EXPECT_TRUE(form.footer.rtfRight->Enabled());
  EXPECT_TRUE(form.footer.chkMirror->Enabled());
}

TEST_F(PageSetupTest, MacrosGoIntoTheFieldEnteredLast) {
  TfrmPgSetup form(nullptr);
  EXPECT_EQ(form.ActiveHdrFtrField(), form.header.rtfLeft);
  form.header.rtfLeft->SetText("");
  form.tbPageNumber->Click();
  EXPECT_EQ(form.header.rtfLeft->Text(), "$PAGENUM$");
  // A click into a field chooses it, the focus it takes with the click included.
  ShowWindow(form.Handle(), SW_SHOW);
  form.footer.rtfRight->SetText("");
  const LPARAM at = MAKELPARAM(5, 5);
  PostMessageA(form.footer.rtfRight->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(form.footer.rtfRight->Handle(), WM_LBUTTONUP, 0, at);
  Application().ProcessMessages();
  EXPECT_EQ(form.lblTarget->Caption(), "&Ziel: Fu\xDFzeile Rechts");
  form.tbPageCount->Click();
  form.tbDate->Click();
  form.tbTime->Click();
  form.tbFileName->Click();
  form.pmnuFileNameNameOnly->Click();
  form.pmnuFileNamePathOnly->Click();
  form.pmnuFileNameFullPath->Click();
  EXPECT_EQ(form.footer.rtfRight->Text(),
            "$PAGECOUNT$$DATE$$TIME$$TITLE$$FILENAME$$FILEPATH$$FULLPATH$");
}

// By keyboard alone: the bar changes the field chosen last, named beside it, never one Tab
// passed on the way; its key leads there from the field without crossing another.
TEST_F(PageSetupTest, TheToolBarChangesOnlyTheFieldTheKeyboardChose) {
  TPrinterSettings& p = Settings.Printer;
  p.UseHeader = p.UseFooter = true;
  std::string* texts[] = {&p.HeaderLeftText, &p.HeaderCenterText, &p.HeaderRightText,
                          &p.FooterLeftText, &p.FooterCenterText, &p.FooterRightText};
  const char* before[] = {"HL", "HM", "HR", "FL", "FM", "Seite $PAGENUM$ von $PAGECOUNT$"};
  for (int i = 0; i < 6; ++i) *texts[i] = before[i];
  TfrmPgSetup form(nullptr);
  TRichField* fields[] = {form.header.rtfLeft, form.header.rtfCenter, form.header.rtfRight,
                          form.footer.rtfLeft, form.footer.rtfCenter, form.footer.rtfRight};
  std::vector<std::string> fonts;
  for (TRichField* f : fields) fonts.push_back(f->Font().Name());
  ASSERT_NE(fonts[4], "Courier New");
  std::vector<std::string> targets;
  auto drive = [&] {
    Press(VK_TAB, {.Ctrl = true});  // the second page
    ASSERT_TRUE(TabTo(*form.tbHdrFtr, true)) << testsupport::layoutcheck::NameOf(GetFocus());
    targets.push_back(form.lblTarget->Caption());
    // Tab to footer-middle passes four fields; Alt+Z leads back to the bar, "#" and the font.
    ASSERT_TRUE(TabTo(*form.footer.rtfCenter));
    targets.push_back(form.lblTarget->Caption());
    Press('Z', {.Alt = true});
    ASSERT_EQ(GetFocus(), form.tbHdrFtr->Handle());
    targets.push_back(form.lblTarget->Caption());
    Press(VK_SPACE);
    for (int i = 0; i < 5; ++i) Press(VK_RIGHT);
    testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .value = "Courier New",
                                         .numbers = {14, 0, 0xFF, 1}});
    Press(VK_RETURN);
    // A key in footer-left chooses it; Shift+Tab back to the bar passes the header's fields.
    ASSERT_TRUE(TabTo(*form.footer.rtfLeft, true));
    Press(VK_END);
    targets.push_back(form.lblTarget->Caption());
    ASSERT_TRUE(TabTo(*form.tbHdrFtr, true));
    targets.push_back(form.lblTarget->Caption());
    for (int i = 0; i < 5; ++i) Press(VK_LEFT);  // from the font button round to "#"
    Press(VK_RETURN);
    form.btnOkClick();
  };
  // Menu mode would take the next Space or Enter for the window menu instead of the bar.
  int menuModes = 0;
  form.Make<TMessageHook>("", form.Handle(), [&](UINT Msg, WPARAM wParam, LPARAM, LRESULT& Result) {
    if (Msg != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_KEYMENU) return false;
    ++menuModes;
    Result = 0;
    return true;
  });
  testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == form.Handle(); }, [&](HWND) {
    drive();
    if (form.ModalResult() == mrNone) form.SetModalResult(mrAbort);
  });
  EXPECT_EQ(form.RunModalLoop(), mrOk);
  ASSERT_TRUE(shown.Done());
  EXPECT_EQ(targets, (std::vector<std::string>{"&Ziel: Kopfzeile Links", "&Ziel: Kopfzeile Links",
                                               "&Ziel: Fu\xDFzeile Mitte", "&Ziel: Fu\xDFzeile Links",
                                               "&Ziel: Fu\xDFzeile Links"}));
  const char* after[] = {"HL", "HM", "HR", "FL$PAGENUM$", "FM$PAGENUM$",
                         "Seite $PAGENUM$ von $PAGECOUNT$"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(fields[i]->Name());
    EXPECT_EQ(*texts[i], after[i]);
    EXPECT_EQ(fields[i]->Font().Name(), i == 4 ? "Courier New" : fonts[i]);
  }
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_EQ(menuModes, 0);
}

TEST_F(PageSetupTest, ColourAndFontDialogsChangeOnlyWhenConfirmed) {
  TfrmPgSetup form(nullptr);
  const TColor before = form.header.shpLineColor->Color();
  testsupport::QueueAnswer(IDCANCEL);
  form.LineColorMouseDown(form.header);
  EXPECT_EQ(form.header.shpLineColor->Color(), before);
  testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .numbers = {0x123456}});
  form.LineColorMouseDown(form.header);
  EXPECT_EQ(form.header.shpLineColor->Color(), 0x123456);
  // A new back colour reaches the fields at once when the box is checked.
  form.header.chkBackColor->SetChecked(true);
  testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .numbers = {0x00FFFF}});
  form.BackColorMouseDown(form.header);
  EXPECT_EQ(form.header.rtfCenter->BackColor(), RGB(255, 255, 0));
  form.header.chkBackColor->SetChecked(false);
  form.BackColorClick(form.header);
  EXPECT_EQ(form.header.rtfCenter->BackColor(), RGB(255, 255, 255));

  form.rtfEditFieldEnter(*form.header.rtfRight);
  testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .value = "Courier New",
                                       .numbers = {14, 0, 0xFF, 1 | 4}});
  form.tbFontClick();
  const TFont& f = form.header.rtfRight->Font();
  EXPECT_EQ(f.Name(), "Courier New");
  EXPECT_EQ(f.Size(), 14);
  EXPECT_EQ(f.Color(), 0xFF);
  EXPECT_TRUE(f.Style() == (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));
  CHARFORMAT2W shown = {};  // what the field shows, asked wide
  shown.cbSize = sizeof shown;
  SendMessageW(form.header.rtfRight->Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
               reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(std::wstring(shown.szFaceName), L"Courier New");
  EXPECT_EQ(shown.yHeight, 14 * 20);
  EXPECT_EQ(shown.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE), CFE_BOLD | CFE_UNDERLINE);
}

TEST_F(PageSetupTest, CaptionsAndUnitsInGerman) {
  TfrmPgSetup form(nullptr);
  EXPECT_EQ(form.Caption(), "Seite einrichten");
  EXPECT_EQ(form.btnPreview->Caption(), "\xDC" "bernehmen");
  EXPECT_EQ(form.footer.chkLine->Caption(), "Linie oben");
  EXPECT_EQ(form.header.chkLine->Caption(), "Linie unten");
  EXPECT_EQ(form.footer.lblCenter->Caption(), "Mitte:");
  EXPECT_EQ(form.cmbUnit->Items(1), "Centimeter");
  EXPECT_EQ(form.cmbUnit->ItemIndex(), 1);  // the default settings use centimetres
}
