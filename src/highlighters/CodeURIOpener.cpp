#include "highlighters/CodeURIOpener.h"
#include <cstdlib>
#include "highlighters/CodeHighlighterURI.h"
#include "toolkit/KeyState.h"
#include "toolkit/ShellStart.h"

namespace {
// A press and release further apart than this are a drag, not a click.
constexpr int kClickTolerance = 5;

const HCURSOR kHandPoint = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));

// Prefix is in lower case; schemes are ASCII, so only ASCII letters fold.
bool StartsWithFolded(const std::string& Text, const std::string& Prefix) {
  if (Text.size() < Prefix.size()) return false;
  for (size_t i = 0; i < Prefix.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(Text[i]);
    if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != static_cast<unsigned char>(Prefix[i])) return false;
  }
  return true;
}

// The scheme each link kind stands for; the highlighter also takes words whose letters only
// resemble it, which must never reach the shell as an unknown scheme.
const char* SchemeOf(TUriTokenKind Kind) {
  switch (Kind) {
    case TUriTokenKind::tkFtpLink: return "ftp://";
    case TUriTokenKind::tkGopherLink: return "gopher://";
    case TUriTokenKind::tkHttpLink: return "http://";
    case TUriTokenKind::tkHttpsLink: return "https://";
    case TUriTokenKind::tkNewsLink: return "news:";
    case TUriTokenKind::tkNntpLink: return "nntp://";
    case TUriTokenKind::tkProsperoLink: return "prospero://";
    case TUriTokenKind::tkTelnetLink: return "telnet://";
    case TUriTokenKind::tkWaisLink: return "wais://";
    default: return nullptr;
  }
}

bool IsBareEmail(const std::string& Text) {
  if (Text.find('@') == std::string::npos) return false;
  for (unsigned char c : Text)
    if (!(c == '-' || c == '.' || c == '@' || c == '_' || (c >= '0' && c <= '9') ||
          (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
      return false;
  return true;
}

// What the shell gets for a link, or "" when the text is no address it may open.
std::string ShellTarget(const std::string& URI, TUriTokenKind Kind) {
  switch (Kind) {
    case TUriTokenKind::tkMailtoLink:
      if (StartsWithFolded(URI, "mailto:")) return URI;
      return IsBareEmail(URI) ? "mailto:" + URI : "";
    case TUriTokenKind::tkWebLink: return StartsWithFolded(URI, "www.") ? "http://" + URI : "";
    default: {
      const char* scheme = SchemeOf(Kind);
      return scheme && StartsWithFolded(URI, scheme) ? URI : "";
    }
  }
}
}  // namespace

HCURSOR HandPointCursor() { return kHandPoint; }

TCodeURIOpener::TCodeURIOpener(TComponent* Owner) : TComponent(Owner) {
  visitedURIs_.SetSorted(true);
  visitedURIs_.SetCaseSensitive(false);
}

TCodeURIOpener::~TCodeURIOpener() {
  // Neither may keep calling into an opener that is gone.
  SetEditor(nullptr);
  SetURIHighlighter(nullptr);
}

void TCodeURIOpener::Notification(TComponent* AComponent) {
  // The component is being destroyed: forget it without calling into it.
  if (AComponent == editor_) editor_ = nullptr;
  if (AComponent == uriHighlighter_) uriHighlighter_ = nullptr;
  lastLookup_.reset();
}

void TCodeURIOpener::HookEditor(bool Hook) {
  TCodeMethod<TKeyEvent> down(this, &TCodeURIOpener::NewKeyDown), up(this, &TCodeURIOpener::NewKeyUp);
  TCodeMethod<TMouseCursorHandler> cursor(this, &TCodeURIOpener::NewMouseCursor);
  TCodeMethod<TMouseEvent> press(this, &TCodeURIOpener::NewMouseDown),
      release(this, &TCodeURIOpener::NewMouseUp);
  if (Hook) {
    editor_->AddKeyDownHandler(down);
    editor_->AddKeyUpHandler(up);
    editor_->AddMouseCursorHandler(cursor);
    editor_->AddMouseDownHandler(press);
    editor_->AddMouseUpHandler(release);
  } else {
    editor_->RemoveKeyDownHandler(down);
    editor_->RemoveKeyUpHandler(up);
    editor_->RemoveMouseCursorHandler(cursor);
    editor_->RemoveMouseDownHandler(press);
    editor_->RemoveMouseUpHandler(release);
  }
}

void TCodeURIOpener::SetEditor(TCustomCodeEdit* Value) {
  if (Value == editor_) return;
  if (editor_) {
    HookEditor(false);
    RemoveFreeNotification(editor_);
  }
  editor_ = Value;
  ctrlDown_ = false;
  mouseDownPos_.reset();
  lastLookup_.reset();
  if (editor_) {
    FreeNotification(editor_);
    HookEditor(true);
  }
}

void TCodeURIOpener::SetURIHighlighter(TCodeURIHighlighter* Value) {
  if (Value == uriHighlighter_) return;
  if (uriHighlighter_) {
    uriHighlighter_->SetAlreadyVisitedURIFunc(nullptr);
    RemoveFreeNotification(uriHighlighter_);
  }
  uriHighlighter_ = Value;
  lastLookup_.reset();
  if (uriHighlighter_) {
    FreeNotification(uriHighlighter_);
    uriHighlighter_->SetAlreadyVisitedURIFunc(
        [this](const std::string& URI) { return IsVisited(URI); });
  }
}

bool TCodeURIOpener::IsVisited(const std::string& URI) const {
  return visitedURIs_.IndexOf(URI) >= 0;
}

bool TCodeURIOpener::OpenLink(const std::string& URI, int LinkType) {
  if (LinkType < 0 || LinkType > 255) return false;
  std::string target = ShellTarget(URI, static_cast<TUriTokenKind>(LinkType));
  if (target.empty()) return false;
  visitedURIs_.Add(URI);
  return ShellStart(target);
}

bool TCodeURIOpener::MouseInEditor() const {
  if (!editor_ || !editor_->HandleAllocated()) return false;
  POINT p = {};
  GetCursorPos(&p);
  ScreenToClient(editor_->Handle(), &p);
  RECT client = editor_->ClientRect();
  return PtInRect(&client, p) != FALSE;
}

void TCodeURIOpener::UpdateEditorCursor() {
  if (!editor_ || !editor_->HandleAllocated()) return;
  // The editor picks its cursor (asking the chains) when told the mouse is over its text.
  SendMessageA(editor_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(editor_->Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

const TCodeURIOpener::TLinkLookup& TCodeURIOpener::LookUpLink(const TBufferCoord& Pos) {
  const TCodeEditStringList& lines = editor_->Lines();
  const TCodeCustomHighlighter* highlighter = editor_->Highlighter();
  if (lastLookup_ && lastLookup_->Lines == &lines &&
      lastLookup_->ChangeStamp == lines.ChangeStamp() &&
      lastLookup_->Highlighter == highlighter && lastLookup_->Pos == Pos)
    return *lastLookup_;
  TLinkLookup lookup{&lines, lines.ChangeStamp(), highlighter, Pos};
  int start = 0;
  TCodeHighlighterAttributes* attri = nullptr;
  if (editor_->GetHighlighterAttriAtRowColEx(Pos, lookup.Token, lookup.TokenType, start, attri))
    lookup.Link =
        attri == uriHighlighter_->URIAttri() || attri == uriHighlighter_->VisitedURIAttri();
  if (!lookup.Link) lookup.Token.clear();
  lastLookup_ = std::move(lookup);
  return *lastLookup_;
}

bool TCodeURIOpener::IsLinkAt(const TBufferCoord& Pos, std::string* Token, int* TokenType) {
  if (!editor_ || !uriHighlighter_) return false;
  const TLinkLookup& found = LookUpLink(Pos);
  if (!found.Link) return false;
  // Over a selection the mouse drags the text instead.
  if (editor_->HasOption(TCodeEditorOption::eoDragDropEditing) && editor_->IsPointInSelection(Pos))
    return false;
  if (Token) *Token = found.Token;
  if (TokenType) *TokenType = found.TokenType;
  return true;
}

void TCodeURIOpener::NewKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key == VK_CONTROL && !ctrlDown_ && MouseInEditor()) {
    ctrlDown_ = true;
    UpdateEditorCursor();
  }
}

void TCodeURIOpener::NewKeyUp(TObject*, WORD& Key, TShiftState) {
  if (Key == VK_CONTROL && ctrlDown_) {
    ctrlDown_ = false;
    UpdateEditorCursor();
  }
}

void TCodeURIOpener::NewMouseCursor(TObject*, const TBufferCoord& ALineCharPos, HCURSOR& ACursor) {
  ctrlDown_ = IsCtrlDown();
  if (!ClickActivates() || !editor_ || !editor_->HandleAllocated() ||
      GetFocus() != editor_->Handle())
    return;
  if (IsLinkAt(ALineCharPos, nullptr, nullptr)) ACursor = HandPointCursor();
}

void TCodeURIOpener::NewMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  bool left = Button == TMouseButton::mbLeft;
  if ((left && !ctrlActivatesLinks_) || ctrlDown_)
    mouseDownPos_ = POINT{X, Y};
  else if (left)
    mouseDownPos_.reset();  // a new press that cannot become a link click
}

void TCodeURIOpener::NewMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != TMouseButton::mbLeft) return;
  std::optional<POINT> press = mouseDownPos_;
  mouseDownPos_.reset();
  if (!ClickActivates() || !press || !editor_) return;
  if (std::abs(X - press->x) >= kClickTolerance || std::abs(Y - press->y) >= kClickTolerance)
    return;
  if (X < editor_->GutterWidth()) return;
  TBufferCoord pos = editor_->DisplayToBufferPos(editor_->PixelsToRowColumn(X, Y));
  std::string token;
  int type = 0;
  if (!IsLinkAt(pos, &token, &type)) return;
  OpenLink(token, type);
  editor_->InvalidateLine(pos.Line);
}
