// Calls into plug-in code with every kind of exception caught, and the one-time fault reports.
#include <intrin.h>
#include <set>
#include <utility>
#include "dialogs/fPlgMgr.h"
#include "documents/fLanguage.h"
#include "toolkit/Dialogs.h"

namespace {

constexpr DWORD CppExceptionCode = 0xE06D7363;

// A frame-based handler record on the stack. Handlers of the plug-in and of the loader get
// the exception first; only what nobody inside handled reaches this one.
struct TGuardFrame {
  TGuardFrame* Next;
  void* Handler;
  void* Jump[5];
  DWORD Code;
};

extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* Record, void* Frame,
                                                      CONTEXT*, void*) {
  if (Record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  auto* frame = static_cast<TGuardFrame*>(Frame);
  frame->Code = Record->ExceptionCode;
  // Runs the inner frames' clean-up and leaves this record at the head of the chain.
  RtlUnwind(Frame, nullptr, Record, nullptr);
  __builtin_longjmp(frame->Jump, 1);
}

struct TCppGuard {
  void (*Call)(void*);
  void* Context;
  bool Failed = false;
};

void CallCatchingCpp(void* Context) {
  auto* guard = static_cast<TCppGuard*>(Context);
  try {
    guard->Call(guard->Context);
  } catch (...) {
    guard->Failed = true;  // reported by the caller, which names the plug-in
  }
}

__attribute__((noinline)) bool RunInFrame(void (*Call)(void*), void* Context, DWORD& Code) {
  volatile TGuardFrame frame = {};
  frame.Next = reinterpret_cast<TGuardFrame*>(__readfsdword(0));
  frame.Handler = reinterpret_cast<void*>(&GuardHandler);
  if (__builtin_setjmp(const_cast<void**>(frame.Jump))) {
    __writefsdword(0, reinterpret_cast<DWORD>(frame.Next));
    Code = frame.Code;
    return false;
  }
  __writefsdword(0, reinterpret_cast<DWORD>(&frame));
  Call(Context);
  __writefsdword(0, reinterpret_cast<DWORD>(frame.Next));
  return true;
}

std::set<std::pair<std::string, std::string>> Reported;

}  // namespace

bool CallGuarded(void (*Call)(void* Context), void* Context, DWORD& Code) {
  TCppGuard guard{Call, Context};
  Code = 0;
  if (!RunInFrame(&CallCatchingCpp, &guard, Code)) return false;
  if (guard.Failed) {
    Code = CppExceptionCode;
    return false;
  }
  return true;
}

void ReportPluginFault(const std::string& FileName, const std::string& Export) {
  if (!Reported.insert({FileName, Export}).second) return;
  MsgBox(GetLangText("PlgMgr|MsgPluginFaultText",
                     "Das Plugin \"%s1%\" ist bei \"%s2%\" fehlgeschlagen.",
                     LangParams({FileName, Export})),
         GetLangText("PlgMgr|MsgPluginFaultTitle", "Plugin-Fehler"), MB_ICONERROR | MB_OK);
}

void ResetPluginFaultReports() { Reported.clear(); }
