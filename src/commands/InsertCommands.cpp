#include "commands/InsertCommands.h"
#include <objbase.h>
#include <algorithm>
#include <optional>
#include <cstdio>
#include "commands/TemplateVariables.h"
#include "commands/Templates.h"
#include "commands/clsSnippets.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/fMain.h"
#include "rtl/DateTimeFormat.h"
#include "rtl/SysUtils.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"

namespace {

constexpr DWORD ConsoleTimeoutMs = 10000;
const std::string NoSelect(1, '\0');

// The clipboard's text without its terminating zero; empty when there is none.
std::string ClipboardPlainText() {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.HasFormat(CF_TEXT) || !clipboard.Open(nullptr)) return std::string();
  const std::optional<std::string> text = ReadClipboardText(clipboard);
  clipboard.Close();
  return text.value_or(std::string());
}

}  // namespace

std::string CurrentDateTimeText(TDateTimePart Part) {
  const TFormatSettings locale = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  const TDateTime now = ReadClock().Local;
  const std::string date = FormatDateTime(locale.ShortDateFormat, now, locale);
  const std::string time = FormatDateTime(locale.LongTimeFormat, now, locale);
  switch (Part) {
    case TDateTimePart::Date: return date;
    case TDateTimePart::Time: return time;
    default: return date + " " + time;
  }
}

std::string NewGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return std::string();
  char text[40];
  std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

void InsertConsoleOutput() {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  std::string command;
  if (!InputQuery(GetLangText("Main|InpConCmdTitle", "Konsolenausgabe einf\xFCgen"),
                  GetLangText("Main|InpConCmdText", "Geben Sie den Konsolenbefehl ein, dessen "
                                                    "Ausgabe eingef\xFCgt werden soll:"),
                  command, TInputKind::Name) ||
      command.empty())
    return;
  const bool oemFont = editor->Font().Charset() == OEM_CHARSET;
  std::string output;
  {
    THourglass hourglass;
    output = RunConsoleCommand(command, ConsoleTimeoutMs, oemFont);
  }
  InsertText(output, "", "");
}

void InsertClipboardAtLines(TCustomCodeEdit* Editor, bool AtLineStart) {
  if (!CanWriteDocument(Editor)) return;
  const std::string clip = ClipboardPlainText();
  if (clip.empty()) return;
  TCodeEditStringList& lines = Editor->Lines();
  if (lines.Count() == 0) return;
  THourglass hourglass;
  if (!Editor->SelAvail()) Editor->SelectAll();
  const int first = Editor->BlockBegin().Line;
  const int last = std::min(Editor->BlockEnd().Line, lines.Count());
  std::string text;
  size_t size = 0;
  for (int line = first; line <= last; ++line) size += lines[line - 1].size() + clip.size() + 2;
  text.reserve(size);
  for (int line = first; line <= last; ++line) {
    if (line > first) text += "\r\n";
    if (AtLineStart) text += clip;
    text += lines[line - 1];
    if (!AtLineStart) text += clip;
  }
  codeeditscopes::TUndoBlock block(Editor->UndoList(), true);
  Editor->SetBlockBegin({1, first});
  Editor->SetBlockEnd({static_cast<int>(lines[last - 1].size()) + 1, last});
  Editor->SetSelText(text);
}

void InsertTextTemplate(const std::string& Name) {
  TfraEdit* frame = GetActiveFrame();
  if (!TemplatesDoc || !frame || Name.empty()) return;
  const std::string path = "Templates\\" + Name + "\\";
  std::string before, select, after;
  try {
    before = TemplatesDoc->ReadString(path + "Before", "");
    select = TemplatesDoc->ReadString(path + "Select", "");
    after = TemplatesDoc->ReadString(path + "After", "");
  } catch (const ERangeError&) {
    return;  // a name the store cannot hold as a path names no template
  }
  before = ExpandVariables(before, frame);
  select = ExpandVariables(select, frame);
  after = ExpandVariables(after, frame);
  if (Trim(before + select + after).empty()) return;
  InsertText(before, select, after);
}

bool InsertSnippet(const TSnip& Snips, const std::string& Key, TfraEdit* Frame) {
  if (!Frame) return false;
  TSnipRecord record;
  Snips.Find(Key, record);
  if (record.Name.empty()) return false;
  const std::string start = ExpandVariables(record.Start, Frame);
  const std::string select =
      record.Select == NoSelect ? NoSelect : ExpandVariables(record.Select, Frame);
  const std::string end = ExpandVariables(record.End, Frame);
  InsertText(start, select, end);
  return true;
}

std::string SnippetHint(const TSnip& Snips, const std::string& Key, TfraEdit* Frame) {
  TSnipRecord record;
  Snips.Find(Key, record);
  if (record.Name.empty()) return std::string();
  const std::string text = ExpandVariables(record.Start, Frame, TExpandMode::Preview) +
                           ExpandVariables(record.Select, Frame, TExpandMode::Preview) +
                           ExpandVariables(record.End, Frame, TExpandMode::Preview);
  return ReplaceAll(text, NoSelect, "{...}", false);
}
