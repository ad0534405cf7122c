// Stateless helpers of the program: text, codecs and checksums, system services, files,
// folders, shell and colours. They never show anything and report failure through their
// results (empty text, 0, false, the caller's default). Positions count from 1; texts are
// 8-bit strings in the ANSI code page; hexadecimal output uses upper-case digits.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include "foundation/Base64.h"
#include "foundation/MD5.h"
#include "foundation/SHA1.h"
#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"
#include "rtl/StringList.h"
#include "toolkit/Graphics.h"

// ---- Text ----------------------------------------------------------------------------------

// The N-th field (from 1) of Text split at Separator; empty fields count. Empty when N < 1,
// the separator is empty or there are fewer than N fields.
std::string GetToken(const std::string& Text, const std::string& Separator, int N);
// The XML model's tokenizer: the same contract as GetToken.
std::string XmlGetToken(const std::string& Text, const std::string& Separator, int N);
// Occurrences of SubStr in Text, overlapping ones included, byte for byte; 0 when either is
// empty; counting stops at 65535.
int CountSubStr(const std::string& Text, const std::string& SubStr);
// Maximal runs of characters with codes above 32.
int CountWords(const std::string& Text);
std::string ReplaceChar(const std::string& Text, char OldChar, char NewChar);
// Left to right, never searching an inserted replacement again; IgnoreCase folds A-Z only.
// An empty Find changes nothing.
std::string ReplaceAll(const std::string& Text, const std::string& Find,
                       const std::string& Replacement, bool IgnoreCase);
// The rest of Text from Index (1-based) on; empty past the end.
std::string StrCopyFrom(const std::string& Text, int Index);
// True when every character of Text is in CharSet (true for an empty text).
bool ContainsOnly(const std::string& Text, const std::string& CharSet);
// The characters of Text that are in CharSet, in order.
std::string FilterChars(const std::string& Text, const std::string& CharSet);
// Position of the first character of Text that is in CharSet; 0 when none.
int FirstCharOf(const std::string& CharSet, const std::string& Text);
// Text before its first CR or LF.
std::string FirstLine(const std::string& Text);
// Swaps the case of A-Z, a-z and the Latin-1 letters 192-222 / 224-254 (not 215, 223, 247, 255).
std::string InvertCase(const std::string& Text);
// Every run of codes 9-13 and 32 becomes one blank.
std::string CompressWhitespace(const std::string& Text);
// "&&" -> "&", single "&" removed.
std::string StripAccelChars(const std::string& Caption);
// "&" doubled, CR removed, LF -> blank.
std::string EscapeCaption(const std::string& Text);
// First k characters, Filler, last k characters with k = MaxLen / 2 - length(Filler) / 2
// (never below 0), when 1 <= MaxLen < length(Text); otherwise Text unchanged.
std::string ShortenMiddle(const std::string& Text, const std::string& Filler, int MaxLen);
// Expands \\ \t \n \r \w (CR LF), \cDDD (decimal code 0-255) and \xHH; "\" before any other
// character is dropped, and so is a "\c" whose code lies outside 0-255. "\c" and "\x" near
// the end take what remains. Raises StrToInt's EConvertError when the characters after "\c"
// are not a number.
std::string UnescapeText(const std::string& Text);
// Breaks lines longer than Width at the last blank or tab within Width (else hard at Width);
// every output line ends with CR LF. Width below 3 leaves the text unchanged.
std::string WrapTextLines(const std::string& Text, int Width);
// Octal digits of a positive number; empty for 0 and negative numbers.
std::string IntToOct(int Value);
// Eight "0"/"1" characters per byte, most significant bit first.
std::string StrToBin(const std::string& Text);

// ---- Codecs and checksums -----------------------------------------------------------------

std::string StrToHex(const std::string& Text);
// One byte per pair of digits; empty for an odd length. Non-digits count as 0.
std::string HexToStr(const std::string& Text);
// Percent-encoding. Options may hold "<" or ">" (keep angle brackets), "+" (blank as "+"),
// "&" ("&" as "&amp;").
std::string URLEncode(const std::string& Text, const std::string& Options);
std::string URLDecode(const std::string& Text);
// Quoted-printable; HeaderMode writes blanks as "_" and encodes "?" and "_". No line of the
// result is longer than 76 characters (75 and the soft-break "=").
std::string QPEncode(const std::string& Text, bool HeaderMode);
std::string QPDecode(const std::string& Text);
// CR and LF removed, surrounding blanks and control characters trimmed, "=" padded to a
// multiple of 4.
std::string CleanBase64(const std::string& Text);
std::string Rot13(const std::string& Text);
// Incremental CRC-32 (reflected, polynomial 0xEDB88320): start with 0xFFFFFFFF, invert at the end.
uint32_t CRC32Update(uint32_t Crc, const void* Data, size_t Size);
// 8 upper-case hexadecimal digits ("00000000" for an empty text).
std::string CRC32String(const std::string& Text);
// The CRC-32 of the file's whole content; empty when it cannot be opened or read.
std::string CRC32File(const std::string& FileName);
// Reads the whole file in chunks, handing each to Consume; false when the file cannot be opened
// (other programs may read and write it meanwhile) or a read fails.
bool ReadFileInChunks(const std::string& FileName,
                      const std::function<void(const uint8_t* Data, size_t Size)>& Consume);

// ---- System --------------------------------------------------------------------------------

// The parsed command line: items separated by the character of code 1.
extern std::string CmdLineParams;

// "CU", "HKEY_CURRENT_USER" and the other six roots (case ignored); nullptr for any other name.
HKEY RegRootKey(const std::string& RootName);
// Path is "ROOT\key\path". The value as text (see the registry types below); Default when the
// key or value is missing, unreadable or of another type.
std::string RegReadValue(const std::string& Path, const std::string& ValueName,
                         const std::string& Default);
// TypeLetter "S", "E", "B", "M", "D" or "DB" (case ignored); "1" on success, else "0".
// Raises EConvertError for "D" and "DB" when Value is not an integer.
std::string RegWriteValue(const std::string& Path, const std::string& ValueName,
                          const std::string& Value, const std::string& TypeLetter);
bool RegDeleteValuePath(const std::string& Path, const std::string& ValueName);
// Deletes the last key of Path from its parent.
bool RegDeleteKeyPath(const std::string& Path);
// The version-information string Key ("FileVersion") of the file's first translation, trimmed.
std::string GetFileVersionValue(const std::string& FileName, const std::string& Key);

// The items of CmdLine separated by code 1; DropFirst removes the program path.
std::string SplitCommandLine(const std::string& CmdLine, bool DropFirst);
// Whether CmdLineParams holds "/Name", "-Name" or "--Name" (value suffixes ignored).
bool HasCmdSwitch(const std::string& SwitchName, bool CaseSensitive);
// The value after ":" or "=" of the last matching switch; empty when absent.
std::string GetCmdSwitchValue(const std::string& SwitchName, bool CaseSensitive);
// The first top-level window whose caption has Prefix, else Suffix, else equals Exact (empty
// arguments are skipped); nullptr when none matches.
HWND FindWindowByCaption(const std::string& Exact, const std::string& Prefix,
                         const std::string& Suffix);
// Runs Command through the command interpreter with its output redirected to a new file of
// its own in the temporary folder, waits up to TimeoutMs and returns the output (OEM text
// converted to ANSI unless KeepOemText). Empty when it cannot start.
std::string RunConsoleCommand(const std::string& Command, DWORD TimeoutMs, bool KeepOemText);
// The system's temporary folder with its trailing backslash, exact or in its short form; with
// "?" for what the code page lacks when neither is, so nothing is made there. Empty when unknown.
std::string TempFolder();
// Shown names: "?" for what the code page lacks.
std::string GetCurrentUserName();
std::string GetLocalComputerName();
bool IsWin2000OrLater();
bool IsWinXPOrLater();
bool IsAppThemedSafe();
// A format whose third character is "$" ("GE$dddd") loses that prefix and Settings become those
// of the locale its two-letter code names; without the prefix, and for unknown codes, the
// user's default locale.
void ApplyLocalePrefix(std::string& Format, TFormatSettings& Settings);
// Minutes east of UTC at the given local moment, daylight saving included.
int GetTimeZoneBias(TDateTime Moment);
// The same for a given zone; zones of both hemispheres (daylight start before or after the
// standard start in the year) are handled.
int GetTimeZoneBiasOf(const TIME_ZONE_INFORMATION& Zone, TDateTime Moment);
TDateTime NowUTC();
// "+01:00", "-05:30".
std::string FormatTimeZoneBias(int Minutes);

// ---- Files, folders, shell and colours ----------------------------------------------------

// Creates every missing level below the drive; true when the folder exists afterwards.
bool ForceDirs(const std::string& Dir);
// Path with "\" appended when not empty and not ending with one.
std::string AddBackslash(const std::string& Path);
// %NAME% references expanded, trimmed, optionally with a trailing "\"; empty for empty text.
// A value the code page cannot hold comes in with "?" (as in WideToAnsiExact), so the result
// names no file rather than a look-alike's.
std::string ExpandEnvVars(const std::string& Text, bool WithBackslash);
// Clears List and adds Folder + name of every file (not folder) matching Mask; returns the count.
int ListFiles(const std::string& Folder, const std::string& Mask, TStrings& List);
// Adds the full paths of matching files in Folder, then (Recurse) of every subfolder.
void FindFilesRecursive(const std::string& Folder, const std::string& Mask, bool Recurse,
                        TStrings& List);
// The system's folder picker (file-system folders only); empty when cancelled.
std::string BrowseForFolder(HWND Owner, const std::string& Title, bool NewStyle);
// The shell's special folder (CSIDL_...) ending with "\", exact or in its short form; with "?"
// for what the code page lacks when neither is; empty when unavailable.
std::string GetSpecialFolderPath(int Folder);
bool CreateShellLink(const std::string& LinkFileName, const std::string& Target,
                     const std::string& Arguments, const std::string& WorkingDir,
                     const std::string& Description, int ShowCmd, const std::string& IconFile,
                     int IconIndex);
// Index of the file's icon in the system image list.
int GetFileIconIndex(const std::string& FileName, bool Small);
// Size in bytes; 0 when the file is missing or unreadable.
int64_t GetFileSizeByName(const std::string& FileName);
// The file's times in local time (the current zone offset for all three); false when it
// cannot be opened.
bool GetFileTimesLocal(const std::string& FileName, TDateTime& Created, TDateTime& Accessed,
                       TDateTime& Written);
// "DOMAIN\account", the owner's SID text when no account is found, empty when unreadable.
std::string GetFileOwner(const std::string& FileName);
std::string SidToStringText(PSID Sid);
// Two upper-case hexadecimal digits; 0 unless exactly two characters; others count as 0.
uint8_t HexPairToByte(const std::string& Pair);
std::string ByteToHexPair(uint8_t Value);
// "RRGGBB" in upper-case digits -> $00BBGGRR; false and 0 otherwise.
bool HtmlColorToColor(const std::string& Text, TColor& Color);
// Each byte of the resolved colour is 00, 33, 66, 99, CC or FF.
bool IsWebSafeColor(TColor Color);
