// Every way the system calls into the program runs under one guard: a failure shows the error
// box and the program goes on.
#include <gtest/gtest.h>
#include <functional>
#include <new>
#include <string>
#include "rtl/Exception.h"
#include "support/ModalAnswers.h"
#include "toolkit/Abort.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace {

// Throws the first time it is called, counts every call.
struct FailOnce {
  std::string text;
  int calls = 0;
  void operator()() {
    if (++calls == 1) throw Exception(text);
  }
};

bool PumpUntil(const std::function<bool()>& Done) {
  return Application().ProcessMessagesUntil(Done, 5000);
}

void WindowProcedure(FailOnce& Fail) {
  TForm form(nullptr, {"Guard", 300, 200});
  form.OnResize = [&](TObject*) { Fail(); };
  SetWindowPos(form.Handle(), nullptr, 0, 0, 310, 210, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(form.Handle(), nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
}

void TimerCallback(FailOnce& Fail) {
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject*) { Fail(); };
  EXPECT_TRUE(PumpUntil([&] { return Fail.calls >= 2; })) << "the timer goes on";
}

// A menu shortcut runs its command from the message loop, outside any window procedure.
void MessageLoop(FailOnce& Fail) {
  TForm form(nullptr, {"Guard", 300, 200});
  auto* menu = form.Make<TMainMenu>("mnuMain");
  auto* file = form.Make<TMenuItem>("mnuFile");
  auto* save = form.Make<TMenuItem>("mnuFileSave");
  menu->Items()->Add(file);
  file->Add(save);
  form.SetMenu(menu);
  save->SetShortCut(ShortCut('S', TShiftState{TShift::ssCtrl}));
  save->OnClick = [&](TObject*) { Fail(); };
  SetKeyStateOverride([](int vk) { return vk == VK_CONTROL; });
  PostMessageA(form.Handle(), WM_KEYDOWN, 'S', 0);
  PostMessageA(form.Handle(), WM_KEYDOWN, 'S', 0);
  Application().ProcessMessages();
  SetKeyStateOverride(nullptr);
}

void ModalLoop(FailOnce& Fail) {
  TForm dialog(nullptr, {"Guard", 300, 200, WS_POPUP | WS_CAPTION, 0, true});
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject*) {
    Fail();
    dialog.SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog.RunModalLoop(), mrOk) << "the loop went on to its end";
}

}  // namespace

TEST(EntryGuard, AFailureAtEachEntryShowsTheErrorBoxAndTheProgramGoesOn) {
  struct Case {
    const char* entry;
    void (*run)(FailOnce&);
  } cases[] = {{"window procedure", WindowProcedure},
               {"timer", TimerCallback},
               {"message loop", MessageLoop},
               {"modal loop", ModalLoop}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    testsupport::ResetModalAnswers();
    FailOnce fail{std::string("Fehler in ") + c.entry};
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.text, fail.text);
      EXPECT_EQ(q.caption, Application().Title());
      EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
    });
    c.run(fail);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
    EXPECT_GE(fail.calls, 2) << "the entry was called again after its failure";
  }
}

TEST(EntryGuard, TellsWhetherTheWorkRanThroughAndKeepsAnAbortSilent) {
  testsupport::ResetModalAnswers();
  EXPECT_TRUE(GuardEntry([] {}));
  EXPECT_FALSE(GuardEntry([] { throw EAbort(); }));
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
}

TEST(EntryGuard, AFailureShowsItsOwnTextAndRunningOutOfMemoryReadsInGerman) {
  const std::string outOfMemory =
      "Nicht gen\xFCgend Arbeitsspeicher, um den Vorgang auszuf\xFChren.";
  struct Case {
    const char* failure;
    void (*work)();
    std::string shown;
  } cases[] = {
      {"the program's own", [] { throw Exception("Die Datei fehlt."); }, "Die Datei fehlt."},
      {"an allocation", [] { throw std::bad_alloc(); }, outOfMemory},
      {"a text beyond the largest size", [] { std::string().reserve(std::string().max_size() + 1); },
       outOfMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    testsupport::ResetModalAnswers();
    testsupport::QueueAnswer(ModalAnswer{IDOK},
                             [&](const ModalQuestion& q) { EXPECT_EQ(q.text, c.shown); });
    EXPECT_FALSE(GuardEntry(c.work));
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
  }
}
