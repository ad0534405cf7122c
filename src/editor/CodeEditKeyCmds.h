// Editor commands (numbers with fixed names) and the key bindings that map keys to them.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "rtl/Exception.h"
#include "toolkit/Component.h"
#include "toolkit/ShortCut.h"

// Below ecUserFirst the editor executes a command itself; from it on, the host does.
using TCodeEditorCommand = uint16_t;

constexpr TCodeEditorCommand ecNone = 0;

// Caret moves; each selecting variant is the move plus ecSelection.
constexpr TCodeEditorCommand ecLeft = 1, ecRight = 2, ecUp = 3, ecDown = 4, ecWordLeft = 5,
                             ecWordRight = 6, ecLineStart = 7, ecLineEnd = 8, ecPageUp = 9,
                             ecPageDown = 10, ecPageLeft = 11, ecPageRight = 12, ecPageTop = 13,
                             ecPageBottom = 14, ecEditorTop = 15, ecEditorBottom = 16, ecGotoXY = 17;
constexpr TCodeEditorCommand ecSelection = 100;
constexpr TCodeEditorCommand ecSelLeft = 101, ecSelRight = 102, ecSelUp = 103, ecSelDown = 104,
                             ecSelWordLeft = 105, ecSelWordRight = 106, ecSelLineStart = 107,
                             ecSelLineEnd = 108, ecSelPageUp = 109, ecSelPageDown = 110,
                             ecSelPageLeft = 111, ecSelPageRight = 112, ecSelPageTop = 113,
                             ecSelPageBottom = 114, ecSelEditorTop = 115, ecSelEditorBottom = 116,
                             ecSelGotoXY = 117;

constexpr TCodeEditorCommand ecSelWord = 198, ecSelectAll = 199;
constexpr TCodeEditorCommand ecCopy = 201;
constexpr TCodeEditorCommand ecScrollUp = 211, ecScrollDown = 212, ecScrollLeft = 213,
                             ecScrollRight = 214;
constexpr TCodeEditorCommand ecInsertMode = 221, ecOverwriteMode = 222, ecToggleMode = 223;
constexpr TCodeEditorCommand ecNormalSelect = 231, ecColumnSelect = 232, ecLineSelect = 233;
constexpr TCodeEditorCommand ecMatchBracket = 250, ecCommentBlock = 251;

// Bookmarks 0..9: ecGotoMarker0 + n and ecSetMarker0 + n.
constexpr TCodeEditorCommand ecGotoMarker0 = 301, ecGotoMarker1 = 302, ecGotoMarker2 = 303,
                             ecGotoMarker3 = 304, ecGotoMarker4 = 305, ecGotoMarker5 = 306,
                             ecGotoMarker6 = 307, ecGotoMarker7 = 308, ecGotoMarker8 = 309,
                             ecGotoMarker9 = 310;
constexpr TCodeEditorCommand ecSetMarker0 = 351, ecSetMarker1 = 352, ecSetMarker2 = 353,
                             ecSetMarker3 = 354, ecSetMarker4 = 355, ecSetMarker5 = 356,
                             ecSetMarker6 = 357, ecSetMarker7 = 358, ecSetMarker8 = 359,
                             ecSetMarker9 = 360;

// Sent when the editor loses the focus; reaches only the command events and hooks, so it
// has no name of its own.
constexpr TCodeEditorCommand ecFocusLost = 481;
constexpr TCodeEditorCommand ecContextHelp = 490;

constexpr TCodeEditorCommand ecDeleteLastChar = 501, ecDeleteChar = 502, ecDeleteWord = 503,
                             ecDeleteLastWord = 504, ecDeleteBOL = 505, ecDeleteEOL = 506,
                             ecDeleteLine = 507, ecClearAll = 508, ecLineBreak = 509,
                             ecInsertLine = 510, ecChar = 511;
constexpr TCodeEditorCommand ecImeStr = 550;
constexpr TCodeEditorCommand ecUndo = 601, ecRedo = 602, ecCut = 603, ecPaste = 604;
constexpr TCodeEditorCommand ecBlockIndent = 610, ecBlockUnindent = 611, ecTab = 612,
                             ecShiftTab = 613;
constexpr TCodeEditorCommand ecUpperCase = 620, ecLowerCase = 621, ecToggleCase = 622,
                             ecTitleCase = 623, ecUpperCaseBlock = 625, ecLowerCaseBlock = 626,
                             ecToggleCaseBlock = 627;
constexpr TCodeEditorCommand ecString = 630;
constexpr TCodeEditorCommand ecAutoCompletion = 650;
constexpr TCodeEditorCommand ecUserFirst = 1001;

// One row of the command table: the only place where names and numbers meet.
struct TCodeEditorCommandName {
  TCodeEditorCommand Command;
  const char* Name;
};
// All rows of the command table, in number order.
const std::vector<TCodeEditorCommandName>& EditorCommandNames();

// True and the name when the number is in the table; false and Name untouched otherwise.
bool EditorCommandToIdent(int Command, std::string& Name);
// The name, or the decimal text of a number not in the table.
std::string EditorCommandToCodeString(TCodeEditorCommand Command);
// True and the number for a name of the table, compared without regard to ASCII case.
bool IdentToEditorCommand(const std::string& Name, int& Command);

// Raised when a shortcut would duplicate another binding's.
class ECodeKeyError : public Exception {
public:
  using Exception::Exception;
};

class TCodeEditKeyStrokes;

// One binding: a key (or two keys in sequence) with modifiers, and the command it gives.
class TCodeEditKeyStroke : public TObject {
public:
  explicit TCodeEditKeyStroke(TCodeEditKeyStrokes* Collection) : collection_(Collection) {}

  uint16_t Key() const { return key_; }
  void SetKey(uint16_t Key) { key_ = Key; }
  TShiftState Shift() const { return shift_; }
  void SetShift(TShiftState Shift) { shift_ = Shift; }
  uint16_t Key2() const { return key2_; }  // 0: no second key
  void SetKey2(uint16_t Key) { key2_ = Key; }
  TShiftState Shift2() const { return shift2_; }
  void SetShift2(TShiftState Shift) { shift2_ = Shift; }
  TCodeEditorCommand Command() const { return command_; }
  void SetCommand(TCodeEditorCommand Command) { command_ = Command; }

  TShortCut ShortCut() const;
  TShortCut ShortCut2() const;
  // A non-zero value equal to another binding's ShortCut, with the same ShortCut2, raises
  // ECodeKeyError "Shortcut already exists" and changes nothing.
  void SetShortCut(TShortCut Value);
  // The same check against this binding's ShortCut and the new second value.
  void SetShortCut2(TShortCut Value);

  // Copies command, key, key 2, shift and shift 2.
  void Assign(const TCodeEditKeyStroke& Source);
  // "ecCopy - Ctrl+C " (command name, " - ", the shortcut and, when it is set, a blank and
  // the second shortcut).
  std::string DisplayName() const;
  TCodeEditKeyStrokes* Collection() const { return collection_; }

private:
  bool IsDuplicate(TShortCut First, TShortCut Second) const;

  TCodeEditKeyStrokes* collection_;
  uint16_t key_ = 0;
  TShiftState shift_;
  uint16_t key2_ = 0;
  TShiftState shift2_;
  TCodeEditorCommand command_ = ecNone;
};

// The first key of a possible two-key stroke, remembered between key presses (0: none).
struct TCodePendingKey {
  uint16_t Key = 0;
  TShiftState Shift;
};

// The editor's key bindings, owned by the editor; searches return the first matching index
// in order, or -1.
class TCodeEditKeyStrokes : public TObject {
public:
  explicit TCodeEditKeyStrokes(TComponent* Owner) : owner_(Owner) {}
  TCodeEditKeyStrokes(const TCodeEditKeyStrokes&) = delete;
  TCodeEditKeyStrokes& operator=(const TCodeEditKeyStrokes&) = delete;

  TComponent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises Exception "List index out of bounds (n)" for an index outside 0..Count-1.
  TCodeEditKeyStroke* Items(int Index) const;

  // A new empty binding at the end.
  TCodeEditKeyStroke* Add();
  // A binding of one key; no duplicate check. The binding joins the list only once it is
  // set up, so a failure passes on without leaving a half-made binding behind.
  TCodeEditKeyStroke* AddKey(TCodeEditorCommand Command, uint16_t Key, TShiftState Shift);
  // Clears, then copies every binding of Source field by field.
  void Assign(const TCodeEditKeyStrokes& Source);
  void Clear();
  // Clears and adds the 82 default bindings (none has a second key).
  void ResetDefaults();

  // Key and shift equal, and no second key.
  int FindKey(uint16_t Key, TShiftState Shift) const;
  // All four fields equal.
  int FindKeyPair(uint16_t Key, TShiftState Shift, uint16_t Key2, TShiftState Shift2) const;
  // ShortCut and ShortCut2 equal.
  int FindShortcutPair(TShortCut ShortCut, TShortCut ShortCut2) const;

  // The command of a key press: a two-key binding of Pending followed by this key, else a
  // one-key binding, else ecNone. An unmatched key with a code in 30..145 becomes Pending
  // (a possible first key); any other outcome clears Pending.
  TCodeEditorCommand TranslateKey(uint16_t Key, TShiftState Shift, TCodePendingKey& Pending) const;

private:
  TComponent* owner_;
  std::vector<std::unique_ptr<TCodeEditKeyStroke>> items_;
};
