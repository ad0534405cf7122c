#include "documents/fLanguage.h"
#include <set>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

TStringList LanguageTexts;
const std::string LangNoParams(1, '\0');
const char* const InternalLanguageName = "Deutsch (intern)";

namespace {
const char kParamSeparator = '\x01';
const char kPercentPlaceholder = '\x02';

std::vector<std::string> SplitParams(const std::string& Params) {
  std::vector<std::string> fields(1);
  for (char c : Params) {
    if (c == kParamSeparator) fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

// The number N of a parameter reference "%sN%" starting at Pos (N written without leading
// zeros); 0 when there is none. End receives the position after the closing "%".
int ParamRefAt(const std::string& Text, size_t Pos, size_t& End) {
  if (Text.compare(Pos, 2, "%s") != 0) return 0;
  size_t digitsEnd = Text.find_first_not_of("0123456789", Pos + 2);
  size_t digits = (digitsEnd == std::string::npos ? Text.size() : digitsEnd) - (Pos + 2);
  if (digits == 0 || digits > 9 || Text[Pos + 2] == '0' || digitsEnd == std::string::npos ||
      Text[digitsEnd] != '%')
    return 0;
  End = digitsEnd + 1;
  return std::stoi(Text.substr(Pos + 2, digits));
}

std::set<int> ParamRefs(const std::string& Text) {
  std::set<int> refs;
  size_t end;
  for (size_t i = 0; i < Text.size(); ++i)
    if (int n = ParamRefAt(Text, i, end)) refs.insert(n);
  return refs;
}

// True when every parameter Text refers to is also used by Template.
bool UsesOnlyParamsOf(const std::string& Text, const std::string& Template) {
  const std::set<int> known = ParamRefs(Template);
  for (int n : ParamRefs(Text))
    if (!known.count(n)) return false;
  return true;
}

// One pass from left to right, so a parameter value is never searched for references again.
std::string InsertParams(const std::string& Text, const std::vector<std::string>& Fields) {
  std::string r;
  size_t i = 0;
  while (i < Text.size()) {
    size_t end;
    int n = ParamRefAt(Text, i, end);
    if (n >= 1 && static_cast<size_t>(n) <= Fields.size()) {
      r += Fields[n - 1];
      i = end;
    } else {
      r += Text[i++];
    }
  }
  return r;
}

std::string ExpandEscapes(const std::string& Text) {
  std::string r = ReplaceAll(Text, "%w%", "\r\n", false);
  r = ReplaceAll(r, "%r%", "\r", false);
  r = ReplaceAll(r, "%n%", "\n", false);
  r = ReplaceAll(r, "%t%", "\t", false);
  return ReplaceAll(r, "%_%", " ", false);
}

// The text after the first "=" of the first line whose key matches; empty when none.
std::string FindLangText(const std::string& Key) {
  for (int i = 0; i < LanguageTexts.Count(); ++i) {
    const std::string line = LanguageTexts[i];
    size_t eq = line.find('=');
    if (eq != std::string::npos && AnsiSameText(Trim(line.substr(0, eq)), Key)) return line.substr(eq + 1);
  }
  return {};
}
}  // namespace

std::string LangParams(const std::vector<std::string>& Values) {
  std::string r;
  for (size_t i = 0; i < Values.size(); ++i) {
    if (i > 0) r += kParamSeparator;
    r += Values[i];
  }
  return r;
}

int LoadLanguageFile(const std::string& FileName) {
  LanguageTexts.Clear();
  if (!FileExists(FileName)) return -1;
  TStringList lines;
  try {
    TFileStream in(FileName, fmOpenRead | fmShareDenyNone);
    lines.LoadFromStream(in);
  } catch (const EStreamError&) {
    return -1;
  }
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = Trim(lines[i]);
    if (!line.empty() && line[0] != '#') LanguageTexts.Add(line);
  }
  return LanguageTexts.Count();
}

std::string GetLangText(const std::string& Key, const std::string& Default, const std::string& Params) {
  const bool hasParams = Params != LangNoParams;
  std::string text = FindLangText(Key);
  if (text.empty()) text = Default;
  // A translated template may only use the parameters the caller's default uses.
  if (hasParams && !UsesOnlyParamsOf(text, Default)) text = Default;
  text = ReplaceAll(text, "$%$", std::string(1, kPercentPlaceholder), false);
  if (hasParams) text = InsertParams(text, SplitParams(Params));
  text = ExpandEscapes(text);
  return ReplaceChar(text, kPercentPlaceholder, '%');
}

namespace {
// The language file's key of each of the toolkit's texts.
const char* ToolkitKey(TToolkitText Text) {
  switch (Text) {
    case TToolkitText::NameRefusedTitle: return "Main|MsgNameRefusedTitle";
    case TToolkitText::NameRefusedText: return "Main|MsgNameRefusedText";
    case TToolkitText::NamesNotShown: return "Main|MsgNameRefusedMore";
    case TToolkitText::SearchTextRefusedTitle: return "Main|MsgSearchTextRefusedTitle";
    case TToolkitText::SearchTextRefusedText: return "Main|MsgSearchTextRefusedText";
  }
  return "";
}
}  // namespace

std::string ToolkitText(TToolkitText Text, const std::vector<std::string>& Params) {
  return GetLangText(ToolkitKey(Text), ToolkitGermanText(Text, {"%s1%"}),
                     Params.empty() ? LangNoParams : LangParams(Params));
}

int CharsetFromName(const std::string& Name) {
  static const struct {
    const char* name;
    int value;
  } kCharsets[] = {{"ANSI", 0},         {"DEFAULT", 1},   {"SYMBOL", 2},      {"MAC", 77},
                   {"SHIFTJIS", 128},   {"HANGEUL", 129}, {"JOHAB", 130},     {"GB2312", 134},
                   {"CHINESEBIG5", 136}, {"GREEK", 161},  {"TURKISH", 162},   {"VIETNAMESE", 163},
                   {"HEBREW", 177},     {"ARABIC", 178},  {"BALTIC", 186},    {"RUSSIAN", 204},
                   {"THAI", 222},       {"EASTEUROPE", 238}, {"OEM", 255}};
  const std::string key = AnsiUpperCase(Trim(Name));
  for (const auto& c : kCharsets)
    if (key == c.name) return c.value;
  return 1;
}
