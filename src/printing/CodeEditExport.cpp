#include "printing/CodeEditExport.h"
#include <algorithm>
#include "editor/CodeEditLineStates.h"
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditStrConst.h"
#include "rtl/Exception.h"
#include "toolkit/Abort.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"

namespace {
constexpr int kMaxInt = 0x7FFFFFFF;
}  // namespace

TCodeCustomExporter::TCodeCustomExporter(TComponent* Owner)
    : TComponent(Owner), title_(CES_Untitled) {
  AssignDefaultFont();
  TCodeCustomExporter::Clear();
}

TCodeCustomExporter::~TCodeCustomExporter() {
  if (highlighter_) RemoveFreeNotification(highlighter_);
}

void TCodeCustomExporter::AssignDefaultFont() {
  font_.SetName("Courier New");
  font_.SetSize(10);
  font_.SetColor(clWindowText);
  font_.SetStyle({});
}

void TCodeCustomExporter::Clear() {
  buffer_.clear();
  lastBackground_ = ColorToRGB(clWindow);
  lastForeground_ = ColorToRGB(clWindowText);
  lastStyle_ = {};
}

void TCodeCustomExporter::SetExportAsText(bool Value) {
  if (exportAsText_ == Value) return;
  exportAsText_ = Value;
  Clear();
}

void TCodeCustomExporter::SetFont(const TFont* Value) {
  if (Value)
    font_.Assign(*Value);
  else
    AssignDefaultFont();
}

void TCodeCustomExporter::SetHighlighter(TCodeCustomHighlighter* Value) {
  if (highlighter_ != Value) {
    if (highlighter_) RemoveFreeNotification(highlighter_);
    highlighter_ = Value;
    if (highlighter_) FreeNotification(highlighter_);
  }
  Clear();
  ApplyUseBackground();
}

void TCodeCustomExporter::SetTitle(const std::string& Value) {
  title_ = Value.empty() ? std::string(CES_Untitled) : Value;
}

void TCodeCustomExporter::SetUseBackground(bool Value) {
  useBackground_ = Value;
  ApplyUseBackground();
}

// A white-space background of clNone means "the editor's colour": the exporter keeps its own.
void TCodeCustomExporter::ApplyUseBackground() {
  if (!useBackground_ || !highlighter_) return;
  const TCodeHighlighterAttributes* space = highlighter_->GetDefaultAttribute(4);
  if (space && space->Background() != clNone) color_ = space->Background();
}

void TCodeCustomExporter::Notification(TComponent* AComponent) {
  if (AComponent == highlighter_) highlighter_ = nullptr;
}

void TCodeCustomExporter::ExportAll(const TStrings* ALines) {
  ExportRange(ALines, BufferCoord(1, 1), BufferCoord(kMaxInt, kMaxInt));
}

void TCodeCustomExporter::ExportRange(const TStrings* ALines, TBufferCoord Start,
                                      TBufferCoord Stop) {
  if (!ALines || !highlighter_ || ALines->Count() == 0) Abort();
  const int count = ALines->Count();
  if (Start.Line < 1 || Start.Line > count || Start.Line > Stop.Line) Abort();
  Stop.Line = std::clamp(Stop.Line, 1, count);
  const std::string lastLine = ALines->Get(Stop.Line - 1);
  Stop.Char = std::clamp(Stop.Char, 1, static_cast<int>(lastLine.size()) + 1);
  const std::string firstLine = Start.Line == Stop.Line ? lastLine : ALines->Get(Start.Line - 1);
  Start.Char = std::clamp(Start.Char, 1, static_cast<int>(firstLine.size()) + 1);
  if (Start.Line == Stop.Line && Start.Char >= Stop.Char) Abort();

  buffer_.clear();
  buffer_.reserve(std::max<size_t>(4096, static_cast<size_t>(Stop.Line - Start.Line) * 128));
  // A range inside a comment or an embedded passage keeps the colours it has on screen.
  StartHighlighterAtLine(*highlighter_, *ALines, Start.Line - 1);
  firstAttribute_ = true;
  colorRGB_ = ColorToRGB(color_);
  fontColorRGB_ = ColorToRGB(font_.Color());
  for (int i = Start.Line; i <= Stop.Line; ++i) {
    // Breaks go between lines: the text ends where its last line ends, and a text ending in
    // a line break has an empty last line after it.
    if (i > Start.Line) WriteNewLine();
    std::string line = i == Stop.Line ? lastLine.substr(0, Stop.Char - 1) : ALines->Get(i - 1);
    ExportLine(line, i - 1, i == Start.Line ? Start.Char - 1 : 0);
  }
  if (!firstAttribute_) WriteAfterLastAttribute();
  PrependText(GetHeaderText());
  AppendText(GetFooterText());
}

void TCodeCustomExporter::ExportLine(const std::string& Line, int Index, int Skip) {
  highlighter_->SetLine(Line, Index);
  for (; !highlighter_->AtLineEnd(); highlighter_->NextToken()) {
    std::string text = highlighter_->GetToken();
    const int pos = highlighter_->GetTokenPos();
    if (pos < Skip) {
      if (pos + static_cast<int>(text.size()) <= Skip) continue;  // before the range
      text.erase(0, Skip - pos);
    }
    ApplyTokenAttribute(highlighter_->GetTokenAttribute());
    WriteToken(ReplaceReservedChars(text));
  }
}

std::string TCodeCustomExporter::ReplaceReservedChars(const std::string& Text) {
  std::string result;
  result.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(Text[i]);
    if (replacements_[c]) {
      result += *replacements_[c];
    } else if (isLeadByte_ && isLeadByte_(c)) {
      if (i + 1 < Text.size() && Text[i + 1] != '\0')
        result += FormatDoubleByteChar(c, static_cast<unsigned char>(Text[++i]));
      else
        result += FormatLoneLeadByte(c);
    } else {
      result += static_cast<char>(c);
    }
  }
  return result;
}

COLORREF TCodeCustomExporter::TokenBackground(const TCodeHighlighterAttributes* Attri) const {
  TColor c = Attri ? Attri->Background() : clNone;
  return c == clNone ? colorRGB_ : ColorToRGB(c);
}

COLORREF TCodeCustomExporter::TokenForeground(const TCodeHighlighterAttributes* Attri) const {
  TColor c = Attri ? Attri->Foreground() : clNone;
  return c == clNone ? fontColorRGB_ : ColorToRGB(c);
}

void TCodeCustomExporter::ApplyTokenAttribute(TCodeHighlighterAttributes* Attri) {
  const COLORREF background = TokenBackground(Attri);
  const COLORREF foreground = TokenForeground(Attri);
  const TFontStyles style = Attri ? Attri->Style() : TFontStyles{};
  if (firstAttribute_) {
    lastBackground_ = background;
    lastForeground_ = foreground;
    lastStyle_ = style;
    firstAttribute_ = false;
    WriteBeforeFirstAttribute(useBackground_ && background != colorRGB_,
                              foreground != fontColorRGB_, style);
    return;
  }
  const bool backgroundChanged = useBackground_ && background != lastBackground_;
  const bool foregroundChanged = foreground != lastForeground_;
  if (!backgroundChanged && !foregroundChanged && style == lastStyle_) return;
  WriteAttributeEnd(backgroundChanged, foregroundChanged, lastStyle_ - style);
  const TFontStyles added = style - lastStyle_;
  lastBackground_ = background;
  lastForeground_ = foreground;
  lastStyle_ = style;
  WriteAttributeStart(backgroundChanged, foregroundChanged, added);
}

void TCodeCustomExporter::WriteToken(const std::string& Token) { AppendText(Token); }

UINT TCodeCustomExporter::GetClipboardFormat() { return clipboardFormat_; }

std::string TCodeCustomExporter::GetFormatName() { return std::string(); }

std::string TCodeCustomExporter::FormatDoubleByteChar(unsigned char LeadByte,
                                                      unsigned char TrailByte) {
  return {static_cast<char>(LeadByte), static_cast<char>(TrailByte)};
}

std::string TCodeCustomExporter::FormatLoneLeadByte(unsigned char LeadByte) {
  return std::string(1, static_cast<char>(LeadByte));
}

void TCodeCustomExporter::PrependText(const std::string& Text) {
  const size_t needed = buffer_.size() + Text.size();
  if (needed > buffer_.capacity()) buffer_.reserve((needed + 6144) / 4096 * 4096);
  buffer_.insert(0, Text);
}

void TCodeCustomExporter::SaveToStream(TStream& Stream) const {
  if (!buffer_.empty()) Stream.WriteBuffer(buffer_.data(), static_cast<int32_t>(buffer_.size()));
}

void TCodeCustomExporter::CopyToClipboard() {
  TClipboard& clipboard = Clipboard();
  // Emptying a clipboard opened without an owner window makes the system refuse the data.
  if (!clipboard.Open(Application().MainWindow())) throw Exception("Cannot open clipboard");
  clipboard.Empty();
  const bool stored = exportAsText_ ? WriteClipboardText(clipboard, buffer_)
                                    : clipboard.SetData(GetClipboardFormat(), buffer_ + '\0');
  clipboard.Close();
  if (!stored) Abort();
}
