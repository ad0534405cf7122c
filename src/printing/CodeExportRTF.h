// Exports highlighted text as Rich Text Format.
#pragma once
#include <vector>
#include "printing/CodeEditExport.h"

class TCodeExporterRTF : public TCodeCustomExporter {
public:
  explicit TCodeExporterRTF(TComponent* Owner);
  ~TCodeExporterRTF() override;

  void Clear() override;
  // Upper bytes that start no double-byte character are escaped one by one.
  void SetLeadByteTest(TCodeLeadByteTest Test) override;

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
  std::string FormatDoubleByteChar(unsigned char LeadByte, unsigned char TrailByte) override;
  std::string FormatLoneLeadByte(unsigned char LeadByte) override;

private:
  // The colour's index in the colour table, adding it when new.
  int ColorIndex(COLORREF Color);

  std::vector<COLORREF> colors_;  // in order of first use
  bool controlWordOpen_ = false;  // a control word written that still needs its blank
};
