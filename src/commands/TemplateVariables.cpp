#include "commands/TemplateVariables.h"
#include <functional>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/DateTimeFormat.h"
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"
#include "toolkit/Menus.h"

namespace {

// The syntax menu's fixed items before the rule-file entries.
constexpr int FixedSyntaxItems = 10;
// Stands for a literal slash while the format is formatted.
constexpr char LiteralSlash = '\x02';

// The text being expanded, with the bytes that came from values marked.
class TExpansion {
public:
  explicit TExpansion(const std::string& Text) : text_(Text), fromValue_(Text.size(), '\0') {}

  // The first match of Token at or after Pos made of template bytes only; npos when none.
  size_t Find(const std::string& Token, size_t Pos) const {
    for (size_t p = text_.find(Token, Pos); p != std::string::npos; p = text_.find(Token, p + 1))
      if (fromValue_.find('\x01', p) >= p + Token.size()) return p;
    return std::string::npos;
  }
  void Replace(size_t Pos, size_t Length, const std::string& Value, bool IsValue) {
    text_.replace(Pos, Length, Value);
    fromValue_.replace(Pos, Length, std::string(Value.size(), IsValue ? '\x01' : '\0'));
  }
  // Every occurrence; Value is asked for once, only when the token is present.
  void ReplaceAll(const std::string& Token, const std::function<std::string()>& Value,
                  bool IsValue = true) {
    size_t pos = Find(Token, 0);
    if (pos == std::string::npos) return;
    const std::string value = Value();
    for (; pos != std::string::npos; pos = Find(Token, pos + value.size()))
      Replace(pos, Token.size(), value, IsValue);
  }
  void ReplaceAll(const std::string& Token, const std::string& Value, bool IsValue = true) {
    ReplaceAll(Token, [&Value] { return Value; }, IsValue);
  }
  // Removes the first occurrence; false when there is none.
  bool RemoveFirst(const std::string& Token) {
    size_t pos = Find(Token, 0);
    if (pos == std::string::npos) return false;
    Replace(pos, Token.size(), "", false);
    return true;
  }
  // Each "Opening...%" token: its argument goes to Value and the result replaces the token.
  // A token without its closing "%" stays as it is and ends the search.
  void ReplaceTokens(const std::string& Opening,
                     const std::function<std::string(const std::string&)>& Value) {
    for (size_t pos = Find(Opening, 0); pos != std::string::npos;) {
      size_t close = Find("%", pos + Opening.size());
      if (close == std::string::npos) return;
      const std::string argument = text_.substr(pos + Opening.size(), close - pos - Opening.size());
      const std::string value = Value(argument);
      Replace(pos, close + 1 - pos, value, true);
      pos = Find(Opening, pos + value.size());
    }
  }
  TExpandedText Result() const { return {text_, fromValue_}; }

private:
  std::string text_;
  std::string fromValue_;
};

std::string ReplaceText(std::string Text, const std::string& Find, const std::string& By) {
  return ::ReplaceAll(Text, Find, By, false);
}

void ApplySyntaxToken(const std::string& Name, TfraEdit& Frame) {
  TCodeEdit& editor = *Frame.seEdit;
  const std::string lower = AnsiLowerCase(Name);
  if (frmMain) {
    const std::pair<const char*, TCodeCustomHighlighter*> shared[] = {
        {":uri:", frmMain->HlURI},   {":webmixed:", frmMain->HlWebMixed},
        {":html:", frmMain->HlHTML}, {":php:", frmMain->HlPHP},
        {":css:", frmMain->HlCSS},   {":js:", frmMain->HlJS},
        {":vbs:", frmMain->HlVBS}};
    for (const auto& [id, highlighter] : shared)
      if (lower == id) {
        editor.SetHighlighter(highlighter);
        return;
      }
  }
  TMenuItem* syntax = frmMain ? frmMain->Find<TMenuItem>("mnuViewSyntax") : nullptr;
  if (!syntax || !Frame.HlUni) return;
  for (int i = FixedSyntaxItems; i < syntax->Count(); ++i) {
    TMenuItem* item = syntax->Items(i);
    const std::string caption = StripAccelChars(item->Caption());
    if (AnsiLowerCase(caption) != lower) continue;
    const std::string fileName = Settings.AppDir + "Highlighters\\" + caption + ".hgl";
    if (!FileExists(fileName)) continue;
    try {
      Frame.HlUni->LoadFromFile(fileName);
    } catch (const Exception&) {
      continue;  // an unreadable rule file counts as not there; the next entry may match
    }
    editor.SetHighlighter(Frame.HlUni.get());
    Frame.HlUni->SetTag(item->Tag());
    return;
  }
}

void ExpandFileVariables(TExpansion& E, TfraEdit& Frame, TExpandMode Mode) {
  const TDocumentInfo& info = Frame.DocInfo;
  E.ReplaceAll("%FILE%", info.FileName);
  E.ReplaceAll("%FILETITLE%", [&] { return ChangeFileExt(info.Title, ""); });
  E.ReplaceAll("%FILENAME%", info.Title);
  E.ReplaceAll("%FILEDIR%", [&] { return ExcludeTrailingBackslash(ExtractFilePath(info.FileName)); });
  E.ReplaceAll("%FILEEXT%", [&] {
    std::string ext = ExtractFileExt(info.FileName);
    return ext.empty() ? ext : ext.substr(1);
  });
  if (Mode == TExpandMode::Preview) return;  // a hint computes no checksums
  const std::string& file = info.FileName;
  TCodeEdit& editor = *Frame.seEdit;
  E.ReplaceAll("%CRC32FILE%", [&] { return CRC32File(file); });
  E.ReplaceAll("%MD5FILE%", [&] {
    auto digest = MD5File(file);
    return digest ? MD5DigestToStr(*digest) : std::string();
  });
  E.ReplaceAll("%SHA1FILE%", [&] {
    auto digest = SHA1File(file);
    return digest ? SHA1DigestToStr(*digest) : std::string();
  });
  E.ReplaceAll("%CRC32TEXT%", [&] { return CRC32String(editor.Text()); });
  E.ReplaceAll("%MD5TEXT%", [&] { return MD5DigestToStr(MD5String(editor.Text())); });
  E.ReplaceAll("%SHA1TEXT%", [&] { return SHA1DigestToStr(SHA1String(editor.Text())); });
  E.ReplaceAll("%CRC32SEL%", [&] { return CRC32String(editor.SelText()); });
  E.ReplaceAll("%MD5SEL%", [&] { return MD5DigestToStr(MD5String(editor.SelText())); });
  E.ReplaceAll("%SHA1SEL%", [&] { return SHA1DigestToStr(SHA1String(editor.SelText())); });
}

}  // namespace

std::string FormatDateTimeToken(const std::string& Format, double Moment, int BiasMinutes,
                                bool Local) {
  std::string format = ReplaceText(Format, "//", std::string(1, LiteralSlash));
  if (Local && AnsiLowerCase(format).find('b') != std::string::npos) {
    // Quoted, so the formatter keeps the offset's ":" whatever the locale's separator.
    format = ReplaceText(format, "bb", "\"" + FormatTimeZoneBias(BiasMinutes) + "\"");
    format = ReplaceText(format, "b", IntToStr(BiasMinutes));
  }
  format = ReplaceText(format, "www", IntToStr(WeekOfTheYear(Moment)));
  format = ReplaceText(format, "ww", IntToStr(WeekOfTheMonth(Moment)));
  format = ReplaceText(format, "x", IntToStr(DayOfTheYear(Moment)));
  TFormatSettings settings;
  ApplyLocalePrefix(format, settings);
  return ReplaceText(FormatDateTime(format, Moment, settings), std::string(1, LiteralSlash), "/");
}

TExpandedText ExpandVariablesMarked(const std::string& Text, TfraEdit* Frame, TExpandMode Mode) {
  TExpansion e(Text);
  e.ReplaceAll("%-\r\n", "", false);
  e.ReplaceAll("%r%", "\r", false);
  e.ReplaceAll("%n%", "\n", false);
  e.ReplaceAll("%w%", "\r\n", false);
  e.ReplaceAll("%APPNAME%", [] { return GetFileVersionValue(ProgramFile(), "ProductName"); });
  e.ReplaceAll("%APPVERSION%", [] { return GetFileVersionValue(ProgramFile(), "ProductVersion"); });

  const TClockReading clock = ReadClock();
  const TFormatSettings locale = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  auto date = [&](TDateTime Moment) { return FormatDateTime(locale.ShortDateFormat, Moment, locale); };
  auto time = [&](TDateTime Moment) { return FormatDateTime(locale.LongTimeFormat, Moment, locale); };
  e.ReplaceAll("%UTCDATETIME%", [&] { return date(clock.Utc) + " " + time(clock.Utc); });
  e.ReplaceAll("%DATETIME%", [&] { return date(clock.Local) + " " + time(clock.Local); });
  e.ReplaceAll("%UTCDATE%", [&] { return date(clock.Utc); });
  e.ReplaceAll("%DATE%", [&] { return date(clock.Local); });
  e.ReplaceAll("%UTCTIME%", [&] { return time(clock.Utc); });
  e.ReplaceAll("%TIME%", [&] { return time(clock.Local); });
  e.ReplaceTokens("%UTCDATETIME:", [&](const std::string& Format) {
    return FormatDateTimeToken(Format, clock.Utc, clock.BiasMinutes, false);
  });
  e.ReplaceTokens("%DATETIME:", [&](const std::string& Format) {
    return FormatDateTimeToken(Format, clock.Local, clock.BiasMinutes, true);
  });
  e.ReplaceAll("%USERNAME%", [] { return GetCurrentUserName(); });
  e.ReplaceAll("%COMPNAME%", [] { return GetLocalComputerName(); });

  const bool acts = Frame && Mode == TExpandMode::Insert;
  if (Frame) ExpandFileVariables(e, *Frame, Mode);
  if (e.RemoveFirst("%ASCII%") && acts) ApplyEditorFont(true, Frame->seEdit);
  if (e.RemoveFirst("%ANSI%") && acts) ApplyEditorFont(false, Frame->seEdit);
  e.ReplaceTokens("%SYNTAX:", [&](const std::string& Name) {
    if (acts) ApplySyntaxToken(Name, *Frame);
    return std::string();
  });
  e.ReplaceAll("%SELECTION%", [&] { return Frame ? Frame->seEdit->SelText() : std::string(); });
  e.ReplaceAll("$%$", "%");
  return e.Result();
}

std::string ExpandVariables(const std::string& Text, TfraEdit* Frame, TExpandMode Mode) {
  return ExpandVariablesMarked(Text, Frame, Mode).Text;
}
