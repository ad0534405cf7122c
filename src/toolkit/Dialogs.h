// Modal questions: message boxes, the one-line input box, file dialogs and modal forms.
// All go through one seam, so tests can answer them without a person.
#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "toolkit/ToolkitText.h"

class TForm;
class TWinControl;

enum class ModalKind {
  MessageBox, InputBox, OpenDialog, SaveDialog, Form, FolderDialog,
  PrintDialog, PrinterSetupDialog, FontDialog, ColorDialog  // see PrintDialogs.h
};

// What the answer of the input box is for: plain text keeps "?" for a character the ANSI code
// page lacks; a name (ReadNameField) or a search text (ReadSearchField, the field named by the
// box's caption) holding one is refused and the box asks again.
enum class TInputKind { Text, Name, SearchText };

struct ModalQuestion {
  ModalKind kind = ModalKind::MessageBox;
  std::string text;     // message, prompt, or the form's caption
  std::string caption;  // title
  UINT flags = 0;       // MB_... for message boxes
  std::string value;    // default text or file name
  std::string filter;   // "Name|*.ext|Name|*.ext" for file dialogs
  TForm* form = nullptr;
  TInputKind input = TInputKind::Text;  // what the input box asks for
};

struct ModalAnswer {
  int result = IDCANCEL;            // IDYES/IDNO/IDOK/IDCANCEL, or a form's modal result
  std::string value;                // entered text or chosen file name
  std::vector<std::string> files;   // several chosen files
  bool readOnly = false;            // the open dialog's read-only box
  int filterIndex = 1;
  std::vector<int> numbers;         // print, font and colour dialogs: see PrintDialogs.h
};

// Answers a question instead of the person; returning nothing lets the real dialog run.
using ModalAnswerer = std::function<std::optional<ModalAnswer>(const ModalQuestion&)>;
void SetModalAnswerer(ModalAnswerer Answerer);
// Every modal question passes here before it shows, also one the answerer takes.
std::optional<ModalAnswer> AskModalSeam(const ModalQuestion& Question);
// Runs before each modal question shows, so that no window of the program covers it (the
// start-up's splash). Empty for none; the hook may take itself away.
void SetBeforeModal(std::function<void()> Hook);

// Sets the lookup that gives the toolkit's own messages their texts; nothing for German.
void SetTextLookup(TTextLookup Lookup);

// Names for a message, each on a line of its own after a line break: the first 20 of a long
// list and a line saying how many more.
std::string NameLines(const std::vector<std::string>& Names);
// Tells the person that these names were refused because the ANSI code page cannot hold them:
// one a line, as WideToAnsiExact shows them, the first 20 of a long list and how many more.
// Nothing is read, listed, started or written under them. Further, when not empty, follows in
// the same box after a blank line: one box for names set aside for another reason too.
void ReportRefusedNames(const std::vector<std::string>& Shown, const std::string& Further = "");

// A field's text as typed or pasted, where "?" in place of a character the ANSI code page lacks
// would not do. A field naming a file, folder, mask or program: false, after ReportRefusedNames,
// when it holds such a character. A search or replace text: false, after a message naming the
// field by FieldName. Nothing may then be done with the text.
bool ReadNameField(const TWinControl& Field, std::string& Name);
bool ReadSearchField(const TWinControl& Field, const std::string& FieldName, std::string& Text);
// The same, the field named by the label beside it (FieldNameOf its caption).
bool ReadSearchField(const TWinControl& Field, const TWinControl& Label, std::string& Text);
// A label's caption as the name of the field it stands for: without its closing colon.
std::string FieldNameOf(std::string LabelCaption);

// The window a new modal window belongs to: the active window of this thread, else the
// innermost modal form, else the main window.
HWND ModalOwner();

// A standard message box owned by the modal owner; returns the button pressed.
int MsgBox(const std::string& Text, const std::string& Caption, UINT Flags);
// The one-line input box; false when cancelled. Value holds the default and the answer.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value,
                TInputKind Kind = TInputKind::Text);

struct TFileDialogArgs {
  std::string title;
  std::string filter;      // "Name|*.ext;*.ext2|Name|*.*"
  int filterIndex = 1;
  std::string initialDir;
  std::string fileName;
  std::string defaultExt;
  bool multiSelect = false;
  bool showReadOnly = false;
  bool overwritePrompt = true;
};
// The file dialogs run wide: a chosen name the ANSI code page cannot hold exactly is reported
// (ReportRefusedNames) and left out, never taken as the look-alike the system would make of it.
// The chosen files (full names); empty when cancelled.
std::vector<std::string> ExecuteOpenDialog(const TFileDialogArgs& Args, bool* ReadOnly = nullptr,
                                           int* FilterIndex = nullptr);
// The chosen file name; empty when cancelled.
std::string ExecuteSaveDialog(const TFileDialogArgs& Args, int* FilterIndex = nullptr);
