// Fitting a window's bounds to the work area of a screen.
#include <gtest/gtest.h>
#include <windows.h>
#include "toolkit/WorkArea.h"

TEST(FitToWorkArea, MovesAndShrinksBoundsIntoTheWorkArea) {
  const RECT work = {0, 30, 1280, 870};  // a task bar above
  struct Case {
    const char* name;
    RECT bounds;
    RECT fitted;
  } cases[] = {
      {"already inside", {100, 100, 900, 700}, {100, 100, 900, 700}},
      {"filling it exactly", {0, 30, 1280, 870}, {0, 30, 1280, 870}},
      {"off right", {3000, 100, 3800, 700}, {480, 100, 1280, 700}},
      {"partly off right", {1000, 100, 1800, 700}, {480, 100, 1280, 700}},
      {"off left", {-900, 100, -100, 700}, {0, 100, 800, 700}},
      {"off top, the caption bar hidden", {100, -200, 900, 400}, {100, 30, 900, 630}},
      {"off bottom", {100, 2000, 900, 2600}, {100, 270, 900, 870}},
      {"larger than the work area", {-50, 0, 1400, 1000}, {0, 30, 1280, 870}},
      {"wider only, off right", {700, 100, 2200, 400}, {0, 100, 1280, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RECT fitted = FitToWorkArea(c.bounds, work);
    EXPECT_EQ(fitted.left, c.fitted.left);
    EXPECT_EQ(fitted.top, c.fitted.top);
    EXPECT_EQ(fitted.right, c.fitted.right);
    EXPECT_EQ(fitted.bottom, c.fitted.bottom);
  }
}
