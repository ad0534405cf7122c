// Option objects of the editor (selection colours, gutter, bookmarks, glyphs), the shared image
// strip, and chains of event handlers.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <array>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <vector>
#include "rtl/Exception.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

// Base of the option objects: OnChange, fired on every effective change.
class TCodeChangeNotifier : public TObject {
public:
  TNotifyEvent OnChange;

protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  // Stores Value and fires OnChange when it differs from Field.
  template <class T>
  void SetAndNotify(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
};

// Colours of the selected text; every effective change fires OnChange.
class TCodeSelectedColor : public TCodeChangeNotifier {
public:
  TColor Background() const { return background_; }
  void SetBackground(TColor Value);
  TColor Foreground() const { return foreground_; }
  void SetForeground(TColor Value);
  // Copies both colours and fires OnChange once.
  void Assign(const TCodeSelectedColor& Source);

private:
  TColor background_ = clHighlight;
  TColor foreground_ = clHighlightText;
};

enum class TCodeGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

// The editor's gutter: its look, and the line numbers it shows. Every effective change of a
// setting (its font's included) fires OnChange.
class TCodeGutter : public TCodeChangeNotifier {
public:
  TCodeGutter();

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  TCodeGutterBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TCodeGutterBorderStyle Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor Value);
  HCURSOR Cursor() const { return cursor_; }  // nullptr: the default cursor
  void SetCursor(HCURSOR Value);
  int DigitCount() const { return digitCount_; }
  void SetDigitCount(int Value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& Value);
  bool LeadingZeros() const { return leadingZeros_; }
  void SetLeadingZeros(bool Value);
  int LeftOffset() const { return leftOffset_; }
  void SetLeftOffset(int Value);
  int RightOffset() const { return rightOffset_; }
  void SetRightOffset(int Value);
  bool ShowLineNumbers() const { return showLineNumbers_; }
  void SetShowLineNumbers(bool Value);
  bool UseFontStyle() const { return useFontStyle_; }
  void SetUseFontStyle(bool Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  int Width() const { return width_; }
  void SetWidth(int Value);
  bool ZeroStart() const { return zeroStart_; }
  void SetZeroStart(bool Value);
  int LineNumberStart() const { return lineNumberStart_; }
  void SetLineNumberStart(int Value);
  bool Gradient() const { return gradient_; }
  void SetGradient(bool Value);
  TColor GradientStartColor() const { return gradientStartColor_; }
  void SetGradientStartColor(TColor Value);
  TColor GradientEndColor() const { return gradientEndColor_; }
  void SetGradientEndColor(TColor Value);
  int GradientSteps() const { return gradientSteps_; }
  void SetGradientSteps(int Value);

  // Copies every setting and fires OnChange once.
  void Assign(const TCodeGutter& Source);
  // Sets the digit count in use for a text of LineCount lines (auto-sized only when visible
  // with AutoSize and ShowLineNumbers; never below DigitCount); a change fires OnChange.
  void AutoSizeDigitCount(int LineCount);
  // The number shown for a 1-based line, right-aligned in the digit count in use.
  std::string FormatLineNumber(int Line) const;
  // The gutter's width in pixels for a character width.
  int RealGutterWidth(int CharWidth) const;

private:
  bool autoSize_ = false;
  TCodeGutterBorderStyle borderStyle_ = TCodeGutterBorderStyle::gbsMiddle;
  TColor color_ = clBtnFace;
  TColor borderColor_ = clWindow;
  HCURSOR cursor_ = nullptr;
  int digitCount_ = 4;
  int digitsInUse_ = 4;
  TFont font_{"Courier New", 8};
  bool leadingZeros_ = false;
  int leftOffset_ = 16;
  int rightOffset_ = 2;
  bool showLineNumbers_ = false;
  bool useFontStyle_ = true;
  bool visible_ = true;
  int width_ = 30;
  bool zeroStart_ = false;
  int lineNumberStart_ = 1;
  bool gradient_ = false;
  TColor gradientStartColor_ = clWindow;
  TColor gradientEndColor_ = clBtnFace;
  int gradientSteps_ = 48;
};

// How bookmarks look in the gutter; every effective change fires OnChange.
class TCodeBookMarkOpt : public TCodeChangeNotifier {
public:
  explicit TCodeBookMarkOpt(TComponent* Owner) : owner_(Owner) {}

  TComponent* Owner() const { return owner_; }
  // The host's images for bookmarks; nullptr: the built-in ones. Not owned: a plain handle
  // hears nothing of its destruction, so the host sets nullptr before destroying the list.
  HIMAGELIST BookmarkImages() const { return bookmarkImages_; }
  void SetBookmarkImages(HIMAGELIST Value);
  bool DrawBookmarksFirst() const { return drawBookmarksFirst_; }
  void SetDrawBookmarksFirst(bool Value);
  bool EnableKeys() const { return enableKeys_; }
  void SetEnableKeys(bool Value);
  bool GlyphsVisible() const { return glyphsVisible_; }
  void SetGlyphsVisible(bool Value);
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int Value);
  int Xoffset() const { return xoffset_; }
  void SetXoffset(int Value);
  // Copies every setting and fires OnChange once.
  void Assign(const TCodeBookMarkOpt& Source);

private:
  TComponent* owner_;
  HIMAGELIST bookmarkImages_ = nullptr;
  bool drawBookmarksFirst_ = true;
  bool enableKeys_ = true;
  bool glyphsVisible_ = true;
  int leftMargin_ = 2;
  int xoffset_ = 12;
};

// A small picture for the gutter: the user's bitmap when one is set, else the built-in one
// loaded from a bitmap resource; drawn transparently in its mask colour.
class TCodeGlyph : public TCodeChangeNotifier {
public:
  // A missing resource leaves the built-in bitmap empty (nothing is drawn).
  TCodeGlyph(HINSTANCE Module, const std::string& ResourceName, TColor InternalMaskColor);

  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& Value);
  TColor MaskColor() const { return maskColor_; }  // clNone: the user's bitmap is opaque
  void SetMaskColor(TColor Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  int Width() const;
  int Height() const;
  // Copies glyph, mask colour and visibility and fires OnChange once.
  void Assign(const TCodeGlyph& Source);
  // Centred vertically in a line of LineHeight at (X, Y); a taller glyph shows its middle
  // LineHeight rows.
  void Draw(HDC DC, int X, int Y, int LineHeight) const;

private:
  const TBitmap& Shown() const { return glyph_.Empty() ? internalGlyph_ : glyph_; }
  TColor ShownMaskColor() const;

  TBitmap glyph_;
  TBitmap internalGlyph_;
  TColor maskColor_ = clNone;
  TColor internalMaskColor_;
  bool visible_ = true;
};

// What a chain keeps of an event handler: the call, and the object and member function it
// came from, which together tell two handlers apart.
template <class Signature>
class TCodeMethod {
public:
  TCodeMethod() = default;
  // A missing object or member function gives a missing handler.
  template <class T, class R, class... Args>
  TCodeMethod(T* Object, R (T::*Method)(Args...)) {
    static_assert(sizeof Method <= sizeof code_, "member-function pointer too big");
    if (!Object || !Method) return;
    call_ = [Object, Method](Args... args) { return (Object->*Method)(args...); };
    data_ = Object;
    std::memcpy(code_.data(), &Method, sizeof Method);
  }

  explicit operator bool() const { return static_cast<bool>(call_); }
  const std::function<Signature>& Call() const { return call_; }
  bool SameHandler(const TCodeMethod& Other) const {
    return data_ == Other.data_ && code_ == Other.code_;
  }

private:
  // Big enough for a member-function pointer of any class.
  std::array<unsigned char, 4 * sizeof(void*)> code_{};
  std::function<Signature> call_;
  const void* data_ = nullptr;
};

// A notify handler: TCodeNotifyMethod(this, &TMyClass::Changed), or CodeNotifyMethod(...).
using TCodeNotifyMethod = TCodeMethod<void(TObject*)>;
template <class T>
TCodeNotifyMethod CodeNotifyMethod(T* Object, void (T::*Method)(TObject*)) {
  return TCodeNotifyMethod(Object, Method);
}

// Raised by a chain for a missing handler; the text names the chain's class and operation.
class ECodeMethodChain : public Exception {
public:
  using Exception::Exception;
};

// An ordered list of handlers, fired in the order of registration.
template <class Signature>
class TCodeMethodChain : public TObject {
public:
  using TMethod = TCodeMethod<Signature>;

  // Decides after a handler raised E whether the chain goes on (DoContinue, true at first).
  // Without it the exception passes on to the caller of Fire.
  std::function<void(TObject* Sender, const std::exception& E, bool& DoContinue)> OnException;

  int Count() const { return static_cast<int>(handlers_.size()); }
  // Appends; raises ECodeMethodChain for a missing handler.
  void Add(const TMethod& Handler) {
    if (!Handler) throw MissingHandler("Add");
    handlers_.push_back(Handler);
  }
  // Removes the latest registration of the same object and member function; raises
  // ECodeMethodChain for a missing handler; a handler never added is ignored.
  void Remove(const TMethod& Handler) {
    if (!Handler) throw MissingHandler("Remove");
    for (size_t i = handlers_.size(); i-- > 0;)
      if (handlers_[i].SameHandler(Handler)) {
        handlers_.erase(handlers_.begin() + i);
        return;
      }
  }
  // Calls every handler in order; handlers added by a handler meanwhile are called too.
  void Fire() {
    for (size_t i = 0; i < handlers_.size(); ++i) {
      TMethod handler = handlers_[i];  // a handler may change the list
      try {
        DoFire(handler);
      } catch (const std::exception& e) {
        if (!OnException) throw;
        bool doContinue = true;
        OnException(this, e, doContinue);
        if (!doContinue) return;
      }
    }
  }

protected:
  virtual void DoFire(const TMethod& Handler) = 0;
  virtual const char* ClassName() const = 0;

private:
  ECodeMethodChain MissingHandler(const char* Operation) const {
    return ECodeMethodChain(std::string(ClassName()) + "." + Operation +
                            ": the handler must be specified.");
  }

  std::vector<TMethod> handlers_;
};

// A chain of notify events, each called with the sender given at construction.
class TCodeNotifyEventChain : public TCodeMethodChain<void(TObject*)> {
public:
  explicit TCodeNotifyEventChain(TObject* Sender) : sender_(Sender) {}

  TObject* Sender() const { return sender_; }
  void SetSender(TObject* Sender) { sender_ = Sender; }

protected:
  void DoFire(const TMethod& Handler) override { Handler.Call()(sender_); }
  const char* ClassName() const override { return "TCodeNotifyEventChain"; }

private:
  TObject* sender_;
};

// A strip of equally wide images in one bitmap resource. Users of one resource name (any
// case) share the loaded bitmap; the last one gone frees it.
class TCodeInternalImage : public TObject {
public:
  TCodeInternalImage(HINSTANCE Module, const std::string& ResourceName, int Count);
  ~TCodeInternalImage() override;
  TCodeInternalImage(const TCodeInternalImage&) = delete;
  TCodeInternalImage& operator=(const TCodeInternalImage&) = delete;

  int Count() const { return count_; }
  int ImageWidth() const { return width_; }
  int ImageHeight() const;
  // Draws image Number (0..Count-1, else nothing) centred vertically in a line of LineHeight;
  // a taller image shows its middle LineHeight rows.
  void Draw(HDC DC, int Number, int X, int Y, int LineHeight) const;

private:
  std::string name_;
  HBITMAP bitmap_;
  int count_;
  int width_;
};
