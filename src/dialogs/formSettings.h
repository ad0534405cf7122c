// The options dialog: the settings on seven pages, the text templates, the file types and the
// external programs, written back into the settings when confirmed.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"

class TCheckListBox;
class TColorSwatch;
class TComboBox;
class TEditListView;
class TListItem;
class TPageControl;
class TTabSheet;
class TUpDown;
class TXmlNode;

// An edit that tells when it is left (the memos take several lines).
class TFieldEdit : public TEdit {
public:
  TFieldEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, DWORD ExtraStyle = 0)
      : TEdit(Owner, Parent, X, Y, W, H, ExtraStyle) {}
  // The focus went to another control of the same window (not to a message box, another
  // program, or nowhere as the window goes).
  TNotifyEvent OnExit;
  LRESULT Command(WORD Code) override;
  // A template's text as stored: a zero in it (a "&#0;" in the store), at which a field would
  // end, shows as the sign for it (U+2400) and is read back as a zero while it stays where it
  // was shown. The sign typed or pasted is a character the code page lacks: it reads as "?".
  void SetStoredText(const std::string& Text);
  std::string StoredText() const;

private:
  bool FocusStaysInWindow() const;
  std::string stored_;  // the text given
  std::wstring shown_;  // as the field shows it, each zero as the sign
};

// The syntax identifier of a display name, and back; other texts stay unchanged.
std::string SyntaxDisplayName(const std::string& Identifier);
std::string SyntaxIdentifier(const std::string& DisplayName);
// The texts of a program row's window and shortcut columns, and the numbers stored for them.
std::string AppStyleText(const std::string& StyleField);
std::string AppShortcutText(const std::string& ShortcutField);
int AppStyleNumber(const std::string& StyleText);
int AppShortcutNumber(const std::string& ShortcutText);
// A template name as entered: lower-cased; empty when it holds another character than a
// letter, digit, umlaut or sharp s.
std::string ValidTemplateName(const std::string& Answer, bool& Valid);

class TfrmSettings : public TForm {
public:
  explicit TfrmSettings(TComponent* Owner);
  ~TfrmSettings() override;

  template <class T>
  T* Ctl(const std::string& Name) const { return dynamic_cast<T*>(FindComponent(Name)); }

  void TranslateForm();
  void FormShow();
  void FormClose();
  void btnHelpClick();
  // False when a check refused the values (the dialog stays open, nothing was written).
  bool btnOkClick();
  void UpdateEnabling();
  void txtBackupExtExit();
  void btnReOpenListClearClick();
  void btnAssociateClick();
  void tbSpCharUserDefClick();
  void SelectFont(bool Ansi);
  void SelectColor(TColorSwatch& Swatch);

  // Text templates.
  void FillTemplateList();
  void cmbTemplatesClick();
  void UpdateTemplateControls();
  void TemplateFieldExit(const std::string& Field, TFieldEdit& Edit);
  void tbTemplateNewClick();
  void tbTemplateRenameClick();
  void tbTemplateDeleteClick();

  // File types and programs.
  void lvFiltersSelect();
  // False when a new name, a mask or an extension was refused; Quiet: without a word, the
  // refused text staying in the field.
  bool FilterFieldExit(int Column, TFieldEdit& Edit, bool Quiet = false);
  void cmbFilterSyntaxChange();
  void tbFilterAddClick();
  void tbFilterRemoveClick();
  void MoveFilter(int Delta);
  void tbFilterSortClick();
  void lvAppsSelect();
  // False when a new name or a program path was refused (Quiet as for FilterFieldExit).
  bool AppFieldExit(int Column, TFieldEdit& Edit, bool Quiet = false);
  void cmbAppStyleChange();
  void cmbShortcutChange();
  void tbAppAddClick();
  void tbAppRemoveClick();
  void btnAppPathSelClick();
  // Renames the row when no row has the name yet, and the name field with it while it shows the
  // row; otherwise warns and keeps the caption (Quiet: keeps it without a word).
  bool RenameRow(TEditListView& List, TListItem& Row, const std::string& Name, bool Quiet = false);

  TPageControl* pcSettings = nullptr;
  TEditListView* lvFilters = nullptr;
  TEditListView* lvApps = nullptr;
  TComboBox* cmbTemplates = nullptr;
  TCheckListBox* lstAssociate = nullptr;
  TFont AnsiSampleFont;   // the font of lblAnsiFontTemplate
  TFont AsciiSampleFont;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void BuildGeneralPage(TTabSheet* Page);
  void BuildIntegrationPage(TTabSheet* Page);
  void BuildEditorPage(TTabSheet* Page);
  void BuildViewPage(TTabSheet* Page);
  void BuildTemplatesPage(TTabSheet* Page);
  void BuildFilterPage(TTabSheet* Page);
  void BuildAppsPage(TTabSheet* Page);
  // The up-down "ud" + Name on Edit, with the range and digits of its setting.
  void MakeBoundUpDown(const std::string& Name, TTabSheet* Page, TEdit* Edit);
  void LoadControls();
  void StoreControls();
  void LoadLists();
  void StoreLists();
  bool CommitFields();
  // Whether the focus is on the button named so (the field it came from is left for it).
  bool FocusOn(const char* Button) const;
  // A field's exit handler, quiet when the field is left for OK or Abbrechen: their click may
  // not come (the mouse let go beside the button), and a row picked then must not lose the
  // text; what is refused stays in the field for OK to say once, Abbrechen says nothing.
  TNotifyEvent WhenLeft(std::function<void(bool Quiet)> Exit);
  // False when a field naming a file holds a character the ANSI code page lacks (said so).
  bool CheckNameFields();
  // Whether the field's text names a file; refused aloud, the field takes the focus back.
  bool NameFieldAccepted(TEdit& Edit, bool Quiet);
  // Gives the refused field the focus with its text selected; false.
  bool RefuseField(TEdit& Edit);
  bool CheckShortcuts();
  bool CheckFontSizes();
  void RelayoutList(TEditListView* List);
  TXmlNode* TemplatesNode() const;
  TXmlNode* SelectedTemplate() const;
  void SelectTemplate(const std::string& Name);
  std::string AskTemplateName(const std::string& Title, const std::string& Prompt,
                              const std::string& Preset, bool Rename);
  void SetFilterFields(bool Enabled);
  void SetAppFields(bool Enabled);
};

// Opens the options dialog on Page (-1: the page used last). After OK the settings reach every
// open document and the templates are saved; after Cancel the template edits are undone.
int ShowSettingsDialog(int Page = -1);
// The options dialog; after OK every document keeps its highlighter under the new settings,
// the program menu is rebuilt and a template store that cannot be written is reported.
void ShowOptions();
