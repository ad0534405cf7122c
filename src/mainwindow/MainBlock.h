// The program's start: one instance per user session, the hand-over of a second start's
// arguments to the running main window, and the first instance's set-up and message loop.
#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern const char* const InstanceMutexName;
extern const char* const LoadingMutexName;

// Owned by the first instance from its start until its main window has shown its documents;
// second instances wait while it exists.
extern HANDLE LoadingMutex;
// Closes LoadingMutex; later calls do nothing.
void ReleaseLoadingMutex();

// Whether a command-line argument is a switch ("/" or "-" first) rather than a file.
bool IsSwitchArg(const std::string& Arg);
// Whether a file argument must be refused: it holds "?", which no file name has and which
// stands where the ANSI code page lacks a character of the name given (see WideToAnsiExact).
// The "?" of the long-path prefix "\\?\" is no such mark.
bool IsRefusedFileArg(const std::string& Arg);

// The file arguments of one start that are not opened: names the code page cannot hold
// (IsRefusedFileArg), and names longer than the program can open (a full path of MAX_PATH
// characters or more, the long-path prefix included). One start tells them in one box.
class TSetAsideArgs {
public:
  // Whether Arg is one of them; it is then noted.
  bool Take(const std::string& Arg);
  // One box naming the first 20 of each kind noted and counting the rest; with both kinds, the
  // refused names' box holds the long ones after its own.
  void Report() const;

private:
  std::vector<std::string> refused_;
  std::vector<std::string> tooLong_;
};

// The arguments as the running window reads them: each in double quotes and followed by one
// blank. Arguments that are not switches ("/" or "-") are made full paths against the current
// folder, because the running instance has a folder of its own.
std::string BuildHandOverText(const std::vector<std::string>& Args);

// Set in the wParam of a hand-over's message (beside the text's length) when more pieces of
// the same hand-over follow: the receiver takes them as one. A sender without it sends pieces
// that each stand alone.
constexpr WPARAM HandOverMoreFollows = 0x10000;

// The arguments cut into pieces whose hand-over text fits one atom (255 characters), so that a
// long list is not lost whole: every piece holds all switches and the next files in order, and
// each piece alone is a whole command line. A file whose path alone does not fit has a piece of
// its own, which SendHandOver cuts; without files there is one piece.
std::vector<std::vector<std::string>> SplitHandOver(const std::vector<std::string>& Args);

// A piece's hand-over text cut where needed into parts of at most 255 characters, never within
// a character; joined they give the text back.
std::vector<std::string> CutForAtoms(const std::string& Text);

// The receiver's side of a hand-over in several pieces: Text (a piece's) is added to Pending.
// With the last piece (no HandOverMoreFollows in wParam) the whole text comes back and Pending
// is empty again; before it, nothing.
std::optional<std::string> JoinHandOver(std::string& Pending, WPARAM wParam,
                                        const std::string& Text);

// The receiver's side of a hand-over: the text of its global atom (empty when it cannot be
// read), and the atom is deleted, since the sender may have stopped waiting long ago. The
// buffer is sized by the atom table's limit, never by the length the sender claims.
std::string TakeHandOverText(LPARAM Atom);

// Sends Args to the running main window, one WM_OPENCOMMANDLINE per part of each piece of
// SplitHandOver (see CutForAtoms), all but the last marked HandOverMoreFollows.
// A send that times out after TimeoutMs is sent again (a few times, while the window exists),
// telling OnTimedOut (may be empty) each time; the atom is then left to the receiver.
void SendHandOver(HWND Running, const std::vector<std::string>& Args, DWORD TimeoutMs,
                  const std::function<void()>& OnTimedOut = nullptr);

// A second instance: waits while the first is starting, then hands Args to its main window.
// False when no running window was found (the arguments are then dropped).
bool HandOverToRunningInstance(const std::vector<std::string>& Args);

// The whole main routine; the process's exit code.
int RunMainBlock(const std::vector<std::string>& Args);
