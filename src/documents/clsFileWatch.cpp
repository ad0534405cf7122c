#include "documents/clsFileWatch.h"
#include <cstddef>
#include "documents/MainWindowParts.h"
#include "documents/frameEdit.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Synchronize.h"

namespace {

constexpr ULONG_PTR kChangeKey = 1;
constexpr ULONG_PTR kStopKey = 2;
// How long a cancelled request may take to report back before its buffer is given up.
constexpr DWORD kCancelWaitMs = 1000;

void NotifyMainWindow(int Tag) {
  if (!frmMain) return;
  frmMain->RunWhenNoModal([Tag] {
    if (frmMain) frmMain->FileChangeNotify(Tag);
  });
}

}  // namespace

std::string WatchedFolderOf(const std::string& FileName) {
  const std::string folder = ExtractFilePath(FileName);
  // "C:" alone would name the drive's current folder, not its root.
  if (folder.size() == 3 && folder[1] == ':') return folder;
  return ExcludeTrailingBackslash(folder);
}

std::string FirstChangedName(const void* Buffer, DWORD Bytes) {
  constexpr DWORD kHead = offsetof(FILE_NOTIFY_INFORMATION, FileName);
  if (Bytes < kHead) return {};
  const auto* record = static_cast<const FILE_NOTIFY_INFORMATION*>(Buffer);
  const DWORD nameBytes = record->FileNameLength;
  if (nameBytes == 0 || nameBytes > Bytes - kHead) return {};
  // A name the code page cannot hold keeps its "?" marks: it matches no watched file.
  std::string name;
  WideToAnsiExact(std::wstring(record->FileName, nameBytes / sizeof(WCHAR)), name);
  return name;
}

TFileStamp FileStampOf(const std::string& FileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(FileName.c_str(), GetFileExInfoStandard, &data)) return {};
  TFileStamp stamp;
  stamp.Size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.LastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

// ---- TFileWatcherThread -------------------------------------------------------------------

void TFileWatcherThread::THandleCloser::operator()(HANDLE Handle) const {
  if (Handle && Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
}

TFileWatcherThread::TFileWatcherThread(const std::string& FileName, int Tag,
                                       TFileChangeHandler OnChange)
    : dir_(WatchedFolderOf(FileName)),
      fileName_(FileName),
      tag_(Tag),
      onChange_(OnChange ? std::move(OnChange) : TFileChangeHandler(NotifyMainWindow)) {
  InitSynchronize();
  HANDLE dir = CreateFileA(dir_.c_str(), FILE_LIST_DIRECTORY,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (dir == INVALID_HANDLE_VALUE) throw EFileWatcher("Cannot watch folder " + dir_);
  dirHandle_.reset(dir);
  port_.reset(CreateIoCompletionPort(dir, nullptr, kChangeKey, 1));
  if (!port_) throw EFileWatcher("No completion port for " + dir_);
  thread_.reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
  if (!thread_) throw EFileWatcher("No watcher thread for " + dir_);
}

TFileWatcherThread::~TFileWatcherThread() {
  // Its owner is going (a closing document, the window at shutdown): a notice still being
  // handed over is let through without reaching it.
  muted_ = true;
  Terminate();
  if (thread_) WaitForThreadServingSynchronize(thread_.get());
}

void TFileWatcherThread::Terminate() {
  if (terminated_.exchange(true)) return;
  if (port_) PostQueuedCompletionStatus(port_.get(), 0, kStopKey, nullptr);
}

bool TFileWatcherThread::Running() const {
  return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI TFileWatcherThread::ThreadProc(void* Self) {
  static_cast<TFileWatcherThread*>(Self)->Execute();
  return 0;
}

void TFileWatcherThread::Execute() {
  while (!terminated_) {
    overlapped_ = {};
    if (!ReadDirectoryChangesW(dirHandle_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()),
                               FALSE, FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE,
                               nullptr, &overlapped_, nullptr))
      break;
    requestPending_ = true;
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED done = nullptr;
    const BOOL ok = GetQueuedCompletionStatus(port_.get(), &bytes, &key, &done, INFINITE);
    if (done == &overlapped_) requestPending_ = false;
    if (!ok || key == kStopKey || terminated_) break;
    const std::string name = FirstChangedName(buffer_.data(), bytes);
    const bool matches =
        !name.empty() && AnsiSameText(IncludeTrailingBackslash(dir_) + name, fileName_);
    if (!matches) continue;
    changed_ = true;
    NotifyChange();
  }
  terminated_ = true;
  CancelPendingRequest();
}

// The system may still write into the buffer until the request it holds has come back.
void TFileWatcherThread::CancelPendingRequest() {
  if (!requestPending_) return;
  CancelIo(dirHandle_.get());
  const DWORD until = GetTickCount() + kCancelWaitMs;
  while (requestPending_) {
    const DWORD left = until - GetTickCount();
    if (static_cast<int32_t>(left) <= 0) break;
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED done = nullptr;
    const BOOL ok = GetQueuedCompletionStatus(port_.get(), &bytes, &key, &done, left);
    if (done == &overlapped_) requestPending_ = false;
    else if (!ok && !done) break;  // timed out or the port is gone
  }
}

void TFileWatcherThread::NotifyChange() {
  // A failing reaction is shown on the user-interface thread; the document stays watched.
  Synchronize([this] {
    if (!muted_) GuardEntry([this] { onChange_(tag_); });
  });
}

// ---- TFileWatcher -------------------------------------------------------------------------

TFileWatcher::TFileWatcher(const std::string& FileName, int Tag, TFileChangeHandler OnChange)
    : thread_(std::make_unique<TFileWatcherThread>(FileName, Tag, std::move(OnChange))) {}

TFileWatcher::~TFileWatcher() {
  thread_->Terminate();
  thread_.reset();
}

void WatchDocumentFile(TfraEdit& Frame, const std::string& FileName) {
  try {
    Frame.FileWatcher = std::make_unique<TFileWatcher>(FileName, Frame.Tag());
  } catch (const EFileWatcher&) {
    Frame.FileWatcher.reset();  // the document is not watched; nothing to report
  }
}
