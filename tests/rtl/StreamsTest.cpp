#include <gtest/gtest.h>
#include <windows.h>
#include "rtl/Exception.h"
#include "rtl/StringList.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

namespace {
std::string TempName(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}
}  // namespace

TEST(MemoryStream, ReadsWritesAndSeeksPastTheEnd) {
  TMemoryStream s;
  s.WriteBuffer("abc", 3);
  s.SetPosition(5);
  s.WriteBuffer("z", 1);
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.DataString(), std::string("abc\0\0z", 6));
  s.SetPosition(1);
  EXPECT_EQ(s.ReadAll(), std::string("bc\0\0z", 5));
  char c;
  EXPECT_THROW(s.ReadBuffer(&c, 1), EStreamError);
}

TEST(FileStream, WritesAndReadsBackAFileAndFailsOnAMissingOne) {
  std::string name = TempName("tv_stream_test.bin");
  {
    TFileStream out(name, fmCreate);
    out.WriteBuffer("hello", 5);
  }
  {
    TFileStream in(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(in.Size(), 5);
    EXPECT_EQ(in.ReadAll(), "hello");
  }
  DeleteFileA(name.c_str());
  EXPECT_FALSE(FileExists(name));
  EXPECT_THROW(TFileStream(name, fmOpenRead), EStreamError);
}

TEST(StringListFile, SavesWithCrLfAndLoadsBack) {
  std::string name = TempName("tv_list_test.txt");
  TStringList l;
  l.Add("eins");
  l.Add("zwei");
  l.SaveToFile(name);
  TStringList back;
  back.LoadFromFile(name);
  EXPECT_TRUE(back.Equals(l));
  TFileStream in(name, fmOpenRead);
  EXPECT_EQ(in.ReadAll(), "eins\r\nzwei\r\n");
}
