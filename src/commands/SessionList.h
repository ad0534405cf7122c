// The document list of a session file: one line per document, its fields separated by tabs.
#pragma once
#include <string>
#include <vector>
#include "rtl/StringList.h"

struct TSessionEntry {
  std::string FileName;
  int SelStart = 1;
  int SelLength = 0;
  int TopLine = 1;
};

// The entries of the lines that name a file (trimmed); missing or unreadable numbers give the
// defaults above. A hand-edited list may hold anything: no line is refused.
std::vector<TSessionEntry> ParseSessionList(const TStrings& Lines);
