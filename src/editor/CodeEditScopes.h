// Scope guards of the editor control's operations: each undoes its step also on failure.
// The closing steps fire the control's events; a handler's exception passes on as it would
// from the same call written out (the destructors are not noexcept).
#pragma once
#include <exception>
#include "editor/CodeEdit.h"

namespace codeeditscopes {

// Runs a guard's closing step. While another exception unwinds the scope, a second one from
// the closing step would end the program; the first one goes on and the second is dropped.
class TClosingStep {
protected:
  template <class F>
  void Close(F Step) noexcept(false) {
    if (std::uncaught_exceptions() <= unwinding_) {
      Step();
      return;
    }
    try {
      Step();
    } catch (...) {  // the exception already in flight is the one reported
    }
  }

private:
  int unwinding_ = std::uncaught_exceptions();
};

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
class TPaintLock : TClosingStep {
public:
  explicit TPaintLock(TCustomCodeEdit& Edit) : edit_(Edit) { edit_.IncPaintLock(); }
  ~TPaintLock() noexcept(false) {
    Close([this] { edit_.DecPaintLock(); });
  }
  TPaintLock(const TPaintLock&) = delete;
  TPaintLock& operator=(const TPaintLock&) = delete;

private:
  TCustomCodeEdit& edit_;
};

// Holds an undo block open for the scope; an own step, as the control's OpenUndoBlock opens,
// undoes as one step of its own.
class TUndoBlock : TClosingStep {
public:
  explicit TUndoBlock(TCodeEditUndoList& List, bool OwnStep = false) : list_(List) {
    list_.BeginBlock(OwnStep);
  }
  ~TUndoBlock() noexcept(false) {
    Close([this] { list_.EndBlock(); });
  }
  TUndoBlock(const TUndoBlock&) = delete;
  TUndoBlock& operator=(const TUndoBlock&) = delete;

private:
  TCodeEditUndoList& list_;
};

// Holds a buffer update open for the scope.
class TLinesUpdate : TClosingStep {
public:
  explicit TLinesUpdate(TCodeEditStringList& Lines) : lines_(Lines) { lines_.BeginUpdate(); }
  ~TLinesUpdate() noexcept(false) {
    Close([this] { lines_.EndUpdate(); });
  }
  TLinesUpdate(const TLinesUpdate&) = delete;
  TLinesUpdate& operator=(const TLinesUpdate&) = delete;

private:
  TCodeEditStringList& lines_;
};

}  // namespace codeeditscopes
