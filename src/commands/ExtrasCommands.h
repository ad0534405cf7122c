// The work behind the Extras and Help menus: executing the selection, external programs, the
// default program, the containing folder and the help file.
#pragma once
#include <string>

// Text with the file placeholders filled in from FileName, case ignored: "%1D" the folder
// without, "%1P" with the trailing backslash, "%1N" the name, "%1E" the extension without its
// dot, "%1T" the name without extension, "%1" the full name. Inserted text is never scanned
// again, so a file name holding "%1" stays as it is.
std::string ExpandFilePlaceholders(const std::string& Text, const std::string& FileName);

// What the shell is to open for a selected text: trimmed, one leading "<" and one trailing
// ">" removed, "mailto:" put in front of a bare e-mail address; empty for nothing.
std::string SelectionTarget(const std::string& Selection);
// Opens the active editor's selection with the shell; an error box when it cannot.
void ExecuteSelection();

// Starts the external program of Settings.AppList row Index for the active document, after
// the save questions where its arguments need the file. Nothing without a document or for
// a row out of range.
void RunExternalProgram(int Index);
// Opens the active document's file with its default program, after the save questions.
void OpenWithDefaultProgram();
// Shows the active document's file selected in its folder.
void OpenContainingFolder();
// Starts the help viewer with the help file beside the program; a box when the file is
// missing or the viewer does not start.
void ShowHelpFile();
// The maker's product page and mail address.
extern const char* const MakerHomePage;
extern const char* const MakerMailAddress;
// The maker's product page, and a mail to the maker whose subject names the program and its
// version; a box when the shell has no browser or mail program for them.
void OpenMakerHomePage();
void WriteMailToMaker();
// The mail address for the maker: "mailto:" + the address + "?subject=" + the subject, both
// percent-encoded.
std::string MakerMailTarget(const std::string& Address, const std::string& Subject);
