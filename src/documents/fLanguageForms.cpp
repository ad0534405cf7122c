#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"

namespace {
TWinControl& NamedControl(TForm& Form, const std::string& Name) {
  if (Name.empty()) return Form;
  auto* control = dynamic_cast<TWinControl*>(Form.FindComponent(Name));
  if (!control) throw Exception("Form has no control named " + Name);
  return *control;
}
}  // namespace

TLanguageChoices ListLanguages(const std::string& Folder) {
  TLanguageChoices choices;
  choices.Names.push_back(InternalLanguageName);
  TStringList files;
  ListFiles(AddBackslash(Folder), "*.lng", files);
  for (int i = 0; i < files.Count(); ++i) {
    std::string name = ExtractFileName(files[i]);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    if (AnsiSameText(name, Settings.Language)) choices.Checked = static_cast<int>(choices.Names.size());
    choices.Names.push_back(name);
  }
  return choices;
}

void FillLanguageComboBox(TComboBox& ComboBox, const std::string& Folder) {
  TLanguageChoices choices = ListLanguages(Folder);
  ComboBox.Clear();
  for (const std::string& name : choices.Names) ComboBox.AddItem(name);
  ComboBox.SetItemIndex(choices.Checked);
}

void ApplyFormFont(TForm& Form) {
  Form.Font().SetName(GetLangText("Font|Name", "Tahoma"));
  Form.Font().SetSize(StrToIntDef(GetLangText("Font|Size", "8"), 8));
  Form.Font().SetCharset(CharsetFromName(GetLangText("Font|Charset", "DEFAULT")));
}

void ApplyFormTexts(TForm& Form, const std::vector<TFormText>& Texts) {
  for (const TFormText& t : Texts) {
    TWinControl& control = NamedControl(Form, t.Control);
    std::string text = GetLangText(t.Key, t.Default);
    if (t.Kind == TFormText::Caption) control.SetCaption(text);
    else control.SetHint(text);
  }
}
