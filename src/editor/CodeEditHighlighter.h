// The base of every highlighter: the line and token scanning contract, the token attributes and
// the notification of attribute changes.
#pragma once
#include <windows.h>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEditMiscClasses.h"
#include "rtl/Set.h"
#include "rtl/StringList.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

class TRegistry;

// A set of byte values, indexed with unsigned char.
using TCodeCharSet = std::bitset<256>;
// The set of the characters of Chars.
TCodeCharSet CodeCharSet(const std::string& Chars);
// The set of the character codes From..To.
TCodeCharSet CodeCharRange(unsigned char From, unsigned char To);

// The scanner state carried from the end of one line to the start of the next. Equal states
// compare equal as values; -1 is never a state (the text buffer marks unscanned lines with it).
using TCodeHighlighterRange = intptr_t;

// Colours and style of one token kind.
class TCodeHighlighterAttributes : public TObject {
public:
  // clNone colours and no style until set.
  explicit TCodeHighlighterAttributes(const std::string& Name);

  const std::string& Name() const { return name_; }
  TColor Background() const { return background_; }
  void SetBackground(TColor Value);  // OnChange only when the value changes
  TColor Foreground() const { return foreground_; }
  void SetForeground(TColor Value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value);
  // The style as added flags: bold 1, italic 2, underline 4, strike-out 8.
  int IntegerStyle() const;
  void SetIntegerStyle(int Value);

  // A property is stored in a form description only when it differs from its default.
  bool IsBackgroundStored() const { return background_ != backgroundDefault_; }
  bool IsForegroundStored() const { return foreground_ != foregroundDefault_; }
  bool IsStyleStored() const { return style_ != styleDefault_; }
  // Takes the current values as the defaults for storing.
  void InternalSaveDefaultValues();

  // Copies the name, then colours and style.
  void Assign(const TCodeHighlighterAttributes& Source);
  // Copies colours and style; OnChange fires once when anything changed.
  void AssignColorAndStyle(const TCodeHighlighterAttributes& Source);

  // Reads or writes the sub-key of this attribute's name below the registry's open key, with
  // the integer values "Background", "Foreground" and "Style"; a missing value leaves the
  // property unchanged. False when the sub-key cannot be opened. The sub-key stays open.
  bool LoadFromRegistry(TRegistry& Reg);
  bool SaveToRegistry(TRegistry& Reg);
  // Reads this attribute from the older editor-colour layout below Key: with OldLayout the
  // value AttrName holds "foreground,background,bold,italic,underline,default foreground,
  // default background" (colours as indexes of the 16 basic colours); otherwise the sub-key
  // AttrName holds the values "Foreground Color" (index), "Foreground Color New" (colour,
  // preferred), "Background Color", "Background Color New", "Bold", "Italic", "Underline",
  // "Default Foreground" and "Default Background". A flag is false when it reads "FALSE"
  // (any case) or "0". A default flag that is set gives clNone. False when nothing was found.
  bool LoadFromLegacyRegistry(HKEY RootKey, const std::string& Key, const std::string& AttrName,
                              bool OldLayout);

  // Fired by every effective change, with this attribute as sender.
  TNotifyEvent OnChange;

private:
  void Changed();
  TColor background_ = clNone;
  TColor backgroundDefault_ = clNone;
  TColor foreground_ = clNone;
  TColor foregroundDefault_ = clNone;
  std::string name_;
  TFontStyles style_;
  TFontStyles styleDefault_;
};

enum class TCodeHighlighterCapability { hcUserSettings, hcRegistry };
using TCodeHighlighterCapabilities = TSet<TCodeHighlighterCapability>;

class TCodeCustomHighlighter;

// What a highlighter class says about itself without an instance (its class operations).
struct TCodeHighlighterClass {
  const char* ClassName;
  const TCodeHighlighterClass* Parent;  // nullptr for the base class
  std::string (*LanguageName)();
  TCodeHighlighterCapabilities (*Capabilities)();
  // True for this class and every class derived from Ancestor.
  bool InheritsFrom(const TCodeHighlighterClass& Ancestor) const;
};

// The abstract highlighter. Contract of a concrete one: after SetLine the first token is
// current; NextToken moves on; AtLineEnd becomes true after the last token (at once for an
// empty line); tokens cover the line without gaps and in order; GetRange after the last token
// is the state SetRange accepts before the next line's SetLine; ResetRange gives the state of
// the first line.
class TCodeCustomHighlighter : public TComponent {
public:
  explicit TCodeCustomHighlighter(TComponent* Owner);
  ~TCodeCustomHighlighter() override;

  // Class operations. Every concrete class shadows StaticClass, GetLanguageName and (when it
  // differs) GetCapabilities, and overrides ClassType to return its StaticClass.
  static const TCodeHighlighterClass& StaticClass();
  static TCodeHighlighterCapabilities GetCapabilities();  // registry storage only
  static std::string GetLanguageName();                   // "<Unknown>"
  virtual const TCodeHighlighterClass& ClassType() const;
  std::string ClassName() const { return ClassType().ClassName; }
  std::string LanguageName() const { return ClassType().LanguageName(); }

  // Attributes, in the sorted order of their names.
  virtual int GetAttributeCount() const;
  // nullptr when Index is outside the list.
  virtual TCodeHighlighterAttributes* GetAttribute(int Index) const;
  // By the common index: 0 comment, 1 identifier, 2 keyword, 3 string, 4 white space,
  // 5 symbol (6 URI, 7 visited URI); nullptr for an index the highlighter does not serve.
  virtual TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const = 0;
  virtual std::string GetDefaultFilter() const;
  virtual TCodeCharSet GetIdentifierChars() const;
  virtual std::string GetSampleText() const;
  virtual bool IsDefaultFilterStored() const;
  virtual void SetDefaultFilter(const std::string& Value);
  virtual void SetSampleText(const std::string& Value);
  virtual void SetWordBreakChars(const TCodeCharSet& Value);

  // Scanning.
  virtual bool AtLineEnd() const = 0;
  virtual TCodeHighlighterRange GetRange() const;
  virtual std::string GetToken() const = 0;
  // nullptr for a token without attribute.
  virtual TCodeHighlighterAttributes* GetTokenAttribute() const = 0;
  virtual int GetTokenKind() const = 0;
  // 0-based start of the current token in the line.
  virtual int GetTokenPos() const = 0;
  virtual bool IsKeyword(const std::string& AKeyword) const;
  virtual void NextToken() = 0;
  // Starts scanning NewValue from the current range; LineNumber is 0-based.
  virtual void SetLine(const std::string& NewValue, int LineNumber) = 0;
  virtual void SetRange(TCodeHighlighterRange Value);
  virtual void ResetRange();
  // Calls NextToken until AtLineEnd: for the line's end state alone. A highlighter may get
  // there without the per-token calls, with the same state and token position.
  virtual void SkipToLineEnd();
  // A token start at or before the 0-based Pos of Line from which the rest of Line, given to
  // SetLine as a line of its own in the state Line starts in, scans into the same tokens (and
  // end state) as the whole line does from there: painting the end of a long line need not
  // scan it from its start. The base knows of none but the line's start, 0.
  virtual int ResumePointBefore(std::string_view Line, int Pos) const;

  virtual bool UseUserSettings(int SettingIndex);
  virtual void EnumUserSettings(TStrings& Settings);
  // Reads or writes every attribute below RootKey\Key; true only when the key and every
  // attribute's sub-key could be opened.
  virtual bool LoadFromRegistry(HKEY RootKey, const std::string& Key);
  virtual bool SaveToRegistry(HKEY RootKey, const std::string& Key);

  // Copies attribute colours and styles by name, the word-break characters, the default filter
  // and Enabled; the sample text only from a highlighter of this class or one derived from it.
  virtual void Assign(const TCodeCustomHighlighter& Source);

  // Takes ownership; a duplicate name raises EStringListError (and frees Attr).
  TCodeHighlighterAttributes* AddAttribute(std::unique_ptr<TCodeHighlighterAttributes> Attr);
  // For every attribute, last to first: sets OnChange and takes its values as defaults.
  void SetAttributesOnChange(const TNotifyEvent& Event);
  // Handlers called with the changed attribute (or nullptr for a change of the whole
  // highlighter); the editor and the print engine hook this.
  // Hook: TCodeNotifyMethod(this, &TMyClass::HighlighterAttrChanged).
  void AddAttributeChangeHook(const TCodeNotifyMethod& Hook);
  void RemoveAttributeChangeHook(const TCodeNotifyMethod& Hook);
  // The change handler concrete highlighters give their attributes: during an update only
  // notes the change; otherwise, unless loading, fires the change hooks with Sender.
  void NotifyAttributesChanged(TObject* Sender);

  // Changes between BeginUpdate and the matching EndUpdate are reported once at the end.
  void BeginUpdate();
  void EndUpdate();

  // Loading from a form description: no notifications until Loaded, which fires the hooks.
  void BeginLoading() { loading_ = true; }
  bool IsLoading() const { return loading_; }
  virtual void Loaded();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);  // a change fires the hooks with no sender
  const TCodeCharSet& WordBreakChars() const { return wordBreakChars_; }
  std::string DefaultFilter() const { return GetDefaultFilter(); }
  std::string SampleText() const { return GetSampleText(); }

private:
  // Sorted by name without regard to case, like a sorted string list; names are unique.
  std::vector<std::unique_ptr<TCodeHighlighterAttributes>> attributes_;
  TCodeNotifyEventChain attrChangeHooks_;  // sender: this highlighter, or the changed attribute
  int updateCount_ = 0;
  bool enabled_ = true;
  TCodeCharSet wordBreakChars_;
  std::string defaultFilter_;
  bool updateChange_ = false;
  bool loading_ = false;
};

// A highlighter class is registered once; false when it was already registered.
bool RegisterHighlighterClass(const TCodeHighlighterClass& HighlighterClass);
