// Formatting of date-time values with the standard format letters, calendar counts, and the
// clock the program reads (replaceable, so tests fix the moment and the zone).
#pragma once
#include <functional>
#include <string>
#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"

// One reading of the clock: local time, UTC, and the zone's offset in minutes east of UTC.
struct TClockReading {
  TDateTime Local = 0;
  TDateTime Utc = 0;
  int BiasMinutes = 0;
};
TClockReading ReadClock();
// Replaces the clock for tests; an empty function gives the system clock back.
void SetClockOverride(std::function<TClockReading()> Clock);

// Letters (any case): d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm mmmm
// (minutes right after an hour), y yy (two digits) yyy yyyy (four), h hh, n nn, s ss, z zzz,
// t (short time) tt (long time), c (short date and long time), am/pm a/p ampm (12-hour clock),
// "/" and ":" the separators; text in quotes or apostrophes and every other character is
// copied as it stands.
std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings);

// 1-based day of the year.
int DayOfTheYear(TDateTime Value);
// The ISO 8601 week (weeks from Monday; week 1 holds the year's first Thursday): 1..53.
int WeekOfTheYear(TDateTime Value);
// The same rule within the month: week 1 holds the month's first Thursday; days before it
// belong to the last week of the month before (4 or 5).
int WeekOfTheMonth(TDateTime Value);
