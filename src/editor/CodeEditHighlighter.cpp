#include "editor/CodeEditHighlighter.h"
#include <algorithm>
#include <array>
#include <sstream>
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"

TCodeCharSet CodeCharSet(const std::string& Chars) {
  TCodeCharSet set;
  for (char c : Chars) set.set(static_cast<unsigned char>(c));
  return set;
}

TCodeCharSet CodeCharRange(unsigned char From, unsigned char To) {
  TCodeCharSet set;
  for (unsigned c = From; c <= To; ++c) set.set(c);
  return set;
}

// ---------------------------------------------------------------------------------------------
// TCodeHighlighterAttributes

TCodeHighlighterAttributes::TCodeHighlighterAttributes(const std::string& Name) : name_(Name) {}

void TCodeHighlighterAttributes::Changed() {
  if (OnChange) OnChange(this);
}

void TCodeHighlighterAttributes::SetBackground(TColor Value) {
  if (background_ == Value) return;
  background_ = Value;
  Changed();
}

void TCodeHighlighterAttributes::SetForeground(TColor Value) {
  if (foreground_ == Value) return;
  foreground_ = Value;
  Changed();
}

void TCodeHighlighterAttributes::SetStyle(TFontStyles Value) {
  if (style_ == Value) return;
  style_ = Value;
  Changed();
}

namespace {

constexpr std::array<std::pair<TFontStyle, int>, 4> kStyleFlags = {{
    {TFontStyle::fsBold, 1},
    {TFontStyle::fsItalic, 2},
    {TFontStyle::fsUnderline, 4},
    {TFontStyle::fsStrikeOut, 8},
}};

}  // namespace

int TCodeHighlighterAttributes::IntegerStyle() const {
  int flags = 0;
  for (auto [style, flag] : kStyleFlags)
    if (style_.Contains(style)) flags += flag;
  return flags;
}

void TCodeHighlighterAttributes::SetIntegerStyle(int Value) {
  TFontStyles styles;
  for (auto [style, flag] : kStyleFlags)
    if (Value & flag) styles.Include(style);
  SetStyle(styles);
}

void TCodeHighlighterAttributes::InternalSaveDefaultValues() {
  backgroundDefault_ = background_;
  foregroundDefault_ = foreground_;
  styleDefault_ = style_;
}

void TCodeHighlighterAttributes::Assign(const TCodeHighlighterAttributes& Source) {
  name_ = Source.name_;
  AssignColorAndStyle(Source);
}

void TCodeHighlighterAttributes::AssignColorAndStyle(const TCodeHighlighterAttributes& Source) {
  bool changed = background_ != Source.background_ || foreground_ != Source.foreground_ ||
                 style_ != Source.style_;
  background_ = Source.background_;
  foreground_ = Source.foreground_;
  style_ = Source.style_;
  if (changed) Changed();
}

bool TCodeHighlighterAttributes::LoadFromRegistry(TRegistry& Reg) {
  if (!Reg.OpenKeyReadOnly(name_)) return false;
  int value = 0;
  if (Reg.ReadInteger("Background", value)) SetBackground(value);
  if (Reg.ReadInteger("Foreground", value)) SetForeground(value);
  if (Reg.ReadInteger("Style", value)) SetIntegerStyle(value);
  return true;
}

bool TCodeHighlighterAttributes::SaveToRegistry(TRegistry& Reg) {
  if (!Reg.OpenKey(name_, true)) return false;
  return Reg.WriteInteger("Background", background_) &&
         Reg.WriteInteger("Foreground", foreground_) &&
         Reg.WriteInteger("Style", IntegerStyle());
}

namespace {

// The 16 basic colours the older layout stores by index.
constexpr std::array<TColor, 16> kLegacyPalette = {
    clBlack, clMaroon, clGreen, clOlive, clNavy,   clPurple, clTeal, clSilver,
    clGray,  clRed,    clLime,  clYellow, clBlue,  clFuchsia, clAqua, clWhite};

TColor LegacyPaletteColor(const std::string& Index, TColor Default) {
  int i = StrToIntDef(Index, -1);
  return i >= 0 && i < static_cast<int>(kLegacyPalette.size()) ? kLegacyPalette[i] : Default;
}

bool LegacyFlag(const std::string& Text) {
  std::string t = Trim(Text);
  return !(SameText(t, "FALSE") || t == "0");
}

std::vector<std::string> SplitCommas(const std::string& Text) {
  std::vector<std::string> parts;
  std::stringstream in(Text);
  std::string part;
  while (std::getline(in, part, ',')) parts.push_back(Trim(part));
  return parts;
}

struct TLegacyAttributeValues {
  TColor foreground;
  TColor background;
  TFontStyles style;
};

// Old layout: "fg,bg,bold,italic,underline,default fg,default bg" in one value.
bool ReadOldLegacyLayout(TRegistry& Reg, const std::string& AttrName,
                         TLegacyAttributeValues& Values) {
  std::string text;
  if (!Reg.ReadString(AttrName, text)) return false;
  std::vector<std::string> parts = SplitCommas(text);
  if (parts.size() < 7) return false;
  Values.foreground = LegacyFlag(parts[5]) ? clNone : LegacyPaletteColor(parts[0], clNone);
  Values.background = LegacyFlag(parts[6]) ? clNone : LegacyPaletteColor(parts[1], clNone);
  Values.style = {};
  if (LegacyFlag(parts[2])) Values.style.Include(TFontStyle::fsBold);
  if (LegacyFlag(parts[3])) Values.style.Include(TFontStyle::fsItalic);
  if (LegacyFlag(parts[4])) Values.style.Include(TFontStyle::fsUnderline);
  return true;
}

TColor ReadLegacyColor(TRegistry& Reg, const std::string& Prefix, const std::string& DefaultName,
                       TColor Current) {
  std::string text;
  if (Reg.ReadString(DefaultName, text) && LegacyFlag(text)) return clNone;
  if (Reg.ReadString(Prefix + " New", text)) return StrToIntDef(text, Current);
  if (Reg.ReadString(Prefix, text)) return LegacyPaletteColor(text, Current);
  return Current;
}

// New layout: one sub-key per attribute with named values.
bool ReadNewLegacyLayout(TRegistry& Reg, const std::string& AttrName,
                         TLegacyAttributeValues& Values) {
  if (!Reg.OpenKeyReadOnly(AttrName)) return false;
  Values.foreground =
      ReadLegacyColor(Reg, "Foreground Color", "Default Foreground", Values.foreground);
  Values.background =
      ReadLegacyColor(Reg, "Background Color", "Default Background", Values.background);
  std::string text;
  constexpr std::array<std::pair<const char*, TFontStyle>, 3> flags = {{
      {"Bold", TFontStyle::fsBold},
      {"Italic", TFontStyle::fsItalic},
      {"Underline", TFontStyle::fsUnderline},
  }};
  for (auto [name, style] : flags) {
    if (!Reg.ReadString(name, text)) continue;
    if (LegacyFlag(text))
      Values.style.Include(style);
    else
      Values.style.Exclude(style);
  }
  return true;
}

}  // namespace

bool TCodeHighlighterAttributes::LoadFromLegacyRegistry(HKEY RootKey, const std::string& Key,
                                                        const std::string& AttrName,
                                                        bool OldLayout) {
  TRegistry reg(RootKey);
  if (!reg.OpenKeyReadOnly(Key)) return false;
  TLegacyAttributeValues values{foreground_, background_, style_};
  bool found = OldLayout ? ReadOldLegacyLayout(reg, AttrName, values)
                         : ReadNewLegacyLayout(reg, AttrName, values);
  if (!found) return false;
  TCodeHighlighterAttributes loaded(name_);
  loaded.foreground_ = values.foreground;
  loaded.background_ = values.background;
  loaded.style_ = values.style;
  AssignColorAndStyle(loaded);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Highlighter classes

bool TCodeHighlighterClass::InheritsFrom(const TCodeHighlighterClass& Ancestor) const {
  for (const TCodeHighlighterClass* c = this; c; c = c->Parent)
    if (c == &Ancestor) return true;
  return false;
}

namespace {

std::vector<const TCodeHighlighterClass*>& HighlighterList() {
  static std::vector<const TCodeHighlighterClass*> list;
  return list;
}

}  // namespace

bool RegisterHighlighterClass(const TCodeHighlighterClass& HighlighterClass) {
  auto& list = HighlighterList();
  for (const TCodeHighlighterClass* c : list)
    if (c == &HighlighterClass) return false;
  list.push_back(&HighlighterClass);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TCodeCustomHighlighter

TCodeCustomHighlighter::TCodeCustomHighlighter(TComponent* Owner)
    : TComponent(Owner),
      attrChangeHooks_(this),
      wordBreakChars_(CodeCharSet("!\"'()*+,-./:;=?[\\]^{|}")) {}

TCodeCustomHighlighter::~TCodeCustomHighlighter() = default;

const TCodeHighlighterClass& TCodeCustomHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeCustomHighlighter", nullptr,
                                          &TCodeCustomHighlighter::GetLanguageName,
                                          &TCodeCustomHighlighter::GetCapabilities};
  return info;
}

TCodeHighlighterCapabilities TCodeCustomHighlighter::GetCapabilities() {
  return {TCodeHighlighterCapability::hcRegistry};
}

std::string TCodeCustomHighlighter::GetLanguageName() { return "<Unknown>"; }

const TCodeHighlighterClass& TCodeCustomHighlighter::ClassType() const { return StaticClass(); }

int TCodeCustomHighlighter::GetAttributeCount() const {
  return static_cast<int>(attributes_.size());
}

TCodeHighlighterAttributes* TCodeCustomHighlighter::GetAttribute(int Index) const {
  if (Index < 0 || Index >= GetAttributeCount()) return nullptr;
  return attributes_[Index].get();
}

std::string TCodeCustomHighlighter::GetDefaultFilter() const { return defaultFilter_; }

TCodeCharSet TCodeCustomHighlighter::GetIdentifierChars() const { return CodeCharRange(33, 255); }

std::string TCodeCustomHighlighter::GetSampleText() const { return ""; }

bool TCodeCustomHighlighter::IsDefaultFilterStored() const { return true; }

void TCodeCustomHighlighter::SetDefaultFilter(const std::string& Value) { defaultFilter_ = Value; }

void TCodeCustomHighlighter::SetSampleText(const std::string& /*Value*/) {}

void TCodeCustomHighlighter::SetWordBreakChars(const TCodeCharSet& Value) {
  wordBreakChars_ = Value;
}

TCodeHighlighterRange TCodeCustomHighlighter::GetRange() const { return 0; }

bool TCodeCustomHighlighter::IsKeyword(const std::string& /*AKeyword*/) const { return false; }

void TCodeCustomHighlighter::SetRange(TCodeHighlighterRange /*Value*/) {}

void TCodeCustomHighlighter::ResetRange() {}

void TCodeCustomHighlighter::SkipToLineEnd() {
  while (!AtLineEnd()) NextToken();
}

int TCodeCustomHighlighter::ResumePointBefore(std::string_view /*Line*/, int /*Pos*/) const {
  return 0;
}

bool TCodeCustomHighlighter::UseUserSettings(int /*SettingIndex*/) { return false; }

void TCodeCustomHighlighter::EnumUserSettings(TStrings& Settings) { Settings.Clear(); }

namespace {

// Reads or writes every attribute of Highlighter with Reg at the highlighter's open key, which
// is opened again after each attribute (an attribute leaves its sub-key open). Reopening by the
// open key's own path also works for a Key given with a leading backslash.
bool TransferAttributes(const TCodeCustomHighlighter& Highlighter, TRegistry& Reg,
                        bool (TCodeHighlighterAttributes::*Transfer)(TRegistry&), bool ReadOnly) {
  const std::string highlighterKey = "\\" + Reg.CurrentPath();
  bool result = true;
  for (int i = 0; i < Highlighter.GetAttributeCount(); ++i) {
    result = (Highlighter.GetAttribute(i)->*Transfer)(Reg) && result;
    bool reopened = ReadOnly ? Reg.OpenKeyReadOnly(highlighterKey)
                             : Reg.OpenKey(highlighterKey, false);
    if (!reopened) return false;
  }
  return result;
}

}  // namespace

bool TCodeCustomHighlighter::LoadFromRegistry(HKEY RootKey, const std::string& Key) {
  TRegistry reg(RootKey);
  return reg.OpenKeyReadOnly(Key) &&
         TransferAttributes(*this, reg, &TCodeHighlighterAttributes::LoadFromRegistry, true);
}

bool TCodeCustomHighlighter::SaveToRegistry(HKEY RootKey, const std::string& Key) {
  TRegistry reg(RootKey);
  return reg.OpenKey(Key, true) &&
         TransferAttributes(*this, reg, &TCodeHighlighterAttributes::SaveToRegistry, false);
}

void TCodeCustomHighlighter::Assign(const TCodeCustomHighlighter& Source) {
  if (&Source == this) return;
  for (int i = 0; i < GetAttributeCount(); ++i) {
    TCodeHighlighterAttributes* own = GetAttribute(i);
    for (int j = 0; j < Source.GetAttributeCount(); ++j) {
      const TCodeHighlighterAttributes* from = Source.GetAttribute(j);
      if (from->Name() == own->Name()) {
        own->AssignColorAndStyle(*from);
        break;
      }
    }
  }
  if (Source.ClassType().InheritsFrom(ClassType())) SetSampleText(Source.GetSampleText());
  SetWordBreakChars(Source.wordBreakChars_);
  SetDefaultFilter(Source.GetDefaultFilter());
  SetEnabled(Source.enabled_);
}

TCodeHighlighterAttributes* TCodeCustomHighlighter::AddAttribute(
    std::unique_ptr<TCodeHighlighterAttributes> Attr) {
  auto pos = std::lower_bound(
      attributes_.begin(), attributes_.end(), Attr->Name(),
      [](const auto& A, const std::string& Name) { return AnsiCompareText(A->Name(), Name) < 0; });
  if (pos != attributes_.end() && AnsiCompareText((*pos)->Name(), Attr->Name()) == 0)
    throw EStringListError("String list does not allow duplicates");
  return attributes_.insert(pos, std::move(Attr))->get();
}

void TCodeCustomHighlighter::SetAttributesOnChange(const TNotifyEvent& Event) {
  for (int i = GetAttributeCount() - 1; i >= 0; --i) {
    TCodeHighlighterAttributes* attr = GetAttribute(i);
    attr->OnChange = Event;
    attr->InternalSaveDefaultValues();
  }
}

void TCodeCustomHighlighter::AddAttributeChangeHook(const TCodeNotifyMethod& Hook) {
  attrChangeHooks_.Add(Hook);
}

void TCodeCustomHighlighter::RemoveAttributeChangeHook(const TCodeNotifyMethod& Hook) {
  attrChangeHooks_.Remove(Hook);
}

void TCodeCustomHighlighter::NotifyAttributesChanged(TObject* Sender) {
  if (updateCount_ > 0) {
    updateChange_ = true;
    return;
  }
  if (loading_) return;
  attrChangeHooks_.SetSender(Sender);
  attrChangeHooks_.Fire();
}

void TCodeCustomHighlighter::BeginUpdate() { ++updateCount_; }

void TCodeCustomHighlighter::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && updateChange_) {
    updateChange_ = false;
    NotifyAttributesChanged(nullptr);
  }
}

void TCodeCustomHighlighter::Loaded() {
  loading_ = false;
  NotifyAttributesChanged(nullptr);
}

void TCodeCustomHighlighter::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  NotifyAttributesChanged(nullptr);
}
