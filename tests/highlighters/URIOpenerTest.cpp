// The link opener on a real editor in a window: Ctrl+click opens through the shell seam.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeURIOpener.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"
#include "toolkit/ShellStart.h"

namespace {

constexpr const char* kText =
    "see http://a.de/x now\r\n"
    "mail me@b.de or www.c.de\r\n"
    "mailto:you@d.de";

class URIOpener : public ::testing::Test {
protected:
  void SetUp() override {
    SetShellStartOverride([this](const std::string& Target) {
      started.push_back(Target);
      return true;
    });
    form_.Show();
    SetWindowPos(form_.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    edit->SetHighlighter(&hl);
    edit->SetText(kText);
    edit->CreateWnd(form_.Handle(), 0, 0, 400, 200);
    opener->SetEditor(edit.get());
    opener->SetURIHighlighter(&hl);
    SetForegroundWindow(form_.Handle());
    ::SetFocus(edit->Handle());
    Application().ProcessMessages();
  }
  void TearDown() override {
    SetShellStartOverride(nullptr);
    SetKeyStateOverride(nullptr);
    opener.reset();
    edit.reset();
  }

  // The client pixel in the middle of a character cell (1-based column and line).
  POINT Pixel(int Column, int Line) const {
    return {edit->GutterWidth() + 2 + (Column - 1) * edit->CharWidth() + edit->CharWidth() / 2,
            (Line - 1) * edit->LineHeight() + edit->LineHeight() / 2};
  }
  void Send(UINT Msg, WPARAM W, LPARAM L) { SendMessageA(edit->Handle(), Msg, W, L); }
  // Holds Ctrl the way a user does: the key goes down while the mouse is over the editor.
  void HoldCtrl(POINT Over) {
    SetKeyStateOverride([](int Key) { return Key == VK_CONTROL; });
    ClientToScreen(edit->Handle(), &Over);
    SetCursorPos(Over.x, Over.y);
    Send(WM_KEYDOWN, VK_CONTROL, 1);
  }
  void ReleaseCtrl() {
    SetKeyStateOverride([](int) { return false; });
    Send(WM_KEYUP, VK_CONTROL, 1 | (1u << 31) | (1 << 30));
  }
  void Click(POINT Down, POINT Up, WPARAM Keys) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON | Keys, MAKELPARAM(Down.x, Down.y));
    Send(WM_LBUTTONUP, Keys, MAKELPARAM(Up.x, Up.y));
  }
  void CtrlClick(POINT P) {
    HoldCtrl(P);
    Click(P, P, MK_CONTROL);
    ReleaseCtrl();
  }
  HCURSOR CursorOver(POINT P) {
    ClientToScreen(edit->Handle(), &P);
    SetCursorPos(P.x, P.y);
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }

  std::vector<std::string> started;
  TForm form_{nullptr, TForm::CreateArgs{"Link test", 420, 240}};
  TCodeURIHighlighter hl{nullptr};
  std::unique_ptr<TCodeEdit> edit = std::make_unique<TCodeEdit>(nullptr);
  std::unique_ptr<TCodeURIOpener> opener = std::make_unique<TCodeURIOpener>(nullptr);
};

TEST_F(URIOpener, CtrlClickOpensTheLinkUnderTheMouse) {
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_TRUE(opener->CtrlActivatesLinks());
  CtrlClick(Pixel(10, 1));
  EXPECT_EQ(started, (std::vector<std::string>{"http://a.de/x"}));
  EXPECT_TRUE(opener->IsVisited("HTTP://A.DE/X")) << "compared without regard to case";
  EXPECT_TRUE(hl.IsVisitedURI("http://a.de/x"));
  // The first and the last character of the link count too.
  CtrlClick(Pixel(5, 1));
  CtrlClick(Pixel(17, 1));
  EXPECT_EQ(started.size(), 3u);
  EXPECT_EQ(opener->VisitedURIs().Count(), 1);
}

TEST_F(URIOpener, AddressesWithoutSchemeGetOneInFront) {
  CtrlClick(Pixel(8, 2));   // me@b.de
  CtrlClick(Pixel(20, 2));  // www.c.de
  CtrlClick(Pixel(3, 3));   // mailto:you@d.de
  EXPECT_EQ(started,
            (std::vector<std::string>{"mailto:me@b.de", "http://www.c.de", "mailto:you@d.de"}));
}

TEST_F(URIOpener, NothingOpensWithoutCtrlOrAwayFromALink) {
  Click(Pixel(10, 1), Pixel(10, 1), 0);
  CtrlClick(Pixel(2, 1));   // "see"
  CtrlClick(Pixel(21, 1));  // past the link
  POINT gutter = {edit->GutterWidth() > 0 ? edit->GutterWidth() - 1 : -1, Pixel(10, 1).y};
  if (gutter.x >= 0) CtrlClick(gutter);
  EXPECT_TRUE(started.empty());
}

TEST_F(URIOpener, AMouseMovedFivePixelsIsADragNotAClick) {
  POINT p = Pixel(10, 1);
  HoldCtrl(p);
  Click(p, {p.x + 5, p.y}, MK_CONTROL);
  Click(p, {p.x, p.y + 5}, MK_CONTROL);
  EXPECT_TRUE(started.empty());
  Click(p, {p.x + 4, p.y - 4}, MK_CONTROL);
  EXPECT_EQ(started.size(), 1u);
}

TEST_F(URIOpener, WithoutCtrlActivationAPlainClickOpens) {
  opener->SetCtrlActivatesLinks(false);
  Click(Pixel(10, 1), Pixel(10, 1), 0);
  EXPECT_EQ(started, (std::vector<std::string>{"http://a.de/x"}));
}

TEST_F(URIOpener, ASelectionUnderTheMouseIsDraggedNotOpened) {
  edit->SetCaretAndSelection({12, 1}, {5, 1}, {12, 1});
  HoldCtrl(Pixel(8, 1));
  EXPECT_NE(CursorOver(Pixel(8, 1)), HandPointCursor());
  EXPECT_EQ(CursorOver(Pixel(14, 1)), HandPointCursor());
  ReleaseCtrl();
}

TEST_F(URIOpener, TheHandShowsOverALinkOnlyWithCtrl) {
  EXPECT_NE(CursorOver(Pixel(10, 1)), HandPointCursor());
  HoldCtrl(Pixel(10, 1));
  EXPECT_EQ(CursorOver(Pixel(10, 1)), HandPointCursor());
  EXPECT_NE(CursorOver(Pixel(2, 1)), HandPointCursor());
  ReleaseCtrl();
  EXPECT_NE(CursorOver(Pixel(10, 1)), HandPointCursor());
  opener->SetCtrlActivatesLinks(false);
  EXPECT_EQ(CursorOver(Pixel(10, 1)), HandPointCursor());
}

// The answer kept for a resting pointer follows the text, the selection and the highlighter.
TEST_F(URIOpener, TheHandFollowsChangesUnderARestingPointer) {
  const POINT p = Pixel(10, 1);
  HoldCtrl(p);
  EXPECT_EQ(CursorOver(p), HandPointCursor());
  edit->SetText("see no link here");
  EXPECT_NE(CursorOver(p), HandPointCursor());
  edit->SetText(kText);
  EXPECT_EQ(CursorOver(p), HandPointCursor());
  edit->SetCaretAndSelection({12, 1}, {5, 1}, {12, 1});
  EXPECT_NE(CursorOver(p), HandPointCursor());
  edit->SetCaretAndSelection({1, 2}, {1, 2}, {1, 2});
  edit->SetHighlighter(nullptr);
  EXPECT_NE(CursorOver(p), HandPointCursor());
  ReleaseCtrl();
}

TEST_F(URIOpener, ALinkOfAnotherHighlighterIsNoLink) {
  TCodeURIHighlighter other{nullptr};
  opener->SetURIHighlighter(&other);
  EXPECT_FALSE(hl.HasAlreadyVisitedURIFunc()) << "the old highlighter loses the query";
  EXPECT_TRUE(other.HasAlreadyVisitedURIFunc());
  CtrlClick(Pixel(10, 1));
  EXPECT_TRUE(started.empty());
  opener->SetURIHighlighter(nullptr);
}

TEST_F(URIOpener, ComponentsGoingAwayAreForgotten) {
  {
    auto hl2 = std::make_unique<TCodeURIHighlighter>(nullptr);
    opener->SetURIHighlighter(hl2.get());
  }
  EXPECT_EQ(opener->URIHighlighter(), nullptr);
  opener->SetURIHighlighter(&hl);
  // A destroyed opener leaves neither a query nor handlers behind.
  opener.reset();
  EXPECT_FALSE(hl.HasAlreadyVisitedURIFunc());
  CtrlClick(Pixel(10, 1));
  EXPECT_TRUE(started.empty());
  // A destroyed editor is forgotten.
  opener = std::make_unique<TCodeURIOpener>(nullptr);
  opener->SetEditor(edit.get());
  edit.reset();
  EXPECT_EQ(opener->Editor(), nullptr);
}

TEST_F(URIOpener, LookAlikeSchemesAreColouredButNeverOpened) {
  edit->SetText("hwwq://x.de its://y.de\r\nMAILTO:a@b.de vvv.e.de");
  CtrlClick(Pixel(3, 1));   // letters of the groups of "http://"
  CtrlClick(Pixel(15, 1));  // of "ftp://"
  CtrlClick(Pixel(17, 2));  // of "www"
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(opener->VisitedURIs().Count(), 0) << "nothing refused counts as opened";
  HoldCtrl(Pixel(3, 1));
  EXPECT_EQ(CursorOver(Pixel(3, 1)), HandPointCursor()) << "still coloured as a link";
  ReleaseCtrl();
  CtrlClick(Pixel(4, 2));
  EXPECT_EQ(started, (std::vector<std::string>{"MAILTO:a@b.de"}));
}

TEST_F(URIOpener, OnlyKnownSchemesWwwAndEmailReachTheShell) {
  using K = TUriTokenKind;
  const struct {
    const char* Text;
    K Kind;
    const char* Target;  // "" for refused
  } cases[] = {
      {"http://a.de", K::tkHttpLink, "http://a.de"},
      {"HTTPS://a.de", K::tkHttpsLink, "HTTPS://a.de"},
      {"Ftp://a.de", K::tkFtpLink, "Ftp://a.de"},
      {"news:comp.x", K::tkNewsLink, "news:comp.x"},
      {"prospero://p.de", K::tkProsperoLink, "prospero://p.de"},
      {"hwwq://a.de", K::tkHttpLink, ""},
      {"its://a.de", K::tkFtpLink, ""},
      {"http://a.de", K::tkFtpLink, ""},
      {"www.a.de", K::tkWebLink, "http://www.a.de"},
      {"WWW.a.de", K::tkWebLink, "http://WWW.a.de"},
      {"xxx.a.de", K::tkWebLink, ""},
      {"me@b.de", K::tkMailtoLink, "mailto:me@b.de"},
      {"mailto:me@b.de", K::tkMailtoLink, "mailto:me@b.de"},
      {"MAILTO:me@b.de", K::tkMailtoLink, "MAILTO:me@b.de"},
      {"nailto:me@b.de", K::tkMailtoLink, ""},
      {"me b@c.de", K::tkMailtoLink, ""},
      {"plain", K::tkUnknown, ""},
  };
  for (const auto& c : cases) {
    started.clear();
    bool opened = opener->OpenLink(c.Text, static_cast<int>(c.Kind));
    EXPECT_EQ(opened, *c.Target != 0) << c.Text;
    EXPECT_EQ(started, *c.Target ? std::vector<std::string>{c.Target} : std::vector<std::string>{})
        << c.Text;
  }
  EXPECT_FALSE(opener->OpenLink("http://a.de", 300));
  EXPECT_FALSE(opener->OpenLink("http://a.de", -1));
}

TEST_F(URIOpener, ARefusedStartIsReported) {
  SetShellStartOverride([](const std::string&) { return false; });
  EXPECT_FALSE(opener->OpenLink("http://a.de", 4));
  EXPECT_TRUE(opener->IsVisited("http://a.de"));
}

}  // namespace
