// The first-run dialog that chooses where the settings live, and the location file it writes.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TLabel;
class TComboBox;
class TGroupBox;
class TRadioButton;
class TEdit;
class TButton;
class THintWindow;

class TfrmInstall : public TForm {
public:
  // ProgramDir (with its trailing backslash) holds the "Language" and "Plugins" folders.
  TfrmInstall(TComponent* Owner, const std::string& ProgramDir);

  // The chosen location as the location file stores it: "%PERSONAL%", "%GLOBAL%" or the
  // custom folder (empty while none is chosen). False, after ReportRefusedNames, for a custom
  // folder the ANSI code page cannot name.
  bool ReadLocation(std::string& Location) const;

  void TranslateForm();
  void btnIniSelectClick();
  void cmbLanguageClick();
  void rbIniMultiUserClick();
  void rbIniUSBClick();
  void rbIniUserDefClick();

  TLabel* lblLanguage;
  TComboBox* cmbLanguage;
  TGroupBox* grpIni;
  TRadioButton* rbIniMultiUser;
  TRadioButton* rbIniUSB;
  TRadioButton* rbIniUserDef;
  TEdit* txtIniPath;
  TButton* btnIniSelect;
  TButton* btnOk;
  TButton* btnCancel;

private:
  void FormCreate();
  void UpdateControls();
  void CenterOnScreen();

  THintWindow* hints_ = nullptr;
  std::string programDir_;
};

// True when the program folder's location file exists or the first-run dialog wrote it;
// false when the user cancelled or the file could not be written (reported in a message box).
bool CreateConfigFile(const std::string& ProgramFolder);
