// Runs an action from inside the next message pump, as a click arriving during a long run would.
#pragma once
#include <windows.h>
#include <functional>
#include <utility>

class TPostedAction {
public:
  explicit TPostedAction(std::function<void()> Action) : action_(std::move(Action)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TPostedAction::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TarvolineTestPostedAction";
    RegisterClassA(&wc);  // fails harmlessly when registered by an earlier test
    wnd_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         wc.hInstance, nullptr);
    SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PostMessageA(wnd_, WM_APP, 0, 0);
  }
  ~TPostedAction() { DestroyWindow(wnd_); }
  TPostedAction(const TPostedAction&) = delete;
  TPostedAction& operator=(const TPostedAction&) = delete;
  bool Ran() const { return ran_; }

private:
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
    auto* self = reinterpret_cast<TPostedAction*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    if (Msg != WM_APP || !self) return DefWindowProcA(Wnd, Msg, W, L);
    self->ran_ = true;
    self->action_();
    return 0;
  }
  std::function<void()> action_;
  HWND wnd_ = nullptr;
  bool ran_ = false;
};
