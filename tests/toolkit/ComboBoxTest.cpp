// The text fields (edit, combo box) with the program's own controls: texts of any length and
// any byte go in and come back exactly; what a person types or pastes that the ANSI code page
// lacks is read as "?".
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>
#include "support/ProgramControls.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
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

void PutOnClipboard(HWND Owner, const std::wstring& Text) {
  ASSERT_TRUE(OpenClipboard(Owner));
  EmptyClipboard();
  const size_t bytes = (Text.size() + 1) * sizeof(wchar_t);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(data), Text.c_str(), bytes);
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

// Replaces the field's text with Text, the way How says.
void Enter(HWND Field, const std::wstring& Text, TInput How) {
  const wchar_t* first = How == TInput::SetText ? Text.c_str() : L"";
  SendMessageW(Field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first));
  if (How == TInput::Typed) {
    // Through the program's message loop, as keys arrive.
    for (wchar_t c : Text) PostMessageW(Field, WM_CHAR, c, 1);
    Application().ProcessMessages();
  } else if (How == TInput::Pasted) {
    PutOnClipboard(Field, Text);
    SendMessageW(Field, WM_PASTE, 0, 0);
  }
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
      }
    }
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
