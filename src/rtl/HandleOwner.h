// Owners of kernel and find handles, closed when the owner goes.
#pragma once
#include <windows.h>

// INVALID_HANDLE_VALUE and null mean none.
template <BOOL(WINAPI* Close)(HANDLE)>
class THandleOwner {
public:
  explicit THandleOwner(HANDLE H) : h_(H) {}
  ~THandleOwner() {
    if (Valid()) Close(h_);
  }
  THandleOwner(const THandleOwner&) = delete;
  THandleOwner& operator=(const THandleOwner&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE Get() const { return h_; }

private:
  HANDLE h_;
};

using TFileHandle = THandleOwner<CloseHandle>;
using TFindHandle = THandleOwner<FindClose>;
