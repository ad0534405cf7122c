// The main window's command table: every menu, menu item, tool button and caption of the bottom
// panel, in display order, with its German caption. Menus, tool bar and TranslateForm read it.
#include "documents/formMainTable.h"

namespace {

using K = TMainRowKind;

constexpr TShortCut C(char Key) { return static_cast<TShortCut>(scCtrl | Key); }
constexpr TShortCut SC(char Key) { return static_cast<TShortCut>(scShift | scCtrl | Key); }
constexpr TShortCut CA(char Key) { return static_cast<TShortCut>(scCtrl | scAlt | Key); }
constexpr TShortCut SA(char Key) { return static_cast<TShortCut>(scShift | scAlt | Key); }
constexpr TShortCut A(char Key) { return static_cast<TShortCut>(scAlt | Key); }
constexpr TShortCut SCA(char Key) { return static_cast<TShortCut>(scShift | scCtrl | scAlt | Key); }
constexpr TShortCut VkF1 = 0x70, VkF3 = 0x72, VkF11 = 0x7A;
constexpr uint16_t VkOemPlus = 187, VkOemHash = 191, VkOemLess = 226;

std::vector<TMainRow> BuildTable() {
  std::vector<TMainRow> t;
  auto menu = [&](const char* Name, const char* Parent, const char* Caption, int Image = -1) {
    t.push_back({Name, Parent, K::Menu, Caption, 0, Image, ""});
  };
  auto item = [&](const char* Name, const char* Parent, const char* Caption, TShortCut Key = 0,
                  int Image = -1) { t.push_back({Name, Parent, K::Item, Caption, Key, Image, ""}); };
  auto radio = [&](const char* Name, const char* Parent, const char* Caption, TShortCut Key = 0,
                   int Image = -1) { t.push_back({Name, Parent, K::Radio, Caption, Key, Image, ""}); };
  auto check = [&](const char* Name, const char* Parent, const char* Caption, TShortCut Key = 0,
                   int Image = -1) { t.push_back({Name, Parent, K::Check, Caption, Key, Image, ""}); };
  auto sep = [&](const char* Parent) { t.push_back({"", Parent, K::Separator, "-", 0, -1, ""}); };
  auto button = [&](const char* Name, K Kind, int Image, const char* Hint) {
    t.push_back({Name, "tbMain", Kind, "", 0, Image, Hint});
  };
  auto control = [&](const std::string& Name, const char* Caption) {
    t.push_back({Name, "pcBottom", K::Control, Caption, 0, -1, ""});
  };
  // Ten numbered items: the digit ends the name and replaces '#' in the caption.
  auto numbered = [&](const std::string& Prefix, const char* Parent, const std::string& Caption,
                      TShortCut Modifiers) {
    for (int i = 0; i < 10; ++i) {
      std::string caption = Caption;
      caption.replace(caption.find('#'), 1, std::to_string(i));
      TShortCut key = Modifiers ? static_cast<TShortCut>(Modifiers | ('0' + i)) : 0;
      t.push_back({Prefix + std::to_string(i), Parent, K::Item, caption, key, -1, "", i});
    }
  };
  t.reserve(400);

  // Datei
  menu("mnuFile", "", "&Datei");
  menu("mnuFileNew", "mnuFile", "&Neu", 0);
  item("mnuFileNewDoc", "mnuFileNew", "&Neues Dokument", C('N'), 0);
  item("mnuFileNewTemplates", "mnuFileNew", "Dokumentvorlage ausw\xE4hlen...", SC('N'), 102);
  item("mnuFileOpen", "mnuFile", "&\xD6" "ffnen...", C('O'), 1);
  item("mnuFileOpenFast", "mnuFile", "Suchen && \xF6&ffnen...", SC('O'));
  menu("mnuFileReOpen", "mnuFile", "N&eu \xF6" "ffnen");
  item("mnuFileReOpenHistory", "mnuFileReOpen", "&Dateien neu \xF6" "ffnen...");
  sep("mnuFileReOpen");
  item("mnuFileReload", "mnuFile", "Neu &laden", 0, 20);
  sep("mnuFile");
  item("mnuFileSave", "mnuFile", "&Speichern", C('S'), 2);
  item("mnuFileSaveAs", "mnuFile", "Speichern &unter...", SC('U'), 3);
  item("mnuFileSaveAll", "mnuFile", "&Alle speichern", SC('S'), 4);
  sep("mnuFile");
  menu("mnuFileFileFormat", "mnuFile", "Datei&format", 148);
  radio("mnuFileFileFormatAnsi", "mnuFileFileFormat", "&ANSI");
  radio("mnuFileFileFormatUtf8", "mnuFileFileFormat", "&UTF-8");
  sep("mnuFileFileFormat");
  item("mnuFileFileFormatOriginal", "mnuFileFileFormat", "&Original");
  menu("mnuFileLineBreakFormat", "mnuFile", "&Zeilenumbr\xFC" "che", 33);
  radio("mnuFileLineBreakFormatWindows", "mnuFileLineBreakFormat", "&Windows (CR+LF)");
  radio("mnuFileLineBreakFormatUNIX", "mnuFileLineBreakFormat", "&UNIX (LF)");
  radio("mnuFileLineBreakFormatMacIntosh", "mnuFileLineBreakFormat", "&Macintosh (CR)");
  radio("mnuFileLineBreakFormatNetscape", "mnuFileLineBreakFormat", "&Netscape (CR+CR+LF)");
  sep("mnuFileLineBreakFormat");
  item("mnuFileLineBreakFormatOriginal", "mnuFileLineBreakFormat", "&Original");
  sep("mnuFile");
  item("mnuFileExport", "mnuFile", "E&xportieren...", 0, 21);
  item("mnuFileSessionOpen", "mnuFile", "Arbeitssitzung laden...");
  item("mnuFileSessionSaveAs", "mnuFile", "Arbeitssitzung speichern...");
  sep("mnuFile");
  item("mnuFileClose", "mnuFile", "S&chlie\xDF" "en", C('W'), 5);
  item("mnuFileCloseAllButCurrent", "mnuFile", "Alle &au\xDF" "er aktuellem schlie\xDF" "en");
  item("mnuFileCloseAll", "mnuFile", "Alle schl&ie\xDF" "en", 0, 6);
  sep("mnuFile");
  item("mnuFilePrintSetup", "mnuFile", "Seite ein&richten...");
  item("mnuFilePrintPreview", "mnuFile", "Seiten&ansicht...", SC('P'), 7);
  item("mnuFilePrint", "mnuFile", "&Drucken...", C('P'), 8);
  item("mnuFilePrintUnFormatted", "mnuFile", "Unformatiert drucken...");
  sep("mnuFile");
  item("mnuFileProperties", "mnuFile", "Date&ieigenschaften...");
  sep("mnuFile");
  item("mnuFileExit", "mnuFile", "B&eenden");

  // Bearbeiten
  menu("mnuEdit", "", "&Bearbeiten");
  item("mnuEditUndo", "mnuEdit", "&R\xFC" "ckg\xE4ngig", C('Z'), 9);
  item("mnuEditRedo", "mnuEdit", "&Wiederherstellen", SC('Z'), 10);
  sep("mnuEdit");
  item("mnuEditCut", "mnuEdit", "Au&sschneiden", C('X'), 11);
  item("mnuEditCutAndAttach", "mnuEdit", "A&usschneiden && Anf\xFCgen", SC('X'));
  item("mnuEditCopy", "mnuEdit", "&Kopieren", C('C'), 12);
  item("mnuEditCopyAndAttach", "mnuEdit", "K&opieren && Anf\xFCgen", SC('C'));
  item("mnuEditPaste", "mnuEdit", "&Einf\xFCgen", C('V'), 13);
  sep("mnuEdit");
  item("mnuEditPasteFromFile", "mnuEdit", "Einf\xFCgen aus &Datei...");
  item("mnuEditCopyToFile", "mnuEdit", "Auswahl speichern unter...");
  menu("mnuEditCopyFormat", "mnuEdit", "Formatiert kopieren");
  item("mnuEditCopyFormatRTF", "mnuEditCopyFormat", "Rich-Text-Format");
  item("mnuEditCopyFormatHtmlDoc", "mnuEditCopyFormat", "HTML-Dokument");
  item("mnuEditCopyFormatHtmlFrag", "mnuEditCopyFormat", "HTML-Fragment");
  sep("mnuEdit");
  menu("mnuEditCopyToMemoryBank", "mnuEdit", "Kopieren in interne Ablage");
  numbered("mnuEditCopyMemoryBank", "mnuEditCopyToMemoryBank", "Ablage #", scShift | scAlt);
  menu("mnuEditPasteFromMemoryBank", "mnuEdit", "Einf\xFCgen aus interner Ablage");
  numbered("mnuEditPasteMemoryBank", "mnuEditPasteFromMemoryBank", "Ablage #", scAlt);
  sep("mnuEdit");
  item("mnuEditSelectAll", "mnuEdit", "&Alles markieren", C('A'), 24);
  menu("mnuEditSelMode", "mnuEdit", "&Markierungsmodus", 25);
  radio("mnuEditSelModeNormal", "mnuEditSelMode", "&Normal", SA('N'));
  radio("mnuEditSelModeLine", "mnuEditSelMode", "&Zeilen", SA('L'));
  radio("mnuEditSelModeColumn", "mnuEditSelMode", "&Spalten", SA('C'));

  // Suchen
  menu("mnuSearch", "", "&Suchen");
  item("mnuEditSearch", "mnuSearch", "&Suchen && Ersetzen...", C('F'), 14);
  item("mnuEditSearchNext", "mnuSearch", "Suche &vorw\xE4rts", VkF3);
  item("mnuEditSearchPrev", "mnuSearch", "Suche &r\xFC" "ckw\xE4rts", scShift | VkF3);
  item("mnuEditDocSearch", "mnuSearch", "Suchen in Dateien...", SC('F'));
  item("mnuSearchIncremtalSearch", "mnuSearch", "Inkrementelle Suche", CA('F'));
  sep("mnuSearch");
  item("mnuEditGotoLine", "mnuSearch", "Gehe zu &Zeile...", C('G'), 15);
  item("mnuEditGotoPos", "mnuSearch", "Gehe zu &Position...", SC('G'));
  sep("mnuSearch");
  menu("mnuEditBookmarkSet", "mnuSearch", "Lesezeichen &umschalten");
  numbered("mnuEditBookmarkSet", "mnuEditBookmarkSet", "Lesezeichen &#", scShift | scCtrl);
  menu("mnuEditBookmarkGoto", "mnuSearch", "Gehe zu &Lesezeichen");
  numbered("mnuEditBookmarkGoto", "mnuEditBookmarkGoto", "Lesezeichen &#", scCtrl);
  sep("mnuEditBookmarkGoto");
  item("mnuEditBookmarkGotoPrev", "mnuEditBookmarkGoto", "&Vorheriges Lesezeichen", SC('M'));
  item("mnuEditBookmarkGotoNext", "mnuEditBookmarkGoto", "&N\xE4" "chstes Lesezeichen", C('M'));
  item("mnuEditBookmarkRemoveAll", "mnuSearch", "Alle Lesezeichen &entfernen");
  sep("mnuSearch");
  item("mnuSearchGotoMatchBrack", "mnuSearch", "Zur passenden Klammer springen");
  item("mnuEditNextCursorPos", "mnuSearch", "N\xE4" "chste Cursor-Markierung", VkF11);
  item("mnuEditPrevCursorPos", "mnuSearch", "Vorherige Cursor-Markierung", scShift | VkF11);

  // Einfügen
  menu("mnuInsert", "", "&Einf\xFCgen");
  menu("mnuInsertDateTime", "mnuInsert", "Datum / &Zeit");
  item("mnuInsertDateAndTime", "mnuInsertDateTime", "Datum &und Zeit");
  item("mnuInsertDate", "mnuInsertDateTime", "&Datum");
  item("mnuInsertTime", "mnuInsertDateTime", "&Zeit");
  item("mnuInsertGUID", "mnuInsert", "&GUID");
  item("mnuInsertFilePath", "mnuInsert", "Datei&pfad");
  item("mnuInsertConsoleOutput", "mnuInsert", "&Konsolenausgabe...");
  item("mnuInsertSpecialChars", "mnuInsert", "&Sonderzeichen...", C(static_cast<char>(VkOemHash)));
  menu("mnuInsertClipboard", "mnuInsert", "Zwischen&ablage");
  item("mnuInsertClipboardLineBegin", "mnuInsertClipboard", "Am Zeilen&beginn");
  item("mnuInsertClipboardLineEnd", "mnuInsertClipboard", "Am Zeilen&ende");
  sep("mnuInsert");
  menu("mnuInsertTemplates", "mnuInsert", "Text&vorlagen");
  menu("mnuInsertContentTemplates", "mnuInsert", "&Inhaltsvorlagen", 102);
  item("mnuInsertContentTemplate", "mnuInsertContentTemplates", "Inhaltsvorlage ausw\xE4hlen...",
       SC('T'));

  // Format
  menu("mnuFormat", "", "&Format");
  menu("mnuFormatConvert", "mnuFormat", "Text &konvertieren");
  const char* cv = "mnuFormatConvert";
  item("mnuFormatSpecialCharsToHtmlCodes", cv, "Sonderzeichen in HTML-&Codes");
  item("mnuFormatSpecialCharsToHtmlUnicodes", cv, "Sonderzeichen in HTML-&Unicodes");
  item("mnuFormatHtmlCodesUnicodesToSpecialChars", cv, "HTML-Codes und -Unicodes in &Sonderzeichen");
  item("mnuFormatHtmlToText", cv, "HTML-&Tags entfernen");
  item("mnuFormatHtmlEncode", cv, "HTML-Sonderzeichen kodieren");
  item("mnuFormatHtmlDecode", cv, "HTML-Sonderzeichen dekodieren");
  item("mnuFormatComprWhitespaces", cv, "\xDC" "berfl\xFCssige Whitespaces entfernen");
  sep(cv);
  item("mnuFormatANSItoANSII", cv, "ANSI in ASCII (Windows in &DOS)");
  item("mnuFormatASCIItoANSI", cv, "ASCII in ANSI (DOS in &Windows)");
  item("mnuFormatANSItoUTF8", cv, "ANSI in &UTF-8");
  item("mnuFormatUTF8toANSI", cv, "UTF-&8 in ANSI");
  sep(cv);
  item("mnuFormatToURL", cv, "Text in U&RL-Kodierung");
  item("mnuFormatFromURL", cv, "UR&L-Kodierung in Text");
  item("mnuFormatToQP", cv, "Text in Quoted-Printable");
  item("mnuFormatFromQP", cv, "Quoted-Printable in Text");
  item("mnuFormatToBase64", cv, "Text in Base64");
  item("mnuFormatFromBase64", cv, "Base64 in Text");
  item("mnuFormatROT13", cv, "ROT13");
  sep(cv);
  item("mnuFormatTabsToSpaces", cv, "Tabulatoren in Leerzeichen");
  item("mnuFormatSpacesToTabs", cv, "Leerzeichen in Tabulatoren");
  item("mnuFormatTrimTrailingSpaces", cv, "Leerzeichen am Zeilenende entfernen");
  sep(cv);
  item("mnuFormatToUpper", cv, "Text in &Gro\xDF" "buchstaben");
  item("mnuFormatToLower", cv, "Text in &Kleinbuchstaben");
  item("mnuFormatToUpperLowerSwap", cv, "Gr&o\xDF-/Kleinschreibung umkehren");
  item("mnuFormatParIn", "mnuFormat", "Absatz &einr\xFC" "cken", CA('I'));
  item("mnuFormatParOut", "mnuFormat", "Absatz &ausr\xFC" "cken", CA('U'));
  sep("mnuFormat");
  item("mnuFormatSortAsc", "mnuFormat", "Zeilen aufsteigend &sortieren (A-Z)");
  item("mnuFormatSortDesc", "mnuFormat", "Zeilen absteigend s&ortieren (Z-A)");
  item("mnuFormatMoveLineUp", "mnuFormat", "Zeile nach oben verschieben");
  item("mnuFormatMoveLineDown", "mnuFormat", "Zeile nach unten verschieben");
  sep("mnuFormat");
  menu("mnuFormatDelLines", "mnuFormat", "Zeilen l\xF6schen");
  const char* dl = "mnuFormatDelLines";
  item("mnuFormatDelEmptyLines", dl, "Leere Zeilen l\xF6schen");
  item("mnuFormatDelDuplicateLines", dl, "Duplikate l\xF6schen");
  sep(dl);
  item("mnuFormatDelLinesStarts", dl, "Beginnen mit...");
  item("mnuFormatDelLinesContains", dl, "Enthalten...");
  item("mnuFormatDelLinesEnds", dl, "Enden mit...");
  item("mnuFormatDelLinesNotStarts", dl, "Beginnen nicht mit...");
  item("mnuFormatDelLinesNotContains", dl, "Enthalten nicht...");
  item("mnuFormatDelLinesNotEnds", dl, "Enden nicht mit...");
  sep(dl);
  item("mnuFormatDelLinesMatch", dl, "Entsprechen (RegExp)...");
  item("mnuFormatDelLinesNotMatch", dl, "Entsprechen nicht (RegExp)...");
  item("mnuFormatFillSelection", "mnuFormat", "Auswahl mit Zeichen f\xFCllen...");
  item("mnuFormatConnectLines", "mnuFormat", "Zeilen verbinden");
  menu("mnuFormatLineWrap", "mnuFormat", "&Lange Zeilen umbrechen");
  item("mnuFormatLineWrapRightEdge", "mnuFormatLineWrap", "bei &rechter Randmarkierung");
  item("mnuFormatLineWrapRightEdgeNChars", "mnuFormatLineWrap", "nach ... &Zeichen...");
  sep("mnuFormat");
  check("mnuFormatReplaceHtmlNamedChars", "mnuFormat", "Benannte &HTML-Sonderzeichen ersetzen",
        0, 16);

  // Ansicht
  menu("mnuView", "", "&Ansicht");
  menu("mnuViewSyntax", "mnuView", "Syntax&hervorhebung", 18);
  radio("mnuViewSyntaxNone", "mnuViewSyntax", "&Keine");
  sep("mnuViewSyntax");
  radio("mnuViewSyntaxURI", "mnuViewSyntax", "&URI-Hervorhebung");
  radio("mnuViewSyntaxWebMixed", "mnuViewSyntax", "&Webseite (HTML, CSS, Skripte)");
  radio("mnuViewSyntaxHTML", "mnuViewSyntax", "&HTML");
  radio("mnuViewSyntaxPHP", "mnuViewSyntax", "&PHP");
  radio("mnuViewSyntaxCSS", "mnuViewSyntax", "&CSS");
  radio("mnuViewSyntaxJS", "mnuViewSyntax", "&JavaScript");
  radio("mnuViewSyntaxVBS", "mnuViewSyntax", "&VBScript");
  sep("mnuViewSyntax");
  check("mnuViewLineBreak", "mnuView", "&Zeilenumbruch", CA('L'), 17);
  check("mnuViewSpecialChars", "mnuView", "&Steuerzeichen anzeigen", CA('C'));
  check("mnuViewReadOnly", "mnuView", "Eingabe sperren", 0, 153);
  sep("mnuView");
  menu("mnuViewFont", "mnuView", "&Editorschrift");
  item("mnuViewFontZoomIn", "mnuViewFont", "Ver&gr\xF6\xDF" "ern", SCA('9'));
  item("mnuViewFontZoomOut", "mnuViewFont", "Ver&kleinern", SCA('8'));
  item("mnuViewFontZoomNormal", "mnuViewFont", "&Normalgr\xF6\xDF" "e", SCA('0'));
  check("mnuViewUseAsciiFont", "mnuView", "ASCII-Schrift (&DOS) verwenden", C('D'));
  item("mnuViewCharProp", "mnuView", "Zeicheneigenschaften...", C(static_cast<char>(VkOemPlus)));
  sep("mnuView");
  check("mnuViewDocSearchHide", "mnuView", "Unterer Anzeigenbereich sichtbar",
        SC(static_cast<char>(VkOemPlus)));
  check("mnuViewLeftPanelHide", "mnuView", "Linker Anzeigenbereich sichtbar",
        SC(static_cast<char>(VkOemLess)));
  check("mnuViewToolBar", "mnuView", "&Symbolleiste");
  check("mnuViewStatusBar", "mnuView", "Status&leiste");
  sep("mnuView");
  check("mnuViewStayOnTop", "mnuView", "Programmfenster oben halten", C('T'), 19);
  item("mnuViewWindowList", "mnuView", "&Fensterliste...", C('L'));

  // Extras
  menu("mnuExtras", "", "E&xtras");
  item("mnuExtrasExecute", "mnuExtras", "Auswahl ausf\xFChren", C('E'));
  menu("mnuExtrasApps", "mnuExtras", "Externe &Programme");
  item("mnuExtrasDefApp", "mnuExtras", "Mit Stan&dardprogramm \xF6" "ffnen");
  item("mnuExtrasOpenFolder", "mnuExtras", "Enthaltenden &Ordner \xF6" "ffnen", 0, 103);
  sep("mnuExtras");
  menu("mnuLanguage", "mnuExtras", "Sprache / &Language");
  sep("mnuExtras");
  item("mnuExtrasPluginMgr", "mnuExtras", "Plugin-&Verwaltung...");
  item("mnuExtrasHotKeySetup", "mnuExtras", "S&hortcuts anpassen...");
  item("mnuExtrasSettings", "mnuExtras", "Ein&stellungen...");

  // Plugins: filled by the plug-in manager; hidden while it has no items.
  menu("mnuPlugins", "", "&Plugins");

  // Hilfe
  menu("mnuHelp", "", "&Hilfe");
  item("mnuHelpHelp", "mnuHelp", "&Hilfe...", VkF1);
  sep("mnuHelp");
  item("mnuHelpWebsite", "mnuHelp", "Produktseite im &Web besuchen...");
  item("mnuHelpDonate", "mnuHelp", "&Spenden...");
  item("mnuHelpEMail", "mnuHelp", "E-&Mail an den Autor senden...");
  sep("mnuHelp");
  item("mnuHelpInfo", "mnuHelp", "&Info...");

  // Context menus.
  item("pmnuTabsClose", "pmnuTabs", "S&chlie\xDF" "en", C('W'), 5);
  item("pmnuTabsCloseAllButCurrent", "pmnuTabs", "Alle &au\xDF" "er aktuellem schlie\xDF" "en");
  item("pmnuTabsCloseAll", "pmnuTabs", "Alle schl&ie\xDF" "en", 0, 6);
  sep("pmnuTabs");
  check("pmnuTabsReadOnly", "pmnuTabs", "Eingabe sperren", 0, 153);
  sep("pmnuTabs");
  item("pmnuTabsCopyFullPath", "pmnuTabs", "Vollen Dateipfad kopieren");
  item("pmnuTabsCopyFileName", "pmnuTabs", "Dateiname kopieren");
  item("pmnuTabsCopyFilePath", "pmnuTabs", "Dateipfad kopieren");
  item("pmnuBottomHide", "pmnuBottom", "&Verbergen");
  item("pmnuSREditCut", "pmnuSREdit", "Au&sschneiden", C('X'));
  item("pmnuSREditCopy", "pmnuSREdit", "&Kopieren", C('C'));
  item("pmnuSREditPaste", "pmnuSREdit", "&Einf\xFCgen", C('V'));
  item("pmnuSnipsExpand", "pmnuSnips", "Erweitern");
  item("pmnuSnipsCollapse", "pmnuSnips", "Reduzieren");
  item("pmnuSnipsExpandAll", "pmnuSnips", "Alle erweitern");
  item("pmnuSnipsCollapseAll", "pmnuSnips", "Alle reduzieren");
  sep("pmnuSnips");
  item("pmnuSnipsHide", "pmnuSnips", "Verbergen");

  // Tool bar.
  button("tbMainFileReOpen", K::ToolDropDown, 1, "\xD6" "ffnen");
  button("tbMainFileSave", K::ToolButton, 2, "Speichern");
  button("tbMainFileSaveAll", K::ToolButton, 4, "Alle speichern");
  button("tbMainFileClose", K::ToolButton, 5, "Schlie\xDF" "en");
  button("", K::ToolSeparator, -1, "");
  button("tbMainFilePrintPreview", K::ToolButton, 7, "Seitenansicht");
  button("tbMainFilePrint", K::ToolButton, 8, "Drucken");
  button("", K::ToolSeparator, -1, "");
  button("tbMainEditUndo", K::ToolButton, 9, "R\xFC" "ckg\xE4ngig");
  button("tbMainEditRedo", K::ToolButton, 10, "Wiederherstellen");
  button("", K::ToolSeparator, -1, "");
  button("tbMainEditSearch", K::ToolButton, 14, "Suchen & Ersetzen");
  button("tbMainEditGotoLine", K::ToolButton, 15, "Gehe zu Zeile");
  button("", K::ToolSeparator, -1, "");
  button("tbMainFileFileFormat", K::ToolButton, 148, "Dateiformat (Klick: Original)");
  button("tbMainFileLineBreakFormat", K::ToolButton, 33, "Zeilenumbr\xFC" "che (Klick: Original)");
  button("", K::ToolSeparator, -1, "");
  button("tbMainFormatReplaceHtmlNamedChars", K::ToolCheck, 16,
         "Benannte HTML-Sonderzeichen ersetzen");
  button("tbMainViewLineBreak", K::ToolCheck, 17, "Zeilenumbruch");
  button("tbMainViewSyntax", K::ToolButton, 18, "URI-Hervorhebung");
  button("tbMainViewStayOnTop", K::ToolCheck, 19, "Programmfenster oben halten");

  // Bottom panel: pages, search controls and the results list's columns.
  control("tabSearch", "Suchen && Ersetzen");
  control("tabResults", "Suchergebnis");
  control("tabCharProps", "Zeicheneigenschaften");
  control("lblSearch", "Suchen nach:");
  control("lblReplace", "Ersetzen mit:");
  control("grpSearchOptions", "Optionen");
  control("chkSearchFromTop", "Am Textanfang beginnen");
  control("chkSearchShowInTab", "Alle Fundstellen anzeigen");
  control("chkSearchReplaceAllInSel", "\"Alles ersetzen\" nur in Markierung");
  control("chkSearchMultiLine", "Mehrzeilige Suche");
  control("chkSearchAllFiles", "Alle Dateien durchsuchen");
  control("chkSearchCaseSensitive", "Gro\xDF-/Kleinschreibung beachten");
  control("chkSearchWholeWords", "Nur ganze W\xF6rter");
  control("chkSearchUseRegExpr", "Regul\xE4re Ausdr\xFC" "cke verwenden");
  control("chkSearchReplaceEscape", "Ersetzen mit Escape-Zeichen");
  control("grpSearchDir", "Suchrichtung");
  control("rbSearchForwards", "Vorw\xE4rts");
  control("rbSearchBackwards", "R\xFC" "ckw\xE4rts");
  control("btnSearch", "Suchen");
  control("btnReplaceSel", "Auswahl ersetzen");
  control("btnReplaceAll", "Alles ersetzen");
  control("grpCharBefore", "Zeichen vor dem Cursor");
  control("grpCharAfter", "Zeichen nach dem Cursor");
  for (const char* side : {"B", "A"}) {
    const std::string prefix = std::string("lbl") + side;
    control(prefix + "Char", "Zeichen:");
    control(prefix + "Code", "Dezimal:");
    control(prefix + "Hex", "Hexadezimal:");
    control(prefix + "Octal", "Oktal:");
    control(prefix + "Binary", "Bin\xE4r:");
  }
  t.push_back({"lvResultsColumn0", "lvResults", K::Column, "Datei", 0, -1, ""});
  t.push_back({"lvResultsColumn1", "lvResults", K::Column, "Dokument-Index", 0, -1, ""});
  t.push_back({"lvResultsColumn2", "lvResults", K::Column, "Position", 0, -1, ""});
  t.push_back({"lvResultsColumn3", "lvResults", K::Column, "Zeile", 0, -1, ""});
  t.push_back({"lvResultsColumn4", "lvResults", K::Column, "Spalte", 0, -1, ""});
  t.push_back({"lvResultsColumn5", "lvResults", K::Column, "L\xE4nge", 0, -1, ""});
  t.push_back({"lvResultsColumn6", "lvResults", K::Column, "Fundstelle", 0, -1, ""});
  return t;
}

}  // namespace

const std::vector<TMainRow>& MainCommandTable() {
  static const std::vector<TMainRow> table = BuildTable();
  return table;
}

std::string MainDefaultCaption(const std::string& Name) {
  for (const TMainRow& row : MainCommandTable()) {
    if (Name == row.Name) return row.Kind == TMainRowKind::ToolButton ||
                                         row.Kind == TMainRowKind::ToolCheck ||
                                         row.Kind == TMainRowKind::ToolDropDown
                                     ? row.Hint
                                     : row.Caption;
  }
  return "";
}
