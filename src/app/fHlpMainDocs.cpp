#include "app/fHlpMainDocs.h"
#include <algorithm>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

std::vector<int32_t> DocumentNumbers;

// ---- Document numbers ---------------------------------------------------------------------

int NewDocumentNumber() {
  for (size_t i = 0; i < DocumentNumbers.size(); ++i) {
    if (DocumentNumbers[i] == -1) {
      DocumentNumbers[i] = static_cast<int32_t>(i);
      return static_cast<int>(i) + 1;
    }
  }
  DocumentNumbers.push_back(static_cast<int32_t>(DocumentNumbers.size()));
  return static_cast<int>(DocumentNumbers.size());
}

void FreeDocumentNumber(int Number) {
  if (Number >= 1 && static_cast<size_t>(Number) <= DocumentNumbers.size())
    DocumentNumbers[Number - 1] = -1;
}

// ---- Captions -----------------------------------------------------------------------------

std::string TabCaptionOf(const std::string& Title) {
  std::string caption;
  for (char c : ShortenMiddle(Title, "...", Settings.Editor.MaxTabCaptionLen)) {
    caption += c;
    if (c == '&') caption += '&';
  }
  return caption;
}

// ---- Lists --------------------------------------------------------------------------------

void AddToOpenMRU(TStrings& List, const std::string& FileName, int MaxCount) {
  for (int i = List.Count() - 1; i >= 0; --i)
    if (AnsiSameText(List[i], FileName)) List.Delete(i);
  List.Insert(0, FileName);
  while (List.Count() > std::max(MaxCount, 0)) List.Delete(List.Count() - 1);
}

// ---- File types ---------------------------------------------------------------------------

namespace {

std::string RowField(int Row, int Field) { return GetToken(Settings.FileTypes[Row], "|", Field); }

// Whole masks: ".h" names "*.h", never "*.html".
bool RowHasMask(int Row, const std::string& Mask) {
  const std::string masks = RowField(Row, 2) + ";";
  size_t start = 0;
  for (size_t end; (end = masks.find(';', start)) != std::string::npos; start = end + 1)
    if (AnsiSameText(Trim(masks.substr(start, end - start)), Mask)) return true;
  return false;
}

}  // namespace

std::string GetOpenDialogFilter() {
  std::string filter;
  for (int row = 0; row < Settings.FileTypes.Count(); ++row) {
    if (row > 0) filter += "|";
    filter += RowField(row, 1) + "|" + RowField(row, 2);
  }
  return filter;
}

int FindFileTypeIndex(const std::string& Ext) {
  for (int row = 0; row < Settings.FileTypes.Count(); ++row)
    if (RowHasMask(row, "*" + Ext)) return row;
  return -1;
}

std::string GetFileTypeByExt(const std::string& Pattern) {
  const std::string pattern = !Pattern.empty() && Pattern[0] == '*' ? Pattern.substr(1) : Pattern;
  for (int row = 0; row < Settings.FileTypes.Count(); ++row) {
    if (!RowHasMask(row, "*" + pattern)) continue;
    std::string ext = AnsiLowerCase(RowField(row, 3));
    return !ext.empty() && ext[0] == '.' ? ext : "." + ext;
  }
  return pattern;
}

bool MatchesFileMask(const std::string& Name, const std::string& Mask) {
  // Greedy with one back-track point: linear in practice, never exponential.
  size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
  while (n < Name.size()) {
    if (m < Mask.size() && Mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < Mask.size() &&
               (Mask[m] == '?' || AnsiLowerChar(Mask[m]) == AnsiLowerChar(Name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < Mask.size() && Mask[m] == '*') ++m;
  return m == Mask.size();
}

// ---- Opening: size ------------------------------------------------------------------------

int64_t RoundedMegabytes(int64_t Bytes) {
  constexpr int64_t kMegabyte = 1024 * 1024;
  const int64_t whole = Bytes / kMegabyte;
  const int64_t rest = Bytes % kMegabyte;
  if (rest > kMegabyte / 2) return whole + 1;
  if (rest == kMegabyte / 2) return whole + (whole % 2);
  return whole;
}
