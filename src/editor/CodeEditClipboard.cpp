// The clipboard: plain text plus the editor's block format that keeps the selection mode.
#include <optional>
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "toolkit/Clipboard.h"

namespace {
using SM = TCodeSelectionMode;

}  // namespace

UINT CodeEditClipboardFormat() {
  static const UINT format = RegisterClipboardFormatName("CodeEdit Control Block Type");
  return format;
}

bool DecodeCodeEditBlock(const std::string& Block, TCodeSelectionMode& Mode, std::string& Text) {
  if (Block.size() < 2) return false;
  unsigned char mode = static_cast<unsigned char>(Block[0]);
  if (mode > 2) return false;
  size_t zero = Block.find('\0', 1);
  if (zero == std::string::npos) return false;
  Mode = static_cast<TCodeSelectionMode>(mode);
  Text = Block.substr(1, zero - 1);
  return true;
}

void TCustomCodeEdit::WriteClipboard(const std::string& Text, TCodeSelectionMode Mode) {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open(HandleAllocated() ? Handle() : nullptr))
    throw ECodeEditError("Clipboard copy operation failed");
  clipboard.Empty();
  bool placed = WriteClipboardText(clipboard, Text);
  if (placed)
    clipboard.SetData(CodeEditClipboardFormat(),
                      std::string(1, static_cast<char>(Mode)) + Text + '\0');
  clipboard.Close();
  if (!placed) throw ECodeEditError("Clipboard copy operation failed");
}

void TCustomCodeEdit::CopyToClipboard() {
  if (!SelAvail()) return;
  std::string text;
  {
    // A copied column block keeps its blanks, so that it pastes back as a rectangle.
    TCodeEditorOptions options = options_;
    if (activeSelectionMode_ == SM::smColumn) options.Exclude(TCodeEditorOption::eoTrimTrailingSpaces);
    codeeditscopes::TRestore<TCodeEditorOptions> untrimmed(options_, options);
    text = SelText();
  }
  WriteClipboard(text, activeSelectionMode_);
}

void TCustomCodeEdit::CutToClipboard() {
  if (ReadOnly() || !SelAvail()) return;
  codeeditscopes::TUndoBlock block(*undoList_);
  CopyToClipboard();  // raises on failure: nothing is deleted then
  SetSelText(std::string());
}

bool TCustomCodeEdit::CanPaste() const {
  return !ReadOnly() &&
         (Clipboard().HasFormat(CF_TEXT) || Clipboard().HasFormat(CodeEditClipboardFormat()));
}

// Replaces the selection by Text inserted in Mode, recording both as one paste.
void TCustomCodeEdit::PasteBlock(TCodeSelectionMode Mode, const std::string& Text) {
  TBufferCoord caret = CaretXY();
  undoList_->AddChange(urPasteBegin, caret, caret, std::string(), uint8_t(activeSelectionMode_));
  bool hadSelection = SelAvail();
  if (hadSelection)
    RecordSelectionDeletion(urDelete);
  else
    activeSelectionMode_ = selectionMode_;
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  blockBegin_ = b;
  blockEnd_ = e;
  TBufferCoord start;
  TBufferCoord end = SetSelTextPrimitive(Mode, Text, true, &start);
  if (Mode != SM::smColumn && !Text.empty())
    undoList_->AddChange(urPaste, start, end, std::string(), uint8_t(SM::smNormal));
  caret = CaretXY();
  undoList_->AddChange(urPasteEnd, caret, caret, std::string(), uint8_t(activeSelectionMode_));
}

void TCustomCodeEdit::PasteFromClipboard() {
  if (!CanPaste()) return;
  DoOnPaintTransient(TTransientType::ttBefore);
  TClipboard& clipboard = Clipboard();
  {
    codeeditscopes::TUndoBlock undoBlock(*undoList_);
    bool hasBlock = clipboard.HasFormat(CodeEditClipboardFormat());
    if (!clipboard.Open(HandleAllocated() ? Handle() : nullptr))
      throw ECodeEditError("Clipboard paste operation failed.");
    std::optional<std::string> block, plain;
    if (hasBlock) block = clipboard.GetData(CodeEditClipboardFormat());
    plain = ReadClipboardText(clipboard);
    clipboard.Close();
    if (hasBlock && !block) throw ECodeEditError("Clipboard paste operation failed.");
    SM mode;
    std::string text;
    // A block from another program that breaks the format falls back to the plain text.
    if (block && DecodeCodeEditBlock(*block, mode, text))
      PasteBlock(mode, text);
    else if (plain)
      PasteBlock(SelAvail() ? activeSelectionMode_ : selectionMode_, *plain);
  }
  if (HasOption(TCodeEditorOption::eoHideShowScrollbars)) UpdateScrollBars();
  EnsureCursorPosVisible();
  StatusChanged({TCodeStatusChange::scSelection});
  DoOnPaintTransient(TTransientType::ttAfter);
}
