// The file-properties dialog for real files: size in the German format, counts for each line
// break, checksums against known values, attributes shown but never changed. Numbers follow
// the German locale the test prefix runs with.
#include <gtest/gtest.h>
#include "dialogs/formFileProp.h"
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

namespace {

const char* const kEmptyCRC = "00000000";
const char* const kEmptyMD5 = "d41d8cd98f00b204e9800998ecf8427e";
const char* const kEmptySHA1 = "da39a3ee5e6b4b0d3255bfef95601890afd80709";

bool SameIgnoringCase(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

using FilePropTest = documentstest::DocumentWindowTest;

}  // namespace

TEST(FormatFileSize, GroupsThousandsAndRoundsWithTheLocalesSeparators) {
  const std::string def = "%.0n Byte / %.2n KB / %.2n MB";
  EXPECT_EQ(FormatFileSize(1536, def, def), "1.536 Byte / 1,50 KB / 0,00 MB");
  EXPECT_EQ(FormatFileSize(0, def, def), "0 Byte / 0,00 KB / 0,00 MB");
  EXPECT_EQ(FormatFileSize(1234567890, def, def), "1.234.567.890 Byte / 1.205.632,71 KB / 1.177,38 MB");
  EXPECT_EQ(FormatFileSize(999, "%.0n B (%.1n K, %.3n M) 100%%", def), "999 B (1,0 K, 0,001 M) 100%");
  EXPECT_EQ(FormatFileSize(1536, "%s1% Byte", def), "1.536 Byte / 1,50 KB / 0,00 MB");
  EXPECT_EQ(FormatFileSize(1536, "%.0n Byte", def), "1.536 Byte / 1,50 KB / 0,00 MB");
}

TEST_F(FilePropTest, CharactersFollowTheLineBreaksTheDocumentIsSavedWith) {
  TfraEdit* frame = OpenWith("abc.txt", "a\r\nb\r\nc");
  ASSERT_NE(frame, nullptr);
  struct Case { TLineBreakFormat Format; const char* Chars; } cases[] = {
      {lbfUnix, "7"}, {lbfMacintosh, "7"}, {lbfWindows, "9"}, {lbfNetscape, "11"}};
  for (const Case& c : cases) {
    const TTextFacts facts = DocumentFacts(*frame->seEdit, c.Format);
    EXPECT_EQ(facts.Chars, c.Chars) << c.Format;
    EXPECT_EQ(facts.Lines, "3");
    EXPECT_EQ(facts.Words, "3");
  }
  const TTextFacts facts = DocumentFacts(*frame->seEdit, lbfWindows);
  EXPECT_EQ(facts.CRC32, "5F9FA378");
  EXPECT_TRUE(SameIgnoringCase(facts.MD5, "8c8f2ff0bac61ccfb16c5bfc3a9b5c6a")) << facts.MD5;
  EXPECT_TRUE(SameIgnoringCase(facts.SHA1, "d3aca360516a5ef94ad36f79c4d40e4bab5cfa9c")) << facts.SHA1;
}

TEST(SelectionFacts, AnEmptySelectionGivesZeroCountsAndTheEmptyDigests) {
  const TTextFacts empty = SelectionFacts("");
  EXPECT_EQ(empty.Words, "0");
  EXPECT_EQ(empty.Chars, "0");
  EXPECT_EQ(empty.Lines, "0");
  EXPECT_EQ(empty.CRC32, kEmptyCRC);
  EXPECT_TRUE(SameIgnoringCase(empty.MD5, kEmptyMD5)) << empty.MD5;
  EXPECT_TRUE(SameIgnoringCase(empty.SHA1, kEmptySHA1)) << empty.SHA1;
  const TTextFacts two = SelectionFacts("one two\r\nth");
  EXPECT_EQ(two.Words, "3");
  EXPECT_EQ(two.Chars, "11");
  EXPECT_EQ(two.Lines, "2");
  EXPECT_EQ(SelectionFacts("abc").CRC32, "352441C2");
  EXPECT_TRUE(SameIgnoringCase(SelectionFacts("abc").MD5, "900150983cd24fb0d6963f7d28e17f72"));
  EXPECT_TRUE(SameIgnoringCase(SelectionFacts("abc").SHA1, "a9993e364706816aba3e25717850c26c9cd0d89d"));
}

TEST_F(FilePropTest, TheDialogShowsARealFileWithoutChangingIt) {
  const std::string data(1536, 'x');
  TfraEdit* frame = OpenWith("big.txt", data);
  ASSERT_NE(frame, nullptr);
  const std::string name = folder.File("big.txt");
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  const DWORD attributes = GetFileAttributesA(name.c_str());
  FILETIME before;
  {
    HANDLE h = CreateFileA(name.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(h, nullptr, nullptr, &before);
    CloseHandle(h);
  }
  std::string caption;
  testsupport::QueueFormAnswer([&](TForm& Form) {
    auto& d = dynamic_cast<TfrmFileProp&>(Form);
    d.FormShow();
    caption = d.Caption();
    EXPECT_EQ(d.txtFullPath->Text(), name);
    EXPECT_EQ(d.txtFileSize->Text(), "1.536 Byte / 1,50 KB / 0,00 MB");
    EXPECT_TRUE(d.cbAttrHidden->Checked());
    EXPECT_TRUE(d.cbAttrReadOnly->Checked());
    EXPECT_FALSE(d.cbAttrSystem->Checked());
    SendMessageA(d.cbAttrHidden->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(d.cbAttrHidden->Checked()) << "the boxes only show";
    EXPECT_EQ(d.txtFileCRC32->Text(), "185CE599");
    EXPECT_TRUE(SameIgnoringCase(d.txtFileMD5->Text(), "f50a2c77058d8691e94732f00d076b9e"));
    EXPECT_TRUE(SameIgnoringCase(d.txtFileSHA1->Text(), "7669f94a21e22c2baefbe2f95ded175d53df9ed5"));
    EXPECT_FALSE(d.txtFileCreated->Text().empty());
    EXPECT_EQ(d.txtDocCharCount->Text(), "1.538") << "one line with its CR LF";
    EXPECT_EQ(d.txtDocLineCount->Text(), "1");
    EXPECT_EQ(d.txtSelLineCount->Text(), "0");
    EXPECT_EQ(d.txtSelCRC32->Text(), kEmptyCRC);
    EXPECT_TRUE(SameIgnoringCase(d.txtSelSHA1->Text(), kEmptySHA1));
    return mrOk;
  });
  frmMain->Find<TMenuItem>("mnuFileProperties")->Click();
  EXPECT_EQ(caption, "Dateieigenschaften von \"big.txt\"");
  EXPECT_EQ(GetFileAttributesA(name.c_str()), attributes);
  FILETIME after;
  HANDLE h = CreateFileA(name.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(h, nullptr, nullptr, &after);
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  EXPECT_EQ(folder.Read("big.txt"), data);
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FilePropTest, AnEmptyFileShowsTheEmptyDigestsAndAMissingOneEmptyFields) {
  folder.Write("empty.txt", "");
  const TFileFacts empty = ReadFileFacts(folder.File("empty.txt"));
  EXPECT_EQ(empty.CRC32, kEmptyCRC);
  EXPECT_TRUE(SameIgnoringCase(empty.MD5, kEmptyMD5)) << empty.MD5;
  EXPECT_TRUE(SameIgnoringCase(empty.SHA1, kEmptySHA1)) << empty.SHA1;
  EXPECT_FALSE(empty.Size.empty());
  for (const std::string& name : {std::string(), folder.File("missing.txt")}) {
    const TFileFacts none = ReadFileFacts(name);
    EXPECT_EQ(none.Attributes, 0u);
    EXPECT_EQ(none.Size + none.Owner + none.Created + none.CRC32 + none.MD5 + none.SHA1, "");
  }
}
