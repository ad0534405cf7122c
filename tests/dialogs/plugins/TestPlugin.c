/* A plug-in for the tests. Every call is logged, one line each, to the file named by the
   environment variable TVP_TEST_LOG, prefixed by the library's own file name. The variant
   is chosen at build time (TVP_REFUSE, TVP_FAULT, or TVP_NOKEEP (keeps no
   reference to the application interface, having no Finalize to release it)) and by the
   exports its .def names; TVP_GETINFO_FAULT_<name> set makes its TVP_GetInfo fault, and
   TVP_INIT_BOX set makes its TVP_Initialize show a message box of its own. */
#include <windows.h>
#include <oleauto.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef TVP_REFUSE
#define TVP_INIT_RESULT 1
#else
#define TVP_INIT_RESULT 0
#endif

typedef struct IApp {
  void** Table;
} IApp;

static HMODULE Self;
static IApp* App;
static char Name[MAX_PATH];
static BSTR Kept;

static void Log(const char* Format, ...) {
  char path[MAX_PATH], line[4096];
  va_list args;
  HANDLE file;
  DWORD written;
  int length;
  if (!GetEnvironmentVariableA("TVP_TEST_LOG", path, MAX_PATH)) return;
  length = snprintf(line, sizeof(line), "%s ", Name);
  char message[2048];
  va_start(args, Format);
  vsnprintf(message, sizeof(message), Format, args);
  va_end(args);
  /* line breaks inside values are logged as \r and \n, so each call stays one line */
  for (const char* c = message; *c && length < (int)sizeof(line) - 4; ++c) {
    if (*c == '\r' || *c == '\n') {
      line[length++] = '\\';
      line[length++] = *c == '\r' ? 'r' : 'n';
    } else {
      line[length++] = *c;
    }
  }
  strcpy(line + length, "\r\n");
  file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                     OPEN_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
  CloseHandle(file);
}

static void ToAnsi(BSTR Text, char* Out, int Size) {
  int n = Text ? WideCharToMultiByte(CP_ACP, 0, Text, (int)SysStringLen(Text), Out, Size - 1,
                                     NULL, NULL) : 0;
  Out[n] = 0;
}

static BSTR FromAnsi(const char* Text) {
  int n = MultiByteToWideChar(CP_ACP, 0, Text, -1, NULL, 0);
  BSTR out = SysAllocStringLen(NULL, n - 1);
  MultiByteToWideChar(CP_ACP, 0, Text, -1, out, n);
  return out;
}

/* Replaces what the slot held, as the one who writes a slot first must. */
static void PutSlot(BSTR* Slot, const char* Text) {
  SysFreeString(*Slot);
  *Slot = FromAnsi(Text);
}

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID Reserved) {
  char* dot;
  (void)Reserved;
  if (Reason == DLL_PROCESS_ATTACH) {
    Self = Instance;
    GetModuleFileNameA(Instance, Name, MAX_PATH);
    memmove(Name, strrchr(Name, '\\') + 1, strlen(strrchr(Name, '\\')));
    if ((dot = strrchr(Name, '.'))) *dot = 0;
    Log("attach");
  } else if (Reason == DLL_PROCESS_DETACH) {
    Log("detach");
  }
  return TRUE;
}

typedef ULONG(__stdcall* TRefProc)(IApp*);
typedef int(__stdcall* TIntProc)(IApp*);
typedef int(__stdcall* TIntIntProc)(IApp*, int);
typedef void(__stdcall* TWideProc)(BSTR*, IApp*);
typedef void(__stdcall* TWideIntProc)(BSTR*, IApp*, int);
typedef int(__stdcall* TIntWideIntProc)(IApp*, BSTR, int);
typedef int(__stdcall* TIntWideProc)(IApp*, BSTR);
typedef int(__stdcall* TIntWideWideProc)(IApp*, BSTR, BSTR);
typedef void(__stdcall* TWide3Proc)(IApp*, BSTR, BSTR, BSTR);
typedef void*(__stdcall* TPtrPtrPtrProc)(IApp*, void*, void*);

#define SLOT(Type, Index) ((Type)App->Table[Index])

int __stdcall TVP_Initialize(IApp* Application) {
  Log("Initialize");
  /* a box of the plug-in's own, past the program's modal questions */
  if (GetEnvironmentVariableA("TVP_INIT_BOX", NULL, 0)) MessageBoxA(NULL, "Initialize", Name, MB_OK);
#if defined(TVP_REFUSE) || defined(TVP_NOKEEP)
  (void)Application;
  return TVP_INIT_RESULT;
#else
  App = Application;
  SLOT(TRefProc, 1)(App);
  return 0;
#endif
}

void __stdcall TVP_Finalize(void) {
  Log("Finalize");
  if (App) SLOT(TRefProc, 2)(App);
  App = NULL;
  if (Kept) {
    /* a string of the same size gets the same memory only when the program freed Kept */
    BSTR probe = SysAllocString(L"kept");
    Log("KeptFreedByProgram=%d", probe == Kept);
    SysFreeString(probe);
    if (probe != Kept) SysFreeString(Kept);
    Kept = NULL;
  }
}

int __stdcall TVP_GetInfo(int Index, BSTR* Value) {
  char text[256], variable[MAX_PATH + 20];
  Log("GetInfo(%d,%s)", Index, *Value ? "full" : "empty");
  snprintf(variable, sizeof(variable), "TVP_GETINFO_FAULT_%s", Name);
  if (GetEnvironmentVariableA(variable, text, sizeof(text))) {
    /* leaves a string of its own in the slot, then faults */
    Kept = SysAllocString(L"kept");
    *Value = Kept;
    *(volatile int*)0 = Index;
  }
  switch (Index) {
    case 1: strcpy(text, Name); break;
    case 2: strcpy(text, "1.0"); break;
    case 3: snprintf(text, sizeof(text), "%s-Item", Name); break;
    case 4:
      snprintf(variable, sizeof(variable), "TVP_SUBMENU_%s", Name);
      if (!GetEnvironmentVariableA(variable, text, sizeof(text))) return 0;
      if (strcmp(text, "-") == 0) text[0] = 0;
      /* CR LF between captions is written as "|" in the variable */
      for (char* c = text; *c; ++c)
        if (*c == '|') {
          memmove(c + 1, c, strlen(c) + 1);
          c[0] = '\r';
          c[1] = '\n';
          ++c;
        }
      break;
    default: return 0;
  }
  PutSlot(Value, text);
  return 1;
}

void __stdcall TVP_Configure(void) { Log("Configure"); }

static void DriveApp(void) {
  BSTR text = NULL;
  char a[1024];
  SLOT(TWideIntProc, 8)(&text, App, -1);
  ToAnsi(text, a, sizeof(a));
  Log("GetDocTitle(-1)=%s", a);
  Log("GetDocCount=%d GetActiveDoc=%d", SLOT(TIntProc, 13)(App), SLOT(TIntProc, 14)(App));
  Log("GetDocModified(5)=%d GetDocReadOnly(5)=%d", SLOT(TIntIntProc, 9)(App, 5) & 0xFF,
      SLOT(TIntIntProc, 10)(App, 5) & 0xFF);
  SLOT(TWideIntProc, 15)(&text, App, 7);
  Log("GetDocText(7)=[%u]", (unsigned)SysStringLen(text));
  {
    BSTR title = FromAnsi("Neu"), body = FromAnsi("Hallo");
    Log("NewDoc=%d", SLOT(TIntWideWideProc, 22)(App, title, body));
    SysFreeString(title);
    SysFreeString(body);
  }
  Log("SelectAll=%d", SLOT(TIntProc, 23)(App));
  SLOT(TWideProc, 18)(&text, App);
  ToAnsi(text, a, sizeof(a));
  Log("GetSelText=%s GetSelLength=%d", a, SLOT(TIntProc, 19)(App));
  {
    BSTR body = FromAnsi("Welt");
    Log("SetDocText=%d", SLOT(TIntWideIntProc, 17)(App, body, -1));
    SysFreeString(body);
  }
  SLOT(TWideIntProc, 15)(&text, App, -1);
  ToAnsi(text, a, sizeof(a));
  Log("GetDocText(-1)=%s GetDocTextLength(-1)=%d", a, SLOT(TIntIntProc, 16)(App, -1));
  SLOT(TWideProc, 12)(&text, App);
  ToAnsi(text, a, sizeof(a));
  Log("GetDocTitles=%s", a);
  Log("GetHandle(0)=%d GetHandle(2)=%d", SLOT(TIntIntProc, 4)(App, 0) != 0,
      SLOT(TIntIntProc, 4)(App, 2));
  Log("AddMenuItem(bogus)=%d",
      SLOT(TPtrPtrPtrProc, 24)(App, (void*)&text, (void*)&text) != NULL);
  SysFreeString(text);
}

static void* LastItem;

int __stdcall TVP_MenuItem(int SubItem) {
  Log("MenuItem(%d)", SubItem);
#ifdef TVP_FAULT
  *(volatile int*)0 = SubItem;
#endif
  if (SubItem == 0 && App) DriveApp();
  if (SubItem == 2 && App && LastItem) {
    void* added = SLOT(TPtrPtrPtrProc, 24)(App, LastItem, LastItem);
    Log("AddMenuItem=%d", added != NULL);
  }
  return 1;
}

int __stdcall TVP_GetMenuItemHandlers(void) {
  char value[16];
  int bits = 1;
  char variable[MAX_PATH + 20];
  snprintf(variable, sizeof(variable), "TVP_HANDLERS_%s", Name);
  if (GetEnvironmentVariableA(variable, value, sizeof(value))) bits = atoi(value);
  Log("GetMenuItemHandlers");
  return bits;
}

void __stdcall TVP_AppStarted(void) { Log("AppStarted"); }

int __stdcall TVP_MenuClicked(int Position, int Tag, HMENU Menu, void* Item) {
  Log("MenuClicked(%d,%d,%d,%d)", Position, Tag, IsMenu(Menu) ? 1 : 0, Item != NULL);
  LastItem = Item;
  return 0;
}

void __stdcall TVP_MenuChanged(int SubItem, int Index, HMENU Menu, void* Item) {
  char wanted[4];
  Log("MenuChanged(%d,%d,%d,%d)", SubItem, Index, IsMenu(Menu) ? 1 : 0, Item != NULL);
  /* Menus are the process's own under some systems: the id is told to another process here. */
  if (SubItem == -1 && GetEnvironmentVariableA("TVP_LOG_IDS", wanted, sizeof(wanted)))
    Log("ItemId=%u", GetMenuItemID(Menu, GetMenuItemCount(Menu) - 1));
}

static int EndsWith(const char* Text, const char* End) {
  size_t a = strlen(Text), b = strlen(End);
  return a >= b && _stricmp(Text + a - b, End) == 0;
}

int __stdcall TVP_ReadFile(BSTR FileName, BSTR* Text, int* LineBreak, int* FileFormat) {
  char name[MAX_PATH];
  ToAnsi(FileName, name, sizeof(name));
  Log("ReadFile(%s,%s,%d,%d)", strrchr(name, '\\') + 1, *Text ? "full" : "empty", *LineBreak,
      *FileFormat);
  if (EndsWith(name, ".pass")) {
    PutSlot(Text, "left behind");
    return 1;
  }
  if (EndsWith(name, ".bad")) {
    PutSlot(Text, "odd formats");
    *LineBreak = 77;
    *FileFormat = 5;
    return 0;
  }
  if (!EndsWith(name, ".hook")) return 1;
  PutSlot(Text, "aus dem Plugin\r\n");
  *LineBreak = 1;
  *FileFormat = 1;
  return 0;
}

int __stdcall TVP_WriteFile(BSTR FileName, BSTR* Text, int* LineBreak, int* FileFormat) {
  char name[MAX_PATH], text[4096];
  HANDLE file;
  DWORD written;
  ToAnsi(FileName, name, sizeof(name));
  ToAnsi(*Text, text, sizeof(text));
  Log("WriteFile(%s,%d,%d)", strrchr(name, '\\') + 1, *LineBreak, *FileFormat);
#ifdef TVP_FAULT
  *(volatile int*)0 = 1;
#endif
  if (EndsWith(name, ".pass")) return -1;
  if (!EndsWith(name, ".own")) {
    PutSlot(Text, "ignored");
    return 5;
  }
  file = CreateFileA(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return -1;
  WriteFile(file, "PLUGIN:", 7, &written, NULL);
  WriteFile(file, text, (DWORD)strlen(text), &written, NULL);
  CloseHandle(file);
  return 0;
}
