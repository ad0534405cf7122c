// The document frame's events driven through real window messages to the editor: the status
// bar, closing brackets, entities for typed characters, insert hot keys and text templates,
// the triple click, the colour preview and the context menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <string>
#include <vector>
#include "commands/EditCommands.h"
#include "commands/Templates.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "rtl/DateTimeFormat.h"
#include "rtl/FormatSettings.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"
#include "toolkit/ToolBar.h"

namespace documentstest {
namespace {

class FrameEventsTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    InitHotKeys();
    savedChars_ = SpecialCharsTable;
  }
  void TearDown() override {
    SpecialCharsTable = savedChars_;
    TemplatesDoc.reset();
    SetClockOverride(nullptr);
    DocumentWindowTest::TearDown();
  }

  TfraEdit* NewDocument(const std::string& Text) {
    TfraEdit* frame = Open("");
    frame->seEdit->SetText(Text);
    return frame;
  }
  static HWND Wnd(TfraEdit* Frame) { return Frame->seEdit->Handle(); }
  // A key as the keyboard sends it; Alt travels in the message, Shift and Ctrl in the state.
  static void Key(TfraEdit* Frame, WORD VirtualKey, bool Shift = false, bool Ctrl = false,
                  bool Alt = false) {
    SetKeyStateOverride([=](int K) {
      return (K == VK_SHIFT && Shift) || (K == VK_CONTROL && Ctrl) || (K == VK_MENU && Alt);
    });
    const LPARAM data = 1 | (Alt ? (1 << 29) : 0);
    SendMessageA(Wnd(Frame), Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VirtualKey, data);
    // As the keyboard's translation does, Enter also sends its character.
    if (VirtualKey == VK_RETURN && !Alt) SendMessageA(Wnd(Frame), WM_CHAR, Ctrl ? '\n' : '\r', data);
    SendMessageA(Wnd(Frame), Alt ? WM_SYSKEYUP : WM_KEYUP, VirtualKey, data | (1u << 31));
    SetKeyStateOverride(nullptr);
  }
  // Each character with the key press that makes it, as typing does.
  static void Type(TfraEdit* Frame, const std::string& Text) {
    for (char c : Text) {
      const SHORT scan = VkKeyScanA(c);
      if (scan != -1) SendMessageA(Wnd(Frame), WM_KEYDOWN, LOBYTE(scan), 1);
      SendMessageA(Wnd(Frame), WM_CHAR, static_cast<unsigned char>(c), 1);
    }
  }
  static std::string Panel(int Index) { return frmMain->StatusBar->PanelText(Index); }
  static std::string Text(TfraEdit* Frame) { return Frame->seEdit->Text(); }

private:
  std::array<TSpecialCharRec, 256> savedChars_;
};

// ---- Status bar ---------------------------------------------------------------------------

TEST(DocumentSize, CountsEachLineBreakAsItsFormatWritesIt) {
  struct Case {
    int64_t crLfLength;
    int lines;
    TLineBreakFormat format;
    int64_t size;
  };
  const Case cases[] = {
      {7, 3, lbfUnix, 5},      {7, 3, lbfWindows, 7},   {7, 3, lbfMacintosh, 5},
      {7, 3, lbfNetscape, 9},  {0, 0, lbfUnix, 0},      {0, 0, lbfNetscape, 0},
      {0, 1, lbfNetscape, 0},  {0, 1, lbfUnix, 0},      {4, 1, lbfNetscape, 4},
      {2, 2, lbfUnix, 1},      {2, 2, lbfNetscape, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(DocumentSize(c.crLfLength, c.lines, c.format), c.size)
        << c.crLfLength << " " << c.lines << " " << c.format;
}

TEST(FormatStatusText, UsesATranslationOnlyWhenItsFieldsMatchTheDefault) {
  const std::string xy = "Ze %d, Sp %d, Pos %d (Mark %d)";
  const char sep = GetLocaleFormatSettings(LOCALE_USER_DEFAULT).ThousandSeparator;
  struct Case {
    std::string tmpl, deflt;
    std::vector<int64_t> values;
    std::string expected;
  };
  const Case cases[] = {
      {xy, xy, {1, 2, 3, 0}, "Ze 1, Sp 2, Pos 3 (Mark 0)"},
      {"Ln %d, Col %d, Pos %d, Sel %d", xy, {4, 5, 6, 7}, "Ln 4, Col 5, Pos 6, Sel 7"},
      {"100%% Ln %d %d %d %d", xy, {4, 5, 6, 7}, "100% Ln 4 5 6 7"},
      {"Ln %d", xy, {4, 5, 6, 7}, "Ze 4, Sp 5, Pos 6 (Mark 7)"},            // too few fields
      {"%s %d %d %d", xy, {4, 5, 6, 7}, "Ze 4, Sp 5, Pos 6 (Mark 7)"},      // a text field
      {"%d %d %d %d %d", xy, {4, 5, 6, 7}, "Ze 4, Sp 5, Pos 6 (Mark 7)"},   // one too many
      {"Ln %d %d %d %", xy, {4, 5, 6, 7}, "Ze 4, Sp 5, Pos 6 (Mark 7)"},    // cut off
      {"%.0n Bytes", "%.0n Byte", {0}, "0 Bytes"},
      {"%d Byte", "%.0n Byte", {999}, "999 Byte"},
      {"%.0n Byte", "%.0n Byte", {1000}, std::string("1") + sep + "000 Byte"},
      {"%.0n Byte", "%.0n Byte", {1234567}, std::string("1") + sep + "234" + sep + "567 Byte"}};
  for (const Case& c : cases)
    EXPECT_EQ(FormatStatusText(c.tmpl, c.deflt, c.values), c.expected) << c.tmpl;
}

TEST_F(FrameEventsTest, SizePanelFollowsTheLineBreakFormat) {
  TfraEdit* frame = OpenWith("abc.txt", "a\nb\nc");
  const std::pair<TLineBreakFormat, const char*> cases[] = {
      {lbfUnix, "5 Byte"}, {lbfWindows, "7 Byte"}, {lbfMacintosh, "5 Byte"}, {lbfNetscape, "9 Byte"}};
  for (const auto& [format, text] : cases) {
    SetLineBreakFormat(format);
    EXPECT_EQ(Panel(2), text) << format;
    EXPECT_TRUE(frame->DocInfo.Modified);
  }
  frame->seEdit->SetText("");
  for (const auto& [format, text] : cases) {
    SetLineBreakFormat(format);
    EXPECT_EQ(Panel(2), "0 Byte") << format;
  }
}

TEST_F(FrameEventsTest, TypingUpdatesPositionInsertModeCaptionAndButtons) {
  Settings.General.TitleShowChanged = true;
  TfraEdit* frame = NewDocument("");
  Type(frame, "ab");
  Key(frame, VK_RETURN);
  Type(frame, "c");
  EXPECT_EQ(Text(frame), "ab\r\nc");
  EXPECT_EQ(Panel(0), "Ze 2, Sp 2, Pos 6 (Mark 0)");
  EXPECT_EQ(Panel(1), "INS");
  EXPECT_EQ(Panel(2), "5 Byte");
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - *Unbenannt1");
  EXPECT_TRUE(frmMain->Find<TToolButton>("tbMainEditUndo")->Enabled());
  Key(frame, VK_LEFT, true);
  EXPECT_EQ(Panel(0), "Ze 2, Sp 1, Pos 5 (Mark 1)");
  Key(frame, VK_HOME, false, true);
  EXPECT_EQ(Panel(0), "Ze 1, Sp 1, Pos 1 (Mark 0)");
  Key(frame, VK_INSERT);
  EXPECT_EQ(Panel(1), "OVR");
  Type(frame, "X");
  EXPECT_EQ(Text(frame), "Xb\r\nc");
  LanguageTexts.Add("Main|sbMainXY=Ln %d Col %d Pos %d Sel %d");
  LanguageTexts.Add("Main|sbMainSize=%d %d Bytes");  // fields unlike the default's: it stays
  Key(frame, VK_RIGHT);
  EXPECT_EQ(Panel(0), "Ln 1 Col 3 Pos 3 Sel 0");
  Type(frame, "Y");
  EXPECT_EQ(Text(frame), "XbY\r\nc");
  EXPECT_EQ(Panel(2), "6 Byte");
  LanguageTexts.Clear();
}

TEST_F(FrameEventsTest, ChangesToABackgroundDocumentLeaveTheStatusBarAlone) {
  TfraEdit* back = NewDocument("one");
  TfraEdit* front = NewDocument("two\r\nlines");
  ASSERT_EQ(GetActiveFrame(), front);
  front->seEdit->SetCaretXY({3, 2});
  const std::string shown = Panel(0);
  back->seEdit->CommandProcessor(ecChar, 'x', nullptr);
  EXPECT_TRUE(back->DocInfo.Modified);
  EXPECT_EQ(Panel(0), shown);
  EXPECT_EQ(Panel(0), "Ze 2, Sp 3, Pos 8 (Mark 0)");
}

// ---- Brackets and entities ----------------------------------------------------------------

TEST_F(FrameEventsTest, AutoClosedBrackets) {
  Settings.Editor.BracketsAuto = true;
  Settings.Editor.BracketsAutoStart = "([<{";
  Settings.Editor.BracketsAutoClose = ")]>";  // "{" has no partner
  struct Case {
    const char* before;
    bool selectAll;
    const char* typed;
    const char* after;
    int caretX;
  };
  const Case cases[] = {
      {"", false, "(", "()", 2},       {"", false, "((", "(())", 3}, {"ab", true, "[", "[]", 2},
      {"", false, "x", "x", 2},        {"", false, "{", "{", 2},     {"", false, "<a", "<a>", 3}};
  for (const Case& c : cases) {
    TfraEdit* frame = NewDocument(c.before);
    if (c.selectAll) frame->seEdit->SelectAll();
    Type(frame, c.typed);
    EXPECT_EQ(Text(frame), c.after) << c.typed;
    EXPECT_EQ(frame->seEdit->CaretX(), c.caretX) << c.typed;
  }
  Settings.Editor.BracketsAuto = false;
  TfraEdit* off = NewDocument("");
  Type(off, "(");
  EXPECT_EQ(Text(off), "(");
}

TEST_F(FrameEventsTest, TypedSpecialCharactersBecomeEntitiesAndNeverVanish) {
  SpecialCharsTable.fill({});
  SetSpecialChar(0xE4, "\xE4", "auml", "228");
  SetSpecialChar(0xA9, "\xA9", "", "169");  // no named entity
  struct Case {
    bool replace, unicode;
    unsigned char typed;
    const char* result;
  };
  const Case cases[] = {
      {true, false, 0xE4, "&auml;"},  {true, true, 0xE4, "&#228;"},
      {true, false, 0xA9, "&#169;"},  {true, false, 0x80, "&#8364;"},  // not in the table
      {true, false, 'a', "a"},        {true, false, 0x7F, ""},          // below 128: as ever
      {false, false, 0xE4, "\xE4"}};
  for (const Case& c : cases) {
    Settings.Editor.ReplaceHtmlNamedCharsUnicode = c.unicode;
    TfraEdit* frame = NewDocument("");
    frame->DocInfo.ReplaceHtmlNamedChars = c.replace;
    Type(frame, std::string(1, static_cast<char>(c.typed)));
    EXPECT_EQ(Text(frame), c.result) << int(c.typed);
  }
  // The entity goes in front of a selection, which stays.
  TfraEdit* frame = NewDocument("sel");
  frame->DocInfo.ReplaceHtmlNamedChars = true;
  frame->seEdit->SelectAll();
  Type(frame, "\xE4");
  EXPECT_EQ(Text(frame), "&auml;sel");
  EXPECT_EQ(frame->seEdit->SelText(), "sel");
}

// ---- Insert hot keys and templates --------------------------------------------------------

TEST_F(FrameEventsTest, InsertHotKeysWrapTheSelection) {
  SetClockOverride([] {
    TClockReading r;
    r.Local = EncodeDate(2026, 3, 4) + EncodeTime(5, 6, 7, 0);
    return r;
  });
  struct Case {
    WORD key;
    bool shift, ctrl, alt;
    const char* result;
  };
  const Case cases[] = {
      {VK_RETURN, true, false, false, "<br>sel"},
      {VK_RETURN, false, true, false, "<br>\r\nsel"},
      {VK_RETURN, true, true, false, "<p>sel</p>"},
      {VK_ADD, false, true, false, "[+] sel"},
      {VK_MULTIPLY, false, true, false, "[*] sel"},
      {VK_SUBTRACT, false, true, false, "[-] sel"},
      {VK_ADD, true, true, false, "[+] 2026-03-04: sel"},
      {VK_MULTIPLY, true, true, false, "[*] 2026-03-04: sel"},
      {VK_SUBTRACT, true, true, false, "[-] 2026-03-04: sel"},
      {VK_SPACE, true, true, true, "&nbsp;sel"},
      {'A', true, true, true, "&amp;sel"},
      {'G', true, true, true, "&gt;sel"},
      {'L', true, true, true, "&lt;sel"},
      {'B', true, true, true, "<b>sel</b>"},
      {'I', true, true, true, "<i>sel</i>"},
      {'U', true, true, true, "<u>sel</u>"}};
  for (const Case& c : cases) {
    TfraEdit* frame = NewDocument("sel");
    frame->seEdit->SelectAll();
    Key(frame, c.key, c.shift, c.ctrl, c.alt);
    EXPECT_EQ(Text(frame), c.result) << c.result;
    EXPECT_EQ(frame->seEdit->SelText(), "sel") << c.result;
    // One undo step takes it all back.
    frame->seEdit->Undo();
    EXPECT_EQ(Text(frame), "sel") << c.result;
  }
}

TEST_F(FrameEventsTest, AConsumedHotKeyTypesNoCharacterAndAReadOnlyDocumentStaysAsItIs) {
  TfraEdit* frame = NewDocument("x");
  frame->seEdit->SetCaretXY({2, 1});
  PostMessageA(Wnd(frame), WM_CHAR, '\r', 1);  // what the keyboard makes of Shift+Enter
  Key(frame, VK_RETURN, true);
  Application().ProcessMessages();
  EXPECT_EQ(Text(frame), "x<br>");
  frame->seEdit->SetReadOnly(true);
  Key(frame, 'B', true, true, true);
  EXPECT_EQ(Text(frame), "x<br>");
}

TEST_F(FrameEventsTest, TemplateKeyReplacesTheWordLeftOfTheCaret) {
  TemplatesDoc = std::make_unique<TXmlDoc>();
  TemplatesDoc->WriteString("Templates\\tab\\Before", "<table>");
  TemplatesDoc->WriteString("Templates\\tab\\Select", "%FILENAME%");
  TemplatesDoc->WriteString("Templates\\tab\\After", "</table>");
  TemplatesDoc->WriteString("Templates\\blank\\Before", "  ");
  struct Case {
    const char* text;
    int caretX;
    const char* result;
    const char* selected;
  };
  const Case cases[] = {
      {"x TAB", 6, "x <table>Unbenannt%s</table>", "Unbenannt%s"},  // upper case word
      {"tab y", 4, "<table>Unbenannt%s</table> y", "Unbenannt%s"},
      {"tabs", 5, "tabs", ""},       // no such template
      {"tab ", 5, "tab ", ""},       // no word left of the caret
      {"blank", 6, "blank", ""},     // only blanks: nothing
      {"", 1, "", ""}};
  for (const Case& c : cases) {
    TfraEdit* frame = NewDocument(c.text);
    const std::string n = std::to_string(frame->Tag());
    frame->seEdit->SetCaretXY({c.caretX, 1});
    Key(frame, VK_SPACE, true, true);
    std::string result = c.result, selected = c.selected;
    if (size_t at = result.find("%s"); at != std::string::npos) result.replace(at, 2, n);
    if (size_t at = selected.find("%s"); at != std::string::npos) selected.replace(at, 2, n);
    EXPECT_EQ(Text(frame), result) << c.text;
    EXPECT_EQ(frame->seEdit->SelText(), selected) << c.text;
    if (selected.empty()) continue;
    frame->seEdit->Undo();
    EXPECT_EQ(Text(frame), c.text) << "undo " << c.text;
  }
}

TEST_F(FrameEventsTest, TypingBehindATemplateIsUndoneOnItsOwn) {
  TemplatesDoc = std::make_unique<TXmlDoc>();
  TemplatesDoc->WriteString("Templates\\tab\\Before", "<table>");
  TemplatesDoc->WriteString("Templates\\tab\\After", "</table>");
  TfraEdit* frame = NewDocument("tab");
  frame->seEdit->SetCaretXY({4, 1});
  Key(frame, VK_SPACE, true, true);
  ASSERT_EQ(Text(frame), "<table></table>");
  frame->seEdit->SetCaretXY({16, 1});
  Type(frame, "xy");
  EXPECT_EQ(Text(frame), "<table></table>xy");
  frame->seEdit->Undo();
  EXPECT_EQ(Text(frame), "<table></table>") << "the template's block ended before the typing";
  frame->seEdit->Undo();
  EXPECT_EQ(Text(frame), "tab");
}

// ---- Triple click -------------------------------------------------------------------------

TEST_F(FrameEventsTest, ThirdClickWithinTheDoubleClickTimeOnTheSameLineSelectsIt) {
  const DWORD dbl = GetDoubleClickTime();
  struct Case {
    const char* what;
    DWORD thirdAfter;  // ms after the double click's release
    int thirdLine;
    bool selects;
  };
  const Case cases[] = {{"at once", 0, 2, true},
                        {"exactly at the limit", dbl, 2, true},
                        {"one ms late", dbl + 1, 2, false},
                        {"on another line", 10, 1, false}};
  ShowWindow(frmMain->Handle(), SW_SHOWNOACTIVATE);
  for (const Case& c : cases) {
    TfraEdit* frame = NewDocument("first line\r\nsecond line\r\nthird");
    frame->SetBounds(0, 0, 400, 300);
    DWORD now = 0xFFFFFF00;  // the clock wraps during the test
    frame->TickCount = [&] { return now; };
    auto at = [&](int Line) {
      const POINT p = frame->seEdit->RowColumnToPixels(frame->seEdit->BufferToDisplayPos({3, Line}));
      return MAKELPARAM(p.x + 2, p.y + 2);
    };
    const HWND wnd = Wnd(frame);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at(2));
    SendMessageA(wnd, WM_LBUTTONUP, 0, at(2));
    SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at(2));
    SendMessageA(wnd, WM_LBUTTONUP, 0, at(2));
    now += c.thirdAfter;
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at(c.thirdLine));
    SendMessageA(wnd, WM_LBUTTONUP, 0, at(c.thirdLine));
    EXPECT_EQ(frame->tmrTripleClick->Enabled(), c.selects) << c.what;
    if (!c.selects) continue;
    Application().ProcessMessagesUntil([&] { return !frame->tmrTripleClick->Enabled(); }, 2000);
    EXPECT_EQ(frame->seEdit->SelText(), "second line") << c.what;
    // The state is spent: a fourth click selects nothing more.
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at(2));
    SendMessageA(wnd, WM_LBUTTONUP, 0, at(2));
    EXPECT_FALSE(frame->tmrTripleClick->Enabled());
  }
}

// ---- Colour preview -----------------------------------------------------------------------

TEST_F(FrameEventsTest, ColourPreviewOnlyWhileCtrlIsHeldOverAColourCode) {
  ShowWindow(frmMain->Handle(), SW_SHOWNOACTIVATE);
  TfraEdit* frame = NewDocument("x 33cc99 ab12ef 12345 ggg000");
  frame->SetBounds(0, 0, 400, 300);
  auto over = [&](int Column) {
    const POINT p = frame->seEdit->RowColumnToPixels(frame->seEdit->BufferToDisplayPos({Column, 1}));
    return MAKELPARAM(p.x + 2, p.y + 2);
  };
  struct Case {
    int column;
    bool ctrl;
    bool shown;
    const char* label;
    TColor color;
  };
  const Case cases[] = {{4, true, true, "Websicher", 0x99CC33},
                        {11, true, true, "Nicht websicher", 0xEF12AB},  // lower case digits
                        {4, false, false, "", 0},
                        {17, true, false, "", 0},   // five digits
                        {24, true, false, "", 0}};  // not hexadecimal
  for (const Case& c : cases) {
    HoldCtrl(c.ctrl);
    SendMessageA(Wnd(frame), WM_MOUSEMOVE, c.ctrl ? MK_CONTROL : 0, over(c.column));
    EXPECT_EQ(frame->pnlColor->Visible(), c.shown) << c.column;
    if (!c.shown) continue;
    EXPECT_EQ(frame->lblColorWebSave->Caption(), c.label);
    EXPECT_EQ(frame->shpColor->Color(), c.color);
  }
  HoldCtrl(true);
  SendMessageA(Wnd(frame), WM_MOUSEMOVE, MK_CONTROL, over(4));
  ASSERT_TRUE(frame->pnlColor->Visible());
  HoldCtrl(false);
  SendMessageA(Wnd(frame), WM_KEYUP, VK_CONTROL, 1u << 31);
  EXPECT_FALSE(frame->pnlColor->Visible());
}

// ---- Context menu -------------------------------------------------------------------------

TEST_F(FrameEventsTest, ContextMenuFollowsTheMainMenuAndTheEditorState) {
  TfraEdit* frame = NewDocument("abc");
  TMenuItem* twin = frmMain->Find<TMenuItem>("mnuEditCut");
  twin->SetShortCut(scCtrl | 'K');
  frame->pmnuEdit->OnPopup(nullptr);
  EXPECT_EQ(frame->pmnuEditCut->Caption(), twin->Caption());
  EXPECT_EQ(frame->pmnuEditCut->ShortCut(), scCtrl | 'K');
  EXPECT_FALSE(frame->pmnuEditCopyAndAttach->Enabled());
  EXPECT_FALSE(frame->pmnuEditUndo->Enabled());
  // Copy, then attach "b", then cut and attach "c": the clipboard gathers, undo and redo
  // move the cut, paste gives back what was gathered.
  frame->pmnuEditSelectAll->Click();
  frame->pmnuEditCopy->Click();
  frame->seEdit->SetSelStart(1);
  frame->seEdit->SetSelLength(1);
  frame->pmnuEdit->OnPopup(nullptr);
  EXPECT_TRUE(frame->pmnuEditCopyAndAttach->Enabled());
  frame->pmnuEditCopyAndAttach->Click();
  frame->seEdit->SetSelStart(2);
  frame->seEdit->SetSelLength(1);
  frame->pmnuEditCutAndAttach->Click();
  EXPECT_EQ(Text(frame), "ab");
  frame->pmnuEdit->OnPopup(nullptr);
  EXPECT_TRUE(frame->pmnuEditUndo->Enabled());
  EXPECT_TRUE(frame->pmnuEditPaste->Enabled());
  frame->pmnuEditUndo->Click();
  EXPECT_EQ(Text(frame), "abc");
  frame->pmnuEditRedo->Click();
  frame->pmnuEditPaste->Click();
  EXPECT_EQ(Text(frame), "ababcbc");
  // Cut and attach in a read-only document changes neither the text nor the clipboard.
  frame->seEdit->SelectAll();
  frame->seEdit->SetReadOnly(true);
  frame->pmnuEditCutAndAttach->Click();
  EXPECT_EQ(Text(frame), "ababcbc");
  EXPECT_EQ(ClipboardText(), "abcbc");
}

}  // namespace
}  // namespace documentstest
