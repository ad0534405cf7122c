// The snippet store and the snippet files shown in the snippets panel's tree.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TTreeNode;
class TTreeView;
class TXmlDoc;
class TXmlNode;

// Select is the one character of code 0 when the file gives no "select" attribute (the
// current selection then goes between Start and End); an empty attribute gives "".
struct TSnipRecord {
  std::string Key;  // the names of the enclosing folders and the item's, joined by "\"
  std::string Name;
  std::string Start;
  std::string Select;
  std::string End;
};

class TSnip {
public:
  void Add(const TSnipRecord& Record) { items_.push_back(Record); }
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const TSnipRecord& Items(int Index) const { return items_[Index]; }
  // Copies the first record whose Key equals Key exactly; when none does, only Out's Name
  // is emptied (callers test it).
  void Find(const std::string& Key, TSnipRecord& Out) const;

private:
  std::vector<TSnipRecord> items_;
};

// The snippet file shown in the snippets panel and its items; made with the main window.
extern std::unique_ptr<TXmlDoc> SnipDoc;
extern std::unique_ptr<TSnip> Snips;

// The snippet files of the program's "Snippets" folder to the panel's file chooser.
void LoadSnippetFileList();
// Loads "Snippets\<Name>.xml" into the panel's tree and the main window's store; false (and
// an empty panel) when the file is missing or cannot be parsed.
bool LoadSnippetFile(const std::string& Name);
// The children of Element below Parent (top level for nullptr) into Tree and Store.
void LoadSnippetItems(TTreeView& Tree, TSnip& Store, TTreeNode* Parent, const TXmlNode& Element,
                      const std::string& ParentPath);
// The key of a tree node: the texts from its top-level ancestor down to it, joined by "\".
std::string SnippetKeyOf(const TTreeNode* Node);
