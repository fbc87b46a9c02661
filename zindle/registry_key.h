// An open registry key that closes itself.
#pragma once

#include <string>

#include "platform.h"

namespace zindle {

class RegistryKey {
 public:
  explicit RegistryKey(Platform& os) : os_(os) {}
  ~RegistryKey() { close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool open(const std::string& path, const RegistryPlace& place = {}) {
    close();
    return os_.regOpenKeyIn(place, path, &key_);
  }
  RegKey get() const { return key_; }
  void close() {
    if (key_ != 0) os_.regCloseKey(key_);
    key_ = 0;
  }

 private:
  Platform& os_;
  RegKey key_ = 0;
};

}  // namespace zindle
