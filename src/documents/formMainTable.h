// The main window's command table: every menu, menu item, tool button and caption of the
// bottom panel with its German caption and default key. The menus and the default hot keys are
// both made from it.
#pragma once
#include <string>
#include <vector>
#include "toolkit/ShortCut.h"

// One row of the main window's command table, in display order. Parent names the menu, the
// pop-up menu ("pmnuTabs"), the tool bar ("tbMain"), the bottom panel ("pcBottom") or the
// results list ("lvResults"); an empty parent is the main menu bar. Separators have no name.
enum class TMainRowKind {
  Menu, Item, Radio, Check, Separator, ToolButton, ToolCheck, ToolDropDown, ToolSeparator,
  Control, Column
};
struct TMainRow {
  std::string Name;
  std::string Parent;
  TMainRowKind Kind;
  std::string Caption;  // German; for tool buttons the hint is the text
  TShortCut ShortCut;
  int ImageIndex;
  std::string Hint;
  int Tag = 0;
};
const std::vector<TMainRow>& MainCommandTable();

// The German caption of a menu item, tool button or bottom-panel control of the main window
// ("" when the name is not one of them). The language key of each is "Main|" + its name.
std::string MainDefaultCaption(const std::string& Name);
