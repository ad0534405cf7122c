// The application object: message loop, main form and the default error box.
#pragma once
#include <windows.h>
#include <exception>
#include <functional>
#include <string>

class TForm;

class TApplication {
public:
  void Initialize();
  // Shows the main form and pumps messages until the main form is closed or Terminate.
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Pumps messages until Done is true or the time runs out; true when Done became true.
  bool ProcessMessagesUntil(const std::function<bool()>& Done, DWORD TimeoutMs);
  void Terminate();
  bool Terminated() const { return terminated_; }

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* Form) { mainForm_ = Form; }
  HWND MainWindow() const;
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Title) { title_ = Title; }
  HINSTANCE Instance() const { return GetModuleHandleA(nullptr); }

  // The toolkit's default error box for failures nobody caught; a silent abort shows nothing,
  // memory running out is said in German.
  void ShowException(const std::exception& E);

private:
  bool HandleMessage(MSG& Msg);
  static bool IsMenuShortCut(const MSG& Msg);

  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::string title_ = "Tarvoline";
};

TApplication& Application();

// Messages are read wide, so a character typed into a field reaches it as typed. A window that
// takes 8-bit characters (the editor) gets "?" for one the ANSI code page lacks instead of the
// look-alike the system's conversion would give: every message loop calls this first.
void TakeTypedCharExactly(MSG& Msg);

// The one guard of every entry from the system (window procedures, timers, hand-overs from
// other threads, calls from plug-ins, start-up, message loops): an exception that leaves Work
// ends in the default error box and the program goes on. True when Work ran through.
template <class F>
bool GuardEntry(F&& Work) {
  try {
    Work();
    return true;
  } catch (const std::exception& E) {
    Application().ShowException(E);
    return false;
  }
}
