// The names of the toolkit's own messages, apart from Dialogs.h so that the language texts
// build without the window system (the native fuzz targets read language files).
#pragma once
#include <functional>
#include <string>
#include <vector>

// The toolkit's own messages. Their texts belong to the program's language, which hands them in
// through the lookup with the values of Params put in; without a lookup they are German, so
// that a box shown before the language is set up still says what it is about.
enum class TToolkitText {
  NameRefusedTitle,
  NameRefusedText,
  NamesNotShown,          // Params: how many names the box leaves out
  SearchTextRefusedTitle,
  SearchTextRefusedText,  // Params: the field's name
};
using TTextLookup =
    std::function<std::string(TToolkitText Text, const std::vector<std::string>& Params)>;

// The German text with the value of Params put in (the first; a text that takes none ignores
// them). With "%s1%" as the value it is the template a language file translates.
inline std::string ToolkitGermanText(TToolkitText Text, const std::vector<std::string>& Params) {
  const std::string value = Params.empty() ? std::string() : Params.front();
  switch (Text) {
    case TToolkitText::NameRefusedTitle:
      return "Ungeeigneter Name";
    case TToolkitText::NameRefusedText:
      return "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht kennt (hier "
             "als \"?\" gezeigt). Tarvoline \xF6" "ffnet, durchsucht, startet oder speichert "
             "unter ihnen nichts:";
    case TToolkitText::NamesNotShown:
      return "\x85 und " + value + " weitere";
    case TToolkitText::SearchTextRefusedTitle:
      return "Ungeeigneter Suchtext";
    case TToolkitText::SearchTextRefusedText:
      return "Der Text im Feld \"" + value + "\" enth\xE4lt Zeichen, die der Zeichensatz des "
             "Systems nicht kennt.\r\nEs wird nichts gesucht und nichts ersetzt.";
  }
  return {};
}
