#include "foundation/RegexLocaleWin32.h"
#include "foundation/RegexLocale.h"
#include "rtl/SysUtils.h"

namespace {
unsigned char Win32Upper(unsigned char C) { return static_cast<unsigned char>(AnsiUpperChar(static_cast<char>(C))); }
unsigned char Win32Lower(unsigned char C) { return static_cast<unsigned char>(AnsiLowerChar(static_cast<char>(C))); }
}  // namespace

void InstallWin32RegexLocale() { SetRegexCaseMapping(Win32Upper, Win32Lower); }
