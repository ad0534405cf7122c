// A component with a Win32 window: messages reach the virtual WndProc.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <type_traits>
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

class TPopupMenu;

// How a child fills its container: containers lay out aligned children on every resize,
// in the order top, bottom, left, right, client; within one kind, in the order their
// alignment was set (the first alTop is the topmost, the first alBottom the bottommost).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A child control that hears its own WM_COMMAND and WM_NOTIFY from its parent window.
class TNotifiedControl {
public:
  virtual ~TNotifiedControl() = default;
  virtual LRESULT Command(WORD /*Code*/) { return 0; }
  // For controls whose items have command ids of their own (tool buttons).
  virtual LRESULT Command(WORD Code, WORD /*Id*/) { return Command(Code); }
  virtual LRESULT Notify(NMHDR* /*Header*/) { return 0; }
};

class TWinControl : public TComponent {
public:
  explicit TWinControl(TComponent* Owner) : TComponent(Owner) {}
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Window text; the control keeps it while it has no window. A character the ANSI code page
  // lacks reads as "?", never as a look-alike.
  std::string Caption() const;
  // The same text; false when a "?" in it stands for such a character.
  bool ExactCaption(std::string& Caption) const;
  void SetCaption(const std::string& Caption);
  // Takes Source's text as it stands, characters the code page lacks included; with FirstLine
  // only the text up to its first line break.
  void SetCaptionFrom(const TWinControl& Source, bool FirstLine = false);
  // The window text wide, as the control holds it, and set so; a wide text the code page lacks
  // characters of is kept whole only by a control created wide.
  std::wstring WideCaption() const;
  void SetWideCaption(const std::wstring& Caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Hint) { hint_ = Hint; }
  // The control's own setting, also while its parent is hidden.
  bool Visible() const;
  void SetVisible(bool Visible);
  bool Enabled() const;
  void SetEnabled(bool Enabled);
  void SetBounds(int Left, int Top, int Width, int Height);
  // Position in the parent's client area and outer size; 0 without a window.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetWidth(int Width);
  void SetHeight(int Height);
  RECT ClientRect() const;
  // The toolkit control of the parent window; nullptr for a top-level window.
  TWinControl* Parent() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Align);
  // Lays out the aligned children again (done on every resize by itself).
  void Realign();

  // Shown on a right click or the context-menu key; nullptr for none. The menu may be
  // destroyed first: the control then forgets it.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* Menu);
  // Shows every font the control is given (its form's font) in these styles as well, so a
  // bold field stays bold in the form's new font.
  void SetFontStyle(TFontStyles Style);
  void SetFocus();
  void Invalidate();
  LRESULT Perform(UINT Msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Finds the control object of a window made by this toolkit.
  static TWinControl* FromHandle(HWND Wnd);
  // WM_NOTIFY from a helper window of a system control (its tooltip) goes to Target;
  // nullptr ends that.
  static void SetNotifyTarget(HWND From, TWinControl* Target);

protected:
  // Registers (once) a window class whose procedure dispatches to WndProc.
  static void RegisterClassOnce(const char* ClassName, UINT Style, HCURSOR Cursor, HBRUSH Background);
  // Creates the window of a registered toolkit class.
  void CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent, int X, int Y,
                    int Width, int Height, HMENU Menu = nullptr);
  // Creates a window of a system class (BUTTON, EDIT, ...) and routes its messages here. A Wide
  // one holds its text wide and hears its messages wide, so what is typed or pasted into it
  // stays exact until it is read.
  void CreateSystemControl(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent, int X,
                           int Y, int Width, int Height, bool Wide = false);
  // The default for every message this class does not handle.
  virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Texts to and from a system control go straight to its own procedure in its own character
  // set, converted here: the system's conversion of 8-bit messages copies some texts (a list
  // item read back) through fixed buffers that a longer text overruns.
  LRESULT PerformText(UINT Msg, WPARAM wParam, const std::string& Text);
  // The text Msg copies to the buffer in lParam, Length characters as the control counts them
  // (what its length message gives through PerformNative); none below 1. Exact (when given)
  // turns false when a character the code page lacks was read as "?".
  std::string PerformReadText(UINT Msg, WPARAM wParam, LRESULT Length, bool* Exact = nullptr) const;
  // A message to the control's own procedure in its own character set, in which it counts.
  LRESULT PerformNative(UINT Msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // The caption changed (a tab sheet shows it on its tab).
  virtual void CaptionChanged() {}
  // Whether this top-level window closes when a child asks it to, as a multi-line edit does on
  // Escape: a dialog takes that as its own Escape.
  virtual bool TakesChildClose() const { return false; }
  // Called after WM_NCDESTROY: the window is gone.
  virtual void HandleDestroyed() {}
  void DestroyHandle();

private:
  static LRESULT CALLBACK ClassWndProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassWndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam);
  void AlignParent();
  bool ShowContextMenu(LPARAM ScreenPoint);
  friend class TPopupMenu;

  struct TFontDeleter {
    void operator()(HFONT Font) const { DeleteObject(Font); }
  };
  using TFontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, TFontDeleter>;
  // Makes the styled font from the base font; the one it replaces is handed back, to be freed
  // once the control no longer uses it.
  TFontHandle MakeStyledFont();

  HWND handle_ = nullptr;
  WNDPROC systemProc_ = nullptr;
  bool systemUnicode_ = false;  // the system control's procedure takes wide texts
  bool wideSubclass_ = false;   // WndProc hears the control's messages wide
  std::string caption_;
  std::string hint_;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  unsigned alignOrder_ = 0;
  bool aligning_ = false;
  bool contextMenuShown_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  TFontStyles fontStyle_;
  LOGFONTA baseFont_ = {};  // the font given last, before the styles
  TFontHandle styledFont_;  // set while the control shows its own styled font
};
