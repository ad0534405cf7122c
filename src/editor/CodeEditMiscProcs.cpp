#include "editor/CodeEditMiscProcs.h"
#include <algorithm>
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
std::string ConvertTabsToBlanksEx(const std::string& Line, int /*TabWidth*/, bool& HasTabs) {
  HasTabs = Line.find('\t') != std::string::npos;
  if (!HasTabs) return Line;
  std::string r = Line;
  for (char& c : r) if (c == '\t') c = ' ';
  return r;
}

// Column arithmetic by mask for powers of two, by remainder otherwise; same results.
template <bool PowerOfTwo>
std::string ExpandTabsEx(const std::string& Line, int TabWidth, bool& HasTabs) {
  size_t first = Line.find('\t');
  HasTabs = first != std::string::npos;
  if (!HasTabs) return Line;
  std::string r;
  r.reserve(Line.size() + TabWidth * 4);
  for (char c : Line) {
    if (c != '\t') {
      r += c;
      continue;
    }
    size_t col = r.size();
    size_t fill = PowerOfTwo ? TabWidth - (col & (TabWidth - 1)) : TabWidth - (col % TabWidth);
    r.append(fill, '\t');
  }
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

TCodeTabExpanderProc GetTabExpanderProc(int TabWidth) {
  if (TabWidth < 2) return WithoutFlag<ConvertTabsToBlanksEx>;
  return IsPowerOfTwo(TabWidth) ? WithoutFlag<ExpandTabsEx<true>> : WithoutFlag<ExpandTabsEx<false>>;
}

namespace {
// Columns a tab at column Col (0-based) takes up.
int TabColumns(int Col, int TabWidth) {
  if (TabWidth < 2) return 1;
  return TabWidth - Col % TabWidth;
}
}  // namespace

int ExpandedLength(std::string_view Text, int TabWidth) {
  int col = 0;
  for (char c : Text) col += c == '\t' ? TabColumns(col, TabWidth) : 1;
  return col;
}

int CharIndexToColumn(std::string_view Line, int Index, int TabWidth) {
  if (Index <= 1) return 1;
  size_t before = static_cast<size_t>(Index - 1);
  int beyond = before > Line.size() ? static_cast<int>(before - Line.size()) : 0;
  return ExpandedLength(Line.substr(0, std::min(before, Line.size())), TabWidth) + beyond + 1;
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
