#include "commands/SessionList.h"
#include "rtl/SysUtils.h"

namespace {

std::vector<std::string> SplitTabs(const std::string& Line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = Line.find('\t', start);
    fields.push_back(Line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

int FieldOr(const std::vector<std::string>& Fields, size_t Index, int Default) {
  return Index < Fields.size() ? StrToIntDef(Trim(Fields[Index]), Default) : Default;
}

}  // namespace

std::vector<TSessionEntry> ParseSessionList(const TStrings& Lines) {
  std::vector<TSessionEntry> entries;
  for (int i = 0; i < Lines.Count(); ++i) {
    const std::vector<std::string> fields = SplitTabs(Lines[i]);
    TSessionEntry entry;
    entry.FileName = Trim(fields[0]);
    if (entry.FileName.empty()) continue;
    entry.SelStart = FieldOr(fields, 1, entry.SelStart);
    entry.SelLength = FieldOr(fields, 2, entry.SelLength);
    entry.TopLine = FieldOr(fields, 3, entry.TopLine);
    entries.push_back(entry);
  }
  return entries;
}
