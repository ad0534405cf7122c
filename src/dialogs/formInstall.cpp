#include "dialogs/formInstall.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/GroupBox.h"
#include "toolkit/HintWindow.h"

namespace {
const char* const kTitle = "Tarvoline einrichten";
const char* const kMultiUser = "Mehrbenutzersystem (f\xFCr jeden Benutzer getrennt)";
const char* const kUSB = "Verwendung auf einem USB-Stick (Programmverzeichnis von Tarvoline)";
const char* const kUserDef = "Benutzerdefinierten Ordner verwenden:";
const int kWidth = 430;
const int kHeight = 255;

// A program folder that cannot be written must not stop the set-up, so a failure is ignored.
void CreateEmptyFile(const std::string& FileName) {
  HANDLE h = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}
}  // namespace

TfrmInstall::TfrmInstall(TComponent* Owner, const std::string& ProgramDir)
    : TForm(Owner, {kTitle, kWidth, kHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, true}),
      programDir_(AddBackslash(ProgramDir)) {
  lblLanguage = Make<TLabel>("lblLanguage", this, 12, 14, 160, 18);
  cmbLanguage = Make<TComboBox>("cmbLanguage", this, 180, 10, 225, 200);
  grpIni = Make<TGroupBox>("grpIni", this, 10, 42, 395, 130);
  rbIniMultiUser = Make<TRadioButton>("rbIniMultiUser", this, 22, 62, 375, 20, true);
  rbIniUSB = Make<TRadioButton>("rbIniUSB", this, 22, 86, 375, 20);
  rbIniUserDef = Make<TRadioButton>("rbIniUserDef", this, 22, 110, 375, 20);
  txtIniPath = Make<TEdit>("txtIniPath", this, 40, 136, 320, 22, ES_READONLY);
  btnIniSelect = Make<TButton>("btnIniSelect", this, 366, 136, 28, 22);
  btnOk = Make<TButton>("btnOk", this, 235, 185, 80, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, 325, 185, 80, 25);
  hints_ = Make<THintWindow>("hints");

  btnIniSelect->SetCaption("...");
  btnOk->SetModalResult(mrOk);
  btnCancel->SetModalResult(mrCancel);
  rbIniUSB->SetChecked(true);
  rbIniMultiUser->OnClick = [this](TObject*) { rbIniMultiUserClick(); };
  rbIniUSB->OnClick = [this](TObject*) { rbIniUSBClick(); };
  rbIniUserDef->OnClick = [this](TObject*) { rbIniUserDefClick(); };
  btnIniSelect->OnClick = [this](TObject*) { btnIniSelectClick(); };
  cmbLanguage->OnClick = [this](TObject*) { cmbLanguageClick(); };
  CenterOnScreen();
  FormCreate();
}

void TfrmInstall::FormCreate() {
  FillLanguageComboBox(*cmbLanguage, programDir_ + "Language");
  int english = -1;
  for (int i = 0; i < cmbLanguage->Count() && english < 0; ++i)
    if (cmbLanguage->Items(i) == "English") english = i;
  cmbLanguage->SetItemIndex(english >= 0 ? english : 0);
  cmbLanguageClick();
  const std::string plugins = programDir_ + "Plugins\\";
  const std::string allowList = plugins + "AllowedPlugins.ini";
  if (DirectoryExists(plugins) && !FileExists(allowList)) CreateEmptyFile(allowList);
  UpdateControls();
}

void TfrmInstall::CenterOnScreen() {
  SetBounds((GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2,
            kWidth, kHeight);
}

void TfrmInstall::UpdateControls() {
  const bool custom = rbIniUserDef->Checked();
  txtIniPath->SetEnabled(custom);
  btnIniSelect->SetEnabled(custom);
}

void TfrmInstall::rbIniMultiUserClick() { UpdateControls(); }
void TfrmInstall::rbIniUSBClick() { UpdateControls(); }
void TfrmInstall::rbIniUserDefClick() { UpdateControls(); }

bool TfrmInstall::ReadLocation(std::string& Location) const {
  if (rbIniUserDef->Checked()) return ReadNameField(*txtIniPath, Location);
  Location = rbIniMultiUser->Checked() ? "%PERSONAL%" : "%GLOBAL%";
  return true;
}

void TfrmInstall::btnIniSelectClick() {
  const std::string folder = BrowseForFolder(
      Handle(),
      GetLangText("Install|FolderSelText", "Bitte w\xE4hlen Sie den Ordner f\xFCr die Benutzereinstellungen aus."),
      true);
  if (!folder.empty() && DirectoryExists(folder)) txtIniPath->SetText(folder);
}

void TfrmInstall::cmbLanguageClick() {
  Settings.Language = cmbLanguage->Text();
  LoadLanguageFile(programDir_ + "Language\\" + Settings.Language + ".lng");
  TranslateForm();
}

void TfrmInstall::TranslateForm() {
  ApplyFormFont(*this);
  const std::string language = GetLangText("Main|mnuLanguage", "Sprache");
  lblLanguage->SetCaption(language == "Language" ? "Language:" : language + " / Language:");
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "Install|Title", kTitle},
      {TFormText::Caption, "grpIni", "Install|grpIni", "Benutzereinstellungen"},
      {TFormText::Caption, "rbIniMultiUser", "Install|rbIniMultiUser", kMultiUser},
      {TFormText::Caption, "rbIniUSB", "Install|rbIniUSB", kUSB},
      {TFormText::Caption, "rbIniUserDef", "Install|rbIniUserDef", kUserDef},
      {TFormText::Hint, "btnIniSelect", "Install|btnIniSelect", "Benutzerdefinierten Ordner ausw\xE4hlen..."},
      {TFormText::Caption, "btnOk", "General|btnOk", "Ok"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  hints_->Update();
}

bool CreateConfigFile(const std::string& ProgramFolder) {
  const std::string fileName = AddBackslash(ProgramFolder) + ConfigFileName;
  if (FileExists(fileName)) return true;
  TfrmInstall form(nullptr, ProgramFolder);
  std::string location;
  for (;;) {
    if (form.ShowModal() != mrOk) return false;
    if (!form.ReadLocation(location)) continue;  // said; the question comes again
    if (!location.empty()) break;
    MsgBox(GetLangText("Install|MsgNoFolderText",
                       "Bitte w\xE4hlen Sie einen Ordner f\xFCr die Benutzereinstellungen aus."),
           GetLangText("Install|Title", kTitle), MB_OK | MB_ICONINFORMATION);
  }
  TXmlDoc doc("?xml");
  doc.WriteString("Settings\\Path", location);
  if (doc.SaveToFile(fileName, 2, true)) return true;
  MsgBox(GetLangText("Install|MsgConfigSaveErrText",
                     "Die Datei \"%s1%\" konnte nicht geschrieben werden. Tarvoline wird beendet.",
                     LangParams({fileName})),
         GetLangText("Install|Title", kTitle), MB_OK | MB_ICONERROR);
  return false;
}
