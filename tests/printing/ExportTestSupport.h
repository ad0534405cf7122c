// Shared pieces of the exporter tests: a per-character highlighter, an in-memory clipboard and
// line lists.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "rtl/StringList.h"
#include "toolkit/Clipboard.h"

namespace exporttest {

// Every character is a token; its attribute is the one registered for it (none otherwise).
class TCharHighlighter : public TCodeCustomHighlighter {
public:
  explicit TCharHighlighter(TComponent* Owner = nullptr) : TCodeCustomHighlighter(Owner) {}
  static const TCodeHighlighterClass& StaticClass() {
    static const TCodeHighlighterClass info{"TCharHighlighter",
                                            &TCodeCustomHighlighter::StaticClass(),
                                            &TCodeCustomHighlighter::GetLanguageName,
                                            &TCodeCustomHighlighter::GetCapabilities};
    return info;
  }
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* Define(char Ch, const std::string& Name, TColor Foreground,
                                     TFontStyles Style = {}, TColor Background = clNone) {
    auto attr = std::make_unique<TCodeHighlighterAttributes>(Name);
    attr->SetForeground(Foreground);
    attr->SetBackground(Background);
    attr->SetStyle(Style);
    return byChar_[Ch] = AddAttribute(std::move(attr));
  }
  TCodeHighlighterAttributes* WhiteSpace = nullptr;

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override {
    return Index == 4 ? WhiteSpace : nullptr;
  }
  bool AtLineEnd() const override { return pos_ >= line_.size(); }
  std::string GetToken() const override { return line_.substr(pos_, 1); }
  TCodeHighlighterAttributes* GetTokenAttribute() const override {
    auto it = byChar_.find(line_[pos_]);
    return it == byChar_.end() ? nullptr : it->second;
  }
  int GetTokenKind() const override { return 0; }
  int GetTokenPos() const override { return static_cast<int>(pos_); }
  void NextToken() override { ++pos_; }
  void SetLine(const std::string& NewValue, int LineNumber) override {
    line_ = NewValue;
    pos_ = 0;
    LineNumbers.push_back(LineNumber);
  }
  void ResetRange() override { ++Resets; }

  std::vector<int> LineNumbers;
  int Resets = 0;

private:
  std::map<char, TCodeHighlighterAttributes*> byChar_;
  std::string line_;
  size_t pos_ = 0;
};

// The clipboard as a map of formats; it can be told to refuse opening or storing.
class TFakeClipboard : public TClipboard {
public:
  TFakeClipboard() { SetClipboardOverride(this); }
  ~TFakeClipboard() override { SetClipboardOverride(nullptr); }
  bool Open(HWND) override { return !RefuseOpen && (open_ = true); }
  void Close() override { open_ = false; }
  bool Empty() override {
    Data.clear();
    return open_;
  }
  std::optional<std::string> GetData(UINT Format) override {
    auto it = Data.find(Format);
    if (it == Data.end()) return std::nullopt;
    return it->second;
  }
  bool SetData(UINT Format, const std::string& Bytes) override {
    if (!open_ || RefuseStore) return false;
    Data[Format] = Bytes;
    return true;
  }
  bool HasFormat(UINT Format) override { return Data.count(Format) != 0; }

  std::map<UINT, std::string> Data;
  bool RefuseOpen = false;
  bool RefuseStore = false;

private:
  bool open_ = false;
};

inline TStringList Lines(const std::vector<std::string>& Items) {
  TStringList list;
  for (const std::string& s : Items) list.Add(s);
  return list;
}

}  // namespace exporttest
