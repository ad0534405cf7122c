#include "PrintTestSupport.h"
#include <algorithm>

namespace printtest {

std::string TPageRecord::Rows() const {
  std::vector<TTextRun> sorted = Texts;
  std::stable_sort(sorted.begin(), sorted.end(), [](const TTextRun& a, const TTextRun& b) {
    return a.Y != b.Y ? a.Y < b.Y : a.X < b.X;
  });
  std::string s;
  for (size_t i = 0; i < sorted.size(); ++i) {
    if (i > 0) s += sorted[i].Y != sorted[i - 1].Y ? "\n" : "|";
    s += sorted[i].Text;
  }
  return s;
}

std::vector<std::string> TPageRecord::RowTexts() const {
  std::vector<std::string> rows;
  std::string all = Rows();
  size_t start = 0;
  while (!all.empty() && start <= all.size()) {
    size_t end = all.find('\n', start);
    std::string row = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    row.erase(std::remove(row.begin(), row.end(), '|'), row.end());
    rows.push_back(row);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return rows;
}

std::vector<int> TPageRecord::RowYs() const {
  std::vector<int> ys;
  for (const auto& t : Texts) ys.push_back(t.Y);
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

bool TPageRecord::Contains(const std::string& S) const {
  for (const auto& t : Texts)
    if (t.Text.find(S) != std::string::npos) return true;
  return false;
}

namespace {
struct TEnumState {
  TPageRecord* page;
  COLORREF color = 0;
  COLORREF back = 0xFFFFFF;
  POINT current = {};
};

void AddText(TEnumState& S, const EMREXTTEXTOUTA& R, bool Wide) {
  const BYTE* base = reinterpret_cast<const BYTE*>(&R);
  TTextRun run;
  run.X = R.emrtext.ptlReference.x;
  run.Y = R.emrtext.ptlReference.y;
  for (DWORD i = 0; i < R.emrtext.nChars; ++i) {
    if (Wide) {
      wchar_t w = reinterpret_cast<const wchar_t*>(base + R.emrtext.offString)[i];
      char c = '?';
      WideCharToMultiByte(1252, 0, &w, 1, &c, 1, nullptr, nullptr);
      run.Text += c;
    } else {
      run.Text += reinterpret_cast<const char*>(base + R.emrtext.offString)[i];
    }
    if (R.emrtext.offDx) run.Dx.push_back(reinterpret_cast<const INT*>(base + R.emrtext.offDx)[i]);
  }
  run.Color = S.color;
  run.Back = S.back;
  S.page->Texts.push_back(run);
}

int CALLBACK EnumRecord(HDC, HANDLETABLE*, const ENHMETARECORD* Rec, int, LPARAM Data) {
  auto& s = *reinterpret_cast<TEnumState*>(Data);
  switch (Rec->iType) {
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
      AddText(s, *reinterpret_cast<const EMREXTTEXTOUTA*>(Rec), Rec->iType == EMR_EXTTEXTOUTW);
      break;
    case EMR_SETTEXTCOLOR: s.color = reinterpret_cast<const EMRSETTEXTCOLOR*>(Rec)->crColor; break;
    case EMR_SETBKCOLOR: s.back = reinterpret_cast<const EMRSETBKCOLOR*>(Rec)->crColor; break;
    case EMR_MOVETOEX: {
      auto p = reinterpret_cast<const EMRMOVETOEX*>(Rec)->ptl;
      s.current = {p.x, p.y};
      break;
    }
    case EMR_LINETO: {
      auto p = reinterpret_cast<const EMRLINETO*>(Rec)->ptl;
      s.page->Shapes.push_back({TShape::LineTo, {s.current.x, s.current.y, p.x, p.y}});
      s.current = {p.x, p.y};
      break;
    }
    case EMR_RECTANGLE: {
      auto r = reinterpret_cast<const EMRRECTANGLE*>(Rec)->rclBox;
      s.page->Shapes.push_back({TShape::Rectangle, {r.left, r.top, r.right, r.bottom}});
      break;
    }
  }
  return 1;
}
}  // namespace

TPageRecord ReadMetafile(HENHMETAFILE Metafile) {
  TPageRecord page;
  TEnumState state{&page};
  EnumEnhMetaFile(nullptr, Metafile, EnumRecord, &state, nullptr);
  return page;
}

TEmfCanvas::TEmfCanvas() : dc_(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {}

TEmfCanvas::~TEmfCanvas() {
  if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
}

TPageRecord TEmfCanvas::Finish() {
  HENHMETAFILE mf = CloseEnhMetaFile(dc_);
  dc_ = nullptr;
  TPageRecord page = ReadMetafile(mf);
  DeleteEnhMetaFile(mf);
  return page;
}

TFakePrinter::~TFakePrinter() {
  if (page_) DeleteEnhMetaFile(CloseEnhMetaFile(page_));
  SetPrinterOverride(nullptr);
}

void TFakePrinter::FinishPage() {
  HENHMETAFILE mf = CloseEnhMetaFile(page_);
  page_ = nullptr;
  Pages.push_back(ReadMetafile(mf));
  DeleteEnhMetaFile(mf);
}

void TFakePrinter::BeginDoc() {
  Calls.push_back("BeginDoc");
  Titles.push_back(Title());
  page_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  SetPrintingState(true, false);
}

void TFakePrinter::NewPage() {
  Calls.push_back("NewPage");
  FinishPage();
  if (FailAfterPages > 0 && static_cast<int>(Pages.size()) >= FailAfterPages)
    throw EPrinter("The printer refused a page");
  page_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
}

void TFakePrinter::EndDoc() {
  Calls.push_back("EndDoc");
  FinishPage();
  SetPrintingState(false, false);
}

void TFakePrinter::Abort() {
  Calls.push_back("Abort");
  if (page_) FinishPage();
  SetPrintingState(false, true);
}

}  // namespace printtest
