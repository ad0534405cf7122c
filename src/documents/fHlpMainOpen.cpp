// Opening documents: reading, the size and binary warnings, and the highlighter choice.
#include <windows.h>
#include <shlobj.h>
#include <string>
#include <utility>
#include <vector>
#include "documents/ContentRules.h"
#include "documents/MainWindowParts.h"
#include "documents/TrailingSpaces.h"
#include "documents/clsFileWatch.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/StatusBar.h"

TStringList FileTypeContents;
std::vector<TFileReadHook> FileReadHooks;

std::string GetHighlighterByContent(TfraEdit& Frame) {
  if (FileTypeContents.Count() == 0) return std::string();
  // Only the start of the text is ever tested: a large document is not copied whole.
  const TCodeEditStringList& lines = Frame.seEdit->Lines();
  std::string start;
  for (int i = 0; i < lines.Count() && start.size() < static_cast<size_t>(kMaxContentRuleChars); ++i) {
    if (i > 0) start += "\r\n";
    start += lines[i];
  }
  return MatchContentRules(FileTypeContents, start);
}

namespace {

// The View menu's highlighter list: its fixed entries come before the rule files' items.
constexpr int kFixedSyntaxItems = 10;

bool RowMatches(const std::string& Row, const std::string& Name) {
  const std::string masks = AnsiLowerCase(GetToken(Row, "|", 2)) + ";";
  size_t start = 0;
  for (size_t end; (end = masks.find(';', start)) != std::string::npos; start = end + 1) {
    const std::string mask = Trim(masks.substr(start, end - start));
    if (!mask.empty() && mask != "*.*" && MatchesFileMask(Name, mask)) return true;
  }
  return false;
}

void ShowRuleFileError(const std::string& FileName, const std::string& Reason) {
  MsgBox(GetLangText("Main|MsgHighlighterErrLoadText",
                     "Die Syntaxdatei \"%s1%\" konnte nicht geladen werden:%w%%s2%%w%%w%"
                     "Das Dokument wird ohne diese Syntaxhervorhebung angezeigt.",
                     LangParams({FileName, Reason})),
         GetLangText("Main|MsgHighlighterErrLoadTitle", "Syntaxhervorhebung"),
         MB_ICONERROR | MB_OK);
}

// The frame's rule-file highlighter loaded with the rule file the identifier names, or
// Fallback when the View menu lists no such rule file, it is missing, or it cannot be read.
TCodeCustomHighlighter* RuleFileHighlighter(const std::string& Id, TfraEdit& Frame,
                                            TCodeCustomHighlighter* Fallback) {
  TMenuItem* syntax = frmMain->Find<TMenuItem>("mnuViewSyntax");
  if (!syntax || !Frame.HlUni) return Fallback;
  const std::string id = AnsiLowerCase(Id);
  for (int i = kFixedSyntaxItems; i < syntax->Count(); ++i) {
    TMenuItem* item = syntax->Items(i);
    if (AnsiLowerCase(StripAccelChars(item->Caption())) != id) continue;
    const std::string fileName = Settings.AppDir + "Highlighters\\" + Id + ".hgl";
    if (!FileExists(fileName)) return Fallback;
    try {
      Frame.HlUni->LoadFromFile(fileName);
    } catch (const Exception& e) {
      // The document still opens, plain, and the user learns which rule file is at fault.
      ShowRuleFileError(fileName, e.Message());
      return Fallback;
    }
    Frame.HlUni->SetTag(item->Tag());
    return Frame.HlUni.get();
  }
  return Fallback;
}

}  // namespace

TCodeCustomHighlighter* GetFileTypeHighlighter(const std::string& Name, TfraEdit& Frame) {
  TCodeCustomHighlighter* const uri = frmMain ? frmMain->HlURI : nullptr;
  if (Name.empty() || !frmMain) return uri;
  for (int row = 0; row < Settings.FileTypes.Count(); ++row) {
    if (!RowMatches(Settings.FileTypes[row], Name)) continue;
    const std::string id = GetToken(Settings.FileTypes[row], "|", 4);
    const std::string lower = AnsiLowerCase(id);
    if (lower == ":uri:") return uri;
    if (lower == ":webmixed:") return frmMain->HlWebMixed;
    if (lower == ":html:") return frmMain->HlHTML;
    if (lower == ":php:") return frmMain->HlPHP;
    if (lower == ":css:") return frmMain->HlCSS;
    if (lower == ":js:") return frmMain->HlJS;
    if (lower == ":vbs:") return frmMain->HlVBS;
    return RuleFileHighlighter(id, Frame, uri);
  }
  return uri;
}

// ---- OpenFile -----------------------------------------------------------------------------

namespace {

std::string NewDocName(int Number) {
  return GetLangText("Main|NewDocName", "Unbenannt%s1%", LangParams({IntToStr(Number)}));
}

// Wrapping the lines once after they are all in is much cheaper than wrapping each as it
// arrives; the wrap comes back also when the editor refuses the text.
void PutText(TCodeEdit& Editor, std::string Text) {
  struct TWrapRestorer {
    TCodeEdit& editor;
    bool wrapped;
    ~TWrapRestorer() { editor.SetWordWrap(wrapped); }
  } restorer{Editor, Editor.WordWrap()};
  Editor.SetWordWrap(false);
  Editor.SetText(std::move(Text));
}

// Declining is not a failure: false ends the open without a message.
bool SizeAccepted(const std::string& FileName) {
  if (FileName.empty() || !Settings.General.OpenSizeWarn) return true;
  const int64_t megabytes = RoundedMegabytes(GetFileSizeByName(FileName));
  if (megabytes < Settings.General.OpenSizeWarnMB) return true;
  return MsgBox(GetLangText("Main|MsgOpenSizeWarnText",
                            "Die Datei \"%s1%\" ist gr\xF6\xDF" "er als %s2% MB (%s3% MB).%w%"
                            "M\xF6" "chten Sie diese Datei dennoch \xF6" "ffnen?",
                            LangParams({FileName, IntToStr(Settings.General.OpenSizeWarnMB),
                                        IntToStr(megabytes)})),
                GetLangText("Main|MsgOpenSizeWarnTitle", "\xD6" "ffnen einer gro\xDF" "en Datei"),
                MB_ICONEXCLAMATION | MB_YESNOCANCEL) == IDYES;
}

// The text and formats of a file, from the first read hook that supplies them, else from the
// file itself. Raises what the reader raises.
struct TReadResult {
  std::string Text;
  TLineBreakFormat LineBreak = -1;
  TFileFormat FileFormat = 0;
  bool Exact = true;  // false: a character the code page lacks became "?"
};

TReadResult ReadDocument(const std::string& FileName, bool ReadByteOrderMark) {
  TReadResult result;
  const TFileFormat request = ReadByteOrderMark ? -1 : 0;
  if (!FileReadHooks.empty()) {
    const std::wstring name = AnsiToWide(FileName);
    std::wstring text;
    for (const TFileReadHook& hook : FileReadHooks) {
      int32_t lineBreak = 0, fileFormat = 0;
      try {
        if (hook(name, text, lineBreak, fileFormat) != 0) continue;
      } catch (const std::exception&) {
        continue;  // a failing plug-in passes the file on to the next one
      }
      result.Exact = WideToAnsiExact(text, result.Text);
      result.LineBreak = lineBreak;
      result.FileFormat = fileFormat;
      return result;
    }
  }
  result.FileFormat = request;
  result.Exact = LoadTextFile(FileName, result.LineBreak, result.FileFormat, result.Text);
  return result;
}

bool BinaryAccepted(const std::string& FileName) {
  return MsgBox(GetLangText("Main|MsgFileNoTextText",
                            "Die Datei \"%s1%\" ist keine Textdatei%w%und kann m\xF6glicherweise "
                            "nicht richtig angezeigt oder gespeichert werden.%w%%w%M\xF6" "chten "
                            "Sie diese Datei dennoch \xF6" "ffnen?",
                            LangParams({FileName})),
                GetLangText("Main|MsgFileOpenTitle", "Datei \xF6" "ffnen"),
                MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void SayStandIns(const std::string& FileName) {
  MsgBox(GetLangText("Main|MsgFileStandInsText",
                     "Die Datei \"%s1%\" enth\xE4lt Zeichen, die es in der Codepage des Systems "
                     "nicht gibt; sie werden als \"?\" angezeigt.%w%Beim Speichern w\xFCrde an "
                     "ihrer Stelle \"?\" in die Datei geschrieben.",
                     LangParams({FileName})),
         GetLangText("Main|MsgFileOpenTitle", "Datei \xF6" "ffnen"), MB_ICONWARNING | MB_OK);
}

void SayStandIns(const std::vector<std::string>& FileNames) {
  MsgBox(GetLangText("Main|MsgFilesStandInsText",
                     "Diese Dateien enthalten Zeichen, die es in der Codepage des Systems nicht "
                     "gibt; sie werden als \"?\" angezeigt.%w%Beim Speichern w\xFCrde an ihrer "
                     "Stelle \"?\" in die Datei geschrieben:") +
             NameLines(FileNames),
         GetLangText("Main|MsgFileOpenTitle", "Datei \xF6" "ffnen"), MB_ICONWARNING | MB_OK);
}

// The open TOpenNotices scopes, and the files whose notice they keep back.
int openNoticeScopes = 0;
std::vector<std::string> keptStandIns;

void TellStandIns(const std::string& FileName) {
  if (openNoticeScopes > 0)
    keptStandIns.push_back(FileName);
  else
    SayStandIns(FileName);
}

void ShowOpenError(const std::string& FileName) {
  MsgBox(GetLangText("Main|MsgFileErrOpenText", "Die Datei \"%s1%\" konnte nicht ge\xF6" "ffnet werden.",
                     LangParams({FileName})),
         GetLangText("Main|MsgFileOpenTitle", "Datei \xF6" "ffnen"), MB_ICONERROR | MB_OK);
}

TTabSheet* FindOpenTab(const std::string& FileName) {
  TPageControl* pages = frmMain->pcEdit;
  for (int i = 0; i < pages->PageCount(); ++i)
    if (TfraEdit* frame = GetFrame(i); frame && AnsiSameText(frame->DocInfo.FileName, FileName))
      return pages->Pages(i);
  return nullptr;
}

// A new tab page with its frame, right after the active page.
TfraEdit* CreateDocumentTab(int Number) {
  TPageControl* pages = frmMain->pcEdit;
  TTabSheet* sheet = pages->AddPage("tabEdit" + IntToStr(Number), pages->ActivePageIndex() + 1);
  sheet->SetCaption(NewDocName(Number));
  sheet->SetTag(Number);
  TfraEdit* frame = sheet->Make<TfraEdit>("fraEdit", sheet);
  frame->SetTag(Number);
  frame->seEdit->SetBorderStyle(IsAppThemedSafe() ? TBorderStyle::bsNone : TBorderStyle::bsSingle);
  // Settings that change the layout (font, gutter, wrapping) are cheap on an empty editor and
  // costly once a large text is in; applied again when the document is set up, they change
  // nothing more.
  ApplySettings(frame->seEdit);
  return frame;
}

// Takes a tab made by this open away again, as if it had never been there.
void DiscardNewTab(TfraEdit* Frame, TTabSheet* PreviousActive) {
  TPageControl* pages = frmMain->pcEdit;
  FreeDocumentNumber(Frame->Tag());
  pages->RemovePage(dynamic_cast<TTabSheet*>(Frame->Owner()));
  if (PreviousActive) pages->SetActivePage(PreviousActive);
  DocsOpen = !DocsOpen;  // the next refresh is a full one
}

void StoreFormats(TDocumentInfo& Doc, TLineBreakFormat LineBreak, TFileFormat FileFormat) {
  // UTF-16 and binary documents are written back as ANSI.
  if (FileFormat < ffAnsi || FileFormat > ffUtf8) FileFormat = ffAnsi;
  if (LineBreak < lbfWindows) LineBreak = lbfWindows;
  Doc.OrgFileFormat = Doc.FileFormat = FileFormat;
  Doc.OrgLineBreakFormat = Doc.LineBreakFormat = LineBreak;
}

// The shell's list takes a noticeable while to update: it is told once the document shows (a
// save tells it at once, as the program may be closing).
void RememberOpened(const std::string& FileName) {
  if (Settings.General.AddToRecentFiles)
    frmMain->RunAfterPendingMessages(
        [FileName] { SHAddToRecentDocs(SHARD_PATHA, FileName.c_str()); });
  AddToOpenMRU(Settings.OpenMRU, FileName, Settings.General.OpenMRUMaxItems);
  UpdateReopenMenu();
}

void ChooseHighlighter(TfraEdit& Frame, const std::string& FileName) {
  std::string name = GetHighlighterByContent(Frame);
  if (name.empty()) name = ExtractFileName(FileName);
  TCodeCustomHighlighter* highlighter = GetFileTypeHighlighter(name, Frame);
  Frame.seEdit->SetHighlighter(highlighter);
  if (!highlighter || highlighter == frmMain->HlURI)
    Frame.seEdit->SetColor(static_cast<TColor>(Settings.Editor.BackgroundColor));
}

void SetUpDocument(TfraEdit& Frame, const std::string& FileName, bool ReadOnly) {
  TCodeEdit& editor = *Frame.seEdit;
  editor.SetReadOnly(ReadOnly);
  editor.SetInsertMode(!Settings.Editor.OvrModeAsDef);
  ChooseHighlighter(Frame, FileName);
  ApplySettings(&editor);
  TDocumentInfo& doc = Frame.DocInfo;
  doc.FileName = FileName;
  doc.Title = FileName.empty() ? NewDocName(Frame.Tag()) : ExtractFileName(FileName);
  doc.ReplaceHtmlNamedChars = Settings.Editor.ReplaceHtmlNamedChars;
  doc.Modified = false;
  auto* sheet = dynamic_cast<TTabSheet*>(Frame.Owner());
  sheet->SetCaption(TabCaptionOf(doc.Title));
  if (Settings.General.AutoReadOnly && !FileName.empty()) {
    const DWORD attributes = GetFileAttributesA(FileName.c_str());
    editor.SetReadOnly(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY));
  }
  sheet->OnShow = [](TObject* Sender) { frmMain->TabSheetShow(Sender); };
}

// Shows the result and brings the window up to date, whatever happened.
TTabSheet* FinishOpen(TTabSheet* Sheet) {
  TPageControl* pages = frmMain->pcEdit;
  // A null sheet is a failed or declined open.
  if (TfraEdit* frame = Sheet ? GetSheetFrame(Sheet) : nullptr) {
    Sheet->SetVisible(true);
    frame->SetVisible(true);
    frame->seEdit->SetVisible(true);
    pages->SetActivePage(Sheet);
    pages->SetVisible(true);
    frmMain->SetActiveControl(frame->seEdit);
  }
  UpdateMenuState();
  pages->SetVisible(true);
  return Sheet;
}

TTabSheet* OpenDocument(const std::string& FileName, bool ReadOnly, TfraEdit* ReloadFrame,
                        bool ReadByteOrderMark) {
  if (!frmMain || !frmMain->pcEdit) return nullptr;
  // Documents remember where their file is, whatever the current folder becomes.
  const std::string fileName = FileName.empty() ? std::string() : ExpandFileName(FileName);
  TPageControl* pages = frmMain->pcEdit;
  THourglass hourglass;
  pages->SetVisible(false);
  if (frmMain->StatusBar) {
    frmMain->StatusBar->SetPanelText(
        3, GetLangText("Main|sbMainLoadFile", "Lade Datei \"%s1%\"...", LangParams({fileName})));
    frmMain->StatusBar->Update();
  }
  if (!SizeAccepted(fileName)) return FinishOpen(nullptr);

  const bool reload = ReloadFrame != nullptr;
  TTabSheet* const previousActive = pages->ActivePage();
  TfraEdit* frame = ReloadFrame;
  if (!reload) {
    if (Settings.General.NoFileMultiLoad && !fileName.empty() && !Settings.ParamML)
      if (TTabSheet* open = FindOpenTab(fileName)) return FinishOpen(open);
    frame = CreateDocumentTab(NewDocumentNumber());
  }
  TTabSheet* const sheet = dynamic_cast<TTabSheet*>(frame->Owner());

  if (!fileName.empty()) {
    try {
      // Taken first: a change while reading is still asked about.
      const TFileStamp stamp = FileStampOf(fileName);
      TReadResult read = ReadDocument(fileName, ReadByteOrderMark);
      // Moved, not copied: a second copy of a large file would double the peak memory.
      PutText(*frame->seEdit, std::move(read.Text));
      if (Settings.General.OpenTrimTrailingSpaces) TrimTrailingSpaces(frame->seEdit);
      if (!reload && read.FileFormat == ffBinary && Settings.General.OpenBinWarn &&
          !BinaryAccepted(fileName)) {
        DiscardNewTab(frame, previousActive);
        return FinishOpen(nullptr);
      }
      if (!reload && Settings.General.ChangeNotify) WatchDocumentFile(*frame, fileName);
      StoreFormats(frame->DocInfo, read.LineBreak, read.FileFormat);
      frame->DocInfo.HasStandIns = !read.Exact;
      frame->DocInfo.DiskStamp = stamp;
      RememberOpened(fileName);
    } catch (const std::exception&) {
      ShowOpenError(fileName);
      // A reload that fails keeps the document as it was: nothing was replaced yet.
      if (!reload) DiscardNewTab(frame, previousActive);
      return FinishOpen(nullptr);
    }
  }
  SetUpDocument(*frame, fileName, ReadOnly);
  frame->TextReplaced();
  FinishOpen(sheet);
  // Said over the document, which shows where the "?" stand.
  if (!fileName.empty() && frame->DocInfo.HasStandIns) TellStandIns(fileName);
  return sheet;
}

}  // namespace

TOpenNotices::TOpenNotices() { ++openNoticeScopes; }

TOpenNotices::~TOpenNotices() {
  if (--openNoticeScopes > 0) return;
  // Taken out first: the box runs messages, and an open they start is told on its own.
  const std::vector<std::string> files = std::move(keptStandIns);
  keptStandIns.clear();
  if (files.size() == 1)
    SayStandIns(files.front());
  else if (files.size() > 1)
    SayStandIns(files);
}

TTabSheet* OpenFile(const std::string& FileName, bool ReadOnly, TfraEdit* ReloadFrame) {
  return OpenDocument(FileName, ReadOnly, ReloadFrame, IsCtrlDown());
}

TTabSheet* ReopenFile(const std::string& FileName, bool ReadOnly, TfraEdit* ReloadFrame) {
  return OpenDocument(FileName, ReadOnly, ReloadFrame, true);
}
