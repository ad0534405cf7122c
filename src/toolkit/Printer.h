// The current printer: its device context for metrics and drawing, its settings and the job.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "rtl/Exception.h"

// A job call the printer refused.
class EPrinter : public Exception {
public:
  using Exception::Exception;
};

class TPrinter {
public:
  TPrinter() = default;
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The number of installed printers.
  virtual int PrinterCount() const;
  // The current printer's device context (made on first use); nullptr when there is none or it
  // cannot be made. Drawing during a job goes here.
  virtual HDC Handle();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Title) { title_ = Title; }
  bool Printing() const { return printing_; }
  bool Aborted() const { return aborted_; }
  // Starts a job with the title and its first page; raises EPrinter when refused.
  virtual void BeginDoc();
  // Ends the page and starts the next; raises EPrinter when refused.
  virtual void NewPage();
  // Ends the last page and the job; raises EPrinter when refused.
  virtual void EndDoc();
  // Drops the job at once; never raises.
  virtual void Abort();

  // The current printer's name (the default printer until set) and its settings (DEVMODE
  // bytes; empty for the driver's defaults). Changing either makes a new device context.
  std::string PrinterName() const;
  void SelectPrinter(const std::string& Name, const std::vector<BYTE>& DevMode);
  const std::vector<BYTE>& DevMode() const { return devMode_; }

protected:
  void SetPrintingState(bool Printing, bool Aborted) {
    printing_ = Printing;
    aborted_ = Aborted;
  }

private:
  void FreeDC();
  std::string title_;
  std::string name_;
  std::vector<BYTE> devMode_;
  HDC dc_ = nullptr;
  bool printing_ = false;
  bool aborted_ = false;
};

// The program's printer, or the one set by SetPrinterOverride (tests).
TPrinter& Printer();
void SetPrinterOverride(TPrinter* Override);
