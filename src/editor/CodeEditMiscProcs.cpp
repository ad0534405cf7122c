#include "editor/CodeEditMiscProcs.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include "editor/CodeEditHighlighter.h"
#include "rtl/SysUtils.h"

int ClampValue(int Value, int Low, int High) {
  if (Value > High) Value = High;
  if (Value < Low) Value = Low;
  return Value;
}

void SwapIntegers(int& A, int& B) { std::swap(A, B); }

TBufferCoord MinBufferCoord(const TBufferCoord& A, const TBufferCoord& B) { return B < A ? B : A; }

namespace {
bool HasZeroByte(uint32_t Word) { return ((Word - 0x01010101u) & ~Word & 0x80808080u) != 0; }

// The first tab at or after From, or the text's size. Four bytes at a time: every line is
// searched for tabs when a large text is measured or wrapped.
size_t FindTab(std::string_view Text, size_t From) {
  const char* const data = Text.data();
  const char* p = data + From;
  const char* const end = data + Text.size();
  for (;;) {
    uint32_t word;
    while (end - p >= 4 && (std::memcpy(&word, p, 4), !HasZeroByte(word ^ 0x09090909u))) p += 4;
    for (const char* stop = end - p >= 4 ? p + 4 : end; p < stop; ++p)
      if (*p == '\t') return static_cast<size_t>(p - data);
    if (p == end) return Text.size();
  }
}

std::string ConvertTabsToBlanksEx(const std::string& Line, int /*TabWidth*/, bool& HasTabs) {
  HasTabs = FindTab(Line, 0) != Line.size();
  if (!HasTabs) return Line;
  std::string r = Line;
  for (char& c : r) if (c == '\t') c = ' ';
  return r;
}

// Column arithmetic by mask for powers of two, by remainder otherwise; same results. Tab is
// the first tab of Line.
template <bool PowerOfTwo>
void AppendExpanded(std::string_view Line, size_t Tab, int TabWidth, std::string& Out) {
  Out.reserve(Out.size() + Line.size() + TabWidth * 4);
  for (size_t from = 0;; Tab = FindTab(Line, from)) {
    Out.append(Line, from, Tab - from);
    if (Tab == Line.size()) return;
    size_t col = Out.size();
    size_t fill = PowerOfTwo ? TabWidth - (col & (TabWidth - 1)) : TabWidth - (col % TabWidth);
    Out.append(fill, '\t');
    from = Tab + 1;
  }
}

template <bool PowerOfTwo>
std::string ExpandTabsEx(const std::string& Line, int TabWidth, bool& HasTabs) {
  const size_t tab = FindTab(Line, 0);
  HasTabs = tab != Line.size();
  if (!HasTabs) return Line;
  std::string r;
  AppendExpanded<PowerOfTwo>(Line, tab, TabWidth, r);
  return r;
}

template <TCodeTabExpanderProcEx Ex>
std::string WithoutFlag(const std::string& Line, int TabWidth) {
  bool hasTabs;
  return Ex(Line, TabWidth, hasTabs);
}

bool IsPowerOfTwo(int n) { return n > 0 && n <= 65536 && (n & (n - 1)) == 0; }
}  // namespace

TCodeTabExpanderProcEx GetTabExpanderProcEx(int TabWidth) {
  if (TabWidth < 2) return ConvertTabsToBlanksEx;
  return IsPowerOfTwo(TabWidth) ? ExpandTabsEx<true> : ExpandTabsEx<false>;
}

void ExpandTabsInto(std::string_view Line, int TabWidth, std::string& Out) {
  Out.clear();
  const size_t tab = FindTab(Line, 0);
  if (tab == Line.size() || TabWidth < 2) {
    Out.assign(Line);
    if (tab != Line.size()) std::replace(Out.begin(), Out.end(), '\t', ' ');
  } else if (IsPowerOfTwo(TabWidth)) {
    AppendExpanded<true>(Line, tab, TabWidth, Out);
  } else {
    AppendExpanded<false>(Line, tab, TabWidth, Out);
  }
}

TCodeTabExpanderProc GetTabExpanderProc(int TabWidth) {
  if (TabWidth < 2) return WithoutFlag<ConvertTabsToBlanksEx>;
  return IsPowerOfTwo(TabWidth) ? WithoutFlag<ExpandTabsEx<true>> : WithoutFlag<ExpandTabsEx<false>>;
}

int TabColumns(int Col, int TabWidth) {
  if (TabWidth < 2) return 1;
  return TabWidth - Col % TabWidth;
}

int ExpandedLength(std::string_view Text, int TabWidth) {
  bool hasTabs;
  return ExpandedLength(Text, TabWidth, hasTabs);
}

int ExpandedLength(std::string_view Text, int TabWidth, bool& HasTabs) {
  int col = 0;
  size_t tab = FindTab(Text, 0);
  HasTabs = tab != Text.size();
  for (size_t from = 0;; tab = FindTab(Text, from)) {
    col += static_cast<int>(tab - from);
    if (tab == Text.size()) return col;
    col += TabColumns(col, TabWidth);
    from = tab + 1;
  }
}

int CharIndexToColumn(std::string_view Line, int Index, int TabWidth) {
  if (Index <= 1) return 1;
  size_t before = static_cast<size_t>(Index - 1);
  int beyond = before > Line.size() ? static_cast<int>(before - Line.size()) : 0;
  return ExpandedLength(Line.substr(0, std::min(before, Line.size())), TabWidth) + beyond + 1;
}

int ColumnToCharIndex(std::string_view Line, int Column, int TabWidth) {
  int col = 0;  // the columns before the character at From
  for (size_t from = 0;;) {
    const size_t tab = FindTab(Line, from);
    // Characters from From up to the tab take one column each.
    const int reach = std::max(Column - 1 - col, 0);
    if (static_cast<size_t>(reach) < tab - from) return static_cast<int>(from) + reach + 1;
    col += static_cast<int>(tab - from);
    if (tab == Line.size()) return static_cast<int>(tab) + Column - col;
    col += TabColumns(col, TabWidth);
    if (col >= Column) return static_cast<int>(tab) + 1;
    from = tab + 1;
  }
}

// --- scanning ---

namespace {
bool SystemIsLeadByte(unsigned char Byte) { return IsDBCSLeadByte(Byte); }

// Visits the 1-based start of every character up to Last, stepping over double-byte
// characters; Visit returns false to stop.
template <class F>
void ForEachCharStart(std::string_view Line, int Last, TCodeLeadByteTest IsLeadByte, F Visit) {
  int n = std::min<int>(Last, static_cast<int>(Line.size()));
  for (int i = 1; i <= n; ++i) {
    bool lead = IsLeadByte && IsLeadByte(static_cast<unsigned char>(Line[i - 1]));
    if (!Visit(i, lead)) return;
    if (lead) ++i;
  }
}

bool InSet(std::string_view Line, int Pos, const TCodeCharSet256& Chars) {
  return Chars.test(static_cast<unsigned char>(Line[Pos - 1]));
}
}  // namespace

TCodeLeadByteTest SystemLeadByteTest() {
  return GetSystemMetrics(SM_DBCSENABLED) ? SystemIsLeadByte : nullptr;
}

int ScanForCharInSet(std::string_view Line, int Start, const TCodeCharSet256& Chars,
                     TCodeLeadByteTest IsLeadByte) {
  int found = 0;
  ForEachCharStart(Line, static_cast<int>(Line.size()), IsLeadByte, [&](int i, bool) {
    if (i >= Start && InSet(Line, i, Chars)) found = i;
    return found == 0;
  });
  return found;
}

int ReverseScanForCharInSet(std::string_view Line, int Start, const TCodeCharSet256& Chars,
                            TCodeLeadByteTest IsLeadByte) {
  int found = 0;
  ForEachCharStart(Line, Start, IsLeadByte, [&](int i, bool) {
    if (InSet(Line, i, Chars)) found = i;
    return true;
  });
  return found;
}

int ScanForLeadByte(std::string_view Line, int Start, TCodeLeadByteTest IsLeadByte) {
  if (!IsLeadByte) return 0;
  int found = 0;
  ForEachCharStart(Line, static_cast<int>(Line.size()), IsLeadByte, [&](int i, bool lead) {
    if (i >= Start && lead) found = i;
    return found == 0;
  });
  return found;
}

int ReverseScanForLeadByte(std::string_view Line, int Start, TCodeLeadByteTest IsLeadByte) {
  if (!IsLeadByte) return 0;
  int found = 0;
  ForEachCharStart(Line, Start, IsLeadByte, [&](int i, bool lead) {
    if (lead) found = i;
    return true;
  });
  return found;
}

size_t FindLineEnd(std::string_view Text) {
  size_t i = Text.find_first_of(std::string_view("\0\n\r", 3));
  return i == std::string_view::npos ? Text.size() : i;
}

TCodeCharType3 ClassifyCharType3(WORD Flags) {
  const bool full = Flags & C3_FULLWIDTH;
  if (Flags & C3_SYMBOL) return full ? TCodeCharType3::ctSymbolFull : TCodeCharType3::ctSymbolHalf;
  if (Flags & C3_KATAKANA)
    return full ? TCodeCharType3::ctKatakanaFull : TCodeCharType3::ctKatakanaHalf;
  if (Flags & C3_HIRAGANA) return TCodeCharType3::ctHiragana;
  if (Flags & C3_IDEOGRAPH) return TCodeCharType3::ctIdeograph;
  if (Flags & C3_ALPHA) return full ? TCodeCharType3::ctAlphaFull : TCodeCharType3::ctAlphaHalf;
  if (Flags & (C3_NONSPACING | C3_DIACRITIC | C3_VOWELMARK)) return TCodeCharType3::ctMark;
  return TCodeCharType3::ctOther;
}

WORD CharType3Flags(std::string_view Text) {
  if (Text.empty()) return 0;
  TCodeLeadByteTest lead = SystemLeadByteTest();
  int len = Text.size() >= 2 && lead && lead(static_cast<unsigned char>(Text[0])) ? 2 : 1;
  WORD flags[2] = {};
  if (!GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE3, Text.data(), len, flags)) return 0;
  return flags[0];
}

// --- attribute enumeration ---

namespace {
TCodeContainedHighlightersProc& ContainedHighlighters() {
  static TCodeContainedHighlightersProc proc = nullptr;
  return proc;
}

// "TCodeHighlighterHTML" -> "highlighterhtml", "THtmlHighlighter" -> "html"; a lower-case
// "t" is part of the name unless it begins "tcode".
std::string HighlighterName(const std::string& ClassName) {
  std::string name = ClassName;
  if (LowerCase(name.substr(0, 5)) == "tcode")
    name.erase(0, 5);
  else if (!name.empty() && name[0] == 'T')
    name.erase(0, 1);
  name = LowerCase(name);
  const std::string suffix = "highlighter";
  if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    name.erase(name.size() - suffix.size());
  return name;
}

class TAttributeWalk {
public:
  TAttributeWalk(bool SkipDuplicates, const TCodeHighlighterAttriProc& Proc, void* Params)
      : skipDuplicates_(SkipDuplicates), proc_(Proc), params_(Params) {}

  // False as soon as the callback returns false.
  bool Walk(TCodeCustomHighlighter& Highlighter) {
    if (skipDuplicates_ && Contains(met_, Highlighter)) return true;
    met_.push_back(&Highlighter);
    std::vector<TCodeCustomHighlighter*> contained;
    if (ContainedHighlighters() && ContainedHighlighters()(Highlighter, contained))
      return WalkContained(Highlighter, contained);
    return WalkAttributes(Highlighter);
  }

private:
  static bool Contains(const std::vector<TCodeCustomHighlighter*>& List,
                       TCodeCustomHighlighter& Highlighter) {
    return std::find(List.begin(), List.end(), &Highlighter) != List.end();
  }

  // A composite met again inside itself is not re-entered, so a cycle ends the recursion
  // instead of overflowing the stack.
  bool WalkContained(TCodeCustomHighlighter& Composite,
                     const std::vector<TCodeCustomHighlighter*>& Contained) {
    if (Contains(entered_, Composite)) return true;
    entered_.push_back(&Composite);
    bool goOn = true;
    for (TCodeCustomHighlighter* h : Contained)
      if (h && !(goOn = Walk(*h))) break;
    entered_.pop_back();
    return goOn;
  }

  bool WalkAttributes(TCodeCustomHighlighter& Highlighter) {
    std::string className = Highlighter.ClassName();
    std::string prefix =
        HighlighterName(className) + std::to_string(++classCount_[className]) + ".";
    for (int i = 0; i < Highlighter.GetAttributeCount(); ++i) {
      TCodeHighlighterAttributes* attri = Highlighter.GetAttribute(i);
      if (!proc_(Highlighter, *attri, prefix + attri->Name(), params_)) return false;
    }
    return true;
  }

  bool skipDuplicates_;
  const TCodeHighlighterAttriProc& proc_;
  void* params_;
  std::vector<TCodeCustomHighlighter*> met_;
  std::vector<TCodeCustomHighlighter*> entered_;  // the composites being walked, outermost first
  std::map<std::string, int> classCount_;
};
}  // namespace

void RegisterContainedHighlighters(TCodeContainedHighlightersProc Proc) { ContainedHighlighters() = Proc; }

bool EnumHighlighterAttributes(TCodeCustomHighlighter* Highlighter, bool SkipDuplicates,
                               const TCodeHighlighterAttriProc& Proc, void* Params) {
  if (!Highlighter || !Proc) return false;
  return TAttributeWalk(SkipDuplicates, Proc, Params).Walk(*Highlighter);
}

// --- gradient ---

void PaintGradient(HDC DC, TColor StartColor, TColor EndColor, bool Horizontal, const RECT& Rect,
                   int Steps) {
  Steps = ClampValue(Steps, 2, 256);
  COLORREF from = ColorToRGB(StartColor), to = ColorToRGB(EndColor);
  auto channel = [&](int shift, int i) {
    int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    return (a + i * (b - a) / (Steps - 1)) & 0xFF;
  };
  int size = Horizontal ? Rect.right - Rect.left : Rect.bottom - Rect.top;
  for (int i = 0; i < Steps; ++i) {
    RECT band = Rect;
    int lo = i * size / Steps, hi = (i + 1) * size / Steps;
    if (Horizontal) {
      band.left = Rect.left + lo;
      band.right = Rect.left + hi;
    } else {
      band.top = Rect.top + lo;
      band.bottom = Rect.top + hi;
    }
    HBRUSH brush = CreateSolidBrush(RGB(channel(0, i), channel(8, i), channel(16, i)));
    FillRect(DC, &band, brush);
    DeleteObject(brush);
  }
}
