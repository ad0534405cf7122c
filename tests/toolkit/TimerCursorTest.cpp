// Timers fire from the message loop; the hourglass nests and shows over every control.
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Form.h"
#include "toolkit/Panels.h"
#include "toolkit/Timer.h"

namespace {
void Pump(DWORD Ms) { Application().ProcessMessagesUntil([] { return false; }, Ms); }
}  // namespace

TEST(Timer, FiresRepeatedlyUntilTheHandlerStopsIt) {
  TTimer timer(nullptr);
  timer.SetInterval(15);
  int fired = 0;
  timer.OnTimer = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &timer);
    if (++fired == 3) timer.SetEnabled(false);
  };
  EXPECT_TRUE(Application().ProcessMessagesUntil([&] { return fired >= 3; }, 3000));
  Pump(100);
  EXPECT_EQ(fired, 3);
}

TEST(Timer, DisabledOrZeroIntervalNeverFiresAndRestartsWhenSet) {
  struct Case {
    bool enabled;
    unsigned interval;
  };
  for (Case c : {Case{false, 10}, Case{true, 0}}) {
    TTimer timer(nullptr);
    timer.SetInterval(c.interval);
    timer.SetEnabled(c.enabled);
    int fired = 0;
    timer.OnTimer = [&](TObject*) { ++fired; };
    Pump(80);
    EXPECT_EQ(fired, 0) << c.enabled << " " << c.interval;
    timer.SetEnabled(true);
    timer.SetInterval(10);
    EXPECT_TRUE(Application().ProcessMessagesUntil([&] { return fired > 0; }, 2000));
  }
}

TEST(Timer, HandlerMayFreeItsOwnTimer) {
  auto timer = std::make_unique<TTimer>(nullptr);
  timer->SetInterval(10);
  int fired = 0;
  timer->OnTimer = [&](TObject*) {
    ++fired;
    timer.reset();
  };
  EXPECT_TRUE(Application().ProcessMessagesUntil([&] { return fired > 0; }, 2000));
  Pump(60);
  EXPECT_EQ(fired, 1);
}

TEST(Hourglass, NestsAndAStrayEndDoesNotUnbalanceIt) {
  EndHourglass();  // without a Begin: nothing
  EXPECT_FALSE(HourglassShown());
  {
    THourglass outer;
    { THourglass inner; }
    EXPECT_TRUE(HourglassShown());
  }
  EXPECT_FALSE(HourglassShown());
  BeginHourglass();
  EXPECT_TRUE(HourglassShown());
  EndHourglass();
  EXPECT_FALSE(HourglassShown());
}

TEST(Hourglass, EndsWhenAnExceptionLeavesTheScope) {
  try {
    THourglass wait;
    throw std::runtime_error("Abbruch");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(HourglassShown());
}

TEST(Hourglass, ShowsOverControlsOnlyWhileActive) {
  TForm form(nullptr, {"Sanduhr", 300, 200});
  auto* panel = form.Make<TPanel>("pnl", &form);
  auto setCursor = [&] {
    SendMessageA(panel->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  {
    THourglass hourglass;
    EXPECT_EQ(setCursor(), wait);
  }
  EXPECT_NE(setCursor(), wait);
}
