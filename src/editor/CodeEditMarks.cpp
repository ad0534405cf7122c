#include "editor/CodeEditMarks.h"
#include <algorithm>
#include <stdexcept>

ICodeEditMarkHost* TCodeEditMark::GetEdit() {
  if (edit_ && edit_->Marks().IndexOf(this) < 0) edit_ = nullptr;
  return edit_;
}

void TCodeEditMark::SetChar(int Value) { char_ = Value; }

void TCodeEditMark::SetImage(int Value) {
  if (imageIndex_ == Value) return;
  imageIndex_ = Value;
  if (visible_) RepaintGutterLine(line_);
}

void TCodeEditMark::SetBuiltInGlyph(bool Value) {
  if (builtInGlyph_ == Value) return;
  builtInGlyph_ = Value;
  if (visible_) RepaintGutterLine(line_);
}

void TCodeEditMark::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  // Showing and hiding both change the gutter.
  RepaintGutterLine(line_);
}

void TCodeEditMark::SetLine(int Value) {
  if (visible_ && edit_) {
    if (line_ > 0) RepaintGutterLine(line_);
    RepaintGutterLine(Value);
  }
  line_ = Value;
}

void TCodeEditMark::RepaintGutterLine(int ALine) const {
  if (edit_) edit_->RepaintGutterLines(ALine, ALine);
}

int TCodeEditMarkList::IndexOf(const TCodeEditMark* Mark) const {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [Mark](const auto& Item) { return Item.get() == Mark; });
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TCodeEditMark* TCodeEditMarkList::Add(std::unique_ptr<TCodeEditMark> Mark) {
  items_.push_back(std::move(Mark));
  TCodeEditMark* added = items_.back().get();
  Changed();
  return added;
}

std::unique_ptr<TCodeEditMark> TCodeEditMarkList::Remove(TCodeEditMark* Mark) {
  const int index = IndexOf(Mark);
  if (index < 0) return nullptr;
  std::unique_ptr<TCodeEditMark> removed = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  Changed();
  return removed;
}

void TCodeEditMarkList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw std::out_of_range("mark index out of range");
  items_.erase(items_.begin() + Index);
  Changed();
}

void TCodeEditMarkList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

TCodeEditMarks TCodeEditMarkList::MarksOfLine(int Line) const {
  TCodeEditMarks marks{};
  size_t found = 0;
  for (const auto& mark : items_) {
    if (found == marks.size()) break;
    if (mark->Line() == Line) marks[found++] = mark.get();
  }
  return marks;
}

void TCodeEditMarkList::LinesInserted(int FirstLine, int Count) {
  for (const auto& mark : items_)
    if (mark->Line() >= FirstLine) mark->SetLine(mark->Line() + Count);
}

void TCodeEditMarkList::LinesDeleted(int FirstLine, int Count) {
  // Deleting the first line is reported behind line 0; its marks stay on line 1, where the
  // user can still reach them.
  const int target = std::max(FirstLine, 1);
  for (const auto& mark : items_) {
    const int line = mark->Line();
    if (line >= FirstLine + Count)
      mark->SetLine(std::max(line - Count, 1));
    else if (line > FirstLine)
      mark->SetLine(target);
  }
}

void TCodeEditMarkList::Changed() {
  if (OnChange) OnChange(this);
}
