// Watches the file of an open document for changes made outside the program and hands each
// notice to the main window on the user-interface thread.
#pragma once
#include <windows.h>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include "rtl/Classes.h"
#include "rtl/Exception.h"

class TfraEdit;

// Raised when a watcher cannot be made (its folder cannot be opened, no thread).
class EFileWatcher : public Exception {
public:
  using Exception::Exception;
};

// Receives the document number of a changed file, on the user-interface thread.
using TFileChangeHandler = std::function<void(int Tag)>;

// The folder a file's changes are read from: "C:\" for a file in a drive root, otherwise
// the folder without a trailing backslash.
std::string WatchedFolderOf(const std::string& FileName);
// The name in the first change record of a buffer the system filled with Bytes bytes, in the
// ANSI code page as WideToAnsiExact gives it ("?" for a character the code page lacks, never
// a look-alike); empty for no record (0 bytes after a lost batch) or a record that does not
// fit in Bytes.
std::string FirstChangedName(const void* Buffer, DWORD Bytes);
// One state of a file's contents as the system reports it: size and last-write time. A file
// that cannot be read has the size -1.
struct TFileStamp {
  int64_t Size = -1;
  uint64_t LastWrite = 0;
  bool operator==(const TFileStamp&) const = default;
};
TFileStamp FileStampOf(const std::string& FileName);

// The worker thread of one watcher: waits on a completion port for the change records of
// the file's folder and hands on every record for the file; whether the file really changed
// is decided on the user-interface thread, by its stamp.
class TFileWatcherThread {
public:
  // Starts the thread; EFileWatcher when the folder cannot be opened or no thread starts.
  // OnChange null: the main window's FileChangeNotify (postponed while a modal question is
  // open).
  TFileWatcherThread(const std::string& FileName, int Tag, TFileChangeHandler OnChange);
  // Ends the thread and waits for it; a notice it is handing over meanwhile is let through
  // without being reported.
  ~TFileWatcherThread();
  TFileWatcherThread(const TFileWatcherThread&) = delete;
  TFileWatcherThread& operator=(const TFileWatcherThread&) = delete;

  // Asks the thread to stop: a completion posted to the port wakes a waiting thread.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Whether the thread body is still running.
  bool Running() const;
  // Set once a change record for the file was seen.
  bool Changed() const { return changed_; }
  const std::string& Dir() const { return dir_; }
  int Tag() const { return tag_; }

private:
  static DWORD WINAPI ThreadProc(void* Self);
  void Execute();
  void NotifyChange();
  void CancelPendingRequest();

  struct THandleCloser {
    void operator()(HANDLE Handle) const;
  };
  using TOwnedHandle = std::unique_ptr<void, THandleCloser>;

  std::string dir_;
  std::string fileName_;
  int tag_;
  TFileChangeHandler onChange_;
  TOwnedHandle dirHandle_;
  TOwnedHandle port_;
  OVERLAPPED overlapped_ = {};
  alignas(DWORD) std::array<char, 1052> buffer_ = {};
  std::atomic<bool> changed_{false};
  std::atomic<bool> terminated_{false};
  bool requestPending_ = false;
  bool muted_ = false;  // user-interface thread only
  TOwnedHandle thread_;
};

// The watcher a document keeps while it is open.
class TFileWatcher : public TObject {
public:
  TFileWatcher(const std::string& FileName, int Tag, TFileChangeHandler OnChange = nullptr);
  ~TFileWatcher() override;
  TFileWatcherThread& Thread() const { return *thread_; }

private:
  std::unique_ptr<TFileWatcherThread> thread_;
};

// Gives the frame a watcher on FileName; when that fails the document is simply not watched.
void WatchDocumentFile(TfraEdit& Frame, const std::string& FileName);
