#include "editor/TestCommentHighlighter.h"
#include <cctype>

namespace {

TCodeHighlighterAttributes* Add(TCodeCustomHighlighter& H, const char* Name) {
  return H.AddAttribute(std::make_unique<TCodeHighlighterAttributes>(Name));
}

bool IsWordChar(char C) {
  return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
}

}  // namespace

TCodeTestHighlighter::TCodeTestHighlighter(TComponent* Owner)
    : TCodeCustomHighlighter(Owner),
      comment_(Add(*this, "Comment")),
      identifier_(Add(*this, "Identifier")),
      key_(Add(*this, "Reserved Word")),
      space_(Add(*this, "Space")),
      symbol_(Add(*this, "Symbol")) {
  comment_->SetForeground(clGreen);
  key_->SetStyle({TFontStyle::fsBold});
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
}

const TCodeHighlighterClass& TCodeTestHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeTestHighlighter",
                                          &TCodeCustomHighlighter::StaticClass(),
                                          &TCodeTestHighlighter::GetLanguageName,
                                          &TCodeTestHighlighter::GetCapabilities};
  return info;
}

TCodeHighlighterAttributes* TCodeTestHighlighter::GetDefaultAttribute(int Index) const {
  switch (Index) {
    case 0: return comment_;
    case 1: return identifier_;
    case 2: return key_;
    case 4: return space_;
    case 5: return symbol_;
    default: return nullptr;
  }
}

bool TCodeTestHighlighter::IsKeyword(const std::string& AKeyword) const {
  return AKeyword == "begin" || AKeyword == "end";
}

TCodeHighlighterAttributes* TCodeTestHighlighter::GetTokenAttribute() const {
  switch (kind_) {
    case tkComment: return comment_;
    case tkIdentifier: return identifier_;
    case tkKey: return key_;
    case tkSpace: return space_;
    case tkSymbol: return symbol_;
    case tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeTestHighlighter::SetLine(const std::string& NewValue, int /*LineNumber*/) {
  line_ = NewValue;
  run_ = 0;
  NextToken();
}

void TCodeTestHighlighter::ScanComment() {
  kind_ = tkComment;
  while (run_ < line_.size()) {
    if (At(run_, "*/")) {
      run_ += 2;
      range_ = rsPlain;
      return;
    }
    ++run_;
  }
}

void TCodeTestHighlighter::NextToken() {
  start_ = run_;
  if (run_ >= line_.size()) {
    kind_ = tkNull;
  } else if (range_ == rsComment) {
    ScanComment();
  } else if (At(run_, "/*")) {
    run_ += 2;
    range_ = rsComment;
    ScanComment();
  } else if (line_[run_] == ' ' || line_[run_] == '\t') {
    kind_ = tkSpace;
    while (run_ < line_.size() && (line_[run_] == ' ' || line_[run_] == '\t')) ++run_;
  } else if (IsWordChar(line_[run_])) {
    while (run_ < line_.size() && IsWordChar(line_[run_])) ++run_;
    kind_ = IsKeyword(GetToken()) ? tkKey : tkIdentifier;
  } else {
    kind_ = tkSymbol;
    ++run_;
  }
}
