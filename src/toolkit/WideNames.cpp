#include "toolkit/WideNames.h"
#include "rtl/SysUtils.h"

std::vector<std::string> ExactNames(const std::vector<std::wstring>& Names,
                                    std::vector<std::string>& Refused) {
  std::vector<std::string> exact;
  for (const std::wstring& wide : Names) {
    std::string name;
    (WideToAnsiExact(wide, name) ? exact : Refused).push_back(std::move(name));
  }
  return exact;
}

std::vector<std::string> DroppedFileNames(HDROP Drop, std::vector<std::string>& Refused) {
  std::vector<std::wstring> names;
  const UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(Drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(Drop, i, name.data(), static_cast<UINT>(name.size())));
    names.push_back(std::move(name));
  }
  return ExactNames(names, Refused);
}
