#include "editor/CodeEditKeyCmds.h"
#include <windows.h>
#include <cctype>
#include "editor/CodeEditStrConst.h"

namespace {
const std::vector<TCodeEditorCommandName> kCommandNames = {
    {ecNone, "ecNone"},
    {ecLeft, "ecLeft"},
    {ecRight, "ecRight"},
    {ecUp, "ecUp"},
    {ecDown, "ecDown"},
    {ecWordLeft, "ecWordLeft"},
    {ecWordRight, "ecWordRight"},
    {ecLineStart, "ecLineStart"},
    {ecLineEnd, "ecLineEnd"},
    {ecPageUp, "ecPageUp"},
    {ecPageDown, "ecPageDown"},
    {ecPageLeft, "ecPageLeft"},
    {ecPageRight, "ecPageRight"},
    {ecPageTop, "ecPageTop"},
    {ecPageBottom, "ecPageBottom"},
    {ecEditorTop, "ecEditorTop"},
    {ecEditorBottom, "ecEditorBottom"},
    {ecGotoXY, "ecGotoXY"},
    {ecSelLeft, "ecSelLeft"},
    {ecSelRight, "ecSelRight"},
    {ecSelUp, "ecSelUp"},
    {ecSelDown, "ecSelDown"},
    {ecSelWordLeft, "ecSelWordLeft"},
    {ecSelWordRight, "ecSelWordRight"},
    {ecSelLineStart, "ecSelLineStart"},
    {ecSelLineEnd, "ecSelLineEnd"},
    {ecSelPageUp, "ecSelPageUp"},
    {ecSelPageDown, "ecSelPageDown"},
    {ecSelPageLeft, "ecSelPageLeft"},
    {ecSelPageRight, "ecSelPageRight"},
    {ecSelPageTop, "ecSelPageTop"},
    {ecSelPageBottom, "ecSelPageBottom"},
    {ecSelEditorTop, "ecSelEditorTop"},
    {ecSelEditorBottom, "ecSelEditorBottom"},
    {ecSelGotoXY, "ecSelGotoXY"},
    {ecSelWord, "ecSelWord"},
    {ecSelectAll, "ecSelectAll"},
    {ecCopy, "ecCopy"},
    {ecScrollUp, "ecScrollUp"},
    {ecScrollDown, "ecScrollDown"},
    {ecScrollLeft, "ecScrollLeft"},
    {ecScrollRight, "ecScrollRight"},
    {ecInsertMode, "ecInsertMode"},
    {ecOverwriteMode, "ecOverwriteMode"},
    {ecToggleMode, "ecToggleMode"},
    {ecNormalSelect, "ecNormalSelect"},
    {ecColumnSelect, "ecColumnSelect"},
    {ecLineSelect, "ecLineSelect"},
    {ecMatchBracket, "ecMatchBracket"},
    {ecCommentBlock, "ecCommentBlock"},
    {ecGotoMarker0, "ecGotoMarker0"},
    {ecGotoMarker1, "ecGotoMarker1"},
    {ecGotoMarker2, "ecGotoMarker2"},
    {ecGotoMarker3, "ecGotoMarker3"},
    {ecGotoMarker4, "ecGotoMarker4"},
    {ecGotoMarker5, "ecGotoMarker5"},
    {ecGotoMarker6, "ecGotoMarker6"},
    {ecGotoMarker7, "ecGotoMarker7"},
    {ecGotoMarker8, "ecGotoMarker8"},
    {ecGotoMarker9, "ecGotoMarker9"},
    {ecSetMarker0, "ecSetMarker0"},
    {ecSetMarker1, "ecSetMarker1"},
    {ecSetMarker2, "ecSetMarker2"},
    {ecSetMarker3, "ecSetMarker3"},
    {ecSetMarker4, "ecSetMarker4"},
    {ecSetMarker5, "ecSetMarker5"},
    {ecSetMarker6, "ecSetMarker6"},
    {ecSetMarker7, "ecSetMarker7"},
    {ecSetMarker8, "ecSetMarker8"},
    {ecSetMarker9, "ecSetMarker9"},
    {ecContextHelp, "ecContextHelp"},
    {ecDeleteLastChar, "ecDeleteLastChar"},
    {ecDeleteChar, "ecDeleteChar"},
    {ecDeleteWord, "ecDeleteWord"},
    {ecDeleteLastWord, "ecDeleteLastWord"},
    {ecDeleteBOL, "ecDeleteBOL"},
    {ecDeleteEOL, "ecDeleteEOL"},
    {ecDeleteLine, "ecDeleteLine"},
    {ecClearAll, "ecClearAll"},
    {ecLineBreak, "ecLineBreak"},
    {ecInsertLine, "ecInsertLine"},
    {ecChar, "ecChar"},
    {ecImeStr, "ecImeStr"},
    {ecUndo, "ecUndo"},
    {ecRedo, "ecRedo"},
    {ecCut, "ecCut"},
    {ecPaste, "ecPaste"},
    {ecBlockIndent, "ecBlockIndent"},
    {ecBlockUnindent, "ecBlockUnindent"},
    {ecTab, "ecTab"},
    {ecShiftTab, "ecShiftTab"},
    {ecUpperCase, "ecUpperCase"},
    {ecLowerCase, "ecLowerCase"},
    {ecToggleCase, "ecToggleCase"},
    {ecTitleCase, "ecTitleCase"},
    {ecUpperCaseBlock, "ecUpperCaseBlock"},
    {ecLowerCaseBlock, "ecLowerCaseBlock"},
    {ecToggleCaseBlock, "ecToggleCaseBlock"},
    {ecString, "ecString"},
    {ecAutoCompletion, "ecAutoCompletion"},
    {ecUserFirst, "ecUserFirst"},
};

bool SameAsciiText(const std::string& A, const char* B) {
  size_t n = std::char_traits<char>::length(B);
  if (A.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char a = A[i], b = B[i];
    if (a != b && !(a < 128 && b < 128 && std::tolower(a) == std::tolower(b))) return false;
  }
  return true;
}
}  // namespace

const std::vector<TCodeEditorCommandName>& EditorCommandNames() { return kCommandNames; }

bool EditorCommandToIdent(int Command, std::string& Name) {
  for (const auto& row : kCommandNames)
    if (row.Command == Command) {
      Name = row.Name;
      return true;
    }
  return false;
}

std::string EditorCommandToCodeString(TCodeEditorCommand Command) {
  std::string name;
  if (!EditorCommandToIdent(Command, name)) name = std::to_string(Command);
  return name;
}

bool IdentToEditorCommand(const std::string& Name, int& Command) {
  for (const auto& row : kCommandNames)
    if (SameAsciiText(Name, row.Name)) {
      Command = row.Command;
      return true;
    }
  return false;
}

// --- TCodeEditKeyStroke ---

TShortCut TCodeEditKeyStroke::ShortCut() const { return ::ShortCut(key_, shift_); }

TShortCut TCodeEditKeyStroke::ShortCut2() const { return ::ShortCut(key2_, shift2_); }

bool TCodeEditKeyStroke::IsDuplicate(TShortCut First, TShortCut Second) const {
  if (!collection_) return false;
  for (int i = 0; i < collection_->Count(); ++i) {
    const TCodeEditKeyStroke* other = collection_->Items(i);
    if (other != this && other->ShortCut() == First && other->ShortCut2() == Second) return true;
  }
  return false;
}

void TCodeEditKeyStroke::SetShortCut(TShortCut Value) {
  if (Value != 0 && IsDuplicate(Value, ShortCut2())) throw ECodeKeyError(CES_DuplicateShortCut);
  ShortCutToKey(Value, key_, shift_);
}

void TCodeEditKeyStroke::SetShortCut2(TShortCut Value) {
  if (Value != 0 && IsDuplicate(ShortCut(), Value)) throw ECodeKeyError(CES_DuplicateShortCut);
  ShortCutToKey(Value, key2_, shift2_);
}

void TCodeEditKeyStroke::Assign(const TCodeEditKeyStroke& Source) {
  command_ = Source.command_;
  key_ = Source.key_;
  key2_ = Source.key2_;
  shift_ = Source.shift_;
  shift2_ = Source.shift2_;
}

std::string TCodeEditKeyStroke::DisplayName() const {
  std::string r = EditorCommandToCodeString(command_) + " - " + ShortCutToText(ShortCut());
  if (ShortCut() != 0) r += " " + ShortCutToText(ShortCut2());
  return r;
}

// --- TCodeEditKeyStrokes ---

TCodeEditKeyStroke* TCodeEditKeyStrokes::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(Index) + ")");
  return items_[Index].get();
}

TCodeEditKeyStroke* TCodeEditKeyStrokes::Add() {
  items_.push_back(std::make_unique<TCodeEditKeyStroke>(this));
  return items_.back().get();
}

TCodeEditKeyStroke* TCodeEditKeyStrokes::AddKey(TCodeEditorCommand Command, uint16_t Key,
                                                TShiftState Shift) {
  auto stroke = std::make_unique<TCodeEditKeyStroke>(this);
  stroke->SetKey(Key);
  stroke->SetShift(Shift);
  stroke->SetCommand(Command);
  items_.push_back(std::move(stroke));
  return items_.back().get();
}

void TCodeEditKeyStrokes::Assign(const TCodeEditKeyStrokes& Source) {
  if (&Source == this) return;
  Clear();
  for (const auto& item : Source.items_) Add()->Assign(*item);
}

void TCodeEditKeyStrokes::Clear() { items_.clear(); }

int TCodeEditKeyStrokes::FindKey(uint16_t Key, TShiftState Shift) const {
  for (int i = 0; i < Count(); ++i) {
    const TCodeEditKeyStroke& s = *items_[i];
    if (s.Key() == Key && s.Shift() == Shift && s.Key2() == 0) return i;
  }
  return -1;
}

int TCodeEditKeyStrokes::FindKeyPair(uint16_t Key, TShiftState Shift, uint16_t Key2,
                                     TShiftState Shift2) const {
  for (int i = 0; i < Count(); ++i) {
    const TCodeEditKeyStroke& s = *items_[i];
    if (s.Key() == Key && s.Shift() == Shift && s.Key2() == Key2 && s.Shift2() == Shift2) return i;
  }
  return -1;
}

int TCodeEditKeyStrokes::FindShortcutPair(TShortCut ShortCut, TShortCut ShortCut2) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i]->ShortCut() == ShortCut && items_[i]->ShortCut2() == ShortCut2) return i;
  return -1;
}

TCodeEditorCommand TCodeEditKeyStrokes::TranslateKey(uint16_t Key, TShiftState Shift,
                                                     TCodePendingKey& Pending) const {
  int i = FindKeyPair(Pending.Key, Pending.Shift, Key, Shift);
  if (i < 0) i = FindKey(Key, Shift);
  TCodeEditorCommand command = i >= 0 ? items_[i]->Command() : ecNone;
  // Keys from 30 to 145 may begin a two-key stroke; control keys and the like never do.
  if (command == ecNone && Key >= 30 && Key <= 145)
    Pending = {Key, Shift};
  else
    Pending = {};
  return command;
}

void TCodeEditKeyStrokes::ResetDefaults() {
  using S = TShift;
  const TShiftState none, shift{S::ssShift}, ctrl{S::ssCtrl}, alt{S::ssAlt},
      shiftCtrl{S::ssShift, S::ssCtrl}, shiftAlt{S::ssShift, S::ssAlt};
  struct Row {
    TCodeEditorCommand Command;
    uint16_t Key;
    TShiftState Shift;
  };
  const Row rows[] = {
      {ecUp, VK_UP, none}, {ecSelUp, VK_UP, shift}, {ecScrollUp, VK_UP, ctrl},
      {ecDown, VK_DOWN, none}, {ecSelDown, VK_DOWN, shift}, {ecScrollDown, VK_DOWN, ctrl},
      {ecLeft, VK_LEFT, none}, {ecSelLeft, VK_LEFT, shift}, {ecWordLeft, VK_LEFT, ctrl},
      {ecSelWordLeft, VK_LEFT, shiftCtrl},
      {ecRight, VK_RIGHT, none}, {ecSelRight, VK_RIGHT, shift}, {ecWordRight, VK_RIGHT, ctrl},
      {ecSelWordRight, VK_RIGHT, shiftCtrl},
      {ecPageDown, VK_NEXT, none}, {ecSelPageDown, VK_NEXT, shift},
      {ecPageBottom, VK_NEXT, ctrl}, {ecSelPageBottom, VK_NEXT, shiftCtrl},
      {ecPageUp, VK_PRIOR, none}, {ecSelPageUp, VK_PRIOR, shift}, {ecPageTop, VK_PRIOR, ctrl},
      {ecSelPageTop, VK_PRIOR, shiftCtrl},
      {ecLineStart, VK_HOME, none}, {ecSelLineStart, VK_HOME, shift},
      {ecEditorTop, VK_HOME, ctrl}, {ecSelEditorTop, VK_HOME, shiftCtrl},
      {ecLineEnd, VK_END, none}, {ecSelLineEnd, VK_END, shift}, {ecEditorBottom, VK_END, ctrl},
      {ecSelEditorBottom, VK_END, shiftCtrl},
      {ecToggleMode, VK_INSERT, none},
      {ecCopy, VK_INSERT, ctrl}, {ecCut, VK_DELETE, shift}, {ecPaste, VK_INSERT, shift},
      {ecDeleteChar, VK_DELETE, none},
      {ecDeleteLastChar, VK_BACK, none}, {ecDeleteLastChar, VK_BACK, shift},
      {ecDeleteLastWord, VK_BACK, ctrl},
      {ecUndo, VK_BACK, alt}, {ecRedo, VK_BACK, shiftAlt},
      {ecLineBreak, VK_RETURN, none}, {ecLineBreak, VK_RETURN, shift},
      {ecTab, VK_TAB, none}, {ecShiftTab, VK_TAB, shift},
      {ecContextHelp, VK_F1, none},
      {ecSelectAll, 'A', ctrl}, {ecCopy, 'C', ctrl}, {ecPaste, 'V', ctrl}, {ecCut, 'X', ctrl},
      {ecBlockIndent, 'I', shiftCtrl}, {ecBlockUnindent, 'U', shiftCtrl},
      {ecLineBreak, 'M', ctrl}, {ecInsertLine, 'N', ctrl},
      {ecDeleteWord, 'T', ctrl}, {ecDeleteLine, 'Y', ctrl}, {ecDeleteEOL, 'Y', shiftCtrl},
      {ecUndo, 'Z', ctrl}, {ecRedo, 'Z', shiftCtrl},
  };
  Clear();
  for (const Row& r : rows) AddKey(r.Command, r.Key, r.Shift);
  for (uint16_t n = 0; n <= 9; ++n) AddKey(ecGotoMarker0 + n, '0' + n, ctrl);
  for (uint16_t n = 0; n <= 9; ++n) AddKey(ecSetMarker0 + n, '0' + n, shiftCtrl);
  AddKey(ecNormalSelect, 'N', shiftCtrl);
  AddKey(ecColumnSelect, 'C', shiftCtrl);
  AddKey(ecLineSelect, 'L', shiftCtrl);
  AddKey(ecMatchBracket, 'B', shiftCtrl);
}
