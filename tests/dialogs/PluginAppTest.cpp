// The application interface as plug-ins call it: through the table, stdcall, wide strings in
// BSTR slots; driven both by a real plug-in and directly.
#include <gtest/gtest.h>
#include "PluginTestFixture.h"
#include <functional>
#include <utility>
#include "editor/CodeEdit.h"
#include "toolkit/ImageList.h"
#include "toolkit/StatusBar.h"

namespace {

using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

// Calls the interface the way a plug-in does.
class AppCaller {
public:
  AppCaller() : app_(CreateApp()) {}
  ~AppCaller() { ReleaseApp(app_); }
  template <class R, class... A>
  R Call(int Slot, A... Args) {
    return reinterpret_cast<R(__stdcall*)(IApp*, A...)>(app_->Table[Slot])(app_, Args...);
  }
  template <class... A>
  std::string Wide(int Slot, A... Args) {
    BSTR slot = SysAllocString(L"stale");  // the method must release what the slot held
    reinterpret_cast<void(__stdcall*)(BSTR*, IApp*, A...)>(app_->Table[Slot])(&slot, app_, Args...);
    std::string value = FromBstr(slot);
    SysFreeString(slot);
    return value;
  }
  int32_t WithText(int Slot, const std::string& Text, int32_t Index) {
    BSTR text = ToBstr(Text);
    int32_t result = Call<int32_t>(Slot, text, Index);
    SysFreeString(text);
    return result;
  }
  IApp* App() const { return app_; }

private:
  IApp* app_;
};

enum Slot {
  QueryInterface = 0, AddRef = 1, Release = 2, GetHandle = 4, GetMainForm = 5, GetLanguage = 6,
  GetDocFileName = 7, GetDocTitle = 8, GetDocModified = 9, GetDocReadOnly = 10,
  GetDocFileNames = 11, GetDocTitles = 12, GetDocCount = 13, GetActiveDoc = 14, GetDocText = 15,
  GetDocTextLength = 16, SetDocText = 17, GetSelText = 18, GetSelLength = 19, SetSelText = 20,
  NewDoc = 22, SelectAll = 23, AddMenuItem = 24, SaveDoc = 25, GetSettingsDir = 26
};

class PluginAppTest : public PluginWindowTest {};

}  // namespace

TEST_F(PluginAppTest, APluginDrivesTheProgramThroughItsInterface) {
  Install("full", "full.plg");
  Allow("full.plg");
  SetPluginVariable("TVP_SUBMENU_full", "Drive|Nothing|Add");
  LoadPlugins();
  ASSERT_NE(Open(""), nullptr);
  ClearCalls();
  TMenuItem* top = PluginsMenu()->Items(0);
  top->Items(0)->Click();
  EXPECT_EQ(CallsOf("full"),
            (Lines{"MenuItem(0)", "GetDocTitle(-1)=Unbenannt1", "GetDocCount=1 GetActiveDoc=0",
                   "GetDocModified(5)=1 GetDocReadOnly(5)=0", "GetDocText(7)=[0]", "NewDoc=1",
                   "SelectAll=1", "GetSelText=Hallo GetSelLength=5", "SetDocText=1",
                   "GetDocText(-1)=Welt\\r\\n GetDocTextLength(-1)=6",
                   "GetDocTitles=Unbenannt1\\r\\nNeu", "GetHandle(0)=1 GetHandle(2)=0",
                   "AddMenuItem(bogus)=0", "MenuClicked(0,0,1,1)"}));
  ASSERT_EQ(TabCount(), 2);
  TfraEdit* made = GetFrame(1);
  EXPECT_EQ(made->DocInfo.Title, "Neu");
  EXPECT_EQ(frmMain->pcEdit->Pages(1)->Caption(), "Neu");
  EXPECT_TRUE(made->DocInfo.Modified);
  made->seEdit->Undo();
  EXPECT_EQ(made->seEdit->Text(), "Hallo") << "the whole text was replaced in one step";

  // The item handed over by the click before comes back as parent and source of a new item.
  top->Items(2)->Click();
  Lines calls = CallsOf("full");
  EXPECT_EQ(Lines(calls.end() - 3, calls.end()),
            (Lines{"MenuItem(2)", "AddMenuItem=1", "MenuClicked(2,2,1,1)"}));
  TMenuItem* drive = top->Items(0);
  ASSERT_EQ(drive->Count(), 1);
  TMenuItem* added = drive->Items(0);
  EXPECT_EQ(added->Caption(), "Drive");
  EXPECT_EQ(added->Tag(), 0);
  EXPECT_TRUE(added->OnClick);
}

TEST_F(PluginAppTest, AddMenuItemCopiesEveryPropertyOfTheSourceItem) {
  LoadPlugins();
  ASSERT_NE(PluginManager, nullptr);
  TImageList images(nullptr);
  TMenuItem parent(nullptr), source(nullptr);
  source.SetCaption("&Z\xE4hlen");
  source.SetRadioItem(true);
  source.SetGroupIndex(2);
  source.SetChecked(true);
  source.SetEnabled(false);
  source.SetVisible(false);
  source.SetDefault(true);
  source.SetShortCut(ShortCut('Z', TShiftState{TShift::ssCtrl, TShift::ssAlt}));
  source.SetImageIndex(5);
  TBitmap bitmap;
  bitmap.SetHandle(CreateBitmap(16, 12, 1, 32, nullptr));
  source.SetBitmap(bitmap);
  source.SetBreak(TMenuBreak::mbBarBreak);
  source.SetSubMenuImages(&images);
  source.SetAutoHotkeys(TMenuAutoFlag::maAutomatic);
  source.SetAutoLineReduction(TMenuAutoFlag::maManual);
  source.SetHelpContext(4711);
  source.SetHint("Z\xE4hlt die W\xF6rter");
  source.SetTag(3);
  source.SetAutoCheck(true);
  PluginManager->RegisterMenuItem(&parent);
  PluginManager->RegisterMenuItem(&source);
  AppCaller app;
  auto* added = static_cast<TMenuItem*>(app.Call<void*, void*, void*>(AddMenuItem, &parent, &source));
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Parent(), &parent);

  using Read = std::function<std::string(const TMenuItem&)>;
  auto number = [](auto Get) -> Read { return [Get](const TMenuItem& m) { return std::to_string(static_cast<long long>(Get(m))); }; };
  const std::vector<std::pair<const char*, Read>> properties = {
      {"caption", [](const TMenuItem& m) { return m.Caption(); }},
      {"checked", number([](const TMenuItem& m) { return m.Checked(); })},
      {"enabled", number([](const TMenuItem& m) { return m.Enabled(); })},
      {"visible", number([](const TMenuItem& m) { return m.Visible(); })},
      {"default", number([](const TMenuItem& m) { return m.Default(); })},
      {"radio item", number([](const TMenuItem& m) { return m.RadioItem(); })},
      {"group index", number([](const TMenuItem& m) { return m.GroupIndex(); })},
      {"shortcut", number([](const TMenuItem& m) { return m.ShortCut(); })},
      {"image index", number([](const TMenuItem& m) { return m.ImageIndex(); })},
      {"bitmap", [](const TMenuItem& m) {
         return std::to_string(m.Bitmap().Width()) + "x" + std::to_string(m.Bitmap().Height());
       }},
      {"break", number([](const TMenuItem& m) { return static_cast<int>(m.Break()); })},
      {"sub-menu images", number([](const TMenuItem& m) { return reinterpret_cast<intptr_t>(m.SubMenuImages()); })},
      {"automatic hot keys", number([](const TMenuItem& m) { return static_cast<int>(m.AutoHotkeys()); })},
      {"line reduction", number([](const TMenuItem& m) { return static_cast<int>(m.AutoLineReduction()); })},
      {"help context", number([](const TMenuItem& m) { return m.HelpContext(); })},
      {"hint", [](const TMenuItem& m) { return m.Hint(); }},
      {"tag", number([](const TMenuItem& m) { return m.Tag(); })},
      {"automatic check", number([](const TMenuItem& m) { return m.AutoCheck(); })},
  };
  const TMenuItem fresh(nullptr);
  for (const auto& [name, read] : properties) {
    EXPECT_NE(read(source), read(fresh)) << name << ": the source must differ from a new item";
    EXPECT_EQ(read(*added), read(source)) << name;
  }
  EXPECT_NE(added->Bitmap().Handle(), source.Bitmap().Handle()) << "a copy of the picture";
}

TEST_F(PluginAppTest, DocumentMethodsGiveEmptyValuesForMissingDocuments) {
  AppCaller app;
  // No documents at all, and no main window either: nothing fails.
  for (bool window : {true, false}) {
    SCOPED_TRACE(window);
    TMainWindowParts* main = frmMain;
    if (!window) frmMain = nullptr;
    EXPECT_EQ(app.Wide(GetDocText, -1), "");
    EXPECT_EQ(app.Wide(GetDocTitle, 0), "");
    EXPECT_EQ(app.Wide(GetSelText), "");
    EXPECT_EQ(app.Wide(GetDocFileNames), "");
    EXPECT_EQ(app.Call<int32_t>(GetDocModified, -1) & 0xFF, 1);
    EXPECT_EQ(app.Call<int32_t>(GetDocReadOnly, -1) & 0xFF, 0);
    EXPECT_EQ(app.Call<int32_t>(GetDocCount), 0);
    EXPECT_EQ(app.Call<int32_t>(GetActiveDoc), -1);
    EXPECT_EQ(app.Call<int32_t>(GetDocTextLength, -1), 0);
    EXPECT_EQ(app.WithText(SetDocText, "x", -1), 0);
    EXPECT_EQ(app.Call<int32_t>(GetSelLength), 0);
    EXPECT_EQ(app.Call<int32_t>(SelectAll), 0);
    EXPECT_EQ(app.Call<int32_t>(SaveDoc, -1) & 0xFF, 0);
    EXPECT_EQ((app.Call<void*, void*, void*>(AddMenuItem, nullptr, nullptr)), nullptr);
    EXPECT_EQ(app.Call<int32_t>(GetHandle, 0) != 0, window);
    frmMain = main;
  }
  EXPECT_EQ(app.Call<void*>(GetMainForm), static_cast<void*>(frmMain));
  Settings.Language = "Deutsch";
  EXPECT_EQ(app.Wide(GetLanguage), "Deutsch");
  EXPECT_EQ(app.Wide(GetSettingsDir), Settings.SettingsDir);
}

TEST_F(PluginAppTest, DocumentIndicesCountTabsFromZeroAndMinusOneIsTheActiveTab) {
  AppCaller app;
  folder.Write("a.txt", "eins\r\n");
  ASSERT_NE(Open(folder.File("a.txt")), nullptr);
  ASSERT_NE(Open(""), nullptr);
  ASSERT_NE(Open(""), nullptr);
  frmMain->pcEdit->SetActivePageIndex(1);
  EXPECT_EQ(app.Call<int32_t>(GetDocCount), 3);
  EXPECT_EQ(app.Call<int32_t>(GetActiveDoc), 1);
  EXPECT_EQ(app.Wide(GetDocFileName, 0), folder.File("a.txt"));
  EXPECT_EQ(app.Wide(GetDocFileName, -1), "") << "untitled";
  // The file's closing break gives the editor an empty last line, which gets its break too.
  EXPECT_EQ(app.Wide(GetDocText, 0), "eins\r\n\r\n");
  EXPECT_EQ(app.Call<int32_t>(GetDocTextLength, 0), 8);
  EXPECT_EQ(app.Call<int32_t>(GetDocModified, 5) & 0xFF, 1) << "past the last tab";
  EXPECT_EQ(app.Call<int32_t>(GetDocModified, -2) & 0xFF, 1) << "below -1";
  EXPECT_EQ(app.Call<int32_t>(GetDocModified, 0) & 0xFF, 0);
  EXPECT_EQ(app.Wide(GetDocFileNames), folder.File("a.txt")) << "blank names trimmed at the end";
  EXPECT_EQ(app.Wide(GetDocTitles), "a.txt\r\n" + GetFrame(1)->DocInfo.Title + "\r\n" +
                                        GetFrame(2)->DocInfo.Title);
}

// The new document's text is put in after its tab shows: the status bar follows the text.
TEST_F(PluginAppTest, NewDocShowsItsTextInTheStatusBar) {
  AppCaller app;
  BSTR title = ToBstr("Neu");
  BSTR text = ToBstr("zwei\r\nZeilen");
  EXPECT_EQ(app.Call<int32_t>(NewDoc, title, text), 0);
  SysFreeString(title);
  SysFreeString(text);
  EXPECT_EQ(frmMain->StatusBar->PanelText(2), "12 Byte");
  EXPECT_EQ(frmMain->StatusBar->PanelText(1), "INS");
  EXPECT_EQ(frmMain->StatusBar->PanelText(0), "Ze 1, Sp 1, Pos 1 (Mark 0)");
}

TEST_F(PluginAppTest, TextChangesRespectReadOnlyAndGetSelTextChangesNothing) {
  AppCaller app;
  TfraEdit* frame = Open("");
  ASSERT_NE(frame, nullptr);
  frame->seEdit->SetText("alt");
  frame->DocInfo.Modified = false;
  frame->seEdit->SelectAll();
  EXPECT_EQ(app.Wide(GetSelText), "alt");
  EXPECT_FALSE(frame->DocInfo.Modified) << "reading the selection is no change";

  frame->seEdit->SetReadOnly(true);
  EXPECT_EQ(app.Call<int32_t>(GetDocReadOnly, -1) & 0xFF, 1);
  EXPECT_EQ(app.WithText(SetDocText, "neu", 0), 0);
  BSTR text = ToBstr("neu");
  EXPECT_EQ(app.Call<int32_t>(SetSelText, text), 0);
  EXPECT_EQ(frame->seEdit->Text(), "alt");
  EXPECT_FALSE(frame->DocInfo.Modified);

  frame->seEdit->SetReadOnly(false);
  EXPECT_EQ(app.Call<int32_t>(SetSelText, text), 1);
  SysFreeString(text);
  EXPECT_EQ(frame->seEdit->Text(), "neu");
  EXPECT_TRUE(frame->DocInfo.Modified);
  frame->seEdit->Undo();
  EXPECT_EQ(frame->seEdit->Text(), "alt");

  // What the code page lacks arrives as "?", as a paste in the editor does, never as a look-alike.
  frame->seEdit->SelectAll();
  BSTR greek = SysAllocString(L"\u03A9mega");
  EXPECT_EQ(app.Call<int32_t>(SetSelText, greek), 1);
  SysFreeString(greek);
  EXPECT_EQ(frame->seEdit->Text(), "?mega");
}

TEST_F(PluginAppTest, AFailureInsideACallFromAPluginIsShownAndTheCallAnswersItsFallback) {
  AppCaller app;
  TfraEdit* frame = Open("");
  frame->seEdit->SetText("ungespeichert");
  frame->DocInfo.Modified = true;
  // The save dialog of an untitled document fails.
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion&) {
    throw Exception("Speichern gescheitert");
  });
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Speichern gescheitert");
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
  EXPECT_EQ(app.Call<int32_t>(SaveDoc, -1) & 0xFF, 0);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_EQ(app.Wide(GetDocText, -1), "ungespeichert\r\n") << "the program goes on";
}

TEST_F(PluginAppTest, CountedReferencesKeepTheObjectAndQueryKnowsTwoInterfaces) {
  IApp* app = CreateApp();
  const int live = LiveAppCount();
  auto call = [app](int Slot) { return reinterpret_cast<ULONG(__stdcall*)(IApp*)>(app->Table[Slot])(app); };
  EXPECT_EQ(call(AddRef), 2u);
  void* asked = nullptr;
  auto query = reinterpret_cast<HRESULT(__stdcall*)(IApp*, REFIID, void**)>(app->Table[QueryInterface]);
  EXPECT_EQ(query(app, IID_IApp, &asked), S_OK);
  EXPECT_EQ(asked, app);
  EXPECT_EQ(query(app, IID_IUnknown, &asked), S_OK);
  EXPECT_EQ(query(app, IID_IDispatch, &asked), E_NOINTERFACE);
  EXPECT_EQ(asked, nullptr);
  EXPECT_EQ(call(Release), 3u);
  EXPECT_EQ(call(Release), 2u);
  EXPECT_EQ(call(Release), 1u);
  ReleaseApp(app);  // the program's own reference was the last
  EXPECT_EQ(LiveAppCount(), live - 1);
}
