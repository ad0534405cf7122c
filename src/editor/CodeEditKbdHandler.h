// The chains of extra key and mouse handlers that other components hook into an editor.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>
#include "editor/CodeEditMiscClasses.h"
#include "editor/CodeEditTypes.h"
#include "toolkit/ShortCut.h"

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// An ordered list of handlers (object and member function pairs).
template <class Signature>
class TMethodList {
public:
  using TMethod = TCodeMethod<Signature>;

  int Count() const { return static_cast<int>(items_.size()); }
  const TMethod& Items(int Index) const { return items_.at(Index); }
  void Add(const TMethod& Method) { items_.push_back(Method); }
  // Removes the latest pair of the same object and member function; nothing when absent.
  void Remove(const TMethod& Method) {
    for (size_t i = items_.size(); i-- > 0;)
      if (items_[i].SameHandler(Method)) {
        items_.erase(items_.begin() + i);
        return;
      }
  }

private:
  std::vector<TMethod> items_;
};

using TKeyEvent = void(TObject* Sender, WORD& Key, TShiftState Shift);
using TKeyPressEvent = void(TObject* Sender, char& Key);
using TMouseEvent = void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
using TMouseCursorHandler = void(TObject* Sender, const TBufferCoord& ALineCharPos,
                                 HCURSOR& ACursor);

// Each Execute... calls its chain from the last added handler to the first and returns at
// once when the same chain is already running. The key chains stop once the key is 0.
class TCodeEditKbdHandler : public TObject {
public:
  void ExecuteKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void ExecuteKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void ExecuteKeyPress(TObject* Sender, char& Key);
  void ExecuteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ExecuteMouseCursor(TObject* Sender, const TBufferCoord& ALineCharPos, HCURSOR& ACursor);

  TMethodList<TKeyEvent>& KeyDownChain() { return keyDown_; }
  TMethodList<TKeyEvent>& KeyUpChain() { return keyUp_; }
  TMethodList<TKeyPressEvent>& KeyPressChain() { return keyPress_; }
  TMethodList<TMouseEvent>& MouseDownChain() { return mouseDown_; }
  TMethodList<TMouseEvent>& MouseUpChain() { return mouseUp_; }
  TMethodList<TMouseCursorHandler>& MouseCursorChain() { return mouseCursor_; }

private:
  TMethodList<TKeyEvent> keyDown_, keyUp_;
  TMethodList<TKeyPressEvent> keyPress_;
  TMethodList<TMouseEvent> mouseDown_, mouseUp_;
  TMethodList<TMouseCursorHandler> mouseCursor_;
  bool inKeyDown_ = false, inKeyUp_ = false, inKeyPress_ = false;
  bool inMouseDown_ = false, inMouseUp_ = false, inMouseCursor_ = false;
};
