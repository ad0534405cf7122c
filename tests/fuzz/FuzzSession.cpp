// Input: a session file. The documents it lists, saved as the program saves a session and
// read again, must come back the same, and so must the active document's name.
#include <string>
#include <vector>
#include "FuzzTargets.h"
#include "commands/SessionList.h"
#include "documents/XmlDoc.h"
#include "rtl/SysUtils.h"

namespace {
struct TSession {
  std::vector<TSessionEntry> Entries;
  std::string Active;
};

// As the program loads a session file, past the file itself.
TSession ReadSession(const std::string& Text) {
  TXmlDoc doc;
  TXmlReader reader(Text);
  doc.Root()->ReadFromStream(reader, "");
  TStringList lines;
  lines.SetText(Trim(doc.ReadString("Session\\LastDocList", "")));
  return {ParseSessionList(lines), doc.ReadString("Session\\LastDocFileName", "")};
}

// The file's text, as the program saves a session; empty when it cannot be.
std::string WriteSession(const TSession& Session) {
  TStringList lines;
  for (const TSessionEntry& e : Session.Entries)
    lines.Add(e.FileName + "\t" + IntToStr(e.SelStart) + "\t" + IntToStr(e.SelLength) + "\t" +
              IntToStr(e.TopLine));
  TXmlDoc doc;
  doc.WriteString("Session\\LastDocList", Trim(lines.Text()));
  doc.WriteString("Session\\LastDocFileName", Session.Active);
  TMemoryStream out;
  return doc.SaveToStream(out, 2, true) ? out.DataString() : std::string();
}

std::string CheckEntries(const TSession& Session) {
  for (const TSessionEntry& e : Session.Entries)
    if (e.FileName.empty() || Trim(e.FileName) != e.FileName ||
        e.FileName.find_first_of("\t\r\n") != std::string::npos)
      return "a listed file name is empty, untrimmed or holds a separator";
  return {};
}

bool SameEntries(const std::vector<TSessionEntry>& A, const std::vector<TSessionEntry>& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i].FileName != B[i].FileName || A[i].SelStart != B[i].SelStart ||
        A[i].SelLength != B[i].SelLength || A[i].TopLine != B[i].TopLine)
      return false;
  return true;
}
}  // namespace

std::string FuzzSessionFile(const std::string& Data) {
  const TSession read = ReadSession(Data);
  if (std::string fault = CheckEntries(read); !fault.empty()) return fault;
  const std::string saved = WriteSession(read);
  if (saved.empty()) return "a session could not be saved";
  const TSession back = ReadSession(saved);
  if (!SameEntries(read.Entries, back.Entries)) return "the documents saved read back differently";
  if (read.Active != back.Active) return "the active document's name read back differently";
  return {};
}
