#include "rtl/DateTime.h"
#include <cmath>

namespace {
bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

constexpr int kDaysTo1899_12_30 = 693594;  // days from 0001-01-01 (day 1) to 1899-12-30
constexpr double kMsPerDay = 86400000.0;
}  // namespace

int DaysInMonth(int Year, int Month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  if (Year < 1 || Year > 9999 || Day < 1 || Day > DaysInMonth(Year, Month)) return 0;
  int days = Day;
  for (int m = 1; m < Month; ++m) days += DaysInMonth(Year, m);
  int y = Year - 1;
  days += y * 365 + y / 4 - y / 100 + y / 400;
  return days - kDaysTo1899_12_30;
}

TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond) {
  if (Hour < 0 || Hour > 23 || Minute < 0 || Minute > 59 || Second < 0 || Second > 59 ||
      MilliSecond < 0 || MilliSecond > 999)
    return 0;
  return ((Hour * 60.0 + Minute) * 60.0 + Second + MilliSecond / 1000.0) * 1000.0 / kMsPerDay;
}

namespace {
// Whole days and milliseconds of the day, rounded to the millisecond; negative values count
// their fraction forward from the day, as stored date-times expect.
void SplitValue(TDateTime Value, long long& Days, long long& Ms) {
  Days = static_cast<long long>(std::trunc(Value));
  Ms = std::llround(std::fabs(Value - static_cast<double>(Days)) * kMsPerDay);
  if (Ms >= 86400000) {
    Ms -= 86400000;
    Days += Value < 0 ? -1 : 1;
  }
}
}  // namespace

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  long long days, ms;
  SplitValue(Value, days, ms);
  long long t = days + kDaysTo1899_12_30 - 1;  // days since 0001-01-01
  if (t < 0) {
    Year = Month = Day = 0;
    return;
  }
  long long y400 = t / 146097;
  t %= 146097;
  long long y100 = t / 36524;
  if (y100 == 4) y100 = 3;
  t -= y100 * 36524;
  long long y4 = t / 1461;
  t %= 1461;
  long long y1 = t / 365;
  if (y1 == 4) y1 = 3;
  t -= y1 * 365;
  Year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  Month = 1;
  while (t >= DaysInMonth(Year, Month)) t -= DaysInMonth(Year, Month++);
  Day = static_cast<int>(t + 1);
}

void DecodeTime(TDateTime Value, int& Hour, int& Minute, int& Second, int& MilliSecond) {
  long long days, ms;
  SplitValue(Value, days, ms);
  MilliSecond = static_cast<int>(ms % 1000);
  Second = static_cast<int>(ms / 1000 % 60);
  Minute = static_cast<int>(ms / 60000 % 60);
  Hour = static_cast<int>(ms / 3600000);
}

int DayOfWeek(TDateTime Value) {
  long long days = static_cast<long long>(std::floor(Value));
  // 1899-12-30 was a Saturday (7).
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& Time) {
  TDateTime date = EncodeDate(Time.wYear, Time.wMonth, Time.wDay);
  TDateTime time = EncodeTime(Time.wHour, Time.wMinute, Time.wSecond, Time.wMilliseconds);
  return date >= 0 ? date + time : date - time;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime Value) {
  SYSTEMTIME st = {};
  int y, mo, d, h, mi, s, ms;
  DecodeDate(Value, y, mo, d);
  DecodeTime(Value, h, mi, s, ms);
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(Value) - 1);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TDateTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return SystemTimeToDateTime(st);
}
