// The editor's line store with per-line highlighter state and display-length cache, its
// buffered file writer, and the undo/redo list of editing changes.
#pragma once
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditTypes.h"
#include "rtl/Classes.h"
#include "rtl/Exception.h"
#include "rtl/Set.h"
#include "rtl/StringList.h"
#include "rtl/Streams.h"

class TCodeCustomHighlighter;

// Bad line indexes ("Invalid stringlist index %d") and capacities below the count.
class ECodeEditStringList : public EStringListError {
public:
  using EStringListError::EStringListError;
};

// How lines are separated when the list is written.
enum TCodeTextLineBreaks : uint8_t { tlbCrLf = 0, tlbLf = 1, tlbCr = 2 };

enum class TCodeEditStringFlag { HasTabs, HasNoTabs, ExpandedLengthUnknown };
using TCodeEditStringFlags = TSet<TCodeEditStringFlag>;

// The text of one line: either its own copy, or a slice of the text that the list loaded in
// one piece (so that a load costs no heap block per line). Moving leaves the source empty.
class TCodeEditLineText {
public:
  TCodeEditLineText() = default;
  explicit TCodeEditLineText(std::string_view Text);
  static TCodeEditLineText Slice(const char* Data, size_t Size);
  // A text of its own made of the three pieces in one copy.
  static TCodeEditLineText Concat(std::string_view A, std::string_view B, std::string_view C);
  TCodeEditLineText(TCodeEditLineText&& Other) noexcept;
  TCodeEditLineText& operator=(TCodeEditLineText&& Other) noexcept;

  std::string_view View() const { return {data_, size_}; }
  size_t size() const { return size_; }
  bool IsSlice() const { return size_ > 0 && !own_; }

private:
  std::unique_ptr<char[]> own_;
  const char* data_ = nullptr;
  uint32_t size_ = 0;
};

// One line. When ExpandedLengthUnknown is clear, exactly one of HasTabs/HasNoTabs is set and
// ExpandedLength is valid for the list's current tab width. Kept small: a huge file has
// millions of them.
struct TCodeEditStringRec {
  TCodeEditStringRec() = default;
  explicit TCodeEditStringRec(TCodeEditLineText AText, TObject* AObject = nullptr)
      : Text(std::move(AText)), Object(AObject) {}

  TCodeEditStringFlags Flags() const { return TCodeEditStringFlags::FromBits(flagBits_); }
  void SetFlags(TCodeEditStringFlags Value) const { flagBits_ = static_cast<uint8_t>(Value.Bits()); }

  TCodeEditLineText Text;
  TObject* Object = nullptr;             // owned by nobody
  mutable intptr_t Range = -1;           // highlighter state at the line's end; -1 = not scanned
  mutable int32_t ExpandedLength = -1;   // display columns with tabs expanded; -1 = unknown

private:
  mutable uint8_t flagBits_ =
      static_cast<uint8_t>(TCodeEditStringFlags{TCodeEditStringFlag::ExpandedLengthUnknown}.Bits());
};

// Called with the list, the first line index and the number of lines concerned.
using TCodeEditStringListChangeEvent = std::function<void(TObject* Sender, int Index, int Count)>;

// The line list of one editor control. Every change runs inside an update bracket: the
// outermost BeginUpdate fires OnChanging, the outermost EndUpdate fires OnChange; the line
// events fire for each change as it happens.
class TCodeEditStringList : public TStrings {
public:
  TCodeEditStringList();
  ~TCodeEditStringList() override;  // fires nothing
  TCodeEditStringList(const TCodeEditStringList&) = delete;
  TCodeEditStringList& operator=(const TCodeEditStringList&) = delete;

  // Out-of-range reads give an empty text or nil.
  std::string Get(int Index) const override;
  // The line's text where it is stored, valid until the list changes; empty out of range.
  std::string_view View(int Index) const;
  int GetCapacity() const override { return capacity_; }
  int GetCount() const override { return count_; }
  TObject* GetObject(int Index) const override;
  // The lines joined by CR LF, without a break after the last one.
  std::string GetTextStr() const override;
  // Clears, then adds a line for each run up to CR, LF or a zero byte (one CR and then one LF
  // after each line are skipped; a zero byte ends the text; a final break adds no line),
  // each with its OnLinesInserted, all in one update.
  void SetTextStr(const std::string& Value) override;
  using TStrings::SetText;
  // The same, taking the text over instead of copying it: the lines keep it as their own.
  void SetText(std::string&& Value);
  // At Index == Count this is an Add (fires OnLinesInserted); otherwise fires OnLinePut.
  void Put(int Index, const std::string& S) override;
  // Put of line Index with Count bytes from byte Pos (0-based; both clamped to the line)
  // replaced by Text. The new text is made in one copy, and a line without tabs that gets
  // none keeps its display length known, so an edit of a long line passes over it once.
  void ReplaceInLine(int Index, size_t Pos, size_t Count, std::string_view Text);
  void PutObject(int Index, TObject* Object) override;
  // Raises ECodeEditStringList when below Count.
  void SetCapacity(int NewCapacity) override;
  void SetUpdateState(bool Updating) override;
  int Add(const std::string& S) override;
  void AddStrings(const TStrings& Strings) override;
  void Clear() override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  void Insert(int Index, const std::string& S) override;
  void LoadFromFile(const std::string& FileName) override;
  // Splits at CR LF, lone LF and lone CR; sets LineBreaks from the breaks seen. With
  // TrailingLineBreak false a final break reads as an empty last line.
  void LoadFromStream(TStream& Stream) override;
  void SaveToFile(const std::string& FileName) const override;
  void SaveToStream(TStream& Stream) const override;

  // Index in 0..Count; NumLines below 1 does nothing; fewer lines than asked are deleted
  // when fewer follow.
  void DeleteLines(int Index, int NumLines);
  // Index in 0..Count; inserts NumLines empty lines.
  void InsertLines(int Index, int NumLines);
  // Index in 0..Count; inserts a line for each text, with one OnLinesInserted for all.
  void InsertStrings(int Index, const std::vector<std::string_view>& Texts);

  // Highlighter state at the end of a line; reading out of range gives 0. The states are a
  // cache of a highlighter's scan (CodeEditLineStates): storing one leaves the text as it is.
  intptr_t GetRange(int Index) const;
  void SetRange(int Index, intptr_t Range) const;
  // Lines 0..RangesScanned-1 hold the end states a scan by Owner gives (0 for any other
  // owner). Whoever changes lines lowers it; Clear sets it to 0.
  int RangesScanned(const TCodeCustomHighlighter* Owner) const {
    return Owner && Owner == rangesOwner_ ? std::min(rangesScanned_, count_) : 0;
  }
  void SetRangesScanned(int Lines, const TCodeCustomHighlighter* Owner) const {
    rangesScanned_ = Lines;
    rangesOwner_ = Owner;
  }
  // The line with tabs expanded (one character per display column); empty out of range.
  std::string GetExpandedString(int Index) const;
  // The same for passes over many lines: a line without tabs is its own expansion and is
  // given as it is stored; any other is expanded into Scratch. Valid until either changes.
  std::string_view ExpandedView(int Index, std::string& Scratch) const;
  // Cached; 0 out of range.
  int GetExpandedStringLength(int Index) const;
  // Whether the line holds a tab, cached with its length; false out of range.
  bool HasTabs(int Index) const;
  // The largest expanded length; ties keep the lower line. 0 for an empty list.
  int GetLengthOfLongestLine() const;
  // The sum of the line lengths in bytes, kept as lines change.
  int64_t TextBytes() const { return textBytes_; }

  // Differs from every earlier value of any list once the text changed: a caller that kept
  // a copy of the text with its stamp knows the copy is still current while they are equal.
  uint64_t ChangeStamp() const { return changeStamp_; }
  // Moves the stamp on; every changing operation does.
  void NoteChange();

  TCodeTextLineBreaks LineBreaks() const { return lineBreaks_; }
  void SetLineBreaks(TCodeTextLineBreaks Value) { lineBreaks_ = Value; }
  bool TrailingLineBreak() const { return trailingLineBreak_; }
  void SetTrailingLineBreak(bool Value) { trailingLineBreak_ = Value; }
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
  TNotifyEvent OnCleared;
  TCodeEditStringListChangeEvent OnLinesDeleted;
  TCodeEditStringListChangeEvent OnLinesInserted;
  TCodeEditStringListChangeEvent OnLinePut;

private:
  void CheckIndex(int Index, int Limit) const;
  void Grow();
  // How many lines a load of a text adds, and how much of the text they use.
  struct TLoadCount {
    int Lines;
    size_t Used;
  };
  static TLoadCount CountLoadedLines(std::string_view Text, bool StopAtZero);
  // Clears and adds the Lines lines of Text, which they then share until they are changed.
  void AddLoadedLines(std::string Text, int Lines, bool& SawCr, bool& SawLf);
  // Replaces (or, with an empty text, drops) a line's text; frees the loaded text when its
  // last line lets go of it.
  void ReplaceText(TCodeEditStringRec& Rec, TCodeEditLineText Text);
  void InsertItem(int Index, const std::string& S);
  void MoveRecords(int From, int To, int Number);
  void ComputeExpanded(const TCodeEditStringRec& Rec) const;
  // The record with its length and flags computed when unknown.
  const TCodeEditStringRec& RecWithKnownLength(int Index) const;
  void FireLines(const TCodeEditStringListChangeEvent& Event, int Index, int Number);
  std::string JoinLines(const char* Break, bool BreakAfterLast) const;
  // The longest line is kept across changes that cannot make another line the longest, so
  // that an edit does not walk all lines: the longest length, or -1 while it is unknown.
  int KnownLongestLength() const;
  // Line Index got a new text (or was inserted); Longest is the length before the change.
  void KeepLongestLine(int Index, int Longest);
  void ShiftLongestLine(int Index, int Number);
  void ForgetDeletedLongestLine(int Index, int Number);

  std::unique_ptr<TCodeEditStringRec[]> list_;
  int count_ = 0;
  int capacity_ = 0;
  TCodeTextLineBreaks lineBreaks_ = tlbCrLf;
  bool trailingLineBreak_ = false;
  TCodeTabExpanderProcEx tabExpander_;
  int tabWidth_ = 8;
  mutable int indexOfLongestLine_ = -1;
  mutable int rangesScanned_ = 0;
  mutable const TCodeCustomHighlighter* rangesOwner_ = nullptr;
  int64_t textBytes_ = 0;
  std::string loadedText_;  // the text of the last load, while lines still use it
  int loadedLineCount_ = 0;   // the lines that are slices of it
  bool loading_ = false;      // lines are being added from it
  unsigned textChanges_ = 0;  // clears and loads: a load stops when a handler made one
  uint64_t changeStamp_ = 0;
};

// A small buffered writer of lines over a stream it owns.
class TCodeEditFiler {
public:
  explicit TCodeEditFiler(std::unique_ptr<TStream> Stream);
  // Flushes what is left unless an exception is already on its way out.
  virtual ~TCodeEditFiler() noexcept(false);
  TCodeEditFiler(const TCodeEditFiler&) = delete;
  TCodeEditFiler& operator=(const TCodeEditFiler&) = delete;

  TCodeTextLineBreaks LineBreaks() const { return lineBreaks_; }
  void SetLineBreaks(TCodeTextLineBreaks Value) { lineBreaks_ = Value; }
  // Stream errors pass through.
  void Flush();

protected:
  void Append(std::string_view Text, const char* Break);

private:
  std::string buffer_;  // its size is the buffer size
  size_t fillPos_ = 0;
  TCodeTextLineBreaks lineBreaks_ = tlbCrLf;
  std::unique_ptr<TStream> stream_;
  int uncaughtAtStart_;
};

// Creates (or replaces) the file at construction.
class TCodeEditFileWriter : public TCodeEditFiler {
public:
  explicit TCodeEditFileWriter(const std::string& FileName);
  void Write(std::string_view Text);      // no line break
  void WriteLine(std::string_view Text);  // followed by the break of LineBreaks()
};

// ---------------------------------------------------------------------------------------
// Undo and redo

// Kinds of recorded changes; the numbers are fixed.
enum TCodeUndoReason : uint8_t {
  urInsert = 0,
  urPaste = 1,
  urDragDropInsert = 2,
  urDeleteAfterCaret = 3,
  urDelete = 4,
  urLineBreak = 5,
  urIndent = 6,
  urUnindent = 7,
  urSilentDelete = 8,
  urSilentDeleteAfterCaret = 9,
  urCompletionBegin = 10,
  urCompletionEnd = 11,
  urPasteBegin = 12,
  urPasteEnd = 13,
  urSpecial1Begin = 14,
  urSpecial1End = 15,
  urSpecial2Begin = 16,
  urSpecial2End = 17,
  urCaret = 18,
  urSelection = 19,
  urNothing = 20,  // never stored: the last reason of an empty list
  urGroupBreak = 21,
  urDeleteAll = 22,
  urWhiteSpaceAdd = 23,
};

// One recorded change. Items with equal change numbers are undone as one step.
class TCodeEditUndoItem : public TObject {
public:
  TCodeEditUndoItem() = default;
  TCodeEditUndoItem(TCodeUndoReason Reason, uint8_t SelectionMode, TBufferCoord Start,
                    TBufferCoord End, std::string Text, int32_t ChangeNumber);
  void Assign(const TCodeEditUndoItem& Source) { *this = Source; }

  TCodeUndoReason Reason() const { return reason_; }
  void SetReason(TCodeUndoReason Value) { reason_ = Value; }
  // The editor's selection mode at the change: 0 normal, 1 line, 2 column.
  uint8_t SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(uint8_t Value) { selectionMode_ = Value; }
  TBufferCoord Start() const { return start_; }
  void SetStart(TBufferCoord Value) { start_ = Value; }
  TBufferCoord End() const { return end_; }
  void SetEnd(TBufferCoord Value) { end_ = Value; }
  // The text the change removed or replaced.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value) { text_ = Value; }
  int32_t ChangeNumber() const { return changeNumber_; }
  void SetChangeNumber(int32_t Value) { changeNumber_ = Value; }

private:
  TCodeUndoReason reason_ = urNothing;
  uint8_t selectionMode_ = 0;
  TBufferCoord start_;
  TBufferCoord end_;
  std::string text_;
  int32_t changeNumber_ = 0;
};

// A stack of changes (the editor keeps one for undo and one for redo). A block, or a block
// change number set from outside, gives every item recorded meanwhile the same number.
class TCodeEditUndoList : public TObject {
public:
  TCodeEditUndoList();
  ~TCodeEditUndoList() override;

  // Records one change; nothing while locked. A failure frees the new item and passes on.
  void AddChange(TCodeUndoReason Reason, TBufferCoord Start, TBufferCoord End,
                 std::string Text, uint8_t SelectionMode);
  // Records a group break unless the top item already is one.
  void AddGroupBreak();
  // Puts an item on top (trimming to MaxUndoActions) and fires OnItemAdded unless it is a
  // group break. Used to move items between the undo and the redo list.
  void PushItem(std::unique_ptr<TCodeEditUndoItem> Item);
  // Nestable; the outermost EndBlock fires OnItemAdded once when the block recorded anything.
  // A block that records several changes, or one opened as its own step, is fenced by group
  // breaks when it closes, so that grouping of like changes never joins it to a neighbour.
  void BeginBlock(bool OwnStep = false);
  void EndBlock();
  void Clear();
  bool CanUndo() const { return !items_.empty(); }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // The top item, or nullptr.
  TCodeEditUndoItem* PeekItem() const;
  // Removes the top item and hands it to the caller; nullptr when empty.
  std::unique_ptr<TCodeEditUndoItem> PopItem();
  // urNothing when empty.
  TCodeUndoReason LastChangeReason() const;
  void Lock() { ++lockCount_; }
  void Unlock();  // below 0 is ignored
  // Replaces all items by copies; the unmodified mark stays.
  void Assign(const TCodeEditUndoList& Source);

  int MaxUndoActions() const { return maxUndoActions_; }
  // Negative counts as 0; trims the list at once.
  void SetMaxUndoActions(int Value);
  // True once old items had to be dropped; cleared by Clear.
  bool FullUndoImpossible() const { return fullUndoImpossible_; }
  int BlockCount() const { return blockCount_; }
  int32_t BlockChangeNumber() const { return blockChangeNumber_; }
  // The editor sets this on the opposite list for the duration of one undo or redo step.
  void SetBlockChangeNumber(int32_t Value) { blockChangeNumber_ = Value; }
  bool InsideRedo() const { return insideRedo_; }
  void SetInsideRedo(bool Value) { insideRedo_ = Value; }

  // True marks the current top as the unmodified state; false forgets a mark on the top.
  void SetUnmodifiedMark(bool Value);
  // Whether the text is in the marked state: the top item's number equals the mark; for an
  // empty list, the mark equals the newest dropped change's number (0 when none was
  // dropped; a step dropped only in part matches no mark set before it was dropped).
  bool IsTopMarkedAsUnmodified() const;

  TNotifyEvent OnItemAdded;

protected:
  // Test seam for the wrap of change numbers.
  void SetNextChangeNumber(int32_t Value) { nextChangeNumber_ = Value; }

private:
  void AdvanceChangeNumber();
  static std::unique_ptr<TCodeEditUndoItem> MakeGroupBreak(int32_t ChangeNumber);
  void FenceClosedBlock(int32_t Closed);
  void TrimToMaximum();
  void FireItemAdded();
  int32_t TopChangeNumber() const;

  int32_t blockChangeNumber_ = 0;
  int blockCount_ = 0;
  bool fullUndoImpossible_ = false;
  std::deque<std::unique_ptr<TCodeEditUndoItem>> items_;
  int lockCount_ = 0;
  int maxUndoActions_ = 1024;
  int32_t nextChangeNumber_ = 1;
  int32_t unmodifiedMark_ = 0;
  int32_t newestDroppedNumber_ = 0;
  bool insideRedo_ = false;
  bool ownStep_ = false;
};
