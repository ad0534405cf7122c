// The combo box with the program's own controls: texts of any length and any byte go in and
// come back exactly.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "support/ProgramControls.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace {
// Every byte from the blank up, repeated to Length bytes.
std::string EveryByte(size_t Length) {
  std::string text;
  while (text.size() < Length) text += static_cast<char>(0x20 + text.size() % 0xE0);
  return text;
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
