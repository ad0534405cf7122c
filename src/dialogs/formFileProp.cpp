#include "dialogs/formFileProp.h"
#include <windows.h>
#include <cctype>
#include <cstdio>
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "foundation/MD5.h"
#include "foundation/SHA1.h"
#include "foundation/fMain.h"
#include "rtl/DateTimeFormat.h"
#include "rtl/FormatSettings.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/GroupBox.h"

namespace {

const char* const kSizeDefault = "%.0n Byte / %.2n KB / %.2n MB";
constexpr int kClientWidth = 595;
constexpr int kClientHeight = 433;

// A count or size (never negative) grouped by threes with the locale's separators, rounded
// to Decimals places.
std::string FormatNumber(double Value, int Decimals, const TFormatSettings& Format) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", Decimals, Value);
  std::string digits = buffer, fraction;
  if (size_t dot = digits.find('.'); dot != std::string::npos) {
    fraction = digits.substr(dot + 1);
    digits.resize(dot);
  }
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += Format.ThousandSeparator;
    grouped += digits[i];
  }
  return fraction.empty() ? grouped : grouped + Format.DecimalSeparator + fraction;
}

// The "%.<d>n" fields of a template and the text between them; false for any other "%".
bool SplitNumberTemplate(const std::string& Template, std::vector<std::string>& Parts,
                         std::vector<int>& Decimals) {
  Parts.assign(1, "");
  Decimals.clear();
  for (size_t i = 0; i < Template.size(); ++i) {
    if (Template[i] != '%') {
      Parts.back() += Template[i];
    } else if (i + 1 < Template.size() && Template[i + 1] == '%') {
      Parts.back() += '%';
      ++i;
    } else if (i + 3 < Template.size() && Template[i + 1] == '.' &&
               std::isdigit(static_cast<unsigned char>(Template[i + 2])) && Template[i + 3] == 'n') {
      Decimals.push_back(Template[i + 2] - '0');
      Parts.emplace_back();
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

std::string FillNumbers(const std::string& Template, const std::vector<double>& Values) {
  std::vector<std::string> parts;
  std::vector<int> decimals;
  if (!SplitNumberTemplate(Template, parts, decimals) || decimals.size() != Values.size())
    return std::string();
  const TFormatSettings format = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  std::string text = parts[0];
  for (size_t i = 0; i < Values.size(); ++i)
    text += FormatNumber(Values[i], decimals[i], format) + parts[i + 1];
  return text;
}

std::string WholeNumber(int64_t Value) {
  return FormatNumber(static_cast<double>(Value), 0, GetLocaleFormatSettings(LOCALE_USER_DEFAULT));
}

void AddChecksums(TTextFacts& Facts, const std::string& Text) {
  Facts.CRC32 = CRC32String(Text);
  Facts.MD5 = MD5DigestToStr(MD5String(Text));
  Facts.SHA1 = SHA1DigestToStr(SHA1String(Text));
}

std::string LocalTime(TDateTime Value) {
  return FormatDateTime("c", Value, GetLocaleFormatSettings(LOCALE_USER_DEFAULT));
}

}  // namespace

std::string FormatFileSize(int64_t Bytes, const std::string& Template, const std::string& Default) {
  const double bytes = static_cast<double>(Bytes);
  const std::vector<double> values{bytes, bytes / 1024, bytes / 1024 / 1024};
  std::string text = FillNumbers(Template, values);
  return text.empty() ? FillNumbers(Default, values) : text;
}

TFileFacts ReadFileFacts(const std::string& FileName) {
  TFileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (FileName.empty() || !GetFileAttributesExA(FileName.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return facts;
  facts.Attributes = data.dwFileAttributes;
  const int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.Size = FormatFileSize(size, GetLangText("FileProp|txtFileSize", kSizeDefault), kSizeDefault);
  TDateTime created, accessed, written;
  if (GetFileTimesLocal(FileName, created, accessed, written)) {
    facts.Created = LocalTime(created);
    facts.Accessed = LocalTime(accessed);
    facts.Modified = LocalTime(written);
  }
  facts.Owner = GetFileOwner(FileName);
  facts.CRC32 = CRC32File(FileName);
  if (auto md5 = MD5File(FileName)) facts.MD5 = MD5DigestToStr(*md5);
  if (auto sha1 = SHA1File(FileName)) facts.SHA1 = SHA1DigestToStr(*sha1);
  return facts;
}

TTextFacts DocumentFacts(const TCustomCodeEdit& Editor, TLineBreakFormat LineBreak) {
  const TStrings& lines = Editor.Lines();
  const int64_t count = lines.Count();
  std::string text;
  for (int i = 0; i < count; ++i) text += lines[i] + "\r\n";
  int64_t chars = static_cast<int64_t>(text.size());
  const int64_t breaks = count > 0 ? count - 1 : 0;
  if (LineBreak == lbfUnix || LineBreak == lbfMacintosh) chars -= breaks;
  else if (LineBreak == lbfNetscape) chars += breaks;
  TTextFacts facts;
  facts.Words = WholeNumber(CountWords(text));
  facts.Chars = WholeNumber(chars);
  facts.Lines = WholeNumber(count);
  AddChecksums(facts, text);
  return facts;
}

TTextFacts SelectionFacts(const std::string& Selected) {
  TStringList lines;
  lines.SetTextStr(Selected);
  TTextFacts facts;
  facts.Words = WholeNumber(CountWords(Selected));
  facts.Chars = WholeNumber(static_cast<int64_t>(Selected.size()));
  facts.Lines = WholeNumber(Selected.empty() ? 0 : lines.Count());
  AddChecksums(facts, Selected);
  return facts;
}

// ---- The dialog ----------------------------------------------------------------------------

TfrmFileProp::TfrmFileProp(TComponent* Owner, const TDocumentInfo& DocInfo,
                           const TCustomCodeEdit& Editor)
    : TForm(Owner, {"Dateieigenschaften", kClientWidth, kClientHeight,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, true}),
      docInfo_(DocInfo), editor_(Editor) {
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetBounds(Left(), Top(), width, height);  // shown modally, it opens over its opener

  txtFullPath = Field("txtFullPath", "lblFullPath", 8, 8, 90, 490);
  txtFileSize = Field("txtFileSize", "lblFileSize", 8, 26, 90, 490);
  txtFileOwner = Field("txtFileOwner", "lblFileOwner", 8, 44, 90, 490);
  grpTimes = Make<TGroupBox>("grpTimes", this, 8, 64, 284, 88);
  txtFileCreated = Field("txtFileCreated", "lblFileCreated", 16, 82, 95, 170);
  txtFileAccessed = Field("txtFileAccessed", "lblFileAccessed", 16, 100, 95, 170);
  txtFileModified = Field("txtFileModified", "lblFileModified", 16, 118, 95, 170);
  grpAttr = Make<TGroupBox>("grpAttr", this, 300, 64, 287, 88);
  auto box = [this](const char* Name, int X, int Y) { return Make<TCheckBox>(Name, this, X, Y, 130, 17); };
  cbAttrArchive = box("cbAttrArchive", 310, 82);
  cbAttrReadOnly = box("cbAttrReadOnly", 310, 99);
  cbAttrSystem = box("cbAttrSystem", 310, 116);
  cbAttrHidden = box("cbAttrHidden", 310, 133);
  cbAttrCompressed = box("cbAttrCompressed", 450, 82);
  cbAttrOffline = box("cbAttrOffline", 450, 99);
  cbAttrTemp = box("cbAttrTemp", 450, 116);
  for (TCheckBox* c : {cbAttrArchive, cbAttrReadOnly, cbAttrSystem, cbAttrHidden, cbAttrCompressed,
                       cbAttrOffline, cbAttrTemp})
    // The boxes only show: a click puts the shown state back.
    c->OnClick = [this](TObject*) { FormShow(); };
  // Rows of 76-pixel groups 4 apart leave the button 8 pixels above the bottom edge.
  grpFileHash = Make<TGroupBox>("grpFileHash", this, 8, 156, 579, 76);
  HashFields("File", 16, 174);
  grpStatDoc = Make<TGroupBox>("grpStatDoc", this, 8, 236, 140, 76);
  CountFields("Doc", 16, 254);
  grpHashDoc = Make<TGroupBox>("grpHashDoc", this, 156, 236, 431, 76);
  HashFields("Doc", 164, 254);
  grpStatSel = Make<TGroupBox>("grpStatSel", this, 8, 316, 140, 76);
  CountFields("Sel", 16, 334);
  grpHashSel = Make<TGroupBox>("grpHashSel", this, 156, 316, 431, 76);
  HashFields("Sel", 164, 334);
  txtFileCRC32 = dynamic_cast<TEdit*>(FindComponent("txtFileCRC32"));
  txtFileMD5 = dynamic_cast<TEdit*>(FindComponent("txtFileMD5"));
  txtFileSHA1 = dynamic_cast<TEdit*>(FindComponent("txtFileSHA1"));
  txtDocCRC32 = dynamic_cast<TEdit*>(FindComponent("txtDocCRC32"));
  txtDocMD5 = dynamic_cast<TEdit*>(FindComponent("txtDocMD5"));
  txtDocSHA1 = dynamic_cast<TEdit*>(FindComponent("txtDocSHA1"));
  txtSelCRC32 = dynamic_cast<TEdit*>(FindComponent("txtSelCRC32"));
  txtSelMD5 = dynamic_cast<TEdit*>(FindComponent("txtSelMD5"));
  txtSelSHA1 = dynamic_cast<TEdit*>(FindComponent("txtSelSHA1"));
  txtDocWordCount = dynamic_cast<TEdit*>(FindComponent("txtDocWordCount"));
  txtDocCharCount = dynamic_cast<TEdit*>(FindComponent("txtDocCharCount"));
  txtDocLineCount = dynamic_cast<TEdit*>(FindComponent("txtDocLineCount"));
  txtSelWordCount = dynamic_cast<TEdit*>(FindComponent("txtSelWordCount"));
  txtSelCharCount = dynamic_cast<TEdit*>(FindComponent("txtSelCharCount"));
  txtSelLineCount = dynamic_cast<TEdit*>(FindComponent("txtSelLineCount"));
  btnClose = Make<TButton>("btnClose", this, 487, kClientHeight - 8 - 25, 100, 25, true);
  btnClose->SetModalResult(mrOk);
  OnShow = [this](TObject*) { FormShow(); };
  TranslateForm();
}

TEdit* TfrmFileProp::Field(const std::string& Name, const std::string& LabelName, int X, int Y,
                           int LabelWidth, int Width) {
  Make<TLabel>(LabelName, this, X, Y, LabelWidth, 16);
  return Make<TEdit>(Name, this, X + LabelWidth, Y, Width, 16, ES_READONLY | ES_AUTOHSCROLL);
}

void TfrmFileProp::HashFields(const std::string& Prefix, int X, int Y) {
  const int width = Prefix == "File" ? 490 : 340;
  Field("txt" + Prefix + "CRC32", "lbl" + Prefix + "CRC32", X, Y, 60, width);
  Field("txt" + Prefix + "MD5", "lbl" + Prefix + "MD5", X, Y + 18, 60, width);
  Field("txt" + Prefix + "SHA1", "lbl" + Prefix + "SHA1", X, Y + 36, 60, width);
}

void TfrmFileProp::CountFields(const std::string& Prefix, int X, int Y) {
  Field("txt" + Prefix + "WordCount", "lbl" + Prefix + "WordCount", X, Y, 60, 64);
  Field("txt" + Prefix + "CharCount", "lbl" + Prefix + "CharCount", X, Y + 18, 60, 64);
  Field("txt" + Prefix + "LineCount", "lbl" + Prefix + "LineCount", X, Y + 36, 60, 64);
}

void TfrmFileProp::TranslateForm() {
  ApplyFormFont(*this);
  std::vector<TFormText> texts = {
      {TFormText::Caption, "lblFullPath", "FileProp|lblFullPath", "Dateiname:"},
      {TFormText::Caption, "lblFileSize", "FileProp|lblFileSize", "Dateigr\xF6\xDF" "e:"},
      {TFormText::Caption, "lblFileOwner", "FileProp|lblFileOwner", "Besitzer:"},
      {TFormText::Caption, "grpTimes", "FileProp|grpTimes", "Dateizeiten"},
      {TFormText::Caption, "lblFileCreated", "FileProp|lblFileCreated", "Erstellt:"},
      {TFormText::Caption, "lblFileAccessed", "FileProp|lblFileAccessed", "Letzter Zugriff:"},
      {TFormText::Caption, "lblFileModified", "FileProp|lblFileModified", "Ge\xE4ndert:"},
      {TFormText::Caption, "grpAttr", "FileProp|grpAttr", "Dateiattribute"},
      {TFormText::Caption, "cbAttrArchive", "FileProp|cbAttrArchive", "Archiv"},
      {TFormText::Caption, "cbAttrReadOnly", "FileProp|cbAttrReadOnly", "Schreibgesch\xFCtzt"},
      {TFormText::Caption, "cbAttrSystem", "FileProp|cbAttrSystem", "System"},
      {TFormText::Caption, "cbAttrHidden", "FileProp|cbAttrHidden", "Versteckt"},
      {TFormText::Caption, "cbAttrCompressed", "FileProp|cbAttrCompressed", "Komprimiert"},
      {TFormText::Caption, "cbAttrOffline", "FileProp|cbAttrOffline", "Offline"},
      {TFormText::Caption, "cbAttrTemp", "FileProp|cbAttrTemp", "Tempor\xE4r"},
      {TFormText::Caption, "grpFileHash", "FileProp|grpFileHash", "Hash-Werte der Datei"},
      {TFormText::Caption, "grpStatDoc", "FileProp|grpStatDoc", "Dokumentstatistik"},
      {TFormText::Caption, "grpHashDoc", "FileProp|grpHashDoc", "Hash-Werte des Dokuments"},
      {TFormText::Caption, "grpStatSel", "FileProp|grpStatSel", "Statistik der Markierung"},
      {TFormText::Caption, "grpHashSel", "FileProp|grpHashSel", "Hash-Werte der Markierung"},
      {TFormText::Caption, "btnClose", "General|btnClose", "Schlie\xDF" "en"},
  };
  for (const char* prefix : {"Doc", "Sel"}) {
    const std::string p = prefix;
    texts.push_back({TFormText::Caption, "lbl" + p + "WordCount", "FileProp|lblWordCount", "W\xF6rter:"});
    texts.push_back({TFormText::Caption, "lbl" + p + "CharCount", "FileProp|lblCharCount", "Zeichen:"});
    texts.push_back({TFormText::Caption, "lbl" + p + "LineCount", "FileProp|lblLineCount", "Zeilen:"});
  }
  for (const char* prefix : {"File", "Doc", "Sel"}) {
    const std::string p = prefix;
    texts.push_back({TFormText::Caption, "lbl" + p + "CRC32", "FileProp|lblCRC32", "CRC-32:"});
    texts.push_back({TFormText::Caption, "lbl" + p + "MD5", "FileProp|lblMD5", "MD5:"});
    texts.push_back({TFormText::Caption, "lbl" + p + "SHA1", "FileProp|lblSHA1", "SHA1:"});
  }
  ApplyFormTexts(*this, texts);
}

void TfrmFileProp::FormShow() {
  const std::string& name = docInfo_.FileName;
  SetCaption(GetLangText("FileProp|Title", "Dateieigenschaften von \"%s1%\"",
                         LangParams({ExtractFileName(name)})));
  txtFullPath->SetText(name);
  const TFileFacts file = ReadFileFacts(name);
  txtFileSize->SetText(file.Size);
  txtFileOwner->SetText(file.Owner);
  txtFileCreated->SetText(file.Created);
  txtFileAccessed->SetText(file.Accessed);
  txtFileModified->SetText(file.Modified);
  const std::pair<TCheckBox*, DWORD> bits[] = {
      {cbAttrArchive, FILE_ATTRIBUTE_ARCHIVE}, {cbAttrReadOnly, FILE_ATTRIBUTE_READONLY},
      {cbAttrSystem, FILE_ATTRIBUTE_SYSTEM}, {cbAttrHidden, FILE_ATTRIBUTE_HIDDEN},
      {cbAttrCompressed, FILE_ATTRIBUTE_COMPRESSED}, {cbAttrOffline, FILE_ATTRIBUTE_OFFLINE},
      {cbAttrTemp, FILE_ATTRIBUTE_TEMPORARY}};
  for (const auto& [box, bit] : bits) box->SetChecked((file.Attributes & bit) != 0);
  txtFileCRC32->SetText(file.CRC32);
  txtFileMD5->SetText(file.MD5);
  txtFileSHA1->SetText(file.SHA1);
  const TTextFacts doc = DocumentFacts(editor_, docInfo_.LineBreakFormat);
  const TTextFacts sel = SelectionFacts(editor_.SelText());
  const std::pair<TEdit*, std::string> fields[] = {
      {txtDocWordCount, doc.Words}, {txtDocCharCount, doc.Chars}, {txtDocLineCount, doc.Lines},
      {txtDocCRC32, doc.CRC32},     {txtDocMD5, doc.MD5},         {txtDocSHA1, doc.SHA1},
      {txtSelWordCount, sel.Words}, {txtSelCharCount, sel.Chars}, {txtSelLineCount, sel.Lines},
      {txtSelCRC32, sel.CRC32},     {txtSelMD5, sel.MD5},         {txtSelSHA1, sel.SHA1}};
  for (const auto& [edit, text] : fields) edit->SetText(text);
}
