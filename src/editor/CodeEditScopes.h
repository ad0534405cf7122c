// Scope guards of the editor control's operations: each undoes its step also on failure.
#pragma once
#include "editor/CodeEdit.h"

namespace codeeditscopes {

// Gives a variable a value for the scope and restores the old one.
template <class T>
class TRestore {
public:
  TRestore(T& Ref, T Value) : ref_(Ref), saved_(Ref) { Ref = Value; }
  ~TRestore() { ref_ = saved_; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

private:
  T& ref_;
  T saved_;
};

// Holds the control's paint lock for the scope.
class TPaintLock {
public:
  explicit TPaintLock(TCustomCodeEdit& Edit) : edit_(Edit) { edit_.IncPaintLock(); }
  ~TPaintLock() { edit_.DecPaintLock(); }
  TPaintLock(const TPaintLock&) = delete;
  TPaintLock& operator=(const TPaintLock&) = delete;

private:
  TCustomCodeEdit& edit_;
};

// Holds an undo block open for the scope.
class TUndoBlock {
public:
  explicit TUndoBlock(TCodeEditUndoList& List) : list_(List) { list_.BeginBlock(); }
  ~TUndoBlock() { list_.EndBlock(); }
  TUndoBlock(const TUndoBlock&) = delete;
  TUndoBlock& operator=(const TUndoBlock&) = delete;

private:
  TCodeEditUndoList& list_;
};

// Holds a buffer update open for the scope.
class TLinesUpdate {
public:
  explicit TLinesUpdate(TCodeEditStringList& Lines) : lines_(Lines) { lines_.BeginUpdate(); }
  ~TLinesUpdate() { lines_.EndUpdate(); }
  TLinesUpdate(const TLinesUpdate&) = delete;
  TLinesUpdate& operator=(const TLinesUpdate&) = delete;

private:
  TCodeEditStringList& lines_;
};

}  // namespace codeeditscopes
