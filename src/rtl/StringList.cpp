#include "rtl/StringList.h"
#include <algorithm>
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"

namespace {
void ListIndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

bool NeedsQuotes(const std::string& S) {
  for (unsigned char c : S)
    if (c <= ' ' || c == '"' || c == ',') return true;
  return false;
}
}  // namespace

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::PutObject(int, TObject*) {}

std::string TStrings::GetTextStr() const {
  size_t size = 0;
  int count = GetCount();
  for (int i = 0; i < count; ++i) size += Get(i).size() + 2;
  std::string result;
  result.reserve(size);
  for (int i = 0; i < count; ++i) {
    result += Get(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetTextStr(const std::string& Value) {
  BeginUpdate();
  Clear();
  const char* p = Value.c_str();  // a zero byte ends the text
  while (*p) {
    const char* start = p;
    while (*p && *p != '\r' && *p != '\n') ++p;
    Add(std::string(start, p));
    if (*p == '\r') ++p;
    if (*p == '\n') ++p;
  }
  EndUpdate();
}

int TStrings::Add(const std::string& S) {
  int index = GetCount();
  Insert(index, S);
  return index;
}

void TStrings::AddStrings(const TStrings& Strings) {
  BeginUpdate();
  for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  std::string s = Get(Index1);
  TObject* o = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s);
  PutObject(Index2, o);
  EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::LoadFromStream(TStream& Stream) {
  BeginUpdate();
  SetTextStr(Stream.ReadAll());
  EndUpdate();
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::SaveToStream(TStream& Stream) const {
  std::string text = GetTextStr();
  Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

int TStrings::AddObject(const std::string& S, TObject* Object) {
  int count = GetCount();
  int index = Add(S);
  // A sorted list that ignored S as a duplicate keeps the object of the line it has.
  if (GetCount() > count) PutObject(index, Object);
  return index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* Object) {
  Insert(Index, S);
  PutObject(Index, Object);
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  BeginUpdate();
  Clear();
  AddStrings(Source);
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  std::string s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
  EndUpdate();
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < GetCount(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && CompareStrings(s.substr(0, eq), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* Object) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == Object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& Other) const {
  if (GetCount() != Other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

std::string TStrings::Names(int Index) const {
  std::string s = Get(Index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    if (i < 0) i = Add("");
    Put(i, Name + "=" + Value);
  } else if (i >= 0) {
    Delete(i);
  }
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string s = Get(Index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

std::string TStrings::CommaText() const {
  int count = GetCount();
  if (count == 1 && Get(0).empty()) return "\"\"";
  std::string result;
  for (int i = 0; i < count; ++i) {
    if (i > 0) result += ',';
    std::string s = Get(i);
    result += NeedsQuotes(s) ? AnsiQuotedStr(s, '"') : s;
  }
  return result;
}

void TStrings::SetCommaText(const std::string& Value) {
  BeginUpdate();
  Clear();
  size_t p = 0, n = Value.size();
  auto isBlank = [&](size_t i) {
    return i < n && static_cast<unsigned char>(Value[i]) >= 1 &&
           static_cast<unsigned char>(Value[i]) <= ' ';
  };
  while (isBlank(p)) ++p;
  while (p < n && Value[p] != '\0') {
    std::string item;
    if (Value[p] == '"') {
      ++p;  // quoted: doubled quotes stand for one
      while (p < n) {
        if (Value[p] == '"') {
          if (p + 1 < n && Value[p + 1] == '"') { item += '"'; p += 2; continue; }
          ++p;
          break;
        }
        item += Value[p++];
      }
    } else {
      size_t start = p;
      while (p < n && static_cast<unsigned char>(Value[p]) > ' ' && Value[p] != ',') ++p;
      item.assign(Value, start, p - start);
    }
    Add(item);
    while (isBlank(p)) ++p;
    if (p < n && Value[p] == ',') {
      if (p + 1 >= n) Add("");
      do ++p; while (isBlank(p));
    }
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);  // before counting, so Changing still fires
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return AnsiCompareText(S1, S2);
}

// --- TStringList -----------------------------------------------------------------

TStringList::TStringList(const TStringList& Other)
    : TStrings(), items_(Other.items_), sorted_(Other.sorted_),
      caseSensitive_(Other.caseSensitive_), duplicates_(Other.duplicates_) {}

TStringList& TStringList::operator=(const TStringList& Other) {
  if (this != &Other) {
    Changing();
    items_ = Other.items_;
    sorted_ = Other.sorted_;
    caseSensitive_ = Other.caseSensitive_;
    duplicates_ = Other.duplicates_;
    Changed();
  }
  return *this;
}

void TStringList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) ListIndexError(Index);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, GetCount());
  return items_[Index].text;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, GetCount());
  return items_[Index].object;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index, GetCount());
  Changing();
  items_[Index].text = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* Object) {
  CheckIndex(Index, GetCount());
  Changing();
  items_[Index].object = Object;
  Changed();
}

void TStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity < GetCount())
    throw EStringListError("List capacity out of bounds (" + std::to_string(NewCapacity) + ")");
  items_.reserve(NewCapacity);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

int TStringList::Add(const std::string& S) {
  int index = GetCount();
  if (sorted_ && Find(S, index)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError)
      throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, S, nullptr);
  return index;
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  items_.shrink_to_fit();
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, GetCount());
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, GetCount());
  CheckIndex(Index2, GetCount());
  Changing();
  std::swap(items_[Index1], items_[Index2]);
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index, GetCount() + 1);
  InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* Object) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, Object});
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(items_[mid].text, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != TDuplicates::dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

void TStringList::Sort() {
  if (GetCount() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
    return CompareStrings(a.text, b.text) < 0;
  });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (caseSensitive_ == Value) return;
  caseSensitive_ = Value;
  if (sorted_) Sort();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}
