// The toolkit's own texts as their names, for tests of the toolkit alone (the language layer
// gives the real ones): "NamesNotShown(5)" says which text a message used, with its values.
#pragma once
#include <string>
#include <vector>
#include "toolkit/Dialogs.h"

namespace testsupport {

// While it lives, the toolkit's messages show these names.
class TToolkitTextNames {
public:
  TToolkitTextNames() {
    SetTextLookup([](TToolkitText Text, const std::vector<std::string>& Params) {
      static const char* const names[] = {"NameRefusedTitle", "NameRefusedText", "NamesNotShown",
                                          "SearchTextRefusedTitle", "SearchTextRefusedText"};
      std::string text = names[static_cast<int>(Text)];
      if (Params.empty()) return text;
      for (size_t i = 0; i < Params.size(); ++i) text += (i ? "," : "(") + Params[i];
      return text + ")";
    });
  }
  ~TToolkitTextNames() { SetTextLookup(nullptr); }
  TToolkitTextNames(const TToolkitTextNames&) = delete;
  TToolkitTextNames& operator=(const TToolkitTextNames&) = delete;
};

}  // namespace testsupport
