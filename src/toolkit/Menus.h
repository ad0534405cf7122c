// Menu items, the menu bar and pop-up menus over Win32 menus.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>
#include "toolkit/Bitmap.h"
#include "toolkit/Component.h"
#include "toolkit/ShortCut.h"

class TImageList;
class TWinControl;

// Where an item starts a new column of its menu (a bar break draws a line before it).
enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };
// An item's automatic settings for its sub-items: on, off, or as its parent has them (a
// menu's root item without a parent has them off).
enum class TMenuAutoFlag { maAutomatic, maManual, maParent };

// One item of a menu; an item with children is a submenu. Caption "-" makes a separator.
// Items named in a form are owned by the form (Make), so FindComponent finds them; items
// made at run time may be handed to their parent item, which then owns them.
class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* Owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Caption);
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of its group under the same parent.
  void SetChecked(bool Checked);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool RadioItem);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int GroupIndex) { groupIndex_ = GroupIndex; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Enabled);
  // A hidden item is not in the menu on screen but keeps its place among Items.
  bool Visible() const { return visible_; }
  void SetVisible(bool Visible);
  // Shown as text after the caption ("Strg+S"); the form's menu bar also answers the key.
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut ShortCut);
  int ImageIndex() const { return imageIndex_; }
  // Shown beside the caption from the images of the nearest parent with SubMenuImages, else
  // the menu's Images; -1 or an index past the list shows none.
  void SetImageIndex(int ImageIndex);
  // Shown beside the caption when no image of the image list is; SetBitmap copies Source.
  const TBitmap& Bitmap() const { return bitmap_; }
  void SetBitmap(const TBitmap& Source);
  // The images of the sub-items (and theirs, unless they have their own); a list freed first
  // is forgotten.
  TImageList* SubMenuImages() const { return subMenuImages_; }
  void SetSubMenuImages(TImageList* Images);
  // The default item of its menu is shown in bold.
  bool Default() const { return default_; }
  void SetDefault(bool Default);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak Break);
  // Automatic hot keys give each sub-item without an "&" one of its characters that no
  // other sub-item uses as its key; the captions themselves stay as they are.
  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag Value);
  // Automatic line reduction leaves out separators at the start and end of the sub-items
  // shown and all but the first of several in a row.
  TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
  void SetAutoLineReduction(TMenuAutoFlag Value);
  // A click toggles the check mark before OnClick fires.
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool Value) { autoCheck_ = Value; }
  // Kept for the help system and plug-ins; the menu itself does not look at it.
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Hint) { hint_ = Hint; }

  // Fires on a click, on the item's key, and for a submenu when it opens (so the handler
  // can prepare the items before they show).
  TNotifyEvent OnClick;
  void Click();

  // An item kept by its owner component.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // An item made at run time: this item owns it from now on.
  TMenuItem* Add(std::unique_ptr<TMenuItem> Item);
  TMenuItem* Insert(int Index, std::unique_ptr<TMenuItem> Item);
  // Takes the item out and frees it (through its owner component when it has one).
  // An index out of range does nothing.
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const { return items_[Index]; }
  int IndexOf(const TMenuItem* Item) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

  // The id in WM_COMMAND, and the submenu's handle (nullptr while it has no items).
  UINT Command() const { return command_; }
  HMENU Handle() const { return submenu_; }
  static TMenuItem* FindByCommand(UINT Command);
  static TMenuItem* FindBySubmenu(HMENU Menu);
  // Answers WM_MEASUREITEM for the empty glyph space of an item without a glyph in a menu
  // whose other items show glyphs; false when the message is about no item of these menus.
  // The window a menu reports to passes the message on here.
  static bool MeasureGlyphSpace(MEASUREITEMSTRUCT& Measure);
  // The item with this shortcut under this one, enabled or not, skipping hidden items and
  // hidden submenus; nullptr for none.
  TMenuItem* FindShortCut(TShortCut ShortCut);

protected:
  // The root item of a menu bar keeps its handle as a bar, not a drop-down.
  explicit TMenuItem(TComponent* Owner, HMENU RootMenu);
  void Notification(TComponent* AComponent) override;

private:
  friend class TMainMenu;
  friend class TPopupMenu;
  void InsertItem(int Index, TMenuItem* Item);
  void Detach(TMenuItem* Item);
  void Changed();
  // Shows a changed check or enabled state in the native item alone, without a rebuild.
  void StateChanged();
  UINT NativeState() const;
  HBITMAP NativeBitmap();
  // The item's glyph, or the empty glyph space its menu gives an item without one.
  HBITMAP ShownBitmap();
  // Brings the native menu in line with the items shown, touching only the entries that
  // differ: building a menu item by item would otherwise redo it whole for every item.
  void RebuildNative();
  std::string DisplayText(const std::string& Caption) const;
  bool Automatic(TMenuAutoFlag TMenuItem::*Setting) const;
  // The sub-items the native menu shows, in order.
  std::vector<TMenuItem*> ShownItems() const;
  TImageList* MenuImages() const;
  HBITMAP Glyph();
  void RebuildTree();

  struct TBitmapDeleter {
    void operator()(HBITMAP Bitmap) const { DeleteObject(Bitmap); }
  };
  // The glyph made for the native item, and what it was made from.
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, TBitmapDeleter> glyph_;
  HIMAGELIST glyphList_ = nullptr;
  int glyphIndex_ = -1;
  bool glyphEnabled_ = true;

  std::string caption_;
  std::string hint_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  TShortCut shortCut_ = scNone;
  int imageIndex_ = -1;
  TBitmap bitmap_;
  TImageList* subMenuImages_ = nullptr;
  bool default_ = false;
  TMenuBreak break_ = TMenuBreak::mbNone;
  TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maParent;
  TMenuAutoFlag autoLineReduction_ = TMenuAutoFlag::maParent;
  bool autoCheck_ = false;
  int helpContext_ = 0;
  UINT command_ = 0;
  HMENU submenu_ = nullptr;
  bool isBar_ = false;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::vector<std::unique_ptr<TMenuItem>> ownedItems_;
  // What the native submenu holds now, entry by entry.
  struct TNativeEntry {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    HBITMAP bitmap = nullptr;
    std::string text;
    bool operator==(const TNativeEntry&) const = default;
  };
  std::vector<TNativeEntry> native_;
  // The size of the widest and highest glyph the submenu shows; empty when it shows none.
  SIZE glyphSpace_ = {};
  std::vector<TNativeEntry> WantedNative();
  const HWND* barWindow_ = nullptr;  // the form showing a menu bar root
  TImageList* const* rootImages_ = nullptr;  // the menu's Images, on a root item
};

// The menu bar of a form (TForm::SetMenu shows it).
class TMainMenu : public TComponent {
public:
  explicit TMainMenu(TComponent* Owner);
  ~TMainMenu() override;
  TMenuItem* Items() { return &root_; }
  HMENU Handle() const { return root_.submenu_; }
  TImageList* Images() const { return images_; }
  // Items show their images from this list; a list freed first is forgotten.
  void SetImages(TImageList* Images);
  // Clicks the item with this shortcut, after its parents' OnClick ran (as when the
  // menus open); false when no visible item has it or the item is disabled by then.
  bool IsShortCut(TShortCut ShortCut);

protected:
  void Notification(TComponent* AComponent) override;

private:
  friend class TForm;
  TMenuItem root_;
  TImageList* images_ = nullptr;
  HWND window_ = nullptr;
};

// A menu shown at a point, or by a control on a right click (TWinControl::SetPopupMenu).
class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* Owner);
  ~TPopupMenu() override;
  TMenuItem* Items() { return &root_; }
  TImageList* Images() const { return images_; }
  // Items show their images from this list; a list freed first is forgotten.
  void SetImages(TImageList* Images);
  // Fires OnPopup, shows the menu at the screen point and waits; the chosen item's OnClick
  // fires after the menu has closed.
  void Popup(int X, int Y);
  // The control that showed the menu last; nullptr when shown by Popup alone.
  TWinControl* PopupComponent() const { return popupComponent_; }
  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* AComponent) override;

private:
  friend class TWinControl;
  void PopupFor(TWinControl* Control, int X, int Y);
  TMenuItem root_;
  TImageList* images_ = nullptr;
  TWinControl* popupComponent_ = nullptr;
  std::vector<TWinControl*> users_;
};
