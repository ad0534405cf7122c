// A component with a Win32 window: messages reach the virtual WndProc.
#pragma once
#include <windows.h>
#include <string>
#include "toolkit/Component.h"

class TWinControl : public TComponent {
public:
  explicit TWinControl(TComponent* Owner) : TComponent(Owner) {}
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Window text; the control keeps it while it has no window.
  std::string Caption() const;
  void SetCaption(const std::string& Caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Hint) { hint_ = Hint; }
  bool Visible() const;
  void SetVisible(bool Visible);
  bool Enabled() const;
  void SetEnabled(bool Enabled);
  void SetBounds(int Left, int Top, int Width, int Height);
  RECT ClientRect() const;
  void SetFocus();
  void Invalidate();
  LRESULT Perform(UINT Msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Finds the control object of a window made by this toolkit.
  static TWinControl* FromHandle(HWND Wnd);

protected:
  // Registers (once) a window class whose procedure dispatches to WndProc.
  static void RegisterClassOnce(const char* ClassName, UINT Style, HCURSOR Cursor, HBRUSH Background);
  // Creates the window of a registered toolkit class.
  void CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent, int X, int Y,
                    int Width, int Height, HMENU Menu = nullptr);
  // Creates a window of a system class (BUTTON, EDIT, ...) and routes its messages here.
  void CreateSystemControl(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent, int X,
                           int Y, int Width, int Height);
  // The default for every message this class does not handle.
  virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Called after WM_NCDESTROY: the window is gone.
  virtual void HandleDestroyed() {}
  void DestroyHandle();

private:
  static LRESULT CALLBACK ClassWndProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassWndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  WNDPROC systemProc_ = nullptr;
  std::string caption_;
  std::string hint_;
  bool visible_ = true;
  bool enabled_ = true;
};
