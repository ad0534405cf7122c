// Byte streams over files and memory; positions and sizes are 64-bit.
#pragma once
#include <cstdint>
#include <string>
#include "rtl/Classes.h"

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
  // Reads up to Count bytes; returns how many were read.
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  // Writes up to Count bytes; returns how many were written.
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
  // Raise EStreamError when fewer bytes than asked for move.
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);
  // Reads from the current position to the end.
  std::string ReadAll();
};

// Open modes, as combinations of one access and one sharing value.
enum : uint32_t {
  fmCreate = 0xFFFF,
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyNone = 0x0040,
};

class TFileStream : public TStream {
public:
  // Raises EStreamError naming the file when it cannot be opened or created.
  TFileStream(const std::string& FileName, uint32_t Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return fileName_; }

private:
  void* handle_;
  std::string fileName_;
};

// A stream over a growable byte string it owns.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string Data) : data_(std::move(Data)) {}
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& DataString() const { return data_; }

private:
  std::string data_;
  int64_t pos_ = 0;
};
