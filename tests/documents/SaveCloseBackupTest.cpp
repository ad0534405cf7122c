// Backups before saving and the extension Save As gives a bare name.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"

namespace {

using testsupport::AskedQuestions;
using testsupport::QueueAnswer;

class BackupTest : public ::testing::Test {
protected:
  void SetUp() override {
    saved = Settings.General;
    Settings.General.BackupEnabled = true;
    Settings.General.BackupAuto = true;
    Settings.General.BackupOvr = true;
    Settings.General.BackupExt = "bak";
    Settings.General.BackupReplaceExt = false;
    folder.Write("a.txt", "old");
  }
  void TearDown() override { Settings.General = saved; }
  bool Exists(const std::string& Name) const {
    return GetFileAttributesA(folder.File(Name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  TGeneralSettings saved;
  testsupport::TempFolder folder;
};

TEST_F(BackupTest, AutomaticCopyBesideOrInsteadOfTheExtension) {
  EXPECT_TRUE(CreateBackup(folder.File("a.txt")));
  EXPECT_EQ(folder.Read("a.txt.bak"), "old");
  Settings.General.BackupReplaceExt = true;
  Settings.General.BackupExt = "old";
  EXPECT_TRUE(CreateBackup(folder.File("a.txt")));
  EXPECT_EQ(folder.Read("a.old"), "old");
  EXPECT_TRUE(AskedQuestions().empty());
}

TEST_F(BackupTest, DisabledMakesNoCopy) {
  Settings.General.BackupEnabled = false;
  Settings.General.BackupAuto = false;
  EXPECT_TRUE(CreateBackup(folder.File("a.txt")));
  EXPECT_FALSE(Exists("a.txt.bak"));
  EXPECT_TRUE(AskedQuestions().empty());
}

TEST_F(BackupTest, AskedBeforeCopying) {
  Settings.General.BackupAuto = false;
  struct Case {
    int answer;
    bool result;
    bool copied;
  } cases[] = {{IDYES, true, true}, {IDNO, true, false}, {IDCANCEL, false, false}};
  for (const Case& c : cases) {
    DeleteFileA(folder.File("a.txt.bak").c_str());
    QueueAnswer(ModalAnswer{c.answer}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Backupdatei erstellen");
      EXPECT_NE(q.text.find(folder.File("a.txt")), std::string::npos);
      EXPECT_EQ(q.flags, UINT(MB_ICONQUESTION | MB_YESNOCANCEL));
    });
    EXPECT_EQ(CreateBackup(folder.File("a.txt")), c.result) << c.answer;
    EXPECT_EQ(Exists("a.txt.bak"), c.copied) << c.answer;
  }
}

TEST_F(BackupTest, AskedBeforeOverwritingAnOldBackup) {
  Settings.General.BackupOvr = false;
  // No backup yet: nothing to ask.
  EXPECT_TRUE(CreateBackup(folder.File("a.txt")));
  struct Case {
    int answer;
    bool result;
    const char* backup;
  } cases[] = {{IDNO, true, "old"}, {IDCANCEL, false, "old"}, {IDYES, true, "new"}};
  folder.Write("a.txt", "new");
  for (const Case& c : cases) {
    QueueAnswer(ModalAnswer{c.answer}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Backupdatei \xFC" "berschreiben");
      EXPECT_NE(q.text.find(folder.File("a.txt.bak")), std::string::npos);
    });
    EXPECT_EQ(CreateBackup(folder.File("a.txt")), c.result) << c.answer;
    EXPECT_EQ(folder.Read("a.txt.bak"), c.backup) << c.answer;
  }
}

TEST_F(BackupTest, FailedCopyIsReportedAndNeedsConsent) {
  // A folder in the backup's place cannot be overwritten by a file.
  CreateDirectoryA(folder.File("a.txt.bak").c_str(), nullptr);
  QueueAnswer(ModalAnswer{IDNO}, [](const ModalQuestion& q) {
    EXPECT_NE(q.flags & MB_ICONWARNING, 0u);
    EXPECT_NE(q.text.find("konnte nicht angelegt werden"), std::string::npos);
  });
  EXPECT_FALSE(CreateBackup(folder.File("a.txt")));
  QueueAnswer(IDYES);
  EXPECT_TRUE(CreateBackup(folder.File("a.txt")));
  RemoveDirectoryA(folder.File("a.txt.bak").c_str());
}

TEST_F(BackupTest, NewFileHasNothingToCopy) {
  EXPECT_TRUE(CreateBackup(folder.File("new.txt")));
  EXPECT_FALSE(Exists("new.txt.bak"));
  EXPECT_TRUE(AskedQuestions().empty());
}

TEST(SaveAsExtension, FromTheChosenFilterRow) {
  TStringList saved;
  saved.Assign(Settings.FileTypes);
  Settings.FileTypes.Assign(DefaultFileTypes());
  const std::string filter = GetOpenDialogFilter();
  struct Case {
    int index;  // rows of the default list, from 1
    const char* ext;
  } cases[] = {
      {1, ""},       // all files
      {2, ".txt"},
      {3, ".html"},  // first mask of several
      {5, ".css"},
      {9, ".cpp"},   // "*.c" first: never the style sheets' ".css"
      {10, ".cs"},
      {14, ""},      // a type without default extension
      {21, ""},      // beyond the list
  };
  for (const Case& c : cases) EXPECT_EQ(SaveAsDefaultExtension(filter, c.index), c.ext) << c.index;
  EXPECT_EQ(SaveAsDefaultExtension("Odd|*.q?x;*.z", 1), "");
  EXPECT_EQ(SaveAsDefaultExtension("Make|makefile", 1), "");
  Settings.FileTypes.Assign(saved);
}

}  // namespace
