// The benchmarks' clock: the performance counter, in seconds.
#pragma once
#include <windows.h>
#include <functional>

inline double NowSeconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

inline double SecondsOf(const std::function<void()>& Work) {
  double start = NowSeconds();
  Work();
  return NowSeconds() - start;
}
