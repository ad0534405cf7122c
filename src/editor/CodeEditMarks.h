// Glyphs attached to buffer lines and shown in the editor's gutter, and the list that owns a
// control's marks.
#pragma once
#include <array>
#include <memory>
#include <vector>
#include "rtl/Classes.h"

class TCodeEditMarkList;

// What marks need from the control that shows them. TCustomCodeEdit's members of the same
// names implement it.
class ICodeEditMarkHost {
public:
  // The list of all the control's marks.
  virtual TCodeEditMarkList& Marks() const = 0;
  virtual void RepaintGutterLines(int FirstLine, int LastLine) = 0;

protected:
  ~ICodeEditMarkHost() = default;
};

// A glyph on a buffer line (Line and Char 1-based). A bookmark is a mark with a slot 0..9.
class TCodeEditMark : public TObject {
public:
  explicit TCodeEditMark(ICodeEditMarkHost* AOwner) : edit_(AOwner) {}

  // The owner, or nullptr (forgotten for good) once the owner's list no longer holds the mark.
  virtual ICodeEditMarkHost* GetEdit();
  int Char() const { return char_; }
  virtual void SetChar(int Value);
  // The glyph index; for a bookmark its number.
  int ImageIndex() const { return imageIndex_; }
  virtual void SetImage(int Value);
  int Line() const { return line_; }
  virtual void SetLine(int Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  // Drawn from the control's ten built-in glyphs instead of the bookmark image list.
  bool BuiltInGlyph() const { return builtInGlyph_; }
  void SetBuiltInGlyph(bool Value);
  // -1 for a plain mark.
  int BookmarkSlot() const { return bookmarkSlot_; }
  void SetBookmarkSlot(int Value) { bookmarkSlot_ = Value; }
  bool HasBookmarkSlot() const { return bookmarkSlot_ >= 0; }

private:
  void RepaintGutterLine(int ALine) const;

  ICodeEditMarkHost* edit_;
  int line_ = 0;
  int char_ = 0;
  int imageIndex_ = 0;
  bool visible_ = false;
  bool builtInGlyph_ = false;
  int bookmarkSlot_ = -1;
};

// The marks of one line, in list order, the unused entries nullptr.
using TCodeEditMarks = std::array<TCodeEditMark*, 16>;

// Owns its marks: a mark deleted from the list is freed. Every change fires OnChange, which
// the control answers by repainting its gutter.
class TCodeEditMarkList : public TObject {
public:
  TCodeEditMarkList() = default;
  // Frees the marks without firing OnChange.
  ~TCodeEditMarkList() override = default;
  TCodeEditMarkList(const TCodeEditMarkList&) = delete;
  TCodeEditMarkList& operator=(const TCodeEditMarkList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // A bad index raises std::out_of_range, as for Delete.
  TCodeEditMark* Items(int Index) const { return items_.at(Index).get(); }
  // -1 when the list does not hold the mark.
  int IndexOf(const TCodeEditMark* Mark) const;
  // Appends the mark and takes it over.
  TCodeEditMark* Add(std::unique_ptr<TCodeEditMark> Mark);
  // Takes the mark out and hands it back; nullptr when the list does not hold it.
  std::unique_ptr<TCodeEditMark> Remove(TCodeEditMark* Mark);
  // Frees the mark at Index.
  void Delete(int Index);
  // Frees every mark.
  void Clear();
  // The first 16 marks of the line.
  TCodeEditMarks MarksOfLine(int Line) const;

  // Marks follow their lines. Inserting moves the marks from FirstLine on down by Count.
  // Deleting moves the marks from FirstLine + Count on up by Count and those in between
  // (FirstLine < Line < FirstLine + Count) onto FirstLine. No mark moves above line 1.
  void LinesInserted(int FirstLine, int Count);
  void LinesDeleted(int FirstLine, int Count);

  TNotifyEvent OnChange;

private:
  void Changed();

  std::vector<std::unique_ptr<TCodeEditMark>> items_;
};
