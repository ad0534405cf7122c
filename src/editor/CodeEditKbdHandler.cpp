#include "editor/CodeEditKbdHandler.h"

namespace {
// Sets a chain's in-progress flag for a scope, also when a handler fails.
class TInProgress {
public:
  explicit TInProgress(bool& Flag) : flag_(Flag) { flag_ = true; }
  ~TInProgress() { flag_ = false; }
  TInProgress(const TInProgress&) = delete;
  TInProgress& operator=(const TInProgress&) = delete;

private:
  bool& flag_;
};

// Calls the handlers from the last to the first and stops after a handler once Continue()
// fails; a handler may remove handlers, so the index is checked against the current count.
template <class Signature, class Go, class... Args>
void RunBackwards(const TMethodList<Signature>& List, Go Continue, Args&&... args) {
  for (int i = List.Count() - 1; i >= 0; --i) {
    if (i >= List.Count()) continue;
    auto method = List.Items(i);
    method.Call()(args...);
    if (!Continue()) return;
  }
}
}  // namespace

void TCodeEditKbdHandler::ExecuteKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (inKeyDown_) return;
  TInProgress busy(inKeyDown_);
  RunBackwards(keyDown_, [&] { return Key != 0; }, Sender, Key, Shift);
}

void TCodeEditKbdHandler::ExecuteKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (inKeyUp_) return;
  TInProgress busy(inKeyUp_);
  RunBackwards(keyUp_, [&] { return Key != 0; }, Sender, Key, Shift);
}

void TCodeEditKbdHandler::ExecuteKeyPress(TObject* Sender, char& Key) {
  if (inKeyPress_) return;
  TInProgress busy(inKeyPress_);
  RunBackwards(keyPress_, [&] { return Key != 0; }, Sender, Key);
}

void TCodeEditKbdHandler::ExecuteMouseDown(TObject* Sender, TMouseButton Button,
                                           TShiftState Shift, int X, int Y) {
  if (inMouseDown_) return;
  TInProgress busy(inMouseDown_);
  RunBackwards(mouseDown_, [] { return true; }, Sender, Button, Shift, X, Y);
}

void TCodeEditKbdHandler::ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                         int X, int Y) {
  if (inMouseUp_) return;
  TInProgress busy(inMouseUp_);
  RunBackwards(mouseUp_, [] { return true; }, Sender, Button, Shift, X, Y);
}

void TCodeEditKbdHandler::ExecuteMouseCursor(TObject* Sender, const TBufferCoord& ALineCharPos,
                                             HCURSOR& ACursor) {
  if (inMouseCursor_) return;
  TInProgress busy(inMouseCursor_);
  RunBackwards(mouseCursor_, [] { return true; }, Sender, ALineCharPos, ACursor);
}
