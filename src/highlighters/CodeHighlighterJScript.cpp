#include "highlighters/CodeHighlighterJScript.h"
#include "editor/CodeEditStrConst.h"

namespace {

constexpr int kJScriptKeywordTableSize = 253;

const TCodeHashCharTable& JScriptHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({{'_', 31}});
  return table;
}

const TCodeIdentCharTable& JScriptIdentTable() {
  static const TCodeIdentCharTable table = MakeIdentCharTable();
  return table;
}

bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(unsigned char C) {
  return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}

constexpr uint8_t kSpace = static_cast<uint8_t>(TJScriptTokenKind::tkSpace);
constexpr uint8_t kSymbol = static_cast<uint8_t>(TJScriptTokenKind::tkSymbol);

const TCodeHashEntryList& JScriptKeywords() {
  static const TCodeHashEntryList list = [] {
    TCodeHashEntryList l(kJScriptKeywordTableSize);
    auto add = [&l](const std::vector<const char*>& Words, TJScriptTokenKind Kind) {
      for (const char* word : Words) {
        int length = 0;
        l.Add(HashIdentifier(JScriptHashTable(), JScriptIdentTable(), word, length), word,
              static_cast<uint8_t>(Kind));
      }
    };
    add(TCodeJScriptHighlighter::ReservedWords(), TJScriptTokenKind::tkKey);
    add(TCodeJScriptHighlighter::NonReservedKeywords(), TJScriptTokenKind::tkNonReservedKey);
    add(TCodeJScriptHighlighter::Events(), TJScriptTokenKind::tkEvent);
    return l;
  }();
  return list;
}

constexpr const char* kJScriptSampleText =
    "// Syntax highlighting\r\n"
    "function printNumber()\r\n"
    "{\r\n"
    "  var number = 1234;\r\n"
    "  var x;\r\n"
    "  document.write(\"The number is \" + number);\r\n"
    "  for (var i = 0; i <= number; i++)\r\n"
    "  {\r\n"
    "    x++;\r\n"
    "    x--;\r\n"
    "    x += 1.0;\r\n"
    "  }\r\n"
    "  i += @; // illegal character\r\n"
    "}\r\n"
    "body.onLoad = printNumber;";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeJScriptHighlighter::StaticClass());

}  // namespace

const std::vector<const char*>& TCodeJScriptHighlighter::ReservedWords() {
  static const std::vector<const char*> words = {
    "abstract", "boolean", "break", "byte", "callee", "case", "catch", "char", "class",
    "const", "constructor", "continue", "debugger", "default", "delete", "do", "double",
    "else", "enum", "export", "extends", "false", "final", "finally", "float", "for",
    "function", "goto", "if", "implements", "import", "in", "instanceof", "int", "interface",
    "long", "NaN", "native", "new", "null", "package", "private", "protected", "prototype",
    "public", "return", "short", "start", "static", "super", "switch", "synchronized", "this",
    "throw", "throws", "transient", "true", "try", "typeof", "var", "void", "while", "with",
  };
  return words;
}

const std::vector<const char*>& TCodeJScriptHighlighter::NonReservedKeywords() {
  static const std::vector<const char*> words = {
    "abs", "acos", "action", "alert", "align", "alinkColor", "All", "all", "Anchor", "anchor",
    "anchors", "appCodeName", "Applet", "applets", "appName", "appVersion", "Area",
    "Arguments", "arguments", "Array", "asin", "atan", "atan2", "back", "background",
    "bgColor", "big", "blink", "blur", "body", "bold", "Boolean", "border", "bottom", "Button",
    "call", "caller", "captureEvents", "ceil", "charAt", "charCodeAt", "Checkbox", "checked",
    "clear", "clearInterval", "clearTimeout", "click", "close", "closed", "color", "complete",
    "concat", "confirm", "cookie", "cos", "current", "Date", "defaultChecked",
    "defaultSelected", "defaultStatus", "defaultValue", "description", "display", "document",
    "domain", "E", "elements", "Embed", "embeds", "enabledPlugin", "encoding", "escape",
    "eval", "event", "exp", "fgColor", "filename", "FileUpload", "find", "fixed", "Float",
    "floor", "focus", "fontcolor", "fontsize", "Form", "form", "forms", "forward", "Frame",
    "frames", "fromCharCode", "Function", "getDate", "getDay", "getElementById", "getFullYear",
    "getHours", "getMilliseconds", "getMinutes", "getMonth", "getSeconds", "getTime",
    "getTimezoneOffset", "getUTCDate", "getUTCDay", "getUTCFullYear", "getUTCHours",
    "getUTCMilliseconds", "getUTCMinutes", "getUTCMonth", "getUTCSeconds", "getYear", "Global",
    "go", "handleEvent", "hash", "height", "Hidden", "History", "history", "home", "host",
    "hostname", "href", "hspace", "Image", "images", "index", "indexOf", "Infinity",
    "innerHeight", "innerWidth", "input", "isFinite", "isNaN", "italics", "java",
    "javaEnabled", "join", "lastIndexOf", "lastModified", "Layer", "layers", "left", "length",
    "Link", "link", "linkColor", "links", "LN10", "LN2", "Location", "location", "locationbar",
    "log", "LOG10E", "LOG2E", "logon", "lowsrc", "match", "Math", "max", "MAX_VALUE",
    "menubar", "method", "MimeType", "mimeTypes", "min", "MIN_VALUE", "moveBy", "moveTo",
    "name", "Navigator", "navigator", "NEGATIVE_INFINITY", "netscape", "next", "Null",
    "Number", "Object", "open", "opener", "Option", "options", "outerHeight", "outerWidth",
    "Packages", "pageX", "pageXOffset", "pageY", "pageYOffset", "parent", "parse",
    "parseFloat", "parseInt", "Password", "pathname", "personalbar", "PI", "platform",
    "Plugin", "plugins", "port", "POSITIVE_INFINITY", "pow", "previous", "print", "prompt",
    "protocol", "Radio", "random", "referrer", "refresh", "RegExp", "releaseEvents", "reload",
    "replace", "Reset", "reset", "resizeBy", "resizeTo", "reverse", "right", "round",
    "routeEvent", "screen", "scroll", "scrollbars", "scrollBy", "scrollTo", "search", "Select",
    "select", "selected", "selectedIndex", "self", "setDate", "setFullYear", "setHours",
    "setInterval", "setMilliseconds", "setMinutes", "setMonth", "setSeconds", "setTime",
    "setTimeout", "setUTCDate", "setUTCFullYear", "setUTCHours", "setUTCMilliseconds",
    "setUTCMinutes", "setUTCMonth", "setUTCSeconds", "setYear", "sin", "slice", "small",
    "sort", "split", "sqrt", "SQRT1_2", "SQRT2", "src", "status", "statusbar", "stop",
    "strike", "String", "style", "sub", "Submit", "submit", "substr", "substring", "suffixes",
    "sup", "tags", "taint", "taintEnabled", "tan", "target", "Text", "text", "Textarea",
    "title", "toGMTString", "toLocaleString", "toLowerCase", "toolbar", "top", "toSource",
    "toString", "toUpperCase", "toUTCString", "type", "Undefined", "undefined", "unescape",
    "untaint", "unwatch", "URL", "userAgent", "UTC", "value", "valueOf", "visibility",
    "vlinkColor", "vspace", "watch", "width", "Window", "window", "write", "writeln", "zIndex",
  };
  return words;
}

const std::vector<const char*>& TCodeJScriptHighlighter::Events() {
  static const std::vector<const char*> words = {
    "onAbort", "onBlur", "onChange", "onClick", "onDblClick", "onError", "onFocus",
    "onKeyDown", "onKeyPress", "onKeyUp", "onLoad", "onMouseDown", "onMouseMove", "onMouseOut",
    "onMouseOver", "onMouseUp", "onReset", "onSelect", "onSubmit", "onUnload",
  };
  return words;
}

const TCodeHighlighterClass& TCodeJScriptHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeJScriptHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeJScriptHighlighter::GetLanguageName,
                                          &TCodeJScriptHighlighter::GetCapabilities};
  return info;
}

std::string TCodeJScriptHighlighter::GetLanguageName() { return CES_LangJScript; }

TCodeJScriptHighlighter::TCodeJScriptHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, JScriptKeywords(), JScriptHashTable(),
                           {static_cast<uint8_t>(TJScriptTokenKind::tkNull),
                            static_cast<uint8_t>(TJScriptTokenKind::tkIdentifier),
                            static_cast<uint8_t>(TJScriptTokenKind::tkIdentifier), true}) {
  CreateAttributes();
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
  MakeMethodTables();
  fRange = static_cast<uint8_t>(TJScriptRangeState::rsUnknown);
  SetDefaultFilter(CES_FilterJScript);
}

void TCodeJScriptHighlighter::CreateAttributes() {
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {TFontStyle::fsItalic});
  identifierAttri_ = AddStyledAttribute(CES_AttrIdentifier, {});
  keyAttri_ = AddStyledAttribute(CES_AttrReservedWord, {TFontStyle::fsBold});
  nonReservedKeyAttri_ = AddStyledAttribute(CES_AttrNonReservedKeyword, {});
  eventAttri_ = AddStyledAttribute(CES_AttrEvent, {});
  numberAttri_ = AddStyledAttribute(CES_AttrNumber, {});
  spaceAttri_ = AddStyledAttribute(CES_AttrSpace, {});
  stringAttri_ = AddStyledAttribute(CES_AttrString, {});
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, {});
}

void TCodeJScriptHighlighter::MakeMethodTables() {
  using T = TCodeJScriptHighlighter;
  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &T::UnknownProc;
    if (c == 0) proc = &T::NullProc;
    else if (c == '\n') proc = &T::LFProc;
    else if (c == '\r') proc = &T::CRProc;
    else if (c <= 32) proc = &T::SpaceProc;
    else if ((c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z')) proc = &T::IdentProc;
    else if (IsDigit(c)) proc = &T::NumberProc;
    else if (c == '"' || c == '\'') proc = &T::StringProc;
    else if (c == '/') proc = &T::SlashProc;
    else if (c == '&') proc = &T::AndSymbolProc;
    else if (c == '+') proc = &T::PlusProc;
    else if (c == '-') proc = &T::MinusProc;
    else if (c == '|') proc = &T::OrSymbolProc;
    else if (c == '%' || c == '*') proc = &T::ModOrStarProc;
    else if (c == '.') proc = &T::PointProc;
    else if (c == '!' || c == '(' || c == ')' || c == ',' || (c >= ':' && c <= '?') ||
             c == '[' || c == ']' || c == '{' || c == '}' || c == '~')
      proc = &T::SymbolProc;
    fProcTable[c] = proc;
  }
}

TCodeHighlighterAttributes* TCodeJScriptHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, identifierAttri_, keyAttri_, stringAttri_, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodeJScriptHighlighter::GetIdentifierChars() const { return WebIdentifierChars(); }

std::string TCodeJScriptHighlighter::GetSampleText() const { return kJScriptSampleText; }

bool TCodeJScriptHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterJScript;
}

TCodeHighlighterAttributes* TCodeJScriptHighlighter::GetTokenAttribute() const {
  switch (static_cast<TJScriptTokenKind>(fTokenID)) {
    case TJScriptTokenKind::tkComment: return commentAttri_;
    case TJScriptTokenKind::tkIdentifier: return identifierAttri_;
    case TJScriptTokenKind::tkKey: return keyAttri_;
    case TJScriptTokenKind::tkNonReservedKey: return nonReservedKeyAttri_;
    case TJScriptTokenKind::tkEvent: return eventAttri_;
    case TJScriptTokenKind::tkNumber: return numberAttri_;
    case TJScriptTokenKind::tkSpace: return spaceAttri_;
    case TJScriptTokenKind::tkString: return stringAttri_;
    case TJScriptTokenKind::tkSymbol: return symbolAttri_;
    case TJScriptTokenKind::tkUnknown: return identifierAttri_;
    case TJScriptTokenKind::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeJScriptHighlighter::ResetRange() {
  fRange = static_cast<uint8_t>(TJScriptRangeState::rsUnknown);
}

void TCodeJScriptHighlighter::ScanToken() {
  if (fRange == static_cast<uint8_t>(TJScriptRangeState::rsANSI))
    CommentProc();
  else
    ScanByTable();
}

void TCodeJScriptHighlighter::NullProc() { NullStep(kSpace); }
void TCodeJScriptHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodeJScriptHighlighter::CRProc() { CarriageReturnStep(kSpace); }
void TCodeJScriptHighlighter::SpaceProc() { BlankStep(kSpace); }
void TCodeJScriptHighlighter::IdentProc() { IdentStep(JScriptIdentTable()); }

void TCodeJScriptHighlighter::NumberProc() {
  SetKind(TJScriptTokenKind::tkNumber);
  const int start = Run;
  bool hex = false;
  ++Run;
  for (;;) {
    unsigned char c = At(Run);
    if (c == '.') {
      if (At(Run + 1) == '.') break;
    } else if (c == 'x' || c == 'X') {
      if (!(Run == start + 1 && At(start) == '0' && IsHexDigit(At(Run + 1)))) break;
      hex = true;
    } else if (IsHexDigit(c) && !IsDigit(c)) {
      if (!hex) break;
    } else if (!IsDigit(c)) {
      break;
    }
    ++Run;
  }
}

void TCodeJScriptHighlighter::StringProc() {
  SetKind(TJScriptTokenKind::tkString);
  const unsigned char quote = At(Run);
  if (At(Run + 1) == quote && At(Run + 2) == quote) Run += 2;
  do {
    ++Run;
  } while (!IsLineBreakOrEnd(At(Run)) && !(At(Run) == quote && At(Run - 1) != '\\'));
  if (At(Run) == quote) ++Run;
}

void TCodeJScriptHighlighter::SlashProc() {
  ++Run;
  switch (At(Run)) {
    case '*':
      SetKind(TJScriptTokenKind::tkComment);
      fRange = static_cast<uint8_t>(TJScriptRangeState::rsANSI);
      ++Run;
      BlockCommentBodyStep(static_cast<uint8_t>(TJScriptRangeState::rsUnknown));
      break;
    case '/':
      SetKind(TJScriptTokenKind::tkComment);
      while (!IsLineBreakOrEnd(At(Run))) ++Run;
      break;
    case '=':
      ++Run;
      SetKind(TJScriptTokenKind::tkSymbol);
      break;
    default: SetKind(TJScriptTokenKind::tkSymbol);
  }
}

void TCodeJScriptHighlighter::CommentProc() {
  // A line break inside the line is a blank of its own, or the comment token could not move.
  if (IsLineBreakOrEnd(At(Run))) {
    ScanByTable();
    return;
  }
  SetKind(TJScriptTokenKind::tkComment);
  BlockCommentBodyStep(static_cast<uint8_t>(TJScriptRangeState::rsUnknown));
}

void TCodeJScriptHighlighter::AndSymbolProc() { SymbolStep(kSymbol, "&="); }
void TCodeJScriptHighlighter::PlusProc() { SymbolStep(kSymbol, "+="); }
void TCodeJScriptHighlighter::MinusProc() { SymbolStep(kSymbol, "-=>"); }
void TCodeJScriptHighlighter::OrSymbolProc() { SymbolStep(kSymbol, "=|"); }
void TCodeJScriptHighlighter::ModOrStarProc() { SymbolStep(kSymbol, "="); }

void TCodeJScriptHighlighter::PointProc() {
  SetKind(TJScriptTokenKind::tkSymbol);
  ++Run;
  if (At(Run) == '.' && At(Run + 1) == '.') Run += 2;
}

void TCodeJScriptHighlighter::SymbolProc() { SymbolStep(kSymbol); }

void TCodeJScriptHighlighter::UnknownProc() {
  SetKind(TJScriptTokenKind::tkUnknown);
  Run += CharLengthAtRun();
}

void ApplyMainWindowColors(TCodeJScriptHighlighter& Highlighter) {
  Highlighter.BeginUpdate();
  Highlighter.CommentAttri()->SetForeground(clGreen);
  Highlighter.CommentAttri()->SetStyle({});
  Highlighter.KeyAttri()->SetForeground(clBlue);
  Highlighter.KeyAttri()->SetStyle({});
  Highlighter.NumberAttri()->SetForeground(clPurple);
  Highlighter.StringAttri()->SetForeground(clTeal);
  Highlighter.SymbolAttri()->SetForeground(clGray);
  Highlighter.NonReservedKeyAttri()->SetForeground(clNavy);
  Highlighter.EventAttri()->SetForeground(0x00FF8000);
  Highlighter.EndUpdate();
}
