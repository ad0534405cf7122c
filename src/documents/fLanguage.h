// Language texts: the loaded language file, the lookup with parameters and escapes, form fonts
// and texts, and the lists of available languages.
#pragma once
#include <string>
#include <vector>
#include "rtl/StringList.h"
#include "toolkit/ToolkitText.h"

class TComboBox;
class TComponent;
class TForm;

// The loaded lines of the language file (trimmed, comments removed), in file order. It exists
// for the whole run of the program.
extern TStringList LanguageTexts;

// The parameter list of a lookup without parameters: the one-character string of code 0.
extern const std::string LangNoParams;
// A parameter list: the values separated by the character of code 1.
std::string LangParams(const std::vector<std::string>& Values);

// The name of the built-in German texts in the language lists.
extern const char* const InternalLanguageName;

// Empties LanguageTexts, then reads the file; the number of lines kept, -1 when the file is
// missing or cannot be read (every lookup then gives its default).
int LoadLanguageFile(const std::string& FileName);

// The text for Key (case ignored; the first line wins; an empty text counts as missing),
// else Default. Params "%s1%", "%s2%"... are replaced by the fields of Params, then the
// escapes "%w%" (CR LF), "%r%", "%n%", "%t%", "%_%" (blank) and "$%$" ("%") are expanded.
// A file text used as a template must not refer to parameters the German default does not
// use; otherwise the default is taken.
std::string GetLangText(const std::string& Key, const std::string& Default,
                        const std::string& Params = LangNoParams);

// The texts of the toolkit's own messages (its lookup, SetTextLookup): from the language file,
// else in German.
std::string ToolkitText(TToolkitText Text, const std::vector<std::string>& Params);

// The Windows character-set identifier of a name ("ANSI", "GREEK", ...); 1 (DEFAULT) for others.
int CharsetFromName(const std::string& Name);

// The languages of a folder as the language menu and combo box list them: "Deutsch (intern)"
// first, then each "*.lng" file's name without ".lng" in the order the file system lists them.
// Checked is the entry equal to Settings.Language (case ignored), else 0.
struct TLanguageChoices {
  std::vector<std::string> Names;
  int Checked = 0;
};
TLanguageChoices ListLanguages(const std::string& Folder);

// Clears the combo box and fills it with ListLanguages, selecting the current language.
void FillLanguageComboBox(TComboBox& ComboBox, const std::string& Folder);

// The form font of every form: "Font|Name", "Font|Size", "Font|Charset".
void ApplyFormFont(TForm& Form);

// One text of a form: a caption or hint of a named control (empty name: the form's caption).
struct TFormText {
  enum TKind { Caption, Hint };
  TKind Kind;
  std::string Control;
  std::string Key;
  std::string Default;
};
// Sets each text from its key, with the German default. Raises Exception for a control name
// the form does not own (a programming error).
void ApplyFormTexts(TForm& Form, const std::vector<TFormText>& Texts);
