// The hourglass cursor over the program's windows while work runs; calls nest.
#pragma once

// Each Begin needs one End; the normal cursor returns with the last End. An End without a
// Begin does nothing.
void BeginHourglass();
void EndHourglass();
bool HourglassShown();

// Shows the hourglass for its lifetime, also when an exception leaves the scope.
class THourglass {
public:
  THourglass() { BeginHourglass(); }
  ~THourglass() { EndHourglass(); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};
