// The about box: the program's name, version and copyright, the maker's links and the loaded
// language file's translator.
#pragma once
#include <functional>
#include <string>
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"

// A label that opens something when clicked: navy, underlined, with the hand cursor.
class TLinkLabel : public TWinControl, public TNotifiedControl {
public:
  TLinkLabel(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  TNotifyEvent OnClick;
  LRESULT Command(WORD Code) override;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
};

// A flag picture: a bitmap file when loaded, else the form's own default flag.
class TFlagImage : public TWinControl {
public:
  TFlagImage(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  ~TFlagImage() override;
  bool LoadFromFile(const std::string& FileName);
  bool HasPicture() const { return bitmap_ != nullptr; }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  HBITMAP bitmap_ = nullptr;
};

class TfrmInfo : public TForm {
public:
  // VersionValue reads the program file's version information ("ProductVersion"); the
  // default reads the running program's.
  using TVersionSource = std::function<std::string(const std::string& Key)>;
  explicit TfrmInfo(TComponent* Owner, TVersionSource VersionValue = nullptr);

  template <class T>
  T* Ctl(const std::string& Name) const { return dynamic_cast<T*>(FindComponent(Name)); }

  void FormCreate();
  void lblHomePageClick(const std::string& Address);
  void lblMailAddrClick();
  void lblLangMailAddrClick();
  // The bare version number the mail subjects carry.
  const std::string& Version() const { return version_; }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void OpenMail(const std::string& Address, const std::string& Subject);
  TVersionSource versionValue_;
  std::string version_;
};

// Shows the about box modally.
void ShowAboutBox();
