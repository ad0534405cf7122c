#include "rtl/DateTimeFormat.h"
#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

std::function<TClockReading()>& ClockOverride() {
  static std::function<TClockReading()> clock;
  return clock;
}

std::string Padded(int Value, int Digits) {
  std::string s = std::to_string(Value);
  if (static_cast<int>(s.size()) < Digits) s.insert(0, Digits - s.size(), '0');
  return s;
}

bool StartsWithNoCase(const std::string& Text, size_t Pos, const char* Word) {
  for (size_t i = 0; Word[i]; ++i) {
    if (Pos + i >= Text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(Text[Pos + i])) != Word[i]) return false;
  }
  return true;
}

// Whether the format asks for the 12-hour clock.
bool UsesAmPm(const std::string& Format) {
  for (size_t i = 0; i < Format.size(); ++i)
    if (StartsWithNoCase(Format, i, "am/pm") || StartsWithNoCase(Format, i, "a/p") ||
        StartsWithNoCase(Format, i, "ampm"))
      return true;
  return false;
}

class TFormatter {
public:
  TFormatter(TDateTime Value, const TFormatSettings& Settings) : settings_(Settings) {
    DecodeDate(Value, year_, month_, day_);
    DecodeTime(Value, hour_, minute_, second_, ms_);
    dow_ = DayOfWeek(Value);
    hasTime_ = hour_ || minute_ || second_ || ms_;
  }

  // Nested formats (short date inside "c" and the like) go at most a few levels deep, so a
  // locale format naming itself cannot recurse without end.
  void Format(const std::string& F, int Depth) {
    if (Depth > 3) return;
    const bool twelve = UsesAmPm(F);
    bool afterHour = false;
    size_t i = 0;
    while (i < F.size()) {
      const char c = F[i];
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      size_t run = 1;
      while (i + run < F.size() &&
             std::tolower(static_cast<unsigned char>(F[i + run])) == lower && lower != '\'' &&
             lower != '"')
        ++run;
      bool hour = false;
      switch (lower) {
        case '\'':
        case '"': {
          size_t end = F.find(c, i + 1);
          if (end == std::string::npos) end = F.size();
          out_ += F.substr(i + 1, end - i - 1);
          i = end + 1;
          continue;
        }
        case 'd':
          if (run == 1) out_ += std::to_string(day_);
          else if (run == 2) out_ += Padded(day_, 2);
          else if (run == 3) out_ += settings_.ShortDayNames[dow_];
          else if (run == 4) out_ += settings_.LongDayNames[dow_];
          else if (run == 5) Format(settings_.ShortDateFormat, Depth + 1);
          else Format(settings_.LongDateFormat, Depth + 1);
          break;
        case 'm':
          if (afterHour && run <= 2) out_ += run == 1 ? std::to_string(minute_) : Padded(minute_, 2);
          else if (run == 1) out_ += std::to_string(month_);
          else if (run == 2) out_ += Padded(month_, 2);
          else if (run == 3) out_ += settings_.ShortMonthNames[month_];
          else out_ += settings_.LongMonthNames[month_];
          break;
        case 'y':
          out_ += run <= 2 ? Padded(year_ % 100, 2) : Padded(year_, 4);
          break;
        case 'h': {
          int h = hour_;
          if (twelve) h = h % 12 == 0 ? 12 : h % 12;
          out_ += run == 1 ? std::to_string(h) : Padded(h, 2);
          run = std::min<size_t>(run, 2);
          hour = true;
          break;
        }
        case 'n':
          out_ += run == 1 ? std::to_string(minute_) : Padded(minute_, 2);
          run = std::min<size_t>(run, 2);
          break;
        case 's':
          out_ += run == 1 ? std::to_string(second_) : Padded(second_, 2);
          run = std::min<size_t>(run, 2);
          break;
        case 'z':
          out_ += run < 3 ? std::to_string(ms_) : Padded(ms_, 3);
          run = std::min<size_t>(run, 3);
          break;
        case 't':
          Format(run == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, Depth + 1);
          run = std::min<size_t>(run, 2);
          break;
        case 'c':
          Format(settings_.ShortDateFormat, Depth + 1);
          if (hasTime_) {
            out_ += ' ';
            Format(settings_.LongTimeFormat, Depth + 1);
          }
          run = 1;
          break;
        case 'a':
          run = AmPm(F, i);
          break;
        case '/':
          out_ += settings_.DateSeparator;
          run = 1;
          break;
        case ':':
          out_ += settings_.TimeSeparator;
          run = 1;
          break;
        default:
          out_.append(F, i, run);
          break;
      }
      // "m" means minutes right after an hour, also across separators and blanks.
      if (hour) afterHour = true;
      else if (std::isalpha(static_cast<unsigned char>(lower))) afterHour = false;
      i += run;
    }
  }

  std::string Result() const { return out_; }

private:
  // Writes the marker at Pos; the length it took (a lone "a" is copied as it stands).
  size_t AmPm(const std::string& F, size_t Pos) {
    const bool pm = hour_ >= 12;
    if (StartsWithNoCase(F, Pos, "am/pm")) {
      out_ += F.substr(Pos + (pm ? 3 : 0), 2);
      return 5;
    }
    if (StartsWithNoCase(F, Pos, "a/p")) {
      out_ += F[Pos + (pm ? 2 : 0)];
      return 3;
    }
    if (StartsWithNoCase(F, Pos, "ampm")) {
      out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
      return 4;
    }
    out_ += F[Pos];
    return 1;
  }

  const TFormatSettings& settings_;
  std::string out_;
  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0, ms_ = 0, dow_ = 1;
  bool hasTime_ = false;
};

int IsoWeekDay(TDateTime Value) { return (DayOfWeek(Value) + 5) % 7 + 1; }

// The Thursday of the Monday-based week that holds Value.
TDateTime ThursdayOfWeek(TDateTime Value) {
  return std::floor(Value) - IsoWeekDay(Value) + 4;
}

}  // namespace

TClockReading ReadClock() {
  if (ClockOverride()) return ClockOverride()();
  SYSTEMTIME local, utc;
  GetLocalTime(&local);
  GetSystemTime(&utc);
  TClockReading reading;
  reading.Local = SystemTimeToDateTime(local);
  reading.Utc = SystemTimeToDateTime(utc);
  reading.BiasMinutes = static_cast<int>(std::lround((reading.Local - reading.Utc) * 1440.0));
  return reading;
}

void SetClockOverride(std::function<TClockReading()> Clock) { ClockOverride() = std::move(Clock); }

std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings) {
  TFormatter formatter(Value, Settings);
  formatter.Format(Format, 0);
  return formatter.Result();
}

int DayOfTheYear(TDateTime Value) {
  int year, month, day;
  DecodeDate(Value, year, month, day);
  return static_cast<int>(std::floor(Value) - EncodeDate(year, 1, 1)) + 1;
}

int WeekOfTheYear(TDateTime Value) { return (DayOfTheYear(ThursdayOfWeek(Value)) - 1) / 7 + 1; }

int WeekOfTheMonth(TDateTime Value) {
  int year, month, day;
  DecodeDate(ThursdayOfWeek(Value), year, month, day);
  return (day - 1) / 7 + 1;
}
