// The page file and the scan loops of the web-page benchmarks.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "support/WebPageText.h"

#include "BenchText.h"

namespace webbench {

inline volatile uint32_t sink;

// Writes MixedPage's lines over and over into a file of about Size bytes, CR LF after every
// line, in pieces of about 1 MB; the same Size always gives the same bytes.
inline bool WriteMixedPageFile(const std::string& Name, size_t Size) {
  std::string piece;
  for (const std::string& line : testsupport::MixedPage(1u << 20)) piece += line + "\r\n";
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (size_t written = 0; ok && written < Size; written += piece.size()) {
    DWORD done = 0;
    ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr) && done == piece.size();
  }
  CloseHandle(file);
  return ok;
}

// The baseline: looks at every byte once, classifying it as a scanner at least must.
inline double ByteLoopSeconds(int Rounds, const std::vector<std::string>& Lines) {
  return BestSeconds(Rounds, [&] {
    uint32_t sum = 0;
    for (const std::string& line : Lines)
      for (unsigned char c : line) sum += (c == '<') + (c == '&');
    sink = sum;
  });
}

// One pass as the editor makes it: restore the line's start state, SetLine, go through the
// line with Walk, keep the end state.
template <class W>
void ScanLines(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines, W Walk) {
  Highlighter.ResetRange();
  TCodeHighlighterRange range = Highlighter.GetRange();
  for (size_t i = 0; i < Lines.size(); ++i) {
    Highlighter.SetRange(range);
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    Walk();
    range = Highlighter.GetRange();
  }
}

// The pass of painting and export: every token with its kind, place and attribute; returns
// the token count.
inline size_t ScanAll(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines) {
  uint32_t sum = 0;
  size_t tokens = 0;
  ScanLines(Highlighter, Lines, [&] {
    for (; !Highlighter.AtLineEnd(); Highlighter.NextToken(), ++tokens) {
      sum += Highlighter.GetTokenKind() + Highlighter.GetTokenPos();
      sum += Highlighter.GetTokenAttribute() != nullptr;
    }
  });
  sink = sum;
  return tokens;
}

// The pass of the line states: only each line's end state.
inline void ScanStates(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines) {
  ScanLines(Highlighter, Lines, [&] { Highlighter.SkipToLineEnd(); });
}

}  // namespace webbench
