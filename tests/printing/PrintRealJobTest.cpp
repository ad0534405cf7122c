#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
#include <fstream>
#include <sstream>
#include "PrintTestSupport.h"
#include "printing/CodeEditPrint.h"
#include "toolkit/Printer.h"

// A PostScript printer that writes each job to a file; added to the Wine prefix once.
namespace {
const char* const kPrinterName = "Tarvoline Test PostScript";
const char* const kPpd =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n*PCFileName: \"TARVTEST.PPD\"\n*Manufacturer: \"Tarvoline\"\n"
    "*Product: \"(Test)\"\n*ModelName: \"Tarvoline Test\"\n*NickName: \"Tarvoline Test\"\n"
    "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n*FileSystem: False\n*Throughput: \"1\"\n*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
    "*DefaultPageRegion: A4\n*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
    "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";

std::string OutputFile() {
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir).substr(0, 3) + "tarvoline-test-job.ps";
}

bool EnsurePrinter() {
  DWORD needed = 0;
  HANDLE h = nullptr;
  if (OpenPrinterA(const_cast<char*>(kPrinterName), &h, nullptr)) {
    ClosePrinter(h);
    return true;
  }
  char driverDir[MAX_PATH];
  if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverDir),
                                  MAX_PATH, &needed))
    return false;
  const std::string ppd = std::string(driverDir) + "\\TARVTEST.PPD";
  std::ofstream(ppd, std::ios::binary) << kPpd;
  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>("Wine PostScript Driver");
  driver.pEnvironment = nullptr;
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>(ppd.c_str());
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
  const std::string port = OutputFile();
  PRINTER_INFO_2A info = {};
  info.pPrinterName = const_cast<char*>(kPrinterName);
  info.pPortName = const_cast<char*>(port.c_str());
  info.pDriverName = const_cast<char*>("Wine PostScript Driver");
  info.pPrintProcessor = const_cast<char*>("WinPrint");
  info.pDatatype = const_cast<char*>("RAW");
  HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer) return false;
  ClosePrinter(printer);
  return true;
}

std::string ReadFile(const std::string& Name) {
  std::ifstream in(Name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The characters each page of the PostScript shows, blanks left out: the driver names every
// glyph ("/Z glyphshow", "/one glyphshow").
std::vector<std::string> PageTexts(const std::string& Ps) {
  static const char* const kDigits[] = {"zero", "one", "two", "three", "four",
                                        "five", "six", "seven", "eight", "nine"};
  std::vector<std::string> pages;
  std::istringstream in(Ps);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("%%Page:", 0) == 0) pages.emplace_back();
    const size_t show = line.find(" glyphshow");
    if (pages.empty() || line.empty() || line[0] != '/' || show == std::string::npos) continue;
    const std::string name = line.substr(1, show - 1);
    char c = '?';
    if (name.size() == 1) c = name[0];
    else if (name == "slash") c = '/';
    else if (name == "colon") c = ':';
    else if (name == "space" || name == "uni00A0") continue;  // the blank comes as either
    for (int d = 0; d < 10; ++d)
      if (name == kDigits[d]) c = static_cast<char>('0' + d);
    pages.back() += c;
  }
  return pages;
}

std::string PreviewText(TCodeEditPrint& Print, int Page) {
  printtest::TEmfCanvas canvas;
  Print.PrintToCanvas(canvas.DC(), Page);
  std::string text;
  for (const auto& run : canvas.Finish().Texts)
    for (char c : run.Text)
      if (c != ' ') text += c;
  return text;
}

int Count(const std::string& Text, const std::string& What) {
  int n = 0;
  for (size_t p = 0; (p = Text.find(What, p)) != std::string::npos; p += What.size()) ++n;
  return n;
}
}  // namespace

TEST(PrintRealJob, PagesOfAPostScriptJobMatchThePreview) {
  ASSERT_TRUE(EnsurePrinter());
  Printer().SelectPrinter(kPrinterName, {});
  DeleteFileA(OutputFile().c_str());
  TCodeEditPrint print;
  TStringList lines;
  for (int i = 1; i <= 150; ++i) lines.Add("Zeile " + std::to_string(i));
  print.SetLines(lines);
  print.SetTitle("Brief");
  print.Footer().Add("$PAGENUM$/$PAGECOUNT$", nullptr, taCenter, 1);
  const int pages = print.GetPageCount();
  print.Print();
  Printer().SelectPrinter("", {});
  const std::string ps = ReadFile(OutputFile());
  ASSERT_FALSE(ps.empty());
  EXPECT_EQ(Count(ps, "%%Page:"), pages);
  EXPECT_NE(ps.find("%%Title: Brief"), std::string::npos) << ps.substr(0, 300);
  EXPECT_EQ(print.PrinterInfo().XPixPrInch(), 300);
  EXPECT_GT(pages, 1);
  const auto printed = PageTexts(ps);
  ASSERT_EQ(static_cast<int>(printed.size()), pages);
  for (int p = 1; p <= pages; ++p) {
    const std::string preview = PreviewText(print, p);
    EXPECT_EQ(printed[p - 1], preview) << "page " << p;
    EXPECT_NE(preview.find(std::to_string(p) + "/" + std::to_string(pages)), std::string::npos);
  }
}
