// Templates: the store of text templates and its menu, and template files inserted into a
// new or the active document.
#pragma once
#include <memory>
#include <string>
#include "rtl/Classes.h"

class TTabSheet;
class TfraEdit;
class TXmlDoc;

// The text templates ("Templates.dat" of the settings folder), loaded at start.
extern std::unique_ptr<TXmlDoc> TemplatesDoc;
// Creates TemplatesDoc when missing and loads the file into it (a missing file leaves it
// empty). A file that is not well-formed is not read: it is renamed to "<name>.bak" (or
// ".bak2", ...), so that saving the store never writes its damage back or over it, and a
// message box names the backup. A file that cannot be read, or set aside, leaves the store
// empty and is kept from being written (StoreGuard).
void LoadTemplatesDoc(const std::string& FileName);
// The store as it is now (an empty one while there is none), for ReloadTemplatesDoc to keep.
std::unique_ptr<TXmlDoc> CopyTemplatesDoc();
// Reads the store again later in the run (Einstellungen > Abbrechen) into a new TemplatesDoc,
// as LoadTemplatesDoc does; but a file that cannot be read, or is not well-formed, stays where
// it is and leaves Held as the store, and the user is told so (StoreGuard).
void ReloadTemplatesDoc(const std::string& FileName, std::unique_ptr<TXmlDoc> Held);

// Inserts the template file, its placeholders filled in, into a new document (also whenever
// the text holds "%NEWDOC%") or the active one, as one undo step; the caret goes to the first
// "%CURSOR%". The tab page of the document created; nullptr otherwise (and when nothing was
// inserted: no such file, an empty one, a refused binary file, no writable document).
TTabSheet* NewFromTemplate(const std::string& FileName, bool NewDocument);

// Rebuilds the sub-items of the main window's text-template menu, sorted by caption; a zero a
// menu text holds shows as "?".
void BuildTemplatesMenu();
// What a click on one of those items runs, set by the main window; until then nothing.
extern TNotifyEvent TemplateItemClick;

// The template name a text-template menu caption names: the text after its last "[" without
// the final character; empty when there is no "[".
std::string TemplateNameOfCaption(const std::string& Caption);

// The text template named by the word before the frame's caret (the frame's template key): its
// variables filled in, in place of the word as one undo step. Nothing for an unknown word.
void InsertTextTemplate(TfraEdit& Frame);
