// Reading and writing the universal highlighter's rule files.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

namespace {

enum class TTagId {
  AnyTerm, Attri, Author, Back, CaseSensitive, CloseOnEol, CloseOnTerm, CloseSymbol, Company,
  Copyright, Date, Def, DelimiterChars, Email, FileTypeName, Fore, General, H, History, Info, KW,
  Layout, Name, Num, OpenSymbol, Range, Remark, Revision, S, Sample, Style, Type,
  UniversalHighlighter, Version, W, Web, Unknown
};

constexpr std::array<const char*, 36> kTagNames = {
    "AnyTerm", "Attri", "Author", "Back", "CaseSensitive", "CloseOnEol", "CloseOnTerm",
    "CloseSymbol", "Company", "Copyright", "Date", "Def", "DelimiterChars", "Email",
    "FileTypeName", "Fore", "General", "H", "History", "Info", "KW", "Layout", "Name", "Num",
    "OpenSymbol", "Range", "Remark", "Revision", "S", "Sample", "Style", "Type",
    "UniversalHighlighter", "Version", "W", "Web"};

const char* TagName(TTagId Id) { return kTagNames[static_cast<size_t>(Id)]; }

TTagId LookUpTag(const std::string& Name) {
  for (size_t i = 0; i < kTagNames.size(); ++i)
    if (SameText(Name, kTagNames[i])) return static_cast<TTagId>(i);
  return TTagId::Unknown;
}

// Ranges nested deeper than any language needs are refused: every level costs stack in
// reading, preparing and freeing.
constexpr int kMaxRangeDepth = 100;

constexpr const char* kAttribution =
    "Rule file of the universal highlighter. Rules and colours belong to their authors.";

std::string Escape(const std::string& S) {
  std::string r;
  for (char c : S) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '"': r += "&qt;"; break;
      case '>': r += "&gt;"; break;
      default: r += c;
    }
  }
  return r;
}

std::string Unescape(const std::string& S) {
  static const std::pair<const char*, char> escapes[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&qt;", '"'}, {"&amp;", '&'}};
  std::string r;
  for (size_t i = 0; i < S.size();) {
    bool replaced = false;
    if (S[i] == '&')
      for (auto [code, c] : escapes)
        if (S.compare(i, std::char_traits<char>::length(code), code) == 0) {
          r += c;
          i += std::char_traits<char>::length(code);
          replaced = true;
          break;
        }
    if (!replaced) r += S[i++];
  }
  return r;
}

TFontStyles ReadStyle(const std::string& Value) {
  TFontStyles style;
  if (Value.find('B') != std::string::npos) style.Include(TFontStyle::fsBold);
  if (Value.find('I') != std::string::npos) style.Include(TFontStyle::fsItalic);
  if (Value.find('U') != std::string::npos) style.Include(TFontStyle::fsUnderline);
  if (Value.find('S') != std::string::npos) style.Include(TFontStyle::fsStrikeOut);
  return style;
}

bool ReadBool(const std::string& Value) { return LowerCase(Value) == "true"; }

// Written as a plain number: with a time part it carries the decimal separator, read back too.
TDateTime ReadDate(const std::string& Value) {
  int whole = 0;
  if (TryStrToInt(Value, whole)) return whole;
  double value = 0;
  return TryStrToFloat(Value, value) && std::isfinite(value) ? value : 0;
}

struct TTag {
  TTagId Id = TTagId::Unknown;
  std::string Name;
  bool Closing = false;
  std::string Param;
};

class TRuleReader {
public:
  TRuleReader(const std::string& Text, TCodeUniversalHighlighter& H) : text_(Text), h_(H) {}

  void Read() {
    TTag tag;
    if (!NextTag(tag) || tag.Closing || tag.Id != TTagId::UniversalHighlighter)
      throw ECodeRuleFileError("Highlighter header tag (\"<UniversalHighlighter>\") was not found.");
    for (;;) {
      if (!NextTag(tag)) EndOfText(TTagId::UniversalHighlighter);
      if (tag.Id == TTagId::Unknown) continue;
      if (tag.Closing) {
        if (tag.Id == TTagId::UniversalHighlighter) return;
        throw ECodeRuleFileError("Closing tag: /UniversalHighlighter was not found. Line " +
                                 std::to_string(line_));
      }
      switch (tag.Id) {
        case TTagId::Copyright: ReadValue(tag); break;
        case TTagId::Info: ReadInfo(); break;
        case TTagId::Range:
          h_.Root().SetName(tag.Param);
          ReadRange(h_.Root(), 1);
          break;
        default: break;  // passed over
      }
    }
  }

private:
  [[noreturn]] void EndOfText(TTagId Open) const {
    throw ECodeRuleFileError(std::string("Unexpected end of file: tag ") + TagName(Open) +
                             " is not closed. Line " + std::to_string(line_));
  }
  [[noreturn]] void EndOfLine() const {
    throw ECodeRuleFileError("Unexpected end of line. Line " + std::to_string(line_));
  }
  [[noreturn]] void Unexpected(const TTag& Tag) const {
    throw ECodeRuleFileError("Unexpected tag: " + std::string(Tag.Closing ? "/" : "") + Tag.Name +
                             " line " + std::to_string(line_));
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  // Files written with LF alone are as common as CR LF ones: both end a tag's or value's line.
  bool AtLineBreak() const { return text_[pos_] == '\r' || text_[pos_] == '\n'; }
  // Counts a line break: CR LF, a lone CR or a lone LF.
  void CountLineBreak() {
    char c = text_[pos_];
    if (c == '\r' || (c == '\n' && (pos_ == 0 || text_[pos_ - 1] != '\r'))) ++line_;
  }

  // The next tag; false at the end of the text.
  bool NextTag(TTag& Tag) {
    while (!AtEnd() && text_[pos_] != '<') {
      CountLineBreak();
      ++pos_;
    }
    if (AtEnd()) return false;
    ++pos_;
    Tag = TTag{};
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (!AtEnd() && text_[pos_] == '/') {
      Tag.Closing = true;
      ++pos_;
    }
    size_t nameStart = pos_;
    while (!AtEnd() && text_[pos_] != '>' && text_[pos_] != '\r' &&
           static_cast<unsigned char>(text_[pos_]) > ' ')
      ++pos_;
    Tag.Name = text_.substr(nameStart, pos_ - nameStart);
    Tag.Id = LookUpTag(Tag.Name);
    // The tail up to ">": every text in double quotes is a parameter.
    for (;;) {
      if (AtEnd() || AtLineBreak()) EndOfLine();
      char c = text_[pos_];
      if (c == '>') {
        ++pos_;
        return true;
      }
      ++pos_;
      if (c != '"') continue;
      size_t close = text_.find('"', pos_);
      if (close == std::string::npos) {
        // Left open to the end of the text: the tag ends there, as a closing tag.
        Tag.Param += Unescape(text_.substr(pos_));
        pos_ = text_.size();
        Tag.Closing = true;
        return true;
      }
      // Searched only up to the quote: a text without line breaks must not be searched to
      // its end for every parameter.
      auto lineBreak = std::find_if(text_.begin() + pos_, text_.begin() + close,
                                    [](char C) { return C == '\r' || C == '\n'; });
      if (lineBreak != text_.begin() + close) {
        pos_ = lineBreak - text_.begin();
        EndOfLine();
      }
      Tag.Param += Unescape(text_.substr(pos_, close - pos_));
      pos_ = close + 1;
    }
  }

  // The value after the opening tag Open, up to "<", followed by Open's closing tag.
  std::string ReadValue(const TTag& Open) {
    size_t start = pos_;
    while (!AtEnd() && text_[pos_] != '<') {
      if (AtLineBreak()) EndOfLine();
      ++pos_;
    }
    if (AtEnd()) EndOfLine();
    std::string value = Unescape(text_.substr(start, pos_ - start));
    TTag close;
    if (!NextTag(close) || !close.Closing || close.Id != Open.Id)
      throw ECodeRuleFileError("Close tag: /" + Open.Name + " is not found. Line " +
                               std::to_string(line_));
    return value;
  }

  // Reads the tags of a group up to its closing tag; Content handles an allowed opening tag
  // and returns false for one not allowed there.
  void ReadGroup(TTagId Group, const std::function<bool(const TTag&)>& Content) {
    TTag tag;
    for (;;) {
      if (!NextTag(tag)) EndOfText(Group);
      if (tag.Closing) {
        if (tag.Id == Group) return;
        Unexpected(tag);
      }
      if (tag.Id == TTagId::Unknown)
        throw ECodeRuleFileError("Tag \"" + tag.Name + "\" is unknown (line " +
                                 std::to_string(line_) + ")");
      if (!Content(tag)) Unexpected(tag);
    }
  }

  // A group of value elements, each stored by its tag.
  void ReadValues(TTagId Group, std::initializer_list<std::pair<TTagId, std::string*>> Fields) {
    ReadGroup(Group, [&](const TTag& tag) {
      for (auto [id, field] : Fields)
        if (tag.Id == id) {
          *field = ReadValue(tag);
          return true;
        }
      return false;
    });
  }

  void ReadInfo() {
    TCodeUniInfo& info = h_.Info();
    ReadGroup(TTagId::Info, [&](const TTag& tag) {
      switch (tag.Id) {
        case TTagId::General:
          ReadValues(TTagId::General, {{TTagId::Name, &info.General.Name},
                                       {TTagId::FileTypeName, &info.General.FileTypeName},
                                       {TTagId::Layout, &info.General.Layout}});
          return true;
        case TTagId::Author:
          ReadValues(TTagId::Author, {{TTagId::Name, &info.Author.Name},
                                      {TTagId::Email, &info.Author.Email},
                                      {TTagId::Web, &info.Author.Web},
                                      {TTagId::Copyright, &info.Author.Copyright},
                                      {TTagId::Company, &info.Author.Company},
                                      {TTagId::Remark, &info.Author.Remark}});
          return true;
        case TTagId::Version: ReadVersion(); return true;
        case TTagId::History: ReadLines(TTagId::History, TTagId::H, h_.History()); return true;
        case TTagId::Sample: ReadLines(TTagId::Sample, TTagId::S, h_.Sample()); return true;
        default: return false;
      }
    });
  }

  void ReadVersion() {
    TCodeUniInfo::TVersion& v = h_.Info().Version;
    ReadGroup(TTagId::Version, [&](const TTag& tag) {
      switch (tag.Id) {
        case TTagId::Version: v.Version = StrToIntDef(ReadValue(tag), 0); return true;
        case TTagId::Revision: v.Revision = StrToIntDef(ReadValue(tag), 0); return true;
        case TTagId::Date: v.Date = ReadDate(ReadValue(tag)); return true;
        case TTagId::Type: {
          std::string type = ReadValue(tag);
          v.VersionType = type == "Beta" ? 1 : type == "Release" ? 2 : 0;
          return true;
        }
        default: return false;
      }
    });
  }

  void ReadLines(TTagId Group, TTagId Line, TStringList& Lines) {
    ReadGroup(Group, [&](const TTag& tag) {
      if (tag.Id != Line) return false;
      Lines.Add(ReadValue(tag));
      return true;
    });
  }

  void ReadAttri(TTagId Group, TCodeHighlighterAttributes& Attr) {
    ReadGroup(Group, [&](const TTag& tag) {
      switch (tag.Id) {
        case TTagId::Back: Attr.SetBackground(StrToIntDef(ReadValue(tag), 0)); return true;
        case TTagId::Fore: Attr.SetForeground(StrToIntDef(ReadValue(tag), 0)); return true;
        case TTagId::Style: Attr.SetStyle(ReadStyle(ReadValue(tag))); return true;
        default: return false;
      }
    });
  }

  void ReadKeywords(TCodeSymbolGroup& Group) {
    ReadGroup(TTagId::KW, [&](const TTag& tag) {
      switch (tag.Id) {
        case TTagId::Attri: ReadAttri(TTagId::Attri, *Group.Attribs()); return true;
        case TTagId::W: Group.KeywordsList().Add(ReadValue(tag)); return true;
        default: return false;
      }
    });
  }

  void ReadRange(TCodeRange& Range, int Depth) {
    if (Depth > kMaxRangeDepth)
      throw ECodeRuleFileError("Ranges are nested more than " + std::to_string(kMaxRangeDepth) +
                               " deep. Line " + std::to_string(line_));
    Range.SetCaseSensitive(false);
    ReadGroup(TTagId::Range, [&](const TTag& tag) {
      switch (tag.Id) {
        case TTagId::Def: ReadAttri(TTagId::Def, Range.DefaultAttri()); return true;
        case TTagId::Num: ReadAttri(TTagId::Num, Range.NumberAttri()); return true;
        case TTagId::OpenSymbol: Range.OpenSymbol().Name = ReadValue(tag); return true;
        case TTagId::CloseSymbol: Range.CloseSymbol().Name = ReadValue(tag); return true;
        case TTagId::DelimiterChars:
          Range.SetTermSymbols(CodeCharSet(ReadValue(tag)));
          return true;
        case TTagId::AnyTerm:
          Range.OpenSymbol().BrakeType = ReadBool(ReadValue(tag)) ? TSymbolBreakType::btAny
                                                                  : TSymbolBreakType::btTerm;
          return true;
        case TTagId::CloseOnTerm: Range.SetCloseOnTerm(ReadBool(ReadValue(tag))); return true;
        case TTagId::CloseOnEol: Range.SetCloseOnEol(ReadBool(ReadValue(tag))); return true;
        case TTagId::CaseSensitive: Range.SetCaseSensitive(ReadBool(ReadValue(tag))); return true;
        case TTagId::KW: ReadKeywords(*Range.AddSymbolGroup(tag.Param)); return true;
        case TTagId::Range: ReadRange(*Range.AddRange(tag.Param), Depth + 1); return true;
        default: return false;
      }
    });
  }

  const std::string& text_;
  TCodeUniversalHighlighter& h_;
  size_t pos_ = 0;
  int line_ = 0;
};

// ---------------------------------------------------------------------------------------------

class TRuleWriter {
public:
  explicit TRuleWriter(const TCodeUniversalHighlighter& H) : h_(H) {}

  std::string Write() {
    Open(0, "UniversalHighlighter");
    Open(1, "ImportantInfo");
    for (const char* line : {"******* Please read carefully *************************",
                             "* Please, make any changes in this file very carefuly!*",
                             "* It is much more convinient to use native designer!  *",
                             "*******************************************************"})
      Line(2, line);
    Close(1, "ImportantInfo");
    WriteInfo();
    WriteRange(h_.Root(), 1);
    Value(1, "CopyRight", kAttribution);
    Close(0, "UniversalHighlighter");
    return out_;
  }

private:
  void Line(int Indent, const std::string& Text) { out_ += std::string(Indent, ' ') + Text + '\n'; }
  void Open(int Indent, const std::string& Tag) { Line(Indent, "<" + Tag + ">"); }
  void Open(int Indent, const std::string& Tag, const std::string& Name) {
    Line(Indent, "<" + Tag + " Name=\"" + Escape(Name) + "\">");
  }
  void Close(int Indent, const std::string& Tag) { Line(Indent, "</" + Tag + ">"); }
  void Value(int Indent, const std::string& Tag, const std::string& Text) {
    Line(Indent, "<" + Tag + ">" + Escape(Text) + "</" + Tag + ">");
  }
  void Flag(int Indent, const std::string& Tag, bool On) {
    Value(Indent, Tag, On ? "True" : "False");
  }
  void Number(int Indent, const std::string& Tag, int N) { Value(Indent, Tag, std::to_string(N)); }

  void WriteInfo() {
    const TCodeUniInfo& info = h_.Info();
    Open(1, "Info");
    Open(2, "General");
    Value(3, "Name", info.General.Name);
    Value(3, "FileTypeName", info.General.FileTypeName);
    Value(3, "Layout", info.General.Layout);
    Close(2, "General");
    Open(2, "Author");
    Value(3, "Name", info.Author.Name);
    Value(3, "Email", info.Author.Email);
    Value(3, "Web", info.Author.Web);
    Value(3, "Copyright", info.Author.Copyright);
    Value(3, "Company", info.Author.Company);
    Value(3, "Remark", info.Author.Remark);
    Close(2, "Author");
    Open(2, "Version");
    Number(3, "Version", info.Version.Version);
    Number(3, "Revision", info.Version.Revision);
    Value(3, "Date", FloatToStr(info.Version.Date));
    static const char* const kTypes[] = {"Internal Test", "Beta", "Release"};
    int type = info.Version.VersionType;
    Value(3, "Type", kTypes[type >= 0 && type <= 2 ? type : 0]);
    Close(2, "Version");
    WriteLines(2, "History", "H", h_.History());
    WriteLines(2, "Sample", "S", h_.Sample());
    Close(1, "Info");
  }

  void WriteLines(int Indent, const std::string& Group, const std::string& Tag,
                  const TStringList& Lines) {
    Open(Indent, Group);
    for (int i = 0; i < Lines.Count(); ++i) Value(Indent + 1, Tag, Lines[i]);
    Close(Indent, Group);
  }

  void WriteAttri(int Indent, const std::string& Tag, const TCodeHighlighterAttributes& Attr) {
    Open(Indent, Tag);
    Number(Indent + 1, "Back", static_cast<int>(Attr.Background()));
    Number(Indent + 1, "Fore", static_cast<int>(Attr.Foreground()));
    std::string style;
    TFontStyles s = Attr.Style();
    if (s.Contains(TFontStyle::fsBold)) style += 'B';
    if (s.Contains(TFontStyle::fsItalic)) style += 'I';
    if (s.Contains(TFontStyle::fsUnderline)) style += 'U';
    if (s.Contains(TFontStyle::fsStrikeOut)) style += 'S';
    Value(Indent + 1, "Style", style);
    Close(Indent, Tag);
  }

  // "True" for an open symbol that needs no delimiter after it. Without a break type of its
  // own, the one preparing would give it: the file must read back to the same rules.
  static bool AnyTerm(const TCodeRange& Range, const TCodeRange* Parent) {
    const TCodeSymbol& open = Range.OpenSymbol();
    if (open.BrakeType != TSymbolBreakType::btUnspecified)
      return open.BrakeType == TSymbolBreakType::btAny;
    if (!Parent || open.Name.empty()) return false;
    char last = open.Name.back();
    return Parent->IsDelimiter(last) ||
           CodeCharSet(std::string("\0\t\n\r \xA2", 6)).test(static_cast<unsigned char>(last));
  }

  void WriteRange(const TCodeRange& Range, int Indent, const TCodeRange* Parent = nullptr) {
    Open(Indent, "Range", Range.Name());
    WriteAttri(Indent + 1, "Def", Range.DefaultAttri());
    WriteAttri(Indent + 1, "Num", Range.NumberAttri());
    Value(Indent + 1, "OpenSymbol", Range.OpenSymbol().Name);
    Value(Indent + 1, "CloseSymbol", Range.CloseSymbol().Name);
    std::string delimiters;
    for (int c = 1; c < 256; ++c)
      if (Range.TermSymbols().test(c) && c != 9 && c != 10 && c != 13 && c != 32 && c != 162)
        delimiters += static_cast<char>(c);
    Value(Indent + 1, "DelimiterChars", delimiters);
    Flag(Indent + 1, "AnyTerm", AnyTerm(Range, Parent));
    Flag(Indent + 1, "CloseOnTerm", Range.CloseOnTerm());
    Flag(Indent + 1, "CloseOnEol", Range.CloseOnEol());
    Flag(Indent + 1, "CaseSensitive", Range.CaseSensitive());
    for (int g = 0; g < Range.SymbolGroupCount(); ++g) {
      const TCodeSymbolGroup& group = *Range.SymbolGroups(g);
      Open(Indent + 1, "KW", group.Name());
      WriteAttri(Indent + 2, "Attri", *group.Attribs());
      for (int i = 0; i < group.KeywordsList().Count(); ++i)
        Value(Indent + 2, "W", group.KeywordsList()[i]);
      Close(Indent + 1, "KW");
    }
    for (int r = 0; r < Range.RangeCount(); ++r) WriteRange(*Range.Ranges(r), Indent + 1, &Range);
    Close(Indent, "Range");
  }

  const TCodeUniversalHighlighter& h_;
  std::string out_;
};

}  // namespace

void TCodeUniversalHighlighter::ParseRules(const std::string& Text) {
  TRuleReader(Text, *this).Read();
}

void TCodeUniversalHighlighter::LoadFromFile(const std::string& FileName) {
  std::unique_ptr<TFileStream> stream;
  try {
    if (FileName.empty()) throw ECodeRuleFileError("FileName is empty");
    stream = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
  } catch (...) {
    // The rules stay, but an editor treats every load attempt alike: it rescans.
    NotifyAttributesChanged(this);
    throw;
  }
  LoadFromStream(*stream);
}

void TCodeUniversalHighlighter::LoadFromStream(TStream& Stream) {
  // A reload describes a new language: nothing of the old one may linger in it.
  root_ = std::make_unique<TCodeRange>();
  root_->SetName("Root");
  Clear();
  info_ = TCodeUniInfo{};
  history_.Clear();
  sample_.Clear();
  try {
    ParseRules(Stream.ReadAll());
  } catch (...) {
    // The rules changed all the same, whatever stopped the reading: editors must not keep
    // the states of the old ones.
    NotifyAttributesChanged(this);
    throw;
  }
  NotifyAttributesChanged(this);
}

void TCodeUniversalHighlighter::SaveToStream(TStream& Stream) const {
  std::string text = TRuleWriter(*this).Write();
  Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

std::string TCodeUniversalHighlighter::Syntax() const { return TRuleWriter(*this).Write(); }

void TCodeUniversalHighlighter::SetSyntax(const std::string& Value) {
  TMemoryStream stream(Value);
  LoadFromStream(stream);
}

bool TCodeUniversalHighlighter::IsSyntaxStored() const { return Root().RangeCount() > 0; }
