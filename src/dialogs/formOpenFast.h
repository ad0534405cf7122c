// The find-files dialog: lists files by name mask and content, opens them, replaces in them.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "toolkit/Form.h"

class ERegex;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListView;
class TPageControl;
class TRegex;
class TStringList;
class TTabSheet;

// ---- The work behind the dialog, testable without it --------------------------------------

struct TFindInFilesOptions {
  bool CaseSensitive = false;
  bool WholeWords = false;
  bool UseRegExpr = false;
};

// The search text as one compiled test. Raises ERegex from the constructor for a pattern that
// does not compile, so a bad expression is reported before any file is read; FoundIn and
// ReplaceIn may raise ERegex for a runaway search.
class TContentMatcher {
public:
  TContentMatcher(const std::string& SearchText, const TFindInFilesOptions& Options);
  ~TContentMatcher();
  bool FoundIn(std::string_view Content);
  std::string ReplaceIn(const std::string& Content, const std::string& Replacement);

private:
  std::string text_;
  bool caseSensitive_;
  std::unique_ptr<TRegex> regex_;
};

// The full paths of the files in Folder (and, with Recurse, its sub-folders) whose names match
// Mask, in listing order. A folder already on the current path (a link back up) is skipped.
// A file or folder whose name the ANSI code page cannot hold is neither listed nor entered: it
// goes to PassedOver (when given) as WideToAnsiExact shows it.
std::vector<std::string> ListMatchingFiles(const std::string& Folder, const std::string& Mask,
                                           bool Recurse,
                                           std::vector<std::string>* PassedOver = nullptr);
// The file's bytes; false when it cannot be opened, read whole, or held in memory.
bool ReadFileBytes(const std::string& FileName, std::string& Content);

// ---- The dialog ----------------------------------------------------------------------------

class TfrmOpenFast : public TForm {
public:
  explicit TfrmOpenFast(TComponent* Owner);
  ~TfrmOpenFast() override;

  void TranslateForm();
  // The listed paths, all or only the selected ones, in list order.
  std::vector<std::string> Files(bool SelectedOnly) const;
  // Whether a search or replace run is going on (the dialog cannot close meanwhile).
  bool Running() const { return running_; }

  TGroupBox* grpFiles;
  TLabel* lblMask;
  TComboBox* cmbMask;
  TLabel* lblDir;
  TComboBox* cmbDir;
  TButton* btnDirSel;
  TButton* btnActFolder;
  TCheckBox* chkUseSubDirs;
  TPageControl* pcSR;
  TTabSheet* tabSearch;
  TTabSheet* tabReplace;
  TLabel* lblSearch;
  TComboBox* cmbSearch;
  TEdit* txtSearch;
  TCheckBox* chkCaseSensitive;
  TCheckBox* chkWholeWords;
  TCheckBox* chkUseRegExpr;
  TCheckBox* chkMultiLine;
  TButton* btnSearch;
  TLabel* lblReplace;
  TComboBox* cmbReplace;
  TEdit* txtReplace;
  TCheckBox* chkReplaceEscape;
  TCheckBox* chkReplaceSelectedOnly;
  TButton* btnReplace;
  TLabel* lblFiles;
  TListView* lstFiles;
  TButton* btnOpen;
  TButton* btnOpenAll;
  TButton* btnCancel;

  void btnSearchClick(TObject* Sender);
  void btnReplaceClick(TObject* Sender);

private:
  void CreateControls();
  void FormCreate();
  void UpdateOptionControls();
  void chkMultiLineClick(TObject* Sender);
  void pcSRChange(TObject* Sender);
  void OpenClick(bool All, int Result);
  void AddToHistory(const std::string& Text, TComboBox& Box, TStringList& List);
  void HookHistoryKeys(TComboBox& Box, TButton* EnterButton);
  // The search and replace texts of the shown fields; false (after saying so) for one that
  // holds a character the ANSI code page lacks.
  bool ReadSearchText(std::string& Text) const;
  bool ReadReplaceText(std::string& Text) const;
  TFindInFilesOptions Options() const;
  void StoreSearchOptions();
  // A run turns Button into its cancel button and disables the rest of the dialog, for the
  // life of the object: every way out of a run ends it. The keyboard goes to the cancel button
  // meanwhile and back to where it was afterwards.
  class TRun {
  public:
    TRun(TfrmOpenFast& Form, TButton& Button) : form_(Form) { form_.BeginRun(Button); }
    ~TRun() { form_.EndRun(); }
    TRun(const TRun&) = delete;
    TRun& operator=(const TRun&) = delete;

  private:
    TfrmOpenFast& form_;
  };
  void BeginRun(TButton& Button);
  std::vector<TWinControl*> RunLockedControls() const;
  void EndRun();
  // Processes pending messages; true once the running button was pressed.
  bool CancelRequested();
  void Search(const std::string& Folder, const std::string& Mask, const std::string& Text);
  void Replace();
  void ShowRegexError(const ERegex& Error);
  void SetFiles(const std::vector<std::string>& Files);

  bool running_ = false;
  // The running button's cancel mark: 1 while a run goes on, -1 once cancelled.
  int cancelMark_ = 0;
  TButton* runningButton_ = nullptr;
  std::string runningCaption_;
  // The control that had the keyboard when the run began; nullptr when the dialog had none.
  HWND focusBeforeRun_ = nullptr;
  bool multiLine_ = false;
};
