// Template files inserted into new and active documents, and the text-template menu.
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <set>
#include "commands/Templates.h"
#include "dialogs/formSettings.h"
#include "dialogs/formTemplate.h"
#include "documents/StoreGuard.h"
#include "documents/XmlDoc.h"
#include "support/DocumentsTestFixture.h"
#include "support/StoreMessages.h"
#include "toolkit/Application.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/TreeView.h"

namespace {

ModalAnswer Button(int Result) {
  ModalAnswer a;
  a.result = Result;
  return a;
}

class TemplatesTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    CreateDirectoryA(folder.File("Templates").c_str(), nullptr);
    CreateDirectoryA(folder.File("Templates\\Document").c_str(), nullptr);
    CreateDirectoryA(folder.File("Templates\\Content").c_str(), nullptr);
  }
  void TearDown() override {
    TemplatesDoc.reset();
    DocumentWindowTest::TearDown();
  }
  static std::string Text(TfraEdit* Frame) { return Frame->seEdit->Text(); }
  static void Click(const std::string& Name) { frmMain->Find<TMenuItem>(Name)->Click(); }
  static TMenuItem* ItemCaptioned(const std::string& Menu, const std::string& Caption) {
    TMenuItem* menu = frmMain->Find<TMenuItem>(Menu);
    for (int i = 0; i < menu->Count(); ++i)
      if (menu->Items(i)->Caption() == Caption) return menu->Items(i);
    return nullptr;
  }
};

}  // namespace

TEST_F(TemplatesTest, ANewDocumentTemplateCutsItsHeadAndPlacesTheCaret) {
  folder.Write("t.txt", "Kopf\r\n%cut%\r\nHallo %CURSOR%Welt\r\nEnde");
  TTabSheet* sheet = NewFromTemplate(folder.File("t.txt"), true);
  ASSERT_NE(sheet, nullptr);
  TfraEdit* frame = GetActiveFrame();
  EXPECT_EQ(Text(frame), "Hallo Welt\r\nEnde");
  EXPECT_EQ(frame->seEdit->SelStart(), 6);
  EXPECT_FALSE(frame->DocInfo.Modified);
  EXPECT_FALSE(frame->seEdit->Modified());
}

TEST_F(TemplatesTest, NewDocMarkerOpensANewDocumentWhateverTheFlag) {
  TfraEdit* active = Open("");
  folder.Write("n.txt", "a%NEWDOC%b%NEWDOC%");
  TTabSheet* sheet = NewFromTemplate(folder.File("n.txt"), false);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(Text(GetActiveFrame()), "ab");
  EXPECT_FALSE(GetActiveFrame()->DocInfo.Modified);
  EXPECT_EQ(Text(active), "");
}

TEST_F(TemplatesTest, InsertingIntoTheActiveDocumentIsOneUndoStep) {
  TfraEdit* frame = Open("");
  TCodeEdit& edit = *frame->seEdit;
  edit.SetText("eins zwei");
  edit.SetSelStart(5);
  edit.SetSelLength(4);
  folder.Write("c.txt", "<b>%SELECTION%%CURSOR%</b>\r\n[%FILENAME%]");
  EXPECT_EQ(NewFromTemplate(folder.File("c.txt"), false), nullptr) << "no new page";
  EXPECT_EQ(Text(frame), "eins <b>zwei</b>\r\n[" + frame->DocInfo.Title + "]");
  EXPECT_EQ(edit.SelStart(), 5 + 7) << "the caret sits where the marker was";
  EXPECT_EQ(TabCount(), 1);
  edit.Undo();
  EXPECT_EQ(Text(frame), "eins zwei");
  edit.Redo();
  EXPECT_EQ(Text(frame), "eins <b>zwei</b>\r\n[" + frame->DocInfo.Title + "]");
}

TEST_F(TemplatesTest, MarkersInsideInsertedValuesAreText) {
  TfraEdit* frame = Open("");
  TCodeEdit& edit = *frame->seEdit;
  edit.SetText("%CURSOR%%CUT%");
  edit.SelectAll();
  folder.Write("v.txt", "x%SELECTION%y");
  NewFromTemplate(folder.File("v.txt"), false);
  EXPECT_EQ(Text(frame), "x%CURSOR%%CUT%y");
  EXPECT_EQ(edit.SelStart(), 0) << "no marker of the template: the caret stays at the start";
}

TEST_F(TemplatesTest, NothingHappensForMissingEmptyBinaryOrReadOnlyTargets) {
  folder.Write("empty.txt", "");
  EXPECT_EQ(NewFromTemplate(folder.File("gone.txt"), true), nullptr);
  EXPECT_EQ(NewFromTemplate(folder.File("empty.txt"), true), nullptr);
  EXPECT_EQ(TabCount(), 0);
  EXPECT_EQ(NewFromTemplate(folder.File("gone.txt"), false), nullptr) << "no active document";

  folder.Write("bin.dat", std::string("ab\x01" "cd", 5));
  Settings.General.OpenBinWarn = true;
  testsupport::QueueAnswer(Button(IDNO), [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei einf\xFCgen");
    EXPECT_NE(q.text.find("bin.dat"), std::string::npos);
    EXPECT_EQ(q.flags & MB_DEFBUTTON2, static_cast<UINT>(MB_DEFBUTTON2));
  });
  EXPECT_EQ(NewFromTemplate(folder.File("bin.dat"), true), nullptr);
  EXPECT_EQ(TabCount(), 0);
  testsupport::QueueAnswer(IDYES);
  EXPECT_NE(NewFromTemplate(folder.File("bin.dat"), true), nullptr);

  TfraEdit* locked = Open("");
  locked->seEdit->SetReadOnly(true);
  folder.Write("t.txt", "text");
  EXPECT_EQ(NewFromTemplate(folder.File("t.txt"), false), nullptr);
  EXPECT_EQ(Text(locked), "");
}

TEST_F(TemplatesTest, DocumentAndContentTemplateItemsKeepAnAmpersandInThePath) {
  folder.Write("Templates\\Document\\R&D.txt", "Bericht");
  folder.Write("Templates\\Document\\Brief.txt", "Sehr geehrte");
  Click("mnuFileNew");
  Click("mnuFileNew");  // opened twice: the items are made anew, not added again
  TMenuItem* menu = frmMain->Find<TMenuItem>("mnuFileNew");
  ASSERT_EQ(menu->Count(), 5) << "two fixed items, a separator, two templates";
  TMenuItem* item = ItemCaptioned("mnuFileNew", "R&&D");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->ImageIndex(), 102);
  item->Click();
  ASSERT_EQ(TabCount(), 1);
  EXPECT_EQ(Text(GetActiveFrame()), "Bericht");

  folder.Write("Templates\\Content\\A&B.txt", "Inhalt");
  Click("mnuInsertContentTemplates");
  TMenuItem* content = ItemCaptioned("mnuInsertContentTemplates", "A&&B");
  ASSERT_NE(content, nullptr);
  content->Click();
  EXPECT_EQ(TabCount(), 1);
  EXPECT_EQ(Text(GetActiveFrame()), "InhaltBericht");

  DeleteFileA(folder.File("Templates\\Content\\A&B.txt").c_str());
  Click("mnuInsertContentTemplates");
  EXPECT_EQ(frmMain->Find<TMenuItem>("mnuInsertContentTemplates")->Count(), 1);
  content = nullptr;
  TMenuItem stale(nullptr);
  stale.SetTag(0);
  MainForm()->mnuInsertContentTemplateItemClick(&stale);  // an index past the list
  EXPECT_EQ(Text(GetActiveFrame()), "InhaltBericht");
}

TEST_F(TemplatesTest, TheContentTemplatePickerInsertsByMenuAndByHotKey) {
  folder.Write("Templates\\Content\\Gruss.txt", "Hallo %CURSOR%");
  TfraEdit* frame = Open("");
  frame->seEdit->SetText("Welt");
  auto choose = [this](int Result) {
    testsupport::QueueFormAnswer([this, Result](TForm& Form) {
      auto& picker = dynamic_cast<TfrmTemplate&>(Form);
      EXPECT_EQ(picker.Caption(), "Inhaltsvorlage einf\xFCgen");
      EXPECT_EQ(picker.tvTree->Items(0)->Text(), "Inhaltsvorlagen");
      EXPECT_EQ(picker.SelectedFile, folder.File("Templates\\Content\\Gruss.txt"));
      return Result;
    });
  };
  Click("mnuInsert");
  Click("mnuInsertContentTemplates");
  TMenuItem* item = frmMain->Find<TMenuItem>("mnuInsertContentTemplate");
  EXPECT_TRUE(item->Enabled());
  choose(mrOk);
  item->Click();
  EXPECT_EQ(Text(frame), "Hallo Welt");
  EXPECT_EQ(frame->seEdit->SelStart(), 6);
  choose(mrCancel);
  item->Click();
  EXPECT_EQ(Text(frame), "Hallo Welt") << "Cancel inserts nothing";
  EXPECT_EQ(TabCount(), 1);

  // Shift+Ctrl+T typed into the document, as the keyboard delivers it.
  EXPECT_EQ(item->ShortCut(), ShortCut('T', TShiftState{TShift::ssShift, TShift::ssCtrl}));
  choose(mrOk);
  SetKeyStateOverride([](int Key) { return Key == VK_SHIFT || Key == VK_CONTROL; });
  PostMessageA(frame->seEdit->Handle(), WM_KEYDOWN, 'T', 1);
  Application().ProcessMessages();
  SetKeyStateOverride(nullptr);
  EXPECT_EQ(Text(frame), "Hallo Hallo Welt");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(TemplatesTest, TemplatesMenuIsSortedByMenuTextThenName) {
  TemplatesDoc = std::make_unique<TXmlDoc>();
  auto add = [](const std::string& Name, const std::string& MenuText, const std::string& Before) {
    TemplatesDoc->CreatePath("Templates\\" + Name + "\\Before", Before);
    TemplatesDoc->CreatePath("Templates\\" + Name + "\\Select", "%SELECTION%");
    TemplatesDoc->CreatePath("Templates\\" + Name + "\\After", "</" + Name + ">");
    if (!MenuText.empty()) TemplatesDoc->WriteAttrib("Templates\\" + Name, "MenuText", MenuText);
  };
  add("p", "Zeile", "<p>");
  add("a", "Absatz", "<a>");
  add("c", "", "<c>");
  add("b", "absatz", "<b>");
  add("z", std::string("Null\0stelle", 11), "<z>");  // a zero held would end the item's text
  BuildTemplatesMenu();
  BuildTemplatesMenu();
  TMenuItem* menu = frmMain->Find<TMenuItem>("mnuInsertTemplates");
  ASSERT_EQ(menu->Count(), 5);
  const char* expected[] = {"Absatz [a]", "absatz [b]", "c [c]", "Null?stelle [z]", "Zeile [p]"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(menu->Items(i)->Caption(), expected[i]);
    EXPECT_EQ(menu->Items(i)->Tag(), i);
    EXPECT_EQ(menu->Items(i)->ImageIndex(), 56);
  }

  TfraEdit* frame = Open("");
  frame->seEdit->SetText("Text");
  frame->seEdit->SelectAll();
  menu->Items(4)->Click();
  EXPECT_EQ(Text(frame), "<p>Text</p>");
  EXPECT_EQ(frame->seEdit->SelText(), "Text");
  frame->seEdit->Undo();
  EXPECT_EQ(Text(frame), "Text");
  frame->seEdit->SelectAll();
  menu->Items(3)->Click();
  EXPECT_EQ(Text(frame), "<z>Text</z>");
}

TEST_F(TemplatesTest, ABlankTextTemplateInsertsNothingAndLeavesNoUndoStep) {
  TemplatesDoc = std::make_unique<TXmlDoc>();
  TemplatesDoc->CreatePath("Templates\\x\\Before", "  ");
  TemplatesDoc->CreatePath("Templates\\x\\Select", "%-\r\n");
  TemplatesDoc->CreatePath("Templates\\x\\After", "");
  BuildTemplatesMenu();
  TfraEdit* frame = Open("");
  frmMain->Find<TMenuItem>("mnuInsertTemplates")->Items(0)->Click();
  EXPECT_EQ(Text(frame), "");
  EXPECT_FALSE(frame->seEdit->CanUndo());
  EXPECT_EQ(TemplateNameOfCaption("A [b] [cd]"), "cd");
  EXPECT_EQ(TemplateNameOfCaption("ohne"), "");
}

namespace {
// The set-aside message whole, as the user reads it: the store's name, then its backup's.
void ExpectSetAsideMessage(const std::string& Store, const std::string& Backup) {
  testsupport::QueueAnswer(Button(IDOK), [=](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Textvorlagen");
    EXPECT_EQ(q.text, "Die Textvorlagen in \"" + Store + "\" konnten nicht gelesen werden, weil die "
                      "Datei besch\xE4" "digt oder von Hand ge\xE4ndert ist.\r\nSie wurde unver\xE4ndert "
                      "als \"" + Backup + "\" gesichert; die Textvorlagen beginnen leer.");
    EXPECT_EQ(q.flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  });
}
}  // namespace

// A store that is not well-formed (here overwritten in its middle, or holding a zero byte as
// it stands, where the options dialog's fields would cut its text) is never taken in: it is
// set aside unchanged, which the user is told once, the templates start empty, and a later
// save writes a new file.
TEST_F(TemplatesTest, ADamagedTemplateStoreIsSetAsideUnchanged) {
  const std::string damaged =
      "<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <brief MenuText=\"Brief\">\r\n"
      "    <Before>Hallo</Before>\x13\x07<\x01\x02\x03>\x04\x05";
  folder.Write("Templates.dat.bak", "eine fr\xFChere Sicherung");
  folder.Write("Templates.dat", damaged);
  ExpectSetAsideMessage(folder.File("Templates.dat"), folder.File("Templates.dat.bak2"));
  LoadTemplatesDoc(folder.File("Templates.dat"));
  ASSERT_NE(TemplatesDoc, nullptr);
  EXPECT_EQ(TemplatesDoc->FindNode("Templates"), nullptr);
  EXPECT_FALSE(FileExists(folder.File("Templates.dat")));
  EXPECT_EQ(folder.Read("Templates.dat.bak2"), damaged);
  EXPECT_EQ(folder.Read("Templates.dat.bak"), "eine fr\xFChere Sicherung");
  LoadTemplatesDoc(folder.File("Templates.dat"));  // nothing left to load or to set aside
  EXPECT_FALSE(FileExists(folder.File("Templates.dat.bak3")));
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  const std::string zero("<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <brief MenuText=\"Brief\">\r\n"
                         "    <Before>Hal\0lo </Before>\r\n  </brief>\r\n</Templates>\r\n", 120);
  folder.Write("Templates.dat", zero);
  TemplatesDoc.reset();
  ExpectSetAsideMessage(folder.File("Templates.dat"), folder.File("Templates.dat.bak3"));
  LoadTemplatesDoc(folder.File("Templates.dat"));
  EXPECT_EQ(TemplatesDoc->FindNode("Templates"), nullptr);
  EXPECT_EQ(folder.Read("Templates.dat.bak3"), zero);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  // One that cannot be moved aside, as another program reads it, stays and is not written.
  folder.Write("Templates.dat", damaged);
  TemplatesDoc.reset();
  testsupport::HeldFile reader(folder.File("Templates.dat"), FILE_SHARE_READ);
  testsupport::ExpectStoreUnreadable(folder.File("Templates.dat"));
  LoadTemplatesDoc(folder.File("Templates.dat"));
  reader.Release();
  testsupport::ExpectStoreNotSaved(folder.File("Templates.dat"));
  EXPECT_FALSE(StoreMayBeWritten(folder.File("Templates.dat")));
  EXPECT_EQ(folder.Read("Templates.dat"), damaged);
  EXPECT_FALSE(FileExists(folder.File("Templates.dat.bak4")));
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  // As earlier versions wrote a control character: as it stood, in the attribute.
  const std::string sound = "<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <brief MenuText=\"A\x0C\">\r\n"
                            "    <Before>Hallo</Before>\r\n  </brief>\r\n</Templates>\r\n";
  folder.Write("Templates.dat", sound);
  TemplatesDoc.reset();
  LoadTemplatesDoc(folder.File("Templates.dat"));
  EXPECT_EQ(TemplatesDoc->ReadString("Templates\\brief\\Before", ""), "Hallo");
  EXPECT_EQ(TemplatesDoc->ReadAttrib("Templates\\brief", "MenuText", ""), "A\x0C");
  EXPECT_EQ(folder.Read("Templates.dat"), sound);
}

// Einstellungen > Abbrechen reads the store again: while a sync tool holds it, or once it was
// damaged in the run (here with a zero byte), the templates the program held before the dialog
// stay (not the dialog's edits, not an empty store), which the user is told, and they are not
// written over the file until it was read again. A damaged one stays where it is.
TEST_F(TemplatesTest, AStoreThatCannotBeReadAgainAtAbbrechenKeepsTheTemplatesAndSaysSo) {
  const std::string zero = std::string("<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <gruss>\r\n"
                                       "    <Before>Ser") + '\0' +
                           "vus</Before>\r\n  </gruss>\r\n</Templates>\r\n";
  for (const bool damaged : {false, true}) {
    SCOPED_TRACE(damaged ? "damaged" : "held");
    const std::string sub = damaged ? "Damaged\\" : "Held\\";  // a store of its own each
    CreateDirectoryA(folder.File(sub).c_str(), nullptr);
    Settings.SettingsDir = folder.File(sub);
    const std::string file = folder.File(sub + "Templates.dat");
    folder.Write(sub + "Templates.dat", "<?xml version=\"1.0\"?>\r\n<Templates>\r\n"
                                        "  <brief MenuText=\"Brief\">\r\n    <Before>Hallo</Before>\r\n"
                                        "  </brief>\r\n</Templates>\r\n");
    TemplatesDoc.reset();
    LoadTemplatesDoc(file);  // as at the start
    BuildTemplatesMenu();
    std::optional<testsupport::HeldFile> held;
    if (damaged)
      folder.Write(sub + "Templates.dat", zero);
    else
      held.emplace(file);
    testsupport::QueueFormAnswer([](TForm&) {
      TemplatesDoc->DeleteNode("Templates\\brief");  // an edit the user then cancels
      return static_cast<int>(mrCancel);
    });
    testsupport::ExpectStoreUnreadable(file);
    ShowSettingsDialog();
    EXPECT_EQ(TemplatesDoc->ReadString("Templates\\brief\\Before", "none"), "Hallo");
    EXPECT_EQ(TemplatesDoc->ReadAttrib("Templates\\brief", "MenuText", "none"), "Brief");
    TMenuItem* menu = frmMain->Find<TMenuItem>("mnuInsertTemplates");
    ASSERT_EQ(menu->Count(), 1);
    EXPECT_EQ(menu->Items(0)->Caption(), "Brief [brief]");
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    testsupport::ExpectStoreNotSaved(file);
    EXPECT_FALSE(StoreMayBeWritten(file));
    EXPECT_FALSE(FileExists(file + ".bak"));

    held.reset();
    if (damaged) {
      EXPECT_EQ(folder.Read(sub + "Templates.dat"), zero) << "left as it was";
    }
    folder.Write(sub + "Templates.dat", "<?xml version=\"1.0\"?>\r\n<Templates>\r\n  <gruss>\r\n"
                                        "    <Before>Servus</Before>\r\n  </gruss>\r\n</Templates>\r\n");
    testsupport::QueueFormAnswer([](TForm&) { return static_cast<int>(mrCancel); });
    ShowSettingsDialog();
    EXPECT_EQ(TemplatesDoc->ReadString("Templates\\gruss\\Before", "none"), "Servus");
    EXPECT_EQ(TemplatesDoc->FindNode("Templates\\brief"), nullptr) << "read once it is readable";
    EXPECT_TRUE(StoreMayBeWritten(file));
  }
}

namespace {
// The bytes a name typed into the options dialog may hold: those it takes as a name of one.
std::string AcceptedNameBytes() {
  std::string bytes;
  for (int b = 1; b <= 255; ++b) {
    bool valid = false;
    ValidTemplateName(std::string(1, static_cast<char>(b)), valid);
    if (valid) bytes += static_cast<char>(b);
  }
  return bytes;
}

struct StoredTemplate {
  std::string Name, MenuText, Before, Select, After;
};

void AddToStore(const StoredTemplate& T) {
  TemplatesDoc->CreatePath("Templates\\" + T.Name + "\\Before", T.Before);
  TemplatesDoc->CreatePath("Templates\\" + T.Name + "\\Select", T.Select);
  TemplatesDoc->CreatePath("Templates\\" + T.Name + "\\After", T.After);
  TemplatesDoc->FindNode("Templates\\" + T.Name)->Attribs().Add(std::make_unique<TXmlAttrib>("MenuText", T.MenuText));
}
}  // namespace

// Whatever the options dialog lets the user enter, the program writes a store that it reads
// back the same at the next start: every byte in each text (also a zero byte, as a store read
// from a file may hold one), random texts, and every name the dialog accepts. A store it would
// set aside instead asks a question and fails here.
TEST_F(TemplatesTest, EveryStoreTheProgramWritesLoadsBackTheSame) {
  std::vector<StoredTemplate> templates;
  for (int b = 0; b <= 255; ++b) {
    const std::string c(1, static_cast<char>(b));
    templates.push_back({"b" + std::to_string(b), c, c, c + "x", "x" + c});
    templates.push_back({"c" + std::to_string(b), "x" + c + "y", "x" + c + "y", c, c + c});
  }
  std::mt19937 random(4711);
  auto text = [&](size_t Length) {
    std::string r;
    while (r.size() < Length) r += static_cast<char>(random() % 256);
    return r;
  };
  for (int i = 0; i < 40; ++i)
    templates.push_back({"r" + std::to_string(i), text(random() % 30), text(random() % 80),
                         text(random() % 80), text(random() % 80)});
  const std::string nameBytes = AcceptedNameBytes();
  std::set<std::string> names;
  for (const StoredTemplate& t : templates) names.insert(t.Name);
  for (int i = 0; i < 300; ++i) {
    std::string typed = i < static_cast<int>(nameBytes.size()) ? std::string(1, nameBytes[i]) : "";
    for (size_t n = typed.empty() ? 1 + random() % 12 : 0; n > 0; --n) typed += nameBytes[random() % nameBytes.size()];
    bool valid = false;
    const std::string name = ValidTemplateName(typed, valid);
    ASSERT_TRUE(valid) << typed;
    if (names.insert(name).second)
      templates.push_back({name, name, name, name, name});
  }
  for (auto [indent, lineBreaks] : {std::pair{2, true}, std::pair{0, true}, std::pair{0, false}}) {
    TemplatesDoc = std::make_unique<TXmlDoc>();
    for (const StoredTemplate& t : templates) AddToStore(t);
    ASSERT_TRUE(TemplatesDoc->SaveToFile(folder.File("Templates.dat"), indent, lineBreaks));
    TemplatesDoc.reset();
    LoadTemplatesDoc(folder.File("Templates.dat"));
    ASSERT_NE(TemplatesDoc->FindNode("Templates"), nullptr) << "indent " << indent;
    EXPECT_FALSE(FileExists(folder.File("Templates.dat.bak")));
    const TXmlNode& store = *TemplatesDoc->FindNode("Templates");
    ASSERT_EQ(store.Nodes().Count(), static_cast<int>(templates.size()));
    for (size_t i = 0; i < templates.size(); ++i) {
      const StoredTemplate& t = templates[i];
      const std::string path = "Templates\\" + t.Name;
      EXPECT_EQ(store.Nodes().Items(static_cast<int>(i))->Name, t.Name);
      EXPECT_EQ(TemplatesDoc->ReadAttrib(path, "MenuText", "?"), t.MenuText) << t.Name;
      EXPECT_EQ(TemplatesDoc->ReadString(path + "\\Before", "?"), t.Before) << t.Name;
      EXPECT_EQ(TemplatesDoc->ReadString(path + "\\Select", "?"), t.Select) << t.Name;
      EXPECT_EQ(TemplatesDoc->ReadString(path + "\\After", "?"), t.After) << t.Name;
    }
    BuildTemplatesMenu();
    EXPECT_EQ(frmMain->Find<TMenuItem>("mnuInsertTemplates")->Count(), static_cast<int>(templates.size()));
    if (HasFailure()) return;
  }
}
