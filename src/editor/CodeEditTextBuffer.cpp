#include "editor/CodeEditTextBuffer.h"
#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <utility>
#include "rtl/ByteScan.h"

namespace {
// Holds the list's update bracket open for the duration of a change, also when a line
// event handler throws.
// The change stamp moves at both ends, so that text taken by a handler in the middle of a
// change does not pass for current afterwards.
class UpdateScope {
public:
  explicit UpdateScope(TCodeEditStringList& List) : list_(List) {
    list_.NoteChange();
    list_.BeginUpdate();
  }
  ~UpdateScope() noexcept(false) {
    list_.NoteChange();
    list_.EndUpdate();
  }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

private:
  TCodeEditStringList& list_;
};

// Shared by all lists, so that a stamp never repeats even when an editor changes lists.
std::atomic<uint64_t> lastChangeStamp{0};

const char* BreakBytes(TCodeTextLineBreaks LineBreaks) {
  switch (LineBreaks) {
    case tlbLf: return "\n";
    case tlbCr: return "\r";
    default: return "\r\n";
  }
}

int RoundUpTo16(int N) { return (N + 15) / 16 * 16; }

// Runs of at least this many inserted lines keep their texts in one block.
constexpr int SharedRunLines = 1024;
}  // namespace

// --- line text ------------------------------------------------------------------------

TCodeEditLineText::TCodeEditLineText(std::string_view Text)
    : own_(Text.empty() ? nullptr : std::make_unique_for_overwrite<char[]>(Text.size())),
      data_(own_.get()),
      size_(static_cast<uint32_t>(Text.size())) {
  if (size_ > 0) std::memcpy(own_.get(), Text.data(), size_);
}

TCodeEditLineText TCodeEditLineText::Slice(const char* Data, size_t Size) {
  TCodeEditLineText text;
  text.data_ = Size > 0 ? Data : nullptr;
  text.size_ = static_cast<uint32_t>(Size);
  return text;
}

TCodeEditLineText TCodeEditLineText::Concat(std::string_view A, std::string_view B,
                                            std::string_view C) {
  TCodeEditLineText text;
  const size_t size = A.size() + B.size() + C.size();
  if (size == 0) return text;
  text.own_ = std::make_unique_for_overwrite<char[]>(size);
  char* p = text.own_.get();
  for (std::string_view piece : {A, B, C}) {
    if (!piece.empty()) std::memcpy(p, piece.data(), piece.size());
    p += piece.size();
  }
  text.data_ = text.own_.get();
  text.size_ = static_cast<uint32_t>(size);
  return text;
}

TCodeEditLineText::TCodeEditLineText(TCodeEditLineText&& Other) noexcept
    : own_(std::move(Other.own_)), data_(Other.data_), size_(Other.size_) {
  Other.data_ = nullptr;
  Other.size_ = 0;
}

TCodeEditLineText& TCodeEditLineText::operator=(TCodeEditLineText&& Other) noexcept {
  if (this == &Other) return *this;
  own_ = std::move(Other.own_);
  data_ = Other.data_;
  size_ = Other.size_;
  Other.data_ = nullptr;
  Other.size_ = 0;
  return *this;
}

// --- line list ------------------------------------------------------------------------

TCodeEditStringList::TCodeEditStringList() : tabExpander_(GetTabExpanderProcEx(8)) {}

TCodeEditStringList::~TCodeEditStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TCodeEditStringList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit)
    throw ECodeEditStringList("Invalid stringlist index " + std::to_string(Index));
}

std::string TCodeEditStringList::Get(int Index) const {
  if (Index < 0 || Index >= count_) return std::string();
  return std::string(list_[Index].Text.View());
}

std::string_view TCodeEditStringList::View(int Index) const {
  if (Index < 0 || Index >= count_) return {};
  return list_[Index].Text.View();
}

TObject* TCodeEditStringList::GetObject(int Index) const {
  if (Index < 0 || Index >= count_) return nullptr;
  return list_[Index].Object;
}

std::string TCodeEditStringList::JoinLines(const char* Break, bool BreakAfterLast) const {
  size_t breakLen = std::strlen(Break);
  size_t size = 0;
  for (int i = 0; i < count_; ++i) size += list_[i].Text.size() + breakLen;
  std::string result;
  result.reserve(size);
  for (int i = 0; i < count_; ++i) {
    result += list_[i].Text.View();
    if (BreakAfterLast || i + 1 < count_) result.append(Break, breakLen);
  }
  return result;
}

std::string TCodeEditStringList::GetTextStr() const { return JoinLines("\r\n", false); }

void TCodeEditStringList::FireLines(const TCodeEditStringListChangeEvent& Event, int Index,
                                    int Number) {
  if (Event) Event(this, Index, Number);
}

void TCodeEditStringList::Put(int Index, const std::string& S) {
  if (Index == count_) {
    Add(S);
    return;
  }
  CheckIndex(Index, count_ - 1);
  UpdateScope update(*this);
  const int longest = KnownLongestLength();
  TCodeEditStringRec& rec = list_[Index];
  rec.SetFlags({TCodeEditStringFlag::ExpandedLengthUnknown});
  rec.ExpandedLength = -1;
  ReplaceText(rec, TCodeEditLineText(S));
  KeepLongestLine(Index, longest);
  FireLines(OnLinePut, Index, 1);
}

void TCodeEditStringList::ReplaceInLine(int Index, size_t Pos, size_t Count, std::string_view Text) {
  if (Index == count_) {
    Add(std::string(Text));
    return;
  }
  CheckIndex(Index, count_ - 1);
  UpdateScope update(*this);
  const int longest = KnownLongestLength();
  TCodeEditStringRec& rec = list_[Index];
  const std::string_view old = rec.Text.View();
  Pos = std::min(Pos, old.size());
  Count = std::min(Count, old.size() - Pos);
  const bool tabFree = rec.Flags() == TCodeEditStringFlags{TCodeEditStringFlag::HasNoTabs} &&
                       Text.find('\t') == std::string_view::npos;
  ReplaceText(rec, TCodeEditLineText::Concat(old.substr(0, Pos), Text, old.substr(Pos + Count)));
  if (tabFree) {
    rec.ExpandedLength = static_cast<int32_t>(rec.Text.size());
    rec.SetFlags({TCodeEditStringFlag::HasNoTabs});
  } else {
    rec.ExpandedLength = -1;
    rec.SetFlags({TCodeEditStringFlag::ExpandedLengthUnknown});
  }
  KeepLongestLine(Index, longest);
  FireLines(OnLinePut, Index, 1);
}

void TCodeEditStringList::ReplaceText(TCodeEditStringRec& Rec, TCodeEditLineText Text) {
  const bool wasSlice = Rec.Text.IsSlice();
  textBytes_ += static_cast<int64_t>(Text.size()) - static_cast<int64_t>(Rec.Text.size());
  Rec.Text = std::move(Text);
  if (wasSlice && --loadedLineCount_ == 0 && !loading_) std::string().swap(loadedText_);
}

void TCodeEditStringList::PutObject(int Index, TObject* Object) {
  CheckIndex(Index, count_ - 1);
  UpdateScope update(*this);
  list_[Index].Object = Object;
}

void TCodeEditStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity < count_)
    throw ECodeEditStringList("Stringlist capacity cannot be smaller than count");
  auto records = std::make_unique<TCodeEditStringRec[]>(NewCapacity);
  std::move(list_.get(), list_.get() + count_, records.get());
  list_ = std::move(records);
  capacity_ = NewCapacity;
}

void TCodeEditStringList::NoteChange() { changeStamp_ = ++lastChangeStamp; }

void TCodeEditStringList::SetUpdateState(bool Updating) {
  const TNotifyEvent& event = Updating ? OnChanging : OnChange;
  if (event) event(this);
}

void TCodeEditStringList::Grow() { SetCapacity(capacity_ + (capacity_ > 64 ? capacity_ / 4 : 16)); }

void TCodeEditStringList::MoveRecords(int From, int To, int Number) {
  if (Number <= 0) return;
  TCodeEditStringRec* first = list_.get() + From;
  if (To > From)
    std::move_backward(first, first + Number, list_.get() + To + Number);
  else
    std::move(first, first + Number, list_.get() + To);
}

void TCodeEditStringList::InsertItem(int Index, const std::string& S) {
  UpdateScope update(*this);
  if (count_ == capacity_) Grow();
  const int longest = KnownLongestLength();
  MoveRecords(Index, Index + 1, count_ - Index);
  list_[Index] = TCodeEditStringRec{TCodeEditLineText(S)};
  textBytes_ += static_cast<int64_t>(S.size());
  ++count_;
  ShiftLongestLine(Index, 1);
  KeepLongestLine(Index, longest);
  FireLines(OnLinesInserted, Index, 1);
}

int TCodeEditStringList::Add(const std::string& S) {
  int index = count_;
  InsertItem(index, S);
  return index;
}

void TCodeEditStringList::Insert(int Index, const std::string& S) {
  CheckIndex(Index, count_);
  InsertItem(Index, S);
}

void TCodeEditStringList::AddStrings(const TStrings& Strings) {
  int number = Strings.Count();
  if (number <= 0) return;
  indexOfLongestLine_ = -1;
  UpdateScope update(*this);
  if (count_ + number > capacity_) SetCapacity(RoundUpTo16(count_ + number));
  int first = count_;
  for (int i = 0; i < number; ++i) {
    list_[first + i] = TCodeEditStringRec{TCodeEditLineText(Strings.Get(i)), Strings.GetObject(i)};
    textBytes_ += static_cast<int64_t>(list_[first + i].Text.size());
  }
  count_ += number;
  FireLines(OnLinesInserted, first, number);
}

void TCodeEditStringList::InsertLines(int Index, int NumLines) {
  CheckIndex(Index, count_);
  if (NumLines <= 0) return;
  UpdateScope update(*this);
  // Geometric growth: one Enter in a huge text must not reallocate the whole array.
  if (count_ + NumLines > capacity_)
    SetCapacity(std::max(count_ + NumLines, capacity_ + (capacity_ > 64 ? capacity_ / 4 : 16)));
  const int longest = KnownLongestLength();
  MoveRecords(Index, Index + NumLines, count_ - Index);
  for (int i = Index; i < Index + NumLines; ++i) list_[i] = TCodeEditStringRec{};
  count_ += NumLines;
  ShiftLongestLine(Index, NumLines);
  KeepLongestLine(Index, longest);
  FireLines(OnLinesInserted, Index, NumLines);
}

void TCodeEditStringList::InsertStrings(int Index, const std::vector<std::string_view>& Texts) {
  CheckIndex(Index, count_);
  const int number = static_cast<int>(Texts.size());
  if (number == 0) return;
  UpdateScope update(*this);
  if (count_ + number > capacity_)
    SetCapacity(std::max(count_ + number, capacity_ + (capacity_ > 64 ? capacity_ / 4 : 16)));
  MoveRecords(Index, Index + number, count_ - Index);
  for (std::string_view text : Texts) textBytes_ += static_cast<int64_t>(text.size());
  // A long run shares one block, as a loaded text does, unless another block is in use: a
  // heap block per line costs more than the copy.
  if (number >= SharedRunLines && loadedLineCount_ == 0 && !loading_) {
    size_t total = 0;
    for (std::string_view text : Texts) total += text.size();
    std::string block;
    block.reserve(total);
    for (std::string_view text : Texts) block += text;
    loadedText_ = std::move(block);
    size_t offset = 0;
    for (int i = 0; i < number; ++i) {
      const size_t size = Texts[i].size();
      list_[Index + i] = TCodeEditStringRec{TCodeEditLineText::Slice(loadedText_.data() + offset, size)};
      loadedLineCount_ += size > 0;
      offset += size;
    }
    if (loadedLineCount_ == 0) std::string().swap(loadedText_);
  } else {
    for (int i = 0; i < number; ++i) list_[Index + i] = TCodeEditStringRec{TCodeEditLineText(Texts[i])};
  }
  count_ += number;
  ShiftLongestLine(Index, number);
  for (int i = Index; i < Index + number; ++i) KeepLongestLine(i, KnownLongestLength());
  FireLines(OnLinesInserted, Index, number);
}

void TCodeEditStringList::Delete(int Index) {
  CheckIndex(Index, count_ - 1);
  UpdateScope update(*this);
  ReplaceText(list_[Index], TCodeEditLineText());
  list_[Index] = TCodeEditStringRec{};
  MoveRecords(Index + 1, Index, count_ - Index - 1);
  --count_;
  list_[count_] = TCodeEditStringRec{};
  ForgetDeletedLongestLine(Index, 1);
  FireLines(OnLinesDeleted, Index, 1);
}

void TCodeEditStringList::DeleteLines(int Index, int NumLines) {
  if (NumLines <= 0) return;
  CheckIndex(Index, count_);
  int number = std::min(NumLines, count_ - Index);
  UpdateScope update(*this);
  for (int i = Index; i < Index + number; ++i) ReplaceText(list_[i], TCodeEditLineText());
  MoveRecords(Index + number, Index, count_ - Index - number);
  for (int i = count_ - number; i < count_; ++i) list_[i] = TCodeEditStringRec{};
  count_ -= number;
  ForgetDeletedLongestLine(Index, number);
  FireLines(OnLinesDeleted, Index, number);
}

void TCodeEditStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, count_ - 1);
  CheckIndex(Index2, count_ - 1);
  UpdateScope update(*this);
  std::swap(list_[Index1], list_[Index2]);
  if (indexOfLongestLine_ == Index1)
    indexOfLongestLine_ = Index2;
  else if (indexOfLongestLine_ == Index2)
    indexOfLongestLine_ = Index1;
}

void TCodeEditStringList::Clear() {
  if (count_ > 0) {
    UpdateScope update(*this);
    list_.reset();
    count_ = 0;
    textBytes_ = 0;
    capacity_ = 0;
    std::string().swap(loadedText_);
    loadedLineCount_ = 0;
    ++textChanges_;
    rangesScanned_ = 0;
    if (OnCleared) OnCleared(this);
  }
  indexOfLongestLine_ = -1;
}

void TCodeEditStringList::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream);
}

void TCodeEditStringList::LoadFromStream(TStream& Stream) {
  UpdateScope update(*this);
  Stream.SetPosition(0);
  std::string data = Stream.ReadAll();
  const bool endsWithBreak = !data.empty() && (data.back() == '\r' || data.back() == '\n');
  const TLoadCount lines = CountLoadedLines(data, false);
  bool sawCr = false, sawLf = false;
  AddLoadedLines(std::move(data), lines.Lines, sawCr, sawLf);
  if (!trailingLineBreak_ && endsWithBreak) Add(std::string());
  lineBreaks_ = sawCr && !sawLf ? tlbCr : sawLf && !sawCr ? tlbLf : tlbCrLf;
}

void TCodeEditStringList::SetTextStr(const std::string& Value) {
  UpdateScope update(*this);
  const TLoadCount lines = CountLoadedLines(Value, true);
  bool sawCr = false, sawLf = false;
  AddLoadedLines(Value.substr(0, lines.Used), lines.Lines, sawCr, sawLf);
}

void TCodeEditStringList::SetText(std::string&& Value) {
  UpdateScope update(*this);
  const TLoadCount lines = CountLoadedLines(Value, true);
  Value.resize(lines.Used);
  bool sawCr = false, sawLf = false;
  AddLoadedLines(std::move(Value), lines.Lines, sawCr, sawLf);
}

namespace {
// The first byte from P on that Wanted (a test of bytes below 14) accepts, or End.
template <class F>
const char* FindControlByte(const char* P, const char* End, F Wanted) {
  P = FindByteBelow14(P, End);
  while (P < End && !Wanted(*P)) P = FindByteBelow14(P + 1, End);
  return P;
}

bool IsBreakOrTab(char C) { return C == '\r' || C == '\n' || C == '\t'; }

// Where the next line starts after a line ending at P: one CR, then one LF, is skipped.
size_t NextLineStart(std::string_view Text, size_t P, bool& SawCr, bool& SawLf) {
  if (P < Text.size() && Text[P] == '\r') { ++P; SawCr = true; }
  if (P < Text.size() && Text[P] == '\n') { ++P; SawLf = true; }
  return P;
}
}  // namespace

// A line runs to the next CR or LF or the end of the text; when a zero byte ends the text,
// a line cut by it counts and the text is used up to it.
TCodeEditStringList::TLoadCount TCodeEditStringList::CountLoadedLines(std::string_view Text,
                                                                     bool StopAtZero) {
  const char* const base = Text.data();
  const TLineBreakCount breaks = CountLineBreaks(base, base + Text.size(), StopAtZero);
  const size_t used = static_cast<size_t>(breaks.End - base);
  const bool lastLineUnbroken = used > 0 && base[used - 1] != '\r' && base[used - 1] != '\n';
  return {static_cast<int>(breaks.Breaks) + lastLineUnbroken, used};
}

// The lines become slices of the loaded text, with their display lengths measured on the
// way, and are added one by one with their events, as Add would add them. The text is freed
// when no line uses it any more, but not before all lines are in: a handler that changes a
// line meanwhile must not take the text from the lines still to come.
void TCodeEditStringList::AddLoadedLines(std::string Text, int Lines, bool& SawCr, bool& SawLf) {
  Clear();
  if (Lines + 1 > capacity_) SetCapacity(Lines + 1);  // room for one more empty last line
  loadedText_ = std::move(Text);
  const unsigned changes = ++textChanges_;
  struct TLoading {
    TCodeEditStringList& list;
    bool saved = list.loading_;
    explicit TLoading(TCodeEditStringList& List) : list(List) { list.loading_ = true; }
    ~TLoading() {
      list.loading_ = saved;
      if (!saved && list.loadedLineCount_ == 0) std::string().swap(list.loadedText_);
    }
  } loading(*this);
  const std::string_view text = loadedText_;
  const char* const base = text.data();
  const char* const end = base + text.size();
  for (size_t start = 0; start < text.size();) {
    const char* const first = base + start;
    const char* p = FindControlByte(first, end, IsBreakOrTab);
    const bool hasTabs = p < end && *p == '\t';
    int extraColumns = 0;
    for (; p < end && *p == '\t'; p = FindControlByte(p + 1, end, IsBreakOrTab))
      extraColumns += TabColumns(static_cast<int>(p - first) + extraColumns, tabWidth_) - 1;
    const size_t size = static_cast<size_t>(p - first);
    if (count_ == capacity_) Grow();  // a handler may have added lines
    TCodeEditStringRec& rec = list_[count_];
    rec = TCodeEditStringRec{TCodeEditLineText::Slice(first, size)};
    rec.ExpandedLength = static_cast<int32_t>(size) + extraColumns;
    rec.SetFlags({hasTabs ? TCodeEditStringFlag::HasTabs : TCodeEditStringFlag::HasNoTabs});
    loadedLineCount_ += size > 0;
    textBytes_ += static_cast<int64_t>(size);
    ++count_;
    FireLines(OnLinesInserted, count_ - 1, 1);
    if (textChanges_ != changes) return;  // a handler cleared the list or loaded another text
    start = NextLineStart(text, static_cast<size_t>(p - base), SawCr, SawLf);
  }
}

void TCodeEditStringList::SaveToStream(TStream& Stream) const {
  if (count_ == 0) return;
  std::string text = JoinLines(BreakBytes(lineBreaks_), trailingLineBreak_);
  Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TCodeEditStringList::SaveToFile(const std::string& FileName) const {
  TCodeEditFileWriter writer(FileName);
  writer.SetLineBreaks(lineBreaks_);
  for (int i = 0; i < count_; ++i) {
    if (i + 1 == count_ && !trailingLineBreak_)
      writer.Write(list_[i].Text.View());
    else
      writer.WriteLine(list_[i].Text.View());
  }
  writer.Flush();
}

intptr_t TCodeEditStringList::GetRange(int Index) const {
  if (Index < 0 || Index >= count_) return 0;
  return list_[Index].Range;
}

void TCodeEditStringList::SetRange(int Index, intptr_t Range) const {
  CheckIndex(Index, count_ - 1);
  list_[Index].Range = Range;
}

// Counts the columns without building the expanded text, so that only the length and the
// flags are cached.
void TCodeEditStringList::ComputeExpanded(const TCodeEditStringRec& Rec) const {
  bool hasTabs = false;
  Rec.ExpandedLength = ::ExpandedLength(Rec.Text.View(), tabWidth_, hasTabs);
  Rec.SetFlags({hasTabs ? TCodeEditStringFlag::HasTabs : TCodeEditStringFlag::HasNoTabs});
}

const TCodeEditStringRec& TCodeEditStringList::RecWithKnownLength(int Index) const {
  const TCodeEditStringRec& rec = list_[Index];
  if (rec.Flags().Contains(TCodeEditStringFlag::ExpandedLengthUnknown)) ComputeExpanded(rec);
  return rec;
}

std::string TCodeEditStringList::GetExpandedString(int Index) const {
  if (Index < 0 || Index >= count_) return std::string();
  const TCodeEditStringRec& rec = RecWithKnownLength(Index);
  if (rec.Flags().Contains(TCodeEditStringFlag::HasNoTabs)) return std::string(rec.Text.View());
  bool hasTabs = false;
  return tabExpander_(std::string(rec.Text.View()), tabWidth_, hasTabs);
}

std::string_view TCodeEditStringList::ExpandedView(int Index, std::string& Scratch) const {
  if (Index < 0 || Index >= count_) return {};
  const TCodeEditStringRec& rec = RecWithKnownLength(Index);
  if (rec.Flags().Contains(TCodeEditStringFlag::HasNoTabs)) return rec.Text.View();
  ExpandTabsInto(rec.Text.View(), tabWidth_, Scratch);
  return Scratch;
}

int TCodeEditStringList::GetExpandedStringLength(int Index) const {
  if (Index < 0 || Index >= count_) return 0;
  return RecWithKnownLength(Index).ExpandedLength;
}

bool TCodeEditStringList::HasTabs(int Index) const {
  if (Index < 0 || Index >= count_) return false;
  return RecWithKnownLength(Index).Flags().Contains(TCodeEditStringFlag::HasTabs);
}

int TCodeEditStringList::GetLengthOfLongestLine() const {
  if (indexOfLongestLine_ < 0) {
    int best = -1;
    for (int i = 0; i < count_; ++i) {
      int length = GetExpandedStringLength(i);
      if (length > best) {
        best = length;
        indexOfLongestLine_ = i;
      }
    }
  }
  return indexOfLongestLine_ < 0 ? 0 : GetExpandedStringLength(indexOfLongestLine_);
}

int TCodeEditStringList::KnownLongestLength() const {
  return indexOfLongestLine_ < 0 ? -1 : GetExpandedStringLength(indexOfLongestLine_);
}

void TCodeEditStringList::KeepLongestLine(int Index, int Longest) {
  if (indexOfLongestLine_ < 0) return;
  const int length = GetExpandedStringLength(Index);
  if (Index == indexOfLongestLine_) {
    // It shrank: another line may be the longest now.
    if (length < Longest) indexOfLongestLine_ = -1;
  } else if (length > Longest || (length == Longest && Index < indexOfLongestLine_)) {
    indexOfLongestLine_ = Index;
  }
}

void TCodeEditStringList::ShiftLongestLine(int Index, int Number) {
  if (indexOfLongestLine_ >= Index) indexOfLongestLine_ += Number;
}

void TCodeEditStringList::ForgetDeletedLongestLine(int Index, int Number) {
  if (indexOfLongestLine_ >= Index + Number)
    indexOfLongestLine_ -= Number;
  else if (indexOfLongestLine_ >= Index)
    indexOfLongestLine_ = -1;
}

void TCodeEditStringList::SetTabWidth(int Value) {
  if (Value == tabWidth_) return;
  tabWidth_ = Value;
  tabExpander_ = GetTabExpanderProcEx(Value);
  indexOfLongestLine_ = -1;
  for (int i = 0; i < count_; ++i) {
    TCodeEditStringRec& rec = list_[i];
    rec.ExpandedLength = -1;
    rec.SetFlags(rec.Flags()
                     .Exclude(TCodeEditStringFlag::HasNoTabs)
                     .Include(TCodeEditStringFlag::ExpandedLengthUnknown));
  }
}

// --- buffered writer ---------------------------------------------------------------------

TCodeEditFiler::TCodeEditFiler(std::unique_ptr<TStream> Stream)
    : buffer_(16384, '\0'), stream_(std::move(Stream)), uncaughtAtStart_(std::uncaught_exceptions()) {}

TCodeEditFiler::~TCodeEditFiler() noexcept(false) {
  if (std::uncaught_exceptions() == uncaughtAtStart_) Flush();
}

void TCodeEditFiler::Flush() {
  if (fillPos_ == 0) return;
  stream_->WriteBuffer(buffer_.data(), static_cast<int32_t>(fillPos_));
  fillPos_ = 0;
}

// The buffer grows to hold text and break together, so a line just below the buffer size
// followed by its break never runs past the end.
void TCodeEditFiler::Append(std::string_view Text, const char* Break) {
  size_t breakLen = std::strlen(Break);
  size_t needed = Text.size() + breakLen;
  if (fillPos_ + needed > buffer_.size()) {
    Flush();
    if (needed > buffer_.size()) buffer_.resize(needed);
  }
  std::memcpy(buffer_.data() + fillPos_, Text.data(), Text.size());
  std::memcpy(buffer_.data() + fillPos_ + Text.size(), Break, breakLen);
  fillPos_ += needed;
}

TCodeEditFileWriter::TCodeEditFileWriter(const std::string& FileName)
    : TCodeEditFiler(std::make_unique<TFileStream>(FileName, fmCreate)) {}

void TCodeEditFileWriter::Write(std::string_view Text) { Append(Text, ""); }

void TCodeEditFileWriter::WriteLine(std::string_view Text) { Append(Text, BreakBytes(LineBreaks())); }
