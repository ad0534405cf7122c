#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "documents/fMain.h"
#include "editor/CodeEditTextBuffer.h"
#include "rtl/Exception.h"
#include "support/TempFolder.h"

namespace {

struct Loaded {
  TLineBreakFormat lineBreak = -5;
  TFileFormat fileFormat;
  std::string text;
  bool exact = false;  // every character the file holds is in text
};

class TextFileTest : public ::testing::Test {
protected:
  Loaded Load(const std::string& Data, TFileFormat FileFormat) {
    folder.Write("in.txt", Data);
    Loaded result;
    result.fileFormat = FileFormat;
    result.exact = LoadTextFile(folder.File("in.txt"), result.lineBreak, result.fileFormat, result.text);
    return result;
  }
  std::string Save(const std::string& Text, TLineBreakFormat LineBreak, TFileFormat FileFormat) {
    EXPECT_TRUE(SaveTextFile(folder.File("out.txt"), Text, LineBreak, FileFormat));
    return folder.Read("out.txt");
  }
  // Names in the folder other than the given file.
  int OtherFiles(const std::string& Name) const {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder.File("*").c_str(), &data);
    int others = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
      std::string found = data.cFileName;
      if (found != "." && found != ".." && found != Name) ++others;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return others;
  }
  void TearDown() override { SetTextFileFaultsForTests(-1, -1); }

  testsupport::TempFolder folder;
};

// --- reading: line breaks ----------------------------------------------------------------

TEST_F(TextFileTest, EmptyFileKeepsTheFormatAndFindsNoBreak) {
  Loaded detect = Load("", -1);
  EXPECT_EQ(detect.text, "");
  EXPECT_EQ(detect.lineBreak, -1);
  EXPECT_EQ(detect.fileFormat, -1);
  EXPECT_EQ(Load("", ffAnsi).fileFormat, ffAnsi);
}

TEST_F(TextFileTest, OneLineWithoutBreakGetsNothingAppended) {
  Loaded r = Load("single", ffAnsi);
  EXPECT_EQ(r.text, "single");
  EXPECT_EQ(r.lineBreak, -1);
}

TEST_F(TextFileTest, FirstKindFoundInFixedOrderDecidesAndAnExtraBreakIsAppended) {
  struct Case { std::string data; TLineBreakFormat lineBreak; std::string text; };
  const Case cases[] = {
      {"a\r\nb\r\n", lbfWindows, "a\r\nb\r\n\r\n"},
      {"a\nb\r\nc", lbfWindows, "a\nb\r\nc\r\n"},  // CR LF is tested before LF
      {"a\nb", lbfUnix, "a\nb\n"},
      {"a\rb", lbfMacintosh, "a\rb\r"},
      {"a\r\r\nb\r\nc", lbfNetscape, "a\r\nb\r\nc\r\n"},
      {"a\r\r\r\nb", lbfNetscape, "a\r\r\nb\r\n"},  // replaced once, left to right
  };
  for (const Case& c : cases) {
    Loaded r = Load(c.data, ffAnsi);
    EXPECT_EQ(r.lineBreak, c.lineBreak) << c.data;
    EXPECT_EQ(r.text, c.text) << c.data;
  }
}

// --- reading: encodings ------------------------------------------------------------------

TEST_F(TextFileTest, Utf8MarkIsConvertedOnlyWhenDetecting) {
  const std::string file = "\xEF\xBB\xBF" "\xC3\xA4 \xE2\x82\xAC";  // ä €
  Loaded detect = Load(file, -1);
  EXPECT_EQ(detect.fileFormat, ffUtf8);
  EXPECT_EQ(detect.text, "\xE4 \x80");
  EXPECT_TRUE(detect.exact);
  Loaded plain = Load(file, ffAnsi);
  EXPECT_EQ(plain.fileFormat, ffAnsi);
  EXPECT_EQ(plain.text, file);
  EXPECT_TRUE(plain.exact);
}

// Arrow and Omega have no ANSI form: "?" stands for them, and the reader says so. A broken
// sequence is no character at all.
TEST_F(TextFileTest, Utf8CharactersTheCodePageLacksAreSaid) {
  const std::string file = "\xEF\xBB\xBF" "a\xE2\x86\x92\xCE\xA9";
  Loaded detect = Load(file, -1);
  EXPECT_EQ(detect.text, "a??");
  EXPECT_FALSE(detect.exact);
  EXPECT_TRUE(Load(file, ffAnsi).exact) << "the bytes as they are";
  EXPECT_FALSE(Load("\xEF\xBB\xBF" "a\xC3", -1).exact);
  EXPECT_TRUE(Load("a\xE2\x86\x92", -1).exact) << "no mark: the bytes as they are";
}

TEST_F(TextFileTest, Utf8IsConvertedPastANulByte) {
  Loaded r = Load(std::string("\xEF\xBB\xBF" "a\0\xC3\xA4", 7), -1);
  EXPECT_EQ(r.text, "a \xE4");
  EXPECT_EQ(r.fileFormat, ffBinary);
}

TEST_F(TextFileTest, Utf16LittleEndianIsConvertedToAnsi) {
  // a, euro sign, NUL, L with stroke (no ANSI form), CR LF, and an odd trailing byte
  const std::string file("\xFF\xFE" "a\0" "\xAC\x20" "\0\0" "\x41\x01" "\r\0\n\0" "x", 15);
  Loaded r = Load(file, -1);
  EXPECT_EQ(r.fileFormat, ffUtf16LE);
  EXPECT_EQ(r.text, "a\x80 ?\r\n\r\n");
  EXPECT_FALSE(r.exact);
  EXPECT_EQ(r.lineBreak, lbfWindows);
}

TEST_F(TextFileTest, Utf16BigEndianIsConvertedToAnsi) {
  Loaded r = Load(std::string("\xFE\xFF" "\0a" "\x20\xAC" "\x01\x02", 8), -1);
  EXPECT_EQ(r.fileFormat, ffUtf16BE);  // a high byte 0x01 is no binary content
  EXPECT_EQ(r.text, "a\x80?");
}

TEST_F(TextFileTest, Utf16MarkStaysWithoutDetection) {
  Loaded r = Load(std::string("\xFF\xFE" "a\0", 4), ffAnsi);
  EXPECT_EQ(r.fileFormat, ffBinary);
  EXPECT_EQ(r.text, "\xFF\xFE" "a ");
}

TEST_F(TextFileTest, ControlBytesMarkTheTextAsBinaryAndNulsBecomeBlanks) {
  const std::string file("a\x07" "b\0c", 5);
  for (TFileFormat asked : {ffAnsi, TFileFormat(-1), ffUtf8}) {
    Loaded r = Load(file, asked);
    EXPECT_EQ(r.fileFormat, ffBinary);
    EXPECT_EQ(r.text, "a\x07" "b c");
  }
  Loaded highFormat = Load(file, 5);  // 2 or more is not tested
  EXPECT_EQ(highFormat.fileFormat, 5);
  EXPECT_EQ(highFormat.text, "a\x07" "b c");
  EXPECT_EQ(Load("tab\there\x09\x0B", ffAnsi).fileFormat, ffAnsi);
}

TEST_F(TextFileTest, ReadErrorKeepsOnlyTheBytesRead) {
  SetTextFileFaultsForTests(4, -1);
  Loaded r = Load("abc\r\ndef", ffAnsi);
  EXPECT_EQ(r.text, "abc\r\r");
  EXPECT_EQ(r.fileFormat, ffAnsi);
}

TEST_F(TextFileTest, MissingFileRaisesAndChangesNothingElse) {
  TLineBreakFormat lineBreak = 2;
  TFileFormat fileFormat = -1;
  std::string text = "kept";
  EXPECT_THROW(LoadTextFile(folder.File("missing.txt"), lineBreak, fileFormat, text), EStreamError);
  EXPECT_EQ(fileFormat, -1);
  EXPECT_EQ(text, "kept");
}

TEST_F(TextFileTest, FileOpenElsewhereForWritingCanBeRead) {
  folder.Write("in.txt", "shared");
  HANDLE other = CreateFileA(folder.File("in.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = ffAnsi;
  std::string text;
  LoadTextFile(folder.File("in.txt"), lineBreak, fileFormat, text);
  CloseHandle(other);
  EXPECT_EQ(text, "shared");
}

// --- writing: conversion -----------------------------------------------------------------

TEST_F(TextFileTest, LineBreaksAreConvertedFromCrLf) {
  EXPECT_EQ(Save("a\r\nb", lbfNetscape, ffAnsi), "a\r\r\nb");
  EXPECT_EQ(Save("a\r\nb", lbfUnix, ffAnsi), "a\nb");
  EXPECT_EQ(Save("a\r\nb", lbfMacintosh, ffAnsi), "a\rb");
  EXPECT_EQ(Save("a\r\nb", lbfWindows, ffAnsi), "a\r\nb");
  EXPECT_EQ(Save("a\r\nb", -1, ffAnsi), "a\r\nb");
  EXPECT_EQ(Save("lone\rcr\r\n", lbfUnix, ffAnsi), "lonecr\n");
}

TEST_F(TextFileTest, Utf8IsWrittenWithAMarkAndWhole) {
  EXPECT_EQ(Save("", lbfWindows, ffUtf8), "\xEF\xBB\xBF");
  EXPECT_EQ(Save("\xE4\x80", lbfWindows, ffUtf8), "\xEF\xBB\xBF\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(Save(std::string("a\0b", 3), lbfWindows, ffUtf8), std::string("\xEF\xBB\xBF" "a\0b", 6));
}

TEST_F(TextFileTest, EveryAnsiByteSurvivesSavingAndReadingAsUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n') all += static_cast<char>(c);
  EXPECT_TRUE(SaveTextFile(folder.File("in.txt"), all, lbfWindows, ffUtf8));
  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = -1;
  std::string text;
  LoadTextFile(folder.File("in.txt"), lineBreak, fileFormat, text);
  EXPECT_EQ(text, all);
  EXPECT_EQ(fileFormat, ffBinary);  // the bytes 0x01..0x08 are among them
}

TEST_F(TextFileTest, OtherFormatsAreWrittenAsAnsi) {
  for (TFileFormat format : {ffAnsi, ffUtf16LE, ffUtf16BE, ffBinary})
    EXPECT_EQ(Save("\xE4\x80", lbfWindows, format), "\xE4\x80");
}

// --- writing: the file on disk -----------------------------------------------------------

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileWhole) {
  folder.Write("out.txt", "old contents");
  SetTextFileFaultsForTests(-1, 3);
  EXPECT_FALSE(SaveTextFile(folder.File("out.txt"), "new contents", lbfWindows, ffAnsi));
  EXPECT_EQ(folder.Read("out.txt"), "old contents");
  EXPECT_EQ(OtherFiles("out.txt"), 0);
}

TEST_F(TextFileTest, FailedWriteOfANewFileLeavesNoFile) {
  SetTextFileFaultsForTests(-1, 0);
  EXPECT_FALSE(SaveTextFile(folder.File("out.txt"), "new", lbfWindows, ffAnsi));
  EXPECT_EQ(GetFileAttributesA(folder.File("out.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TextFileTest, ReplacingLeavesNoTemporaryFileBehind) {
  folder.Write("out.txt", "old");
  EXPECT_EQ(Save("new", lbfWindows, ffAnsi), "new");
  EXPECT_EQ(OtherFiles("out.txt"), 0);
}

TEST_F(TextFileTest, HiddenSystemFileIsOverwrittenAndKeepsItsAttributes) {
  folder.Write("out.txt", "old");
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  SetFileAttributesA(folder.File("out.txt").c_str(), attributes);
  EXPECT_EQ(Save("new", lbfWindows, ffAnsi), "new");
  EXPECT_EQ(GetFileAttributesA(folder.File("out.txt").c_str()) & attributes, attributes);
}

TEST_F(TextFileTest, FolderWithoutRoomForATemporaryNameIsWrittenInPlace) {
  // A folder name this long leaves no room for a temporary name, but still for "h.txt".
  const std::string subfolder(246 - folder.Path().size(), 'd');
  ASSERT_TRUE(CreateDirectoryA(folder.File(subfolder).c_str(), nullptr));
  const std::string name = subfolder + "\\h.txt";
  folder.Write(name, "old");
  SetFileAttributesA(folder.File(name).c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(SaveTextFile(folder.File(name), "new\r\n", lbfUnix, ffAnsi));
  EXPECT_EQ(folder.Read(name), "new\n");
  EXPECT_EQ(GetFileAttributesA(folder.File(name).c_str()) & FILE_ATTRIBUTE_HIDDEN,
            DWORD(FILE_ATTRIBUTE_HIDDEN));
  SetTextFileFaultsForTests(-1, 1);
  EXPECT_FALSE(SaveTextFile(folder.File(name), "newer", lbfUnix, ffAnsi));
}

TEST_F(TextFileTest, RelativeNameIsSavedInPlace) {
  folder.Write("out.txt", "old");
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(folder.Path().c_str());
  bool saved = SaveTextFile("out.txt", "new", lbfWindows, ffAnsi);
  SetCurrentDirectoryA(current);
  EXPECT_TRUE(saved);
  EXPECT_EQ(folder.Read("out.txt"), "new");
}

TEST_F(TextFileTest, ReadOnlyOrLockedFileRaisesAndStaysUnchanged) {
  folder.Write("out.txt", "old");
  SetFileAttributesA(folder.File("out.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(SaveTextFile(folder.File("out.txt"), "new", lbfWindows, ffAnsi), EStreamError);
  SetFileAttributesA(folder.File("out.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE other = CreateFileA(folder.File("out.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  EXPECT_THROW(SaveTextFile(folder.File("out.txt"), "new", lbfWindows, ffAnsi), EStreamError);
  CloseHandle(other);
  EXPECT_EQ(folder.Read("out.txt"), "old");
  EXPECT_EQ(OtherFiles("out.txt"), 0);
}

TEST_F(TextFileTest, MissingFolderRaises) {
  EXPECT_THROW(SaveTextFile(folder.File("no\\such\\out.txt"), "x", lbfWindows, ffAnsi), EStreamError);
}

// --- round trip through the editor's line list -------------------------------------------

std::string Utf8Of(const std::string& Ansi) {
  std::wstring wide(Ansi.size(), L'\0');
  wide.resize(MultiByteToWideChar(1252, 0, Ansi.data(), static_cast<int>(Ansi.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  return "\xEF\xBB\xBF" + utf8;
}

TEST_F(TextFileTest, LoadingIntoTheLineListAndSavingGivesTheSameBytes) {
  const std::string lines[] = {"Zeile \xE4\xF6\xFC \x80", "", "\tdrei", ""};
  const std::string breaks[] = {"\r\n", "\n", "\r", "\r\r\n"};
  std::vector<std::string> files = {"", "one line \xDF"};
  for (const std::string& br : breaks) {
    std::string body = lines[0] + br + lines[1] + br + lines[2] + br + lines[3] + "end";
    files.push_back(body);
    files.push_back(body + br);
    files.push_back(br + br);
  }
  for (const std::string& ansi : files) {
    for (bool utf8 : {false, true}) {
      const std::string original = utf8 ? Utf8Of(ansi) : ansi;
      Loaded loaded = Load(original, -1);
      TCodeEditStringList list;
      list.SetText(loaded.text);
      EXPECT_EQ(Save(list.Text(), loaded.lineBreak, loaded.fileFormat), original)
          << "utf8 " << utf8 << " file " << ::testing::PrintToString(ansi);
    }
  }
}

}  // namespace
