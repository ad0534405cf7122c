// Turns the addresses the URI highlighter marks into links: Ctrl+click opens one with the
// shell's associated program, and the mouse pointer shows a hand over it.
#pragma once
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include "editor/CodeEdit.h"
#include "rtl/StringList.h"
#include "toolkit/Component.h"

class TCodeURIHighlighter;

// The system's hand cursor, the pointer over a link.
HCURSOR HandPointCursor();

class TCodeURIOpener : public TComponent {
public:
  explicit TCodeURIOpener(TComponent* Owner);
  ~TCodeURIOpener() override;

  // With it (the default) the hand cursor and the click need the Ctrl key.
  bool CtrlActivatesLinks() const { return ctrlActivatesLinks_; }
  void SetCtrlActivatesLinks(bool Value) { ctrlActivatesLinks_ = Value; }

  // The editor whose key, mouse and mouse-cursor chains the opener hooks.
  TCustomCodeEdit* Editor() const { return editor_; }
  void SetEditor(TCustomCodeEdit* Value);
  // The highlighter whose attributes mark links; it gets the opener's visited-link query.
  TCodeURIHighlighter* URIHighlighter() const { return uriHighlighter_; }
  void SetURIHighlighter(TCodeURIHighlighter* Value);

  // Links opened so far, sorted, without regard to case.
  const TStringList& VisitedURIs() const { return visitedURIs_; }
  bool IsVisited(const std::string& URI) const;
  // Adds the link to the opened ones and hands it to the shell; a bare e-mail address gets
  // "mailto:" and a "www" address "http://" in front. Only a text starting with its kind's
  // scheme (in any case), a "www." address or an e-mail address is opened; false for any
  // other text and when the shell refused it.
  bool OpenLink(const std::string& URI, int LinkType);

protected:
  void Notification(TComponent* AComponent) override;

private:
  void NewKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void NewKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void NewMouseCursor(TObject* Sender, const TBufferCoord& ALineCharPos, HCURSOR& ACursor);
  void NewMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void NewMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void HookEditor(bool Hook);
  bool MouseInEditor() const;
  void UpdateEditorCursor();
  // The token at a position is a link of the highlighter (and not a selection to drag).
  bool IsLinkAt(const TBufferCoord& Pos, std::string* Token, int* TokenType);
  // The last look-up of the token under a position: Ctrl pressed again, or the pointer moved
  // within a character, asks nothing of the highlighter while the text stays as it was.
  struct TLinkLookup {
    const TCodeEditStringList* Lines = nullptr;
    uint64_t ChangeStamp = 0;
    const TCodeCustomHighlighter* Highlighter = nullptr;
    TBufferCoord Pos;
    bool Link = false;
    std::string Token;
    int TokenType = 0;
  };
  const TLinkLookup& LookUpLink(const TBufferCoord& Pos);
  bool ClickActivates() const { return !ctrlActivatesLinks_ || ctrlDown_; }

  bool ctrlActivatesLinks_ = true;
  TCustomCodeEdit* editor_ = nullptr;
  TCodeURIHighlighter* uriHighlighter_ = nullptr;
  bool ctrlDown_ = false;
  // The press a release may complete into a click; none after the release.
  std::optional<POINT> mouseDownPos_;
  std::optional<TLinkLookup> lastLookup_;
  TStringList visitedURIs_;
};
