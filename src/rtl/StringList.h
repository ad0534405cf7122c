// String lists with the semantics the program's units rely on: an abstract base whose
// generic operations work through a few virtual primitives, and the concrete list.
#pragma once
#ifdef _WIN32
// windows.h maps GetObject to GetObjectA; take it in first and drop the macro, so that
// the list's GetObject means the same in every file (GDI callers name GetObjectA).
#include <windows.h>
#undef GetObject
#endif
#include <string>
#include <vector>
#include "rtl/Classes.h"
#include "rtl/Streams.h"

// Abstract list of lines, each with an object slot. Line breaks in Text are CR LF.
class TStrings : public TObject {
public:
  ~TStrings() override = default;

  // Primitives a derived list provides.
  virtual std::string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* Object);
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(int /*NewCapacity*/) {}
  virtual std::string GetTextStr() const;
  virtual void SetTextStr(const std::string& Value);
  virtual void SetUpdateState(bool /*Updating*/) {}
  virtual int Add(const std::string& S);
  virtual void AddStrings(const TStrings& Strings);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Exchange(int Index1, int Index2);
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual int IndexOf(const std::string& S) const;
  virtual void LoadFromFile(const std::string& FileName);
  virtual void LoadFromStream(TStream& Stream);
  virtual void SaveToFile(const std::string& FileName) const;
  virtual void SaveToStream(TStream& Stream) const;

  // Generic operations built on the primitives.
  int Count() const { return GetCount(); }
  int Capacity() const { return GetCapacity(); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  std::string operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* Object) { PutObject(Index, Object); }
  // Every line followed by CR LF (the last one too).
  std::string Text() const { return GetTextStr(); }
  // Splits at CR LF, LF and CR; a zero byte ends the text; a final break adds no line.
  void SetText(const std::string& Value) { SetTextStr(Value); }

  int AddObject(const std::string& S, TObject* Object);
  void InsertObject(int Index, const std::string& S, TObject* Object);
  void Append(const std::string& S) { Add(S); }
  void Assign(const TStrings& Source);
  void Move(int CurIndex, int NewIndex);
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(const TObject* Object) const;
  bool Equals(const TStrings& Other) const;

  // "Name=Value" lines.
  std::string Names(int Index) const;
  std::string Values(const std::string& Name) const;
  // An empty value deletes the line; a new name is added at the end.
  void SetValues(const std::string& Name, const std::string& Value);
  std::string ValueFromIndex(int Index) const;

  // Items separated by commas; items with blanks, control characters, commas or quotes quoted.
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

protected:
  // How two lines compare for IndexOf and friends; case-insensitive here.
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;

private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// The concrete list: optionally sorted, case-insensitive unless CaseSensitive is set.
class TStringList : public TStrings {
public:
  TStringList() = default;
  TStringList(const TStringList& Other);
  TStringList& operator=(const TStringList& Other);

  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* Object) override;
  int GetCapacity() const override { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int NewCapacity) override;
  void SetUpdateState(bool Updating) override;
  int Add(const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  void Insert(int Index, const std::string& S) override;
  int IndexOf(const std::string& S) const override;

  // Binary search of a sorted list: true when found; Index is where S is or would go.
  bool Find(const std::string& S, int& Index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  int CompareStrings(const std::string& S1, const std::string& S2) const override;
  void Changed();
  void Changing();

private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void CheckIndex(int Index, int Limit) const;
  void InsertItem(int Index, const std::string& S, TObject* Object);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};
