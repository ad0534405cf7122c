#include <gtest/gtest.h>
#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"

TEST(DateTime, CountsDaysFrom1899_12_30) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
  EXPECT_EQ(EncodeDate(2023, 2, 29), 0);  // no such day
  EXPECT_DOUBLE_EQ(EncodeTime(18, 0, 0, 0), 0.75);
}

TEST(DateTime, DecodesWhatItEncodes) {
  for (int year : {1900, 1999, 2000, 2024, 2100}) {
    for (int month = 1; month <= 12; ++month) {
      int day = DaysInMonth(year, month);
      int y, m, d;
      DecodeDate(EncodeDate(year, month, day), y, m, d);
      EXPECT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day);
    }
  }
  int h, n, s, ms;
  DecodeTime(EncodeDate(2020, 5, 5) + EncodeTime(23, 59, 58, 999), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235958999);
}

TEST(DateTime, WeekdaysAndSystemTimes) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 7)), 2);  // a Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
  SYSTEMTIME st = {2026, 3, 0, 29, 2, 30, 15, 250};
  SYSTEMTIME back = DateTimeToSystemTime(SystemTimeToDateTime(st));
  EXPECT_EQ(back.wYear, 2026);
  EXPECT_EQ(back.wMonth, 3);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wDayOfWeek, 0);  // Sunday
  EXPECT_EQ(back.wHour, 2);
  EXPECT_EQ(back.wMinute, 30);
  EXPECT_EQ(back.wSecond, 15);
  EXPECT_EQ(back.wMilliseconds, 250);
}

TEST(FormatSettings, GermanConventions) {
  TFormatSettings f = GetLocaleFormatSettings(1031);
  EXPECT_EQ(f.DateSeparator, '.');
  EXPECT_EQ(f.DecimalSeparator, ',');
  // The system writes months as "M"; the formatting letters want "m".
  EXPECT_EQ(f.ShortDateFormat.find('M'), std::string::npos) << f.ShortDateFormat;
  EXPECT_NE(f.ShortDateFormat.find("m.yyyy"), std::string::npos) << f.ShortDateFormat;
  EXPECT_EQ(f.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(f.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(f.LongMonthNames[12], "Dezember");
  EXPECT_EQ(f.ShortDayNames[2].rfind("Mo", 0), 0u);  // Monday
}

TEST(FormatSettings, AmPmTimesOfUsEnglish) {
  TFormatSettings f = GetLocaleFormatSettings(1033);
  EXPECT_EQ(f.ShortDateFormat, "m/d/yyyy");
  EXPECT_EQ(f.LongTimeFormat, "h:nn:ss AMPM");
  EXPECT_EQ(f.ShortTimeFormat, "h:nn AMPM");
  EXPECT_EQ(f.LongDayNames[1], "Sunday");
}
