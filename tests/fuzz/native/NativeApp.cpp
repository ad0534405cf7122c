// Native stand-ins for the program pieces around the hot-key reader: plain text files (the
// reader's own work starts at the lines) and shortcut values.
#include <cstdio>
#include "documents/fMain.h"
#include "foundation/fMain.h"
#include "rtl/Exception.h"
#include "toolkit/ShortCut.h"

bool LoadTextFile(const std::string& FileName, TLineBreakFormat& LineBreak, TFileFormat& FileFormat,
                  std::string& Text) {
  FILE* f = std::fopen(FileName.c_str(), "rb");
  if (!f) throw EStreamError("Cannot open file \"" + FileName + "\"");
  Text.clear();
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) Text.append(chunk, n);
  std::fclose(f);
  for (char& c : Text)
    if (c == '\0') c = ' ';
  LineBreak = lbfWindows;
  FileFormat = ffAnsi;
  return true;
}

bool SaveTextFile(const std::string& FileName, const std::string& Text, TLineBreakFormat, TFileFormat) {
  FILE* f = std::fopen(FileName.c_str(), "wb");
  if (!f) throw EStreamError("Cannot create file \"" + FileName + "\"");
  bool ok = std::fwrite(Text.data(), 1, Text.size(), f) == Text.size();
  return std::fclose(f) == 0 && ok;
}

TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
  if (Key > 0xFF) return scNone;
  TShortCut r = Key;
  if (Shift.Contains(TShift::ssShift)) r |= scShift;
  if (Shift.Contains(TShift::ssCtrl)) r |= scCtrl;
  if (Shift.Contains(TShift::ssAlt)) r |= scAlt;
  return r;
}

std::string StripAccelChars(const std::string& Caption) {
  std::string r = ReplaceAll(Caption, "&&", "\x03", false);
  std::string out;
  for (char c : r)
    if (c != '&') out += c == '\x03' ? '&' : c;
  return out;
}
