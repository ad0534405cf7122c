// The splash window's layout and texts.
#include "mainwindow/formSplash.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Panels.h"

namespace {
constexpr int SplashWidth = 360;
constexpr int SplashHeight = 170;
}  // namespace

TfrmSplash::TfrmSplash(TComponent* Owner)
    : TForm(Owner, {"", SplashWidth, SplashHeight, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW}) {
  // The border takes its pixels from the window: the panels fill what is left.
  const RECT client = ClientRect();
  shpBack = Make<TPanel>("shpBack", this);
  shpBack->SetBounds(0, 0, client.right, client.bottom);
  shpBand = Make<TPanel>("shpBand", shpBack);
  shpBand->SetBounds(0, 0, client.right, 56);
  imgIcon = Make<TLabel>("imgIcon", shpBand, 12, 12, 32, 32);
  SetWindowLongA(imgIcon->Handle(), GWL_STYLE,
                 GetWindowLongA(imgIcon->Handle(), GWL_STYLE) | SS_ICON);
  SendMessageA(imgIcon->Handle(), STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")), 0);
  lblTitle = Make<TLabel>("lblTitle", shpBand, 56, 14, 280, 28);
  lblTitle->SetCaption("Tarvoline");
  lblVersion = Make<TLabel>("lblVersion", shpBack, 56, 64, 280, 16);
  lblCopyright = Make<TLabel>("lblCopyright", shpBack, 56, 82, 280, 16);
  lblRights = Make<TLabel>("lblRights", shpBack, 56, 100, 280, 16);
  lblState = Make<TLabel>("lblState", shpBack, 8, 126, SplashWidth - 16, 36);
  SetWindowLongA(lblState->Handle(), GWL_STYLE,
                 GetWindowLongA(lblState->Handle(), GWL_STYLE) | SS_CENTER);
  lblState->SetCaption("Tarvoline wird geladen...");

  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetBounds(work.left + (work.right - work.left - SplashWidth) / 2,
            work.top + (work.bottom - work.top - SplashHeight) / 2, SplashWidth, SplashHeight);
}

TfrmSplash::~TfrmSplash() { StopGivingWay(); }

void TfrmSplash::FormCreate() {
  const std::string exe = ProgramFile();
  std::string version = GetFileVersionValue(exe, "ProductVersion");
  lblVersion->SetCaption(version.empty() ? "" : "Version " + version);
  std::string maker = GetFileVersionValue(exe, "LegalCopyright");
  lblCopyright->SetCaption(maker.empty() ? "" : "Copyright \xA9 " + maker);
  lblRights->SetCaption("Alle Rechte vorbehalten.");
  Font().SetName("Tahoma");
}

void TfrmSplash::SetState(const std::string& Text) {
  lblState->SetCaption(Text);
  UpdateWindow(lblState->Handle());
}

void TfrmSplash::ShowForStart() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
  Application().ProcessMessages();
  // Not kept on top of other windows: a plug-in loading meanwhile may show a box of its own.
  SetBeforeModal([this] { GiveWayToQuestion(); });
  givesWay_ = true;
}

void TfrmSplash::GiveWayToQuestion() {
  ShowWindow(Handle(), SW_HIDE);
  StopGivingWay();
}

void TfrmSplash::StopGivingWay() {
  if (!givesWay_) return;
  givesWay_ = false;
  SetBeforeModal(nullptr);
}
