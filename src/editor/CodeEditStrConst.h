// The editor library's fixed English texts; the program's language files do not translate them.
#pragma once

// Default title of printed and exported documents.
inline constexpr const char* CES_Untitled = "Untitled";

// Highlighter attribute names.
inline constexpr const char* CES_AttrAttributeName = "Attribute Name";
inline constexpr const char* CES_AttrAttributeValue = "Attribute Value";
inline constexpr const char* CES_AttrCDATASection = "CDATA Section";
inline constexpr const char* CES_AttrColorValue = "Color Value";
inline constexpr const char* CES_AttrComment = "Comment";
inline constexpr const char* CES_AttrDefaultPackages = "Default Packages";
inline constexpr const char* CES_AttrDOCTYPESection = "DOCTYPE Section";
inline constexpr const char* CES_AttrElementName = "Element Name";
inline constexpr const char* CES_AttrEntityReference = "Entity Reference";
inline constexpr const char* CES_AttrEscapeAmpersand = "Escape Ampersand";
inline constexpr const char* CES_AttrEvent = "Event";
inline constexpr const char* CES_AttrIdentifier = "Identifier";
inline constexpr const char* CES_AttrKey = "Key";
inline constexpr const char* CES_AttrMarker = "Marker";
inline constexpr const char* CES_AttrNamespaceAttrName = "Namespace Attribute Name";
inline constexpr const char* CES_AttrNamespaceAttrValue = "Namespace Attribute Value";
inline constexpr const char* CES_AttrNonReservedKeyword = "Non-reserved Keyword";
inline constexpr const char* CES_AttrNumber = "Number";
inline constexpr const char* CES_AttrProcessingInstr = "Processing Instruction";
inline constexpr const char* CES_AttrReservedWord = "Reserved Word";
inline constexpr const char* CES_AttrSection = "Section";
inline constexpr const char* CES_AttrSpace = "Space";
inline constexpr const char* CES_AttrString = "String";
inline constexpr const char* CES_AttrSymbol = "Symbol";
inline constexpr const char* CES_AttrText = "Text";
inline constexpr const char* CES_AttrUnknownWord = "Unknown Word";
inline constexpr const char* CES_AttrURI = "URI";
inline constexpr const char* CES_AttrValue = "Value";
inline constexpr const char* CES_AttrVariable = "Variable";
inline constexpr const char* CES_AttrVisitedURI = "Visited URI";
inline constexpr const char* CES_AttrWhitespace = "Whitespace";

// Exporter names.
inline constexpr const char* CES_ExporterFormatHTML = "HTML";
inline constexpr const char* CES_ExporterFormatRTF = "RTF";

// Scroll hint and preview (printf-style templates of our own, never user data).
inline constexpr const char* CES_ScrollInfoFmt = "%d - %d";
inline constexpr const char* CES_ScrollInfoFmtTop = "Top Line: %d";
inline constexpr const char* CES_PreviewScrollInfoFmt = "Page: %d";

inline constexpr const char* CES_DuplicateShortCut = "Shortcut already exists";

// File filters.
inline constexpr const char* CES_FilterHTML = "HTML Documents (*.htm;*.html)|*.htm;*.html";
inline constexpr const char* CES_FilterVBScript = "VBScript Files (*.vbs)|*.vbs";
inline constexpr const char* CES_FilterRTF = "Rich Text Format Documents (*.rtf)|*.rtf";
inline constexpr const char* CES_FilterINI = "INI Files (*.ini)|*.ini";
inline constexpr const char* CES_FilterPHP =
    "PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc";
inline constexpr const char* CES_FilterCSS = "Cascading Stylesheets (*.css)|*.css";
inline constexpr const char* CES_FilterJScript = "Javascript Files (*.js)|*.js";
inline constexpr const char* CES_FilterXML =
    "XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd";
inline constexpr const char* CES_FilterAll = "All Files (*.*)|*.*";

// Language names of the highlighters.
inline constexpr const char* CES_LangHTML = "HTML";
inline constexpr const char* CES_LangVBSScript = "MS VBScript";
inline constexpr const char* CES_LangINI = "INI";
inline constexpr const char* CES_LangPHP = "PHP";
inline constexpr const char* CES_LangGeneralMulti = "General Multi-Highlighter";
inline constexpr const char* CES_LangCSS = "Cascading Style Sheet";
inline constexpr const char* CES_LangJScript = "JavaScript";
inline constexpr const char* CES_LangXML = "XML";
inline constexpr const char* CES_LangURI = "URI";
