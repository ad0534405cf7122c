#include "toolkit/PrintDialogs.h"
#include <commdlg.h>
#include <cstring>
#include "toolkit/Dialogs.h"
#include "toolkit/Printer.h"

namespace {
std::optional<ModalAnswer> Ask(ModalKind Kind, const std::string& Text) {
  ModalQuestion q;
  q.kind = Kind;
  q.text = Text;
  q.caption = Text;
  return AskModalSeam(q);
}

int Number(const ModalAnswer& A, size_t Index, int Default) {
  return Index < A.numbers.size() ? A.numbers[Index] : Default;
}

// The printer's current settings as a movable global block for the common dialogs.
HGLOBAL DevModeBlock() {
  const auto& dm = Printer().DevMode();
  if (dm.empty()) return nullptr;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, dm.size());
  if (!h) return nullptr;
  memcpy(GlobalLock(h), dm.data(), dm.size());
  GlobalUnlock(h);
  return h;
}

// Takes the printer and settings the dialog chose, and frees its blocks.
void TakePrinterChoice(const PRINTDLGA& Pd) {
  std::string name;
  std::vector<BYTE> devMode;
  if (Pd.hDevNames) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(Pd.hDevNames));
    name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
    GlobalUnlock(Pd.hDevNames);
  }
  if (Pd.hDevMode) {
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(Pd.hDevMode));
    const BYTE* bytes = reinterpret_cast<const BYTE*>(dm);
    devMode.assign(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
    GlobalUnlock(Pd.hDevMode);
  }
  if (!name.empty()) Printer().SelectPrinter(name, devMode);
}

void FreeBlocks(PRINTDLGA& Pd) {
  if (Pd.hDevMode) GlobalFree(Pd.hDevMode);
  if (Pd.hDevNames) GlobalFree(Pd.hDevNames);
}
}  // namespace

bool ExecutePrintDialog(TPrintDialogArgs& Args) {
  if (auto a = Ask(ModalKind::PrintDialog, "Print")) {
    if (a->result != IDOK) return false;
    Args.range = static_cast<TPrintDialogArgs::TRange>(Number(*a, 0, Args.range));
    Args.fromPage = Number(*a, 1, Args.fromPage);
    Args.toPage = Number(*a, 2, Args.toPage);
    Args.copies = Number(*a, 3, Args.copies);
    return true;
  }
  PRINTDLGA pd = {};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = ModalOwner();
  pd.hDevMode = DevModeBlock();
  pd.Flags = PD_USEDEVMODECOPIESANDCOLLATE |
             (Args.selectionEnabled ? 0 : PD_NOSELECTION) |
             (Args.range == TPrintDialogArgs::prPageNums ? PD_PAGENUMS : 0) |
             (Args.range == TPrintDialogArgs::prSelection ? PD_SELECTION : 0);
  pd.nFromPage = static_cast<WORD>(Args.fromPage);
  pd.nToPage = static_cast<WORD>(Args.toPage);
  pd.nMinPage = static_cast<WORD>(Args.minPage);
  pd.nMaxPage = static_cast<WORD>(Args.maxPage);
  pd.nCopies = static_cast<WORD>(Args.copies);
  if (!PrintDlgA(&pd)) {
    FreeBlocks(pd);
    return false;
  }
  Args.range = (pd.Flags & PD_SELECTION)  ? TPrintDialogArgs::prSelection
               : (pd.Flags & PD_PAGENUMS) ? TPrintDialogArgs::prPageNums
                                          : TPrintDialogArgs::prAllPages;
  Args.fromPage = pd.nFromPage;
  Args.toPage = pd.nToPage;
  Args.copies = pd.nCopies;
  TakePrinterChoice(pd);
  FreeBlocks(pd);
  return true;
}

bool ExecutePrinterSetupDialog() {
  if (auto a = Ask(ModalKind::PrinterSetupDialog, "Printer setup")) return a->result == IDOK;
  PRINTDLGA pd = {};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = ModalOwner();
  pd.hDevMode = DevModeBlock();
  pd.Flags = PD_PRINTSETUP;
  if (!PrintDlgA(&pd)) {
    FreeBlocks(pd);
    return false;
  }
  TakePrinterChoice(pd);
  FreeBlocks(pd);
  return true;
}

bool ExecuteFontDialog(TFont& Font) {
  if (auto a = Ask(ModalKind::FontDialog, Font.Name())) {
    if (a->result != IDOK) return false;
    if (!a->value.empty()) Font.SetName(a->value);
    Font.SetSize(Number(*a, 0, Font.Size()));
    Font.SetCharset(Number(*a, 1, Font.Charset()));
    Font.SetColor(Number(*a, 2, Font.Color()));
    Font.SetStyle(TFontStyles::FromBits(static_cast<uint64_t>(Number(*a, 3, Font.Style().Bits()))));
    return true;
  }
  HDC screen = GetDC(nullptr);
  const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTA lf = {};
  lf.lfHeight = -MulDiv(Font.Size(), ppi, 72);
  lf.lfWeight = Font.Style().Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font.Style().Contains(TFontStyle::fsItalic);
  lf.lfUnderline = Font.Style().Contains(TFontStyle::fsUnderline);
  lf.lfStrikeOut = Font.Style().Contains(TFontStyle::fsStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(Font.Charset());
  Font.Name().copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTA cf = {};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = ModalOwner();
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = ColorToRGB(Font.Color());
  if (!ChooseFontA(&cf)) return false;
  TFontStyles style;
  if (lf.lfWeight >= FW_BOLD) style.Include(TFontStyle::fsBold);
  if (lf.lfItalic) style.Include(TFontStyle::fsItalic);
  if (lf.lfUnderline) style.Include(TFontStyle::fsUnderline);
  if (lf.lfStrikeOut) style.Include(TFontStyle::fsStrikeOut);
  Font.SetName(lf.lfFaceName);
  Font.SetSize(cf.iPointSize / 10);
  Font.SetCharset(lf.lfCharSet);
  Font.SetColor(static_cast<TColor>(cf.rgbColors));
  Font.SetStyle(style);
  return true;
}

bool ExecuteColorDialog(TColor& Color, std::vector<COLORREF>* CustomColors) {
  if (auto a = Ask(ModalKind::ColorDialog, "Color")) {
    if (a->result != IDOK) return false;
    Color = Number(*a, 0, Color);
    return true;
  }
  COLORREF custom[16] = {};
  if (CustomColors)
    for (size_t i = 0; i < 16 && i < CustomColors->size(); ++i) custom[i] = (*CustomColors)[i];
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = ModalOwner();
  cc.rgbResult = ColorToRGB(Color);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return false;
  Color = static_cast<TColor>(cc.rgbResult);
  if (CustomColors) CustomColors->assign(custom, custom + 16);
  return true;
}
