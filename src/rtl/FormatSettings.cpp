#include "rtl/FormatSettings.h"
#include "rtl/SysUtils.h"

namespace {
std::string LocaleInfo(LCID Locale, LCTYPE Type, const std::string& Default) {
  const std::string text = GetLocaleText(Locale, Type);
  return text.empty() ? Default : text;
}

char LocaleChar(LCID Locale, LCTYPE Type, char Default) {
  std::string s = LocaleInfo(Locale, Type, "");
  return s.empty() ? Default : s[0];
}

// The system's date pattern in our letters: months "M" become "m"; quoted text is kept.
std::string TranslateDateFormat(const std::string& Format) {
  std::string r;
  bool quoted = false;
  for (char c : Format) {
    if (c == '\'') quoted = !quoted;
    r += (!quoted && c == 'M') ? 'm' : c;
  }
  return r;
}

// The system's time pattern in our letters: hours "H" -> "h", minutes "m" -> "n", the
// am/pm marker "t"/"tt" -> "AMPM".
std::string TranslateTimeFormat(const std::string& Format) {
  std::string r;
  bool quoted = false;
  for (size_t i = 0; i < Format.size(); ++i) {
    char c = Format[i];
    if (c == '\'') quoted = !quoted;
    if (quoted) {
      r += c;
    } else if (c == 'H') {
      r += 'h';
    } else if (c == 'm') {
      r += 'n';
    } else if (c == 't') {
      if (i + 1 < Format.size() && Format[i + 1] == 't') ++i;
      r += "AMPM";
    } else {
      r += c;
    }
  }
  return r;
}

// The long time pattern without its seconds part.
std::string WithoutSeconds(const std::string& Format) {
  size_t s = Format.find('s');
  if (s == std::string::npos) return Format;
  size_t begin = s;
  while (begin > 0 && Format[begin - 1] != 'n' && Format[begin - 1] != 'h') --begin;
  size_t end = Format.find_first_not_of('s', s);
  return Format.substr(0, begin) + (end == std::string::npos ? "" : Format.substr(end));
}
}  // namespace

TFormatSettings GetLocaleFormatSettings(LCID Locale) {
  TFormatSettings f;
  f.DateSeparator = LocaleChar(Locale, LOCALE_SDATE, f.DateSeparator);
  f.TimeSeparator = LocaleChar(Locale, LOCALE_STIME, f.TimeSeparator);
  f.DecimalSeparator = LocaleChar(Locale, LOCALE_SDECIMAL, f.DecimalSeparator);
  f.ThousandSeparator = LocaleChar(Locale, LOCALE_STHOUSAND, f.ThousandSeparator);
  f.ShortDateFormat = TranslateDateFormat(LocaleInfo(Locale, LOCALE_SSHORTDATE, "dd.MM.yyyy"));
  f.LongDateFormat = TranslateDateFormat(LocaleInfo(Locale, LOCALE_SLONGDATE, "dddd, d. MMMM yyyy"));
  f.LongTimeFormat = TranslateTimeFormat(LocaleInfo(Locale, LOCALE_STIMEFORMAT, "HH:mm:ss"));
  f.ShortTimeFormat = WithoutSeconds(f.LongTimeFormat);
  f.TimeAMString = LocaleInfo(Locale, LOCALE_S1159, "am");
  f.TimePMString = LocaleInfo(Locale, LOCALE_S2359, "pm");
  for (int m = 1; m <= 12; ++m) {
    f.LongMonthNames[m] = LocaleInfo(Locale, LOCALE_SMONTHNAME1 + m - 1, "");
    f.ShortMonthNames[m] = LocaleInfo(Locale, LOCALE_SABBREVMONTHNAME1 + m - 1, "");
  }
  // The system counts days from Monday (1) to Sunday (7); ours from Sunday.
  for (int d = 1; d <= 7; ++d) {
    int sys = d == 1 ? 6 : d - 2;
    f.LongDayNames[d] = LocaleInfo(Locale, LOCALE_SDAYNAME1 + sys, "");
    f.ShortDayNames[d] = LocaleInfo(Locale, LOCALE_SABBREVDAYNAME1 + sys, "");
  }
  return f;
}
