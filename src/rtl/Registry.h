// Reads and writes registry values below one open key, the key given by a path string.
#pragma once
#include <windows.h>
#include <string>

class TRegistry {
public:
  explicit TRegistry(HKEY RootKey = HKEY_CURRENT_USER) : rootKey_(RootKey) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY Value);  // closes the open key
  // Key paths starting with a backslash are taken from the root key, others from the open
  // key. Opening replaces the open key; false (and no key open) when it cannot be opened.
  bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  void CloseKey();
  // The open key's path below the root, without leading backslash.
  const std::string& CurrentPath() const { return currentPath_; }
  bool KeyExists(const std::string& Key) const;
  // Removes a key below the root with everything below it.
  bool DeleteKey(const std::string& Key);

  // Values of the open key. Reads report false when the value is missing or of another type
  // (a string read also takes a 32-bit number, as its decimal text).
  bool ValueExists(const std::string& Name) const;
  bool ReadInteger(const std::string& Name, int& Value) const;
  bool ReadString(const std::string& Name, std::string& Value) const;
  bool WriteInteger(const std::string& Name, int Value);
  bool WriteString(const std::string& Name, const std::string& Value);

private:
  bool Open(const std::string& Key, bool CanCreate, REGSAM Access);
  std::string FullPath(const std::string& Key) const;
  HKEY rootKey_;
  HKEY currentKey_ = nullptr;
  std::string currentPath_;
};
