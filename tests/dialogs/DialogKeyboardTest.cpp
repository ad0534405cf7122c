// The keyboard in every dialog, with key messages through the loop that runs it: the first
// focus is on the first field, Tab goes round every control that takes the focus in reading
// order and Shift+Tab back, and Ctrl+Tab and Ctrl+PgDn change the page (Tab then reaches it).
// Within a stop the arrows go round a radio group and a tool bar, whose buttons the keys press;
// in a field of several lines Ctrl+Tab types a tab. Enter presses the button that has the focus,
// Space and Enter pick a colour swatch. Escape closes the dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "EveryDialog.h"
#include "SettingsTestFixture.h"
#include "dialogs/formPgSetup.h"
#include "mainwindow/formMain.h"
#include "support/LayoutCheck.h"
#include "support/PostedAction.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/ToolBar.h"

namespace {

using testsupport::WindowText;
using testsupport::layoutcheck::ClassOf;
using testsupport::layoutcheck::NameOf;

struct TKeys {
  bool Shift = false;
  bool Ctrl = false;
};

// The keyboard's key for the focused control, Shift and Ctrl held as given.
void PostKey(WORD Key, TKeys Held) {
  SetKeyStateOverride([Held](int Key) {
    return (Key == VK_SHIFT && Held.Shift) || (Key == VK_CONTROL && Held.Ctrl);
  });
  PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
}

bool IsRadio(HWND Wnd) {
  const LONG kind = GetWindowLongA(Wnd, GWL_STYLE) & BS_TYPEMASK;
  return ClassOf(Wnd) == "Button" && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

bool IsMultiLineField(HWND Wnd) {
  const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
  return ClassOf(Wnd) == "Edit" && (style & ES_MULTILINE) && !(style & ES_READONLY);
}

// The buttons of the bar that a click can press.
std::vector<TToolButton*> UsableButtons(const TToolBar& Bar) {
  std::vector<TToolButton*> usable;
  for (int i = 0; i < Bar.ButtonCount(); ++i) {
    TToolButton* button = Bar.Buttons(i);
    if (button->Style() != TToolButtonStyle::tbsSeparator && button->Visible() &&
        button->Enabled())
      usable.push_back(button);
  }
  return usable;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  EndMenu();
}

bool Usable(HWND Form, HWND Wnd) {
  for (HWND w = Wnd; w != Form; w = GetParent(w))
    if (!IsWindowEnabled(w)) return false;
  return IsWindowVisible(Wnd);
}

struct TReachSearch {
  HWND form;
  std::set<HWND> found;
};

BOOL CALLBACK AddIfClickable(HWND Wnd, LPARAM Search) {
  auto& s = *reinterpret_cast<TReachSearch*>(Search);
  TWinControl* control = TWinControl::FromHandle(Wnd);
  const auto* bar = dynamic_cast<const TToolBar*>(control);
  const bool clickable =
      bar ? !UsableButtons(*bar).empty() : dynamic_cast<TColorSwatch*>(control) != nullptr;
  if (clickable && Usable(s.form, Wnd)) s.found.insert(Wnd);
  return TRUE;
}

// The program's own controls shown that a click acts on: tool bars with a button it can press,
// colour swatches.
std::set<HWND> OwnClickableControls(HWND Form) {
  TReachSearch search{Form, {}};
  EnumChildWindows(Form, AddIfClickable, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK AddIfReachable(HWND Wnd, LPARAM Search) {
  auto& s = *reinterpret_cast<TReachSearch*>(Search);
  const bool stop = IsRadio(Wnd) ? SendMessageA(Wnd, BM_GETCHECK, 0, 0) == BST_CHECKED
                                 : (GetWindowLongA(Wnd, GWL_STYLE) & WS_TABSTOP) != 0;
  if (stop && Usable(s.form, Wnd)) s.found.insert(Wnd);
  return TRUE;
}

// What a person can reach with Tab: every visible, enabled tab stop, of a radio group the
// checked button.
std::set<HWND> Reachable(HWND Form) {
  TReachSearch search{Form, {}};
  EnumChildWindows(Form, AddIfReachable, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::set<HWND> CheckedRadios(HWND Parent) {
  std::set<HWND> found;
  for (HWND w = GetWindow(Parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsRadio(w) && SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED) found.insert(w);
  return found;
}

RECT Bounds(HWND Wnd) {
  RECT r = {};
  GetWindowRect(Wnd, &r);
  return r;
}

// From A to B goes back in reading order: B lies wholly above A without starting a column to
// its right, or wholly left of it without starting a row below.
bool GoesBack(HWND A, HWND B) {
  const RECT a = Bounds(A), b = Bounds(B);
  return (b.bottom <= a.top && b.left < a.right) || (b.right <= a.left && b.top < a.bottom);
}

// The control of Stops that holds Wnd (the edit of a combo box is the combo box).
HWND StopHolding(HWND Wnd, const std::set<HWND>& Stops) {
  for (HWND w = Wnd; w; w = GetParent(w))
    if (Stops.count(w)) return w;
  return Wnd;
}

std::string Names(const std::vector<HWND>& Controls) {
  std::string text;
  for (HWND w : Controls) text += "\n  " + NameOf(w);
  return text;
}

BOOL CALLBACK FindPageControl(HWND Wnd, LPARAM Found) {
  auto*& pages = *reinterpret_cast<TPageControl**>(Found);
  if (!pages) pages = dynamic_cast<TPageControl*>(TWinControl::FromHandle(Wnd));
  return TRUE;
}

TPageControl* PageControlOf(TForm& Form) {
  TPageControl* found = nullptr;
  EnumChildWindows(Form.Handle(), FindPageControl, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Drives a shown dialog from inside its loop; each key is handled before the next.
class TTour {
public:
  explicit TTour(TForm& Dialog) : dialog_(Dialog) {}

  void Press(WORD Key, TKeys Held = {}) {
    PostKey(Key, Held);
    Application().ProcessMessages();
    SetKeyStateOverride(nullptr);
  }
  // Goes round with Tab, then back with Shift+Tab, from the focused control.
  std::vector<HWND> CheckRound(const std::string& Where) {
    SCOPED_TRACE(Where);
    const std::set<HWND> stops = Reachable(dialog_.Handle());
    for (HWND control : OwnClickableControls(dialog_.Handle()))
      EXPECT_TRUE(stops.count(control))
          << "Tab never reaches " << TWinControl::FromHandle(control)->Name();
    std::vector<HWND> round = {StopHolding(GetFocus(), stops)};
    for (size_t i = 0; i < stops.size(); ++i) {
      Press(VK_TAB);
      round.push_back(StopHolding(GetFocus(), stops));
    }
    if (stops.empty()) return {};
    EXPECT_EQ(round.front(), round.back()) << "Tab does not come round:" << Names(round);
    round.pop_back();
    EXPECT_EQ(std::set<HWND>(round.begin(), round.end()), stops) << "Tab goes" << Names(round);
    int back = 0;
    for (size_t i = 0; i < round.size(); ++i)
      back += GoesBack(round[i], round[(i + 1) % round.size()]);
    EXPECT_LE(back, 1) << "Tab leaves the reading order:" << Names(round);
    std::vector<HWND> reverse = {round.front()};
    for (size_t i = 1; i < round.size(); ++i) {
      Press(VK_TAB, {.Shift = true});
      reverse.push_back(StopHolding(GetFocus(), stops));
    }
    std::reverse(reverse.begin() + 1, reverse.end());
    EXPECT_EQ(reverse, round) << "Shift+Tab goes" << Names(reverse);
    for (HWND stop : round) {
      if (IsRadio(stop)) CheckArrows(stop);
      if (IsMultiLineField(stop)) CheckMultiLineField(stop);
      TWinControl* control = TWinControl::FromHandle(stop);
      if (auto* bar = dynamic_cast<TToolBar*>(control)) CheckToolButtons(*bar);
      if (auto* swatch = dynamic_cast<TColorSwatch*>(control)) CheckSwatch(*swatch);
      if (dynamic_cast<TButton*>(control)) CheckEnterPresses(stop, round);
    }
    return round;
  }
  // Down goes round the radio group from its checked button, checking each in turn, and Up
  // back; neither leaves the group. Stops where the dialog takes the focus away on a click.
  void CheckArrows(HWND Radio) {
    SetFocus(Radio);
    HWND current = Radio;
    for (WORD key : {VK_DOWN, VK_UP}) {
      for (int i = 0; i < 8; ++i) {
        const std::set<HWND> before = CheckedRadios(GetParent(Radio));
        Press(key);
        std::vector<HWND> added;
        for (HWND w : CheckedRadios(GetParent(Radio)))
          if (!before.count(w)) added.push_back(w);
        ASSERT_EQ(added.size(), 1u) << "the arrow leaves the radio group at " << NameOf(current)
                                    << " for " << NameOf(GetFocus());
        current = added.front();
        if (GetFocus() != current) return;
        if (current == Radio) break;
      }
    }
  }
  // Ctrl+Tab types a tab where the caret is and keeps the focus; Ctrl+PgDn and Ctrl+PgUp
  // change the page from here too.
  void CheckMultiLineField(HWND Field) {
    const std::string text = WindowText(Field);
    SetFocus(Field);
    SendMessageA(Field, EM_SETSEL, 0, 0);
    Press(VK_TAB, {.Ctrl = true});
    EXPECT_EQ(WindowText(Field), "\t" + text) << "Ctrl+Tab in " << NameOf(Field);
    EXPECT_EQ(GetFocus(), Field) << "Ctrl+Tab moves from " << NameOf(Field);
    SetWindowTextA(Field, text.c_str());
    TPageControl* pages = PageControlOf(dialog_);
    if (!pages) return;
    const int page = pages->ActivePageIndex();
    Press(VK_NEXT, {.Ctrl = true});
    EXPECT_EQ(pages->ActivePageIndex(), (page + 1) % pages->PageCount())
        << "Ctrl+PgDn in " << NameOf(Field);
    Press(VK_PRIOR, {.Ctrl = true});
    EXPECT_EQ(pages->ActivePageIndex(), page) << "Ctrl+PgUp";
  }
  // Right goes round the buttons that can be pressed, Left back; Enter and Space press the one
  // reached, and Down opens a drop-down button's menu.
  void CheckToolButtons(TToolBar& Bar) {
    const std::vector<TToolButton*> usable = UsableButtons(Bar);
    SetFocus(Bar.Handle());
    for (size_t i = 0; i < usable.size(); ++i) {
      TToolButton& button = *usable[i];
      SCOPED_TRACE(button.Name());
      ASSERT_EQ(Bar.HotButton(), &button) << "Right reaches " << button.Name();
      int clicks = 0;
      TNotifyEvent own = std::exchange(button.OnClick, [&clicks](TObject*) { ++clicks; });
      Press(VK_RETURN);
      Press(VK_SPACE);
      button.OnClick = own;
      EXPECT_EQ(clicks, 2) << "Enter and Space press it";
      if (TPopupMenu* menu = button.DropdownMenu()) {
        int shown = 0;
        TNotifyEvent ownPopup = std::exchange(menu->OnPopup, [&shown](TObject*) {
          ++shown;
          SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseMenu);
        });
        Press(VK_DOWN);
        menu->OnPopup = ownPopup;
        EXPECT_EQ(shown, 1) << "Down opens its menu";
      }
      Press(VK_RIGHT);
    }
    if (usable.empty()) return;
    EXPECT_EQ(Bar.HotButton(), usable.front()) << "Right comes round";
    Press(VK_LEFT);
    EXPECT_EQ(Bar.HotButton(), usable.back()) << "Left goes back round";
  }
  // Space and Enter pick its colour as a click does.
  void CheckSwatch(TColorSwatch& Swatch) {
    int clicks = 0;
    TNotifyEvent own = std::exchange(Swatch.OnClick, [&clicks](TObject*) { ++clicks; });
    SetFocus(Swatch.Handle());
    Press(VK_SPACE);
    Press(VK_RETURN);
    Swatch.OnClick = own;
    EXPECT_EQ(clicks, 2) << "Space and Enter on " << Swatch.Name();
  }
  // Enter presses the focused button, not the dialog's default one (of the round's buttons,
  // which count their clicks meanwhile).
  void CheckEnterPresses(HWND Button, const std::vector<HWND>& Round) {
    std::map<HWND, int> clicks;
    std::vector<std::pair<TButton*, TNotifyEvent>> own;
    for (HWND stop : Round)
      if (auto* button = dynamic_cast<TButton*>(TWinControl::FromHandle(stop)))
        own.emplace_back(button, std::exchange(button->OnClick, [&clicks, stop](TObject*) {
                           ++clicks[stop];
                         }));
    SetFocus(Button);
    Press(VK_RETURN);
    for (auto& [button, handler] : own) button->OnClick = std::move(handler);
    dialog_.SetModalResult(mrNone);  // what a closing button set
    EXPECT_EQ(clicks, (std::map<HWND, int>{{Button, 1}})) << "Enter on " << NameOf(Button);
  }
  // The field a person starts at: after the one step back in reading order, past a tab strip
  // or a tool bar.
  static HWND FirstField(const std::vector<HWND>& Round) {
    size_t start = 0;
    for (size_t i = 0; i < Round.size(); ++i)
      if (GoesBack(Round[i], Round[(i + 1) % Round.size()])) start = (i + 1) % Round.size();
    for (size_t i = 0; i < Round.size(); ++i) {
      HWND w = Round[(start + i) % Round.size()];
      if (ClassOf(w) != WC_TABCONTROLA && ClassOf(w) != TOOLBARCLASSNAMEA) return w;
    }
    return nullptr;
  }

private:
  TForm& dialog_;
};

// The whole tour of a dialog that First was the first focus of: rounds on every page, the page
// keys both ways. Gives the round on the page it starts on.
std::vector<HWND> Tour(TForm& Dialog, HWND First, const char* FirstFocus) {
  TTour tour(Dialog);
  const std::vector<HWND> round = tour.CheckRound("as it opens");
  if (!round.empty()) {
    auto* chosen =
        FirstFocus ? dynamic_cast<TWinControl*>(Dialog.FindComponent(FirstFocus)) : nullptr;
    const HWND expected = chosen ? chosen->Handle() : TTour::FirstField(round);
    EXPECT_EQ(NameOf(StopHolding(First, {round.begin(), round.end()})), NameOf(expected))
        << "first focus";
  }
  TPageControl* pages = PageControlOf(Dialog);
  if (!pages) return round;
  const int count = pages->PageCount(), start = pages->ActivePageIndex();
  // In a field of several lines Ctrl+Tab types a tab: there only the page keys change the page.
  auto inField = [] { return IsMultiLineField(GetFocus()); };
  for (int i = 1; i <= count; ++i) {
    const bool pageDown = i % 2 == 0 || inField();
    tour.Press(pageDown ? VK_NEXT : VK_TAB, {.Ctrl = true});
    const std::string page =
        pages->ActivePage()->Name() + (pageDown ? " by Ctrl+PgDn" : " by Ctrl+Tab");
    EXPECT_EQ(pages->ActivePageIndex(), (start + i) % count) << page;
    EXPECT_TRUE(IsChild(pages->Handle(), GetFocus()))
        << page << " leaves the focus on " << NameOf(GetFocus());
    tour.CheckRound(page);
  }
  const bool byTab = !inField();
  tour.Press(byTab ? VK_TAB : VK_PRIOR, {.Shift = byTab, .Ctrl = true});
  EXPECT_EQ(pages->ActivePageIndex(), (start + count - 1) % count)
      << (byTab ? "Ctrl+Shift+Tab" : "Ctrl+PgUp");
  tour.Press(VK_PRIOR, {.Ctrl = true});
  EXPECT_EQ(pages->ActivePageIndex(), (start + count - 2) % count) << "Ctrl+PgUp";
  return round;
}

class DialogKeyboardTest : public dialogtest::TEveryDialogTest {
protected:
  DialogKeyboardTest() {
    Application().SetMainForm(frmMain);
    ShowWindow(frmMain->Handle(), SW_SHOW);
  }
  ~DialogKeyboardTest() override {
    SetKeyStateOverride(nullptr);
    Application().SetMainForm(nullptr);
  }
};

}  // namespace

TEST_F(DialogKeyboardTest, TabGoesRoundEveryControlInReadingOrderAndCtrlTabChangesThePage) {
  const dialogtest::TEveryDialog dialogs(dir);
  for (const auto& [name, make] : dialogs.Rows()) {
    SCOPED_TRACE(name);
    // The preview starts on its page, which the arrows scroll, not on the button above it.
    const char* firstFocus = std::string(name) == "print preview" ? "sepPreview" : nullptr;
    std::unique_ptr<TForm> dialog = make();
    if (!TForm::UsesDialogKeys(dialog->Handle())) {  // a window of its own, in the program's loop
      dialog->Show();
      SetForegroundWindow(dialog->Handle());
      Application().ProcessMessages();
      Tour(*dialog, GetFocus(), firstFocus);
      ShowWindow(dialog->Handle(), SW_HIDE);
      continue;
    }
    // The first Tab goes through the dialog's own loop, then the tour starts where it began;
    // at its end Escape from there closes the dialog.
    HWND first = nullptr, loopTab = nullptr;
    std::vector<HWND> round;
    std::optional<TPostedAction> afterTab;
    testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == dialog->Handle(); }, [&](HWND) {
      first = GetFocus();
      PostKey(VK_TAB, {});
      afterTab.emplace([&] {
        loopTab = GetFocus();
        TTour(*dialog).Press(VK_TAB, {.Shift = true});
        round = Tour(*dialog, first, firstFocus);
        SetFocus(first);
        TTour(*dialog).Press(VK_ESCAPE);
        if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrAbort);
      });
    });
    const int result = dialog->RunModalLoop();
    SetKeyStateOverride(nullptr);
    ASSERT_TRUE(shown.Done());
    EXPECT_EQ(result, mrCancel) << "Escape at " << NameOf(first);
    if (!round.empty()) {
      EXPECT_EQ(NameOf(StopHolding(loopTab, {round.begin(), round.end()})),
                NameOf(round[1 % round.size()]))
          << "Tab in the modal loop";
    }
  }
}

