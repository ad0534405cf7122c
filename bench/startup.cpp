// Start-up measured from outside the process: from starting the program until its main window's
// caption names the file on its command line. With a one-line file against the minimal program
// beside this bench (one window, nothing else), started the same way in the same run; with a
// 100 MB file against one plain read of the same file in this process.
// Usage: bench_startup [path of Tarvoline.exe]   (default: the build folder above this one)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"

#include "BenchClock.h"

namespace {

constexpr size_t FileSize = size_t(100) << 20;
constexpr int Runs = 3;
constexpr int SmallRuns = 9;
const char* const MinimalCaption = "MinimalWindow";

std::string FolderOf(const std::string& Path) { return Path.substr(0, Path.rfind('\\') + 1); }

std::string OwnFolder() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return FolderOf(self);
}

std::string DefaultProgram() {
  const std::string folder = OwnFolder();
  for (const std::string& candidate : {folder + "..\\Tarvoline.exe", folder + "Tarvoline.exe"})
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  return folder + "..\\Tarvoline.exe";
}

// Lines of 0 to 120 characters, CR LF between them, written in 1 MB pieces.
bool WriteGeneratedFile(const std::string& Name, size_t Size) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string piece;
  size_t written = 0;
  uint32_t seed = 4711;
  bool ok = true;
  while (ok && written < Size) {
    piece.clear();
    while (piece.size() < (1u << 20)) {
      seed = seed * 1103515245u + 12345u;
      size_t length = (seed >> 16) % 121;
      for (size_t i = 0; i < length; ++i) piece += static_cast<char>('a' + (i * 5 + length) % 26);
      piece += "\r\n";
    }
    DWORD done = 0;
    ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr) &&
         done == piece.size();
    written += piece.size();
  }
  CloseHandle(file);
  return ok;
}

double PlainReadSeconds(const std::string& Name) {
  return SecondsOf([&] {
    HANDLE file = CreateFileA(Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    std::string buffer(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &done, nullptr);
    CloseHandle(file);
  });
}

struct FoundWindow {
  DWORD process;
  std::string caption;
  HWND wnd = nullptr;
};

BOOL CALLBACK FindCaption(HWND Wnd, LPARAM Param) {
  auto* search = reinterpret_cast<FoundWindow*>(Param);
  DWORD owner = 0;
  GetWindowThreadProcessId(Wnd, &owner);
  if (owner != search->process || !IsWindowVisible(Wnd)) return TRUE;
  char text[512] = {};
  GetWindowTextA(Wnd, text, sizeof text);
  if (search->caption == text) {
    search->wnd = Wnd;
    return FALSE;
  }
  return TRUE;
}

// Seconds from the start until a visible window of the process shows Caption; negative when
// none ever did.
double StartUpSeconds(std::string CommandLine, const std::string& Caption) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  double start = NowSeconds();
  if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return -1;
  FoundWindow search{pi.dwProcessId, Caption};
  double seconds = -1;
  while (NowSeconds() - start < 300) {
    EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&search));
    if (search.wnd) {
      seconds = NowSeconds() - start;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 2) == WAIT_OBJECT_0) break;
  }
  if (search.wnd) PostMessageA(search.wnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return seconds;
}

double TarvolineSeconds(const std::string& Program, const std::string& File,
                        const std::string& Title) {
  return StartUpSeconds("\"" + Program + "\" \"" + File + "\"", "Tarvoline - " + Title);
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

// Alternates the two programs, so a change of the machine's load falls on both.
bool ReportSmallStartUp(const std::string& Program, const std::string& Small, double ReadSeconds) {
  const std::string minimal = OwnFolder() + "bench_minimal_window.exe";
  std::vector<double> minimalRuns, tarvolineRuns;
  for (int run = 0; run < SmallRuns; ++run) {
    double baseline = StartUpSeconds("\"" + minimal + "\" " + MinimalCaption, MinimalCaption);
    double startUp = TarvolineSeconds(Program, Small, "small.txt");
    if (baseline < 0 || startUp < 0) {
      std::printf("run %d: a window never showed (minimal %.3f s, Tarvoline %.3f s)\n", run + 1,
                  baseline, startUp);
      return false;
    }
    minimalRuns.push_back(baseline);
    tarvolineRuns.push_back(startUp);
  }
  const double tarvoline = Median(tarvolineRuns);
  std::printf("start-up with a one-line file = %.1f x one plain read of the big file\n",
              tarvoline / ReadSeconds);
  std::printf("start-up with a one-line file: median %.2f x the minimal window program "
              "(goal: within 1.5 x); fastest runs %.2f x\n",
              tarvoline / Median(minimalRuns),
              *std::min_element(tarvolineRuns.begin(), tarvolineRuns.end()) /
                  *std::min_element(minimalRuns.begin(), minimalRuns.end()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = argc > 1 ? argv[1] : DefaultProgram();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string work = std::string(temp) + "tv_bench_startup\\";
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string file = work + "big.txt";
  if (!WriteGeneratedFile(file, FileSize)) {
    std::printf("cannot write %s\n", file.c_str());
    return 1;
  }

  // The program's settings for this run: no size warning, no documents of earlier runs.
  const std::string config = FolderOf(program) + ConfigFileName;
  const bool hadConfig = GetFileAttributesA(config.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (hadConfig) CopyFileA(config.c_str(), (config + ".saved").c_str(), FALSE);
  TXmlDoc location("?xml");
  location.WriteString("Settings\\Path", work);
  location.SaveToFile(config, 2, true);
  Settings.SettingsFile = work + "Tarvoline.ini";
  LoadSettings();
  Settings.General.OpenSizeWarn = false;
  Settings.General.OpenLastDocsAtStartup = false;
  SaveSettings();

  const std::string small = work + "small.txt";
  HANDLE smallFile = CreateFileA(small.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD smallWritten = 0;
  WriteFile(smallFile, "eine Zeile\r\n", 12, &smallWritten, nullptr);
  CloseHandle(smallFile);
  PlainReadSeconds(file);  // both measurements find the file in the cache
  // What any start costs, whatever the file: the fixed part of the ratios below.
  const bool smallShown = ReportSmallStartUp(program, small, PlainReadSeconds(file));
  std::vector<double> ratios;
  for (int run = 0; run < Runs; ++run) {
    double read = PlainReadSeconds(file);
    double startUp = TarvolineSeconds(program, file, "big.txt");
    if (startUp < 0) {
      std::printf("run %d: the window never named the file\n", run + 1);
      continue;
    }
    ratios.push_back(startUp / read);
    std::printf("run %d: start-up to the file's caption = %.1f x one plain read\n", run + 1,
                ratios.back());
  }

  if (hadConfig) MoveFileExA((config + ".saved").c_str(), config.c_str(), MOVEFILE_REPLACE_EXISTING);
  else DeleteFileA(config.c_str());
  DeleteFileA(file.c_str());
  DeleteFileA(small.c_str());
  DeleteFileA((work + "Tarvoline.ini").c_str());
  RemoveDirectoryA(work.c_str());
  if (ratios.empty()) return 1;
  std::printf("start-up with a 100 MB file: median %.1f x a plain read (goal: within 6 x)\n",
              Median(ratios));
  return smallShown ? 0 : 1;
}
