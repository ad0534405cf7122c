#include "commands/Templates.h"
#include <algorithm>
#include <vector>
#include "commands/TemplateVariables.h"
#include "documents/MainWindowParts.h"
#include "documents/StoreGuard.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/fMain.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"

std::unique_ptr<TXmlDoc> TemplatesDoc;

TNotifyEvent TemplateItemClick;

namespace {

constexpr int TemplateImage = 56;

// The template file's text; empty when it cannot be read. The reader's one closing break
// is not part of the template.
std::string ReadTemplate(const std::string& FileName, bool& Binary) {
  TLineBreakFormat lineBreak = lbfWindows;
  TFileFormat format = ffAnsi;
  std::string text;
  try {
    LoadTextFile(FileName, lineBreak, format, text);
  } catch (const EStreamError&) {
    return std::string();
  }
  Binary = format == ffBinary;
  const size_t appended = lineBreak == lbfWindows || lineBreak == lbfNetscape ? 2
                          : lineBreak == lbfUnix || lineBreak == lbfMacintosh ? 1
                                                                               : 0;
  text.resize(text.size() - std::min(appended, text.size()));
  return text;
}

bool BinaryTemplateAccepted(const std::string& FileName) {
  return MsgBox(GetLangText("Main|MsgNoTextFileText",
                            "Die Datei \"%s1%\" ist keine Textdatei%w%und kann m\xF6glicherweise "
                            "nicht richtig angezeigt oder gespeichert werden.%w%%w%M\xF6" "chten "
                            "Sie diese Datei dennoch einf\xFCgen?",
                            LangParams({FileName})),
                GetLangText("Main|MsgFileInsertTitle", "Datei einf\xFCgen"),
                MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

// The first match of Token in the template's own bytes of Text, compared in upper case.
size_t FindMarker(const TExpandedText& Text, const std::string& Upper, const std::string& Token,
                  size_t From = 0) {
  for (size_t p = Upper.find(Token, From); p != std::string::npos; p = Upper.find(Token, p + 1))
    if (Text.FromValue.find('\x01', p) >= p + Token.size()) return p;
  return std::string::npos;
}

// Moves the file to the first free name of "<name>.bak", "<name>.bak2", ...: the store then
// starts empty and its next save writes a new file, while the old one stays as it was.
// The name it got; empty when it could not be moved.
std::string SetFileAside(const std::string& FileName) {
  for (int n = 1; n < 100; ++n) {
    const std::string aside = FileName + ".bak" + (n > 1 ? IntToStr(n) : std::string());
    if (MoveFileA(FileName.c_str(), aside.c_str())) return aside;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  return std::string();
}

// Otherwise the templates would seem lost: the menu and the options page show none.
void TellSetAside(const std::string& FileName, const std::string& Aside) {
  MsgBox(GetLangText("Main|MsgTemplatesSetAsideText",
                     "Die Textvorlagen in \"%s1%\" konnten nicht gelesen werden, weil die Datei "
                     "besch\xE4" "digt oder von Hand ge\xE4ndert ist.%w%Sie wurde unver\xE4ndert als "
                     "\"%s2%\" gesichert; die Textvorlagen beginnen leer.",
                     LangParams({FileName, Aside})),
         GetLangText("Main|MsgTemplatesSetAsideTitle", "Textvorlagen"), MB_OK | MB_ICONWARNING);
}

// Loads the file into TemplatesDoc; false when it could not be read and stays where it is.
// A damaged one is set aside only at the start (SetDamagedAside), where the templates then
// begin empty; later in the run the program's own templates stay, so it stays where it is.
bool ReadTemplatesDoc(const std::string& FileName, bool SetDamagedAside) {
  const TXmlLoad load = TemplatesDoc->LoadStore(FileName, true);
  if (load == TXmlLoad::Damaged && SetDamagedAside) {
    const std::string aside = SetFileAside(FileName);
    // A damaged store that stays where it is must not be written over either.
    NoteStoreRead(FileName, aside.empty());
    if (!aside.empty()) TellSetAside(FileName, aside);
    return !aside.empty();
  }
  const bool read = load == TXmlLoad::Loaded || load == TXmlLoad::Nothing;
  NoteStoreRead(FileName, !read);
  return read;
}

void CopyNode(const TXmlNode& From, TXmlNode& To) {
  To.Name = From.Name;
  To.Value = From.Value;
  To.CDATA = From.CDATA;
  for (int i = 0; i < From.Attribs().Count(); ++i) {
    const TXmlAttrib& attrib = *From.Attribs().Items(i);
    To.Attribs().Add(std::make_unique<TXmlAttrib>(attrib.Name, attrib.Value));
  }
  for (int i = 0; i < From.Nodes().Count(); ++i)
    CopyNode(*From.Nodes().Items(i), *To.Nodes().Add(std::make_unique<TXmlNode>(&To)));
}

}  // namespace

void LoadTemplatesDoc(const std::string& FileName) {
  if (!TemplatesDoc) TemplatesDoc = std::make_unique<TXmlDoc>();
  ReadTemplatesDoc(FileName, true);
}

std::unique_ptr<TXmlDoc> CopyTemplatesDoc() {
  auto copy = std::make_unique<TXmlDoc>();
  if (TemplatesDoc) CopyNode(*TemplatesDoc->Root(), *copy->Root());
  return copy;
}

void ReloadTemplatesDoc(const std::string& FileName, std::unique_ptr<TXmlDoc> Held) {
  TemplatesDoc = std::make_unique<TXmlDoc>();
  if (!ReadTemplatesDoc(FileName, false)) TemplatesDoc = std::move(Held);
}

TTabSheet* NewFromTemplate(const std::string& FileName, bool NewDocument) {
  if (!FileExists(FileName)) return nullptr;
  bool binary = false;
  std::string text = ReadTemplate(FileName, binary);
  if (text.empty()) return nullptr;
  if (binary && Settings.General.OpenBinWarn && !BinaryTemplateAccepted(FileName)) return nullptr;
  if (text.find("%NEWDOC%") != std::string::npos) {
    text = ReplaceAll(text, "%NEWDOC%", "", false);
    NewDocument = true;
  }

  TTabSheet* sheet = nullptr;
  TfraEdit* frame = nullptr;
  if (NewDocument) {
    sheet = OpenFile("", false, nullptr);
    frame = sheet ? GetSheetFrame(sheet) : nullptr;
    if (!frame) return nullptr;
  } else {
    frame = GetActiveFrame();
    if (!frame || !frame->seEdit || !CanWriteDocument(frame->seEdit)) return nullptr;
  }
  TCodeEdit& editor = *frame->seEdit;
  ApplySettings(&editor);
  TExpandedText expanded = ExpandVariablesMarked(text, frame);

  std::string upper = AnsiUpperCase(expanded.Text);
  size_t cut = FindMarker(expanded, upper, "%CUT%\r\n");
  if (cut != std::string::npos) {
    const size_t end = cut + 7;
    expanded.Text.erase(0, end);
    expanded.FromValue.erase(0, end);
    upper.erase(0, end);
  }
  size_t caret = FindMarker(expanded, upper, "%CURSOR%");
  if (caret == std::string::npos) caret = 0;
  std::string result;
  for (size_t i = 0; i < expanded.Text.size();) {
    if (expanded.Text.compare(i, 8, "%CURSOR%") == 0 &&
        expanded.FromValue.find('\x01', i) >= i + 8) {
      i += 8;
      continue;
    }
    result += expanded.Text[i++];
  }

  const int start = editor.SelStart();
  {
    codeeditscopes::TUndoBlock undoBlock(editor.UndoList(), true);
    editor.SetSelText(result);
  }
  editor.SetSelStart(start + static_cast<int>(caret));
  editor.SetSelLength(0);
  editor.EnsureCursorPosVisible();
  if (NewDocument) {
    editor.SetModified(false);
    frame->DocInfo.Modified = false;
  }
  UpdateMenuState();
  UpdateCaption();
  return sheet;
}

void BuildTemplatesMenu() {
  TMenuItem* menu = frmMain ? frmMain->Find<TMenuItem>("mnuInsertTemplates") : nullptr;
  if (!menu) return;
  menu->Clear();
  if (!TemplatesDoc) return;
  TXmlNode* templates = TemplatesDoc->FindNode("Templates");
  if (!templates) return;
  struct Entry {
    std::string MenuText, Name;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < templates->Nodes().Count(); ++i) {
    TXmlNode* node = templates->Nodes().Items(i);
    TXmlAttrib* text = node->Attribs().Find("MenuText");
    // A menu item's text would end at a zero the store holds, and lose the template's name.
    std::string caption = text ? text->Value : node->Name;
    std::replace(caption.begin(), caption.end(), '\0', '?');
    entries.push_back({caption, node->Name});
  }
  // By menu text, then name (the locale's comparison may ignore a separator between them).
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& A, const Entry& B) {
    const int byText = AnsiCompareText(A.MenuText, B.MenuText);
    return byText != 0 ? byText < 0 : AnsiCompareText(A.Name, B.Name) < 0;
  });
  for (size_t i = 0; i < entries.size(); ++i) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(entries[i].MenuText + " [" + entries[i].Name + "]");
    item->SetTag(static_cast<int>(i));
    item->SetImageIndex(TemplateImage);
    item->SetVisible(true);
    item->OnClick = [](TObject* Sender) {
      if (TemplateItemClick) TemplateItemClick(Sender);
    };
    menu->Add(std::move(item));
  }
}

std::string TemplateNameOfCaption(const std::string& Caption) {
  const size_t open = Caption.rfind('[');
  if (open == std::string::npos) return std::string();
  std::string name = Caption.substr(open + 1);
  if (!name.empty()) name.pop_back();
  return name;
}

void InsertTextTemplate(TfraEdit& Frame) {
  if (!TemplatesDoc || !CanWriteDocument(Frame.seEdit)) return;
  const TBufferCoord caret = Frame.seEdit->CaretXY();
  const TBufferCoord start = Frame.seEdit->WordStartEx(caret);
  if (start.Char >= caret.Char) return;
  const std::string word = AnsiLowerCase(
      Frame.seEdit->Lines()[caret.Line - 1].substr(start.Char - 1, caret.Char - start.Char));
  // A backslash would lead the path into another template's values.
  if (word.find('\\') != std::string::npos) return;
  auto value = [&](const char* Part) {
    return ExpandVariables(TemplatesDoc->ReadString("Templates\\" + word + "\\" + Part, ""),
                           &Frame);
  };
  const std::string before = value("Before"), select = value("Select"), after = value("After");
  if (Trim(before + select + after).empty()) return;
  codeeditscopes::TUndoBlock undoBlock(Frame.seEdit->UndoList(), true);
  Frame.seEdit->SetCaretAndSelection(caret, start, caret);
  InsertText(before, select, after);
}
