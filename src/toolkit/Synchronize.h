// Hands work from a worker thread to the user-interface thread and waits until it has run.
#pragma once
#include <windows.h>
#include <functional>

// Marks the calling thread as the user-interface thread and makes the hidden window that
// receives the hand-overs. Called once on that thread before any worker starts; later calls
// do nothing.
void InitSynchronize();
// From a worker: runs Work on the user-interface thread (while it serves messages or waits
// in WaitForThreadServingSynchronize) and returns when Work has. On the user-interface thread
// Work runs at once. An exception leaving Work is rethrown in the calling thread.
void Synchronize(std::function<void()> Work);
// Runs every hand-over waiting now; true when one ran. User-interface thread only.
bool CheckSynchronize();
// Waits until Thread has ended, running the hand-overs that arrive meanwhile, so a worker
// that waits in Synchronize can finish. User-interface thread only.
void WaitForThreadServingSynchronize(HANDLE Thread);
