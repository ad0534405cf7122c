#include "printing/CodeExportHTML.h"
#include <array>
#include <cstdio>
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditStrConst.h"
#include "toolkit/Clipboard.h"

namespace {
// The Latin-1 entities for the codes 161..255; 172 and 182 have none.
constexpr const char* kLatin1Entities[] = {
    "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf",
    "laquo", nullptr, "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute",
    "micro", nullptr, "middot", "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34",
    "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde",
    "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute",
    "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml",
    "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc",
    "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash",
    "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml"};
static_assert(sizeof kLatin1Entities / sizeof kLatin1Entities[0] == 95);

// Unicode of the Windows-1252 codes 128..159; the five unassigned ones keep their code.
constexpr unsigned kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const std::string kFragmentStart = "<!--StartFragment--><pre><code>";
const std::string kFragmentEnd = "</code></pre><!--EndFragment-->";
const std::string kDocumentEnd = "</body>\r\n</html>";

std::string NumericReference(unsigned Code) { return "&#" + std::to_string(Code) + ";"; }

// One declaration for both lines: a second text-decoration would replace the first.
std::string TextDecoration(TFontStyles Style) {
  const bool underline = Style.Contains(TFontStyle::fsUnderline);
  const bool strikeOut = Style.Contains(TFontStyle::fsStrikeOut);
  if (!underline && !strikeOut) return std::string();
  return std::string("text-decoration: ") + (underline ? "underline" : "") +
         (underline && strikeOut ? " " : "") + (strikeOut ? "line-through" : "") + "; ";
}
}  // namespace

std::string HTMLClassName(const std::string& UniqueAttriName) {
  std::string result;
  for (char ch : UniqueAttriName) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (c == '.' || c == '_') c = '-';
    if (c == '-' && !result.empty() && result.back() == '-') continue;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
      result += static_cast<char>(c);
  }
  return result;
}

std::string HTMLColor(TColor Color) {
  COLORREF rgb = ColorToRGB(Color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb),
                GetBValue(rgb));
  return text;
}

std::string TCodeExporterHTML::EntityName(unsigned char Char) {
  switch (Char) {
    case 34: return "&quot;";
    case 38: return "&amp;";
    case 60: return "&lt;";
    case 62: return "&gt;";
    case 128: return "&euro;";
    case 153: return "&trade;";
    default: break;
  }
  if (Char < 161 || !kLatin1Entities[Char - 161]) return std::string();
  return std::string("&") + kLatin1Entities[Char - 161] + ";";
}

TCodeExporterHTML::TCodeExporterHTML(TComponent* Owner) : TCodeCustomExporter(Owner) {
  SetDefaultFilter(CES_FilterHTML);
  SetClipboardFormat(RegisterClipboardFormatName("HTML Format"));
  // Beyond the named entities, every upper byte and DEL go as numeric references and control
  // characters that XML forbids as the replacement character: the output stays 7-bit, so it
  // is the same text as ISO-8859-1 (the declared encoding) and as UTF-8 (the clipboard's).
  for (int c = 0; c < 256; ++c) {
    const unsigned char ch = static_cast<unsigned char>(c);
    std::string entity = EntityName(ch);
    if (!entity.empty())
      SetReplacement(ch, entity);
    else if (c >= 160)
      SetReplacement(ch, NumericReference(c));
    else if (c >= 128)
      SetReplacement(ch, NumericReference(kCp1252High[c - 128]));
    else if (c < 32 && c != '\t' && c != '\n' && c != '\r')
      SetReplacement(ch, NumericReference(0xFFFD));
    else if (c == 127)
      SetReplacement(ch, NumericReference(c));
  }
}

std::string TCodeExporterHTML::GetFormatName() { return CES_ExporterFormatHTML; }

void TCodeExporterHTML::ApplyTokenAttribute(TCodeHighlighterAttributes* Attri) {
  attri_ = Attri;
  if (FirstAttribute()) CollectClassNames();
  TCodeCustomExporter::ApplyTokenAttribute(Attri);
}

void TCodeExporterHTML::CollectClassNames() {
  classes_.clear();
  classIndex_.clear();
  classNamesUsed_.clear();
  TCodeCustomHighlighter* highlighter = Highlighter();
  EnumHighlighterAttributes(
      highlighter, true,
      [this](TCodeCustomHighlighter&, TCodeHighlighterAttributes& Attri,
             const std::string& UniqueName, void*) {
        AddClass(&Attri, HTMLClassName(UniqueName));
        return true;
      },
      nullptr);
  for (int i = 0; highlighter && i < highlighter->GetAttributeCount(); ++i)
    if (TCodeHighlighterAttributes* attri = highlighter->GetAttribute(i))
      AddClass(attri, HTMLClassName(attri->Name()));
}

void TCodeExporterHTML::AddClass(TCodeHighlighterAttributes* Attri, const std::string& Name) {
  if (classIndex_.count(Attri)) return;
  const std::string base = Name.empty() ? std::string("attribute") : Name;
  // Never "--": the rules stand inside a comment.
  const std::string separator = base.back() == '-' ? "" : "-";
  std::string name = base;
  for (int n = 2; classNamesUsed_.count(name); ++n) name = base + separator + std::to_string(n);
  classNamesUsed_.insert(name);
  classIndex_[Attri] = classes_.size();
  classes_.emplace_back(Attri, name);
}

const std::string& TCodeExporterHTML::ClassOf(TCodeHighlighterAttributes* Attri) {
  auto it = classIndex_.find(Attri);
  if (it != classIndex_.end()) return classes_[it->second].second;
  AddClass(Attri, HTMLClassName(Attri->Name()));
  return classes_.back().second;
}

// A token without attribute gets a span without class, so that every span still closes.
void TCodeExporterHTML::WriteAttributeStart(bool, bool, TFontStyles) {
  if (!attri_) {
    AppendText("<span>");
    return;
  }
  AppendText("<span class=\"" + ClassOf(attri_) + "\">");
}

void TCodeExporterHTML::WriteBeforeFirstAttribute(bool BackgroundChanged, bool ForegroundChanged,
                                                  TFontStyles FontStyles) {
  WriteAttributeStart(BackgroundChanged, ForegroundChanged, FontStyles);
}

void TCodeExporterHTML::WriteAttributeEnd(bool, bool, TFontStyles) { AppendText("</span>"); }

void TCodeExporterHTML::WriteAfterLastAttribute() { AppendText("</span>"); }

void TCodeExporterHTML::WriteNewLine() { AppendLineBreak(); }

std::string TCodeExporterHTML::StyleRules() {
  // Without a token written, this export has not collected the classes yet.
  if (FirstAttribute()) CollectClassNames();
  std::string rules;
  for (const auto& [attri, name] : classes_) {
    rules += "." + name + " { ";
    if (UseBackground() && attri->Background() != clNone)
      rules += "background-color: " + HTMLColor(attri->Background()) + "; ";
    if (attri->Foreground() != clNone) rules += "color: " + HTMLColor(attri->Foreground()) + "; ";
    const TFontStyles style = attri->Style();
    if (style.Contains(TFontStyle::fsBold)) rules += "font-weight: bold; ";
    if (style.Contains(TFontStyle::fsItalic)) rules += "font-style: italic; ";
    rules += TextDecoration(style);
    rules += "}\r\n";
  }
  return rules;
}

// The title passes through the replacement: it is often a file name, which may hold "&".
std::string TCodeExporterHTML::DocumentHeader() {
  return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
         "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
         "<head>\r\n"
         "<title>" + ReplaceReservedChars(Title()) + "</title>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />\r\n"
         "<meta name=\"generator\" content=\"CodeEdit HTML exporter\" />\r\n"
         "<style type=\"text/css\">\r\n"
         "<!--\r\n"
         "body { color: " + HTMLColor(Font().Color()) + "; background-color: " +
         HTMLColor(Color()) + "; }\r\n" + StyleRules() +
         "-->\r\n"
         "</style>\r\n"
         "</head>\r\n"
         "<body>\r\n";
}

std::string TCodeExporterHTML::ClipboardDescription(size_t HeaderLength, size_t BodyLength) {
  auto describe = [](size_t StartHTML, size_t EndHTML, size_t StartFragment, size_t EndFragment) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Version:0.9\r\nStartHTML:%.10u\r\nEndHTML:%.10u\r\nStartFragment:%.10u\r\n"
                  "EndFragment:%.10u\r\n",
                  static_cast<unsigned>(StartHTML), static_cast<unsigned>(EndHTML),
                  static_cast<unsigned>(StartFragment), static_cast<unsigned>(EndFragment));
    return std::string(text);
  };
  // The numbers have a fixed width, so the description's length does not depend on them.
  const size_t startHTML = describe(0, 0, 0, 0).size();
  const size_t startFragment = startHTML + HeaderLength;
  const size_t endFragment = startFragment + kFragmentStart.size() + BodyLength + kFragmentEnd.size();
  const size_t endHTML = endFragment + kDocumentEnd.size();
  return describe(startHTML, endHTML, startFragment, endFragment);
}

std::string TCodeExporterHTML::GetHeaderText() {
  if (!ExportAsText()) {
    const std::string header = DocumentHeader();
    return ClipboardDescription(header.size(), BufferSize()) + header + kFragmentStart;
  }
  std::string header = CreateHTMLFragment() ? std::string() : DocumentHeader();
  return header + "<pre>\r\n<code><span style=\"font: " + std::to_string(Font().Size()) + "pt " +
         ReplaceReservedChars(Font().Name()) + ";\">";
}

std::string TCodeExporterHTML::GetFooterText() {
  if (!ExportAsText()) return kFragmentEnd + kDocumentEnd;
  return "</span>\r\n</code></pre>\r\n" + (CreateHTMLFragment() ? std::string() : kDocumentEnd);
}
