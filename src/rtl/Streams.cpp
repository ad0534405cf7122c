#include "rtl/Streams.h"
#include <windows.h>
#include <algorithm>
#include <cstring>
#include "rtl/Exception.h"

int64_t TStream::Size() {
  int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return end;
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EStreamError("Stream write error");
}

std::string TStream::ReadAll() {
  std::string result;
  char chunk[65536];
  for (;;) {
    int32_t n = Read(chunk, sizeof chunk);
    if (n <= 0) break;
    result.append(chunk, n);
  }
  return result;
}

TFileStream::TFileStream(const std::string& FileName, uint32_t Mode) : fileName_(FileName) {
  DWORD access, share, disposition;
  if (Mode == fmCreate) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;
    disposition = CREATE_ALWAYS;
  } else {
    static const DWORD accessOf[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    access = accessOf[std::min<uint32_t>(Mode & 3, 2)];
    switch (Mode & 0xF0) {
      case fmShareExclusive: share = 0; break;
      case fmShareDenyWrite: share = FILE_SHARE_READ; break;
      case fmShareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
      default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    disposition = OPEN_EXISTING;
  }
  handle_ = CreateFileA(FileName.c_str(), access, share, nullptr, disposition,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) {
    throw EStreamError((Mode == fmCreate ? "Cannot create file \"" : "Cannot open file \"") +
                       FileName + "\"");
  }
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  DWORD done = 0;
  if (Count <= 0 || !ReadFile(handle_, Buffer, static_cast<DWORD>(Count), &done, nullptr)) return 0;
  return static_cast<int32_t>(done);
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  DWORD done = 0;
  if (Count <= 0 || !WriteFile(handle_, Buffer, static_cast<DWORD>(Count), &done, nullptr)) return 0;
  return static_cast<int32_t>(done);
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  LARGE_INTEGER dist, result;
  dist.QuadPart = Offset;
  DWORD method = Origin == TSeekOrigin::soBeginning ? FILE_BEGIN
               : Origin == TSeekOrigin::soCurrent   ? FILE_CURRENT
                                                    : FILE_END;
  if (!SetFilePointerEx(handle_, dist, &result, method)) return -1;
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t NewSize) {
  int64_t pos = Position();
  Seek(NewSize, TSeekOrigin::soBeginning);
  if (!SetEndOfFile(handle_)) throw EStreamError("Stream write error");
  Seek(std::min(pos, NewSize), TSeekOrigin::soBeginning);
}

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || pos_ >= static_cast<int64_t>(data_.size())) return 0;
  int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, data_.size() - pos_));
  std::memcpy(Buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  if (pos_ + Count > static_cast<int64_t>(data_.size())) data_.resize(pos_ + Count);
  std::memcpy(data_.data() + pos_, Buffer, Count);
  pos_ += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == TSeekOrigin::soBeginning ? 0
               : Origin == TSeekOrigin::soCurrent   ? pos_
                                                    : static_cast<int64_t>(data_.size());
  pos_ = std::max<int64_t>(0, base + Offset);
  return pos_;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  data_.resize(static_cast<size_t>(NewSize));
  pos_ = std::min(pos_, NewSize);
}
