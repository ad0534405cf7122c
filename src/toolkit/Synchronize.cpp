#include "toolkit/Synchronize.h"
#include <deque>
#include <exception>
#include <mutex>

namespace {

constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3A1;

struct TRequest {
  std::function<void()> Work;
  HANDLE Done = nullptr;
  std::exception_ptr Failure;
};

std::mutex queueLock;
std::deque<TRequest*> queue;
DWORD uiThreadId = 0;
HWND syncWindow = nullptr;
// Set while requests wait, so a joining user-interface thread wakes for them.
HANDLE pendingEvent = nullptr;

LRESULT CALLBACK SyncWindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_SYNCHRONIZE) {
    CheckSynchronize();
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, wParam, lParam);
}

TRequest* TakeRequest() {
  std::lock_guard<std::mutex> lock(queueLock);
  if (queue.empty()) {
    ResetEvent(pendingEvent);
    return nullptr;
  }
  TRequest* request = queue.front();
  queue.pop_front();
  return request;
}

}  // namespace

void InitSynchronize() {
  if (uiThreadId) return;
  uiThreadId = GetCurrentThreadId();
  pendingEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = SyncWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TarvolineSynchronize";
  RegisterClassA(&wc);
  syncWindow = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
}

void Synchronize(std::function<void()> Work) {
  if (!uiThreadId || GetCurrentThreadId() == uiThreadId) {
    Work();
    return;
  }
  TRequest request;
  request.Work = std::move(Work);
  request.Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  {
    std::lock_guard<std::mutex> lock(queueLock);
    queue.push_back(&request);
    SetEvent(pendingEvent);
  }
  PostMessageA(syncWindow, WM_SYNCHRONIZE, 0, 0);
  WaitForSingleObject(request.Done, INFINITE);
  CloseHandle(request.Done);
  if (request.Failure) std::rethrow_exception(request.Failure);
}

bool CheckSynchronize() {
  if (!pendingEvent) return false;
  bool ran = false;
  while (TRequest* request = TakeRequest()) {
    try {
      request->Work();
    } catch (...) {
      request->Failure = std::current_exception();  // the worker decides what it means
    }
    ran = true;
    SetEvent(request->Done);
  }
  return ran;
}

void WaitForThreadServingSynchronize(HANDLE Thread) {
  if (!pendingEvent) {
    WaitForSingleObject(Thread, INFINITE);
    return;
  }
  const HANDLE handles[2] = {Thread, pendingEvent};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
    CheckSynchronize();
}
