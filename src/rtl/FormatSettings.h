// The date, time and number conventions of one locale, as the formatting routines use them.
#pragma once
#include <windows.h>
#include <string>

struct TFormatSettings {
  char DateSeparator = '.';
  char TimeSeparator = ':';
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  // Format letters d m y h n s z, "am/pm"; month and day names from 1 (index 0 unused).
  std::string ShortDateFormat = "dd.mm.yyyy";
  std::string LongDateFormat = "dddd, d. mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString;
  std::string TimePMString;
  std::string ShortMonthNames[13];
  std::string LongMonthNames[13];
  std::string ShortDayNames[8];  // 1 Sunday ... 7 Saturday
  std::string LongDayNames[8];
};

// Conventions of the locale (LOCALE_USER_DEFAULT is 1024); unknown parts keep the defaults.
TFormatSettings GetLocaleFormatSettings(LCID Locale);
