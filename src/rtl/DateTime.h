// Date-time values as days since 1899-12-30 with the time as the fraction, and their
// conversion to and from the system's time records.
#pragma once
#include <windows.h>

using TDateTime = double;

// Out-of-range parts give 0 (1899-12-30 00:00) rather than an error.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Minute, int Second, int MilliSecond);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Minute, int& Second, int& MilliSecond);
int DaysInMonth(int Year, int Month);
// 1 Sunday ... 7 Saturday.
int DayOfWeek(TDateTime Value);

TDateTime SystemTimeToDateTime(const SYSTEMTIME& Time);
SYSTEMTIME DateTimeToSystemTime(TDateTime Value);
// The local clock now.
TDateTime Now();
