#include "editor/CodeEditMiscProcs.h"

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
