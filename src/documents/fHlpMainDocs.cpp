#include "documents/fHlpMainDocs.h"
#include <algorithm>
#include <memory>
#include "documents/MainGlyphs.h"
#include "documents/MainWindowParts.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

std::vector<int32_t> DocumentNumbers;

// ---- Document numbers ---------------------------------------------------------------------

int NewDocumentNumber() {
  for (size_t i = 0; i < DocumentNumbers.size(); ++i) {
    if (DocumentNumbers[i] == -1) {
      DocumentNumbers[i] = static_cast<int32_t>(i);
      return static_cast<int>(i) + 1;
    }
  }
  DocumentNumbers.push_back(static_cast<int32_t>(DocumentNumbers.size()));
  return static_cast<int>(DocumentNumbers.size());
}

void FreeDocumentNumber(int Number) {
  if (Number >= 1 && static_cast<size_t>(Number) <= DocumentNumbers.size())
    DocumentNumbers[Number - 1] = -1;
}

// ---- Captions -----------------------------------------------------------------------------

std::string TabCaptionOf(const std::string& Title) {
  std::string caption;
  for (char c : ShortenMiddle(Title, "...", Settings.Editor.MaxTabCaptionLen)) {
    caption += c;
    if (c == '&') caption += '&';
  }
  return caption;
}

// ---- Lists --------------------------------------------------------------------------------

void AddToOpenMRU(TStrings& List, const std::string& FileName, int MaxCount) {
  for (int i = List.Count() - 1; i >= 0; --i)
    if (AnsiSameText(List[i], FileName)) List.Delete(i);
  List.Insert(0, FileName);
  while (List.Count() > std::max(MaxCount, 0)) List.Delete(List.Count() - 1);
}

TNotifyEvent ReopenItemClick;

// ---- File types ---------------------------------------------------------------------------

namespace {

std::string RowField(int Row, int Field) { return GetToken(Settings.FileTypes[Row], "|", Field); }

// Whole masks: ".h" names "*.h", never "*.html".
bool RowHasMask(int Row, const std::string& Mask) {
  const std::string masks = RowField(Row, 2) + ";";
  size_t start = 0;
  for (size_t end; (end = masks.find(';', start)) != std::string::npos; start = end + 1)
    if (AnsiSameText(Trim(masks.substr(start, end - start)), Mask)) return true;
  return false;
}

}  // namespace

std::string GetOpenDialogFilter() {
  std::string filter;
  for (int row = 0; row < Settings.FileTypes.Count(); ++row) {
    if (row > 0) filter += "|";
    filter += RowField(row, 1) + "|" + RowField(row, 2);
  }
  return filter;
}

int FindFileTypeIndex(const std::string& Ext) {
  for (int row = 0; row < Settings.FileTypes.Count(); ++row)
    if (RowHasMask(row, "*" + Ext)) return row;
  return -1;
}

std::string GetFileTypeByExt(const std::string& Pattern) {
  const std::string pattern = !Pattern.empty() && Pattern[0] == '*' ? Pattern.substr(1) : Pattern;
  for (int row = 0; row < Settings.FileTypes.Count(); ++row) {
    if (!RowHasMask(row, "*" + pattern)) continue;
    std::string ext = AnsiLowerCase(RowField(row, 3));
    return !ext.empty() && ext[0] == '.' ? ext : "." + ext;
  }
  return pattern;
}

bool MatchesFileMask(const std::string& Name, const std::string& Mask) {
  // Greedy with one back-track point: linear in practice, never exponential.
  size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
  while (n < Name.size()) {
    if (m < Mask.size() && Mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < Mask.size() &&
               (Mask[m] == '?' || AnsiLowerChar(Mask[m]) == AnsiLowerChar(Name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < Mask.size() && Mask[m] == '*') ++m;
  return m == Mask.size();
}

// ---- Opening: size ------------------------------------------------------------------------

int64_t RoundedMegabytes(int64_t Bytes) {
  constexpr int64_t kMegabyte = 1024 * 1024;
  const int64_t whole = Bytes / kMegabyte;
  const int64_t rest = Bytes % kMegabyte;
  if (rest > kMegabyte / 2) return whole + 1;
  if (rest == kMegabyte / 2) return whole + (whole % 2);
  return whole;
}

// ---- Access -------------------------------------------------------------------------------

namespace {

TPageControl* Pages() { return frmMain ? frmMain->pcEdit : nullptr; }

// Menu items, tool buttons and other controls of the main window by name; names the window
// does not have are skipped.
void SetEnabledByName(const std::string& Name, bool Enabled) {
  TComponent* found = frmMain->FindComponent(Name);
  if (auto* item = dynamic_cast<TMenuItem*>(found)) item->SetEnabled(Enabled);
  else if (auto* button = dynamic_cast<TToolButton*>(found)) button->SetEnabled(Enabled);
  else if (auto* control = dynamic_cast<TWinControl*>(found)) control->SetEnabled(Enabled);
}

void SetCheckedByName(const std::string& MenuItem, const std::string& Button, bool On) {
  if (auto* item = frmMain->Find<TMenuItem>(MenuItem)) item->SetChecked(On);
  if (auto* button = frmMain->Find<TToolButton>(Button)) button->SetDown(On);
}

void SetButtonImage(const std::string& Name, int Image) {
  if (auto* button = frmMain->Find<TToolButton>(Name)) button->SetImageIndex(Image);
}

void SetStatusText(int Panel, const std::string& Text) {
  if (frmMain->StatusBar) frmMain->StatusBar->SetPanelText(Panel, Text);
}

bool AnyDocumentModified() {
  for (int i = 0; i < Pages()->PageCount(); ++i)
    if (TfraEdit* frame = GetSheetFrame(Pages()->Pages(i)); frame && frame->DocInfo.Modified)
      return true;
  return false;
}

}  // namespace

TfraEdit* GetActiveFrame() { return Pages() ? GetSheetFrame(Pages()->ActivePage()) : nullptr; }

TCodeEdit* GetActiveEditor() {
  TfraEdit* frame = GetActiveFrame();
  return frame ? frame->seEdit : nullptr;
}

TfraEdit* GetFrame(int Index) {
  if (!Pages()) return nullptr;
  if (Index < 0) return GetActiveFrame();
  return GetSheetFrame(Pages()->Pages(Index));
}

TfraEdit* GetFrameChecked(int Index) {
  if (Index == -1) return GetActiveFrame();
  if (Index < 0 || !Pages() || Index >= Pages()->PageCount()) return nullptr;
  return GetFrame(Index);
}

TfraEdit* FindFrameByTag(int Tag) {
  TfraEdit* found = nullptr;
  if (!Pages()) return found;
  for (int i = 0; i < Pages()->PageCount(); ++i)
    if (TfraEdit* frame = GetSheetFrame(Pages()->Pages(i)); frame && frame->Tag() == Tag)
      found = frame;
  return found;
}

int FrameTabIndex(const TfraEdit* Frame) {
  if (!Pages() || !Frame) return -1;
  return Pages()->IndexOfPage(dynamic_cast<TTabSheet*>(Frame->Owner()));
}

// ---- Keeping the window in step -----------------------------------------------------------

void InsertText(const std::string& Prefix, const std::string& Text, const std::string& Suffix) {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor || editor->ReadOnly()) return;
  THourglass hourglass;
  TCodeEditorOptions options = editor->Options();
  options.Exclude(TCodeEditorOption::eoTrimTrailingSpaces);
  editor->SetOptions(options);
  const std::string text = Text == std::string(1, '\0') ? editor->SelText() : Text;
  const int start = editor->SelStart();
  {
    codeeditscopes::TUndoBlock undoBlock(editor->UndoList(), true);
    editor->SetSelText(Prefix + text + Suffix);
    editor->SetSelStart(start + static_cast<int>(Prefix.size()));
    editor->SetSelLength(static_cast<int>(text.size()));
  }
  if (Settings.Editor.TrimTrailingSpaces) {
    options.Include(TCodeEditorOption::eoTrimTrailingSpaces);
    editor->SetOptions(options);
  }
  editor->Invalidate();
  editor->EnsureCursorPosVisible();
}

void UpdateTabImage(TfraEdit* Frame) {
  if (!Frame) return;
  if (auto* sheet = dynamic_cast<TTabSheet*>(Frame->Owner()))
    sheet->SetImageIndex(GlyphTabDocument + (Frame->seEdit->ReadOnly() ? 2 : 0) +
                         (Frame->DocInfo.Modified ? 1 : 0));
}

void UpdateCaption() {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  const TDocumentInfo& doc = frame->DocInfo;
  SetFileFormat(-2);
  SetLineBreakFormat(-2);
  UpdateTabImage(frame);
  std::string caption = "Tarvoline - ";
  if (Settings.General.TitleShowChanged && doc.Modified) caption += "*";
  caption += Settings.General.TitleShowFullPath ? doc.FileName : doc.Title;
  // The same caption again would still cost a round to the window system.
  if (frmMain->Caption() != caption) frmMain->SetCaption(caption);
  Application().SetTitle(doc.Title + " - Tarvoline");
  SetStatusText(3, doc.FileName);
  SetEnabledByName("tbMainFileSave", doc.Modified);
  SetEnabledByName("tbMainEditUndo", frame->seEdit->CanUndo());
  SetEnabledByName("tbMainEditRedo", frame->seEdit->CanRedo());
  SetCheckedByName("mnuViewLineBreak", "tbMainViewLineBreak", frame->seEdit->WordWrap());
  SetCheckedByName("mnuFormatReplaceHtmlNamedChars", "tbMainFormatReplaceHtmlNamedChars",
                   doc.ReplaceHtmlNamedChars);
  SetEnabledByName("tbMainFileSaveAll", AnyDocumentModified());
}

namespace {

// Every command that needs a document follows whether one is open.
void EnableDocumentCommands(bool Open) {
  if (!Open) {
    frmMain->SetCaption("Tarvoline");
    Application().SetTitle("Tarvoline");
    for (int panel = 0; panel <= 3; ++panel) SetStatusText(panel, "");
    if (Settings.General.MinimizeLastDocClosed && frmMain->HandleAllocated())
      ShowWindow(frmMain->Handle(), SW_MINIMIZE);
  }
  static const char* const kDocumentCommands[] = {
      "mnuFileReload", "mnuFileSave", "mnuFileSaveAs", "mnuFileSaveAll", "mnuFileFileFormat",
      "mnuFileLineBreakFormat", "mnuFileExport", "mnuFileSessionSaveAs", "mnuFileClose",
      "tbMainFileClose", "mnuFileCloseAllButCurrent", "mnuFileCloseAll", "mnuFilePrintPreview",
      "mnuFilePrint", "mnuFilePrintUnFormatted", "mnuFileProperties", "mnuEdit", "mnuSearch",
      "mnuInsert", "mnuFormat", "mnuView", "mnuExtrasApps", "mnuExtrasDefApp",
      "mnuExtrasOpenFolder", "tbMainFileSave", "tbMainFileSaveAll", "tbMainFileFileFormat",
      "tbMainFileLineBreakFormat", "tbMainFilePrintPreview", "tbMainFilePrint", "tbMainEditUndo",
      "tbMainEditRedo", "tbMainEditSearch", "tbMainEditGotoLine",
      "tbMainFormatReplaceHtmlNamedChars", "tbMainViewLineBreak", "tbMainViewSyntax"};
  for (const char* name : kDocumentCommands) SetEnabledByName(name, Open);
  auto show = [](TWinControl* Control, bool Visible) {
    if (Control) Control->SetVisible(Visible);
  };
  show(frmMain->pcBottom, Open && Settings.ViewDocSearch);
  show(frmMain->splitterBottom, Open && Settings.ViewDocSearch);
  show(frmMain->pnlLeft, Open && Settings.ViewLeftPanel);
  show(frmMain->splitterLeft, Open && Settings.ViewLeftPanel);
  if (frmMain->txtIncSearch) frmMain->txtIncSearch->SetEnabled(Open);
}

}  // namespace

// The caption comes last: it sets the document's own buttons (save, undo, redo) that the
// commands above enable as a group.
void UpdateMenuState() {
  if (!Pages()) return;
  const bool open = Pages()->PageCount() > 0;
  if (open != DocsOpen) {
    DocsOpen = open;
    EnableDocumentCommands(open);
  }
  UpdateCaption();
}

void SetFileFormat(TFileFormat Code) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  if (Code != -2) {
    frame->DocInfo.FileFormat = Code == -1 ? frame->DocInfo.OrgFileFormat : Code;
    frame->seEditChange(nullptr);
  }
  SetButtonImage("tbMainFileFileFormat", GlyphFileFormatBase + frame->DocInfo.FileFormat);
}

void SetLineBreakFormat(TLineBreakFormat Code) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  if (Code != -2) {
    frame->DocInfo.LineBreakFormat = Code == -1 ? frame->DocInfo.OrgLineBreakFormat : Code;
    frame->seEditChange(nullptr);
  }
  SetButtonImage("tbMainFileLineBreakFormat", GlyphLineBreakBase + frame->DocInfo.LineBreakFormat);
}

void SetHighlighter(TCodeCustomHighlighter* Highlighter) {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  THourglass hourglass;
  const bool plain = !Highlighter || Highlighter == frmMain->HlURI;
  editor->SetColor(plain ? static_cast<TColor>(Settings.Editor.BackgroundColor) : clWhite);
  editor->SetHighlighter(Highlighter);
}

// ---- Lists --------------------------------------------------------------------------------

void BuildOpenDocList() {
  Settings.LastDocList.Clear();
  Settings.LastDocFileName.clear();
  if (!Pages()) return;
  for (int i = 0; i < Pages()->PageCount(); ++i) {
    TfraEdit* frame = GetSheetFrame(Pages()->Pages(i));
    if (!frame || frame->DocInfo.FileName.empty()) continue;
    const TCodeEdit& editor = *frame->seEdit;
    Settings.LastDocList.Add(frame->DocInfo.FileName + "\t" + IntToStr(editor.SelStart()) + "\t" +
                             IntToStr(editor.SelLength()) + "\t" + IntToStr(editor.TopLine()));
    if (frame == GetActiveFrame()) Settings.LastDocFileName = frame->DocInfo.FileName;
  }
}

void UpdateReopenMenu() {
  if (!frmMain) return;
  auto* reopen = frmMain->Find<TMenuItem>("mnuFileReOpen");
  // The first two items are the fixed history command and its separator.
  if (reopen)
    while (reopen->Count() > 2) reopen->Delete(reopen->Count() - 1);
  if (frmMain->pmnuToolbarOpen) frmMain->pmnuToolbarOpen->Items()->Clear();
  for (int i = Settings.OpenMRU.Count() - 1; i >= 0; --i)
    if (!FileExists(Settings.OpenMRU[i])) Settings.OpenMRU.Delete(i);
  for (int i = 0; i < Settings.OpenMRU.Count(); ++i) {
    auto addTo = [i](TMenuItem* Parent) {
      auto item = std::make_unique<TMenuItem>(nullptr);
      std::string caption;
      for (char c : Settings.OpenMRU[i]) caption += c == '&' ? std::string("&&") : std::string(1, c);
      item->SetCaption(caption);
      item->SetTag(i);
      item->SetImageIndex(GlyphTabDocument);
      item->SetVisible(true);
      item->OnClick = [](TObject* Sender) {
        if (ReopenItemClick) ReopenItemClick(Sender);
      };
      Parent->Add(std::move(item));
    };
    if (reopen) addTo(reopen);
    if (frmMain->pmnuToolbarOpen) addTo(frmMain->pmnuToolbarOpen->Items());
  }
}
