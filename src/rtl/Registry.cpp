#include "rtl/Registry.h"
#include <vector>

void TRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  rootKey_ = Value;
}

std::string TRegistry::FullPath(const std::string& Key) const {
  if (!Key.empty() && Key[0] == '\\') return Key.substr(1);
  if (currentPath_.empty()) return Key;
  if (Key.empty()) return currentPath_;
  return currentPath_ + "\\" + Key;
}

bool TRegistry::Open(const std::string& Key, bool CanCreate, REGSAM Access) {
  std::string path = FullPath(Key);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  HKEY key = nullptr;
  LONG rc = CanCreate ? RegCreateKeyExA(rootKey_, path.c_str(), 0, nullptr, 0, Access, nullptr,
                                        &key, nullptr)
                      : RegOpenKeyExA(rootKey_, path.c_str(), 0, Access, &key);
  CloseKey();
  if (rc != ERROR_SUCCESS) return false;
  currentKey_ = key;
  currentPath_ = path;
  return true;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  return Open(Key, CanCreate, KEY_ALL_ACCESS);
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) { return Open(Key, false, KEY_READ); }

void TRegistry::CloseKey() {
  if (currentKey_) RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& Key) const {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey_, FullPath(Key).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  std::string path = FullPath(Key);
  if (path.empty()) return false;  // never the whole root
  return RegDeleteTreeA(rootKey_, path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& Name) const {
  return currentKey_ &&
         RegQueryValueExA(currentKey_, Name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
}

bool TRegistry::ReadInteger(const std::string& Name, int& Value) const {
  if (!currentKey_) return false;
  DWORD type = 0, data = 0, size = sizeof(data);
  if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  Value = static_cast<int>(data);
  return true;
}

bool TRegistry::ReadString(const std::string& Name, std::string& Value) const {
  if (!currentKey_) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return false;
  if (type == REG_DWORD) {
    int number = 0;
    if (!ReadInteger(Name, number)) return false;
    Value = std::to_string(number);
    return true;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return false;
  Value.assign(buffer.data());  // the stored text may or may not end with its zero
  return true;
}

bool TRegistry::WriteInteger(const std::string& Name, int Value) {
  DWORD data = static_cast<DWORD>(Value);
  return currentKey_ && RegSetValueExA(currentKey_, Name.c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&data),
                                       sizeof(data)) == ERROR_SUCCESS;
}

bool TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  return currentKey_ &&
         RegSetValueExA(currentKey_, Name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(Value.c_str()),
                        static_cast<DWORD>(Value.size() + 1)) == ERROR_SUCCESS;
}
