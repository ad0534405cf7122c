#include "commands/clsSnippets.h"
#include <memory>
#include "documents/MainWindowParts.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/TreeView.h"

std::unique_ptr<TXmlDoc> SnipDoc;
std::unique_ptr<TSnip> Snips;

namespace {

constexpr int SnipImageSize = 16;

std::string SnippetsFolder() { return Settings.AppDir + "Snippets\\"; }

int ImageAttrib(const TXmlNode& Node, const char* Name) {
  const TXmlAttrib* attrib = Node.Attribs().Find(Name);
  return attrib ? StrToIntDef(attrib->Value, -1) : -1;
}

void SetNodeImages(TTreeNode& TreeNode, const TXmlNode& Element) {
  const int image = ImageAttrib(Element, "image");
  const int selected = ImageAttrib(Element, "selimage");
  TreeNode.SetImageIndex(image);
  TreeNode.SetSelectedIndex(selected == -1 ? image : selected);
}

// Cuts the bitmap file into 16 x 16 cells from the left; each cell is masked by its own
// bottom-left pixel. False when the file is no bitmap.
bool AddSnippetImages(TImageList& Images, const std::string& FileName) {
  HBITMAP strip = static_cast<HBITMAP>(
      LoadImageA(nullptr, FileName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!strip) return false;
  BITMAP info = {};
  GetObjectA(strip, sizeof(info), &info);
  HDC screen = GetDC(nullptr);
  HDC source = CreateCompatibleDC(screen);
  HDC cell = CreateCompatibleDC(screen);
  HGDIOBJ oldSource = SelectObject(source, strip);
  const int cells = info.bmHeight >= SnipImageSize ? info.bmWidth / SnipImageSize : 0;
  for (int i = 0; i < cells; ++i) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SnipImageSize, SnipImageSize);
    HGDIOBJ oldCell = SelectObject(cell, bitmap);
    BitBlt(cell, 0, 0, SnipImageSize, SnipImageSize, source, i * SnipImageSize, 0, SRCCOPY);
    const COLORREF transparent = GetPixel(cell, 0, SnipImageSize - 1);
    SelectObject(cell, oldCell);
    Images.AddStrip(bitmap, transparent);
    DeleteObject(bitmap);
  }
  SelectObject(source, oldSource);
  DeleteDC(cell);
  DeleteDC(source);
  ReleaseDC(nullptr, screen);
  DeleteObject(strip);
  return true;
}

}  // namespace

void TSnip::Find(const std::string& Key, TSnipRecord& Out) const {
  for (const TSnipRecord& record : items_)
    if (record.Key == Key) {
      Out = record;
      return;
    }
  Out.Name.clear();
}

void LoadSnippetFileList() {
  if (!frmMain || !frmMain->cmbSnipFiles) return;
  TStringList files;
  ListFiles(SnippetsFolder(), "*.xml", files);
  for (int i = 0; i < files.Count(); ++i)
    frmMain->cmbSnipFiles->AddItem(ChangeFileExt(ExtractFileName(files[i]), ""));
}

void LoadSnippetItems(TTreeView& Tree, TSnip& Store, TTreeNode* Parent, const TXmlNode& Element,
                      const std::string& ParentPath) {
  for (int i = 0; i < Element.Nodes().Count(); ++i) {
    const TXmlNode& child = *Element.Nodes().Items(i);
    const bool isItem = child.Name == "item";
    if (!isItem && child.Name != "folder") continue;
    const std::string name = TXmlAttrib::GetValue(child.Attribs().Find("name"));
    if (name.empty()) continue;
    const std::string path = ParentPath.empty() ? name : ParentPath + "\\" + name;
    TTreeNode* node = Tree.AddChild(Parent, name);
    SetNodeImages(*node, child);
    if (isItem) {
      const TXmlAttrib* select = child.Attribs().Find("select");
      Store.Add({path, name, TXmlAttrib::GetValue(child.Attribs().Find("start")),
                 select ? select->Value : std::string(1, '\0'),
                 TXmlAttrib::GetValue(child.Attribs().Find("end"))});
      continue;
    }
    LoadSnippetItems(Tree, Store, node, child, path);
    const TXmlAttrib* expand = child.Attribs().Find("expand");
    if (expand && (SameText(expand->Value, "true") || StrToIntDef(expand->Value, 0) != 0))
      node->Expand(false);
    else
      node->Collapse(false);
    Tree.SetShowButtons(true);
  }
}

bool LoadSnippetFile(const std::string& Name) {
  if (!frmMain || !frmMain->tvSnips) return false;
  TTreeView& tree = *frmMain->tvSnips;
  tree.Clear();
  Snips->Clear();
  SnipDoc = std::make_unique<TXmlDoc>();
  // Icons of the file shown before must not stay behind the new file's indexes.
  ImageList_RemoveAll(frmMain->ilSnips->Handle());

  const std::string fileName = SnippetsFolder() + Name + ".xml";
  TXmlDoc& doc = *SnipDoc;
  if (!FileExists(fileName) || !doc.LoadFromFile(fileName)) return false;
  tree.SetShowLines(doc.ReadBool("SnipFile\\Settings\\ShowLines", false));
  tree.SetShowButtons(false);
  tree.SetImages(nullptr);
  const std::string images = doc.ReadString("SnipFile\\Settings\\Images", "");
  if (!images.empty() && AddSnippetImages(*frmMain->ilSnips, SnippetsFolder() + images))
    tree.SetImages(frmMain->ilSnips);

  tree.BeginUpdate();
  if (const TXmlNode* items = doc.FindNode("SnipFile\\Items"))
    LoadSnippetItems(tree, *Snips, nullptr, *items, "");
  tree.EndUpdate();
  if (Settings.General.SnippetsExpandStyle == 1) tree.FullExpand();
  else if (Settings.General.SnippetsExpandStyle == 2) tree.FullCollapse();
  if (tree.Count() > 0) tree.Items(0)->MakeVisible();
  Settings.LastOpenedSnipFile = Name;
  return true;
}

std::string SnippetKeyOf(const TTreeNode* Node) {
  std::string key;
  for (; Node; Node = Node->Parent()) key = key.empty() ? Node->Text() : Node->Text() + "\\" + key;
  return key;
}
