// The plug-ins dialog: its rows, the settings button, and what OK and Cancel write.
#include <gtest/gtest.h>
#include "PluginTestFixture.h"
#include "dialogs/formPlugins.h"
#include "support/StoreMessages.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"

namespace {

using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class PluginDialogTest : public PluginWindowTest {
protected:
  void SetUp() override {
    PluginWindowTest::SetUp();
    Install("full", "b.plg");
    Install("full", "Sub\\a.plg");
    Install("plain", "plain.plg");
    Install("refusing", "refusing.plg");
    Install("full", "new.plg");
    Allow("b.plg\r\nsub\\a.plg\r\nplain.plg\r\nrefusing.plg");
    LoadPlugins();
  }
  // Opens the dialog from its menu item and runs Drive on it as the person would; Then
  // queues the answers to the questions that follow the dialog's appearance.
  void OpenDialog(std::function<int(TfrmPlugins&)> Drive, std::function<void()> Then = nullptr) {
    testsupport::QueueFormAnswer([Drive](TForm& Form) {
      auto& dialog = dynamic_cast<TfrmPlugins&>(Form);
      return Drive(dialog);
    });
    if (Then) Then();
    frmMain->Find<TMenuItem>("mnuExtrasPluginMgr")->Click();
  }
  static Lines Column(const TfrmPlugins& Dialog, int Index) {
    Lines texts;
    for (int i = 0; i < Dialog.lvPlugins->Count(); ++i) {
      TListItem* row = Dialog.lvPlugins->Items(i);
      texts.push_back(Index == 0 ? row->Caption() : row->SubItem(Index - 1));
    }
    return texts;
  }
  // The row of a plug-in by its path (rows of plug-ins without a name keep the scan's order).
  static TListItem* Row(const TfrmPlugins& Dialog, const std::string& Path) {
    for (int i = 0; i < Dialog.lvPlugins->Count(); ++i)
      if (Dialog.lvPlugins->Items(i)->SubItem(1) == Path) return Dialog.lvPlugins->Items(i);
    ADD_FAILURE() << "no row for " << Path;
    return nullptr;
  }
  // Drives the dialog: Change, then OK.
  static std::function<int(TfrmPlugins&)> PressOk(std::function<void(TfrmPlugins&)> Change) {
    return [Change](TfrmPlugins& d) {
      Change(d);
      d.btnOk->Click();
      return d.ModalResult();
    };
  }
  // OK refused, as the list it would write could not be read: the store's box, the dialog open.
  static int OkRefused(TfrmPlugins& d, const std::string& List) {
    testsupport::ExpectStoreNotSaved(List);
    d.btnOk->Click();
    EXPECT_EQ(d.ModalResult(), mrNone);
    return static_cast<int>(mrCancel);
  }
  static void ExpectRestartNotice() {
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Plugin-Einstellungen ge\xE4ndert");
      EXPECT_EQ(q.text, "Damit die \xC4nderungen wirksam werden, muss Tarvoline neu gestartet werden.");
      EXPECT_TRUE(q.flags & MB_ICONINFORMATION);
    });
  }
};

}  // namespace

TEST_F(PluginDialogTest, RowsFollowThePluginOrderTickedWhileListed) {
  OpenDialog([](TfrmPlugins& d) {
    EXPECT_EQ(d.Caption(), "Plugin-Verwaltung");
    EXPECT_EQ(Column(d, 0), (Lines{"", "", "a", "b", "plain"}));
    EXPECT_EQ(Column(d, 1), (Lines{"", "", "1.0", "1.0", "1.0"}));
    Lines paths = Column(d, 2);
    EXPECT_EQ(Lines(paths.begin() + 2, paths.end()), (Lines{"Sub\\a.plg", "b.plg", "plain.plg"}));
    EXPECT_TRUE((Lines(paths.begin(), paths.begin() + 2) == Lines{"refusing.plg", "new.plg"}) ||
                (Lines(paths.begin(), paths.begin() + 2) == Lines{"new.plg", "refusing.plg"}));
    // Ticked while listed: the refused plug-in is, though not loaded; the new one is not.
    for (auto [path, ticked] : {std::pair{"refusing.plg", true}, {"new.plg", false},
                                {"Sub\\a.plg", true}, {"b.plg", true}, {"plain.plg", true}})
      EXPECT_EQ(Row(d, path)->Checked(), ticked) << path;
    EXPECT_EQ(d.lvPlugins->Selected(), d.lvPlugins->Items(0));
    return static_cast<int>(mrCancel);
  });
}

TEST_F(PluginDialogTest, TheSettingsButtonServesOnlyLoadedPluginsWithConfigure) {
  OpenDialog([this](TfrmPlugins& d) {
    // Not loaded; loaded with the entry point; loaded without it; back to one with it.
    for (auto [path, enabled] : {std::pair{"refusing.plg", false}, {"Sub\\a.plg", true},
                                 {"plain.plg", false}, {"b.plg", true}}) {
      SCOPED_TRACE(path);
      Row(d, path)->SetSelected(true);
      EXPECT_EQ(d.btnConfig->Enabled(), enabled);
    }
    ClearCalls();
    d.btnConfig->Click();
    EXPECT_EQ(Calls(), (Lines{"b Configure"}));
    EXPECT_TRUE(d.btnConfig->Enabled());
    return static_cast<int>(mrCancel);
  });
}

TEST_F(PluginDialogTest, OkWritesTheTicksAfterTheLinesKeptAndCancelWritesNothing) {
  const std::string before = folder.Read("Plugins\\AllowedPlugins.ini");
  OpenDialog([](TfrmPlugins& d) {
    Row(d, "new.plg")->SetChecked(true);
    Row(d, "b.plg")->SetChecked(false);
    return static_cast<int>(mrCancel);
  });
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), before);

  // The refused plug-in shows ticked, as listed: its line stays until the user unticks it.
  OpenDialog(PressOk([](TfrmPlugins&) {}), ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), before + "\r\n");
  OpenDialog(PressOk([](TfrmPlugins& d) { Row(d, "refusing.plg")->SetChecked(false); }),
             ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), "b.plg\r\nsub\\a.plg\r\nplain.plg\r\n");

  OpenDialog(PressOk([](TfrmPlugins& d) {
               EXPECT_FALSE(Row(d, "refusing.plg")->Checked());
               Row(d, "new.plg")->SetChecked(true);
               Row(d, "b.plg")->SetChecked(false);
             }),
             ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), "sub\\a.plg\r\nplain.plg\r\nnew.plg\r\n");
  EXPECT_EQ(PluginManager->GetPlugin(3).Infos.Name, "b") << "the running program keeps its plug-ins";
  // Unticked earlier in this run, a plug-in still loaded shows unticked: OK leaves it out.
  OpenDialog(PressOk([](TfrmPlugins& d) { EXPECT_FALSE(Row(d, "b.plg")->Checked()); }),
             ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), "sub\\a.plg\r\nplain.plg\r\nnew.plg\r\n");
}

// Plug-ins on a removed drive or in a renamed folder show no row: their lines stay.
TEST_F(PluginDialogTest, OkKeepsTheLinesOfPluginsThatAreNotThere) {
  const std::string list = "Weg\\gone.plg\r\nb.plg\r\nsub\\a.plg\r\nalt.plg\r\nplain.plg\r\n";
  FreePlugins();
  Allow(list);
  LoadPlugins();
  OpenDialog(PressOk([](TfrmPlugins&) {}), ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), list);

  OpenDialog(PressOk([](TfrmPlugins& d) { Row(d, "b.plg")->SetChecked(false); }), ExpectRestartNotice);
  const std::string unticked = "Weg\\gone.plg\r\nsub\\a.plg\r\nalt.plg\r\nplain.plg\r\n";
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), unticked);

  // Held by another program at OK: the lines to keep cannot be read, so nothing is written.
  const std::string fileName = Settings.PluginsDir + "AllowedPlugins.ini";
  OpenDialog(
      [&](TfrmPlugins& d) {
        testsupport::HeldFile held(fileName);
        Row(d, "plain.plg")->SetChecked(false);
        d.btnOk->Click();
        EXPECT_EQ(d.ModalResult(), mrNone);
        return static_cast<int>(mrCancel);
      },
      [&] {
        testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
          EXPECT_EQ(q.caption, "Plugin-Verwaltung");
          EXPECT_EQ(q.text, "Die Datei \"" + fileName + "\" konnte nicht gespeichert werden.");
        });
      });
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), unticked);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(PluginDialogTest, AFailedWriteIsShownAndKeepsTheDialogOpen) {
  Settings.PluginsDir = folder.File("Gone\\");
  OpenDialog(
      [](TfrmPlugins& d) {
        d.btnOk->Click();
        EXPECT_EQ(d.ModalResult(), mrNone);
        return static_cast<int>(mrCancel);
      },
      [this] {
        testsupport::QueueAnswer(ModalAnswer{IDOK}, [this](const ModalQuestion& q) {
          EXPECT_TRUE(q.flags & MB_ICONERROR);
          EXPECT_NE(q.text.find(folder.File("Gone\\AllowedPlugins.ini")), std::string::npos) << q.text;
        });
      });
}

// An allow list another program held while the plug-ins loaded allowed nothing: OK must not
// write over the list what the program did not read at the start.
TEST_F(PluginDialogTest, OkAfterAnAllowListThatCouldNotBeReadLeavesItAsItWas) {
  const std::string list = Settings.PluginsDir + "AllowedPlugins.ini";
  const std::string allowed = folder.Read("Plugins\\AllowedPlugins.ini");
  FreePlugins();
  {
    testsupport::HeldFile held(list);
    testsupport::ExpectStoreUnreadable(list);
    LoadPlugins();
  }
  OpenDialog([&](TfrmPlugins& d) {
    for (int i = 0; i < d.lvPlugins->Count(); ++i)
      EXPECT_EQ(d.lvPlugins->Items(i)->Checked(), d.lvPlugins->Items(i)->SubItem(1) != "new.plg")
          << "the rows show the list as it reads now";
    return OkRefused(d, list);
  });
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), allowed);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

// Held while the dialog opens: the rows show only what is loaded, so the refused plug-in's
// line would leave at OK; the user is told, and OK writes nothing, even once the list is free.
TEST_F(PluginDialogTest, OkAfterAnAllowListHeldAsTheDialogOpenedLeavesItAsItWas) {
  const std::string list = Settings.PluginsDir + "AllowedPlugins.ini";
  const std::string allowed = folder.Read("Plugins\\AllowedPlugins.ini");
  testsupport::HeldFile held(list);
  testsupport::ExpectStoreUnreadable(list);
  OpenDialog([&](TfrmPlugins& d) {
    EXPECT_FALSE(Row(d, "refusing.plg")->Checked());
    EXPECT_TRUE(Row(d, "b.plg")->Checked());
    held.Release();
    return OkRefused(d, list);
  });
  EXPECT_EQ(folder.Read("Plugins\\AllowedPlugins.ini"), allowed);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(PluginDialogTest, WithoutPluginsTheListIsEmptyAndOkWritesAnEmptyList) {
  FreePlugins();
  Settings.PluginsDir = folder.File("Empty\\");
  CreateDirectoryA(Settings.PluginsDir.c_str(), nullptr);
  LoadPlugins();
  OpenDialog(
      [](TfrmPlugins& d) {
        EXPECT_EQ(d.lvPlugins->Count(), 0);
        EXPECT_EQ(d.lvPlugins->Selected(), nullptr);
        EXPECT_FALSE(d.btnConfig->Enabled());
        d.btnOk->Click();
        return d.ModalResult();
      },
      ExpectRestartNotice);
  EXPECT_EQ(folder.Read("Empty\\AllowedPlugins.ini"), "");
}
