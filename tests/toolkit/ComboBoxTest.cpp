// The text fields (edit, combo box) with the program's own controls: texts of any length and
// any byte go in and come back exactly; what a person types or pastes that the ANSI code page
// lacks is read as "?" and refused where it would name a file or be searched for.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <tuple>
#include <vector>
#include "support/ModalAnswers.h"
#include "support/ProgramControls.h"
#include "support/ToolkitTextNames.h"
#include "support/WideClipboard.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/MessageHook.h"

namespace {
// Every byte from the blank up, repeated to Length bytes.
std::string EveryByte(size_t Length) {
  std::string text;
  while (text.size() < Length) text += static_cast<char>(0x20 + text.size() % 0xE0);
  return text;
}

// How a person's text reaches a field.
enum class TInput { SetText, Typed, Pasted };

// Replaces the field's text with Text, the way How says.
void Enter(HWND Field, const std::wstring& Text, TInput How) {
  const wchar_t* first = How == TInput::SetText ? Text.c_str() : L"";
  SendMessageW(Field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first));
  if (How == TInput::Typed) {
    // Through the program's message loop, as keys arrive.
    for (wchar_t c : Text) PostMessageW(Field, WM_CHAR, c, 1);
    Application().ProcessMessages();
  } else if (How == TInput::Pasted) {
    testsupport::PutOnClipboard(Field, Text);
    SendMessageW(Field, WM_PASTE, 0, 0);
  }
}

// Answers the input box Wnd with Text, typed through its modal loop, and OK.
void AnswerInputBox(HWND Wnd, const std::wstring& Text) {
  const HWND field = FindWindowExA(Wnd, nullptr, "Edit", nullptr);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (wchar_t c : Text) PostMessageW(field, WM_CHAR, c, 1);
  PostMessageA(GetDlgItem(Wnd, IDOK), BM_CLICK, 0, 0);
}

}  // namespace

TEST(ComboBox, LongItemsAndTextsWithHighBytesComeBackExactly) {
  testsupport::TProgramControls controls;
  ASSERT_TRUE(controls.Active());
  TForm form(nullptr, {"Verlauf", 400, 200});
  // The system's 8-bit conversion copied up to 512 characters, so cross that several times.
  for (size_t length : {size_t(511), size_t(513), size_t(4096)}) {
    SCOPED_TRACE(length);
    const std::string text = EveryByte(length);

    TComboBox editable(nullptr, &form, 8, 8, 300, 200, TComboBoxStyle::csDropDown);
    editable.AddItem("kurz");
    editable.AddItem(text);
    EXPECT_EQ(editable.Items(1), text);
    editable.SetText(text);
    EXPECT_EQ(editable.Text(), text);
    editable.Delete(0);  // the typed text stays
    EXPECT_EQ(editable.Text(), text);
    EXPECT_EQ(editable.Items(0), text);

    TComboBox list(nullptr, &form, 8, 40, 300, 200);
    list.AddItem("kurz");
    list.AddItem(text);
    list.SetText(text);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.Text(), text);

    TEdit edit(nullptr, &form, 8, 72, 300, 22);
    edit.SetText(text);
    EXPECT_EQ(edit.Text(), text);
  }
}

TEST(TextFields, WhatTheCodePageLacksReadsAsQuestionMarkNeverAsALookAlike) {
  testsupport::TProgramControls controls;
  ASSERT_TRUE(controls.Active());
  TForm form(nullptr, {"Felder", 400, 200});
  TEdit edit(nullptr, &form, 8, 8, 300, 22);
  TEdit memo(nullptr, &form, 8, 40, 300, 60, ES_MULTILINE);
  TComboBox combo(nullptr, &form, 8, 110, 300, 200, TComboBoxStyle::csDropDown);
  const std::tuple<const char*, TWinControl*, HWND> fields[] = {
      {"edit", &edit, edit.Handle()},
      {"memo", &memo, memo.Handle()},
      {"combo", &combo, combo.EditHandle()}};
  struct Case {
    const wchar_t* typed;
    const char* read;
    bool exact;
  } cases[] = {{L"\u03A9mega.txt", "?mega.txt", false},
               {L"\u00C4rger \u20AC.txt", "\xC4rger \x80.txt", true}};
  for (TInput how : {TInput::SetText, TInput::Typed, TInput::Pasted}) {
    for (const auto& [name, field, window] : fields) {
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(name) + " by input " + std::to_string(int(how)) + ": " + c.read);
        Enter(window, c.typed, how);
        std::string text = "left over";
        EXPECT_EQ(field->ExactCaption(text), c.exact);
        EXPECT_EQ(text, c.read);
        if (field != &combo) continue;
        // The history changing under the field leaves what was typed as it was.
        combo.AddItem("Verlauf");
        combo.AddItem("Liste");
        combo.Delete(0);
        EXPECT_EQ(combo.WideCaption(), c.typed);
        combo.Clear();
        EXPECT_EQ(combo.WideCaption(), c.typed);
      }
    }
  }
}

// The list's items are held wide too: an item the system or another program put there wide
// reads as "?" where the code page lacks a character, in both kinds of box.
TEST(TextFields, ListItemsTheCodePageLacksReadAsQuestionMarkNeverAsALookAlike) {
  testsupport::TProgramControls controls;
  ASSERT_TRUE(controls.Active());
  TForm form(nullptr, {"Listen", 400, 200});
  for (TComboBoxStyle style : {TComboBoxStyle::csDropDownList, TComboBoxStyle::csDropDown}) {
    SCOPED_TRACE(style == TComboBoxStyle::csDropDown ? "editable" : "drop-down list");
    TComboBox combo(nullptr, &form, 8, 8, 300, 200, style);
    SendMessageW(combo.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\u03A9mega.txt"));
    SendMessageW(combo.Handle(), CB_SETCURSEL, 0, 0);
    EXPECT_EQ(combo.Items(0), "?mega.txt");
    std::string text;
    EXPECT_FALSE(combo.ExactCaption(text));
    EXPECT_EQ(text, "?mega.txt");
  }
}

TEST(TextFields, KeysTypedReachEightBitWindowsAndKeyEventsWithoutLookAlikes) {
  testsupport::TProgramControls controls;
  TForm form(nullptr, {"Tasten", 400, 200});  // an 8-bit window, as the editor is
  std::string reached;
  form.Make<TMessageHook>("", form.Handle(), [&](UINT Msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (Msg == WM_CHAR) reached += static_cast<char>(wParam);
    return false;
  });
  TComboBox combo(nullptr, &form, 8, 8, 300, 200, TComboBoxStyle::csDropDown);
  std::string pressed;
  combo.OnKeyPress = [&](char& Key) { pressed += Key; };
  for (wchar_t c : {L'\u03A9', L'\u00E4', L'\u20AC'}) {
    PostMessageW(form.Handle(), WM_CHAR, c, 1);
    PostMessageW(combo.EditHandle(), WM_CHAR, c, 1);
  }
  Application().ProcessMessages();
  EXPECT_EQ(reached, "?\xE4\x80");
  EXPECT_EQ(pressed, "?\xE4\x80");
  EXPECT_EQ(combo.Text(), "?\xE4\x80");
}

TEST(TextFields, ARefusedNameOrSearchTextIsSaidByNameAndALongListIsCut) {
  testsupport::TToolkitTextNames texts;
  TForm form(nullptr, {"Felder", 400, 200});
  TEdit field(nullptr, &form, 8, 8, 300, 22);
  TLabel label(nullptr, &form, 8, 40, 100, 16);
  label.SetCaption("Suchen nach:");
  auto expectBox = [](const std::string& Caption, const std::string& Text) {
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [=](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, Caption);
      EXPECT_EQ(q.text, Text);
    });
  };
  std::string read;
  field.SetText("C:\\Daten");
  EXPECT_TRUE(ReadNameField(field, read) && ReadSearchField(field, label, read));
  EXPECT_EQ(read, "C:\\Daten");
  SendMessageW(field.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\\u03A9dir"));
  expectBox("NameRefusedTitle", "NameRefusedText\r\nC:\\?dir");
  EXPECT_FALSE(ReadNameField(field, read));
  expectBox("SearchTextRefusedTitle", "SearchTextRefusedText(Suchen nach)");
  EXPECT_FALSE(ReadSearchField(field, label, read));

  // Twenty names and the count of the rest; a twenty-first takes the place of that count.
  std::vector<std::string> names(21, "?");
  std::string twenty = "NameRefusedText";
  for (int i = 0; i < 20; ++i) twenty += "\r\n?";
  expectBox("NameRefusedTitle", twenty + "\r\n?");
  ReportRefusedNames(names);
  names.resize(2500, "?");
  expectBox("NameRefusedTitle", twenty + "\r\nNamesNotShown(2480)");
  ReportRefusedNames(names);
}

TEST(TextFields, TheInputBoxAsksAgainForARefusedNameOrSearchText) {
  testsupport::TToolkitTextNames texts;
  const std::pair<TInputKind, const char*> kinds[] = {
      {TInputKind::Name, "NameRefusedTitle"}, {TInputKind::SearchText, "SearchTextRefusedTitle"}};
  for (const auto& [kind, refusal] : kinds) {
    SCOPED_TRACE(refusal);
    testsupport::QueueRealDialog();
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [refusal = std::string(refusal)](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, refusal);
    });
    testsupport::TWhenShown first([](HWND) { return true; },
                                  [](HWND Box) { AnswerInputBox(Box, L"\u03A9.exe"); });
    testsupport::TWhenShown second([&first](HWND) { return first.Done(); },
                                   [](HWND Box) { AnswerInputBox(Box, L"\u00C4.exe"); });
    std::string value;
    EXPECT_TRUE(InputQuery("Programm", "Befehl:", value, kind));
    EXPECT_EQ(value, "\xC4.exe");
  }
}
