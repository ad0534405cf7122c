// A clipboard in memory for the benchmarks, so the system's copying is not timed.
#pragma once
#include <map>
#include <optional>
#include <string>
#include "toolkit/Clipboard.h"

class TMemoryClipboard : public TClipboard {
public:
  bool Open(HWND) override { return true; }
  void Close() override {}
  bool Empty() override {
    data_.clear();
    return true;
  }
  std::optional<std::string> GetData(UINT Format) override {
    auto it = data_.find(Format);
    if (it == data_.end()) return std::nullopt;
    return it->second;
  }
  bool SetData(UINT Format, const std::string& Bytes) override {
    data_[Format] = Bytes;
    return true;
  }
  bool HasFormat(UINT Format) override { return data_.count(Format) != 0; }

private:
  std::map<UINT, std::string> data_;
};
