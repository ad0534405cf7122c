// The base of the exporters: walks highlighted lines token by token and lets a format write them.
#pragma once
#include <windows.h>
#include <array>
#include <optional>
#include <string>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditTypes.h"
#include "rtl/Streams.h"
#include "rtl/StringList.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

class TCodeCustomExporter : public TComponent {
public:
  explicit TCodeCustomExporter(TComponent* Owner);
  ~TCodeCustomExporter() override;

  // ExportRange over every line.
  void ExportAll(const TStrings* ALines);
  // Exports the 1-based range Start..Stop (Stop.Char excluded), coloured as the whole text
  // is: the highlighter starts in the state the lines and characters before Start leave.
  // Without lines or highlighter,
  // with no lines, a start line outside the lines, a start line after the stop line or an
  // empty range on one line it raises the silent abort (EAbort) and the output keeps its
  // previous content. Stop is clamped to the text, Start.Char to its line.
  void ExportRange(const TStrings* ALines, TBufferCoord Start, TBufferCoord Stop);
  // Writes the whole output.
  void SaveToStream(TStream& Stream) const;
  // Places the output, zero-terminated, on the clipboard: as CF_TEXT when ExportAsText, else
  // in the exporter's format. Raises Exception when the clipboard cannot be opened and the
  // silent abort when the data cannot be stored.
  void CopyToClipboard();

  // The output of the last export.
  const std::string& Output() const { return buffer_; }

  TColor Color() const { return color_; }
  void SetColor(TColor Value) { color_ = Value; }
  const std::string& DefaultFilter() const { return defaultFilter_; }
  void SetDefaultFilter(const std::string& Value) { defaultFilter_ = Value; }
  bool ExportAsText() const { return exportAsText_; }
  void SetExportAsText(bool Value);
  const TFont& Font() const { return font_; }
  // Copies Value, or restores the default font for nullptr.
  void SetFont(const TFont* Value);
  TCodeCustomHighlighter* Highlighter() const { return highlighter_; }
  void SetHighlighter(TCodeCustomHighlighter* Value);
  const std::string& Title() const { return title_; }
  // An empty title restores the default.
  void SetTitle(const std::string& Value);
  bool UseBackground() const { return useBackground_; }
  void SetUseBackground(bool Value);
  // Which bytes start a double-byte character (none when nullptr); the system's by default.
  TCodeLeadByteTest LeadByteTest() const { return isLeadByte_; }
  virtual void SetLeadByteTest(TCodeLeadByteTest Test) { isLeadByte_ = Test; }
  std::string FormatName() { return GetFormatName(); }
  UINT ClipboardFormat() { return GetClipboardFormat(); }

protected:
  // The format hooks, in the order of their slots.
  virtual void WriteAttributeEnd(bool BackgroundChanged, bool ForegroundChanged,
                                 TFontStyles FontStylesChanged) = 0;
  virtual void WriteAttributeStart(bool BackgroundChanged, bool ForegroundChanged,
                                   TFontStyles FontStylesChanged) = 0;
  virtual void WriteAfterLastAttribute() = 0;
  virtual void WriteBeforeFirstAttribute(bool BackgroundChanged, bool ForegroundChanged,
                                         TFontStyles FontStyles) = 0;
  virtual void WriteToken(const std::string& Token);
  virtual void WriteNewLine() = 0;
  virtual UINT GetClipboardFormat();
  virtual std::string GetFooterText() = 0;
  virtual std::string GetFormatName();
  virtual std::string GetHeaderText() = 0;
  virtual std::string FormatDoubleByteChar(unsigned char LeadByte, unsigned char TrailByte);
  // A lead byte with no trail byte after it; the base copies it.
  virtual std::string FormatLoneLeadByte(unsigned char LeadByte);
  // Writes what changes from the last token's attribute to Attri (nullptr: default colours,
  // no style).
  virtual void ApplyTokenAttribute(TCodeHighlighterAttributes* Attri);

public:
  // Empties the output and forgets the attributes written.
  virtual void Clear();

protected:
  void Notification(TComponent* AComponent) override;

  void AppendText(const std::string& Text) { buffer_ += Text; }
  void AppendLineBreak() { buffer_ += "\r\n"; }
  void PrependText(const std::string& Text);
  size_t BufferSize() const { return buffer_.size(); }
  // Text with each character written as the replacement table says.
  std::string ReplaceReservedChars(const std::string& Text);
  void SetReplacement(unsigned char Char, const std::string& Text) { replacements_[Char] = Text; }
  void ClearReplacement(unsigned char Char) { replacements_[Char].reset(); }
  void SetClipboardFormat(UINT Format) { clipboardFormat_ = Format; }
  bool FirstAttribute() const { return firstAttribute_; }

  // The attribute state written so far, as RGB values.
  COLORREF LastBackground() const { return lastBackground_; }
  COLORREF LastForeground() const { return lastForeground_; }
  TFontStyles LastStyle() const { return lastStyle_; }

private:
  void AssignDefaultFont();
  void ApplyUseBackground();
  // The colours a token is shown in: clNone stands for the exporter's background and the
  // font colour.
  COLORREF TokenBackground(const TCodeHighlighterAttributes* Attri) const;
  COLORREF TokenForeground(const TCodeHighlighterAttributes* Attri) const;
  // Writes the tokens of a line without its first Skip characters.
  void ExportLine(const std::string& Line, int Index, int Skip);

  std::string buffer_;
  bool firstAttribute_ = true;
  TColor color_ = clWindow;
  UINT clipboardFormat_ = CF_TEXT;
  std::string defaultFilter_;
  bool exportAsText_ = false;
  TFont font_;
  TCodeCustomHighlighter* highlighter_ = nullptr;
  COLORREF colorRGB_ = 0;      // Color and the font colour, resolved once per export
  COLORREF fontColorRGB_ = 0;
  COLORREF lastBackground_ = 0;
  COLORREF lastForeground_ = 0;
  TFontStyles lastStyle_;
  std::array<std::optional<std::string>, 256> replacements_;
  std::string title_;
  bool useBackground_ = false;
  TCodeLeadByteTest isLeadByte_ = SystemLeadByteTest();
};
