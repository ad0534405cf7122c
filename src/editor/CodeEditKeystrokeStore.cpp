// The keystroke table as a form stores it: the differences to a reference table.
#include "editor/CodeEdit.h"

namespace {
bool SameBinding(const TCodeEditKeyStroke& A, const TCodeEditKeyStroke& B) {
  return A.Key() == B.Key() && A.Shift() == B.Shift() && A.Key2() == B.Key2() &&
         A.Shift2() == B.Shift2() && A.Command() == B.Command();
}

void Append(TCodeEditKeyStrokes& Table, const TCodeEditKeyStroke& Stroke) {
  Table.Add()->Assign(Stroke);
}
}  // namespace

bool TCustomCodeEdit::KeystrokesDiffer(const TCodeEditKeyStrokes& Reference) const {
  if (keystrokes_->Count() != Reference.Count()) return true;
  for (int i = 0; i < Reference.Count(); ++i)
    if (!SameBinding(*keystrokes_->Items(i), *Reference.Items(i))) return true;
  return false;
}

void TCustomCodeEdit::WriteRemovedKeystrokes(const TCodeEditKeyStrokes& Reference,
                                             TCodeEditKeyStrokes& Removed) const {
  Removed.Clear();
  for (int i = 0; i < Reference.Count(); ++i) {
    const TCodeEditKeyStroke& r = *Reference.Items(i);
    int here = keystrokes_->FindShortcutPair(r.ShortCut(), r.ShortCut2());
    if (here < 0 || keystrokes_->Items(here)->Command() != r.Command()) Append(Removed, r);
  }
}

void TCustomCodeEdit::WriteAddedKeystrokes(const TCodeEditKeyStrokes& Reference,
                                           TCodeEditKeyStrokes& Added) const {
  Added.Clear();
  for (int i = 0; i < keystrokes_->Count(); ++i) {
    const TCodeEditKeyStroke& k = *keystrokes_->Items(i);
    int there = Reference.FindShortcutPair(k.ShortCut(), k.ShortCut2());
    if (there < 0 || Reference.Items(there)->Command() != k.Command()) Append(Added, k);
  }
}

void TCustomCodeEdit::ReadRemovedKeystrokes(const TCodeEditKeyStrokes& Removed) {
  // The collection deletes only by clearing: keep the bindings that stay and copy them back.
  TCodeEditKeyStrokes kept(this);
  for (int i = 0; i < keystrokes_->Count(); ++i) {
    const TCodeEditKeyStroke& k = *keystrokes_->Items(i);
    int r = Removed.FindShortcutPair(k.ShortCut(), k.ShortCut2());
    if (r < 0 || Removed.Items(r)->Command() != k.Command()) Append(kept, k);
  }
  keystrokes_->Assign(kept);
}

void TCustomCodeEdit::ReadAddedKeystrokes(const TCodeEditKeyStrokes& Added) {
  for (int i = 0; i < Added.Count(); ++i) Append(*keystrokes_, *Added.Items(i));
}
