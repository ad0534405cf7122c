// Shared helpers of the editor control's tests: an in-memory clipboard and a headless editor.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <gtest/gtest.h>
#include "editor/CodeEdit.h"
#include "toolkit/Clipboard.h"

namespace codeedittest {

// The clipboard as a map of formats; it can be told to refuse opening or storing.
class TFakeClipboard : public TClipboard {
public:
  TFakeClipboard() { SetClipboardOverride(this); }
  ~TFakeClipboard() override { SetClipboardOverride(nullptr); }
  bool Open(HWND) override {
    if (BusyOpens > 0) {
      --BusyOpens;
      return false;
    }
    return !RefuseOpen && (open_ = true);
  }
  void Close() override { open_ = false; }
  bool Empty() override {
    Data.clear();
    return open_;
  }
  std::optional<std::string> GetData(UINT Format) override {
    auto it = Data.find(Format);
    if (!open_ || it == Data.end()) return std::nullopt;
    return it->second;
  }
  bool SetData(UINT Format, const std::string& Bytes) override {
    if (!open_ || RefuseStore) return false;
    Data[Format] = Bytes;
    return true;
  }
  bool HasFormat(UINT Format) override { return Data.count(Format) != 0; }

  std::map<UINT, std::string> Data;
  bool RefuseOpen = false;
  // Openings refused before one succeeds, as while another program holds the clipboard.
  int BusyOpens = 0;
  bool RefuseStore = false;

private:
  bool open_ = false;
};

// The control with its window procedure reachable, for message tests without a window, and
// its drop, for drags without a mouse.
class TTestEdit : public TCodeEdit {
public:
  using TCodeEdit::TCodeEdit;
  using TCustomCodeEdit::DropTextFrom;
  using TCustomCodeEdit::WndProc;
};

inline std::unique_ptr<TTestEdit> MakeEdit(const std::string& Text,
                                           TCodeEditorOptions Options = CodeEditDefaultOptions) {
  auto edit = std::make_unique<TTestEdit>(nullptr);
  edit->SetOptions(Options);
  edit->SetText(Text);
  return edit;
}

inline void Cmd(TCustomCodeEdit& Edit, TCodeEditorCommand Command, char AChar = '\0',
                void* Data = nullptr) {
  Edit.CommandProcessor(Command, AChar, Data);
}

inline void Type(TCustomCodeEdit& Edit, const std::string& Text) {
  for (char c : Text) Cmd(Edit, ecChar, c);
}

inline void Select(TCustomCodeEdit& Edit, TBufferCoord From, TBufferCoord To) {
  Edit.SetCaretAndSelection(To, From, To);
}

inline TCodeEditorOptions WithOut(TCodeEditorOptions O, TCodeEditorOption X) {
  O.Exclude(X);
  return O;
}
inline TCodeEditorOptions With(TCodeEditorOptions O, TCodeEditorOption X) {
  O.Include(X);
  return O;
}

// One undo step takes the text back to Before, redo to After.
inline void ExpectUndoRedoRoundTrip(TCustomCodeEdit& Edit, const std::string& Before,
                                    const std::string& After) {
  Edit.Undo();
  EXPECT_EQ(Edit.Text(), Before);
  EXPECT_FALSE(Edit.CanUndo()) << "more than one undo step";
  Edit.Redo();
  EXPECT_EQ(Edit.Text(), After);
  Edit.Undo();
  EXPECT_EQ(Edit.Text(), Before);
}

}  // namespace codeedittest
