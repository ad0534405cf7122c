// The Format menu's text conversions: each takes the selected text and gives its replacement.
#pragma once
#include <optional>
#include <string>

// Each character above 127 becomes its named (or numeric) entity from SpecialCharsTable; a
// character the table gives no entity for stays, and so do codes 0 to 127.
std::string SpecialCharsToEntities(const std::string& Text, bool Numeric);
// Tags ("<" up to ">") removed without regard to quotes, comments or scripts, then entities
// decoded: those of the table and "&lt;", "&gt;", "&amp;", "&quot;".
std::string HtmlToText(const std::string& Text);
// "&", the quotation mark, "<" and ">" as entities; nothing else changes.
std::string HtmlEncode(const std::string& Text);
// "&lt;", "&gt;", "&amp;", "&quot;" back to characters in that order, case ignored.
std::string HtmlDecode(const std::string& Text);
// Trimmed at both ends, then every run of blanks, tabs and line breaks as one blank.
std::string CompressWhitespaces(const std::string& Text);
// Between the ANSI and the OEM code page, byte for byte; a character the target lacks becomes
// "?", never a look-alike.
std::string ConvertAnsiToOem(const std::string& Text);
std::string ConvertOemToAnsi(const std::string& Text);
// The UTF-8 bytes of an ANSI text, one character each.
std::string AnsiToUtf8(const std::string& Text);
// The ANSI text of UTF-8 bytes, "?" for a character the code page lacks; none when the bytes
// are not valid UTF-8.
std::optional<std::string> Utf8ToAnsi(const std::string& Text);
// Line breaks and padding cleaned, then decoded; empty for invalid input.
std::string Base64ToText(const std::string& Text);
// Every tab as TabWidth blanks, without regard to columns.
std::string TabsToSpaces(const std::string& Text, int TabWidth);
// Every run of exactly TabWidth blanks, left to right without overlap, as one tab.
// Both leave the text unchanged for a width below 1.
std::string SpacesToTabs(const std::string& Text, int TabWidth);
