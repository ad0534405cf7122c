// The two messages about a store the program could not read, whole, as the user reads them:
// queued as answers that check them.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "support/ModalAnswers.h"

namespace testsupport {

// The file is there but could not be read: said once, naming it.
inline void ExpectStoreUnreadable(const std::string& FileName) {
  QueueAnswer({IDOK}, [=](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei nicht lesbar");
    EXPECT_EQ(q.text, "Die Datei \"" + FileName + "\" ist vorhanden, konnte aber nicht gelesen "
                      "werden; vielleicht h\xE4lt ein anderes Programm sie ge\xF6" "ffnet.\r\n"
                      "Tarvoline \xFC" "berschreibt sie nicht, solange es ihren Inhalt nicht "
                      "gelesen hat. Bis dahin werden \xC4nderungen daran nicht gespeichert.");
    EXPECT_EQ(q.flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  });
}

// A save of that file was refused.
inline void ExpectStoreNotSaved(const std::string& FileName) {
  QueueAnswer({IDOK}, [=](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei speichern");
    EXPECT_EQ(q.text, "Die Datei \"" + FileName + "\" wurde nicht gespeichert, weil sie nicht "
                      "gelesen werden konnte; ihr bisheriger Inhalt bleibt unver\xE4ndert.");
    EXPECT_EQ(q.flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  });
}

}  // namespace testsupport
