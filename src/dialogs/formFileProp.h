// The file-properties dialog: a document's file on disk, its text and its selection in figures.
#pragma once
#include <cstdint>
#include <string>
#include "documents/frameEdit.h"
#include "toolkit/Form.h"

class TButton;
class TCheckBox;
class TCustomCodeEdit;
class TEdit;
class TGroupBox;
class TLabel;

// ---- The figures, testable without the dialog ---------------------------------------------

struct TFileFacts {
  std::string Size, Owner, Created, Accessed, Modified;
  uint32_t Attributes = 0;  // 0 when the file cannot be found
  std::string CRC32, MD5, SHA1;
};
struct TTextFacts {
  std::string Words, Chars, Lines, CRC32, MD5, SHA1;
};

// The file's size, owner, times, attributes and checksums; every field empty (and no
// attribute) for an empty name or a missing file.
TFileFacts ReadFileFacts(const std::string& FileName);
// Bytes, KB and MB in the locale's number format, from a template of three "%.<d>n" fields
// (Default when the template's fields differ).
std::string FormatFileSize(int64_t Bytes, const std::string& Template, const std::string& Default);
// The whole text as lines each followed by CR LF; characters corrected for the line breaks
// the document is saved with.
TTextFacts DocumentFacts(const TCustomCodeEdit& Editor, TLineBreakFormat LineBreak);
// The selected text as it stands (line breaks as CR LF).
TTextFacts SelectionFacts(const std::string& Selected);

// ---- The dialog ----------------------------------------------------------------------------

class TfrmFileProp : public TForm {
public:
  // The dialog shows the figures of a copy of the document's information and its editor.
  TfrmFileProp(TComponent* Owner, const TDocumentInfo& DocInfo, const TCustomCodeEdit& Editor);

  void TranslateForm();
  // Fills every field; run when the dialog is shown.
  void FormShow();

  TEdit *txtFullPath, *txtFileSize, *txtFileOwner;
  TGroupBox* grpTimes;
  TEdit *txtFileCreated, *txtFileAccessed, *txtFileModified;
  TGroupBox* grpAttr;
  TCheckBox *cbAttrArchive, *cbAttrReadOnly, *cbAttrSystem, *cbAttrHidden, *cbAttrCompressed,
      *cbAttrOffline, *cbAttrTemp;
  TGroupBox* grpFileHash;
  TEdit *txtFileCRC32, *txtFileMD5, *txtFileSHA1;
  TGroupBox *grpStatDoc, *grpHashDoc, *grpStatSel, *grpHashSel;
  TEdit *txtDocWordCount, *txtDocCharCount, *txtDocLineCount, *txtDocCRC32, *txtDocMD5, *txtDocSHA1;
  TEdit *txtSelWordCount, *txtSelCharCount, *txtSelLineCount, *txtSelCRC32, *txtSelMD5, *txtSelSHA1;
  TButton* btnClose;

private:
  TEdit* Field(const std::string& Name, const std::string& LabelName, int X, int Y, int LabelWidth,
               int Width);
  void HashFields(const std::string& Prefix, int X, int Y);
  void CountFields(const std::string& Prefix, int X, int Y);

  TDocumentInfo docInfo_;
  const TCustomCodeEdit& editor_;
};
