// Exports highlighted text as an XHTML document, a fragment of one, or clipboard HTML.
#pragma once
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "printing/CodeEditExport.h"

// The style class of an attribute's unique name: lower case, "." and "_" as "-", only a to z,
// digits and single "-" kept ("--" would end the comment the style sheet sits in).
std::string HTMLClassName(const std::string& UniqueAttriName);
// "#RRGGBB" of a colour, system colours resolved.
std::string HTMLColor(TColor Color);

class TCodeExporterHTML : public TCodeCustomExporter {
public:
  explicit TCodeExporterHTML(TComponent* Owner);

  // Leaves out the document around the text in the document form (ExportAsText).
  bool CreateHTMLFragment() const { return createHTMLFragment_; }
  void SetCreateHTMLFragment(bool Value) { createHTMLFragment_ = Value; }

  // The 99 named entities of the replacement table, by character code (empty: none).
  static std::string EntityName(unsigned char Char);

protected:
  void WriteAttributeEnd(bool BackgroundChanged, bool ForegroundChanged,
                         TFontStyles FontStylesChanged) override;
  void WriteAttributeStart(bool BackgroundChanged, bool ForegroundChanged,
                           TFontStyles FontStylesChanged) override;
  void WriteAfterLastAttribute() override;
  void WriteBeforeFirstAttribute(bool BackgroundChanged, bool ForegroundChanged,
                                 TFontStyles FontStyles) override;
  void WriteNewLine() override;
  std::string GetFooterText() override;
  std::string GetFormatName() override;
  std::string GetHeaderText() override;
  void ApplyTokenAttribute(TCodeHighlighterAttributes* Attri) override;

private:
  // A class for every attribute of the highlighter: those of the attribute enumeration, then
  // those only the highlighter's own list holds (a mixed page's markers).
  void CollectClassNames();
  // The attribute's class; one the lists did not hold gets its own, and a rule.
  const std::string& ClassOf(TCodeHighlighterAttributes* Attri);
  // Gives Attri a class from Name unless it has one, numbered when another has the name.
  void AddClass(TCodeHighlighterAttributes* Attri, const std::string& Name);
  std::string StyleRules();
  std::string DocumentHeader();
  // The "HTML Format" description with the byte offsets of the document and the fragment.
  std::string ClipboardDescription(size_t HeaderLength, size_t BodyLength);

  bool createHTMLFragment_ = false;
  TCodeHighlighterAttributes* attri_ = nullptr;  // the current token's
  // The classes in the order of their rules.
  std::vector<std::pair<TCodeHighlighterAttributes*, std::string>> classes_;
  std::map<const TCodeHighlighterAttributes*, size_t> classIndex_;
  std::set<std::string> classNamesUsed_;
};
