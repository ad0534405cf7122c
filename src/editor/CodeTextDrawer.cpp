#include "editor/CodeTextDrawer.h"
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {
constexpr const char* kValueMissing = "SetBaseFont: 'Value' must be specified.";

// The font's description as the lookup key of its record.
LOGFONTA BaseDescription(const TFont& Font) {
  LOGFONTA lf = {};
  GetObjectA(Font.Handle(), sizeof lf, &lf);
  lf.lfItalic = 0;
  lf.lfUnderline = 0;
  lf.lfStrikeOut = 0;
  size_t n = strnlen(lf.lfFaceName, LF_FACESIZE);
  std::memset(lf.lfFaceName + n, 0, LF_FACESIZE - n);
  return lf;
}

bool ReportsDoubleByteChars(const TFont& Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font.Handle());
  bool dbcs = (GetFontLanguageInfo(dc) & GCP_DBCS) != 0;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return dbcs;
}

int AbcSum(const ABC& Abc) { return Abc.abcA + static_cast<int>(Abc.abcB) + Abc.abcC; }
}  // namespace

// --- TheFontsInfoManager ---

TheFontsInfoManager::~TheFontsInfoManager() {
  for (auto& info : infos_)
    for (TheFontData& d : info->FontsData)
      if (d.Handle) DeleteObject(d.Handle);
}

TheSharedFontsInfo* TheFontsInfoManager::GetFontsInfo(const TFont& BaseFont) {
  LOGFONTA key = BaseDescription(BaseFont);
  for (auto& info : infos_)
    if (std::memcmp(&info->BaseLF, &key, sizeof key) == 0) {
      ++info->RefCount;
      return info.get();
    }
  auto info = std::make_unique<TheSharedFontsInfo>();
  info->BaseFont = std::make_unique<TFont>();
  info->BaseFont->Assign(BaseFont);
  info->BaseLF = key;
  info->IsDBCSFont = ReportsDoubleByteChars(BaseFont);
  info->IsTrueType = (key.lfPitchAndFamily & 4) != 0;
  info->RefCount = 1;
  infos_.push_back(std::move(info));
  return infos_.back().get();
}

void TheFontsInfoManager::ReleaseFontsInfo(TheSharedFontsInfo* FontsInfo) {
  assert(FontsInfo);
  assert(FontsInfo->LockCount < FontsInfo->RefCount && "Call DeactivateFontsInfo before calling this.");
  if (--FontsInfo->RefCount > 0) return;
  for (size_t i = 0; i < infos_.size(); ++i)
    if (infos_[i].get() == FontsInfo) {
      infos_.erase(infos_.begin() + i);
      return;
    }
}

void TheFontsInfoManager::LockFontsInfo(TheSharedFontsInfo* FontsInfo) { ++FontsInfo->LockCount; }

void TheFontsInfoManager::UnlockFontsInfo(TheSharedFontsInfo* FontsInfo) {
  assert(FontsInfo->LockCount > 0);
  if (--FontsInfo->LockCount > 0) return;
  for (TheFontData& d : FontsInfo->FontsData)
    if (d.Handle) {
      DeleteObject(d.Handle);
      d.Handle = nullptr;
    }
}

TheFontsInfoManager& GetFontsInfoManager() {
  static TheFontsInfoManager manager;
  return manager;
}

// --- TheFontStock ---

TheFontStock::~TheFontStock() {
  ReleaseFontsInfo();
  assert(dcRefCount_ == 0);
}

HDC TheFontStock::AcquireDC() {
  if (dcRefCount_++ == 0) dc_ = GetDC(nullptr);
  return dc_;
}

void TheFontStock::ReleaseDC() {
  assert(dcRefCount_ > 0);
  if (--dcRefCount_ == 0) {
    ::ReleaseDC(nullptr, dc_);
    dc_ = nullptr;
  }
}

void TheFontStock::ReleaseFontHandles() {
  if (!usingFontHandles_) return;
  GetFontsInfoManager().UnlockFontsInfo(fontsInfo_);
  usingFontHandles_ = false;
}

void TheFontStock::ReleaseFontsInfo() {
  if (!fontsInfo_) return;
  ReleaseFontHandles();
  GetFontsInfoManager().ReleaseFontsInfo(fontsInfo_);
  fontsInfo_ = nullptr;
  crntData_ = nullptr;
  crntFont_ = nullptr;
}

void TheFontStock::SetBaseFont(const TFont* Value) {
  if (!Value) throw EheFontStockException(kValueMissing);
  TheSharedFontsInfo* info = GetFontsInfoManager().GetFontsInfo(*Value);
  if (info == fontsInfo_) {
    GetFontsInfoManager().ReleaseFontsInfo(info);  // the extra reference just taken
    return;
  }
  ReleaseFontsInfo();
  fontsInfo_ = info;
  baseLF_ = info->BaseLF;
  SetStyle(Value->Style());
}

HFONT TheFontStock::CreateStyledFont(int Style) const {
  LOGFONTA lf = baseLF_;
  lf.lfWeight = (Style & 1) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (Style & 2) ? 1 : 0;
  lf.lfUnderline = (Style & 4) ? 1 : 0;
  lf.lfStrikeOut = (Style & 8) ? 1 : 0;
  return CreateFontIndirectA(&lf);
}

void TheFontStock::MeasureFont(TheFontData& Data) {
  HDC dc = AcquireDC();
  HGDIOBJ old = SelectObject(dc, Data.Handle);
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  Data.CharHeight = std::abs(tm.tmHeight);
  ABC abc = {};
  bool haveAbc = GetCharABCWidthsA(dc, 'M', 'M', &abc);
  Data.CharAdv = (haveAbc ? AbcSum(abc) : tm.tmAveCharWidth) + tm.tmOverhang;
  Data.DBCharAdv = INT_MAX;
  if (fontsInfo_->IsDBCSFont && tm.tmCharSet == SHIFTJIS_CHARSET && haveAbc) {
    ABC first = {}, second = {};
    if (GetCharABCWidthsA(dc, 33281, 33281, &first) && GetCharABCWidthsA(dc, 33440, 33440, &second) &&
        AbcSum(first) == AbcSum(second) && AbcSum(first) * 2 >= Data.CharAdv * 3)
      Data.DBCharAdv = AbcSum(first);
  }
  SelectObject(dc, old);
  ReleaseDC();
}

void TheFontStock::SetStyle(TFontStyles Style) {
  int index = static_cast<int>(Style.Bits());
  assert(index <= 15);
  assert(fontsInfo_);
  if (!usingFontHandles_) {
    GetFontsInfoManager().LockFontsInfo(fontsInfo_);
    usingFontHandles_ = true;
  }
  TheFontData& data = fontsInfo_->FontsData[index];
  if (!data.Handle) {
    data.Handle = CreateStyledFont(index);
    MeasureFont(data);
  }
  crntData_ = &data;
  crntFont_ = data.Handle;
}

// --- TheTextDrawer ---

TheTextDrawer::TheTextDrawer(TFontStyles CalcExtentBaseStyle, const TFont* BaseFont)
    : calcExtentBaseStyle_(CalcExtentBaseStyle) {
  SetBaseFont(BaseFont);
}

void TheTextDrawer::BeginDrawing(HDC DC) {
  if (dc_ && dc_ == DC) {
    ++drawingCount_;
    return;
  }
  assert(!dc_ && DC && "another context while a drawing pass is open");
  if (!crntFont_) SetStyle(crntStyle_);
  dc_ = DC;
  saveDC_ = SaveDC(DC);
  SelectObject(DC, crntFont_);
  SetTextColor(DC, ColorToRGB(color_));
  SetBkColor(DC, ColorToRGB(bkColor_));
  SetTextCharacterExtra(DC, charExtra_);
  drawingCount_ = 1;
}

void TheTextDrawer::EndDrawing() {
  assert(drawingCount_ >= 1);
  if (--drawingCount_ > 0) return;
  if (saveDC_) RestoreDC(dc_, saveDC_);
  saveDC_ = 0;
  dc_ = nullptr;
}

void TheTextDrawer::MeasureCell() {
  fontStock_.SetStyle(calcExtentBaseStyle_);
  charWidth_ = fontStock_.CharAdvance();
  charHeight_ = fontStock_.CharHeight();
}

void TheTextDrawer::SetBaseFont(const TFont* Value) {
  if (!Value) throw EheTextDrawerException(kValueMissing);
  ReleaseSpacing();
  fontStock_.SetBaseFont(Value);
  MeasureCell();
  SetStyle(Value->Style());
}

void TheTextDrawer::SetBaseStyle(TFontStyles Value) {
  if (Value == calcExtentBaseStyle_) return;
  calcExtentBaseStyle_ = Value;
  ReleaseSpacing();
  MeasureCell();
}

void TheTextDrawer::SetStyle(TFontStyles Value) {
  crntStyle_ = Value;
  fontStock_.SetStyle(Value);
  crntFont_ = fontStock_.FontHandle();
  if (dc_) SelectObject(dc_, crntFont_);
}

void TheTextDrawer::SetForeColor(TColor Value) {
  color_ = Value;
  if (dc_) SetTextColor(dc_, ColorToRGB(Value));
}

void TheTextDrawer::SetBackColor(TColor Value) {
  bkColor_ = Value;
  if (dc_) SetBkColor(dc_, ColorToRGB(Value));
}

void TheTextDrawer::SetCharExtra(int Value) {
  if (Value == charExtra_) return;
  charExtra_ = Value;
  // The spacing array holds CharWidth(), which just changed.
  ReleaseSpacing();
  if (dc_) SetTextCharacterExtra(dc_, Value);
}

void TheTextDrawer::TextOut(int X, int Y, const char* Text, int Length) {
  ::TextOutA(dc_, X, Y, Text, Length);
}

void TheTextDrawer::ExtTextOut(int X, int Y, UINT Options, const RECT* Rect, const char* Text,
                               int Length) {
  if (Length > static_cast<int>(spacing_.size()))
    spacing_.resize((Length / 64 + 1) * 64, CharWidth());
  // The array already holds the extra spacing; some systems would add the context's extra
  // once more on top of it.
  if (charExtra_) SetTextCharacterExtra(dc_, 0);
  ::ExtTextOutA(dc_, X, Y, Options, Rect, Text, Length, spacing_.data());
  if (charExtra_) SetTextCharacterExtra(dc_, charExtra_);
}

void TheTextDrawer::ReleaseTemporaryResources() {
  assert(!dc_);
  fontStock_.ReleaseFontHandles();
  crntFont_ = nullptr;  // the handle may be deleted now
}
