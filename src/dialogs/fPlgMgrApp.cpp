// The application interface: the methods a plug-in calls to drive the program.
#include "dialogs/fPlgMgrApp.h"
#include <memory>
#include "dialogs/fPlgMgr.h"
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

const GUID IID_IApp = {0x086858BB, 0xDF5D, 0x4F85, {0xB3, 0x80, 0xCF, 0x8E, 0xC8, 0x0E, 0x38, 0x4E}};

namespace {

struct TApp {
  IApp Interface;
  LONG References;
};

int LiveApps = 0;

// No exception may travel back into the plug-in: a failure is shown and the method answers
// Fallback instead.
template <class R, class F>
R Safely(R Fallback, F&& Body) {
  R result = Fallback;
  GuardEntry([&] { result = Body(); });  // on failure the result keeps its fallback
  return result;
}

void PutSlot(BSTR* Slot, const std::string& Value) {
  if (!Slot) return;
  SysFreeString(*Slot);
  *Slot = ToBstr(Value);
}

template <class F>
void SafelyToSlot(BSTR* Slot, F&& Body) {
  std::string value = Safely(std::string(), Body);
  PutSlot(Slot, value);
}

TfraEdit* Document(int32_t Index) { return GetFrameChecked(Index); }

// Every line followed by CR LF, the last one too.
std::string DocText(const TfraEdit& Frame) {
  const TCodeEditStringList& lines = Frame.seEdit->Lines();
  std::string text;
  text.reserve(static_cast<size_t>(Frame.seEdit->TextLength()) + 2);
  for (int i = 0; i < lines.Count(); ++i) {
    text += lines[i];
    text += "\r\n";
  }
  return text;
}
int32_t Bool(bool Value) { return Value ? 1 : 0; }

HRESULT __stdcall QueryInterface(IApp* This, REFIID Id, void** Object) {
  if (!Object) return E_POINTER;
  if (IsEqualGUID(Id, IID_IUnknown) || IsEqualGUID(Id, IID_IApp)) {
    *Object = This;
    InterlockedIncrement(&reinterpret_cast<TApp*>(This)->References);
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG __stdcall AddRef(IApp* This) {
  return InterlockedIncrement(&reinterpret_cast<TApp*>(This)->References);
}

ULONG __stdcall Release(IApp* This) {
  auto* app = reinterpret_cast<TApp*>(This);
  LONG left = InterlockedDecrement(&app->References);
  if (left == 0) {
    std::unique_ptr<TApp> owned(app);
    --LiveApps;
  }
  return left;
}

void __stdcall CloseApp(IApp*) {
  // Posted, so a plug-in may ask also while the window is still being created.
  if (frmMain && frmMain->Handle()) PostMessageA(frmMain->Handle(), WM_CLOSE, 0, 0);
}

int32_t __stdcall GetHandle(IApp*, int32_t Kind) {
  if (!frmMain) return 0;
  if (Kind == 0) return static_cast<int32_t>(reinterpret_cast<intptr_t>(frmMain->Handle()));
  if (Kind == 1 && frmMain->mnuMain)
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(frmMain->mnuMain->Handle()));
  return 0;
}

void* __stdcall GetMainForm(IApp*) { return frmMain; }

void __stdcall GetLanguage(BSTR* Slot, IApp*) {
  SafelyToSlot(Slot, [] { return Settings.Language; });
}

void __stdcall GetDocFileName(BSTR* Slot, IApp*, int32_t Index) {
  SafelyToSlot(Slot, [Index] {
    TfraEdit* frame = Document(Index);
    return frame ? frame->DocInfo.FileName : std::string();
  });
}

void __stdcall GetDocTitle(BSTR* Slot, IApp*, int32_t Index) {
  SafelyToSlot(Slot, [Index] {
    TfraEdit* frame = Document(Index);
    return frame ? frame->DocInfo.Title : std::string();
  });
}

int32_t __stdcall GetDocModified(IApp*, int32_t Index) {
  return Safely<int32_t>(1, [Index] {
    TfraEdit* frame = Document(Index);
    return Bool(!frame || frame->DocInfo.Modified);
  });
}

int32_t __stdcall GetDocReadOnly(IApp*, int32_t Index) {
  return Safely<int32_t>(0, [Index] {
    TfraEdit* frame = Document(Index);
    return Bool(frame && frame->seEdit->ReadOnly());
  });
}

int32_t DocCount() {
  return frmMain && frmMain->pcEdit ? frmMain->pcEdit->PageCount() : 0;
}

template <class F>
std::string JoinDocuments(F&& Field) {
  std::string text;
  for (int i = 0; i < DocCount(); ++i)
    if (TfraEdit* frame = GetFrame(i)) text += Field(*frame) + "\r\n";
  return Trim(text);
}

void __stdcall GetDocFileNames(BSTR* Slot, IApp*) {
  SafelyToSlot(Slot, [] { return JoinDocuments([](TfraEdit& F) { return F.DocInfo.FileName; }); });
}

void __stdcall GetDocTitles(BSTR* Slot, IApp*) {
  SafelyToSlot(Slot, [] { return JoinDocuments([](TfraEdit& F) { return F.DocInfo.Title; }); });
}

int32_t __stdcall GetDocCount(IApp*) { return Safely<int32_t>(0, [] { return DocCount(); }); }

int32_t __stdcall GetActiveDoc(IApp*) {
  return Safely<int32_t>(-1, [] {
    return DocCount() > 0 ? frmMain->pcEdit->ActivePageIndex() : -1;
  });
}

void __stdcall GetDocText(BSTR* Slot, IApp*, int32_t Index) {
  SafelyToSlot(Slot, [Index] {
    TfraEdit* frame = Document(Index);
    return frame ? DocText(*frame) : std::string();
  });
}

int32_t __stdcall GetDocTextLength(IApp*, int32_t Index) {
  return Safely<int32_t>(0, [Index] {
    TfraEdit* frame = Document(Index);
    return frame ? static_cast<int32_t>(DocText(*frame).size()) : 0;
  });
}

// Replaces the editor's selection as one undo step and marks the document changed.
void ReplaceSelection(TfraEdit& Frame, const std::string& Text, bool WholeText) {
  TCodeEdit* editor = Frame.seEdit;
  {
    codeeditscopes::TUndoBlock block(editor->UndoList(), true);
    if (WholeText) editor->SelectAll();
    editor->SetSelText(Text);
  }
  Frame.DocInfo.Modified = true;
  UpdateTabImage(&Frame);
}

int32_t __stdcall SetDocText(IApp*, BSTR Text, int32_t Index) {
  return Safely<int32_t>(0, [Text, Index] {
    TfraEdit* frame = Document(Index);
    if (!frame || frame->seEdit->ReadOnly()) return 0;
    ReplaceSelection(*frame, FromBstr(Text), true);
    return 1;
  });
}

void __stdcall GetSelText(BSTR* Slot, IApp*) {
  SafelyToSlot(Slot, [] {
    TCodeEdit* editor = GetActiveEditor();
    return editor ? editor->SelText() : std::string();
  });
}

int32_t __stdcall GetSelLength(IApp*) {
  return Safely<int32_t>(0, [] {
    TCodeEdit* editor = GetActiveEditor();
    return editor ? editor->SelLength() : 0;
  });
}

int32_t __stdcall SetSelText(IApp*, BSTR Text) {
  return Safely<int32_t>(0, [Text] {
    TfraEdit* frame = GetActiveFrame();
    if (!frame || frame->seEdit->ReadOnly()) return 0;
    ReplaceSelection(*frame, FromBstr(Text), false);
    return 1;
  });
}

void __stdcall InsertTextMethod(IApp*, BSTR Before, BSTR Text, BSTR After) {
  Safely(0, [=] {
    if (GetActiveFrame()) InsertText(FromBstr(Before), FromBstr(Text), FromBstr(After));
    return 0;
  });
}

int32_t __stdcall NewDoc(IApp*, BSTR Title, BSTR Text) {
  return Safely<int32_t>(-1, [Title, Text] {
    if (!frmMain || !frmMain->pcEdit) return -1;
    if (TTabSheet* sheet = OpenFile("")) {
      TfraEdit* frame = GetSheetFrame(sheet);
      frame->DocInfo.Title = FromBstr(Title);
      sheet->SetCaption(TabCaptionOf(frame->DocInfo.Title));
      frmMain->pcEdit->SetActivePage(sheet);
      frame->seEdit->SetText(FromBstr(Text));
      frame->TextReplaced();
    }
    return DocCount() > 0 ? frmMain->pcEdit->ActivePageIndex() : -1;
  });
}

int32_t __stdcall SelectAll(IApp*) {
  return Safely<int32_t>(0, [] {
    TCodeEdit* editor = GetActiveEditor();
    if (!editor) return 0;
    editor->SelectAll();
    return 1;
  });
}

TMenuItem* __stdcall AddMenuItem(IApp*, TMenuItem* Parent, TMenuItem* Source) {
  return Safely<TMenuItem*>(nullptr, [Parent, Source]() -> TMenuItem* {
    if (!PluginManager || !frmMain) return nullptr;
    if (!PluginManager->IsHandedOut(Parent) || !PluginManager->IsHandedOut(Source)) return nullptr;
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(Source->Caption());
    item->SetRadioItem(Source->RadioItem());
    item->SetGroupIndex(Source->GroupIndex());
    item->SetChecked(Source->Checked());
    item->SetEnabled(Source->Enabled());
    item->SetVisible(Source->Visible());
    item->SetShortCut(Source->ShortCut());
    item->SetDefault(Source->Default());
    item->SetImageIndex(Source->ImageIndex());
    item->SetBitmap(Source->Bitmap());
    item->SetBreak(Source->Break());
    item->SetSubMenuImages(Source->SubMenuImages());
    item->SetAutoHotkeys(Source->AutoHotkeys());
    item->SetAutoLineReduction(Source->AutoLineReduction());
    item->SetHelpContext(Source->HelpContext());
    item->SetHint(Source->Hint());
    item->SetTag(Source->Tag());
    item->SetAutoCheck(Source->AutoCheck());
    item->OnClick = [](TObject* Sender) { PluginsMenuItemClicked(dynamic_cast<TMenuItem*>(Sender)); };
    TMenuItem* added = Parent->Add(std::move(item));
    PluginManager->RegisterMenuItem(added);
    return added;
  });
}

int32_t __stdcall SaveDoc(IApp*, int32_t Index) {
  return Safely<int32_t>(0, [Index] { return Bool(Document(Index) && SaveDocument(Index)); });
}

void __stdcall GetSettingsDir(BSTR* Slot, IApp*) {
  SafelyToSlot(Slot, [] { return Settings.SettingsDir; });
}

// In slot order; the table is what the plug-in sees.
const void* const AppTable[] = {
    reinterpret_cast<const void*>(&QueryInterface),
    reinterpret_cast<const void*>(&AddRef),
    reinterpret_cast<const void*>(&Release),
    reinterpret_cast<const void*>(&CloseApp),
    reinterpret_cast<const void*>(&GetHandle),
    reinterpret_cast<const void*>(&GetMainForm),
    reinterpret_cast<const void*>(&GetLanguage),
    reinterpret_cast<const void*>(&GetDocFileName),
    reinterpret_cast<const void*>(&GetDocTitle),
    reinterpret_cast<const void*>(&GetDocModified),
    reinterpret_cast<const void*>(&GetDocReadOnly),
    reinterpret_cast<const void*>(&GetDocFileNames),
    reinterpret_cast<const void*>(&GetDocTitles),
    reinterpret_cast<const void*>(&GetDocCount),
    reinterpret_cast<const void*>(&GetActiveDoc),
    reinterpret_cast<const void*>(&GetDocText),
    reinterpret_cast<const void*>(&GetDocTextLength),
    reinterpret_cast<const void*>(&SetDocText),
    reinterpret_cast<const void*>(&GetSelText),
    reinterpret_cast<const void*>(&GetSelLength),
    reinterpret_cast<const void*>(&SetSelText),
    reinterpret_cast<const void*>(&InsertTextMethod),
    reinterpret_cast<const void*>(&NewDoc),
    reinterpret_cast<const void*>(&SelectAll),
    reinterpret_cast<const void*>(&AddMenuItem),
    reinterpret_cast<const void*>(&SaveDoc),
    reinterpret_cast<const void*>(&GetSettingsDir),
};
static_assert(sizeof(AppTable) / sizeof(AppTable[0]) == 27);

}  // namespace

IApp* CreateApp() {
  TApp* app = std::make_unique<TApp>(TApp{{AppTable}, 1}).release();
  ++LiveApps;
  return &app->Interface;
}

void ReleaseApp(IApp* App) {
  if (App) Release(App);
}

int LiveAppCount() { return LiveApps; }
