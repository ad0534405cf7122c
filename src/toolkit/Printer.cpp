#include "toolkit/Printer.h"
#include <winspool.h>

TPrinter::~TPrinter() { FreeDC(); }

void TPrinter::FreeDC() {
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
}

int TPrinter::PrinterCount() const {
  DWORD needed = 0, count = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                &count);
  if (needed == 0) return 0;
  std::vector<BYTE> buf(needed);
  if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buf.data(),
                     needed, &needed, &count))
    return 0;
  return static_cast<int>(count);
}

std::string TPrinter::PrinterName() const {
  if (!name_.empty()) return name_;
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size == 0) return {};
  std::string name(size, '\0');
  if (!GetDefaultPrinterA(name.data(), &size)) return {};
  name.resize(size > 0 ? size - 1 : 0);
  return name;
}

void TPrinter::SelectPrinter(const std::string& Name, const std::vector<BYTE>& DevMode) {
  name_ = Name;
  devMode_ = DevMode;
  FreeDC();
}

HDC TPrinter::Handle() {
  if (dc_) return dc_;
  std::string name = PrinterName();
  if (name.empty()) return nullptr;
  const auto* dm = devMode_.size() >= sizeof(DEVMODEA)
                       ? reinterpret_cast<const DEVMODEA*>(devMode_.data())
                       : nullptr;
  dc_ = CreateDCA("WINSPOOL", name.c_str(), nullptr, dm);
  return dc_;
}

void TPrinter::BeginDoc() {
  HDC dc = Handle();
  if (!dc) throw EPrinter("No printer is available");
  DOCINFOA di = {};
  di.cbSize = sizeof di;
  di.lpszDocName = title_.c_str();
  if (StartDocA(dc, &di) <= 0) throw EPrinter("The printer refused the job");
  SetPrintingState(true, false);
  if (StartPage(dc) <= 0) {
    Abort();
    throw EPrinter("The printer refused a page");
  }
}

void TPrinter::NewPage() {
  if (!printing_) throw EPrinter("Printer is not printing");
  if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) throw EPrinter("The printer refused a page");
}

void TPrinter::EndDoc() {
  if (!printing_) throw EPrinter("Printer is not printing");
  bool ok = EndPage(dc_) > 0;
  ok = ::EndDoc(dc_) > 0 && ok;
  SetPrintingState(false, false);
  if (!ok) throw EPrinter("The printer refused to end the job");
}

void TPrinter::Abort() {
  if (printing_ && dc_) AbortDoc(dc_);
  SetPrintingState(false, true);
}

namespace {
TPrinter*& Override() {
  static TPrinter* override = nullptr;
  return override;
}
}  // namespace

TPrinter& Printer() {
  static TPrinter printer;
  return Override() ? *Override() : printer;
}

void SetPrinterOverride(TPrinter* Override_) { Override() = Override_; }
