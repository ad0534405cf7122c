#include "toolkit/Dialogs.h"
#include <algorithm>
#include <commdlg.h>
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/WideNames.h"

namespace {
ModalAnswerer& Answerer() {
  static ModalAnswerer answerer;
  return answerer;
}

std::function<void()>& BeforeModal() {
  static std::function<void()> hook;
  return hook;
}

TTextLookup& TextLookup() {
  static TTextLookup lookup;
  return lookup;
}

std::string LanguageText(TToolkitText Text, const std::vector<std::string>& Params = {}) {
  return TextLookup() ? TextLookup()(Text, Params) : ToolkitGermanText(Text, Params);
}

// Enough to see which names; a walk over a large folder may give thousands.
constexpr size_t NamesShown = 20;

// "A|b|C|d" -> "A\0b\0C\0d\0\0" as the common dialogs want it.
std::wstring DialogFilter(const std::string& Filter) {
  std::wstring r = AnsiToWide(Filter);
  for (wchar_t& c : r) if (c == L'|') c = L'\0';
  r.append(2, L'\0');
  return r;
}

// Splits the multi-select buffer: a folder then names, or one full name.
std::vector<std::wstring> SplitSelection(const wchar_t* buf) {
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buf; *p; p += wcslen(p) + 1) parts.emplace_back(p);
  if (parts.size() <= 1) return parts;
  std::vector<std::wstring> files;
  std::wstring dir = parts[0];
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(dir + parts[i]);
  return files;
}

// The chosen names the code page holds; the others are reported.
std::vector<std::string> TakeExactNames(const std::vector<std::wstring>& Names) {
  std::vector<std::string> refused;
  std::vector<std::string> names = ExactNames(Names, refused);
  if (!refused.empty()) ReportRefusedNames(refused);
  return names;
}
}  // namespace

void SetModalAnswerer(ModalAnswerer A) { Answerer() = std::move(A); }

void SetTextLookup(TTextLookup Lookup) { TextLookup() = std::move(Lookup); }

void SetBeforeModal(std::function<void()> Hook) { BeforeModal() = std::move(Hook); }

std::string NameLines(const std::vector<std::string>& Names) {
  std::string text;
  // One name more shows in the place of the line that would count it.
  const size_t shown = Names.size() > NamesShown + 1 ? NamesShown : Names.size();
  for (size_t i = 0; i < shown; ++i) text += "\r\n" + Names[i];
  if (shown < Names.size())
    text += "\r\n" + LanguageText(TToolkitText::NamesNotShown, {std::to_string(Names.size() - shown)});
  return text;
}

void ReportRefusedNames(const std::vector<std::string>& Shown, const std::string& Further) {
  MsgBox(LanguageText(TToolkitText::NameRefusedText) + NameLines(Shown) +
             (Further.empty() ? "" : "\r\n\r\n" + Further),
         LanguageText(TToolkitText::NameRefusedTitle), MB_ICONERROR | MB_OK);
}

bool ReadNameField(const TWinControl& Field, std::string& Name) {
  if (Field.ExactCaption(Name)) return true;
  ReportRefusedNames({Name});
  return false;
}

bool ReadSearchField(const TWinControl& Field, const std::string& FieldName, std::string& Text) {
  if (Field.ExactCaption(Text)) return true;
  MsgBox(LanguageText(TToolkitText::SearchTextRefusedText, {FieldName}),
         LanguageText(TToolkitText::SearchTextRefusedTitle), MB_ICONERROR | MB_OK);
  return false;
}

bool ReadSearchField(const TWinControl& Field, const TWinControl& Label, std::string& Text) {
  return ReadSearchField(Field, FieldNameOf(Label.Caption()), Text);
}

std::string FieldNameOf(std::string LabelCaption) {
  while (!LabelCaption.empty() && (LabelCaption.back() == ':' || LabelCaption.back() == ' '))
    LabelCaption.pop_back();
  return LabelCaption;
}

std::optional<ModalAnswer> AskModalSeam(const ModalQuestion& Question) {
  // Called through a copy: the hook may clear itself.
  if (const std::function<void()> hook = BeforeModal()) hook();
  if (!Answerer()) return std::nullopt;
  return Answerer()(Question);
}

int MsgBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  ModalQuestion q{.kind = ModalKind::MessageBox, .text = Text, .caption = Caption, .flags = Flags};
  if (auto a = AskModalSeam(q)) return a->result;
  return MessageBoxA(ModalOwner(), Text.c_str(), Caption.c_str(), Flags);
}

namespace {
bool ReadAnswer(const TEdit& Field, TInputKind Kind, const std::string& Caption, std::string& Value) {
  switch (Kind) {
    case TInputKind::Name: return ReadNameField(Field, Value);
    case TInputKind::SearchText: return ReadSearchField(Field, Caption, Value);
    case TInputKind::Text: break;
  }
  Value = Field.Text();
  return true;
}
}  // namespace

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value,
                TInputKind Kind) {
  ModalQuestion q{.kind = ModalKind::InputBox, .text = Prompt, .caption = Caption, .value = Value,
                  .input = Kind};
  if (auto a = AskModalSeam(q)) {
    if (a->result != IDOK) return false;
    Value = a->value;
    return true;
  }
  TForm form(nullptr, {Caption, 360, 150, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, true});
  auto* label = form.Make<TLabel>("lblPrompt", &form, 10, 10, 330, 18);
  label->SetCaption(Prompt);
  // A long prompt wraps: what lies below it moves down by its extra lines.
  const int extra = std::max(0, WrappedTextHeight(label->Handle(), Prompt, 330) - 18);
  label->SetHeight(18 + extra);
  form.SetHeight(form.Height() + extra);
  auto* edit = form.Make<TEdit>("txtValue", &form, 10, 32 + extra, 330, 22);
  edit->SetCaption(Value);
  auto* ok = form.Make<TButton>("btnOk", &form, 180, 70 + extra, 75, 25, true);
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  auto* cancel = form.Make<TButton>("btnCancel", &form, 265, 70 + extra, 75, 25);
  cancel->SetCaption("Abbrechen");
  cancel->SetModalResult(mrCancel);
  form.SetActiveControl(edit);
  SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
  // A refused answer stays in the box for the person to mend.
  while (form.RunModalLoop() == mrOk) {
    std::string answer;
    if (!ReadAnswer(*edit, Kind, Caption, answer)) continue;
    Value = answer;
    return true;
  }
  return false;
}

namespace {
// The parts of a common file dialog that open and save share; the buffers live here.
struct FileDialogCall {
  FileDialogCall(const TFileDialogArgs& Args, size_t BufferSize)
      : buffer(BufferSize, L'\0'), filter(DialogFilter(Args.filter)),
        initialDir(AnsiToWide(Args.initialDir)), title(AnsiToWide(Args.title)),
        defaultExt(AnsiToWide(Args.defaultExt)) {
    AnsiToWide(Args.fileName).copy(buffer.data(), buffer.size() - 1);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ModalOwner();
    ofn.lpstrFilter = Args.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = Args.filterIndex;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  }
  std::vector<wchar_t> buffer;
  std::wstring filter, initialDir, title, defaultExt;
  OPENFILENAMEW ofn = {};
};

std::optional<ModalAnswer> AskFileSeam(ModalKind Kind, const TFileDialogArgs& Args) {
  ModalQuestion q{.kind = Kind, .text = Args.title, .caption = Args.title,
                  .value = Args.fileName, .filter = Args.filter};
  return AskModalSeam(q);
}
}  // namespace

std::vector<std::string> ExecuteOpenDialog(const TFileDialogArgs& Args, bool* ReadOnly,
                                           int* FilterIndex) {
  if (auto a = AskFileSeam(ModalKind::OpenDialog, Args)) {
    if (a->result != IDOK) return {};
    if (ReadOnly) *ReadOnly = a->readOnly;
    if (FilterIndex) *FilterIndex = a->filterIndex;
    if (!a->files.empty()) return a->files;
    return {a->value};
  }
  FileDialogCall call(Args, 64 * 1024);
  call.ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   (Args.multiSelect ? OFN_ALLOWMULTISELECT : 0) |
                   (Args.showReadOnly ? 0 : OFN_HIDEREADONLY);
  if (!GetOpenFileNameW(&call.ofn)) return {};
  if (ReadOnly) *ReadOnly = (call.ofn.Flags & OFN_READONLY) != 0;
  if (FilterIndex) *FilterIndex = static_cast<int>(call.ofn.nFilterIndex);
  return TakeExactNames(SplitSelection(call.buffer.data()));
}

std::string ExecuteSaveDialog(const TFileDialogArgs& Args, int* FilterIndex) {
  if (auto a = AskFileSeam(ModalKind::SaveDialog, Args)) {
    if (a->result != IDOK) return {};
    if (FilterIndex) *FilterIndex = a->filterIndex;
    return a->value;
  }
  FileDialogCall call(Args, MAX_PATH * 4);
  call.ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (Args.overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
  if (!GetSaveFileNameW(&call.ofn)) return {};
  if (FilterIndex) *FilterIndex = static_cast<int>(call.ofn.nFilterIndex);
  // A refused name counts as cancelled: nothing is written, under it or its look-alike.
  const std::vector<std::string> names = TakeExactNames({call.buffer.data()});
  return names.empty() ? std::string() : names.front();
}
