// The names of the toolkit's own messages, apart from Dialogs.h so that the language texts
// build without the window system (the native fuzz targets read language files).
#pragma once
#include <functional>
#include <string>
#include <vector>

// The toolkit's own messages. Their texts belong to the program's language, which hands them in
// through the lookup with the values of Params put in; without a lookup they are empty.
enum class TToolkitText {
  NameRefusedTitle,
  NameRefusedText,
  NamesNotShown,          // Params: how many names the box leaves out
  SearchTextRefusedTitle,
  SearchTextRefusedText,  // Params: the field's name
};
using TTextLookup =
    std::function<std::string(TToolkitText Text, const std::vector<std::string>& Params)>;
