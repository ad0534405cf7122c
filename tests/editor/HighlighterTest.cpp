#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "editor/TestCommentHighlighter.h"
#include "rtl/Exception.h"
#include "rtl/Registry.h"
#include "support/HighlighterContract.h"

namespace {

const TFontStyles kBold{TFontStyle::fsBold};

// Records the senders of the highlighter's attribute-change notifications.
struct ChangeRecorder {
  std::vector<TObject*> senders;
  void Changed(TObject* Sender) { senders.push_back(Sender); }
  TCodeNotifyMethod Hook() { return TCodeNotifyMethod(this, &ChangeRecorder::Changed); }
};

// A highlighter class derived from the test highlighter, for Assign's class rule.
class TCodeDerivedTestHighlighter : public TCodeTestHighlighter {
public:
  using TCodeTestHighlighter::TCodeTestHighlighter;
  static const TCodeHighlighterClass& StaticClass() {
    static const TCodeHighlighterClass info{"TCodeDerivedTestHighlighter",
                                            &TCodeTestHighlighter::StaticClass(),
                                            &TCodeTestHighlighter::GetLanguageName,
                                            &TCodeTestHighlighter::GetCapabilities};
    return info;
  }
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }
};

// Another class with one attribute name in common with the test highlighter.
class TCodeOtherHighlighter : public TCodeTestHighlighter {
public:
  explicit TCodeOtherHighlighter(TComponent* Owner) : TCodeTestHighlighter(Owner) {
    AddAttribute(std::make_unique<TCodeHighlighterAttributes>("Other"));
  }
  static const TCodeHighlighterClass& StaticClass() {
    static const TCodeHighlighterClass info{"TCodeOtherHighlighter",
                                            &TCodeCustomHighlighter::StaticClass(),
                                            &TCodeTestHighlighter::GetLanguageName,
                                            &TCodeTestHighlighter::GetCapabilities};
    return info;
  }
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }
};

// ---------------------------------------------------------------------------------------------

TEST(HighlighterAttributes, StartWithoutColoursOrStyleAndAreNotStored) {
  TCodeHighlighterAttributes attr("Comment");
  EXPECT_EQ(attr.Name(), "Comment");
  EXPECT_EQ(attr.Background(), clNone);
  EXPECT_EQ(attr.Foreground(), clNone);
  EXPECT_TRUE(attr.Style().Empty());
  EXPECT_FALSE(attr.IsBackgroundStored());
  EXPECT_FALSE(attr.IsForegroundStored());
  EXPECT_FALSE(attr.IsStyleStored());
}

TEST(HighlighterAttributes, AreStoredOnlyWhenChangedAfterTheDefaultsWereTaken) {
  TCodeTestHighlighter h(nullptr);
  TCodeHighlighterAttributes* comment = h.CommentAttri();
  EXPECT_EQ(comment->Foreground(), clGreen);
  EXPECT_FALSE(comment->IsForegroundStored());  // the constructor's colour is the default
  comment->SetForeground(clRed);
  EXPECT_TRUE(comment->IsForegroundStored());
  EXPECT_FALSE(comment->IsBackgroundStored());
  comment->SetForeground(clGreen);
  EXPECT_FALSE(comment->IsForegroundStored());
  h.KeyAttri()->SetStyle({});
  EXPECT_TRUE(h.KeyAttri()->IsStyleStored());
}

TEST(HighlighterAttributes, FireOnChangeOnlyForEffectiveChanges) {
  TCodeHighlighterAttributes attr("Key");
  std::vector<TObject*> senders;
  attr.OnChange = [&](TObject* Sender) { senders.push_back(Sender); };
  attr.SetBackground(clNone);
  attr.SetForeground(clNone);
  attr.SetStyle({});
  EXPECT_TRUE(senders.empty());
  attr.SetBackground(clYellow);
  attr.SetBackground(clYellow);
  attr.SetStyle(kBold);
  EXPECT_EQ(senders, (std::vector<TObject*>{&attr, &attr}));
}

TEST(HighlighterAttributes, CombinedCopyFiresOnceAndOnlyOnAChange) {
  TCodeHighlighterAttributes source("Source");
  source.SetBackground(clBlue);
  source.SetForeground(clWhite);
  source.SetStyle({TFontStyle::fsItalic, TFontStyle::fsUnderline});
  TCodeHighlighterAttributes target("Target");
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  target.AssignColorAndStyle(source);
  EXPECT_EQ(changes, 1);
  target.AssignColorAndStyle(source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(target.Name(), "Target");
  target.Assign(source);
  EXPECT_EQ(target.Name(), "Source");
  EXPECT_EQ(target.Background(), clBlue);
  EXPECT_EQ(target.Foreground(), clWhite);
  EXPECT_EQ(target.Style(), source.Style());
}

TEST(HighlighterAttributes, IntegerStyleAddsOneFlagPerStyle) {
  TCodeHighlighterAttributes attr("A");
  attr.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
  EXPECT_EQ(attr.IntegerStyle(), 5);
  attr.SetIntegerStyle(2 + 8);
  EXPECT_EQ(attr.Style(), (TFontStyles{TFontStyle::fsItalic, TFontStyle::fsStrikeOut}));
  attr.SetIntegerStyle(15);
  EXPECT_EQ(attr.IntegerStyle(), 15);
}

// ---------------------------------------------------------------------------------------------

TEST(CustomHighlighter, StartsEnabledWithTheDefaultCharacterSets) {
  TCodeTestHighlighter h(nullptr);
  EXPECT_TRUE(h.Enabled());
  EXPECT_EQ(h.WordBreakChars(), CodeCharSet("!\"'()*+,-./:;=?[\\]^{|}"));
  TCodeCharSet ident = h.GetIdentifierChars();
  EXPECT_FALSE(ident[32]);
  EXPECT_TRUE(ident[33]);
  EXPECT_TRUE(ident[255]);
  EXPECT_EQ(ident.count(), 223u);
  EXPECT_EQ(TCodeCustomHighlighter::GetLanguageName(), "<Unknown>");
  EXPECT_EQ(TCodeCustomHighlighter::GetCapabilities(),
            TCodeHighlighterCapabilities{TCodeHighlighterCapability::hcRegistry});
  EXPECT_EQ(h.LanguageName(), "Test");
  EXPECT_EQ(h.ClassName(), "TCodeTestHighlighter");
}

TEST(CustomHighlighter, ListsAttributesByNameAndGivesNoneOutsideTheList) {
  TCodeTestHighlighter h(nullptr);
  ASSERT_EQ(h.GetAttributeCount(), 5);
  EXPECT_EQ(h.GetAttribute(0)->Name(), "Comment");
  EXPECT_EQ(h.GetAttribute(2)->Name(), "Reserved Word");
  EXPECT_EQ(h.GetAttribute(4)->Name(), "Symbol");
  EXPECT_EQ(h.GetAttribute(-1), nullptr);
  EXPECT_EQ(h.GetAttribute(5), nullptr);
}

TEST(CustomHighlighter, RejectsASecondAttributeOfTheSameName) {
  TCodeTestHighlighter h(nullptr);
  EXPECT_THROW(h.AddAttribute(std::make_unique<TCodeHighlighterAttributes>("Space")),
               EStringListError);
  EXPECT_EQ(h.GetAttributeCount(), 5);
}

TEST(CustomHighlighter, ReportsAttributeChangesToItsHooksWithTheAttribute) {
  TCodeTestHighlighter h(nullptr);
  ChangeRecorder a, b;
  h.AddAttributeChangeHook(a.Hook());
  h.AddAttributeChangeHook(b.Hook());
  h.SpaceAttri()->SetBackground(clSilver);
  EXPECT_EQ(a.senders, std::vector<TObject*>{h.SpaceAttri()});
  EXPECT_EQ(b.senders, std::vector<TObject*>{h.SpaceAttri()});
  h.RemoveAttributeChangeHook(a.Hook());
  h.SpaceAttri()->SetBackground(clWhite);
  EXPECT_EQ(a.senders.size(), 1u);
  EXPECT_EQ(b.senders.size(), 2u);
}

TEST(CustomHighlighter, ReportsChangesDuringAnUpdateOnceAtItsEnd) {
  TCodeTestHighlighter h(nullptr);
  ChangeRecorder r;
  h.AddAttributeChangeHook(r.Hook());
  h.BeginUpdate();
  h.BeginUpdate();
  h.CommentAttri()->SetForeground(clRed);
  h.KeyAttri()->SetForeground(clBlue);
  h.EndUpdate();
  EXPECT_TRUE(r.senders.empty());
  h.EndUpdate();
  EXPECT_EQ(r.senders, std::vector<TObject*>{nullptr});
  h.BeginUpdate();
  h.EndUpdate();  // nothing changed
  EXPECT_EQ(r.senders.size(), 1u);
}

TEST(CustomHighlighter, StaysQuietWhileLoadingAndReportsOnceWhenLoaded) {
  TCodeTestHighlighter h(nullptr);
  ChangeRecorder r;
  h.AddAttributeChangeHook(r.Hook());
  h.BeginLoading();
  h.CommentAttri()->SetForeground(clRed);
  h.SetEnabled(false);
  EXPECT_TRUE(r.senders.empty());
  h.Loaded();
  EXPECT_FALSE(h.IsLoading());
  EXPECT_EQ(r.senders, std::vector<TObject*>{nullptr});
}

TEST(CustomHighlighter, ReportsAChangeOfEnabledWithoutSender) {
  TCodeTestHighlighter h(nullptr);
  ChangeRecorder r;
  h.AddAttributeChangeHook(r.Hook());
  h.SetEnabled(true);
  EXPECT_TRUE(r.senders.empty());
  h.SetEnabled(false);
  EXPECT_FALSE(h.Enabled());
  EXPECT_EQ(r.senders, std::vector<TObject*>{nullptr});
}

TEST(CustomHighlighter, SkipToLineEndLeavesTheStateOfTheLineEnd) {
  TCodeTestHighlighter h(nullptr);
  h.ResetRange();
  h.SetLine("a /* b", 0);
  h.SkipToLineEnd();
  EXPECT_TRUE(h.AtLineEnd());
  EXPECT_EQ(h.GetRange(), TCodeTestHighlighter::rsComment);
}

TEST(CustomHighlighter, AssignFromAnotherClassCopiesColoursByNameButNotTheSampleText) {
  TCodeOtherHighlighter source(nullptr);
  source.CommentAttri()->SetForeground(clMaroon);
  source.SpaceAttri()->SetStyle({TFontStyle::fsItalic});
  source.SetSampleText("from the other class");
  source.SetDefaultFilter("Other (*.oth)|*.oth");
  source.SetWordBreakChars(CodeCharSet(",;"));
  source.SetEnabled(false);
  TCodeTestHighlighter target(nullptr);
  target.SetSampleText("own sample");
  target.Assign(source);
  EXPECT_EQ(target.CommentAttri()->Foreground(), clMaroon);
  EXPECT_EQ(target.SpaceAttri()->Style(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(target.GetSampleText(), "own sample");
  EXPECT_EQ(target.GetDefaultFilter(), "Other (*.oth)|*.oth");
  EXPECT_EQ(target.WordBreakChars(), CodeCharSet(",;"));
  EXPECT_FALSE(target.Enabled());
}

TEST(CustomHighlighter, AssignFromTheSameOrADerivedClassCopiesTheSampleText) {
  TCodeDerivedTestHighlighter derived(nullptr);
  derived.SetSampleText("derived");
  TCodeTestHighlighter target(nullptr);
  target.Assign(derived);
  EXPECT_EQ(target.GetSampleText(), "derived");
  // A base-class source is not of the derived class.
  TCodeTestHighlighter base(nullptr);
  base.SetSampleText("base");
  derived.Assign(base);
  EXPECT_EQ(derived.GetSampleText(), "derived");
}

TEST(CustomHighlighter, RegistersEachClassOnce) {
  EXPECT_TRUE(RegisterHighlighterClass(TCodeDerivedTestHighlighter::StaticClass()));
  EXPECT_FALSE(RegisterHighlighterClass(TCodeDerivedTestHighlighter::StaticClass()));
}

TEST(CustomHighlighter, BaseOperationsHaveNoLanguageBehaviour) {
  TCodeTestHighlighter h(nullptr);
  TStringList settings;
  settings.Add("left over");
  h.EnumUserSettings(settings);
  EXPECT_EQ(settings.Count(), 0);
  EXPECT_FALSE(h.UseUserSettings(0));
  EXPECT_TRUE(h.IsDefaultFilterStored());
}

// ---------------------------------------------------------------------------------------------

TEST(HighlighterContract, HoldsForTheTestHighlighter) {
  TCodeTestHighlighter h(nullptr);
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"begin x := 1; /* a comment", "", "still * / comment */ end", "/**/ /*", "\t*/x"}));
}

TEST(HighlighterContract, CatchesAHighlighterWithStateOutsideItsRange) {
  // Counts lines itself instead of carrying the comment in its range.
  class TLeaky : public TCodeTestHighlighter {
  public:
    using TCodeTestHighlighter::TCodeTestHighlighter;
    TCodeHighlighterRange GetRange() const override { return 0; }
  };
  TLeaky h(nullptr);
  EXPECT_FALSE(testsupport::MeetsHighlighterContract(h, {"a /* b", "c */ d"}));
}

TEST(HighlighterContract, CatchesAHighlighterThatKeepsItsStateOverAReset) {
  class TSticky : public TCodeTestHighlighter {
  public:
    using TCodeTestHighlighter::TCodeTestHighlighter;
    void ResetRange() override {}
  };
  TSticky h(nullptr);
  EXPECT_FALSE(testsupport::MeetsHighlighterContract(h, {"a b", "c"}))
      << "no line of the text leaves the plain state, yet a reset from another state must";
}

// ---------------------------------------------------------------------------------------------

// A registry key of its own below HKEY_CURRENT_USER, removed again at the end.
class HighlighterRegistry : public ::testing::Test {
protected:
  const std::string key = "Software\\TarvolineTests\\Highlighter";
  void TearDown() override {
    TRegistry reg;
    reg.DeleteKey("Software\\TarvolineTests");
  }
};

TEST_F(HighlighterRegistry, SavedAttributesLoadIntoAnotherHighlighter) {
  TCodeTestHighlighter saved(nullptr);
  saved.CommentAttri()->SetBackground(clYellow);
  saved.KeyAttri()->SetStyle({TFontStyle::fsItalic, TFontStyle::fsStrikeOut});
  ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, key));

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(key + "\\Reserved Word"));
  int style = 0;
  EXPECT_TRUE(reg.ReadInteger("Style", style));
  EXPECT_EQ(style, 2 + 8);

  TCodeTestHighlighter loaded(nullptr);
  EXPECT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key));
  EXPECT_EQ(loaded.CommentAttri()->Background(), clYellow);
  EXPECT_EQ(loaded.CommentAttri()->Foreground(), clGreen);
  EXPECT_EQ(loaded.KeyAttri()->Style(), saved.KeyAttri()->Style());
}

TEST_F(HighlighterRegistry, KeyGivenFromTheRootReachesEveryAttribute) {
  TCodeTestHighlighter saved(nullptr);
  saved.SymbolAttri()->SetForeground(clTeal);  // the last attribute, after four reopenings
  ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, "\\" + key));
  TCodeTestHighlighter loaded(nullptr);
  EXPECT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, "\\" + key));
  EXPECT_EQ(loaded.SymbolAttri()->Foreground(), clTeal);
}

TEST_F(HighlighterRegistry, MissingValuesAndKeysLeaveAttributesAndFailTheLoad) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key + "\\Comment", true));
  ASSERT_TRUE(reg.WriteInteger("Foreground", clNavy));
  reg.CloseKey();
  TCodeTestHighlighter h(nullptr);
  h.CommentAttri()->SetStyle(kBold);
  EXPECT_FALSE(h.LoadFromRegistry(HKEY_CURRENT_USER, key));  // four sub-keys are missing
  EXPECT_EQ(h.CommentAttri()->Foreground(), clNavy);
  EXPECT_EQ(h.CommentAttri()->Background(), clNone);
  EXPECT_EQ(h.CommentAttri()->Style(), kBold);
  EXPECT_FALSE(h.LoadFromRegistry(HKEY_CURRENT_USER, key + "\\Missing"));
}

TEST_F(HighlighterRegistry, LegacyNewLayoutPrefersNewColoursAndReadsFlagsAsText) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key + "\\Comment", true));
  reg.WriteString("Foreground Color", "4");
  reg.WriteString("Foreground Color New", "255");
  reg.WriteString("Background Color", "14");
  reg.WriteString("Bold", "True");
  reg.WriteString("Italic", "false");
  reg.WriteString("Underline", "0");
  reg.WriteString("Default Foreground", "FALSE");
  reg.WriteString("Default Background", "0");
  reg.CloseKey();
  TCodeHighlighterAttributes attr("Comment");
  attr.SetStyle({TFontStyle::fsItalic});
  int changes = 0;
  attr.OnChange = [&](TObject*) { ++changes; };
  EXPECT_TRUE(attr.LoadFromLegacyRegistry(HKEY_CURRENT_USER, key, "Comment", false));
  EXPECT_EQ(attr.Foreground(), clRed);
  EXPECT_EQ(attr.Background(), clAqua);
  EXPECT_EQ(attr.Style(), kBold);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(attr.LoadFromLegacyRegistry(HKEY_CURRENT_USER, key, "Missing", false));
}

TEST_F(HighlighterRegistry, LegacyOldLayoutReadsOneValueList) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteString("Comment", "2,15,0,1,1,0,1");
  reg.CloseKey();
  TCodeHighlighterAttributes attr("Comment");
  attr.SetBackground(clRed);
  EXPECT_TRUE(attr.LoadFromLegacyRegistry(HKEY_CURRENT_USER, key, "Comment", true));
  EXPECT_EQ(attr.Foreground(), clGreen);
  EXPECT_EQ(attr.Background(), clNone);  // default background
  EXPECT_EQ(attr.Style(), (TFontStyles{TFontStyle::fsItalic, TFontStyle::fsUnderline}));
}

}  // namespace
