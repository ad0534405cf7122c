#include "dialogs/formInfo.h"
#include "commands/ExtrasCommands.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ShellStart.h"

namespace {
const char* const kFlagClass = "TarvolineFlag";
constexpr COLORREF kNavy = RGB(0, 0, 128);

std::string I(const std::string& Key, const std::string& German,
              const std::string& Params = LangNoParams) {
  return GetLangText("Info|" + Key, German, Params);
}

bool IsWebAddress(const std::string& Text) {
  std::string t = LowerCase(Text);
  return t.rfind("http://", 0) == 0 || t.rfind("https://", 0) == 0 || t.rfind("www.", 0) == 0;
}
}  // namespace

TLinkLabel::TLinkLabel(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner) {
  CreateSystemControl("STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY, 0,
                      Parent ? Parent->Handle() : nullptr, X, Y, W, H);
  SetFontStyle({TFontStyle::fsUnderline});
}

LRESULT TLinkLabel::Command(WORD Code) {
  if (Code == STN_CLICKED && OnClick) OnClick(this);
  return 0;
}

LRESULT TLinkLabel::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_SETCURSOR) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

TFlagImage::TFlagImage(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner) {
  RegisterClassOnce(kFlagClass, 0, nullptr, nullptr);
  CreateHandle(kFlagClass, WS_CHILD | WS_VISIBLE, 0, Parent ? Parent->Handle() : nullptr, X, Y, W, H);
}

TFlagImage::~TFlagImage() {
  DestroyHandle();
  if (bitmap_) DeleteObject(bitmap_);
}

bool TFlagImage::LoadFromFile(const std::string& FileName) {
  auto* loaded = static_cast<HBITMAP>(
      LoadImageA(nullptr, FileName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!loaded) return false;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = loaded;
  BITMAP bm = {};
  GetObjectA(bitmap_, sizeof bm, &bm);
  SetBounds(Left(), Top(), bm.bmWidth, bm.bmHeight);
  Invalidate();
  return true;
}

LRESULT TFlagImage::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg != WM_PAINT) return TWinControl::WndProc(Msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT r = ClientRect();
  if (bitmap_) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap_);
    // Transparent: the bottom-left pixel's colour is the background.
    TransparentBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, r.right, r.bottom,
                   GetPixel(mem, 0, r.bottom - 1));
    SelectObject(mem, old);
    DeleteDC(mem);
  } else {
    const COLORREF stripes[] = {RGB(0, 0, 0), RGB(221, 0, 0), RGB(255, 206, 0)};
    for (int i = 0; i < 3; ++i) {
      RECT s = {0, r.bottom * i / 3, r.right, r.bottom * (i + 1) / 3};
      HBRUSH b = CreateSolidBrush(stripes[i]);
      FillRect(dc, &s, b);
      DeleteObject(b);
    }
  }
  EndPaint(Handle(), &ps);
  return 0;
}

TfrmInfo::TfrmInfo(TComponent* Owner, TVersionSource VersionValue)
    : TForm(Owner, {"", 385, 373, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                    WS_EX_DLGMODALFRAME, true}),
      versionValue_(std::move(VersionValue)) {
  if (!versionValue_)
    versionValue_ = [](const std::string& Key) { return GetFileVersionValue(ProgramFile(), Key); };
  RECT want = {0, 0, 385, 373};
  AdjustWindowRectEx(&want, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  int w = want.right - want.left, h = want.bottom - want.top;
  SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);

  auto* icon = Make<TLabel>("imgIcon", this, 12, 12, 32, 32);
  SetWindowLongA(icon->Handle(), GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_ICON);
  HICON picture = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  SendMessageA(icon->Handle(), STM_SETICON,
               reinterpret_cast<WPARAM>(picture ? picture : LoadIconA(nullptr, IDI_APPLICATION)), 0);
  Make<TLabel>("lblTitle", this, 56, 12, 310, 18);
  Make<TLabel>("lblVersion", this, 56, 32, 310, 16);
  Make<TLabel>("lblDescription", this, 56, 52, 310, 32);
  Make<TLabel>("lblCopyright", this, 56, 88, 310, 16);
  Make<TLabel>("lblRights", this, 56, 106, 310, 16);
  Make<TLabel>("lblHome", this, 56, 134, 70, 16);
  Make<TLinkLabel>("lblHomePage", this, 130, 134, 240, 16)->OnClick = [this](TObject*) {
    lblHomePageClick(Ctl<TLinkLabel>("lblHomePage")->Caption());
  };
  Make<TLabel>("lblMail", this, 56, 152, 70, 16);
  Make<TLinkLabel>("lblMailAddr", this, 130, 152, 240, 16)->OnClick = [this](TObject*) {
    lblMailAddrClick();
  };
  Make<TGroupBox>("grpLang", this, 12, 184, 361, 136);
  Make<TFlagImage>("imgLang", this, 32, 210, 48, 30);
  Make<TLabel>("lblLang", this, 96, 208, 260, 18);
  Make<TLabel>("lblLangAuthor", this, 96, 236, 70, 16);
  Make<TLabel>("lblLangAuthorName", this, 170, 236, 190, 16);
  Make<TLabel>("lblLangHome", this, 96, 256, 70, 16);
  Make<TLinkLabel>("lblLangHomePage", this, 170, 256, 190, 16)->OnClick = [this](TObject*) {
    lblHomePageClick(Ctl<TLinkLabel>("lblLangHomePage")->Caption());
  };
  Make<TLabel>("lblLangMail", this, 96, 276, 70, 16);
  Make<TLinkLabel>("lblLangMailAddr", this, 170, 276, 190, 16)->OnClick = [this](TObject*) {
    lblLangMailAddrClick();
  };
  Make<TButton>("btnOk", this, 148, 336, 88, 25, true)->SetModalResult(mrOk);
  FormCreate();
}

void TfrmInfo::FormCreate() {
  ApplyFormFont(*this);
  SetCaption(I("frmTitle", "Info \xFC" "ber %s1%", LangParams({"Tarvoline"})));
  Ctl<TLabel>("lblTitle")->SetCaption("Tarvoline");
  version_ = versionValue_("ProductVersion");
  Ctl<TLabel>("lblDescription")->SetCaption(I("lblDescription", versionValue_("Comments")));
  Ctl<TLabel>("lblVersion")->SetCaption(I("lblVersion", "Version %s1%", LangParams({version_})));
  Ctl<TLabel>("lblCopyright")->SetCaption(versionValue_("LegalCopyright"));
  Ctl<TLabel>("lblRights")->SetCaption(I("lblRights", "Alle Rechte vorbehalten."));
  Ctl<TLabel>("lblHome")->SetCaption(I("lblHome", "Homepage:"));
  Ctl<TLabel>("lblMail")->SetCaption(I("lblMail", "E-Mail:"));
  Ctl<TLinkLabel>("lblHomePage")->SetCaption(MakerHomePage);
  Ctl<TLinkLabel>("lblHomePage")->SetHint(I("lblHomePage", "Homepage des Autors besuchen"));
  Ctl<TLinkLabel>("lblMailAddr")->SetCaption(MakerMailAddress);
  Ctl<TLinkLabel>("lblMailAddr")->SetHint(I("lblMailAddr", "E-Mail an den Autor senden"));

  Ctl<TGroupBox>("grpLang")->SetCaption(I("grpLang", "Sprachdatei"));
  auto* flag = Ctl<TFlagImage>("imgLang");
  std::string bitmap = Settings.AppDir + "Language\\" + Settings.Language + ".bmp";
  if (!Settings.Language.empty() && FileExists(bitmap) && flag->LoadFromFile(bitmap)) {
    int groupLeft = Ctl<TGroupBox>("grpLang")->Left();
    flag->SetBounds(groupLeft + 80 - flag->Width(), flag->Top(), flag->Width(), flag->Height());
  }
  Ctl<TLabel>("lblLang")->SetCaption(GetLangText("Lang|Language", "Deutsch"));
  Ctl<TLabel>("lblLangAuthorName")->SetCaption(GetLangText("Lang|AuthorName", "Orvask"));
  Ctl<TLinkLabel>("lblLangHomePage")->SetCaption(GetLangText("Lang|AuthorSite", "http://www.orvask.de/"));
  Ctl<TLinkLabel>("lblLangMailAddr")->SetCaption(GetLangText("Lang|AuthorMail", "info@orvask.de"));
  Ctl<TLabel>("lblLangAuthor")->SetCaption(I("lblLangAuthor", "Autor:"));
  Ctl<TLabel>("lblLangHome")->SetCaption(I("lblHome", "Homepage:"));
  Ctl<TLabel>("lblLangMail")->SetCaption(I("lblMail", "E-Mail:"));
  Ctl<TLinkLabel>("lblLangHomePage")->SetHint(I("lblLangHomePage", "Homepage des \xDC" "bersetzers besuchen"));
  Ctl<TLinkLabel>("lblLangMailAddr")->SetHint(I("lblLangMailAddr", "E-Mail an den \xDC" "bersetzer senden"));
  Ctl<TButton>("btnOk")->SetCaption(GetLangText("General|btnOk", "Ok"));
  for (const char* name : {"lblTitle", "lblLang"}) Ctl<TLabel>(name)->SetFontStyle({TFontStyle::fsBold});
}

LRESULT TfrmInfo::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_CTLCOLORSTATIC &&
      dynamic_cast<TLinkLabel*>(TWinControl::FromHandle(reinterpret_cast<HWND>(lParam)))) {
    LRESULT brush = TForm::WndProc(Msg, wParam, lParam);
    SetTextColor(reinterpret_cast<HDC>(wParam), kNavy);
    return brush;
  }
  return TForm::WndProc(Msg, wParam, lParam);
}

void TfrmInfo::lblHomePageClick(const std::string& Address) {
  // The translator's address comes from a language file: only web addresses are opened.
  if (!IsWebAddress(Address)) return;
  if (!ShellStart(Address))
    MsgBox(GetLangText("General|MsgNoStdBrowserText", "Ihr Standard-Webbrowser konnte nicht ge\xF6" "ffnet werden!"),
           GetLangText("General|MsgNoStdBrowserTitle", "Kein Standard-Webbrowser gefunden"), MB_OK);
}

void TfrmInfo::OpenMail(const std::string& Address, const std::string& Subject) {
  if (!ShellStart("mailto:" + URLEncode(Address, "") + "?subject=" + URLEncode(Subject, "")))
    MsgBox(GetLangText("General|MsgNoStdMailerText", "Ihr Standard-Mailclient konnte nicht ge\xF6" "ffnet werden!"),
           GetLangText("General|MsgNoStdMailerTitle", "Kein Standard-Mailclient gefunden"), MB_OK);
}

void TfrmInfo::lblMailAddrClick() {
  OpenMail(MakerMailAddress, Ctl<TLabel>("lblTitle")->Caption() + " " + version_);
}

void TfrmInfo::lblLangMailAddrClick() {
  OpenMail(Ctl<TLinkLabel>("lblLangMailAddr")->Caption(),
           Ctl<TGroupBox>("grpLang")->Caption() + ": " + Ctl<TLabel>("lblTitle")->Caption() + " " +
               version_);
}

void ShowAboutBox() {
  TfrmInfo form(nullptr);
  form.ShowModal();
}
